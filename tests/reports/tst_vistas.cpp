// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Puertos.h"
#include "Reportes.h"
#include "ReporteVentaFactura.h"
#include "ReporteVentaRecibo.h"
#include "SerialPort.h"
#include "fVentas.h"
#include "frmRepCompras.h"
#include "frmRepImpuestos.h"
#include "frmRepVentas.h"
#include "mVentanas.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QtTest>

using namespace rep;

namespace {

// Sale 7 of company 1: two lines of the same article, an NCF, a client whose
// name holds markup characters.
void ventaSiete(const teststore::Target& t, const QString& ncf = QStringLiteral("'A0100100101000000001'"))
{
    cliente(t, "C1", "PEREZ & HIJOS <SRL>", "001-1", "809-555");
    Cabecera c;
    c.numero = 7;
    c.tercero = "C1";
    c.vence = "'2010-10-02'";
    c.neto = 150;
    c.impuesto = 12.5;
    c.abono = 162.5;
    c.total = 162.5;
    c.ncf = ncf;
    guardarFactura(t, true, c, {{"A1", "TORNILLO 1/2\"", 2, 50, 16, 100}, {"A1", "TORNILLO 1/2\"", 1, 50, 16, 50}});
}

// Where the first (or, backwards, the last) occurrence of texto sits in the
// view, from the top of what it shows.
int arriba(WebBrowser* web, const QString& texto, bool ultima = false)
{
    QTextDocument* d = web->document();
    QTextCursor fin(d);
    fin.movePosition(QTextCursor::End);
    const QTextCursor c = ultima ? d->find(texto, fin, QTextDocument::FindBackward) : d->find(texto);
    return c.isNull() ? -1000 : web->cursorRect(c).top();
}

QString factura7(bool conNcf)
{
    QStringList p;
    p << kHead + "<BODY>"
      << "<DIV align=right><P align=right>"
      << "    <TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 206px; WIDTH: 650px' width='90%'>"
      << "        <TR><TD><STRONG><FONT face='Arial' size=2>FERRETERIA LA LLAVE</FONT></STRONG></TD></TR>"
      << "        <TR><TD><STRONG><FONT face='Arial' size=2>RNC 1-01-12345-6</FONT></STRONG></TD></TR>"
      << "        <TR><TD><STRONG><FONT face='Arial' size=2>C/ Duarte 12</FONT></STRONG></TD></TR>"
      << QString::fromUtf8("        <TR><TD><STRONG><FONT face='Arial' size=2>Régimen Ordinario</FONT></STRONG></TD></TR>")
      << "        <TR><TD><P align=left><STRONG><FONT face='Arial' size=2>Gracias Vuelva pronto</FONT></STRONG></P></TD></TR>"
      << "        <TR><TD><FONT face='Arial' size=2><STRONG>Fecha: </STRONG>02/09/2010</FONT></TD></TR>"
      << "        <TR><TD><FONT face='Arial' size=2><STRONG>Vencimiento: </STRONG>02/10/2010</FONT></TD></TR>"
      << "        <TR><TD><FONT face='Arial' size=2><STRONG>Forma de Pago: </STRONG>CONTADO</FONT></TD></TR>"
      << "        <TR><TD><FONT face='Arial' size=2><STRONG>Cliente: </STRONG>PEREZ &amp; HIJOS &lt;SRL&gt;&nbsp;&nbsp;&nbsp;&nbsp;"
      << QString::fromUtf8("                                          <STRONG>Identificación: </STRONG>001-1&nbsp;&nbsp;&nbsp;&nbsp;")
      << QString::fromUtf8("                                          <STRONG>Teléfono: </STRONG>809-555</FONT>")
      << "        </TD></TR>"
      << "        <TR><TD><FONT face='Arial' size=2><STRONG>FACTURA DE VENTA Nro. </STRONG>1 - 7</FONT>";
    if (conNcf)
        p << "&nbsp;&nbsp;&nbsp;&nbsp;<FONT face='Arial' size=2><STRONG>NCF: </STRONG>A0100100101000000001</FONT>";
    p << "        </TD></TR><TR><TD><FONT face='Arial' size=2><STRONG>Vendedor: </STRONG>MARIA</FONT></TD></TR>"
      << "        <TR><TD><P align=left><FONT size=1>" << QString(139, '_') << "        </FONT></P></TD></TR>"
      << "    </TABLE></P>"
      << "<P align=right>&nbsp;</P>"
      << "</DIV>"
      << "<P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P><P>&nbsp;</P>"
      << "<BR><BR><p>"
      << "<DIV align=left>"
      << "    <TABLE border=0 cellPadding=1 cellSpacing=1 width='90%' style='HEIGHT: 20px; WIDTH: 650px' id=TABLE1>"
      << QString::fromUtf8("        <TR><TD><STRONG><FONT face=Arial size=2>Artículo</FONT></STRONG></TD>")
      << "        <TD></TD><TD><STRONG><FONT face=Arial size=2>Cantidad</FONT></STRONG></TD>"
      << "        <TD><STRONG><FONT face=Arial size=2>Valor Unitario</FONT></STRONG></TD>"
      << "        <TD><P align=right><FONT face=Arial size=2><STRONG>Subtotal</STRONG></FONT></P></TD></TR>";
    for (const char* l : {"2", "1"})
        p << "     <TR><TD><FONT face=Arial size=2>A1</FONT></TD>"
          << "        <TD><FONT face=Arial size=2>TORNILLO 1/2&quot;</FONT></TD>"
          << QString("        <TD><FONT face=Arial size=2>%1</FONT></TD>").arg(l)
          << "        <TD><FONT face=Arial size=2>50</FONT></TD>"
          << QString("        <TD><P align=right><FONT face=Arial size=2>%1</FONT></P></TD></TR>").arg(QString(l) == "2" ? "100" : "50");
    p << "    </TABLE>"
      << "</DIV></p>"
      << "<FONT size=1>" << QString(140, '_') << "</FONT>"
      << "<TABLE border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 143px; LEFT: 10px; TOP: 404px; WIDTH: 650px' width='90%'>"
      << "    <TR><TD><P align=left><FONT face='Arial'>Valor Neto</FONT></P></TD>"
      << "    <TD><P align=right><FONT face='Arial'><STRONG>$ </STRONG>150</FONT></P></TD></TR>"
      << "    <TR><TD><P align=left><FONT face='Arial'>Impuesto Total</FONT></P></TD>"
      << "    <TD><P align=right><FONT face='Arial'><STRONG>$</STRONG>12.5</FONT></P></TD></TR>"
      << "    <TR><TD><P align=left><FONT face='Arial'>Descuento</FONT></P></TD>"
      << "    <TD><P align=right><FONT face='Arial'><STRONG>$ </STRONG>0</FONT></P></TD></TR>"
      << "    <TR><TD><P align=left><FONT face='Arial'>Abono</FONT></P></TD>"
      << "    <TD><P align=right><FONT face='Arial'><STRONG>$ </STRONG>162.5</FONT></P></TD></TR>"
      << "    <TR><TD><P align=left><FONT face='Arial'>Saldo</FONT></P></TD>"
      << "    <TD><P align=right><FONT face='Arial'><STRONG>$ </STRONG>0</FONT></P></TD></TR>"
      << "    <TR><TD><P align=left><FONT face='Arial'><STRONG>TOTAL</STRONG></FONT></P></TD>"
      << "    <TD><P align=right><FONT face='Arial'><STRONG>$ 162.5</STRONG></FONT></P></TD></TR>"
      << "</TABLE></BODY></HTML>";
    return p.join(QString());
}

QString recibo7(bool conNcf)
{
    const QString f = "  <TR><TD><FONT face='MS Sans Serif' size=1>";
    const QString e = "</FONT></TD></TR>";
    QStringList p;
    p << kHead << "<BODY>"
      << "<TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 77px; WIDTH: 225px' width='50%'>"
      << f + "FERRETERIA LA LLAVE" + e << f + "RNC 1-01-12345-6" + e << f + "C/ Duarte 12" + e
      << f + QString::fromUtf8("Régimen Ordinario") + e << f + "Fecha: 02/09/2010" + e << f + "Vencimiento: 02/10/2010" + e
      << f + "Forma de Pago: CONTADO" + e << f + "Cliente: PEREZ &amp; HIJOS &lt;SRL&gt;&nbsp;&nbsp;   809-555" + e
      << "  <TR><TD><FONT face='MS Sans Serif' size=1><FONT face='MS Sans Serif' size=1>FACTURA DE VENTA Nro. 1 - 7</FONT></FONT>";
    if (conNcf)
        p << "  <br><FONT face='MS Sans Serif' size=1>NCF: A0100100101000000001</FONT>";
    p << "</TD></TR></TABLE><BR><BR><BR><BR><BR><BR><BR><BR><BR>"
      << "<TABLE border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 2px; WIDTH: 225px' width='75%'>"
      << "  <TR><TD><FONT face='MS Sans Serif' size=1>Cant</FONT></TD>"
      << QString::fromUtf8("    <TD><FONT face='MS Sans Serif' size=1>Descripción</FONT></TD>")
      << "    <TD><FONT face='MS Sans Serif' size=1>SubTotal</FONT></TD></TR>";
    for (auto [c, s] : {std::pair{"2", "100"}, std::pair{"1", "50"}})
        p << QString("  <TR><TD><P align=left><FONT face='MS Sans Serif' size=1>%1</FONT></P></TD>").arg(c)
          << "    <TD><FONT face='MS Sans Serif' size=1>TORNILLO 1/2&quot;</FONT></TD>"
          << QString("    <TD><P align=right><FONT face='MS Sans Serif' size=1>%1</FONT></P></TD></TR>").arg(s);
    p << "</TABLE><br><br>"
      << "<TABLE border=0 cellPadding=1 cellSpacing=1 style='HEIGHT: 94px; LEFT: 10px; TOP: 311px; WIDTH: 225px' width='75%'>";
    for (auto [l, v] : {std::pair{"Valor Neto", "150"}, std::pair{"Impuesto Total", "12.5"}, std::pair{"Descuento", "0"},
                        std::pair{"Abono", "162.5"}, std::pair{"Saldo", "0"}, std::pair{"Total", "162.5"}})
        p << QString("  <TR><TD><P align=right><FONT face='MS Sans Serif' size=1>%1</FONT></P></TD>").arg(l)
          << QString("    <TD><P align=right><FONT face='MS Sans Serif' size=2>%1</FONT></P></TD></TR>").arg(v);
    p << "</TABLE><br><br>"
      << "<TABLE border=0 cellPadding=1 cellSpacing=1 width='75%' style='HEIGHT: 54px; WIDTH: 225px'>";
    for (const char* pie : {"Gracias", "Vuelva pronto", "", "", "", ""})
        p << QString("  <TR><TD><P align=center><FONT face='MS Sans Serif' size=1>%1</FONT></P></TD></TR>").arg(pie);
    p << "</TABLE>"
      << "</BODY></HTML>";
    return p.join(QString());
}

}  // namespace

