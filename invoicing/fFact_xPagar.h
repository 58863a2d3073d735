// Accounts payable: the suppliers of the company with unpaid purchases,
// their unpaid invoices and the payments on them.
#pragma once

#include "fCuentaBase.h"

class fFact_xPagar : public fCuentaBase {
    Q_OBJECT
public:
    fFact_xPagar();

    QLineEdit* tCodigo_prov = nullptr;   // the code box (tCodigo)
    ListView* lvwProveedores = nullptr;  // the parties list (lvwTerceros)
};
