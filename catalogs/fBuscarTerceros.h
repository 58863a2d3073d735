// What the client and supplier searches share, as twins: six criteria
// joined by AND over the party table; a double-click hands the code to the
// invoice of that kind of party while it is being entered (clients to the
// sale, suppliers to the purchase), else opens the party's properties
// window.
#pragma once

#include "fBuscarBase.h"

#include "mDestinoBusqueda.h"

class QLineEdit;
class fDatosTercero;

class fBuscarTerceros : public fBuscarBase {
    Q_OBJECT
public:
    // objectNames tCodigo_cli, tNombre_cli, tIdentificacion_cli,
    // tDireccion_cli, tTelefono_cli, tFax_cli (the _prov ones in the
    // supplier dialog).
    QLineEdit* tCodigo = nullptr;
    QLineEdit* tNombre = nullptr;
    QLineEdit* tIdentificacion = nullptr;
    QLineEdit* tDireccion = nullptr;
    QLineEdit* tTelefono = nullptr;
    QLineEdit* tFax = nullptr;

    void bBuscar_Click() override;
    void bRestaurar_Click() override;
    void lvw_DblClick() override;

    struct Diseno {
        QString nombre, caption, sufijo, tabla, etiquetaCodigo, etiquetaNombre;
        int anchoTw;
        int botonesLeft;
        int lista[4];
        FacturaDestino factura;
    };

protected:
    explicit fBuscarTerceros(const Diseno& d);
    virtual fDatosTercero& Propiedad() = 0;

private:
    QString sufijo_, tabla_;
    FacturaDestino factura_;
};
