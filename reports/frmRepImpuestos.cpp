#include "Dinero.h"
#include "frmRepImpuestos.h"

#include "Factura.h"
#include "ReportView.h"
#include "Twips.h"
#include "WebBrowser.h"
#include "mFuncionesCajas.h"
#include "mReportes.h"
#include "textfmt.h"

#include <QHash>
#include <QLineEdit>

frmRepImpuestos::frmRepImpuestos()
    : frmRepBase(QStringLiteral("frmRepImpuestos"), QStringLiteral("Reporte de Impuestos"), 10515, 7620, 120, 360, 600, 7140)
{
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(TwipsToPixelsX(120), TwipsToPixelsY(7200), TwipsToPixelsX(5775), TwipsToPixelsY(285));
    Text1->hide();
    Form_Load();
}

namespace {

QString sentencia(const QString& cab, const QString& det, const QString& desde, const QString& hasta, const QString& estado)
{
    return QStringLiteral("SELECT %1.codigo_fac, %1.fecha, %1.Estado, %2.descripcion_art, %2.impuesto, %2.cantidad, %2.valor_unitario "
                          "FROM %1  INNER JOIN %2 ON "
                          "(%1.codigo_emp = %2.codigo_emp) AND (%1.codigo_fac = %2.codigo_fac) where %1.fecha between #")
               .arg(cab, det)
           + desde + QStringLiteral("# and #") + hasta + QStringLiteral("# and ") + det + QStringLiteral(".codigo_emp = ") + gCodigoEmp
           + QStringLiteral(" and ") + cab + QStringLiteral(".estado = '") + estado + QStringLiteral("'");
}

const QString kEncabezado = QStringLiteral(
    " <tr><td><strong>No. Factura</strong></td><td><P align=left><FONT face='Arial'><strong>Artículo</strong></FONT></P></td>"
    "<td><P align=right><FONT face='Arial'><strong>Impuesto</strong></FONT></P></td></tr>");

// The rows of one section, in the file and on the page, each with what its
// line added to its invoice's tax: an invoice rounds its running tax to
// whole units after every line, so the rows of an invoice add up to the tax
// it stored. Its lines come in the order they were stored, the order the
// invoice window summed them in. Returns the rows' sum in cents.
qint64 filas(ArchivoReporte& f, ReportPage& pagina, ado::Recordset& rs)
{
    pagina.beginTable({false, false, true});
    pagina.addRow({{{{QStringLiteral("No. Factura"), true}}},
                   {{{QString::fromUtf8("Artículo"), true}}},
                   {{{QStringLiteral("Impuesto"), true}}, true}});
    const int numero = Columna(rs, QStringLiteral("codigo_fac"));
    const int descripcion = Columna(rs, QStringLiteral("descripcion_art"));
    const int cantidad = Columna(rs, QStringLiteral("cantidad"));
    const int unitario = Columna(rs, QStringLiteral("valor_unitario"));
    const int tasa = Columna(rs, QStringLiteral("impuesto"));
    QHash<QString, double> acumulados;  // each invoice's running tax
    qint64 suma = 0;
    for (int n = 0; !rs.Eof(); ++n) {
        const QString codigo = rs.Fields(numero).Text();
        double& acumulado = acumulados[codigo];
        const double antes = acumulado;
        acumulado = SumarImpuesto(antes, Monto(rs, cantidad), Monto(rs, unitario), Monto(rs, tasa));
        const qint64 impuesto = Dinero::De(acumulado - antes).centavos();
        const QString articulo = rs.Fields(descripcion).Text();
        const QString dinero = QLatin1Char('$') + Dinero::DeCentavos(impuesto).Texto();
        f.Escribir(QLatin1StringView(" <tr bgcolor="));
        f.Escribir(ColorDeFila(n));
        f.Escribir(QLatin1StringView("><td>"));
        f.Escribir(Html(codigo));
        f.Escribir(QLatin1StringView("</td><td><P align=left><FONT face='Arial'>"));
        f.Escribir(Html(articulo));
        f.Escribir(QLatin1StringView("</FONT></P></td><td><P align=right><FONT face='Arial'>"));
        f.Escribir(dinero);
        f.Escribir(QLatin1StringView("</FONT></P></td></tr>"));
        pagina.addTexts({ReportPage::simplified(codigo), ReportPage::simplified(articulo), dinero}, ColorDePagina(n));
        suma += impuesto;
        rs.MoveNext();
    }
    return suma;
}

// A section's total, on a table of its own.
void total(ReportPage& pagina, const QString& rotulo, const QString& dinero)
{
    pagina.beginTable();
    pagina.addRow({{{{rotulo, true}}}, {{{dinero}}, true}});
}

}  // namespace

