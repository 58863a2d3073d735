// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Facturacion.h"
#include "ListView.h"
#include "fCompras.h"
#include "mFuncionesCajas.h"
#include "mNumeracionNCF.h"
#include "msgbox.h"

#include <QApplication>
#include <QProcess>
#include <QSet>
#include <QtTest>
#include <memory>

using namespace fac;

namespace {

const QString kErrorAplicar = "Error en el evento Click del comando bAplicar del formulario fVentas";

// A new sale on the company's next number, as the list opens it.
std::unique_ptr<fVentas> nueva() { return fac::nueva<fVentas>(gModoFormulario); }

// An apply refused with mensaje alone, before the cash is counted, the
// store as it was. A failed check here fails the running test; the caller
// stops on QTest::currentTestFailed().
void rechazada(fVentas& w, const teststore::Target& t, const QStringList& antes, const int& cobros, const QString& mensaje)
{
    msgtest::clear();
    QVERIFY(!w.bAplicar_Click());
    QCOMPARE(msgtest::texts(), QStringList{mensaje});
    QCOMPARE(cobros, 0);
    QCOMPARE(volcado(t), antes);
}

// A child process: veces sales of one unit of C1 with the first NCF range,
// applied again as a clerk would until each is stored.
int Ventas(const QStringList& args)
{
    const teststore::Target t = procesos::DestinoDeArgumentos(args);
    const int veces = args.value(6).toInt();
    msgtest::install();
    teststore::openOn(Conexion(), t);
    firmar();
    pagarCon();
    for (int i = 0; i < veces; ++i) {
        auto w = nueva();
        linea(*w, "C1");
        const auto primerRango = [&w] {
            if (w->ComboNcf->currentIndex() != 1 || caja(*w, 15).isEmpty())
                elegirNcf(*w, 1);
        };
        if (const int r = AplicarInsistiendo(*w, primerRango))
            return r;
    }
    return 0;
}

}  // namespace

class TstVentas : public PruebaConCobro {
    Q_OBJECT
private slots:
    void cleanup()
    {
        ado::Connection::setWriteHook({});
        PruebaConCobro::cleanup();
    }

    // A cash sale with an NCF: header, lines, Kardex, stock and both
    // counters as stored, no payment row; the window shows it applied.
    void ventaContado()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        teststore::execRaw(t, "UPDATE empresas SET consecutivo_venta = 41 WHERE codigo_emp = 1");
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        articulo(t, "B2", 5, 50, 45, 40, 18, 30);
        const int id = rango(t, "Consumidor final", "B01", 1, 500, 39);
        auto w = nueva();
        QCOMPARE(caja(*w, 0), QString("42"));
        QCOMPARE(caja(*w, 11), QString("Nuevo"));
        QCOMPARE(w->ComboNcf->currentText(), QString("Manual"));
        elegirNcf(*w, 1);
        QCOMPARE(caja(*w, 15), QString("B0100000040"));

        linea(*w, "A1", "3", 1);  // 3 at 90 with 18%: 318.6 -> 319
        linea(*w, "B2", "2");     // 2 at 50 with 18%: 118
        QCOMPARE(w->lvwFactura->count(), 2);
        QCOMPARE(w->lvwFactura->text(1), QString("B2"));
        QCOMPARE(w->lvwFactura->subItem(2, 5), QString("319"));
        QCOMPARE(caja(*w, 4), QString("370"));
        QCOMPARE(caja(*w, 5), QString("67"));  // round(18) then round(18 + 48.6)
        QCOMPARE(caja(*w, 9), QString("437"));
        escribir(*w, 7, "437");
        QCOMPARE(caja(*w, 8), QString("0"));
        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QVERIFY(msgtest::calls().isEmpty());

