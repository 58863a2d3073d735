// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Facturacion.h"
#include "ListView.h"
#include "Prueba.h"
#include "Puertos.h"
#include "mDisplay.h"
#include "msgbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace fac;

namespace {

QByteArray esperado(const QByteArray& mensaje)
{
    return "\x0c" + QByteArray(40, ' ') + "\r\n\x0c" + mensaje + "\r\n";
}

QString noExiste(const QString& puerto)
{
    return QString::fromUtf8("El visor de cliente no se puede usar: el puerto «%1» no existe. Las ventas y las compras "
                             "siguen sin visor; para usarlo, escriba el puerto correcto en «Conexión» al iniciar la "
                             "sesión, o déjelo en blanco si no hay visor.")
        .arg(puerto);
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

    // No display: the sale goes on without waiting. A port that does not
    // exist is told once, until the session starts again; no port at all is
    // never told.
    void sinDisplay()
    {
        QElapsedTimer reloj;
        reloj.start();
        for (const char* puerto : {"97", "", "/nonexistent/tty", "97", "  "})
            for (int vez = 0; vez < 2; ++vez) {
                gPuertoCOM = puerto;
                EnviarADisplay("TOTAL $ 1.00");
            }
        QVERIFY(reloj.elapsed() < 1000);
        QVERIFY(!QFileInfo::exists("/nonexistent/tty"));
        QCOMPARE(msgtest::texts(), QStringList({noExiste("97"), noExiste("/nonexistent/tty")}));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        ReiniciarVariablesGlobales();
        EnviarADisplay("TOTAL $ 1.00");
        QCOMPARE(msgtest::calls().size(), 2);
        gPuertoCOM = "97";
        EnviarADisplay("TOTAL $ 1.00");
        QCOMPARE(msgtest::texts().last(), noExiste("97"));
        QCOMPARE(msgtest::calls().size(), 3);
    }

    // A port that names the store's file, another file or a folder is left
    // byte for byte as it was, every line and the total of the sale; the
    // clerk hears of it once and the sale is stored.
    void puertoQueNoEsDispositivo_data() { puertos::filasNoDispositivo(); }
    void puertoQueNoEsDispositivo()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, razon);
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "CG", 50, 1000, 900, 800, 18, 600);
        articulo(t, "CL", 50, 10, 9, 8, 18, 6);
        QTemporaryDir dir;
        const QString puerto = puertos::puertoNoDispositivo(tipo, dir, t);
        if (QTest::currentTestFailed())
            return;
        const QByteArray antes = puertos::huella(puerto);
        const qint64 tamano = QFileInfo(puerto).size();
        gPuertoCOM = puerto;
        pagarCon();
        auto w = std::make_unique<fVentas>();
        gModoFormulario = 2;
        w->AbrirNueva();
        linea(*w, "CG");
        linea(*w, "CL", "3");
        QCOMPARE(puertos::huella(puerto), antes);
        SetBoxText(w->txt[7], BoxText(w->txt[9]));
        QVERIFY2(w->bAplicar_Click(), qPrintable(msgtest::texts().join(" | ")));
        QCOMPARE(filas(t, "Ventas"), 1);
        QCOMPARE(filas(t, "Detalles_FacVen"), 2);
        // The store in use has the sale now; any other file is as it was.
        if (puerto != t.sqlitePath)
            QCOMPARE(puertos::huella(puerto), antes);
        else
            QVERIFY(QFileInfo(puerto).size() >= tamano);
        QCOMPARE(msgtest::calls().size(), 1);
        const QString texto = msgtest::texts()[0];
        QVERIFY2(texto.startsWith("El visor de cliente no se puede usar: el puerto «" + puerto + "» " + razon + ". "),
                 qPrintable(texto));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
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

        // With a port that does not exist the same sale completes, told once.
        gPuertoCOM = "97";
        auto w2 = std::make_unique<fVentas>();
        w2->AbrirNueva();
        msgtest::clear();
        linea(*w2, "CG");
        SetBoxText(w2->txt[7], "1180");
        QVERIFY(w2->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList{noExiste("97")});
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