class TstVistas : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void init() { empezar(dir); }
    void cleanup()
    {
        fReporteBase::alMostrar = nullptr;
        fVentas::abrirVistaFactura = nullptr;
        fVentas::abrirVistaRecibo = nullptr;
        serialport::SetPortOverrideForTest("LPT2", QString());
        terminar();
    }

    // The whole document of a stored sale, byte for byte, in the single-byte
    // code page; the folder is made on the first run, without a message.
    void factura_documentoCompleto()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        QVERIFY(!QDir(CarpetaReportes()).exists());
        ReporteVentaFactura& w = Ventana<ReporteVentaFactura>();
        w.InicializarReporte("7");
        QCOMPARE(msgtest::texts(), QStringList());
        const QByteArray b = bytes("ReporteVentaFactura.htm");
        QVERIFY(!b.contains('\n') && !b.contains('\r'));
        QVERIFY(b.contains("R\xe9gimen") && b.contains("Art\xed" "culo"));  // Latin-1, one byte each
        QCOMPARE(QString::fromLatin1(b), factura7(true));
        QCOMPARE(w.web->LocationURL(), ruta("ReporteVentaFactura.htm"));
        QVERIFY(w.web->toPlainText().contains(QString::fromUtf8("Régimen Ordinario")));
        QVERIFY(w.web->toPlainText().contains("PEREZ & HIJOS <SRL>"));
        QCOMPARE(w.windowTitle(), QString("Vista previa de la Factura de Venta"));
        foto(w, "vista-factura");
    }

    void recibo_documentoCompleto()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        ReporteVentaRecibo& w = Ventana<ReporteVentaRecibo>();
        w.InicializarReporte("7");
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(texto("ReporteVentaRecibo.htm"), recibo7(true));
        QCOMPARE(w.web->LocationURL(), ruta("ReporteVentaRecibo.htm"));
        QVERIFY(!existe("ReporteVentaFactura.htm"));  // each kind has its own file
        foto(w, "vista-recibo");
    }

    // An empty, blank or Null NCF leaves its piece out; one with blanks
    // around it is shown as stored.
    void ncf_data()
    {
        QTest::addColumn<QString>("ncf");
        QTest::addColumn<bool>("mostrado");
        QTest::newRow("null") << "NULL" << false;
        QTest::newRow("vacio") << "''" << false;
        QTest::newRow("blancos") << "'   '" << false;
        QTest::newRow("con blancos") << "' B02 '" << true;
    }
    void ncf()
    {
        QFETCH(QString, ncf);
        QFETCH(bool, mostrado);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t, ncf);
        Ventana<ReporteVentaFactura>().InicializarReporte("7");
        Ventana<ReporteVentaRecibo>().InicializarReporte("7");
        const QString fac = texto("ReporteVentaFactura.htm");
        const QString rec = texto("ReporteVentaRecibo.htm");
        if (!mostrado) {
            QCOMPARE(fac, factura7(false));
            QCOMPARE(rec, recibo7(false));
        } else {
            QVERIFY(fac.contains("1 - 7</FONT>&nbsp;&nbsp;&nbsp;&nbsp;<FONT face='Arial' size=2><STRONG>NCF: </STRONG> B02 </FONT>        </TD></TR>"));
            QVERIFY(rec.contains("1 - 7</FONT></FONT>  <br><FONT face='MS Sans Serif' size=1>NCF:  B02 </FONT></TD></TR></TABLE>"));
        }
    }

    // No row (another company's number, no lines) stops with the error
    // check's message, leaves the view empty and no file cut short: none
    // when there was none, the last good one else; a number that is not
    // one is refused before any query and touches no file.
    void fallos()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        guardarFactura(t, true, [] { Cabecera c; c.numero = 8; return c; }());  // no lines
        QByteArray antes[2];
        for (bool previa : {false, true}) {
            if (previa) {
                Ventana<ReporteVentaFactura>().InicializarReporte("7");
                Ventana<ReporteVentaRecibo>().InicializarReporte("7");
                antes[0] = bytes("ReporteVentaFactura.htm");
                antes[1] = bytes("ReporteVentaRecibo.htm");
                QVERIFY(!antes[0].isEmpty() && !antes[1].isEmpty());
            }
            for (const QString& n : {QString("8"), QString("99")}) {
                msgtest::clear();
                ReporteVentaFactura w;
                w.InicializarReporte(n);
                QCOMPARE(msgtest::calls().size(), 1);
                QVERIFY(msgtest::texts()[0].startsWith(QString::fromUtf8("Error inesperado N° ")));
                QVERIFY(w.web->LocationURL().isEmpty());
                ReporteVentaRecibo r;
                r.InicializarReporte(n);
                QVERIFY(r.web->LocationURL().isEmpty());
                QCOMPARE(existe("ReporteVentaFactura.htm"), previa);
                QCOMPARE(bytes("ReporteVentaFactura.htm"), antes[0]);
                QCOMPARE(bytes("ReporteVentaRecibo.htm"), antes[1]);
            }
        }
        for (const QString& n : {QString(""), QString("abc"), QString("7 or 1=1"), QString("7;")}) {
            msgtest::clear();
            ReporteVentaFactura w;
            w.InicializarReporte(n);
            QCOMPARE(msgtest::calls().size(), 1);
            QVERIFY2(msgtest::texts()[0].startsWith(QString::fromUtf8("Error inesperado N° 13. ")), qPrintable(msgtest::texts()[0]));
            QVERIFY(w.web->LocationURL().isEmpty());
            QCOMPARE(bytes("ReporteVentaFactura.htm"), antes[0]);
        }
    }

    // A second run replaces the file; the seller is whoever is signed in now.
    void reemplazoYVendedor()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        Cabecera c;
        c.numero = 9;
        c.total = 5;
        guardarFactura(t, true, c, {{"B", "GOMA", 1, 5, 0, 5}});
        Ventana<ReporteVentaFactura>().InicializarReporte("7");
        gNombreUsu = "JOSE";
        Ventana<ReporteVentaFactura>().InicializarReporte("9");
        const QString fac = texto("ReporteVentaFactura.htm");
        QVERIFY(fac.contains("CLIENTE GENERICO") && !fac.contains("PEREZ"));
        QVERIFY(fac.contains("<STRONG>Vendedor: </STRONG>JOSE</FONT>"));
        QVERIFY(fac.contains("<STRONG>$ 5</STRONG>"));
    }

    // The sales window's buttons open the previews through the hooks, with
    // its number box, modally; Escape and "Cerrar" close and release them.
    void desdeLaVentanaDeVentas()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        RegistrarMenusReportes();
        QVERIFY(fVentas::abrirVistaFactura && fVentas::abrirVistaRecibo);
        QStringList vistos;
        fReporteBase::alMostrar = [&](fReporteBase& w) {
            vistos << w.objectName() + " " + w.web->LocationURL();
            QVERIFY(w.isVisible() && w.isModal());
            if (vistos.size() == 1)
                QTest::keyClick(&w, Qt::Key_Escape);
            else
                w.bCerrar->click();
        };
        fVentas::abrirVistaFactura("7");
        fVentas::abrirVistaRecibo("7");
        QCOMPARE(vistos, QStringList({"ReporteVentaFactura " + ruta("ReporteVentaFactura.htm"),
                                      "ReporteVentaRecibo " + ruta("ReporteVentaRecibo.htm")}));
        QVERIFY(!VentanaAbierta<ReporteVentaFactura>());
        QVERIFY(!VentanaAbierta<ReporteVentaRecibo>());
        // A failed build still shows the window, empty.
        vistos.clear();
        fReporteBase::alMostrar = [&](fReporteBase& w) {
            vistos << w.web->LocationURL();
            w.bCerrar->click();
        };
        fVentas::abrirVistaFactura("99");
        QCOMPARE(vistos, QStringList({QString()}));
    }

    // The browser buttons: page setup, save-as of the page shown, print with
    // the dialog; Enter prints.
    void botones()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        const QString copia = dir.filePath("copia.htm");
        webtest::install([&](const webtest::Call&) { return copia; });
        ReporteVentaFactura& w = Ventana<ReporteVentaFactura>();
        w.InicializarReporte("7");
        w.bConfigurar->click();
        w.bGuardar->click();
        w.bImprimir->click();
        const QString pagina = ruta("ReporteVentaFactura.htm");
        QCOMPARE(webtest::calls().size(), 3);
        QCOMPARE(webtest::calls()[0].command, QString("PageSetup"));
        QCOMPARE(webtest::calls()[1].command, QString("SaveAs"));
        QCOMPARE(webtest::calls()[2].command, QString("Print"));
        QVERIFY(webtest::calls()[2].prompt);
        for (const auto& c : webtest::calls())
            QCOMPARE(c.page, pagina);
        QFile f(copia);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes("ReporteVentaFactura.htm"));
        QVERIFY(w.bImprimir->isDefault());
        QCOMPARE(w.bImprimir->text(), QString("Im&primir"));
        QCOMPARE(msgtest::texts(), QStringList());
    }

    // "Imprimir" on the receipt: the page without a dialog, then the drawer
    // pulse and the cut on the port; twice sends them twice; no such port is
    // told once, no port or no page is silent. The notices follow the ports
    // typed at sign-in.
    void recibo_impresora()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        gPuertoLPT = "LPT2";
        gPuertoCOM = "3";
        puertos::Fifo impresora(dir, "lpt2");
        QVERIFY(impresora.lector >= 0);
        serialport::SetPortOverrideForTest("LPT2", impresora.ruta);
        ReporteVentaRecibo& w = Ventana<ReporteVentaRecibo>();
        QCOMPARE(w.lpuertolpt->text(), QString("La Impresora de Recibos debe estar conectada en LPT2"));
        QCOMPARE(w.lpuertocom->text(), QString("El Pole Display debe estar conectado en el Puerto COM3"));
        w.InicializarReporte("7");
        const QByteArray codigos("\x1bp\x00\x19\xfa\r\n\x1dV0\r\n", 12);
        for (int vez = 1; vez <= 2; ++vez) {
            w.show();
            w.bImprimir->setFocus();
            QTest::keyClick(&w, Qt::Key_Return);
            QCOMPARE(impresora.leer(), codigos);
            QCOMPARE(webtest::calls().size(), vez);
            QVERIFY(!webtest::calls().last().prompt);
            QCOMPARE(webtest::calls().last().page, ruta("ReporteVentaRecibo.htm"));
        }
        QCOMPARE(msgtest::texts(), QStringList());
        // No such port: the page still goes out, and the clerk is told.
        serialport::SetPortOverrideForTest("LPT2", dir.filePath("no/such/port"));
        w.bImprimir->click();
        w.bImprimir->click();
        QCOMPARE(webtest::calls().size(), 4);
        QCOMPARE(msgtest::texts(),
                 QStringList{QString::fromUtf8("La impresora de recibos no se puede usar: el puerto «LPT2» no existe. El recibo se "
                                               "imprimió sin abrir la gaveta ni cortar el papel; para usarla, escriba el puerto "
                                               "correcto en «Conexión» al iniciar la sesión, o déjelo en blanco si no hay "
                                               "impresora de recibos.")});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        QVERIFY(!QFileInfo::exists(dir.filePath("no")));
        gPuertoLPT.clear();
        ReporteVentaRecibo vacio;
        vacio.bImprimir->click();
        QCOMPARE(webtest::calls().size(), 5);
        QCOMPARE(msgtest::calls().size(), 1);
    }

    // A printer port that names the store's file, another file or a folder
    // is left byte for byte as it was, print after print; the receipt still
    // prints and the clerk hears of the port once.
    void recibo_puertoQueNoEsDispositivo_data() { puertos::filasNoDispositivo(); }
    void recibo_puertoQueNoEsDispositivo()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, razon);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        QTemporaryDir otra;
        gPuertoLPT = puertos::puertoNoDispositivo(tipo, otra, t);
        if (QTest::currentTestFailed())
            return;
        const QByteArray antes = puertos::huella(gPuertoLPT);
        ReporteVentaRecibo& w = Ventana<ReporteVentaRecibo>();
        w.InicializarReporte("7");
        for (int vez = 1; vez <= 3; ++vez)
            w.bImprimir->click();
        QCOMPARE(puertos::huella(gPuertoLPT), antes);
        QCOMPARE(webtest::calls().size(), 3);
        QCOMPARE(msgtest::calls().size(), 1);
        const QString texto = msgtest::texts()[0];
        QVERIFY2(texto.startsWith("La impresora de recibos no se puede usar: el puerto «" + gPuertoLPT + "» " + razon + ". "),
                 qPrintable(texto));
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM Ventas").toInt(), 1);
    }

    // The notices name the ports as typed at sign-in: a number is a COM
    // port, a device path reads as the path.
    void recibo_avisosDePuertos_data()
    {
        for (const char* c : {"com", "lpt", "avisoCom", "avisoLpt"})
            QTest::addColumn<QString>(c);
        QTest::newRow("numbers") << "3"
                                 << "LPT2"
                                 << "El Pole Display debe estar conectado en el Puerto COM3"
                                 << "La Impresora de Recibos debe estar conectada en LPT2";
        QTest::newRow("paths") << "/dev/pts/0"
                               << "/dev/usb/lp0"
                               << "El Pole Display debe estar conectado en /dev/pts/0"
                               << "La Impresora de Recibos debe estar conectada en /dev/usb/lp0";
        QTest::newRow("path with blanks") << " /dev/ttyUSB0 "
                                          << "LPT1"
                                          << "El Pole Display debe estar conectado en /dev/ttyUSB0"
                                          << "La Impresora de Recibos debe estar conectada en LPT1";
    }
    void recibo_avisosDePuertos()
    {
        QFETCH(QString, com);
        QFETCH(QString, lpt);
        QFETCH(QString, avisoCom);
        QFETCH(QString, avisoLpt);
        const auto restaurar = qScopeGuard([previoCom = gPuertoCOM, previoLpt = gPuertoLPT] {
            gPuertoCOM = previoCom;
            gPuertoLPT = previoLpt;
        });
        gPuertoCOM = com;
        gPuertoLPT = lpt;
        ReporteVentaRecibo w;
        w.show();
        QApplication::processEvents();
        QCOMPARE(w.lpuertocom->text(), avisoCom);
        QCOMPARE(w.lpuertolpt->text(), avisoLpt);
        rep::textosEnteros(w);
    }

    // What the clerk sees, while the files stay as written: the invoice's
    // rules are ruled lines and its lines and totals follow the header at
    // once; the receipt keeps its column of 225 pixels, a header row on one
    // line and the lines right below.
    void vistasEnPantalla()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        ReporteVentaFactura f;
        f.InicializarReporte("7");
        f.show();
        QApplication::processEvents();
        const int renglon = f.web->fontMetrics().height();
        QVERIFY(!f.web->document()->toPlainText().contains("___"));
        QVERIFY(arriba(f.web, QString::fromUtf8("Artículo")) - arriba(f.web, "Vendedor") < 4 * renglon);
        QVERIFY(arriba(f.web, "Valor Neto") - arriba(f.web, "TORNILLO", true) < 4 * renglon);
        QVERIFY(arriba(f.web, "TORNILLO", true) + renglon < f.web->viewport()->height());

        ReporteVentaRecibo r;
        r.InicializarReporte("7");
        r.show();
        QApplication::processEvents();
        int tablas = 0;
        for (QTextFrame* marco : r.web->document()->rootFrame()->childFrames())
            if (auto* tabla = qobject_cast<QTextTable*>(marco)) {
                ++tablas;
                QCOMPARE(tabla->format().width(), QTextLength(QTextLength::FixedLength, 225));
            }
        QCOMPARE(tablas, 4);
        QCOMPARE(arriba(r.web, "809-555"), arriba(r.web, "Cliente:"));
        QVERIFY(arriba(r.web, "Cant") - arriba(r.web, "NCF:") < 3 * renglon);
        QCOMPARE(texto("ReporteVentaFactura.htm"), factura7(true));
        QCOMPARE(texto("ReporteVentaRecibo.htm"), recibo7(true));
    }

    // Each of the five windows at the default font: every caption whole,
    // the port name of the notices included, however long.
    void textosEnteros_data()
    {
        QTest::addColumn<QString>("ventana");
        for (const char* v : {"ReporteVentaFactura", "ReporteVentaRecibo", "frmRepVentas", "frmRepCompras", "frmRepImpuestos"})
            QTest::newRow(v) << QString(v);
    }
    void textosEnteros()
    {
        QFETCH(QString, ventana);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        gPuertoLPT = "/dev/usb/lp10";
        gPuertoCOM = "12";
        ventaSiete(t);
        std::unique_ptr<fReporteBase> w;
        if (ventana == "ReporteVentaFactura") {
            auto* f = new ReporteVentaFactura;
            f->InicializarReporte("7");
            w.reset(f);
        } else if (ventana == "ReporteVentaRecibo") {
            auto* r = new ReporteVentaRecibo;
            r->InicializarReporte("7");
            QVERIFY(r->lpuertolpt->text().endsWith("/dev/usb/lp10"));
            w.reset(r);
        } else {
            frmRepBase* p = ventana == "frmRepVentas"    ? static_cast<frmRepBase*>(new frmRepVentas)
                            : ventana == "frmRepCompras" ? static_cast<frmRepBase*>(new frmRepCompras)
                                                         : new frmRepImpuestos;
            w.reset(p);
            p->Command2->click();  // both calendars open
            p->Command3->click();
        }
        w->show();
        QApplication::processEvents();
        foto(*w, "textos-" + ventana);
        rep::textosEnteros(*w);
        QCOMPARE(msgtest::texts(), QStringList());
    }

    // Printing to a real output renders the page (a PDF stands for the
    // printer).
    void impresionPdf()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        ventaSiete(t);
        const QString pdf = dir.filePath("recibo.pdf");
        webtest::install({}, pdf);
        ReporteVentaRecibo& w = Ventana<ReporteVentaRecibo>();
        w.InicializarReporte("7");
        w.bImprimir->click();
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("%PDF"));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TstVistas t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_vistas.moc"
