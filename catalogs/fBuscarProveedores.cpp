#include "fBuscarProveedores.h"

#include "fProveedores.h"
#include "mVentanas.h"

static fBuscarTerceros::Diseno DisenoProveedores()
{
    fBuscarTerceros::Diseno d{};
    d.nombre = QStringLiteral("fBuscarProveedores");
    d.caption = QStringLiteral("Búsqueda y clasificacion de Proveedores");
    d.sufijo = QStringLiteral("prov");
    d.tabla = QStringLiteral("Proveedores");
    d.etiquetaCodigo = QStringLiteral("Código del Proveedor:");
    d.etiquetaNombre = QStringLiteral("Nombre - Razón Social:");
    d.anchoTw = 9930;
    d.botonesLeft = 8475;
    const int lista[4] = {15, 1485, 9900, 3690};
    std::copy(lista, lista + 4, d.lista);
    d.factura = FacturaDestino::Compra;
    return d;
}

fBuscarProveedores::fBuscarProveedores() : fBuscarTerceros(DisenoProveedores()) {}
fDatosTercero& fBuscarProveedores::Propiedad() { return Ventana<fProveedores>(); }
