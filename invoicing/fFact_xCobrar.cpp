#include "fFact_xCobrar.h"

namespace {

fCuentaBase::Diseno DisenoCobrar()
{
    fCuentaBase::Diseno d;
    d.nombre = QStringLiteral("fFact_xCobrar");
    d.caption = QStringLiteral("Facturas por Cobrar");
    d.altoTw = 6510;
    d.marco = QStringLiteral("Facturas pendientes por cobrar a Clientes en la Empresa o Sucursal ");
    d.codigo = QStringLiteral("tCodigo_cli");
    d.etiquetaCodigo = QStringLiteral("Digite el Código del Cliente o selecciónelo de la lista :");
    d.lista = QStringLiteral("lvwClientes");
    d.proveedores = false;
    d.sqlPendientes = QStringLiteral("Select Distinct clientes.codigo_cli,nombre_cli,identificacion_cli,telefono_cli,")
                      + QStringLiteral(" fax_cli from CLIENTES, VENTAS") + QStringLiteral(" Where CLIENTES.codigo_cli = VENTAS.codigo_cli")
                      + QStringLiteral(" And VENTAS.Estado = 'Sin Cancelar'") + QStringLiteral(" And VENTAS.codigo_emp = ");
    d.sqlBuscar = QStringLiteral("SELECT * FROM Clientes WHERE codigo_cli = ");
    d.sqlFacturas = QStringLiteral("SELECT codigo_fac,total,abono,saldo,fecha,Estado,fecha_vencimiento FROM Ventas ")
                    + QStringLiteral("WHERE codigo_cli = ");
    d.sqlAbonos = QStringLiteral("SELECT num_abono,valor_abono,fecha_abono FROM Fact_xCobrar");
    d.sqlSaldo = QStringLiteral("Select saldo from Ventas Where codigo_fac = ");
    d.columnaFecha = QStringLiteral("Fecha de la Venta");
    d.etiquetaFecha = QStringLiteral("Fecha del Abono :");
    d.sinTercero = QStringLiteral("Seleccione un cliente con facturas por cobrar");
    d.formulario = QStringLiteral("fFact_xCobrar");
    d.cerrarCancela = true;
    d.tablas = TablasPorCobrar();
    return d;
}

}  // namespace

fFact_xCobrar::fFact_xCobrar() : fCuentaBase(DisenoCobrar())
{
    tCodigo_cli = tCodigo;
    lvwClientes = lvwTerceros;
}
