// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Facturacion.h"
#include "Foco.h"
#include "ListView.h"
#include "TestStore.h"
#include "fAdmCompras.h"
#include "fAdmVentas.h"
#include "fCompras.h"
#include "fVentas.h"
#include "frmContenedor.h"
#include "mCompras.h"
#include "mDestinoBusqueda.h"
#include "mFuncionesCajas.h"
#include "mVblesGlobales.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>
#include <cstdio>
#include <memory>

namespace {

const QString kErrorAplicar = "Error en el evento Click del comando bAplicar del formulario fCompras";

using fac::caja;
using fac::escribir;
using fac::FalloEnEscritura;
using fac::filas;
using fac::firmar;
using fac::noAnotar;
using fac::Pantalla;
using fac::stock;

void articulo(const teststore::Target& t, const QString& codigo, int cantidad, double costo, int maximo = 30000)
{
    teststore::execRaw(t, QString("INSERT INTO ARTICULOS (codigo_art, descripcion_art, precio_compra, impuesto, precio_venta1, "
                                  "precio_venta2, precio_venta3, cantidad, stock_minimo, stock_maximo, tipo_art, imagen_art) "
                                  "VALUES ('%1', 'ARTICULO %1', %2, 18, 100, 90, 80, %3, 0, %4, 'FISICO', '')")
                              .arg(codigo)
                              .arg(costo, 0, 'g', 17)
                              .arg(cantidad)
                              .arg(maximo));
}

double costo(const teststore::Target& t, const QString& codigo)
{
    return teststore::scalarRaw(t, QString("SELECT precio_compra FROM ARTICULOS WHERE codigo_art = '%1'").arg(codigo)).toDouble();
}

// Every row of the tables a purchase apply or annulment touches, as text.
QStringList volcado(const teststore::Target& t)
{
    return fac::volcado(t, {"Compras", "Detalles_FacCom", "Fact_xPagar", "Kardex", "ARTICULOS", "empresas"});
}

// A new purchase on the company's next number, as the list opens it.
std::unique_ptr<fCompras> nueva() { return fac::nueva<fCompras>(gModoCompras); }

// One line entered by hand: "Adicionar", code, quantity, the unit cost typed
// (left as looked up when empty), "Actualizar".
void linea(fCompras& w, const QString& codigo, const QString& cantidad, const QString& costoUnitario = QString())
{
    w.bAdicionarArticulo->click();
    w.txtDetalle[1]->setEditText(codigo);
    w.txtDetalle[2]->setEditText(cantidad);
    if (!costoUnitario.isEmpty()) {
        w.txtDetalle[3]->setEditText(costoUnitario);
        w.txtDetalle3_LostFocus();
    }
    w.bActualizarArticulo->click();
}

// A new sale or purchase, as its list opens it.
std::unique_ptr<fFacturaBase> nuevaDe(bool venta)
{
    if (venta)
        return fac::nueva<fVentas>(gModoFormulario);
    return nueva();
}

// The data rows of a test run on both invoice windows.
void lasDosFacturas()
{
    QTest::addColumn<bool>("venta");
    QTest::newRow("venta") << true;
    QTest::newRow("compra") << false;
}

// One line of article codigo in either window.
void lineaEn(fFacturaBase& w, const QString& codigo, const QString& cantidad)
{
    if (auto* v = qobject_cast<fVentas*>(&w))
        fac::linea(*v, codigo, cantidad);
    else
        linea(static_cast<fCompras&>(w), codigo, cantidad);
}

// Quantity and unit cost of purchase i of process p in the concurrency test.
int cantidadDe(int p, int i) { return 1 + (i + p) % 5; }
int precioDe(int p, int i) { return 10 + (i * 7 + p * 3) % 23; }

// A child process: veces purchases of article W under the weighted
// average, applied again as a clerk would until each is stored.
int Compras(const QStringList& args)
{
    const teststore::Target t = procesos::DestinoDeArgumentos(args);
    const int proceso = args.value(6).toInt();
    const int veces = args.value(7).toInt();
    msgtest::install();
    teststore::openOn(Conexion(), t);
    firmar(0);
    gCodigoUsu = QString::number(proceso + 1);  // tells the two apart in the store
    for (int i = 0; i < veces; ++i) {
        auto w = nueva();
        w->bAdicionarArticulo->click();
        w->txtDetalle[1]->setEditText("W");
        w->txtDetalle[2]->setEditText(QString::number(cantidadDe(proceso, i)));
        w->txtDetalle[3]->setEditText(QString::number(precioDe(proceso, i)));
        w->txtDetalle3_LostFocus();
        if (const int r = fac::AplicarInsistiendo(*w))
            return r;
    }
    return 0;
}

}  // namespace

