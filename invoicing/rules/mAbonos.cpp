#include "mAbonos.h"

#include "Dinero.h"
#include "mUnidad.h"
#include "mVblesGlobales.h"
#include "textfmt.h"
#include "vbrt.h"

#include <QRegularExpression>
#include <cmath>

const TablasCuenta& TablasPorCobrar()
{
    static const TablasCuenta t{QStringLiteral("Ventas"), QStringLiteral("Fact_xCobrar")};
    return t;
}

const TablasCuenta& TablasPorPagar()
{
    static const TablasCuenta t{QStringLiteral("Compras"), QStringLiteral("Fact_xPagar")};
    return t;
}

bool MismoValor(double a, double b) { return EnCentavos(a) == EnCentavos(b); }

namespace {

// Invoice numbers reach the statements unquoted: digits only.
bool NumeroValido(const QString& numero)
{
    static const QRegularExpression re(QStringLiteral("^[0-9]{1,9}$"));
    return re.match(numero).hasMatch();
}

QString Donde(const QString& numero, const QString& empresa)
{
    return QStringLiteral(" Where codigo_fac = ") + numero + QStringLiteral(" And codigo_emp = ") + empresa;
}

bool EsEstado(const QString& estado, const char* valor)
{
    return estado.trimmed().compare(QLatin1String(valor), Qt::CaseInsensitive) == 0;
}

ResultadoAbono Rechazo(EstadoAbono e)
{
    ResultadoAbono r;
    r.estado = e;
    return r;
}

// Runs cuerpo in one unit: committed when it answers Hecho or Cancelada,
// rolled back otherwise or when anything fails (Err then holds why).
template <class F>
ResultadoAbono EnUnaUnidad(F&& cuerpo)
{
    ResultadoAbono r;
    const bool ok = EnTransaccion([&](ado::Connection& cn) {
        r = cuerpo(cn);
        return r.estado == EstadoAbono::Hecho || r.estado == EstadoAbono::Cancelada;
    });
    return ok ? r : Rechazo(EstadoAbono::Error);
}

// The refusals an invoice in this state gives; Hecho when it takes changes.
EstadoAbono EstadoDeFactura(ado::Recordset& factura)
{
    if (factura.RecordCount() < 1)
        return EstadoAbono::NoExiste;
    const QString estado = factura.Fields(QStringLiteral("Estado")).Text();
    if (EsEstado(estado, "Anulada"))
        return EstadoAbono::Anulada;
    if (!EsEstado(estado, "Sin Cancelar"))
        return EstadoAbono::YaCancelada;
    return EstadoAbono::Hecho;
}

}  // namespace

ResultadoAbono AbonarFactura(const TablasCuenta& t, const QString& numero, double valor, const QDate& fecha,
                             const QDate& vencimiento)
{
    // Whole cents only: a payment of 100.004 would leave a balance no
    // payment can close.
    if (!std::isfinite(valor) || EnCentavos(valor) <= 0 || std::fabs(valor * 100 - std::nearbyint(valor * 100)) > 1e-6)
        return Rechazo(EstadoAbono::ValorInvalido);
    valor = EnCentavos(valor);
    if (!NumeroValido(numero))
        return Rechazo(EstadoAbono::NoExiste);
    const QString empresa = gCodigoEmp;
    const QString donde = Donde(numero, empresa);
    return EnUnaUnidad([&](ado::Connection& cn) {
        ResultadoAbono r;
        ado::Recordset factura;
        factura.Open(QStringLiteral("Select * from ") + t.facturas + donde + QStringLiteral(" FOR UPDATE"), cn);
        r.estado = EstadoDeFactura(factura);
        if (r.estado != EstadoAbono::Hecho)
            return r;
        const double total = factura.Fields(QStringLiteral("total")).toDouble();
        r.saldo = factura.Fields(QStringLiteral("saldo")).toDouble();
        if (valor > EnCentavos(r.saldo)) {
            r.estado = EstadoAbono::SaldoInsuficiente;
            return r;
        }

        // The invoice row is locked: no other unit numbers a payment of it now.
        ado::Recordset maximo;
        maximo.Open(QStringLiteral("Select max(num_abono) From ") + t.abonos + donde, cn);
        const double siguiente = (maximo.Eof() ? 0.0 : maximo.Fields(0).toDouble()) + 1;
        if (siguiente > 32767)
            throw ado::Error{ado::err::Overflow, QStringLiteral("Desbordamiento")};
        r.num_abono = qint16(siguiente);

        ado::Recordset abono;
        abono.Open(QStringLiteral("Select * From ") + t.abonos + QStringLiteral(" Where 1 = 0"), cn);
        abono.AddNew();
        abono.Fields(QStringLiteral("codigo_fac")).setValue(numero);
        abono.Fields(QStringLiteral("num_abono")).setValue(r.num_abono);
        abono.Fields(QStringLiteral("valor_abono")).setValue(valor);
        abono.Fields(QStringLiteral("fecha_abono")).setValue(fecha);
        abono.Fields(QStringLiteral("codigo_emp")).setValue(empresa);
        abono.Update();

        ado::Recordset suma;
        suma.Open(QStringLiteral("select sum(valor_abono) From ") + t.abonos + donde, cn);
        // Sums of doubles drift off the cent (10 + 54.01 = 64.00999...).
        const double pagado = EnCentavos(suma.Eof() ? 0.0 : suma.Fields(0).toDouble());
        double saldo = EnCentavos(total - pagado);
        if (saldo < 0) {
            // Payments above the total: the stored balance was not total - abono.
            r.estado = EstadoAbono::SaldoInsuficiente;
            return r;
        }
        if (saldo == 0)
            saldo = 0;  // no "-0" in the store
        factura.Fields(QStringLiteral("abono")).setValue(pagado);
        factura.Fields(QStringLiteral("saldo")).setValue(saldo);
        factura.Fields(QStringLiteral("fecha_vencimiento")).setValue(vencimiento);
        if (saldo == 0)
            factura.Fields(QStringLiteral("Estado")).setValue(QStringLiteral("Cancelada"));
        factura.Update();
        r.saldo = saldo;
        r.estado = EstadoAbono::Hecho;
        if (saldo == 0) {
            ado::Recordset borrar;
            borrar.Open(QStringLiteral("Delete from ") + t.abonos + donde, cn);
            r.estado = EstadoAbono::Cancelada;
        }
        return r;
    });
}

