// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Catalogos.h"
#include "Escrituras.h"
#include "Procesos.h"
#include "Prueba.h"
#include "mFunciones.h"
#include "mInventario.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QProcess>
#include <QSet>
#include <QtTest>

namespace {

const QString kSalida = "salida_articulos";
const QString kEntrada = "entrada_articulos";

// The movement takes its article from the current row of gRecordset.
bool sobre(const QString& codigo)
{
    return AbrirRecordset("Select * From ARTICULOS Where codigo_art = '" + codigo + "'");
}

using escrituras::FalloAlEscribir;

// A child process of this test: many one-unit withdrawals on one article.
int Retiros(const QStringList& args)
{
    const teststore::Target t = procesos::DestinoDeArgumentos(args);
    const int veces = args.value(6).toInt();
    if (veces < 1)
        return 6;
    msgtest::install();
    teststore::openOn(Conexion(), t);
    for (int i = 0; i < veces; ++i) {
        if (!sobre("C1"))
            return 2;
        if (!ActualizarInventario(1, 5, kSalida, "Factura De Venta " + QString::number(i), OrigenMovimiento::Venta)) {
            fprintf(stderr, "%s\n", qPrintable(msgtest::texts().join(" | ")));
            return 3;
        }
    }
    if (!msgtest::calls().isEmpty()) {
        fprintf(stderr, "%s\n", qPrintable(msgtest::texts().join(" | ")));
        return 4;
    }
    return 0;
}

}  // namespace

class TstInventario : public Prueba {
    Q_OBJECT
private slots:
    void cleanup()
    {
        ado::Connection::setWriteHook({});
        Prueba::cleanup();
    }

    void costeo_data()
    {
        QTest::addColumn<int>("metodo");
        QTest::addColumn<int>("origen");
        QTest::addColumn<int>("existencia");
        QTest::addColumn<double>("costo");
        QTest::addColumn<int>("cantidad");
        QTest::addColumn<double>("precio");
        QTest::addColumn<double>("esperado");
        const int compra = int(OrigenMovimiento::Compra), anulada = int(OrigenMovimiento::CompraAnulada);
        QTest::newRow("ponderado 17.5 sube al par") << 0 << compra << 10 << 15.0 << 10 << 20.0 << 18.0;
        QTest::newRow("ponderado 12.5 baja al par") << 0 << compra << 10 << 10.0 << 10 << 15.0 << 12.0;
        QTest::newRow("ponderado anulado") << 0 << anulada << 20 << 18.0 << 10 << 20.0 << 16.0;
        QTest::newRow("ponderado anulado 13.5") << 0 << anulada << 20 << 15.0 << 10 << 16.5 << 14.0;
        QTest::newRow("ponderado divisor cero") << 0 << anulada << 10 << 15.0 << 10 << 15.0 << 15.0;
        QTest::newRow("ponderado divisor negativo") << 0 << compra << -5 << 15.0 << 3 << 20.0 << 15.0;
        QTest::newRow("ponderado resultado negativo") << 0 << anulada << 20 << 5.0 << 10 << 30.0 << 5.0;
        QTest::newRow("ponderado sin existencia") << 0 << compra << 0 << 0.0 << 7 << 19.99 << 20.0;
        QTest::newRow("simple 17.5") << 1 << compra << 10 << 15.0 << 10 << 20.0 << 18.0;
        QTest::newRow("simple anulada 16.5") << 1 << anulada << 10 << 15.0 << 10 << 18.0 << 16.0;
        QTest::newRow("ultimo precio sin redondeo") << 2 << compra << 10 << 15.0 << 10 << 19.99 << 19.99;
        QTest::newRow("ultimo precio anulada") << 2 << anulada << 10 << 15.0 << 4 << 12.25 << 12.25;
        QTest::newRow("venta no revaloriza") << 0 << int(OrigenMovimiento::Venta) << 10 << 15.0 << 10 << 20.0 << 15.0;
        QTest::newRow("tarjeta no revaloriza") << 2 << int(OrigenMovimiento::Kardex) << 10 << 15.0 << 10 << 20.0 << 15.0;
        QTest::newRow("metodo desconocido") << 7 << compra << 10 << 15.0 << 10 << 20.0 << 15.0;
    }
    void costeo()
    {
        QFETCH(int, metodo);
        QFETCH(int, origen);
        QFETCH(int, existencia);
        QFETCH(double, costo);
        QFETCH(int, cantidad);
        QFETCH(double, precio);
        QFETCH(double, esperado);
        gCosteoInventario = metodo;
        QCOMPARE(CalcularCostoInventario(existencia, costo, qint16(cantidad), precio, OrigenMovimiento(origen)), esperado);
    }

