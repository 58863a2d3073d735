// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Facturacion.h"
#include "ListView.h"
#include "Prueba.h"
#include "mDisplay.h"
#include "msgbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QtTest>
#include <memory>

using namespace fac;

namespace {

QByteArray esperado(const QByteArray& mensaje)
{
    return "\x0c" + QByteArray(40, ' ') + "\r\n\x0c" + mensaje + "\r\n";
}

}  // namespace

class TstDisplay : public Prueba {
    Q_OBJECT
private slots:
    void cleanup()
    {
        fRecibirDinero::alMostrar = {};
        Prueba::cleanup();
    }

    void textos_data()
    {
        QTest::addColumn<QString>("subtotal");
        QTest::addColumn<QString>("descripcion");
        QTest::addColumn<QString>("texto");
        QTest::newRow("miles") << "1180" << "CEMENTO GRIS" << "$ 1,180.00 CEMENTO GRIS";
        QTest::newRow("cero") << "0" << "CLAVO" << "$ 0.00 CLAVO";
        QTest::newRow("30 caracteres") << "5.5" << "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCDEFGHI"
                                       << "$ 5.50 ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";
    }
    void textos()
    {
        QFETCH(QString, subtotal);
        QFETCH(QString, descripcion);
        QFETCH(QString, texto);
        QCOMPARE(TextoLineaDisplay(subtotal, descripcion), texto);
    }

    // The bytes as they reach the display: raw, single-byte.
    void bytes()
    {
        Pantalla p;
        EnviarADisplay(TextoTotalDisplay("1475"));
        QCOMPARE(p.leer(), esperado("TOTAL $ 1,475.00"));
        EnviarADisplay("$ 3.00 PIÑA");
        QCOMPARE(p.leer(), esperado("$ 3.00 PI\xd1" "A"));
    }

    // No display: the sale goes on, silently and without waiting.
    void sinDisplay()
    {
        gPuertoCOM = "97";
        QElapsedTimer reloj;
        reloj.start();
        EnviarADisplay("TOTAL $ 1.00");
        gPuertoCOM = "";
        EnviarADisplay("TOTAL $ 1.00");
        gPuertoCOM = "/nonexistent/tty";
        EnviarADisplay("TOTAL $ 1.00");
        QVERIFY(reloj.elapsed() < 1000);
        QVERIFY(msgtest::calls().isEmpty());
    }

    // The window sends each accepted line and the total of the applied sale.
    void ventaEnDisplay()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "CG", 50, 1000, 900, 800, 18, 600);
        teststore::execRaw(t, "UPDATE ARTICULOS SET descripcion_art = 'CEMENTO GRIS' WHERE codigo_art = 'CG'");
        Pantalla p;
        pagarCon();
        auto w = std::make_unique<fVentas>();
        gModoFormulario = 2;
        w->AbrirNueva();
        linea(*w, "CG");
        QCOMPARE(p.leer(), esperado("$ 1,180.00 CEMENTO GRIS"));
        SetBoxText(w->txt[7], "1180");
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(p.leer(), esperado("TOTAL $ 1,180.00"));

        // With a port that does not exist the same sale completes.
        gPuertoCOM = "97";
        auto w2 = std::make_unique<fVentas>();
        w2->AbrirNueva();
        linea(*w2, "CG");
        SetBoxText(w2->txt[7], "1180");
        msgtest::clear();
        QVERIFY(w2->bAplicar_Click());
        QVERIFY(msgtest::calls().isEmpty());
        QCOMPARE(filas(t, "Ventas"), 2);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TstDisplay t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_display.moc"
