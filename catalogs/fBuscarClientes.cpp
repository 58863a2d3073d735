#include "fBuscarClientes.h"

#include "fClientes.h"
#include "mVentanas.h"

static fBuscarTerceros::Diseno DisenoClientes()
{
    fBuscarTerceros::Diseno d{};
    d.nombre = QStringLiteral("fBuscarClientes");
    d.caption = QStringLiteral("Búsqueda y clasificacion de Clientes");
    d.sufijo = QStringLiteral("cli");
    d.tabla = QStringLiteral("Clientes");
    d.etiquetaCodigo = QStringLiteral("Código del Clientes :");
    d.etiquetaNombre = QStringLiteral("Nombre del Cliente :");
    d.anchoTw = 9915;
    d.botonesLeft = 8460;
    const int lista[4] = {15, 1470, 9885, 3705};
    std::copy(lista, lista + 4, d.lista);
    d.factura = FacturaDestino::Venta;
    return d;
}

fBuscarClientes::fBuscarClientes() : fBuscarTerceros(DisenoClientes()) {}
fDatosTercero& fBuscarClientes::Propiedad() { return Ventana<fClientes>(); }