    // Each origin moves the stock its way; only purchases revalue.
    void movimientos_data()
    {
        QTest::addColumn<int>("origen");
        QTest::addColumn<QString>("movimiento");
        QTest::addColumn<int>("stock");
        QTest::addColumn<double>("costo");
        QTest::addColumn<QVariantList>("fila");  // entrantes, salientes, saldo
        QTest::newRow("venta") << int(OrigenMovimiento::Venta) << kSalida << 7 << 12.75 << QVariantList{"-", "3", 7};
        QTest::newRow("venta anulada") << int(OrigenMovimiento::VentaAnulada) << kEntrada << 13 << 12.75
                                       << QVariantList{"3", "-", 13};
        QTest::newRow("compra") << int(OrigenMovimiento::Compra) << kEntrada << 13 << 14.0 << QVariantList{"3", "-", 13};
        QTest::newRow("compra anulada") << int(OrigenMovimiento::CompraAnulada) << kSalida << 7 << 10.0
                                        << QVariantList{"-", "3", 7};
        QTest::newRow("tarjeta") << int(OrigenMovimiento::Kardex) << kEntrada << 13 << 12.75 << QVariantList{"3", "-", 13};
        QTest::newRow("inventario inicial") << int(OrigenMovimiento::InventarioInicial) << kEntrada << 10 << 12.75
                                            << QVariantList{"3", "-", 3};
        QTest::newRow("otra palabra") << int(OrigenMovimiento::Kardex) << "traslado" << 10 << 12.75
                                      << QVariantList{QVariant(), QVariant(), 10};
    }
    void movimientos()
    {
        QFETCH(int, origen);
        QFETCH(QString, movimiento);
        QFETCH(int, stock);
        QFETCH(double, costo);
        QFETCH(QVariantList, fila);
        TESTSTORE_OPEN_FRESH(t);
        gCosteoInventario = 0;
        // A window mode left at "new" must not turn a movement into the
        // opening stock.
        modoEdicion = 2;
        gModoCompras = 2;
        fx::articulo(t, "A1", 10, 12.75);
        QVERIFY(sobre("A1"));
        ado::Recordset* antes = gRecordset.get();
        QVERIFY(ActualizarInventario(3, 19.5, movimiento, "Factura De Venta 5", OrigenMovimiento(origen)));
        QCOMPARE(gRecordset.get(), antes);  // the shared query stays where it was
        QVERIFY(msgtest::calls().isEmpty());
        QCOMPARE(fx::cantidad(t, "A1"), stock);
        QCOMPARE(fx::costo(t, "A1"), costo);
        const auto k = fx::kardex(t, "A1");
        QCOMPARE(k.size(), 1);
        QCOMPARE(k[0]["concepto"].toString(), QString("Factura De Venta 5"));
        QCOMPARE(k[0]["unidades_entrantes"].isNull(), fila[0].isNull());
        if (!fila[0].isNull()) {
            QCOMPARE(k[0]["unidades_entrantes"].toString(), fila[0].toString());
            QCOMPARE(k[0]["unidades_salientes"].toString(), fila[1].toString());
        }
        QCOMPARE(k[0]["saldo"].toInt(), fila[2].toInt());
        QCOMPARE(k[0]["precio_compra"].toDouble(), 19.5);  // the price passed, never the new cost
        const QString fecha = teststore::scalarRaw(t, "SELECT fecha FROM Kardex").toString();
        QVERIFY2(fecha.contains(QDate::currentDate().toString("yyyy-MM-dd")), qPrintable(fecha));
    }

