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
#include "mFuncionesCajas.h"
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