ResultadoAbono QuitarAbonoFactura(const TablasCuenta& t, const QString& numero, qint16 num_abono, double valor)
{
    if (num_abono == 1) {
        ResultadoAbono r = Rechazo(EstadoAbono::PrimerAbono);
        r.num_abono = num_abono;
        return r;
    }
    if (!NumeroValido(numero))
        return Rechazo(EstadoAbono::NoExiste);
    const QString empresa = gCodigoEmp;
    const QString donde = Donde(numero, empresa);
    return EnUnaUnidad([&](ado::Connection& cn) {
        ResultadoAbono r;
        r.num_abono = num_abono;
        ado::Recordset factura;
        factura.Open(QStringLiteral("Select * from ") + t.facturas + donde + QStringLiteral(" FOR UPDATE"), cn);
        r.estado = EstadoDeFactura(factura);
        if (r.estado != EstadoAbono::Hecho)
            return r;
        r.saldo = factura.Fields(QStringLiteral("saldo")).toDouble();

        const QString esteAbono = donde + QStringLiteral(" And num_abono = ") + QString::number(num_abono);
        ado::Recordset abono;
        abono.Open(QStringLiteral("Select valor_abono From ") + t.abonos + esteAbono, cn);
        if (abono.Eof() || !MismoValor(abono.Fields(0).toDouble(), valor)) {
            r.estado = EstadoAbono::AbonoNoExiste;
            return r;
        }
        const double devuelto = abono.Fields(0).toDouble();
        ado::Recordset borrar;
        borrar.Open(QStringLiteral("Delete From ") + t.abonos + QStringLiteral(" Where num_abono = ")
                        + QString::number(num_abono) + QStringLiteral(" And codigo_fac = ") + numero
                        + QStringLiteral(" And codigo_emp = ") + empresa,
                    cn);
        const double pagado = EnCentavos(factura.Fields(QStringLiteral("abono")).toDouble() - devuelto);
        const double saldo = EnCentavos(r.saldo + devuelto);
        factura.Fields(QStringLiteral("abono")).setValue(pagado);
        factura.Fields(QStringLiteral("saldo")).setValue(saldo);
        factura.Update();
        r.saldo = saldo;
        r.estado = EstadoAbono::Hecho;
        return r;
    });
}

void InsertarAbono(const Abono& abono, const QString& tabla)
{
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select * From ") + tabla + QStringLiteral(" Where 1 = 0"), Conexion());
    rs.AddNew();
    rs.Fields(0).setValue(abono.codigo_fac);
    rs.Fields(1).setValue(abono.num_abono);
    rs.Fields(2).setValue(abono.valor_abono);
    rs.Fields(3).setValue(abono.fecha_abono);
    rs.Fields(4).setValue(abono.codigo_emp);
    rs.Update();
}

