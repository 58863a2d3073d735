#include "mNumeracionNCF.h"

#include "mFunciones.h"
#include "msgbox.h"
#include "textfmt.h"

namespace {

QString SqlConsecutivo(const QString& columna, const QString& empresa)
{
    return QStringLiteral("Select ") + columna + QStringLiteral(" From Empresas Where codigo_emp = ") + empresa;
}

QString SqlConsecutivoNCF(const QString& columna, qint16 id, const QString& empresa)
{
    return QStringLiteral("Select ") + columna + QStringLiteral(" From ncfs Where id_sucursal = ") + SqlStr(empresa)
           + QStringLiteral(" and id = ") + QString::number(id);
}

// Sets the first column of the first row of sql to valor; false when no row.
bool EscribirPrimeraColumna(const QString& sql, double valor)
{
    ado::Recordset rs;
    rs.Open(sql, Conexion());
    if (rs.RecordCount() < 1)
        return false;
    rs.Fields(0).setValue(valor);
    rs.Update();
    return true;
}

// The same through the shared query, with the error check's message; false
// when the query fails or finds no row.
bool ActualizarPrimeraColumna(const QString& sql, double valor)
{
    gSQL = sql;
    if (!AbrirRecordset(gSQL) || gRecordset->RecordCount() < 1)
        return false;
    Err.Clear();
    Trap([&] {
        gRecordset->Fields(0).setValue(valor);
        gRecordset->Update();
    });
    return ControlErrores();
}

}  // namespace

QString TextoNCF(const QString& prefijo, double secuencia)
{
    QString n = QString::number(qint64(secuencia));
    if (n.size() < 8)
        n = QString(8 - n.size(), QLatin1Char('0')) + n;
    return prefijo + n;
}

double ObtenerConsecutivo(const QString& columna)
{
    gSQL = QStringLiteral("Select max(") + columna + QStringLiteral(") From Empresas Where codigo_emp = ") + gCodigoEmp;
    if (!AbrirRecordset(gSQL) || gRecordset->RecordCount() < 1)
        return 0;
    return gRecordset->Fields(0).toDouble() + 1;
}

bool ActualizarConsecutivo(const QString& columna, double valor)
{
    return ActualizarPrimeraColumna(SqlConsecutivo(columna, gCodigoEmp), valor);
}

QString GenerarNCF(const QString& columna, qint16 id, double* secuencia)
{
    gSQL = QStringLiteral("Select max(") + columna + QStringLiteral("),prefijo,desde,hasta From ncfs Where id_sucursal = ")
           + SqlStr(gCodigoEmp) + QStringLiteral(" and id = ") + QString::number(id)
           + QStringLiteral(" group by prefijo,desde,hasta ");
    if (!AbrirRecordset(gSQL) || gRecordset->RecordCount() < 1)
        return QString();
    const double s = gRecordset->Fields(0).toDouble() + 1;
    if (secuencia)
        *secuencia = s;
    return TextoNCF(gRecordset->Fields(1).Text(), s);
}

bool ActualizarConsecutivoNCF(const QString& columna, double valor, qint16 id)
{
    return ActualizarPrimeraColumna(SqlConsecutivoNCF(columna, id, gCodigoEmp), valor);
}

bool VerificarRangoNCF(double secuencia, qint16 id, const std::function<void()>& vaciarCaja)
{
    gSQL = QStringLiteral("Select desde,hasta From ncfs Where id_sucursal = ") + SqlStr(gCodigoEmp) + QStringLiteral(" and id = ")
           + QString::number(id);
    if (!AbrirRecordset(gSQL) || gRecordset->RecordCount() < 1)
        return false;
    const double desde = gRecordset->Fields(0).toDouble();
    const double hasta = gRecordset->Fields(1).toDouble();
    bool vaciar = false;
    const auto vaciarAhora = [&] {
        if (!vaciar && vaciarCaja)
            vaciarCaja();
        vaciar = true;
    };
    const double a = secuencia - desde;
    if (a < 0) {
        vaciarAhora();
        MsgBox(QStringLiteral("El NCF creado esta por debajo del rango (") + NumText(desde) + QStringLiteral(" - ")
               + NumText(hasta) + QStringLiteral(")."));
    }
    const double b = hasta - secuencia;
    // Eight digits are all an NCF has: beyond them the range is used up
    // whatever its last number says.
    if (b < 0 || secuencia > kSecuenciaMaximaNCF) {
        vaciarAhora();
        MsgBox(QStringLiteral("NCFs agotados, favor de aumentar el rango."));
    } else if (b > -1 && b < 11) {
        MsgBox(QStringLiteral("Aviso: Solo queda(n) ") + NumText(b + 1) + QStringLiteral(" NCF(s)"));
    }
    return vaciar;
}

void BloquearEmpresa(const QString& empresa)
{
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select codigo_emp From Empresas Where codigo_emp = ") + empresa + QStringLiteral(" FOR UPDATE"),
            Conexion());
}

bool EscribirConsecutivo(const QString& columna, double valor, const QString& empresa)
{
    return EscribirPrimeraColumna(SqlConsecutivo(columna, empresa) + QStringLiteral(" FOR UPDATE"), valor);
}

bool EscribirConsecutivoNCF(const QString& columna, double valor, qint16 id, const QString& empresa)
{
    return EscribirPrimeraColumna(SqlConsecutivoNCF(columna, id, empresa) + QStringLiteral(" FOR UPDATE"), valor);
}

bool NCFRegistrado(const QString& ncf, const QString& tabla, const QString& empresa)
{
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select codigo_fac From ") + tabla + QStringLiteral(" Where codigo_emp = ") + empresa
                + QStringLiteral(" And ncf = ") + SqlStr(ncf),
            Conexion());
    return rs.RecordCount() > 0;
}

EstadoNCF ReservarNCF(qint16 id, const QString& ncf, const QString& tabla, const QString& empresa, double& secuencia)
{
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select consecutivo,prefijo,desde,hasta From ncfs Where id_sucursal = ") + SqlStr(empresa)
                + QStringLiteral(" and id = ") + QString::number(id) + QStringLiteral(" FOR UPDATE"),
            Conexion());
    if (rs.RecordCount() < 1)
        return EstadoNCF::SinRango;
    secuencia = rs.Fields(0).toDouble() + 1;
    const double desde = rs.Fields(2).toDouble();
    const double hasta = rs.Fields(3).toDouble();
    if (secuencia > hasta || secuencia > kSecuenciaMaximaNCF || secuencia < desde)
        return EstadoNCF::Agotado;
    if (ncf.compare(TextoNCF(rs.Fields(1).Text(), secuencia), Qt::CaseInsensitive) != 0)
        return EstadoNCF::Tomado;
    if (NCFRegistrado(ncf, tabla, empresa))
        return EstadoNCF::Tomado;
    return EstadoNCF::Libre;
}