class TstCompras : public QObject {
    Q_OBJECT
private slots:
    void init() { msgtest::install(); }
    void cleanup()
    {
        ado::Connection::setWriteHook({});
        fRecibirDinero::alMostrar = {};
        msgtest::uninstall();
        delete VentanaAbierta<fCompras>();
        delete VentanaAbierta<fVentas>();
        delete VentanaAbierta<fAdmCompras>();
        delete VentanaAbierta<fAdmVentas>();
        ReiniciarVariablesGlobales();
    }

    // A credit purchase under each costing method: header, line, payment,
    // Kardex, stock, cost and counter as stored; then the annulment takes
    // the stock out and revalues the cost back, once only.
    void compraYAnulacion_data()
    {
        QTest::addColumn<int>("metodo");
        QTest::addColumn<QString>("precio");
        QTest::addColumn<double>("costoAplicada");
        QTest::addColumn<double>("costoAnulada");
        // 10 in stock at 15, 10 received.
        QTest::newRow("PromedioPonderado") << 0 << "20" << 18.0 << 16.0;      // 17.5 -> 18; (360 - 200) / 10
        QTest::newRow("PromedioSimple") << 1 << "20" << 18.0 << 19.0;         // 17.5 -> 18; (18 + 20) / 2
        QTest::newRow("UltimoPrecio") << 2 << "19.99" << 19.99 << 19.99;     // the price, not rounded
    }
    void compraYAnulacion()
    {
        QFETCH(int, metodo);
        QFETCH(QString, precio);
        QFETCH(double, costoAplicada);
        QFETCH(double, costoAnulada);
        TESTSTORE_OPEN_FRESH(t);
        firmar(metodo);
        teststore::execRaw(t, "UPDATE empresas SET consecutivo_compra = 6 WHERE codigo_emp = 1");
        articulo(t, "A1", 10, 15);
        auto w = nueva();
        QCOMPARE(caja(*w, 0), QString("7"));
        QCOMPARE(caja(*w, 11), QString("Nuevo"));
        QCOMPARE(w->tNombre_prov->text(), QString("PROVEEDOR GENERICO"));
        QVERIFY(!w->txt[15]->isEnabled());

        // "Incluir" frees the supplier's NCF box; clearing it empties the box.
        w->Check1->setChecked(true);
        w->Check1_Click();
        QVERIFY(w->txt[15]->isEnabled());
        escribir(*w, 15, "X0000000001");
        w->Check1->setChecked(false);
        w->Check1_Click();
        QVERIFY(!w->txt[15]->isEnabled());
        QVERIFY(caja(*w, 15).isEmpty());
        w->Check1->setChecked(true);
        w->Check1_Click();
        escribir(*w, 15, "B0100000077");
        w->cb3->setCurrentIndex(1);
        w->cb3_Click();

        // The look-up takes the stored cost at rate 0; the typed cost wins.
        w->bAdicionarArticulo->click();
        w->txtDetalle[1]->setEditText("A1");
        QCOMPARE(w->txtDetalle[3]->currentText(), QString("15"));
        QCOMPARE(w->txtDetalle[4]->currentText(), QString("0"));
        QCOMPARE(w->txtDetalle[6]->currentText(), QString("15"));
        w->txtDetalle[2]->setEditText("10");
        w->txtDetalle[3]->setEditText(precio);
        w->txtDetalle3_LostFocus();
        QCOMPARE(w->txtDetalle[6]->currentText(), precio);
        w->bActualizarArticulo->click();
        QCOMPARE(w->lvwFactura->count(), 1);
        const double total = 10 * Val(precio);  // the net is not rounded, the line subtotal is
        QCOMPARE(caja(*w, 9), NumText(total));

        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList{"Es correcto el abono a la factura por $ 000 ?"});
        const auto c = teststore::rowsRaw(t, "SELECT codigo_fac, codigo_prov, forma_pago, total, saldo, Estado, codigo_emp, codigo_usu, ncf "
                                             "FROM Compras");
        QCOMPARE(c.size(), 1);
        QCOMPARE(c[0]["codigo_fac"].toInt(), 7);
        QCOMPARE(c[0]["codigo_prov"].toString(), QString("0"));
        QCOMPARE(c[0]["forma_pago"].toString(), QString("CREDITO"));
        QCOMPARE(c[0]["total"].toDouble(), total);
        QCOMPARE(c[0]["saldo"].toDouble(), total);
        QCOMPARE(c[0]["Estado"].toString(), QString("Sin Cancelar"));
        QCOMPARE(c[0]["codigo_usu"].toString(), QString("1"));
        QCOMPARE(c[0]["ncf"].toString(), QString("B0100000077"));
        const auto d = teststore::rowsRaw(t, "SELECT codigo_art, cantidad, valor_unitario, impuesto, precio_compra_det FROM Detalles_FacCom");
        QCOMPARE(d.size(), 1);
        QCOMPARE(d[0]["cantidad"].toInt(), 10);
        QCOMPARE(d[0]["valor_unitario"].toDouble(), Val(precio));
        QCOMPARE(d[0]["impuesto"].toInt(), 0);
        QCOMPARE(d[0]["precio_compra_det"].toDouble(), Val(precio));
        const auto a = teststore::rowsRaw(t, "SELECT codigo_fac, num_abono, valor_abono FROM Fact_xPagar");
        QCOMPARE(a.size(), 1);
        QCOMPARE(a[0]["codigo_fac"].toInt(), 7);
        QCOMPARE(a[0]["num_abono"].toInt(), 1);
        QCOMPARE(a[0]["valor_abono"].toDouble(), 0.0);
        QCOMPARE(filas(t, "Fact_xCobrar"), 0);
        QCOMPARE(stock(t, "A1"), 20);
        QCOMPARE(costo(t, "A1"), costoAplicada);
        auto k = teststore::rowsRaw(t, "SELECT concepto, unidades_entrantes, unidades_salientes, saldo, precio_compra FROM Kardex");
        QCOMPARE(k.size(), 1);
        QCOMPARE(k[0]["concepto"].toString(), QString("Factura de Compra 7"));
        QCOMPARE(k[0]["unidades_entrantes"].toString(), QString("10"));
        QCOMPARE(k[0]["unidades_salientes"].toString(), QString("-"));
        QCOMPARE(k[0]["saldo"].toInt(), 20);
        QCOMPARE(k[0]["precio_compra"].toDouble(), Val(precio));
        QCOMPARE(teststore::scalarRaw(t, "SELECT consecutivo_compra FROM empresas WHERE codigo_emp = 1").toInt(), 7);
        QCOMPARE(teststore::scalarRaw(t, "SELECT consecutivo_venta FROM empresas WHERE codigo_emp = 1").toInt(), 0);
        QVERIFY(!w->bAplicar->isEnabled());
        QVERIFY(!w->bAceptar->isEnabled());
        QVERIFY(!w->bAnular->isHidden());
        QCOMPARE(w->bCancelar->text(), QString("Cerrar"));
        QVERIFY(!w->txtDetalle[1]->isEnabled());
        QVERIFY(!w->bAplicar_Click());
        QCOMPARE(filas(t, "Compras"), 1);

