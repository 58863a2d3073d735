#include "fAdmVentas.h"

#include "fVentas.h"
#include "mVentanas.h"
#include "msgbox.h"

static fAdmFacturas::Diseno DisenoVentas()
{
    fAdmFacturas::Diseno d;
    d.nombre = QStringLiteral("fAdmVentas");
    d.caption = QStringLiteral("Administrador de Facturas de Venta");
    d.anchoTw = 17625;
    d.altoTw = 5220;
    d.cuenta = QStringLiteral("Por Cobrar");
    d.mnuNuevo = QStringLiteral("mnuNuevaFactura");
    d.nuevo = QStringLiteral("Nue&va Venta...");
    d.mnuCuenta = QStringLiteral("mnuFact_xCobrar");
    d.itemCuenta = QStringLiteral("Facturas por Cobrar");
    d.columnas = {QStringLiteral("Nro. Factura :"),        QStringLiteral("Fecha de Venta :"),
                  QStringLiteral("Vendido a :"),           QStringLiteral("Código del Cliente :"),
                  QStringLiteral("Teléfono del Cliente :"), QStringLiteral("Valor de la Venta :"),
                  QStringLiteral("Estado")};
    d.sqlLista = QStringLiteral("Select VENTAS.codigo_fac,VENTAS.fecha, CLIENTES.nombre_cli, CLIENTES.codigo_cli, CLIENTES.telefono_cli, VENTAS.total, VENTAS.estado ")
                 + QStringLiteral("From Clientes, VENTAS Where CLIENTES.codigo_cli = VENTAS.codigo_cli ")
                 + QStringLiteral("And VENTAS.codigo_emp = ");
    d.sqlEstado = QStringLiteral("Select VENTAS.codigo_fac,VENTAS.codigo_emp,VENTAS.Estado from VENTAS where VENTAS.codigo_fac = ");
    d.sqlBorrar = QStringLiteral("Select * From VENTAS where codigo_fac = ");
    d.tablaDelete = QStringLiteral("VENTAS");
    d.modo = &gModoFormulario;
    return d;
}

fAdmVentas::fAdmVentas() : fAdmFacturas(DisenoVentas()) {}

fVentas& VentanaVentasNueva()
{
    CerrarYBorrar(VentanaAbierta<fVentas>());
    return Ventana<fVentas>();
}

void fAdmVentas::CerrarOtraVentana() { Llamar(cerrarCompras); }

void fAdmVentas::NuevaFactura()
{
    const auto abierta = Enganchado(comprasAbierta);
    if (abierta && abierta()) {
        MsgBox(QStringLiteral("cierre la ventana Factura de compra antes de continuar"), MsgStyle::Exclamation);
        return;
    }
    MostrarNueva(VentanaVentasNueva());
}

void fAdmVentas::VerFactura(const QString& numero)
{
    MostrarGuardada(VentanaVentasNueva(), numero);
}

void fAdmVentas::Cuenta(const QString& codigo) { Llamar(abrirPorCobrar, codigo); }
