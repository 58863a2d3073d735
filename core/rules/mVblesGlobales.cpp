#include "mVblesGlobales.h"

#include "msgbox.h"

std::shared_ptr<ado::Connection> gConexion;
ado::RecordsetPtr gRecordset;
QString gSQL;
double gIndice = 0;

bool gSesionIniciada = false;
QString gPuertoCOM;
QString gPuertoLPT;
QString gNCF;

QString gCodigoEmp;
QString gNombreEmp;
QString gIdentificacionEmp;
QString gDireccionEmp;
QString gRegimenEmp;
QString gPieFactura[7];
qint32 gCosteoInventario = 0;

QString gCodigoUsu;
QString gNombreUsu;
QString gPasswordUsu;
qint32 gNivelUsu = 0;

Abono gAbono;
LineaFactura gLineaFactura;

qint32 gModoClientes = 0;
qint32 gModoProveedores = 0;
qint32 modoEdicion = 0;
qint32 gModoFormulario = 0;
qint32 gModoCompras = 0;
qint32 gModoDetalle = 0;
qint32 gModoEmpresa = 0;
qint32 gModoUsuario = 0;
qint32 gModoNcf = 0;

ado::Connection& Conexion()
{
    if (!gConexion) {
        gConexion = std::make_shared<ado::Connection>();
        // A server that did not answer is asked again at the clerk's next action.
        ado::Connection::setActionCounter(&accion::Numero);
    }
    return *gConexion;
}

namespace {
quint64 sesion = 0;
}

quint64 NumeroDeSesion() { return sesion; }

void ReiniciarVariablesGlobales()
{
    gConexion.reset();
    gRecordset.reset();
    gSQL.clear();
    gIndice = 0;
    gPuertoCOM.clear();
    gPuertoLPT.clear();
    ++sesion;
    gNCF.clear();
    gCodigoEmp.clear();
    gNombreEmp.clear();
    gIdentificacionEmp.clear();
    gDireccionEmp.clear();
    gRegimenEmp.clear();
    for (auto& p : gPieFactura)
        p.clear();
    gCosteoInventario = 0;
    gCodigoUsu.clear();
    gNombreUsu.clear();
    gPasswordUsu.clear();
    gNivelUsu = 0;
    gSesionIniciada = false;
    gAbono = Abono();
    gLineaFactura = LineaFactura();
    gModoClientes = gModoProveedores = modoEdicion = gModoFormulario = gModoCompras = 0;
    gModoDetalle = gModoEmpresa = gModoUsuario = gModoNcf = 0;
}
