#include "ReporteVentaRecibo.h"

#include "Twips.h"
#include "WebBrowser.h"
#include "mFuncionesCajas.h"
#include "mPuertos.h"
#include "mReportes.h"

#include <QLabel>

namespace {

const QString kTablaCabecera = QStringLiteral("<TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 77px; WIDTH: 225px' width='50%'>");
const QString kFinCabecera = QStringLiteral("</TD></TR></TABLE><BR><BR><BR><BR><BR><BR><BR><BR><BR>");
const QString kTablaLineas = QStringLiteral("<TABLE border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 2px; WIDTH: 225px' width='75%'>");
const QString kTablaTotales = QStringLiteral("<TABLE border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 94px; LEFT: 10px; TOP: 311px; WIDTH: 225px' width='75%'>");
const QString kTablaPie = QStringLiteral("<TABLE border=0 cellPadding=1 cellSpacing=1 width='75%' style='HEIGHT: 54px; WIDTH: 225px'>");

// The page as the view lays it out: every table in the receipt's column of
// 225 pixels, as its style asks, and the lines right below the header. The
// file is written for a browser that sizes the tables by the window and
// floats the header beside the line breaks that follow it.
QString enPantalla(QString html)
{
    const QString columna = QStringLiteral("<TABLE border=0 cellPadding=1 cellSpacing=1 width=225>");
    html.replace(kTablaCabecera, columna);
    html.replace(kFinCabecera, QStringLiteral("</TD></TR></TABLE><BR>"));
    for (const QString& t : {kTablaLineas, kTablaTotales, kTablaPie})
        html.replace(t, columna);
    return html;
}

}  // namespace

ReporteVentaRecibo::ReporteVentaRecibo()
    : fReporteBase(QStringLiteral("ReporteVentaRecibo"), QStringLiteral("Vista Previa de Recibo de Caja"), 4230, 7260, true)
{
    Colocar(15, 15, 4170, 6750, 6825, 30, 975, 1140, 2160, 3195);
    web->SetPageFilter(enPantalla);
    lpuertolpt = new QLabel(QStringLiteral("La Impresora de Recibos debe estar conectada en LPT1"), this);
    lpuertolpt->setObjectName(QStringLiteral("lpuertolpt"));
    lpuertocom = new QLabel(QStringLiteral("El Pole Display debe estar conectado en el Puerto COM1"), this);
    lpuertocom->setObjectName(QStringLiteral("lpuertocom"));
    // Load: the notices follow the ports typed at sign-in.
    lpuertolpt->setText(QStringLiteral("La Impresora de Recibos debe estar conectada en ") + gPuertoLPT);
    // A display typed as a device path is named by it, a number n as COM n.
    const QString pole = gPuertoCOM.trimmed();
    lpuertocom->setText(pole.startsWith(QLatin1Char('/'))
                            ? QStringLiteral("El Pole Display debe estar conectado en ") + pole
                            : QStringLiteral("El Pole Display debe estar conectado en el Puerto COM") + gPuertoCOM);
    // The notices are wider than the receipt's window at most fonts: each
    // wraps within it, and the window grows to show them whole.
    const int margen = TwipsToPixelsX(30);
    int top = TwipsToPixelsY(7230);
    for (QLabel* l : {lpuertolpt, lpuertocom}) {
        l->setWordWrap(true);
        const int ancho = width() - 2 * margen;
        l->setGeometry(margen, top, ancho, l->heightForWidth(ancho));
        top = l->geometry().bottom() + 1;
    }
    setFixedSize(width(), top + margen);
}

QByteArray ReporteVentaRecibo::CodigosImpresora()
{
    static const char codes[] = {27, 112, 0, 25, char(250), 13, 10, 29, 86, 48, 13, 10};
    return QByteArray(codes, sizeof codes);
}

void ReporteVentaRecibo::bImprimir_Click()
{
    web->setFocus();
    // No printer or no port still lets the other steps run; only a port
    // that names no device is told, once.
    web->Print(false);
    EscribirEnPuerto(Aparato::Impresora, CodigosImpresora());
}