        // Annulled from the list's view; box 0 typed afterwards is ignored.
        w.reset();
        auto v = std::make_unique<fCompras>();
        v->MostrarFactura("7");
        QCOMPARE(v->modo(), 3);
        QCOMPARE(gModoCompras, 3);
        QCOMPARE(caja(*v, 11), QString("Sin Cancelar"));
        QCOMPARE(caja(*v, 15), QString("B0100000077"));
        QCOMPARE(v->lvwFactura->count(), 1);
        QVERIFY(!v->fraArticulo->isEnabled());
        QVERIFY(v->bAnular->isEnabled());
        escribir(*v, 0, "8");
        escribir(*v, 10, "MERCANCIA DEVUELTA");
        msgtest::install(noAnotar);
        QVERIFY(v->bAnular_Click());
        QCOMPARE(msgtest::texts().value(1),
                 QString("Esta operación es irreversible, si continua, los artículos pedidos se extraerán del inventario. Desea continuar?"));
        QCOMPARE(msgtest::calls().value(1).title, QString("Factura de Compra"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT Estado FROM Compras WHERE codigo_fac = 7").toString(), QString("Anulada"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT notas FROM Compras WHERE codigo_fac = 7").toString(), QString("MERCANCIA DEVUELTA"));
        QCOMPARE(stock(t, "A1"), 10);
        QCOMPARE(costo(t, "A1"), costoAnulada);
        k = teststore::rowsRaw(t, "SELECT unidades_entrantes, unidades_salientes, saldo, precio_compra FROM Kardex "
                                  "WHERE concepto = 'Factura de Compra Anulada 7'");
        QCOMPARE(k.size(), 1);
        QCOMPARE(k[0]["unidades_entrantes"].toString(), QString("-"));
        QCOMPARE(k[0]["unidades_salientes"].toString(), QString("10"));
        QCOMPARE(k[0]["saldo"].toInt(), 10);
        QCOMPARE(k[0]["precio_compra"].toDouble(), Val(precio));
        QCOMPARE(filas(t, "Fact_xPagar"), 1);  // payments stay
        QCOMPARE(v->modo(), 0);
        QVERIFY(!v->bAnular->isEnabled());

