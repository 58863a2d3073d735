// Shared values of the program: one instance each, empty or 0 at start.
#pragma once

#include "adodb.h"
#include <QDate>
#include <QString>
#include <memory>

struct LineaFactura {
    QString codigo_art;
    QString descripcion_art;
    qint16 cantidad = 0;
    double valor_unitario = 0;
    qint16 impuesto = 0;
    double SubTotal = 0;
    double precio_compra = 0;
};

struct Abono {
    QString codigo_fac;
    qint16 num_abono = 0;
    double valor_abono = 0;
    QDate fecha_abono;
    qint16 codigo_emp = 0;
};

extern std::shared_ptr<ado::Connection> gConexion;
extern ado::RecordsetPtr gRecordset;
extern QString gSQL;
extern double gIndice;

extern QString gPuertoCOM;
extern QString gPuertoLPT;
extern QString gNCF;

extern QString gCodigoEmp;
extern QString gNombreEmp;
extern QString gIdentificacionEmp;
extern QString gDireccionEmp;
extern QString gRegimenEmp;
extern QString gPieFactura[7];  // 1 to 6 used
extern qint32 gCosteoInventario;

extern QString gCodigoUsu;
extern QString gNombreUsu;
extern QString gPasswordUsu;
extern qint32 gNivelUsu;
// True once a user's password was accepted at sign-in; until then the
// user values are only the sign-in window's choice.
extern bool gSesionIniciada;

extern Abono gAbono;
extern LineaFactura gLineaFactura;

// Window modes: 2 new, 1 editing, 3 idle or viewing, 0 closed or annulling.
extern qint32 gModoClientes;
extern qint32 gModoProveedores;
extern qint32 modoEdicion;
extern qint32 gModoFormulario;
extern qint32 gModoCompras;
extern qint32 gModoDetalle;
extern qint32 gModoEmpresa;
extern qint32 gModoUsuario;
extern qint32 gModoNcf;

// The connection, created on first use.
ado::Connection& Conexion();

// Back to the start-up state (tests sign in again and again in one process).
void ReiniciarVariablesGlobales();
// Counts those returns: what a window remembers for the session is
// forgotten when the number changes.
quint64 NumeroDeSesion();
