#include "mReportes.h"

#include "AppPath.h"
#include "ReporteVentaFactura.h"
#include "ReporteVentaRecibo.h"
#include "adodb.h"
#include "fVentas.h"
#include "frmContenedor.h"
#include "frmRepCompras.h"
#include "frmRepImpuestos.h"
#include "frmRepVentas.h"
#include "mFunciones.h"
#include "mVentanas.h"
#include "textfmt.h"

#include <QDir>
#include <cmath>
#include <QFileInfo>

const QString kCabeceraReporte = QStringLiteral("<HTML><HEAD><META NAME='GENERATOR' Content='Microsoft Visual Studio 6.0'></HEAD>");

QString CarpetaReportes() { return QDir(AppPath()).filePath(QStringLiteral("Reportes")); }

ArchivoReporte::ArchivoReporte(const QString& nombre) : ruta_(QDir(CarpetaReportes()).filePath(nombre)) {}

ArchivoReporte::~ArchivoReporte()
{
    vaciar();
    file_.close();
}

void ArchivoReporte::Crear()
{
    if (QFileInfo::exists(ruta_) && !QFile::remove(ruta_))
        throw ado::Error{ado::err::PathFileAccess, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta_};
    file_.setFileName(ruta_);
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    // A new installation has no folder yet: make it once and try again.
    if (!QFileInfo::exists(CarpetaReportes())) {
        if (!QDir().mkpath(CarpetaReportes()))
            throw ado::Error{ado::err::PathNotFound, QStringLiteral("No se encontró la ruta de acceso: ") + CarpetaReportes()};
        if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
    }
    throw ado::Error{ado::err::PathFileAccess, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta_};
}

bool ArchivoReporte::vaciar()
{
    if (pendiente_.isEmpty())
        return true;
    const bool ok = file_.isOpen() && file_.write(pendiente_) == pendiente_.size();
    pendiente_.clear();
    return ok;
}

void ArchivoReporte::Escribir(const QString& pieza)
{
    if (!file_.isOpen())
        throw ado::Error{ado::err::PathFileAccess, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta_};
    pendiente_ += pieza.toLatin1();
    if (pendiente_.size() >= (1 << 16) && !vaciar())
        throw ado::Error{ado::err::PathFileAccess, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta_};
}

void ArchivoReporte::Cerrar()
{
    const bool ok = vaciar();
    if (file_.isOpen())
        file_.close();
    if (!ok)
        throw ado::Error{ado::err::PathFileAccess, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta_};
}

QString Html(const QString& texto)
{
    // Most values (numbers, codes, plain names) need nothing.
    bool llano = true;
    for (QChar c : texto)
        if (c.unicode() >= 0x80 || c == QLatin1Char('&') || c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('"')) {
            llano = false;
            break;
        }
    if (llano)
        return texto;
    const QString marcado = texto.toHtmlEscaped();
    // Past the code page a character goes as its number (a pair of
    // surrogates as one).
    QString out;
    out.reserve(marcado.size());
    for (char32_t c : marcado.toUcs4()) {
        if (c < 256)
            out += QChar(char16_t(c));
        else
            out += QStringLiteral("&#%1;").arg(quint32(c));
    }
    return out;
}

QString Valor(ado::Recordset& rs, const QString& columna) { return Html(rs.Fields(columna).Text()); }

double Monto(ado::Recordset& rs, const QString& columna)
{
    ado::Field f = rs.Fields(columna);
    if (f.IsNull())
        throw ado::Error{ado::err::InvalidNull, QStringLiteral("Uso no válido de Null")};
    return f.toDouble();
}

qint64 Centavos(double valor)
{
    // An amount clearly off a half cent rounds the same either way; only
    // the others need the text.
    if (std::isfinite(valor) && std::fabs(valor) < 1e12) {
        const double x = valor * 100;
        const double r = std::nearbyint(x);
        if (std::fabs(x - r) < 1e-3)
            return qint64(r);
    }
    // Rounded on the decimal text, so 1.005 is 1.01 as it reads.
    const QString s = NumText(valor);
    const bool neg = s.startsWith(QLatin1Char('-'));
    const QString digits = neg ? s.mid(1) : s;
    const int point = digits.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? digits : digits.left(point);
    QString frac = point < 0 ? QString() : digits.mid(point + 1);
    if (whole.size() > 15)
        return qint64(RoundHalfEven(valor * 100));
    frac = (frac + QStringLiteral("000")).left(3);
    qint64 c = whole.toLongLong() * 100 + frac.left(2).toLongLong();
    if (frac[2] >= QLatin1Char('5'))
        ++c;
    return neg ? -c : c;
}