        // A window that loaded it before it was annulled elsewhere.
        teststore::execRaw(t, "UPDATE Compras SET Estado = 'Sin Cancelar'");
        auto v2 = std::make_unique<fCompras>();
        v2->MostrarFactura("7");
        teststore::execRaw(t, "UPDATE Compras SET Estado = 'Anulada'");
        const QStringList antes = volcado(t);
        msgtest::install(noAnotar);
        QVERIFY(!v2->bAnular_Click());
        QCOMPARE(msgtest::texts().last(), QString("La factura 7 ya estaba anulada: no se extrajo nada del inventario"));
        QCOMPARE(volcado(t), antes);
    }

    // The maximum-stock warning, then its question; the limit itself passes.
    void stockMaximo_data()
    {
        QTest::addColumn<QString>("cantidad");
        QTest::addColumn<bool>("respuesta");
        QTest::addColumn<QStringList>("mensajes");
        QTest::addColumn<int>("lineas");
        const QString aviso = "El artículo M ha sobrepasado el máximo permitido de artículos el cual es de 10 Artículos. ";
        const QString pregunta = "Desea registrar el pedido de todas formas?";
        QTest::newRow("hasta el maximo") << "2" << true << QStringList{} << 1;
        QTest::newRow("encima, Si") << "3" << true << QStringList{aviso, pregunta} << 1;
        QTest::newRow("encima, No") << "3" << false << QStringList{aviso, pregunta} << 0;
    }
    void stockMaximo()
    {
        QFETCH(QString, cantidad);
        QFETCH(bool, respuesta);
        QFETCH(QStringList, mensajes);
        QFETCH(int, lineas);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "M", 8, 5, 10);
        auto w = nueva();
        msgtest::install([respuesta](const msgtest::Call&) { return respuesta ? MsgResult::Yes : MsgResult::No; });
        linea(*w, "M", cantidad);
        QCOMPARE(msgtest::texts(), mensajes);
        if (!mensajes.isEmpty())
            QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        QCOMPARE(w->lvwFactura->count(), lineas);
        if (lineas == 0) {
            // No leaves the line in the boxes for correction.
            QCOMPARE(w->txtDetalle[1]->currentText(), QString("M"));
            QCOMPARE(w->detalle().modo(), 2);
        }
    }

    // Refusals before anything is written.
    // A line's article removed on another workstation: named, nothing stored.
    void articuloEliminado()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25);
        articulo(t, "R", 10, 25);
        auto w = nueva();
        linea(*w, "Q", "2");
        linea(*w, "R", "3");
        teststore::execRaw(t, "DELETE FROM ARTICULOS WHERE codigo_art = 'R'");
        const QStringList antes = volcado(t);
        msgtest::clear();
        QVERIFY(!w->bAplicar_Click());
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].startsWith("El artículo R ya no existe"), qPrintable(msgtest::texts()[0]));
        QCOMPARE(volcado(t), antes);
    }

    void rechazos()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25);
        auto w = nueva();
        const QStringList antes = volcado(t);
        auto intenta = [&](const QString& mensaje) {
            msgtest::clear();
            QVERIFY(!w->bAplicar_Click());
            QCOMPARE(msgtest::texts().value(0), mensaje);
            QCOMPARE(volcado(t), antes);
        };
        intenta("Ingrese los artículos de la factura");
        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        w->bAceptar_Click();
        QCOMPARE(msgtest::texts(), (QStringList{"Ingrese los artículos de la factura", "Cerrar la ventana?"}));
        msgtest::install();

        // A code the look-up did not find, with the row of another article.
        w->bAdicionarArticulo->click();
        w->txtDetalle[1]->setEditText("Q");
        w->txtDetalle[1]->setEditText("NOEXISTE");
        msgtest::clear();
        w->bActualizarArticulo->click();
        QCOMPARE(msgtest::texts(), QStringList{"Ingrese Código del articulo y Cantidad"});
        QCOMPARE(w->lvwFactura->count(), 0);
        intenta("Termine de adicionar o editar el artículo (Actualizar u Omitir) antes de aplicar la factura");
        // A negative cost or a cost that is no plain number is no line.
        for (const char* mal : {"-5", "1,5", "x"}) {
            w->txtDetalle[1]->setEditText("Q");
            w->txtDetalle[3]->setEditText(mal);
            w->txtDetalle3_LostFocus();
            msgtest::clear();
            w->bActualizarArticulo->click();
            QCOMPARE(msgtest::texts(), QStringList{"Ingrese Código del articulo y Cantidad"});
            QCOMPARE(w->lvwFactura->count(), 0);
        }
        w->bOmitir->click();

        linea(*w, "Q", "1");
        QCOMPARE(w->lvwFactura->count(), 1);
        QCOMPARE(caja(*w, 9), QString("25"));
        const QString dinero = "El descuento y el abono deben ser cantidades positivas escritas con punto decimal y a lo sumo dos decimales";
        for (const char* mal : {"-5", "1,5", "5a"}) {
            escribir(*w, 7, mal);
            intenta(dinero);
        }
        escribir(*w, 7, "000");
        escribir(*w, 6, "-1");
        intenta(dinero);
        escribir(*w, 6, "000");
        escribir(*w, 7, "26");
        intenta("El saldo no puede dar resultados negativos");
        escribir(*w, 7, "25");
        escribir(*w, 0, "1x");
        intenta("Verifique el Código de la factura");
        escribir(*w, 0, "1");

        // The list's "Salir" sets the shared mode to 3: nothing applies
        // until the window is entering a new purchase again.
        gModoCompras = 3;
        intenta("La ventana ya no está ingresando una factura nueva; abra una factura nueva desde el listado de compras");
        gModoCompras = 2;
        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QVERIFY(msgtest::calls().isEmpty());
        QCOMPARE(teststore::scalarRaw(t, "SELECT Estado FROM Compras").toString(), QString("Cancelada"));
        QCOMPARE(filas(t, "Fact_xPagar"), 0);

        // A viewed purchase never applies.
        auto v = std::make_unique<fCompras>();
        v->MostrarFactura("1");
        const QStringList guardada = volcado(t);
        msgtest::clear();
        QVERIFY(!v->bAplicar_Click());
        QCOMPARE(volcado(t), guardada);
    }

    void abonoNoConfirmado_data() { lasDosFacturas(); }
    // No to "Es correcto el abono ...?" stores nothing and leaves the state
    // the balance gave; Yes on the next apply stores the invoice.
    void abonoNoConfirmado()
    {
        QFETCH(bool, venta);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25);
        fac::pagarCon();
        auto w = nuevaDe(venta);
        lineaEn(*w, "Q", "2");
        escribir(*w, 7, "10");
        const QStringList antes = fac::volcado(t);
        msgtest::install(
            [](const msgtest::Call& c) { return c.text.startsWith("Es correcto el abono") ? MsgResult::No : MsgResult::Yes; });
        QVERIFY(!w->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList{"Es correcto el abono a la factura por $ 10 ?"});
        QCOMPARE(caja(*w, 11), QString("Sin Cancelar"));
        QCOMPARE(fac::volcado(t), antes);
        QVERIFY(w->bAplicar->isEnabled());

        msgtest::install();
        QVERIFY(w->bAplicar_Click());
        const QString tabla = venta ? "Ventas" : "Compras";
        QCOMPARE(teststore::scalarRaw(t, "SELECT Estado FROM " + tabla).toString(), QString("Sin Cancelar"));
        QCOMPARE(caja(*w, 11), QString("Sin Cancelar"));
    }

    void cajasDelEncabezado_data() { lasDosFacturas(); }
    // What the program fills in the header (names, state, company, user,
    // payment type, totals) takes no Tab stop and no typing; a shown
    // invoice leaves only its notes to Tab.
    void cajasDelEncabezado()
    {
        QFETCH(bool, venta);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25);
        auto w = nuevaDe(venta);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        lineaEn(*w, "Q", "2");
        const QString parte = venta ? "cli" : "prov";
        static const QRegularExpression cajas("^(txt[0-9]+|tNombre_\\w+|tTelefono_\\w+)$");
        auto encabezado = [&] {
            QStringList out;
            for (const QString& n : foco::ordenDeTab(w.get()))
                if (cajas.match(n).hasMatch() && w->findChild<QWidget*>(n)->isEnabled())
                    out << n;
            return out;
        };
        QCOMPARE(encabezado(), venta ? QStringList({"txt0", "txt1", "txt2", "txt12", "txt15", "txt10", "txt6", "txt7"})
                                     : QStringList({"txt0", "txt1", "txt2", "txt12", "txt10", "txt6", "txt7"}));
        QList<QLineEdit*> llenas{w->findChild<QLineEdit*>("tNombre_" + parte), w->findChild<QLineEdit*>("tTelefono_" + parte)};
        for (int i : {3, 4, 5, 8, 9, 11, 13, 14})
            llenas << qobject_cast<QLineEdit*>(w->txt[i]);
        for (QLineEdit* e : llenas) {
            QVERIFY(e);
            const QString antes = e->text();
            e->setFocus();
            QTest::keyClicks(e, "7");
            QTest::keyClick(e, Qt::Key_Backspace);
            QCOMPARE(e->text(), antes);
        }
        QCOMPARE(caja(*w, 9), venta ? QString("236") : QString("50"));

        auto v = nuevaDe(venta);
        v->MostrarFactura("1");
        w.swap(v);
        QCOMPARE(encabezado(), QStringList{"txt10"});
    }

    // A number stored meanwhile, the start of a run of stored numbers:
    // the purchase goes under the first free one after the run, the clerk
    // is told, and the counter follows it.
    void numeroTomado()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25);
        auto w = nueva();
        QCOMPARE(caja(*w, 0), QString("1"));
        linea(*w, "Q", "1");
        escribir(*w, 7, "25");
        for (int n : {1, 2, 3, 5})
            teststore::execRaw(t, QString("INSERT INTO Compras (codigo_fac, codigo_prov, Estado, codigo_emp, codigo_usu, total) "
                                          "VALUES (%1, '0', 'Cancelada', 1, '1', 5)")
                                      .arg(n));
        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(msgtest::texts().last(), QString("Otra estación de trabajo tomó lo propuesto: la factura se guardó con el número 4."));
        QCOMPARE(caja(*w, 0), QString("4"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM Detalles_FacCom WHERE codigo_fac = 4").toInt(), 1);
        QCOMPARE(teststore::scalarRaw(t, "SELECT consecutivo_compra FROM empresas").toInt(), 4);
    }

    // A failure at each write of an apply leaves the store as it was, cost
    // included; the buttons stay enabled and the next apply stores one clean
    // purchase.
    void falloEnCadaEscritura()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar(0);
        articulo(t, "A1", 10, 15);
        articulo(t, "B2", 4, 30);
        auto w = nueva();
        linea(*w, "A1", "10", "20");
        linea(*w, "B2", "4", "40");
        escribir(*w, 7, "50");
        const QStringList antes = volcado(t);
        {
            // "Aceptar" after a failed apply offers no closing.
            FalloEnEscritura fallo(1);
            msgtest::clear();
            w->bAceptar_Click();
            QCOMPARE(msgtest::texts().last(), kErrorAplicar);
            QVERIFY(!msgtest::texts().contains("Cerrar la ventana?"));
            QCOMPARE(volcado(t), antes);
        }
        int escrituras = 0;
        fac::AplicarFallandoCadaEscritura(*w, [&] { return volcado(t); }, antes, kErrorAplicar, escrituras);
        // Header; per line its row, the cost, the Kardex row and the stock;
        // the payment and the counter.
        QCOMPARE(escrituras, 1 + 2 * 4 + 1 + 1);
        QCOMPARE(filas(t, "Compras"), 1);
        QCOMPARE(filas(t, "Detalles_FacCom"), 2);
        QCOMPARE(filas(t, "Kardex"), 2);
        QCOMPARE(filas(t, "Fact_xPagar"), 1);
        QCOMPARE(stock(t, "A1"), 20);
        QCOMPARE(stock(t, "B2"), 8);
        QCOMPARE(costo(t, "A1"), 18.0);
        QCOMPARE(costo(t, "B2"), 35.0);
    }

    // "Nuevo" on one list closes the other invoice window; the new-invoice
    // items refuse while the other window is open, each with its text.
    void entreListas()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        RegistrarMenusCompras();
        teststore::execRaw(t, "UPDATE empresas SET consecutivo_compra = 20, consecutivo_venta = 40 WHERE codigo_emp = 1");
        articulo(t, "Q", 10, 25);
        // "Facturas" > "Compra" opens the purchase list.
        QVERIFY(Abrir("compra"));
        QVERIFY(VentanaAbierta<fAdmCompras>());
        auto& compras = Ventana<fAdmCompras>();
        auto& ventas = Ventana<fAdmVentas>();
        QCOMPARE(compras.objectName(), QString("fAdmCompras"));
        QCOMPARE(compras.windowTitle(), QString("Administrador de Facturas de Compra"));

        compras.Despachar("Nuevo");
        fCompras* c = VentanaAbierta<fCompras>();
        QVERIFY(c);
        QCOMPARE(caja(*c, 0), QString("21"));
        QCOMPARE(gModoCompras, 2);
        linea(*c, "Q", "1");
        QCOMPARE(c->lvwFactura->count(), 1);

        // The sales item refuses while the purchase is open.
        msgtest::clear();
        ventas.NuevaFactura();
        QCOMPARE(msgtest::texts(), QStringList{"cierre la ventana Factura de compra antes de continuar"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        QVERIFY(!VentanaAbierta<fVentas>());
        QVERIFY(VentanaAbierta<fCompras>());

        // The sales "Nuevo" closes it without asking, the purchase is lost.
        msgtest::clear();
        ventas.Despachar("Nuevo");
        QVERIFY(msgtest::calls().isEmpty());
        QVERIFY(!VentanaAbierta<fCompras>());
        QVERIFY(VentanaAbierta<fVentas>());
        QCOMPARE(BoxText(VentanaAbierta<fVentas>()->txt[0]), QString("41"));
        QCOMPARE(gModoFormulario, 2);
        QCOMPARE(gModoCompras, 0);

        // The purchase item refuses while the sale is open, with a plain box.
        msgtest::clear();
        compras.NuevaFactura();
        QCOMPARE(msgtest::texts(), QStringList{"cierre la ventana Factura de ventas antes de continuar"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Plain);
        QVERIFY(!VentanaAbierta<fCompras>());

        compras.Despachar("Nuevo");
        QVERIFY(!VentanaAbierta<fVentas>());
        QVERIFY(VentanaAbierta<fCompras>());
        QCOMPARE(gModoFormulario, 0);
        QCOMPARE(gModoCompras, 2);
    }

    // The line state is the window's: closing a viewed sale leaves the line
    // being entered in the purchase as it was.
    void lineaDeCadaVentana()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25);
        auto w = nueva();
        w->bAdicionarArticulo->click();
        w->txtDetalle[1]->setEditText("Q");
        QCOMPARE(gModoDetalle, 2);
        {
            auto venta = std::make_unique<fVentas>();
            venta->MostrarFactura("1");
            venta->close();
        }
        QCOMPARE(gModoDetalle, 2);
        QCOMPARE(w->detalle().modo(), 2);
        w->bActualizarArticulo->click();
        QCOMPARE(w->lvwFactura->count(), 1);
        QCOMPARE(gModoDetalle, 3);
        w.reset();
        QCOMPARE(gModoDetalle, 0);
        QCOMPARE(gModoCompras, 0);
    }

    // Purchase lines and the purchase total reach the pole display as a
    // sale's do, byte for byte.
    void display()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        teststore::execRaw(t, "INSERT INTO ARTICULOS (codigo_art, descripcion_art, precio_compra, impuesto, precio_venta1, precio_venta2, "
                              "precio_venta3, cantidad, stock_minimo, stock_maximo, tipo_art, imagen_art) VALUES ('CG', "
                              "'CEMENTO GRIS PORTLAND TIPO I SACO DE 42.5 KG', 118, 18, 1, 1, 1, 0, 0, 1000, 'FISICO', '')");
        Pantalla pantalla(QStringLiteral("8"));
        const QByteArray limpio = "\x0c" + QByteArray(40, ' ') + "\r\n\x0c";
        auto w = nueva();
        linea(*w, "CG", "10");
        const QByteArray lineaVista = pantalla.leer();
        escribir(*w, 7, "1180");
        QVERIFY(w->bAplicar_Click());
        const QByteArray totalVisto = pantalla.leer();
        QCOMPARE(lineaVista, limpio + "$ 1,180.00 CEMENTO GRIS PORTLAND TIPO I S\r\n");
        QCOMPARE(totalVisto, limpio + "TOTAL $ 1,180.00\r\n");
    }

    // The search dialogs hand a code to the purchase only while it is a new
    // one not yet applied.
    void entregaDeBusqueda()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        teststore::execRaw(t, "INSERT INTO PROVEEDORES (codigo_prov, nombre_prov, telefono_prov) VALUES ('P1', 'FERRETERIA', '555')");
        articulo(t, "Q", 10, 25);
        auto w = nueva();
        QVERIFY(FacturaEnCaptura(FacturaDestino::Compra));
        QVERIFY(!FacturaEnCaptura(FacturaDestino::Venta));
        QVERIFY(EntregarTercero(FacturaDestino::Compra, "P1"));
        QCOMPARE(caja(*w, 1), QString("P1"));
        QCOMPARE(w->tNombre_prov->text(), QString("FERRETERIA"));
        QCOMPARE(w->tTelefono_prov->text(), QString("555"));
        w->bAdicionarArticulo->click();
        QVERIFY(EntregarArticulo(FacturaDestino::Compra, "Q"));
        QCOMPARE(w->tDescripcion_art->text(), QString("ARTICULO Q"));
        w->bActualizarArticulo->click();
        escribir(*w, 7, "25");
        QVERIFY(w->bAplicar_Click());
        QVERIFY(!EntregarTercero(FacturaDestino::Compra, "0"));
        QCOMPARE(caja(*w, 1), QString("P1"));
        auto v = std::make_unique<fCompras>();  // the last registration stands
        v->MostrarFactura("1");
        QVERIFY(!FacturaEnCaptura(FacturaDestino::Compra));
        v.reset();
        QVERIFY(!FacturaEnCaptura(FacturaDestino::Compra));
    }

    // The list: only the company's purchases; deleting one that is not
    // annulled is refused; an annulled one goes on Yes.
    void listaYEliminar()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        teststore::execRaw(t, "INSERT INTO PROVEEDORES (codigo_prov, nombre_prov, telefono_prov) VALUES ('P1', 'FERRETERIA', '555')");
        teststore::execRaw(t, "INSERT INTO empresas (codigo_emp, nombre_emp, costeo_inventario, consecutivo_compra, consecutivo_venta) "
                              "VALUES (2, 'SUCURSAL', 'PromedioPonderado', 0, 0)");
        const char* filasCompras[] = {
            "(1, 'P1', '2026-12-01', 'Cancelada', 1, 100)",
            "(2, 'P1', '2026-12-05', 'Sin Cancelar', 1, 200)",
            "(3, '0', '2026-12-05', 'Anulada', 1, 300)",
            "(1, 'P1', '2026-12-09', 'Cancelada', 2, 999)",
        };
        for (const char* f : filasCompras)
            teststore::execRaw(t, QString("INSERT INTO Compras (codigo_fac, codigo_prov, fecha, Estado, codigo_emp, total) VALUES ") + f);
        teststore::execRaw(t, "INSERT INTO Fact_xPagar (codigo_fac, num_abono, valor_abono, fecha_abono, codigo_emp) "
                              "VALUES (2, 1, 0, '2026-12-05', 1)");
        auto& l = Ventana<fAdmCompras>();
        l.cargarListView();
        QCOMPARE(l.lvw->count(), 3);
        QCOMPARE(l.lvw->text(1), QString("3"));
        QCOMPARE(l.lvw->text(2), QString("2"));
        QCOMPARE(l.lvw->text(3), QString("1"));
        QCOMPARE(l.lvw->subItem(2, 2), QString("FERRETERIA"));
        QCOMPARE(l.lvw->subItem(2, 3), QString("P1"));

        for (int fila : {2, 3}) {
            l.lvw->select(fila);
            msgtest::clear();
            const QStringList antes = volcado(t);
            l.Despachar("Eliminar");
            QCOMPARE(msgtest::texts(), QStringList{"Primero debe Anular la factura para proceder a su eliminación"});
            QCOMPARE(msgtest::calls()[0].title, QString("Administrador de Facturas de Compra"));
            QCOMPARE(volcado(t), antes);
        }

        // Deleted meanwhile elsewhere: nothing asked, nothing deleted.
        l.lvw->select(1);
        teststore::execRaw(t, "UPDATE Compras SET codigo_fac = 33 WHERE codigo_fac = 3");
        msgtest::clear();
        const QStringList antes = volcado(t);
        l.Despachar("Eliminar");
        QVERIFY(msgtest::calls().isEmpty());
        QCOMPARE(volcado(t), antes);
        teststore::execRaw(t, "UPDATE Compras SET codigo_fac = 3 WHERE codigo_fac = 33");

        l.cargarListView();
        l.lvw->select(1);
        msgtest::clear();
        l.Despachar("Eliminar");
        QCOMPARE(msgtest::texts(), QStringList{"Se procederá a eliminar la Factura 3. Está seguro?"});
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM Compras WHERE codigo_emp = 1").toInt(), 2);
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM Compras WHERE codigo_fac = 3").toInt(), 0);
        QCOMPARE(l.lvw->count(), 2);

        // Viewing from the list, and its "Salir".
        l.lvw->select(1);
        l.Despachar("Propiedades");
        fCompras* v = VentanaAbierta<fCompras>();
        QVERIFY(v);
        QCOMPARE(caja(*v, 0), QString("2"));
        QCOMPARE(v->tNombre_prov->text(), QString("FERRETERIA"));
        QCOMPARE(gModoCompras, 3);
    }

    // Two processes, 50 purchases each of one article, weighted average.
    void concurrencia()
    {
        TESTSTORE_OPEN_FRESH(t);
        articulo(t, "W", 100, 10);
        teststore::execRaw(t, "INSERT INTO usuarios (codigo_emp, codigo_usu, nombre_usu, password_usu, nivel_usu) "
                              "VALUES (1, '2', 'SEGUNDO', '1', 'Asistente')");
        const int veces = 50;
        procesos::CorrerHijos(
            this, 2, "--compras", t, [veces](int i) { return QStringList{QString::number(i), QString::number(veces)}; }, 500000);
        if (QTest::currentTestFailed())
            return;
        int recibido = 0;
        for (int p = 0; p < 2; ++p)
            for (int i = 0; i < veces; ++i)
                recibido += cantidadDe(p, i);
        QCOMPARE(filas(t, "Compras"), 2 * veces);
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(DISTINCT codigo_fac) FROM Compras").toInt(), 2 * veces);
        QCOMPARE(filas(t, "Detalles_FacCom"), 2 * veces);
        QCOMPARE(stock(t, "W"), 100 + recibido);
        // The two really ran at once: their invoices alternate in number order.
        int cambios = 0;
        QString anterior;
        for (const QVariantList& r : teststore::queryRaw(t, "SELECT codigo_usu FROM Compras ORDER BY codigo_fac")) {
            if (!anterior.isEmpty() && r[0].toString() != anterior)
                ++cambios;
            anterior = r[0].toString();
        }
        qInfo("alternancias: %d", cambios);
        QVERIFY(cambios > 1);

        // Every movement enters stock, so the stored order is the order of
        // the balances; replaying it must give the stored cost.
        const auto k = teststore::rowsRaw(t, "SELECT unidades_entrantes, saldo, precio_compra FROM Kardex WHERE codigo_art = 'W' "
                                             "ORDER BY saldo");
        QCOMPARE(k.size(), 2 * veces);
        qint64 existencia = 100;
        double c = 10;
        for (const teststore::Row& r : k) {
            const int q = r["unidades_entrantes"].toInt();
            c = RoundHalfEven((double(existencia) * c + double(q) * r["precio_compra"].toDouble()) / double(existencia + q));
            existencia += q;
            QCOMPARE(r["saldo"].toLongLong(), existencia);
        }
        QCOMPARE(costo(t, "W"), c);
    }
};

PROCESOS_MAIN(TstCompras, "--compras", Compras)

#include "tst_compras.moc"
