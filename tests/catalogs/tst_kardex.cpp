// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
// The stock card: its load, receipts and withdrawals by hand.
#include "Escritorio.h"
#include "ListView.h"
#include "Prueba.h"
#include "StatusBar.h"
#include "fAdmArt.h"
#include "fArticulos.h"
#include "fKardex.h"
#include "mCatalogos.h"
#include "mVblesGlobales.h"
#include "msgbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

fKardex* tarjeta(const QString& codigo)
{
    AbrirKardex();
    fKardex* k = VentanaAbierta<fKardex>();
    k->tCodigo_art->setText(codigo);
    return k;
}

void mover(fKardex* k, int boton, const QString& cantidad, const QString& concepto = QString())
{
    k->tCantidadArticulos->setText(cantidad);
    k->tConcepto->setText(concepto);
    fx::hijo<QPushButton>(k, QString("bRecibir_Retirar%1").arg(boton))->click();
}

}  // namespace

class TstKardex : public Prueba {
    Q_OBJECT
private slots:
    void recibir()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "10", 10, 12.5, 2, 40);
        fKardex* k = tarjeta("10");
        QCOMPARE(k->tDescripcion_art->text(), QString("ART 10"));
        QCOMPARE(k->tPrecio_compra->text(), QString("12.5"));
        QCOMPARE(k->tPrecio_venta1->text(), QString("20"));
        QCOMPARE(k->tStock_minimo->text(), QString("2"));
        QCOMPARE(k->tStock_maximo->text(), QString("40"));
        QCOMPARE(k->tCantidad->text(), QString("10"));
        mover(k, 0, "5", "PROVEEDOR");
        QCOMPARE(msgtest::texts(), QStringList{"Confirma el ingreso de 5 Artículos ?"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::QuestionNoDefault);
        QCOMPARE(k->tCantidad->text(), QString("15"));
        QCOMPARE(k->lvw->count(), 1);
        QCOMPARE(k->lvw->text(1), QString("10"));
        QCOMPARE(k->lvw->subItem(1, 1), QDate::currentDate().toString("dd/MM/yyyy"));
        QCOMPARE(k->lvw->subItem(1, 2), QString("Articulos Recibidos - PROVEEDOR"));
        QCOMPARE(k->lvw->subItem(1, 3), QString("5"));
        QCOMPARE(k->lvw->subItem(1, 4), QString("-"));
        QCOMPARE(k->lvw->subItem(1, 5), QString("15"));
        QCOMPARE(k->lvw->subItem(1, 6), QString("12.5"));
        QCOMPARE(k->sb->text(), QString("1 elemento(s) encontrado(s)"));
        QCOMPARE(fx::costo(t, "10"), 12.5);  // not revalued
        // The entry boxes keep their text.
        QCOMPARE(k->tCantidadArticulos->text(), QString("5"));
    }

    void retirarRedondeaAlPar_data()
    {
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<int>("boton");
        QTest::addColumn<QString>("pregunta");
        QTest::addColumn<int>("stock");
        QTest::newRow("2.5") << "2.5" << 1 << "Confirma el retiro de 2.5 Artículos ?" << 8;
        QTest::newRow("3.5") << "3.5" << 1 << "Confirma el retiro de 3.5 Artículos ?" << 6;
        QTest::newRow("blanco delante") << " 1" << 1 << "Confirma el retiro de 1 Artículos ?" << 9;
        QTest::newRow("recibir negativo") << "-3" << 0 << "Confirma el ingreso de -3 Artículos ?" << 7;
        QTest::newRow("mas que el stock") << "12" << 1 << "Confirma el retiro de 12 Artículos ?" << -2;
    }
    void retirarRedondeaAlPar()
    {
        QFETCH(QString, tecleado);
        QFETCH(int, boton);
        QFETCH(QString, pregunta);
        QFETCH(int, stock);
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "10", 10, 3);
        fKardex* k = tarjeta("10");
        mover(k, boton, tecleado, "X");
        QCOMPARE(msgtest::texts(), QStringList{pregunta});
        QCOMPARE(fx::cantidad(t, "10"), stock);
        QCOMPARE(k->tCantidad->text(), QString::number(stock));
    }

    // Nothing is booked: No, a text that is no number, a quantity beyond
    // 16 bits, the article window open, a code that is not an article.
    void noReserva()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "10", 10, 3);
        fKardex* k = tarjeta("10");
        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        mover(k, 0, "4");
        QCOMPARE(msgtest::texts().size(), 1);
        msgtest::clear();
        mover(k, 0, "cuatro");
        mover(k, 0, "");
        QCOMPARE(msgtest::texts(), QStringList());
        mover(k, 1, "40000");
        QCOMPARE(msgtest::texts(), QStringList{"La cantidad debe estar comprendida entre -32768 y 32767"});

        msgtest::install();
        fArticulos& a = Ventana<fArticulos>();
        a.Nuevo();
        mover(k, 0, "4");
        a.parentWidget()->showMinimized();
        QApplication::processEvents();
        mover(k, 1, "4");
        QCOMPARE(msgtest::texts(), (QStringList{"Cierre el Formulario Artículos para continuar",
                                                "Cierre el Formulario Artículos para continuar"}));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        CerrarVentana(&a);
        QApplication::processEvents();
        QCOMPARE(fx::cantidad(t, "10"), 10);
        QCOMPARE(fx::filas(t, "Kardex"), 0);

        // A code of no article: empty header, nothing booked.
        msgtest::clear();
        k->tCodigo_art->setText("99");
        QCOMPARE(k->tDescripcion_art->text(), QString());
        QCOMPARE(k->tCantidad->text(), QString());
        mover(k, 0, "4");
        QCOMPARE(msgtest::texts(), QStringList{"Confirma el ingreso de 4 Artículos ?"});
        QCOMPARE(fx::filas(t, "Kardex"), 0);
    }

    // The code box has no key filter: an apostrophe is just part of a code.
    void codigoConApostrofe()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "10", 10, 3);
        fKardex* k = tarjeta("10");
        QCOMPARE(k->tCantidad->text(), QString("10"));
        k->tCodigo_art->setText("1'0");
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(k->tDescripcion_art->text(), QString());
        QCOMPARE(k->lvw->count(), 0);
    }

    void movimientosMasRecientesPrimeroYRecargaAlVolver()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "10", 10, 3, 0, 0, "/no/existe.png");
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('10', '2024-01-05', 'enero', 1)");
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('10', '2023-12-31', 'dic', 1)");
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('10', '2024-02-01', 'feb', 1)");
        fKardex* k = tarjeta("10");
        QCOMPARE(k->lvw->subItem(1, 2), QString("feb"));
        QCOMPARE(k->lvw->subItem(2, 2), QString("enero"));
        QCOMPARE(k->lvw->subItem(3, 2), QString("dic"));
        QVERIFY(k->Imagen_art->pixmap().isNull());
        QCOMPARE(msgtest::texts(), QStringList());
        // Booked elsewhere; switching away and back re-reads the card.
        teststore::execRaw(t, "UPDATE ARTICULOS SET cantidad = 33 WHERE codigo_art = '10'");
        AbrirAdmArticulos();
        e.activar(k);
        QCOMPARE(k->tCantidad->text(), QString("33"));
    }

    // Same-day movements newest first as well, by the order they were
    // booked; the date still comes first.
    void mismoDiaMasRecientePrimero()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "10", 10, 3);
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('10', '2024-03-01', 'primero', 1)");
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('10', '2024-03-01', 'segundo', 2)");
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('10', '2024-02-28', 'antes', 0)");
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('10', '2024-03-01', 'tercero', 3)");
        fKardex* k = tarjeta("10");
        mover(k, 0, "1", "HOY");
        mover(k, 1, "2", "LUEGO");
        QStringList conceptos;
        for (int i = 1; i <= k->lvw->count(); ++i)
            conceptos << k->lvw->subItem(i, 2);
        QCOMPARE(conceptos, (QStringList{"Articulos Retirados - LUEGO", "Articulos Recibidos - HOY", "tercero", "segundo", "primero",
                                         "antes"}));
    }

    // A code with a trailing blank is another code on either store.
    void codigoConBlancoFinalNoEsOtro()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "12", 10, 3);
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('12', '2024-03-01', 'x', 1)");
        fKardex* k = tarjeta("12 ");
        QCOMPARE(k->tDescripcion_art->text(), QString());
        QCOMPARE(k->lvw->count(), 0);
        k->tCodigo_art->setText("12");
        QCOMPARE(k->tDescripcion_art->text(), QString("ART 12"));
        QCOMPARE(k->lvw->count(), 1);
    }

    void ordenDeTabulacion()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fKardex* k = tarjeta(QString());
        QCOMPARE(fx::ordenDeTab(k), QString("tCodigo_art tDescripcion_art tPrecio_compra tStock_minimo tPrecio_venta1 "
                                            "tStock_maximo tCantidad bRecibir_Retirar0 bRecibir_Retirar1 tCantidadArticulos "
                                            "tConcepto lvw")
                                        .split(' '));
    }
};

QTEST_MAIN(TstKardex)
#include "tst_kardex.moc"
