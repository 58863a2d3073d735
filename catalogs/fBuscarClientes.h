// Client search: hands a code only to a sale being entered.
#pragma once

#include "fBuscarTerceros.h"

class fBuscarClientes : public fBuscarTerceros {
    Q_OBJECT
public:
    fBuscarClientes();
protected:
    fDatosTercero& Propiedad() override;
};
