#include "fFact_xPagar.h"

namespace {

fCuentaBase::Diseno DisenoPagar()
{
    fCuentaBase::Diseno d;
    d.nombre = QStringLiteral("fFact_xPagar");
    d.caption = QStringLiteral("Facturas por Pagar");
    d.altoTw = 6540;
    d.marco = QStringLiteral("Facturas pendientes por pagar a Proveedores en la Empresa o Sucursal ");
    d.codigo = QStringLiteral("tCodigo_prov");
    d.etiquetaCodigo = QStringLiteral("Digite el Código del Proveedor o selecciónelo de la lista :");
    d.lista = QStringLiteral("lvwProveedores");
    d.proveedores = true;
    d.sqlPendientes = QStringLiteral("Select Distinct Proveedores.codigo_prov,nombre_prov,identificacion_prov,telefono_prov,")
                      + QStringLiteral(" fax_prov from Proveedores, Compras")
                      + QStringLiteral(" Where Proveedores.codigo_prov = Compras.codigo_prov")
                      + QStringLiteral(" And Compras.Estado = 'Sin Cancelar'") + QStringLiteral(" And Compras.codigo_emp = ");
    d.sqlBuscar = QStringLiteral("SELECT * FROM Proveedores WHERE codigo_prov = ");
    d.sqlFacturas = QStringLiteral("SELECT codigo_fac,total,abono,saldo,fecha,Estado,fecha_vencimiento  FROM Compras ")
                    + QStringLiteral("WHERE codigo_prov = ");
    d.sqlAbonos = QStringLiteral("SELECT num_abono,valor_abono,fecha_abono FROM Fact_xPagar");
    d.sqlSaldo = QStringLiteral("Select saldo from Compras Where codigo_fac = ");
    d.columnaFecha = QStringLiteral("Fecha de la Venta.");
    d.etiquetaFecha = QStringLiteral("Fecha del abono :");
    d.sinTercero = QStringLiteral("Seleccione un Proveedor con facturas por Pagar");
    d.formulario = QStringLiteral("fFact_xPagar");
    d.cerrarCancela = false;
    d.tablas = TablasPorPagar();
    return d;
}

}  // namespace

fFact_xPagar::fFact_xPagar() : fCuentaBase(DisenoPagar())
{
    tCodigo_prov = tCodigo;
    lvwProveedores = lvwTerceros;
}
