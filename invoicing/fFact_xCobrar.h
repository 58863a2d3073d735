// Accounts receivable: the clients of the company with unpaid sales, their
// unpaid invoices and the payments on them.
#pragma once

#include "fCuentaBase.h"

class fFact_xCobrar : public fCuentaBase {
    Q_OBJECT
public:
    fFact_xCobrar();

    QLineEdit* tCodigo_cli = nullptr;   // the code box (tCodigo)
    ListView* lvwClientes = nullptr;    // the parties list (lvwTerceros)
};
