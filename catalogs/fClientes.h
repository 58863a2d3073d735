// Properties of one client: boxes txt0..txt8 are the columns of CLIENTES.
// "Cancelar" is both the default (Enter) and the cancel button (Esc).
#pragma once

#include "fDatosTercero.h"

class fClientes : public fDatosTercero {
    Q_OBJECT
public:
    fClientes();
};