        const auto v = teststore::rowsRaw(t, "SELECT codigo_fac, codigo_cli, forma_pago, valor_neto, impuesto_total, abono, saldo, "
                                             "total, Estado, codigo_emp, codigo_usu, ncf FROM Ventas");
        QCOMPARE(v.size(), 1);
        COMPARE_ROW(v[0], {{"codigo_fac", 42},
                           {"codigo_cli", "0"},
                           {"forma_pago", "CONTADO"},
                           {"valor_neto", 370.0},
                           {"impuesto_total", 67.0},
                           {"abono", 437.0},
                           {"saldo", 0.0},
                           {"total", 437.0},
                           {"Estado", "Cancelada"},
                           {"ncf", "B0100000040"}});
        const auto d = teststore::rowsRaw(t, "SELECT codigo_art, cantidad, valor_unitario, impuesto, SubTotal, precio_compra_det, "
                                             "codigo_emp FROM Detalles_FacVen ORDER BY codigo_art");
        QCOMPARE(d.size(), 2);
        COMPARE_ROW(d[0],
                    {{"codigo_art", "A1"}, {"cantidad", 3}, {"valor_unitario", 90.0}, {"SubTotal", 319.0}, {"precio_compra_det", 60.0}});
        QCOMPARE(d[1]["cantidad"].toInt(), 2);
        QCOMPARE(stock(t, "A1"), 7);
        QCOMPARE(stock(t, "B2"), 3);
        const auto k = teststore::rowsRaw(t, "SELECT concepto, unidades_entrantes, unidades_salientes, saldo, precio_compra FROM Kardex "
                                             "WHERE codigo_art = 'A1'");
        QCOMPARE(k.size(), 1);
        COMPARE_ROW(k[0],
                    {{"concepto", "Factura De Venta 42"}, {"unidades_entrantes", "-"}, {"unidades_salientes", "3"}, {"saldo", 7}});
        QCOMPARE(filas(t, "Fact_xCobrar"), 0);
        QCOMPARE(consecutivo(t, "consecutivo_venta").toInt(), 42);
        QCOMPARE(teststore::scalarRaw(t, QString("SELECT consecutivo FROM ncfs WHERE ID = %1").arg(id)).toInt(), 40);