QString FormatoDinero(qint64 centavos)
{
    if (centavos <= -1000000000000000LL || centavos >= 1000000000000000LL)
        return FormatMoney(double(centavos) / 100.0);
    // The digits of the cents themselves, grouped as FormatMoney groups.
    const qint64 a = centavos < 0 ? -centavos : centavos;
    const QString whole = QString::number(a / 100);
    QString out;
    out.reserve(whole.size() + whole.size() / 3 + 4);
    if (centavos < 0)
        out += QLatin1Char('-');
    for (int i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            out += QLatin1Char(',');
        out += whole[i];
    }
    const int c = int(a % 100);
    out += QLatin1Char('.');
    out += QLatin1Char(char('0' + c / 10));
    out += QLatin1Char(char('0' + c % 10));
    return out;
}

bool RechazarNumeroFactura(const QString& numero)
{
    const QString n = numero.trimmed();
    bool digits = !n.isEmpty() && n.size() <= 18;
    for (QChar c : n)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (digits)
        return false;
    Err.Set(13, QStringLiteral("No coinciden los tipos: el número de factura '%1' no es un número").arg(n));
    ControlErrores();
    return true;
}

bool EscribirReporte(ArchivoReporte& f, const std::function<void()>& cuerpo)
{
    const bool ok = Trap([&] {
        f.Crear();
        cuerpo();
        f.Cerrar();
    });
    try {
        f.Cerrar();  // what was written before a failure stays in the file
    } catch (const ado::Error&) {
    }
    if (!ok)
        ControlErrores();
    return ok;
}

QString ColorDeFila(int n) { return n % 2 == 0 ? QStringLiteral("BBBBBB") : QStringLiteral("white"); }

bool AbrirVentaConDetalle(const QString& seleccion, const QString& numero)
{
    gSQL = seleccion + QStringLiteral(" From clientes, ventas, detalles_facven") + QStringLiteral(" Where clientes.codigo_cli = ventas.codigo_cli")
           + QStringLiteral(" And ventas.codigo_fac = detalles_facven.codigo_fac") + QStringLiteral(" And ventas.codigo_fac = ") + numero
           + QStringLiteral(" And ventas.codigo_emp = detalles_facven.codigo_emp") + QStringLiteral(" And ventas.codigo_emp = ")
           + gCodigoEmp;
    return AbrirRecordset(gSQL);
}

void AbrirVistaFactura(const QString& numero)
{
    ReporteVentaFactura& w = Ventana<ReporteVentaFactura>();
    w.InicializarReporte(numero);
    fReporteBase::MostrarModal(w);
}

void AbrirVistaRecibo(const QString& numero)
{
    ReporteVentaRecibo& w = Ventana<ReporteVentaRecibo>();
    w.InicializarReporte(numero);
    fReporteBase::MostrarModal(w);
}

void AbrirRepVentas() { fReporteBase::MostrarModal(Ventana<frmRepVentas>()); }
void AbrirRepCompras() { fReporteBase::MostrarModal(Ventana<frmRepCompras>()); }
void AbrirRepImpuestos() { fReporteBase::MostrarModal(Ventana<frmRepImpuestos>()); }

void RegistrarMenusReportes()
{
    RegistrarAbridor(QStringLiteral("rep_ventas"), AbrirRepVentas);
    RegistrarAbridor(QStringLiteral("rep_compras"), AbrirRepCompras);
    RegistrarAbridor(QStringLiteral("rep_itbis"), AbrirRepImpuestos);
    Enganchar(fVentas::abrirVistaFactura, AbrirVistaFactura);
    Enganchar(fVentas::abrirVistaRecibo, AbrirVistaRecibo);
}
