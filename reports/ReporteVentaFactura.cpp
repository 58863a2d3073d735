#include "ReporteVentaFactura.h"

#include "WebBrowser.h"
#include "mFuncionesCajas.h"
#include "mReportes.h"

namespace {

const QString kRenglonDerecha = QStringLiteral("<P align=right>&nbsp;</P>");
const QString kHueco = QStringLiteral("<P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P>");
const QString kSaltos = QStringLiteral("<BR><BR><p>");

// The page as the view lays it out. The file is written for a browser that
// floats the header beside the empty paragraphs below it and lets the rules
// of underscores run past the page; here the rules are ruled lines and the
// lines follow the header without a screen of blank space.
QString enPantalla(QString html)
{
    for (int largo : {140, 139})
        html.replace(QStringLiteral("<FONT size=1>") + QString(largo, QLatin1Char('_')), QStringLiteral("<FONT size=1><hr>"));
    html.replace(kRenglonDerecha + QStringLiteral("</DIV>") + kHueco + kSaltos, QStringLiteral("</DIV><p>"));
    return html;
}

}  // namespace

ReporteVentaFactura::ReporteVentaFactura()
    : fReporteBase(QStringLiteral("ReporteVentaFactura"), QStringLiteral("Vista previa de la Factura de Venta"), 9585, 7035)
{
    Colocar(0, 15, 9480, 6495, 6555, 5415, 6360, 1140, 7545, 8580);
    web->SetPageFilter(enPantalla);
}

