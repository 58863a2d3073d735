#include "fAdmCompras.h"

#include "fCompras.h"
#include "fVentas.h"
#include "mVentanas.h"
#include "msgbox.h"

static fAdmFacturas::Diseno DisenoCompras()
{
    fAdmFacturas::Diseno d;
    d.nombre = QStringLiteral("fAdmCompras");
    d.caption = QStringLiteral("Administrador de Facturas de Compra");
    d.anchoTw = 13815;
    d.altoTw = 5730;
    d.cuenta = QStringLiteral("Por Pagar");
    d.mnuNuevo = QStringLiteral("mnuNuevaFactura");
    d.nuevo = QStringLiteral("Nue&va Compra...");
    d.mnuCuenta = QStringLiteral("mnuFact_xPagar");
    d.itemCuenta = QStringLiteral("Facturas por Pagar");
    d.columnas = {QStringLiteral("Nro. Factura :"),          QStringLiteral("Fecha de Compra :"),
                  QStringLiteral("Comprado a :"),            QStringLiteral("Código del Proveedor :"),
                  QStringLiteral("Teléfono del Proveedor :"), QStringLiteral("Valor de la Compra:"),
                  QStringLiteral("Estado")};
    d.sqlLista = QStringLiteral("Select Compras.codigo_fac,Compras.fecha,Proveedores.nombre_prov,Proveedores.codigo_prov,Proveedores.telefono_prov,Compras.total,Compras.estado ")
                 + QStringLiteral("From Proveedores, Compras Where Proveedores.codigo_prov = Compras.codigo_prov ")
                 + QStringLiteral(" And Compras.codigo_emp = ");
    d.sqlEstado = QStringLiteral("Select Compras.codigo_fac,Compras.codigo_emp,Compras.Estado from Compras where Compras.codigo_fac = ");
    d.sqlBorrar = QStringLiteral("Select * From Compras where codigo_fac = ");
    d.tablaDelete = QStringLiteral("Compras");
    d.modo = &gModoCompras;
    return d;
}

fAdmCompras::fAdmCompras() : fAdmFacturas(DisenoCompras()) {}

bool ComprasAbierta() { return VentanaAbierta<fCompras>() != nullptr; }

void CerrarCompras() { CerrarYBorrar(VentanaAbierta<fCompras>()); }

fCompras& VentanaComprasNueva()
{
    CerrarCompras();
    return Ventana<fCompras>();
}

void fAdmCompras::CerrarOtraVentana() { CerrarYBorrar(VentanaAbierta<fVentas>()); }

void fAdmCompras::NuevaFactura()
{
    if (VentanaAbierta<fVentas>()) {
        MsgBox(QStringLiteral("cierre la ventana Factura de ventas antes de continuar"));
        return;
    }
    MostrarNueva(VentanaComprasNueva());
}

void fAdmCompras::VerFactura(const QString& numero)
{
    MostrarGuardada(VentanaComprasNueva(), numero);
}

void fAdmCompras::Cuenta(const QString& codigo) { Llamar(abrirPorPagar, codigo); }
