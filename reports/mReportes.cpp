#include "mReportes.h"

#include "AppPath.h"
#include "ReportView.h"
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
#include <QFileInfo>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
// The size of each write of a report file.
constexpr qsizetype kPieza = 1 << 16;
}  // namespace

const QString kCabeceraReporte = QStringLiteral("<HTML><HEAD><META NAME='GENERATOR' Content='Microsoft Visual Studio 6.0'></HEAD>");
const QString kPieReporte = QStringLiteral("<FONT face='Arial' size='1'>Tarvik 1.0 <br> </FONT></BODY></HTML>");

QString CarpetaReportes() { return QDir(AppPath()).filePath(QStringLiteral("Reportes")); }

ArchivoReporte::ArchivoReporte(const QString& nombre) : ruta_(QDir(CarpetaReportes()).filePath(nombre)), file_(ruta_) {}

ArchivoReporte::~ArchivoReporte() { Descartar(); }

void ArchivoReporte::fallar() const
{
    throw ado::Error{ado::err::PathFileAccess, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta_};
}

void ArchivoReporte::Crear()
{
    Descartar();
    pendiente_.reserve(kPieza + 4096);
    if (file_.open(QIODevice::WriteOnly))
        return;
    // A new installation has no folder yet: make it once and try again.
    if (!QFileInfo::exists(CarpetaReportes())) {
        if (!QDir().mkpath(CarpetaReportes()))
            throw ado::Error{ado::err::PathNotFound, QStringLiteral("No se encontró la ruta de acceso: ") + CarpetaReportes()};
        if (file_.open(QIODevice::WriteOnly))
            return;
    }
    fallar();
}

void ArchivoReporte::vaciar()
{
    // The buffer keeps its room for the next pieces.
    const bool ok = file_.write(pendiente_) == pendiente_.size();
    pendiente_.resize(0);
    if (!ok)
        fallar();
}

void ArchivoReporte::Escribir(const QString& pieza) { Escribir(QStringView(pieza)); }

void ArchivoReporte::Escribir(QStringView pieza)
{
    if (!file_.isOpen())
        fallar();
    // As toLatin1() has it, without a copy of its own.
    const qsizetype n = pendiente_.size();
    pendiente_.resize(n + pieza.size());
    char* out = pendiente_.data() + n;
    for (QChar c : pieza)
        *out++ = c.unicode() < 256 ? char(c.unicode()) : '?';
    if (pendiente_.size() >= kPieza)
        vaciar();
}

void ArchivoReporte::Escribir(QLatin1StringView pieza)
{
    if (!file_.isOpen())
        fallar();
    pendiente_.append(pieza.data(), pieza.size());
    if (pendiente_.size() >= kPieza)
        vaciar();
}

void ArchivoReporte::Cerrar()
{
    if (!file_.isOpen())
        fallar();
    vaciar();
    if (!file_.commit())
        fallar();
}

void ArchivoReporte::Descartar()
{
    pendiente_.resize(0);
    if (file_.isOpen()) {
        file_.cancelWriting();
        file_.commit();  // after the cancel: removes the new file
    }
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

int Columna(ado::Recordset& rs, const QString& nombre)
{
    const int i = rs.fieldIndex(nombre);
    if (i < 0)
        rs.Fields(nombre);  // fails with the collection's message
    return i;
}

double Monto(ado::Recordset& rs, const QString& columna) { return Monto(rs, Columna(rs, columna)); }

double Monto(ado::Recordset& rs, int columna)
{
    // One read of the value: a long report reads millions.
    const QVariant v = rs.Fields(columna).Value();
    if (!v.isValid() || v.isNull())
        throw ado::Error{ado::err::InvalidNull, QStringLiteral("Uso no válido de Null")};
    return v.typeId() == QMetaType::Double ? v.toDouble() : rs.Fields(columna).toDouble();
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
        // (The text's fifteen digits move a value by far less than this.)
        if (std::fabs(std::fabs(x - std::trunc(x)) - 0.5) > std::max(1e-6, std::fabs(x) * 1e-13))
            return qint64(std::round(x));
        // Rounded on the decimal text, so 1.005 is 1.01 as it reads: the
        // same fifteen digits NumText writes, without a string of its own.
        char texto[40];
        const char* const fin = std::to_chars(texto, texto + sizeof texto, std::fabs(valor), std::chars_format::general, 15).ptr;
        const char* p = texto;
        qint64 c = 0;
        for (; p < fin && *p != '.'; ++p)
            c = c * 10 + (*p - '0');
        if (p < fin)
            ++p;
        int decimales[3] = {0, 0, 0};
        for (int i = 0; i < 3 && p < fin; ++i, ++p)
            decimales[i] = *p - '0';
        c = c * 100 + decimales[0] * 10 + decimales[1] + (decimales[2] >= 5 ? 1 : 0);
        return valor < 0 ? -c : c;
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

void FormatoDinero(qint64 centavos, QString& destino)
{
    if (centavos <= -1000000000000000LL || centavos >= 1000000000000000LL) {
        destino += FormatMoney(double(centavos) / 100.0);
        return;
    }
    // The digits of the cents themselves, grouped as FormatMoney groups,
    // written from the right.
    char16_t texto[32];
    char16_t* p = texto + 32;
    const qint64 a = centavos < 0 ? -centavos : centavos;
    *--p = char16_t('0' + a % 10);
    *--p = char16_t('0' + a / 10 % 10);
    *--p = u'.';
    qint64 enteros = a / 100;
    for (int n = 0; n == 0 || enteros > 0; ++n, enteros /= 10) {
        if (n > 0 && n % 3 == 0)
            *--p = u',';
        *--p = char16_t('0' + enteros % 10);
    }
    if (centavos < 0)
        *--p = u'-';
    destino.append(reinterpret_cast<const QChar*>(p), texto + 32 - p);
}

QString FormatoDinero(qint64 centavos)
{
    QString out;
    out.reserve(24);
    FormatoDinero(centavos, out);
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

bool EscribirReporte(ArchivoReporte& f, const std::function<bool()>& cuerpo)
{
    bool hecho = false;
    const bool ok = Trap([&] {
        f.Crear();
        hecho = cuerpo();
        if (hecho)
            f.Cerrar();
    });
    if (!hecho)
        f.Descartar();
    if (!ok)
        ControlErrores();
    return ok && hecho;
}

QString ColorDeFila(int n) { return n % 2 == 0 ? QStringLiteral("BBBBBB") : QStringLiteral("white"); }

QColor ColorDePagina(int n)
{
    static const QColor gris(0xBB, 0xBB, 0xBB), blanco(Qt::white);
    return n % 2 == 0 ? gris : blanco;
}

void EncabezarPagina(ReportPage& pagina, const QString& titulo, const QString& estado)
{
    pagina.addLine({{ReportPage::simplified(gNombreEmp)}}, ReportPage::Title);
    pagina.addLine({{titulo}}, ReportPage::Heading);
    const QString e = ReportPage::simplified(estado);
    pagina.addLine({{QStringLiteral("Estado:"), true}, {e.isEmpty() ? e : QLatin1Char(' ') + e}});
}

void CerrarPagina(ReportPage& pagina) { pagina.addLine({{QStringLiteral("Tarvik 1.0")}}, ReportPage::Small); }

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
