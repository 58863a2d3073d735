// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Facturacion.h"
#include "ListView.h"
#include "fFact_xCobrar.h"
#include "mFuncionesCajas.h"
#include "msgbox.h"

#include <QApplication>
#include <QtTest>
#include <memory>

using namespace fac;

namespace {

const QString kDinero = "El descuento y el abono deben ser cantidades positivas escritas con punto decimal y a lo sumo dos decimales";

std::unique_ptr<fVentas> nueva() { return fac::nueva<fVentas>(gModoFormulario); }

}  // namespace

class TstDinero : public PruebaConCobro {
    Q_OBJECT
private slots:
    void importes_data()
    {
        columnas<QString, bool>("texto", "admitido");
        QTest::newRow("dos decimales") << "54.01" << true;
        QTest::newRow("casi todo") << "117.99" << true;
        QTest::newRow("entero") << "118" << true;
        QTest::newRow("medio") << ".5" << true;
        QTest::newRow("tres decimales bajo") << "117.996" << false;
        QTest::newRow("tres decimales sobre") << "118.004" << false;
        QTest::newRow("medio centavo") << "0.005" << false;
        QTest::newRow("negativo") << "-5" << false;
        QTest::newRow("coma") << "54,01" << false;
        QTest::newRow("exponente") << "1e1" << false;
    }
    // One amount text as the amount paid of a sale, as its discount and as
    // a later payment: refused before any question or cash, or stored in
    // cents with every balance the total less the payments.
    void importes()
    {
        QFETCH(QString, texto);
        QFETCH(bool, admitido);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "M", 1000, 100, 100, 100, 18, 50);
        int cobros = 0;
        pagarContando(cobros);

        for (int caja : {7, 6}) {  // amount paid, discount
            auto w = nueva();
            linea(*w, "M");
            QCOMPARE(fac::caja(*w, 9), QString("118"));
            escribir(*w, caja, texto);
            const QStringList antes = volcado(t);
            cobros = 0;
            msgtest::clear();
            QCOMPARE(w->bAplicar_Click(), admitido);
            if (!admitido) {
                QCOMPARE(msgtest::texts(), QStringList{kDinero});
                QCOMPARE(cobros, 0);
                QCOMPARE(volcado(t), antes);
                continue;
            }
            QCOMPARE(cobros, 1);
            cuadran(t, "Ventas", "Fact_xCobrar");
            if (QTest::currentTestFailed())
                return;
        }

        // Two units on credit with 10 paid, then the payment.
        auto w = nueva();
        linea(*w, "M", "2");
        escribir(*w, 7, "10");
        QVERIFY(w->bAplicar_Click());
        const QString numero = w->numeroGuardado();
        auto cobrar = std::make_unique<fFact_xCobrar>();
        fFact_xCobrar& c = *cobrar;
        c.tCodigo->setText("0");
        bool elegida = false;
        for (int i = 1; i <= c.lvwFacturas->count(); ++i)
            if (c.lvwFacturas->text(i) == numero) {
                c.lvwFacturas->select(i);
                c.lvwFacturas_Click();
                elegida = true;
            }
        QVERIFY(elegida);
        QCOMPARE(c.txt[3]->text(), QString("226"));
        c.txt[4]->setText("15/03/2026");
        c.txtFecha_vencimiento->setText("15/04/2026");
        c.txt[2]->setText(texto);
        const QStringList antes = volcado(t);
        msgtest::clear();
        c.bAdicionarAbono->click();
        if (!admitido) {
            QCOMPARE(msgtest::texts().size(), 1);
            QVERIFY(msgtest::texts()[0] == "Verifique el valor del abono"
                    || msgtest::texts()[0] == "El valor del abono debe ser mayor que cero");
            QCOMPARE(volcado(t), antes);
            return;
        }
        QCOMPARE(msgtest::calls().size(), 1);  // the confirmation only
        cuadran(t, "Ventas", "Fact_xCobrar");
        // The rest of the balance, as the window shows it, closes the sale.
        c.lvwFacturas_Click();
        c.txt[2]->setText(c.txt[3]->text());
        c.bAdicionarAbono->click();
        QCOMPARE(teststore::scalarRaw(t, "SELECT Estado FROM Ventas WHERE codigo_fac = " + numero).toString(),
                 QString("Cancelada"));
        cuadran(t, "Ventas", "Fact_xCobrar");
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TstDinero t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_dinero.moc"