void ReporteVentaFactura::InicializarReporte(const QString& numeroPasado)
{
    if (RechazarNumeroFactura(numeroPasado))
        return;
    const QString numero = numeroPasado.trimmed();
    const QString columnas =
        QStringLiteral("Select clientes.nombre_cli, clientes.identificacion_cli, clientes.telefono_cli, ventas.*, detalles_facven.* ");
    if (!AbrirVentaConDetalle(columnas, numero))
        return;
    ado::Recordset& rs = *gRecordset;
    ArchivoReporte f(QStringLiteral("ReporteVentaFactura.htm"));
    const bool ok = EscribirReporte(f, [&] {
        f.Escribir(kCabeceraReporte + QStringLiteral("<BODY>"));
        f.Escribir(QStringLiteral("<DIV align=right><P align=right>"));
        f.Escribir(QStringLiteral("    <TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 206px; WIDTH: 650px' width='90%'>"));
        for (const QString& v : {gNombreEmp, gIdentificacionEmp, gDireccionEmp, gRegimenEmp})
            f.Escribir(QStringLiteral("        <TR><TD><STRONG><FONT face='Arial' size=2>") + Html(v)
                       + QStringLiteral("</FONT></STRONG></TD></TR>"));
        f.Escribir(QStringLiteral("        <TR><TD><P align=left><STRONG><FONT face='Arial' size=2>") + Html(gPieFactura[1])
                   + QStringLiteral(" ") + Html(gPieFactura[2]) + QStringLiteral("</FONT></STRONG></P></TD></TR>"));
        f.Escribir(QStringLiteral("        <TR><TD><FONT face='Arial' size=2><STRONG>Fecha: </STRONG>") + Valor(rs, "fecha")
                   + QStringLiteral("</FONT></TD></TR>"));
        f.Escribir(QStringLiteral("        <TR><TD><FONT face='Arial' size=2><STRONG>Vencimiento: </STRONG>")
                   + Valor(rs, "fecha_vencimiento") + QStringLiteral("</FONT></TD></TR>"));
        f.Escribir(QStringLiteral("        <TR><TD><FONT face='Arial' size=2><STRONG>Forma de Pago: </STRONG>") + Valor(rs, "forma_pago")
                   + QStringLiteral("</FONT></TD></TR>"));
        f.Escribir(QStringLiteral("        <TR><TD><FONT face='Arial' size=2><STRONG>Cliente: </STRONG>") + Valor(rs, "nombre_cli")
                   + QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;"));
        f.Escribir(QStringLiteral("                                          <STRONG>Identificación: </STRONG>")
                   + Valor(rs, "identificacion_cli") + QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;"));
        f.Escribir(QStringLiteral("                                          <STRONG>Teléfono: </STRONG>") + Valor(rs, "telefono_cli")
                   + QStringLiteral("</FONT>"));
        f.Escribir(QStringLiteral("        </TD></TR>"));
        f.Escribir(QStringLiteral("        <TR><TD><FONT face='Arial' size=2><STRONG>FACTURA DE VENTA Nro. </STRONG>") + Html(gCodigoEmp)
                   + QStringLiteral(" - ") + numero + QStringLiteral("</FONT>"));
        const QString ncf = rs.Fields("ncf").Text();
        if (!ncf.trimmed().isEmpty())
            f.Escribir(QStringLiteral("&nbsp;&nbsp;&nbsp;&nbsp;<FONT face='Arial' size=2><STRONG>NCF: </STRONG>") + Html(ncf)
                       + QStringLiteral("</FONT>"));
        f.Escribir(QStringLiteral("        </TD></TR><TR><TD><FONT face='Arial' size=2><STRONG>Vendedor: </STRONG>") + Html(gNombreUsu)
                   + QStringLiteral("</FONT></TD></TR>"));
        f.Escribir(QStringLiteral("        <TR><TD><P align=left><FONT size=1>"));
        f.Escribir(QString(139, QLatin1Char('_')));
        f.Escribir(QStringLiteral("        </FONT></P></TD></TR>"));
        f.Escribir(QStringLiteral("    </TABLE></P>"));
        f.Escribir(kRenglonDerecha);
        f.Escribir(QStringLiteral("</DIV>"));
        f.Escribir(kHueco);
        f.Escribir(kSaltos);
        f.Escribir(QStringLiteral("<DIV align=left>"));
        f.Escribir(QStringLiteral("    <TABLE border=0 cellPadding=1 cellSpacing=1 width='90%' style='HEIGHT: 20px; WIDTH: 650px' id=TABLE1>"));
        f.Escribir(QStringLiteral("        <TR><TD><STRONG><FONT face=Arial size=2>Artículo</FONT></STRONG></TD>"));
        f.Escribir(QStringLiteral("        <TD></TD><TD><STRONG><FONT face=Arial size=2>Cantidad</FONT></STRONG></TD>"));
        f.Escribir(QStringLiteral("        <TD><STRONG><FONT face=Arial size=2>Valor Unitario</FONT></STRONG></TD>"));
        f.Escribir(QStringLiteral("        <TD><P align=right><FONT face=Arial size=2><STRONG>Subtotal</STRONG></FONT></P></TD></TR>"));
        rs.MoveFirst();
        while (!rs.Eof()) {
            f.Escribir(QStringLiteral("     <TR><TD><FONT face=Arial size=2>") + Valor(rs, "codigo_art") + QStringLiteral("</FONT></TD>"));
            f.Escribir(QStringLiteral("        <TD><FONT face=Arial size=2>") + Valor(rs, "descripcion_art") + QStringLiteral("</FONT></TD>"));
            f.Escribir(QStringLiteral("        <TD><FONT face=Arial size=2>") + Valor(rs, "cantidad") + QStringLiteral("</FONT></TD>"));
            f.Escribir(QStringLiteral("        <TD><FONT face=Arial size=2>") + Valor(rs, "valor_unitario") + QStringLiteral("</FONT></TD>"));
            f.Escribir(QStringLiteral("        <TD><P align=right><FONT face=Arial size=2>") + Valor(rs, "subtotal")
                       + QStringLiteral("</FONT></P></TD></TR>"));
            rs.MoveNext();
        }
        rs.MoveFirst();
        f.Escribir(QStringLiteral("    </TABLE>"));
        f.Escribir(QStringLiteral("</DIV></p>"));
        f.Escribir(QStringLiteral("<FONT size=1>"));
        f.Escribir(QString(140, QLatin1Char('_')));
        f.Escribir(QStringLiteral("</FONT>"));
        f.Escribir(QStringLiteral("<TABLE border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 143px; LEFT: 10px; TOP: 404px; WIDTH: 650px' width='90%'>"));
        struct Total {
            const char* etiqueta;
            const char* signo;
            const char* columna;
        };
        for (const Total& t : {Total{"Valor Neto", "$ ", "valor_neto"}, Total{"Impuesto Total", "$", "impuesto_total"},
                               Total{"Descuento", "$ ", "descuento"}, Total{"Abono", "$ ", "abono"}, Total{"Saldo", "$ ", "saldo"}}) {
            f.Escribir(QStringLiteral("    <TR><TD><P align=left><FONT face='Arial'>") + QLatin1String(t.etiqueta)
                       + QStringLiteral("</FONT></P></TD>"));
            f.Escribir(QStringLiteral("    <TD><P align=right><FONT face='Arial'><STRONG>") + QLatin1String(t.signo)
                       + QStringLiteral("</STRONG>") + Valor(rs, QLatin1String(t.columna)) + QStringLiteral("</FONT></P></TD></TR>"));
        }
        f.Escribir(QStringLiteral("    <TR><TD><P align=left><FONT face='Arial'><STRONG>TOTAL</STRONG></FONT></P></TD>"));
        f.Escribir(QStringLiteral("    <TD><P align=right><FONT face='Arial'><STRONG>$ ") + Valor(rs, "total")
                   + QStringLiteral("</STRONG></FONT></P></TD></TR>"));
        f.Escribir(QStringLiteral("</TABLE></BODY></HTML>"));
        return true;
    });
    if (!ok)
        return;
    web->Navigate(f.ruta());
}