    void retiroMayorQueElStockDejaSaldoNegativo()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::articulo(t, "A1", 2, 10);
        QVERIFY(sobre("A1"));
        QVERIFY(ActualizarInventario(5, 10, kSalida, "Articulos Retirados - ", OrigenMovimiento::Kardex));
        QCOMPARE(fx::cantidad(t, "A1"), -3);
        QCOMPARE(fx::kardex(t, "A1")[0]["saldo"].toInt(), -3);
    }

    void sinFilaOArticuloDesconocidoNoReservaNada()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::articulo(t, "A1", 2, 10);
        QVERIFY(AbrirRecordset("Select * From ARTICULOS Where codigo_art = 'nada'"));
        QVERIFY(ActualizarInventario(1, 10, kSalida, "x", OrigenMovimiento::Venta));
        // A detail row whose article is gone.
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('A1', '2024-01-01', 'viejo', 2)");
        QVERIFY(AbrirRecordset("Select 'B9' AS codigo_art From ARTICULOS"));
        QVERIFY(ActualizarInventario(1, 10, kSalida, "x", OrigenMovimiento::Venta));
        QCOMPARE(fx::filas(t, "Kardex"), 1);
        QCOMPARE(fx::cantidad(t, "A1"), 2);
        QVERIFY(msgtest::calls().isEmpty());
    }

    // A failure at any write leaves cost, Kardex and stock as they were,
    // shows the error check's message once, and the program goes on.
    void todoONada_data()
    {
        QTest::addColumn<QString>("escritura");
        QTest::newRow("costo") << "UPDATE ARTICULOS SET precio_compra";
        QTest::newRow("kardex") << "INSERT INTO Kardex";
        QTest::newRow("cantidad") << "Update ARTICULOS Set cantidad";
    }
    void todoONada()
    {
        QFETCH(QString, escritura);
        TESTSTORE_OPEN_FRESH(t);
        gCosteoInventario = 2;
        int fin = 0;
        SetEndProgramHook([&](int) { ++fin; });
        fx::articulo(t, "A1", 10, 15);
        QVERIFY(sobre("A1"));
        {
            FalloAlEscribir fallo(escritura);
            QVERIFY(!ActualizarInventario(4, 19.99, kEntrada, "Factura de Compra 9", OrigenMovimiento::Compra));
        }
        SetEndProgramHook({});
        QCOMPARE(fin, 0);
        QCOMPARE(msgtest::texts(), QStringList{"Error inesperado N° 3000. fallo de escritura simulado"});
        QCOMPARE(fx::cantidad(t, "A1"), 10);
        QCOMPARE(fx::costo(t, "A1"), 15.0);
        QCOMPARE(fx::filas(t, "Kardex"), 0);
        QCOMPARE(Conexion().transactionDepth(), 0);
        // The next movement books normally.
        QVERIFY(sobre("A1"));
        QVERIFY(ActualizarInventario(4, 19.99, kEntrada, "Factura de Compra 9", OrigenMovimiento::Compra));
        QCOMPARE(fx::cantidad(t, "A1"), 14);
        QCOMPARE(fx::costo(t, "A1"), 19.99);
    }

    // Inside the caller's unit the movement is kept or undone with it.
    void seUneALaTransaccionDelLlamador()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::articulo(t, "A1", 10, 15);
        ado::Connection& cn = Conexion();
        cn.BeginTrans();
        QVERIFY(sobre("A1"));
        QVERIFY(ActualizarInventario(1, 15, kSalida, "Factura De Venta 1", OrigenMovimiento::Venta));
        QVERIFY(ActualizarInventario(2, 15, kSalida, "Factura De Venta 1", OrigenMovimiento::Venta));
        QCOMPARE(cn.transactionDepth(), 1);
        cn.RollbackTrans();
        QCOMPARE(fx::cantidad(t, "A1"), 10);
        QCOMPARE(fx::filas(t, "Kardex"), 0);

        cn.BeginTrans();
        QVERIFY(sobre("A1"));
        QVERIFY(ActualizarInventario(1, 15, kSalida, "Factura De Venta 2", OrigenMovimiento::Venta));
        {
            FalloAlEscribir fallo("INSERT INTO Kardex");
            QVERIFY(!ActualizarInventario(2, 15, kSalida, "Factura De Venta 2", OrigenMovimiento::Venta));
        }
        // The caller's unit cannot be committed any more; nothing is kept.
        bool confirmado = true;
        try {
            cn.CommitTrans();
        } catch (const ado::Error&) {
            confirmado = false;
        }
        QVERIFY(!confirmado);
        QCOMPARE(fx::cantidad(t, "A1"), 10);
        QCOMPARE(fx::filas(t, "Kardex"), 0);

        // The throwing form leaves reporting to the caller.
        QVERIFY(sobre("A1"));
        msgtest::clear();
        {
            FalloAlEscribir fallo("INSERT INTO Kardex");
            QVERIFY_THROWS_EXCEPTION(ado::Error, MoverArticulo("A1", 1, 15, kSalida, "x", OrigenMovimiento::Venta));
        }
        QVERIFY(msgtest::calls().isEmpty());
        QCOMPARE(cn.transactionDepth(), 0);
    }

    void verificarStock_data()
    {
        QTest::addColumn<bool>("minimoCheck");
        QTest::addColumn<int>("stock");
        QTest::addColumn<int>("limite");
        QTest::addColumn<int>("cantidad");
        QTest::addColumn<bool>("aviso");
        QTest::addColumn<bool>("resultado");
        QTest::newRow("min sin aviso") << true << 5 << 3 << 2 << false << false;
        QTest::newRow("min aviso 3 > 2") << true << 5 << 3 << 3 << true << false;
        QTest::newRow("min aviso y bajo cero") << true << 5 << 3 << 6 << true << true;
        QTest::newRow("min cero queda en cero") << true << 5 << 0 << 5 << false << false;
        QTest::newRow("min cero bajo cero") << true << 5 << 0 << 6 << true << true;
        QTest::newRow("max igual sin aviso") << false << 5 << 10 << 5 << false << false;
        QTest::newRow("max sobrepasado") << false << 5 << 10 << 6 << true << true;
        QTest::newRow("max cero con existencia") << false << 1 << 0 << 0 << true << true;
        QTest::newRow("max cero sin nada") << false << 0 << 0 << 0 << false << false;
    }
    void verificarStock()
    {
        QFETCH(bool, minimoCheck);
        QFETCH(int, stock);
        QFETCH(int, limite);
        QFETCH(int, cantidad);
        QFETCH(bool, aviso);
        QFETCH(bool, resultado);
        TESTSTORE_OPEN_FRESH(t);
        fx::articulo(t, "77", stock, 1, minimoCheck ? limite : 0, minimoCheck ? 0 : limite);
        const QString sql = minimoCheck
            ? "select codigo_art, cantidad, stock_minimo from articulos where Articulos.CODIGO_ART like '77'"
            : "select codigo_art, cantidad, stock_maximo from articulos where Articulos.CODIGO_ART like '77'";
        const bool r = minimoCheck ? VerificarStockMinimo(sql, qint16(cantidad), "77") : VerificarStockMaximo(sql, qint16(cantidad), "77");
        QCOMPARE(r, resultado);
        QCOMPARE(msgtest::calls().size(), aviso ? 1 : 0);
        if (aviso) {
            QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
            QCOMPARE(msgtest::calls()[0].title, AppTitle());
            QCOMPARE(msgtest::texts()[0],
                     minimoCheck ? "El artículo 77 se encuentra por debajo del stock mínimo el cual es de " + QString::number(limite)
                                       + " Artículos."
                                 : "El artículo 77 ha sobrepasado el máximo permitido de artículos el cual es de "
                                       + QString::number(limite) + " Artículos. ");
        }
    }

    void verificarStockSinFila()
    {
        TESTSTORE_OPEN_FRESH(t);
        QVERIFY(!VerificarStockMinimo("select codigo_art, cantidad, stock_minimo from articulos where codigo_art like 'x'", 1, "x"));
        QVERIFY(!VerificarStockMaximo("select codigo_art, cantidad, stock_maximo from articulos where codigo_art like 'x'", 1, "x"));
        QVERIFY(msgtest::calls().isEmpty());
    }

    // The checks find the article with LIKE, as the line entry passes it,
    // and read the row of exactly the code asked: wildcards, a backslash or
    // a trailing blank never put another article's stock in its place.
    void verificarStockDelCodigoPedido_data()
    {
        QTest::addColumn<bool>("minimoCheck");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("aviso");  // the article warned about, empty for none
        QTest::newRow("min 1_2 no es 102") << true << "1_2" << "";
        QTest::newRow("min barra no es 12") << true << "1\\2" << "";
        QTest::newRow("min el propio") << true << "12" << "12";
        QTest::newRow("min blanco final") << true << "12 " << "";
        QTest::newRow("min comodin solo") << true << "1%" << "";
        QTest::newRow("max 1_2 no es 102") << false << "1_2" << "";
        QTest::newRow("max barra no es 12") << false << "1\\2" << "";
        QTest::newRow("max el propio") << false << "102" << "102";
    }
    void verificarStockDelCodigoPedido()
    {
        QFETCH(bool, minimoCheck);
        QFETCH(QString, codigo);
        QFETCH(QString, aviso);
        TESTSTORE_OPEN_FRESH(t);
        // 12 and 102 warn on any line; 1_2 and 1\2 on none.
        fx::articulo(t, "12", 1, 1, 5, 0);
        fx::articulo(t, "102", 1, 1, 5, 0);
        fx::articulo(t, "1_2", 10, 1, 0, 100);
        fx::articulo(t, "1\\2", 10, 1, 0, 100);
        const QString sql = QString("select codigo_art, cantidad, %1 from articulos where Articulos.CODIGO_ART like ")
                                .arg(minimoCheck ? "stock_minimo" : "stock_maximo")
                            + SqlStr(codigo);
        const bool r = minimoCheck ? VerificarStockMinimo(sql, 1, codigo) : VerificarStockMaximo(sql, 1, codigo);
        QCOMPARE(r, !aviso.isEmpty() && !minimoCheck);
        QCOMPARE(msgtest::texts().size(), aviso.isEmpty() ? 0 : 1);
        if (!aviso.isEmpty())
            QVERIFY2(msgtest::texts()[0].startsWith("El artículo " + aviso + " "), qPrintable(msgtest::texts()[0]));
    }

    void cantidadTecleada_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("cantidad");
        QTest::newRow("2.5 al par") << "2.5" << true << 2;
        QTest::newRow("3.5 al par") << "3.5" << true << 4;
        QTest::newRow("blanco delante") << " 5" << true << 5;
        QTest::newRow("negativo") << "-3" << true << -3;
        QTest::newRow("limite alto") << "32767" << true << 32767;
        QTest::newRow("limite bajo") << "-32768" << true << -32768;
        QTest::newRow("fuera alto") << "32768" << false << 0;
        QTest::newRow("redondeo fuera") << "32767.5" << false << 0;
        QTest::newRow("fuera bajo") << "-40000" << false << 0;
        QTest::newRow("texto") << "abc" << false << 0;
    }
    void cantidadTecleada()
    {
        QFETCH(QString, texto);
        QFETCH(bool, ok);
        QFETCH(int, cantidad);
        qint16 q = 0;
        QCOMPARE(CantidadTecleada(texto, q), ok);
        if (ok)
            QCOMPARE(int(q), cantidad);
    }

    // Two workstations withdrawing from one article at the same moment:
    // no movement is lost and every saldo is the stock right after its own
    // movement.
    void dosProcesosALaVez()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::articulo(t, "C1", 1000, 5);
        const int veces = 200;
        procesos::CorrerHijos(this, 2, "--retiros", t, [&](int) { return QStringList{QString::number(veces)}; }, 300000);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(fx::cantidad(t, "C1"), 1000 - 2 * veces);
        const auto filas = teststore::queryRaw(t, "SELECT saldo FROM Kardex WHERE codigo_art = 'C1'");
        QCOMPARE(filas.size(), 2 * veces);
        QSet<int> saldos;
        for (const auto& f : filas)
            saldos.insert(f[0].toInt());
        QCOMPARE(saldos.size(), 2 * veces);
        QCOMPARE(*std::min_element(saldos.begin(), saldos.end()), 1000 - 2 * veces);
        QCOMPARE(*std::max_element(saldos.begin(), saldos.end()), 999);
    }
};

PROCESOS_GUILESS_MAIN(TstInventario, "--retiros", Retiros)

#include "tst_inventario.moc"
