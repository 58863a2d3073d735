#include "frmRepImpuestos.h"

#include "Twips.h"
#include "WebBrowser.h"
#include "fAcercaDe.h"
#include "mFunciones.h"
#include "mReportes.h"
#include "textfmt.h"

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

// The rows of one section, each with the tax money of its line (the line
// holds the rate); returns their sum in cents.
qint64 filas(ArchivoReporte& f, ado::Recordset& rs)
{
    qint64 suma = 0;
    for (int n = 0; !rs.Eof(); ++n) {
        const QString color = ColorDeFila(n);
        const qint64 impuesto = Centavos(Monto(rs, QStringLiteral("cantidad")) * Monto(rs, QStringLiteral("valor_unitario"))
                                         * Monto(rs, QStringLiteral("impuesto")) / 100.0);
        f.Escribir(QStringLiteral(" <tr bgcolor=") + color + QStringLiteral("><td>") + Valor(rs, "codigo_fac")
                   + QStringLiteral("</td><td><P align=left><FONT face='Arial'>") + Valor(rs, "descripcion_art")
                   + QStringLiteral("</FONT></P></td><td><P align=right><FONT face='Arial'>$") + FormatoDinero(impuesto)
                   + QStringLiteral("</FONT></P></td></tr>"));
        suma += impuesto;
        rs.MoveNext();
    }
    return suma;
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
    bool compras = true;
    const bool ok = EscribirReporte(f, [&] {
        f.Escribir(kCabeceraReporte + QStringLiteral("<BODY><FONT face='Arial'><h2>") + Html(gNombreEmp)
                   + QStringLiteral("</h2><table><tr><td><h3> REPORTE DE IMPUESTOS (") + FormatDate(desde) + QStringLiteral(" - ")
                   + FormatDate(hasta) + QStringLiteral(") </h3> <STRONG>Estado: </STRONG>") + Html(EstadoElegido())
                   + QStringLiteral("<br><br>"));
        f.Escribir(QStringLiteral("  <h3>VENTA</h3>  <TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='WIDTH: 650px' width='90%'>"));
        f.Escribir(kEncabezado);
        const qint64 ventas = filas(f, *gRecordset);
        f.Escribir(QStringLiteral("</TABLE></td></tr>"));
        f.Escribir(QStringLiteral("<tr><td><table>"));
        f.Escribir(QStringLiteral("<tr><td><strong>Total Impuestos:</strong></td><td><P align=right><FONT face='Arial'>$")
                   + FormatoDinero(ventas) + QStringLiteral("</FONT></P></td></tr></table></td></tr></table>"));

        gSQL = sentencia(QStringLiteral("compras"), QStringLiteral("detalles_faccom"), d, h, EstadoElegido());
        Text1->setText(gSQL);
        if (!AbrirRecordset(gSQL)) {
            compras = false;
            return;
        }
        f.Escribir(QStringLiteral(" <table><tr><td><br> <h3>COMPRA</h3>  <TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='WIDTH: 650px' width='90%'>"));
        f.Escribir(kEncabezado);
        const qint64 suma = filas(f, *gRecordset);
        f.Escribir(QStringLiteral("</TABLE></td></tr>"));
        f.Escribir(QStringLiteral("<tr><td><table>"));
        f.Escribir(QStringLiteral("<tr><td><strong>Total Impuestos:</strong></td><td><P align=right><FONT face='Arial'>$")
                   + FormatoDinero(suma) + QStringLiteral("</FONT></P></td></tr></table>"));
        f.Escribir(QStringLiteral("</td></tr><tr><td><br><table><tr><td><strong>Diferencia:</strong> $") + FormatoDinero(ventas - suma)
                   + QStringLiteral("<br></td></tr></table></td></tr></table><br><br><FONT face='Arial' size='1'>Tarvik 1.0 <br> ")
                   + kDireccionWeb + QStringLiteral("</FONT></BODY></HTML>"));
    });
    if (!ok)
        return;
    if (compras)
        web->Navigate(f.ruta());
}