        QVERIFY(!w->bAplicar->isEnabled());
        QVERIFY(!w->bAceptar->isEnabled());
        QVERIFY(!w->bAnular->isHidden());
        QCOMPARE(w->bCancelar->text(), QString("Cerrar"));
        QVERIFY(!w->txtDetalle[1]->isEnabled());
        // Only the notes stay editable.
        QVERIFY(static_cast<QLineEdit*>(w->txt[0])->isReadOnly());
        QVERIFY(static_cast<QLineEdit*>(w->txt[7])->isReadOnly());
        QVERIFY(!static_cast<QPlainTextEdit*>(w->txt[10])->isReadOnly());
        // Applying again is refused and stores nothing.
        QVERIFY(!w->bAplicar_Click());
        QCOMPARE(filas(t, "Ventas"), 1);
    }

    // The counters: proposed as stored + 1, stored with the number used.
    void consecutivos()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        teststore::execRaw(t, "UPDATE empresas SET consecutivo_venta = 100, consecutivo_compra = 7");
        QCOMPARE(ObtenerConsecutivo("consecutivo_venta"), 101.0);
        QCOMPARE(ObtenerConsecutivo("consecutivo_compra"), 8.0);
        auto w = nueva();
        escribir(*w, 0, "150");
        linea(*w, "Q");
        escribir(*w, 7, "29");
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(consecutivo(t, "consecutivo_venta").toInt(), 150);
        QCOMPARE(ObtenerConsecutivo("consecutivo_venta"), 151.0);
        QVERIFY(ActualizarConsecutivo("consecutivo_compra", 9));
        QCOMPARE(consecutivo(t, "consecutivo_compra").toInt(), 9);
        const int id = rango(t, "Final", "A0100100101", 1, 10, 0);
        QCOMPARE(GenerarNCF("consecutivo", qint16(id)), QString("A010010010100000001"));
        QVERIFY(GenerarNCF("consecutivo", qint16(id + 1)).isEmpty());
        QVERIFY(ActualizarConsecutivoNCF("consecutivo", 3, qint16(id)));
        QVERIFY(!ActualizarConsecutivoNCF("consecutivo", 3, qint16(id + 1)));
        gCodigoEmp = "5";  // a company without its row
        QCOMPARE(ObtenerConsecutivo("consecutivo_venta"), 1.0);  // max() of no row is Null
        QVERIFY(!ActualizarConsecutivo("consecutivo_venta", 3));
        QVERIFY(msgtest::calls().isEmpty());
    }

    // Credit sales: the first payment, 0 without down payment.
    void ventaCredito_data()
    {
        QTest::addColumn<QString>("abono");
        QTest::addColumn<double>("pagado");
        QTest::addColumn<double>("saldo");
        QTest::addColumn<QString>("pregunta");
        QTest::addColumn<QString>("monto");
        QTest::newRow("sin abono") << "" << 0.0 << 147.0 << "Es correcto el abono a la factura por $ 000 ?" << "000";
        QTest::newRow("abono 50") << "50" << 50.0 << 97.0 << "Es correcto el abono a la factura por $ 50 ?" << "50";
    }
    void ventaCredito()
    {
        QFETCH(QString, abono);
        QFETCH(double, pagado);
        QFETCH(double, saldo);
        QFETCH(QString, pregunta);
        QFETCH(QString, monto);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "P", 10, 50, 50, 50, 18, 20);
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        auto w = nueva();
        SetBoxText(w->txt[1], "0");
        w->cb3->setCurrentIndex(1);
        w->cb3_Click();
        linea(*w, "Q");
        linea(*w, "P", "2");
        QCOMPARE(caja(*w, 9), QString("147"));  // net 125, tax round(18 + 4.5) = 22
        if (!abono.isEmpty())
            escribir(*w, 7, abono);
        QString montoVisto;
        fRecibirDinero::alMostrar = [&](fRecibirDinero& d) {
            montoVisto = d.tTotal->text();
            d.tEfectivo->setText("500");
            d.bCerrar->click();
        };
        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList{pregunta});
        QCOMPARE(montoVisto, monto);
        const auto v = teststore::rowsRaw(t, "SELECT Estado, saldo, forma_pago FROM Ventas");
        QCOMPARE(v[0]["Estado"].toString(), QString("Sin Cancelar"));
        QCOMPARE(v[0]["saldo"].toDouble(), saldo);
        QCOMPARE(v[0]["forma_pago"].toString(), QString("CREDITO"));
        const auto a = teststore::rowsRaw(t, "SELECT codigo_fac, num_abono, valor_abono, fecha_abono, codigo_emp FROM Fact_xCobrar");
        QCOMPARE(a.size(), 1);
        QCOMPARE(a[0]["codigo_fac"].toInt(), 1);
        QCOMPARE(a[0]["num_abono"].toInt(), 1);
        QCOMPARE(a[0]["valor_abono"].toDouble(), pagado);
        QCOMPARE(a[0]["fecha_abono"].toDate(), QDate::currentDate());
        QCOMPARE(a[0]["codigo_emp"].toInt(), 1);
    }

    // Two identical lines: each subtotal rounds up (29.5 -> 30), the running
    // tax does not (4.5 -> 4, 8.5 -> 8), so the total is 58, not 60.
    void lineasIguales()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        auto w = nueva();
        w->optModoPOS->setChecked(true);
        for (int i = 0; i < 2; ++i) {
            w->txtDetalle[1]->setEditText("Q");
            w->txtDetalle1_LostFocus();
        }
        QCOMPARE(w->lvwFactura->count(), 2);
        QCOMPARE(w->lvwFactura->subItem(1, 5), QString("30"));
        QCOMPARE(w->lvwFactura->subItem(2, 5), QString("30"));
        QCOMPARE(caja(*w, 4), QString("50"));
        QCOMPARE(caja(*w, 5), QString("8"));
        QCOMPARE(caja(*w, 9), QString("58"));
        escribir(*w, 7, "58");
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(teststore::scalarRaw(t, "SELECT total FROM Ventas").toDouble(), 58.0);
        QCOMPARE(teststore::scalarRaw(t, "SELECT SUM(SubTotal) FROM Detalles_FacVen").toDouble(), 60.0);
        QCOMPARE(stock(t, "Q"), 8);
    }

    // Range cases when a type is chosen: the NCF shown and the messages.
    void rangosNcf_data()
    {
        QTest::addColumn<int>("desde");
        QTest::addColumn<qint64>("hasta");
        QTest::addColumn<qint64>("actual");
        QTest::addColumn<QString>("ncf");
        QTest::addColumn<QStringList>("mensajes");
        QTest::newRow("12 restantes") << 1 << qint64(50) << qint64(38) << "B0100000039" << QStringList{};
        QTest::newRow("11 restantes") << 1 << qint64(50) << qint64(39) << "B0100000040" << QStringList{"Aviso: Solo queda(n) 11 NCF(s)"};
        QTest::newRow("el ultimo") << 1 << qint64(50) << qint64(49) << "B0100000050" << QStringList{"Aviso: Solo queda(n) 1 NCF(s)"};
        QTest::newRow("agotado") << 1 << qint64(50) << qint64(50) << "" << QStringList{"NCFs agotados, favor de aumentar el rango."};
        QTest::newRow("debajo") << 100 << qint64(150) << qint64(10) << ""
                                << QStringList{"El NCF creado esta por debajo del rango (100 - 150)."};
        QTest::newRow("ocho digitos") << 1 << qint64(999999999) << qint64(99999999) << ""
                                      << QStringList{"NCFs agotados, favor de aumentar el rango."};
    }
    void rangosNcf()
    {
        QFETCH(int, desde);
        QFETCH(qint64, hasta);
        QFETCH(qint64, actual);
        QFETCH(QString, ncf);
        QFETCH(QStringList, mensajes);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        rango(t, "Otra sucursal", "X01", 1, 10, 0, "2");
        rango(t, "Credito fiscal", "B01", desde, hasta, actual);
        auto w = nueva();
        QCOMPARE(w->ComboNcf->count(), 2);  // "Manual" and this branch's range
        // What the box holds while each message is on screen.
        QStringList cajaAlAvisar;
        msgtest::install([&](const msgtest::Call&) {
            cajaAlAvisar << caja(*w, 15);
            return MsgResult::Ok;
        });
        elegirNcf(*w, 1);
        QCOMPARE(caja(*w, 15), ncf);
        QCOMPARE(msgtest::texts(), mensajes);
        if (ncf.isEmpty())
            QCOMPARE(cajaAlAvisar, QStringList{QString()});
        QVERIFY(static_cast<QLineEdit*>(w->txt[15])->isReadOnly());
        // Back to "Manual": free and empty; the counter never moved.
        elegirNcf(*w, 0);
        QVERIFY(caja(*w, 15).isEmpty());
        QVERIFY(!static_cast<QLineEdit*>(w->txt[15])->isReadOnly());
        QCOMPARE(teststore::scalarRaw(t, "SELECT consecutivo FROM ncfs WHERE prefijo = 'B01'").toLongLong(), actual);
    }

    // The proposed number was taken before the apply: Yes moves to the next
    // one and stops, No goes on. Taken while the cash is counted, the number
    // and the range's NCF give way to the next free ones and the clerk is
    // told; no engine error in any case.
    void numeroUsado()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        rango(t, "Consumidor final", "B01", 1, 500, 0);
        const auto otra = [&t](int numero, const QString& ncf) {
            teststore::execRaw(t, QString("INSERT INTO Ventas (codigo_fac, codigo_cli, Estado, codigo_emp, codigo_usu, ncf, total) "
                                          "VALUES (%1, '0', 'Cancelada', 1, '1', '%2', 5)")
                                      .arg(numero)
                                      .arg(ncf));
        };
        const QString pregunta = "El número de factura %1  ya esta registrado en el inventario, Desea intentar el siguiente número disponible?";
        auto w = nueva();
        QCOMPARE(caja(*w, 0), QString("1"));
        linea(*w, "Q");
        escribir(*w, 7, "29");
        otra(1, "");
        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(msgtest::texts(), (QStringList{pregunta.arg(1), "Otra estación de trabajo tomó lo propuesto: la factura se guardó con el número 2."}));
        QCOMPARE(caja(*w, 0), QString("2"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM Detalles_FacVen WHERE codigo_fac = 2").toInt(), 1);

        auto w2 = nueva();
        QCOMPARE(caja(*w2, 0), QString("3"));
        linea(*w2, "Q");
        escribir(*w2, 7, "29");
        elegirNcf(*w2, 1);
        otra(3, "");
        const QStringList antes = volcado(t);
        msgtest::install();
        QVERIFY(!w2->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList{pregunta.arg(3)});
        QCOMPARE(msgtest::calls()[0].title, QString("Factura de Venta"));
        QCOMPARE(caja(*w2, 0), QString("4"));
        QCOMPARE(w2->ComboNcf->currentText(), QString("Manual"));
        QVERIFY(caja(*w2, 15).isEmpty());
        QCOMPARE(volcado(t), antes);

        elegirNcf(*w2, 1);
        QCOMPARE(caja(*w2, 15), QString("B0100000001"));
        fRecibirDinero::alMostrar = [&](fRecibirDinero& d) {
            otra(4, "B0100000001");
            teststore::execRaw(t, "UPDATE ncfs SET consecutivo = 1");
            d.tEfectivo->setText(d.tTotal->text());
            d.bCerrar->click();
        };
        msgtest::clear();
        QVERIFY(w2->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList{"Otra estación de trabajo tomó lo propuesto: la factura se guardó con el número 5 y el NCF B0100000002."});
        QCOMPARE(caja(*w2, 0), QString("5"));
        QCOMPARE(caja(*w2, 15), QString("B0100000002"));
        QCOMPARE(w2->numeroGuardado(), QString("5"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT ncf FROM Ventas WHERE codigo_fac = 5").toString(), QString("B0100000002"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM Kardex WHERE concepto = 'Factura De Venta 5'").toInt(), 1);
        QCOMPARE(consecutivo(t, "consecutivo_venta").toInt(), 5);
        QCOMPARE(teststore::scalarRaw(t, "SELECT consecutivo FROM ncfs").toInt(), 2);
    }

    // Refusals before anything is written.
    void rechazos()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        auto w = nueva();
        const QStringList antes = volcado(t);
        auto intenta = [&](const QString& mensaje) {
            msgtest::clear();
            QVERIFY(!w->bAplicar_Click());
            QCOMPARE(msgtest::texts().value(0), mensaje);
            QCOMPARE(volcado(t), antes);
        };
        intenta("Ingrese los artículos de la factura");

        // A code the look-up did not find, with the row of another article.
        w->bAdicionarArticulo->click();
        w->txtDetalle[1]->setEditText("Q");
        w->txtDetalle[1]->setEditText("NOEXISTE");
        msgtest::clear();
        w->bActualizarArticulo->click();
        QCOMPARE(msgtest::texts(), QStringList{"Ingrese Código del articulo y Cantidad"});
        QCOMPARE(w->lvwFactura->count(), 0);
        // While a line is being entered.
        intenta("Termine de adicionar o editar el artículo (Actualizar u Omitir) antes de aplicar la factura");
        w->bOmitir->click();

        linea(*w, "Q");
        QCOMPARE(w->lvwFactura->count(), 1);
        const QString dinero = "El descuento y el abono deben ser cantidades positivas escritas con punto decimal y a lo sumo dos decimales";
        for (const char* mal : {"-5", "1,5", "5a", "1.2.3"}) {
            escribir(*w, 7, mal);
            intenta(dinero);
        }
        escribir(*w, 7, "000");
        escribir(*w, 6, "-1");
        intenta(dinero);
        escribir(*w, 6, "000");
        escribir(*w, 7, "30");
        intenta("El saldo no puede dar resultados negativos");
        // A third decimal is no amount of money.
        escribir(*w, 7, "28.999");
        intenta(dinero);
        escribir(*w, 7, "29");
        escribir(*w, 0, "1x");
        intenta("Verifique el Código de la factura");
        escribir(*w, 0, "1");
        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QVERIFY(msgtest::calls().isEmpty());
        QCOMPARE(teststore::scalarRaw(t, "SELECT Estado FROM Ventas").toString(), QString("Cancelada"));
        QCOMPARE(filas(t, "Fact_xCobrar"), 0);
    }

    // Another workstation (another node of a cluster) won the same rows at
    // the first run: the apply runs again and the clerk sees nothing.
    void otraEstacionGanaElPrimerIntento_data()
    {
        QTest::addColumn<int>("escritura");
        for (int k : {1, 2, 3, 4, 5, 6})
            QTest::newRow(qPrintable(QString("en la escritura %1").arg(k))) << k;
    }
    void otraEstacionGanaElPrimerIntento()
    {
        QFETCH(int, escritura);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        auto w = nueva();
        linea(*w, "Q", "2");
        escribir(*w, 7, caja(*w, 9));
        int cobros = 0, escrituras = 0;
        pagarContando(cobros);
        ado::Connection::setWriteHook([&](const QString&) {
            if (++escrituras == escritura)
                throw ado::Error{1213, QStringLiteral("Deadlock found when trying to get lock"), ado::Fault::Busy};
        });
        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(cobros, 1);
        QCOMPARE(filas(t, "Ventas") + filas(t, "Detalles_FacVen") + filas(t, "Kardex"), 3);
        QCOMPARE(stock(t, "Q"), 8);
        QCOMPARE(consecutivo(t, "consecutivo_venta").toInt(), caja(*w, 0).toInt());
    }

    // Another workstation removes a line's article while the sale is
    // entered: the apply names it and stores nothing, whether the removal
    // came before the check or while the cash was counted.
    void articuloEliminado_data()
    {
        QTest::addColumn<bool>("enElCobro");
        QTest::newRow("antes de aplicar") << false;
        QTest::newRow("durante el cobro") << true;
    }
    void articuloEliminado()
    {
        QFETCH(bool, enElCobro);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        articulo(t, "R", 10, 25, 25, 25, 18, 10);
        auto w = nueva();
        linea(*w, "Q");
        linea(*w, "R");
        const QString borrar = "DELETE FROM ARTICULOS WHERE codigo_art = 'R'";
        int cobros = 0;
        pagarContando(cobros, [&] {
            if (enElCobro)
                teststore::execRaw(t, borrar);
        });
        escribir(*w, 7, caja(*w, 9));
        if (!enElCobro)
            teststore::execRaw(t, borrar);
        msgtest::clear();
        QVERIFY(!w->bAplicar_Click());
        QCOMPARE(msgtest::texts(),
                 QStringList{"El artículo R ya no existe: otra estación de trabajo lo eliminó mientras se ingresaba esta "
                             "factura, y la factura no se guardó. Elimine esa línea de la factura, o registre el artículo "
                             "de nuevo, y presione 'Aplicar' otra vez."});
        QCOMPARE(cobros, enElCobro ? 1 : 0);
        QCOMPARE(filas(t, "Ventas") + filas(t, "Detalles_FacVen") + filas(t, "Kardex"), 0);
        QCOMPARE(stock(t, "Q"), 10);
        QCOMPARE(caja(*w, 11), QString("Nuevo"));
        QVERIFY(w->bAplicar->isEnabled());
    }

    // The list's "Salir" sets the shared mode to 3 while the sale is open:
    // no cash is asked for and nothing is stored until it is 2 again.
    void modoCompartidoCambiado()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        auto w = nueva();
        linea(*w, "Q");
        escribir(*w, 7, "29");
        gModoFormulario = 3;
        int cobros = 0;
        pagarContando(cobros);
        const QStringList antes = volcado(t);
        rechazada(*w, t, antes, cobros,
                  "La ventana ya no está ingresando una factura nueva; abra una factura nueva desde el listado de ventas");
        if (QTest::currentTestFailed())
            return;
        gModoFormulario = 2;
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(cobros, 1);
        QCOMPARE(filas(t, "Detalles_FacVen"), 1);
    }

    // What the program fills in cannot be typed over in either window, and
    // a party, user or date the store would refuse is refused before the
    // cash is counted.
    void cajasBloqueadas()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        auto c = fac::nueva<fCompras>(gModoCompras);
        auto w = nueva();
        for (fFacturaBase* f : {static_cast<fFacturaBase*>(w.get()), static_cast<fFacturaBase*>(c.get())}) {
            for (int i = 0; i < 16; ++i) {
                auto* e = qobject_cast<QLineEdit*>(f->txt[i]);
                const bool bloqueada = QList<int>{3, 4, 5, 8, 9, 11, 13, 14}.contains(i);
                QVERIFY2(!e || e->isReadOnly() == bloqueada, qPrintable(f->objectName() + " txt" + QString::number(i)));
            }
            QTest::keyClicks(f->txt[14], "17");
            QCOMPARE(caja(*f, 14), QString("1"));
        }

        linea(*w, "Q");
        escribir(*w, 7, "29");
        int cobros = 0;
        pagarContando(cobros);
        const QStringList antes = volcado(t);
        const std::pair<int, const char*> casos[] = {
            {1, "El cliente NOEXISTE no está registrado; elíjalo de la lista de búsqueda"},
            {14, "El usuario NOEXISTE no está registrado en la empresa 1"},
            {2, "Ingrese una fecha válida"},
            {12, "Ingrese una fecha válida"},
        };
        for (const auto& [i, mensaje] : casos) {
            const QString antesCaja = caja(*w, i);
            escribir(*w, i, "NOEXISTE");
            rechazada(*w, t, antes, cobros, mensaje);
            if (QTest::currentTestFailed())
                return;
            escribir(*w, i, antesCaja);
        }
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(cobros, 1);
        // Applied: no line can be added, edited or removed any more.
        for (QPushButton* b : {w->bAdicionarArticulo, w->bEditarArticulo, w->bEliminarArticulo})
            QVERIFY(!b->isEnabled());
    }

    // A failure at each write of an apply leaves the store as it was; the
    // buttons stay enabled and the next apply stores one clean invoice.
    void falloEnCadaEscritura()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        articulo(t, "B2", 5, 50, 45, 40, 18, 30);
        rango(t, "Consumidor final", "B01", 1, 500, 0);
        auto w = nueva();
        elegirNcf(*w, 1);
        linea(*w, "A1");
        linea(*w, "B2");
        escribir(*w, 7, "50");
        const QStringList antes = volcado(t);
        // No box may wait for the clerk while the unit holds its locks.
        int cajasEnTransaccion = 0;
        msgtest::install([&](const msgtest::Call&) {
            if (Conexion().transactionDepth() > 0)
                ++cajasEnTransaccion;
            return MsgResult::Yes;
        });
        fRecibirDinero::alMostrar = [&](fRecibirDinero& d) {
            if (Conexion().transactionDepth() > 0)
                ++cajasEnTransaccion;
            d.tEfectivo->setText(d.tTotal->text());
            d.bCerrar->click();
        };
        int escrituras = 0;
        {
            // "Aceptar" stops at the failure: no offer to close the window.
            FalloEnEscritura fallo(1);
            msgtest::clear();
            w->bAceptar_Click();
            QCOMPARE(msgtest::texts().last(), kErrorAplicar);
            QVERIFY(!msgtest::texts().contains("Cerrar la ventana?"));
        }
        AplicarFallandoCadaEscritura(*w, [&] { return volcado(t); }, antes, kErrorAplicar, escrituras);
        QCOMPARE(cajasEnTransaccion, 0);
        // Header, two lines with their Kardex row and stock, the payment and
        // the two counters.
        QCOMPARE(escrituras, 1 + 2 * 3 + 1 + 2);
        QCOMPARE(filas(t, "Ventas"), 1);
        QCOMPARE(filas(t, "Detalles_FacVen"), 2);
        QCOMPARE(filas(t, "Kardex"), 2);
        QCOMPARE(filas(t, "Fact_xCobrar"), 1);
        QCOMPARE(stock(t, "A1"), 9);
        QCOMPARE(stock(t, "B2"), 4);
        QCOMPARE(teststore::scalarRaw(t, "SELECT ncf FROM Ventas").toString(), QString("B0100000001"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT consecutivo FROM ncfs").toInt(), 1);
    }

    // Another workstation stored the NCF meanwhile: the sale takes the
    // range's next one and the clerk is told. A typed NCF that an invoice
    // holds is refused before the cash is counted.
    void ncfTomadoPorOtro()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 10);
        rango(t, "Consumidor final", "B01", 1, 500, 7);
        auto w = nueva();
        linea(*w, "Q");
        escribir(*w, 7, "29");
        elegirNcf(*w, 1);
        QCOMPARE(caja(*w, 15), QString("B0100000008"));
        teststore::execRaw(t, "INSERT INTO Ventas (codigo_fac, codigo_cli, Estado, codigo_emp, codigo_usu, ncf, total) "
                              "VALUES (90, '0', 'Cancelada', 1, '1', 'B0100000008', 5)");
        teststore::execRaw(t, "UPDATE ncfs SET consecutivo = 8");
        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList{"Otra estación de trabajo tomó lo propuesto: la factura se guardó con el NCF B0100000009."});
        QCOMPARE(caja(*w, 15), QString("B0100000009"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT ncf FROM Ventas WHERE codigo_fac = 1").toString(), QString("B0100000009"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT consecutivo FROM ncfs").toInt(), 9);

        auto w2 = nueva();
        linea(*w2, "Q");
        escribir(*w2, 7, "29");
        escribir(*w2, 15, "b0100000009");
        int cobros = 0;
        fRecibirDinero::alMostrar = [&](fRecibirDinero&) { ++cobros; };
        const QStringList antes = volcado(t);
        rechazada(*w2, t, antes, cobros, "El NCF b0100000009 ya está registrado en otra factura; la factura no se guardó.");
    }

    // Viewing and annulling: stock back once, on the stored number, with the
    // notes; a second annulment is refused.
    void anulacion()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        articulo(t, "B2", 5, 50, 45, 40, 18, 30);
        {
            auto w = nueva();
            linea(*w, "A1", "3");
            linea(*w, "B2", "2");
            escribir(*w, 7, "100");
            QVERIFY(w->bAplicar_Click());
        }
        QCOMPARE(stock(t, "A1"), 7);
        auto w = std::make_unique<fVentas>();
        w->MostrarFactura("1");
        QCOMPARE(w->modo(), 3);
        QCOMPARE(gModoFormulario, 3);
        QCOMPARE(caja(*w, 11), QString("Sin Cancelar"));
        QCOMPARE(w->lvwFactura->count(), 2);
        QVERIFY(!w->fraArticulo->isEnabled());
        QVERIFY(!w->bAplicar->isEnabled());
        QVERIFY(w->bAnular->isEnabled());
        QCOMPARE(caja(*w, 9), teststore::scalarRaw(t, "SELECT total FROM Ventas").toString());

        // Text typed into box 0 afterwards does not choose the invoice.
        escribir(*w, 0, "777");
        escribir(*w, 10, "DEVUELTO POR EL CLIENTE");
        msgtest::install(noAnotar);
        QVERIFY(w->bAnular_Click());
        QCOMPARE(msgtest::calls().size(), 2);
        QCOMPARE(msgtest::calls()[1].title, QString("Factura de Venta"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT Estado FROM Ventas WHERE codigo_fac = 1").toString(), QString("Anulada"));
        QCOMPARE(teststore::scalarRaw(t, "SELECT notas FROM Ventas WHERE codigo_fac = 1").toString(), QString("DEVUELTO POR EL CLIENTE"));
        QCOMPARE(stock(t, "A1"), 10);
        QCOMPARE(stock(t, "B2"), 5);
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM Kardex WHERE concepto = 'Factura De Venta Anulada 1' "
                                         "AND unidades_entrantes = '3' AND precio_compra = 60").toInt(), 1);
        QCOMPARE(filas(t, "Fact_xCobrar"), 1);  // payments stay
        QCOMPARE(w->modo(), 0);
        QVERIFY(!w->bAnular->isEnabled());

        // A window that loaded it before another workstation annulled it.
        teststore::execRaw(t, "UPDATE Ventas SET Estado = 'Sin Cancelar' WHERE codigo_fac = 1");
        auto w2 = std::make_unique<fVentas>();
        w2->MostrarFactura("1");
        teststore::execRaw(t, "UPDATE Ventas SET Estado = 'Anulada' WHERE codigo_fac = 1");
        const QStringList antes = volcado(t);
        msgtest::install(noAnotar);
        QVERIFY(!w2->bAnular_Click());
        // Refused before the questions.
        QCOMPARE(msgtest::texts(), QStringList{"La factura 1 ya estaba anulada: no se retornó nada al inventario"});
        QCOMPARE(volcado(t), antes);
        QCOMPARE(caja(*w2, 11), QString("Anulada"));
        QVERIFY(!w2->bAnular->isEnabled());
    }

    // An annulment that fails half-way returns nothing and keeps the state.
    void anulacionFallida()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        articulo(t, "B2", 5, 50, 45, 40, 18, 30);
        {
            auto w = nueva();
            linea(*w, "A1");
            linea(*w, "B2");
            escribir(*w, 7, "177");
            QVERIFY(w->bAplicar_Click());
        }
        auto w = std::make_unique<fVentas>();
        w->MostrarFactura("1");
        const QStringList antes = volcado(t);
        msgtest::install(noAnotar);
        {
            FalloEnEscritura fallo(5);  // the second line's Kardex row
            QVERIFY(!w->bAnular_Click());
        }
        QCOMPARE(msgtest::texts().last(), QString("Error en el evento Click del comando bAnular del formulario fVentas"));
        QCOMPARE(volcado(t), antes);
        QCOMPARE(caja(*w, 11), QString("Cancelada"));
        QVERIFY(w->bAnular->isEnabled());
        QVERIFY(w->bAnular_Click());
        QCOMPARE(stock(t, "A1"), 10);
    }

    // Four processes, 50 sales each, one article, one NCF range.
    void concurrencia()
    {
        TESTSTORE_OPEN_FRESH(t);
        articulo(t, "C1", 1000, 10, 10, 10, 0, 5);
        rango(t, "Consumidor final", "B01", 1, 100000, 0);
        const int veces = 50;
        procesos::CorrerHijos(this, 4, "--ventas", t, [veces](int) { return QStringList{QString::number(veces)}; }, 500000);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(filas(t, "Ventas"), 4 * veces);
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(DISTINCT ncf) FROM Ventas").toInt(), 4 * veces);
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(DISTINCT codigo_fac) FROM Ventas").toInt(), 4 * veces);
        QCOMPARE(filas(t, "Detalles_FacVen"), 4 * veces);
        QCOMPARE(stock(t, "C1"), 1000 - 4 * veces);
        QCOMPARE(teststore::scalarRaw(t, "SELECT consecutivo FROM ncfs").toInt(), 4 * veces);
        QCOMPARE(teststore::scalarRaw(t, "SELECT MAX(ncf) FROM Ventas").toString(), TextoNCF("B01", 4 * veces));
    }
};

PROCESOS_MAIN(TstVentas, "--ventas", Ventas)

#include "tst_ventas.moc"
