#include "fRecibirDinero.h"
#include "msgbox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TstRecibirDinero : public QObject {
    Q_OBJECT
private slots:
    void init() { msgtest::install(); }
    void cleanup()
    {
        fRecibirDinero::alMostrar = {};
        msgtest::uninstall();
    }

    void cambio_data()
    {
        QTest::addColumn<QString>("total");
        QTest::addColumn<QString>("efectivo");
        QTest::addColumn<QString>("cambio");
        QTest::newRow("sobra") << "147" << "200" << "53";
        QTest::newRow("justo") << "147" << "147" << "0";
        QTest::newRow("falta") << "147" << "100" << "Efectivo Insuficiente";
        QTest::newRow("decimales") << "97.5" << "100" << "2.5";
    }
    void cambio()
    {
        QFETCH(QString, total);
        QFETCH(QString, efectivo);
        QFETCH(QString, cambio);
        fRecibirDinero d;
        d.tTotal->setText(total);
        d.tEfectivo->setText(efectivo);
        d.tEfectivo_LostFocus();
        QCOMPARE(d.tCambio->text(), cambio);
    }

    // While the cash is short every way of closing is refused: the button,
    // Escape and the close box; once it covers, the button closes.
    void cierreRechazado()
    {
        fRecibirDinero d;
        QCOMPARE(d.windowTitle(), QString("Cambio $"));
        d.tTotal->setText("147");
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        d.tEfectivo->setText("100");
        d.bCerrar->click();
        QVERIFY(d.isVisible());
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(d.isVisible());
        d.close();
        QVERIFY(d.isVisible());
        QCOMPARE(msgtest::texts(), QStringList(3, "Efectivo Insuficiente"));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        // Typed and closed with Escape without leaving the box: the change
        // is not shown, but the typed cash decides.
        d.tEfectivo->setText("147");
        QTest::keyClick(&d, Qt::Key_Escape);
        QVERIFY(!d.isVisible());
        QCOMPARE(msgtest::calls().size(), 3);
    }

    // Modal use by the apply: it returns only once the cash covers; a
    // credit sale with nothing paid closes with the box empty.
    void modal()
    {
        int vueltas = 0;
        fRecibirDinero::alMostrar = [&](fRecibirDinero& d) {
            ++vueltas;
            d.bCerrar->click();  // refused: nothing typed
            QVERIFY(d.isVisible());
            d.tEfectivo->setText("50");
            d.bCerrar->click();
        };
        fRecibirDinero::Mostrar("50");
        QCOMPARE(vueltas, 1);
        QCOMPARE(msgtest::texts(), QStringList{"Efectivo Insuficiente"});
        msgtest::clear();
        fRecibirDinero::alMostrar = [](fRecibirDinero& d) { d.bCerrar->click(); };
        fRecibirDinero::Mostrar("000");
        QVERIFY(msgtest::calls().isEmpty());
    }
};

QTEST_MAIN(TstRecibirDinero)
#include "tst_recibirdinero.moc"
