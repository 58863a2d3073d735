// Supplier search: hands a code only to a purchase being entered.
#pragma once

#include "fBuscarTerceros.h"

class fBuscarProveedores : public fBuscarTerceros {
    Q_OBJECT
public:
    fBuscarProveedores();
protected:
    fDatosTercero& Propiedad() override;
};