void frmRepImpuestos::InicializarReporte(const QDate& desde, const QDate& hasta)
{
    if (RechazarPeriodo(desde, hasta))
        return;
    const QString d = LiteralFecha(desde), h = LiteralFecha(hasta);
    gSQL = sentencia(QStringLiteral("ventas"), QStringLiteral("detalles_facven"), d, h, EstadoElegido());
    Text1->setText(gSQL);
    if (!AbrirRecordset(gSQL))
        return;
    ArchivoReporte f(QStringLiteral("ReporteImpuestos.htm"));
    ReportPage pagina;
    const bool ok = EscribirReporte(f, [&] {
        const QString periodo = FormatDate(desde) + QStringLiteral(" - ") + FormatDate(hasta);
        f.Escribir(kCabeceraReporte + QStringLiteral("<BODY><FONT face='Arial'><h2>") + Html(gNombreEmp)
                   + QStringLiteral("</h2><table><tr><td><h3> REPORTE DE IMPUESTOS (") + periodo
                   + QStringLiteral(") </h3> <STRONG>Estado: </STRONG>") + Html(EstadoElegido()) + QStringLiteral("<br><br>"));
        EncabezarPagina(pagina, QStringLiteral("REPORTE DE IMPUESTOS (") + periodo + QLatin1Char(')'), EstadoElegido());
        f.Escribir(QStringLiteral("  <h3>VENTA</h3>  <TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='WIDTH: 650px' width='90%'>"));
        f.Escribir(kEncabezado);
        pagina.addLine({{QStringLiteral("VENTA")}}, ReportPage::Heading);
        const qint64 ventas = filas(f, pagina, *gRecordset);
        const QString totalVentas = QLatin1Char('$') + Dinero::DeCentavos(ventas).Texto();
        f.Escribir(QStringLiteral("</TABLE></td></tr>"));
        f.Escribir(QStringLiteral("<tr><td><table>"));
        f.Escribir(QStringLiteral("<tr><td><strong>Total Impuestos:</strong></td><td><P align=right><FONT face='Arial'>") + totalVentas
                   + QStringLiteral("</FONT></P></td></tr></table></td></tr></table>"));
        total(pagina, QStringLiteral("Total Impuestos:"), totalVentas);

        gSQL = sentencia(QStringLiteral("compras"), QStringLiteral("detalles_faccom"), d, h, EstadoElegido());
        Text1->setText(gSQL);
        // A refused statement has shown its message: the report is dropped.
        if (!AbrirRecordset(gSQL))
            return false;
        f.Escribir(QStringLiteral(" <table><tr><td><br> <h3>COMPRA</h3>  <TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='WIDTH: 650px' width='90%'>"));
        f.Escribir(kEncabezado);
        pagina.addLine({{QStringLiteral("COMPRA")}}, ReportPage::Heading);
        const qint64 suma = filas(f, pagina, *gRecordset);
        const QString totalCompras = QLatin1Char('$') + Dinero::DeCentavos(suma).Texto();
        f.Escribir(QStringLiteral("</TABLE></td></tr>"));
        f.Escribir(QStringLiteral("<tr><td><table>"));
        f.Escribir(QStringLiteral("<tr><td><strong>Total Impuestos:</strong></td><td><P align=right><FONT face='Arial'>")
                   + totalCompras + QStringLiteral("</FONT></P></td></tr></table>"));
        total(pagina, QStringLiteral("Total Impuestos:"), totalCompras);
        const QString diferencia = QLatin1Char('$') + Dinero::DeCentavos(ventas - suma).Texto();
        f.Escribir(QStringLiteral("</td></tr><tr><td><br><table><tr><td><strong>Diferencia:</strong> ") + diferencia
                   + QStringLiteral("<br></td></tr></table></td></tr></table><br><br>") + kPieReporte);
        pagina.beginTable();
        pagina.addRow({{{{QStringLiteral("Diferencia:"), true}, {QLatin1Char(' ') + diferencia}}}});
        CerrarPagina(pagina);
        return true;
    });
    if (!ok)
        return;
    web->Navigate(f.ruta(), std::move(pagina));
}
