// Properties of one supplier: boxes txt0..txt8 are the columns of
// PROVEEDORES. "Aceptar" is the default button, "Cancelar" the cancel one.
#pragma once

#include "fDatosTercero.h"

class fProveedores : public fDatosTercero {
    Q_OBJECT
public:
    fProveedores();
};