void ReporteVentaRecibo::InicializarReporte(const QString& numeroPasado)
{
    if (RechazarNumeroFactura(numeroPasado))
        return;
    const QString numero = numeroPasado.trimmed();
    if (!AbrirVentaConDetalle(QStringLiteral("Select clientes.nombre_cli, clientes.telefono_cli, ventas.*, detalles_facven.*"), numero))
        return;
    ado::Recordset& rs = *gRecordset;
    ArchivoReporte f(QStringLiteral("ReporteVentaRecibo.htm"));
    const QString fila = QStringLiteral("  <TR><TD><FONT face='MS Sans Serif' size=1>");
    const QString finFila = QStringLiteral("</FONT></TD></TR>");
    const bool ok = EscribirReporte(f, [&] {
        f.Escribir(kCabeceraReporte);
        f.Escribir(QStringLiteral("<BODY>"));
        f.Escribir(kTablaCabecera);
        for (const QString& v : {gNombreEmp, gIdentificacionEmp, gDireccionEmp, gRegimenEmp})
            f.Escribir(fila + Html(v) + finFila);
        f.Escribir(fila + QStringLiteral("Fecha: ") + Valor(rs, "fecha") + finFila);
        f.Escribir(fila + QStringLiteral("Vencimiento: ") + Valor(rs, "fecha_vencimiento") + finFila);
        f.Escribir(fila + QStringLiteral("Forma de Pago: ") + Valor(rs, "forma_pago") + finFila);
        f.Escribir(fila + QStringLiteral("Cliente: ") + Valor(rs, "nombre_cli") + QStringLiteral("&nbsp;&nbsp;   ") + Valor(rs, "telefono_cli")
                   + finFila);
        f.Escribir(QStringLiteral("  <TR><TD><FONT face='MS Sans Serif' size=1><FONT face='MS Sans Serif' size=1>FACTURA DE VENTA Nro. ")
                   + Html(gCodigoEmp) + QStringLiteral(" - ") + numero + QStringLiteral("</FONT></FONT>"));
        const QString ncf = rs.Fields("ncf").Text();
        if (!ncf.trimmed().isEmpty())
            f.Escribir(QStringLiteral("  <br><FONT face='MS Sans Serif' size=1>NCF: ") + Html(ncf) + QStringLiteral("</FONT>"));
        f.Escribir(kFinCabecera);
        f.Escribir(kTablaLineas);
        f.Escribir(QStringLiteral("  <TR><TD><FONT face='MS Sans Serif' size=1>Cant</FONT></TD>"));
        f.Escribir(QStringLiteral("    <TD><FONT face='MS Sans Serif' size=1>Descripción</FONT></TD>"));
        f.Escribir(QStringLiteral("    <TD><FONT face='MS Sans Serif' size=1>SubTotal</FONT></TD></TR>"));
        rs.MoveFirst();
        while (!rs.Eof()) {
            f.Escribir(QStringLiteral("  <TR><TD><P align=left><FONT face='MS Sans Serif' size=1>") + Valor(rs, "cantidad")
                       + QStringLiteral("</FONT></P></TD>"));
            f.Escribir(QStringLiteral("    <TD><FONT face='MS Sans Serif' size=1>") + Valor(rs, "descripcion_art") + QStringLiteral("</FONT></TD>"));
            f.Escribir(QStringLiteral("    <TD><P align=right><FONT face='MS Sans Serif' size=1>") + Valor(rs, "subtotal")
                       + QStringLiteral("</FONT></P></TD></TR>"));
            rs.MoveNext();
        }
        rs.MoveFirst();
        f.Escribir(QStringLiteral("</TABLE><br><br>"));
        f.Escribir(kTablaTotales);
        struct Total {
            const char* etiqueta;
            const char* columna;
        };
        for (const Total& t : {Total{"Valor Neto", "valor_neto"}, Total{"Impuesto Total", "impuesto_total"}, Total{"Descuento", "descuento"},
                               Total{"Abono", "abono"}, Total{"Saldo", "saldo"}, Total{"Total", "total"}}) {
            f.Escribir(QStringLiteral("  <TR><TD><P align=right><FONT face='MS Sans Serif' size=1>") + QLatin1String(t.etiqueta)
                       + QStringLiteral("</FONT></P></TD>"));
            f.Escribir(QStringLiteral("    <TD><P align=right><FONT face='MS Sans Serif' size=2>") + Valor(rs, QLatin1String(t.columna))
                       + QStringLiteral("</FONT></P></TD></TR>"));
        }
        f.Escribir(QStringLiteral("</TABLE><br><br>"));
        f.Escribir(kTablaPie);
        for (int i = 1; i <= 6; ++i)
            f.Escribir(QStringLiteral("  <TR><TD><P align=center><FONT face='MS Sans Serif' size=1>") + Html(gPieFactura[i])
                       + QStringLiteral("</FONT></P></TD></TR>"));
        f.Escribir(QStringLiteral("</TABLE>"));
        f.Escribir(QStringLiteral("</BODY></HTML>"));
        return true;
    });
    if (!ok)
        return;
    web->Navigate(f.ruta());
}
