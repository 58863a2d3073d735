// TARVIK_STORE_TEST: a server that stops answering in the middle of an
// action.
#include "ServidorPropio.h"

class TstCongelado : public PruebaServidor {
    Q_OBJECT
private slots:
    void frozenServerDuringAListRead()
    {
        ado::Connection::setWaitLimitHook(kLimite);
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed() || !abrirConArticulo(srv))
            return;
        QVERIFY2(srv.freeze(), qPrintable(srv.why));
        QElapsedTimer espera;
        espera.start();
        QVERIFY(!AbrirRecordset("Select * From ARTICULOS"));
        // What the action does after it waits no more.
        QVERIFY(!AbrirRecordset("Select cantidad From ARTICULOS"));
        QVERIFY(unaEspera(espera));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].startsWith("Error No: 2013. ") && msgtest::texts()[0].contains(kSinRespuesta),
                 qPrintable(msgtest::texts()[0]));

        msgtest::clear();
        espera.start();
        QCOMPARE(cantidad(), -1);
        QVERIFY(unaEspera(espera));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].contains(kSinRespuesta), qPrintable(msgtest::texts()[0]));

        srv.thaw();
        msgtest::clear();
        QCOMPARE(cantidad(), 10);
        QCOMPARE(msgtest::texts(), QStringList());
    }

    // A server that stops answering at a write of a sale's apply: one wait,
    // one message, and once it runs again it has stored nothing of the
    // unit, whose connection went; the next apply stores the sale once.
    void frozenServerDuringASaleApply_data()
    {
        columnas<int>("escritura");
        QTest::newRow("first write") << 1;
        QTest::newRow("third write") << 3;
    }
    void frozenServerDuringASaleApply()
    {
        QFETCH(int, escritura);
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed())
            return;
        const OnServer onServer(srv);
        ado::Connection::setWaitLimitHook(kLimite);
        TESTSTORE_OPEN_FRESH(t);
        auto w = ventaLista(t);
        const QStringList antes = fac::volcado(t);
        int escrituras = 0;
        bool congelado = false;
        ado::Connection::setWriteHook([&](const QString&) {
            if (++escrituras == escritura)
                congelado = srv.freeze();
        });
        QElapsedTimer espera;
        espera.start();
        QVERIFY(!w->bAplicar_Click());
        ado::Connection::setWriteHook(nullptr);
        QVERIFY2(congelado, qPrintable(srv.why));
        QVERIFY(unaEspera(espera));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].contains(kSinRespuesta), qPrintable(msgtest::texts()[0]));

        srv.thaw();
        QCOMPARE(fac::volcado(t), antes);
        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList());
        vendidaUnaVez(t);
    }

    // Frozen with a change on its way that commits on its own (a unit's
    // commit, a change outside a unit): the clerk is told that whether the
    // work was stored is not known, since the server may still store it.
    void frozenServerWithACommitOnItsWay_data()
    {
        columnas<bool>("enUnidad");
        QTest::newRow("the commit of a unit") << true;
        QTest::newRow("a change outside a unit") << false;
    }
    void frozenServerWithACommitOnItsWay()
    {
        QFETCH(bool, enUnidad);
        ado::Connection::setWaitLimitHook(kLimite);
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed() || !abrirConArticulo(srv))
            return;
        const char* const cambio = "Update ARTICULOS Set cantidad = 11 Where codigo_art = 'A1'";
        QElapsedTimer espera;
        bool congelado = false;
        if (enUnidad) {
            QVERIFY(!EnTransaccion([&](ado::Connection&) {
                if (!AbrirRecordset(cambio))
                    return false;
                espera.start();
                return congelado = srv.freeze();
            }));
            QVERIFY(!ControlErrores());
        } else {
            ado::Connection::setWriteHook([&](const QString&) {
                espera.start();
                congelado = srv.freeze();
            });
            QVERIFY(!AbrirRecordset(cambio));
        }
        QVERIFY2(congelado, qPrintable(srv.why));
        QVERIFY(unaEspera(espera));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].contains("no se sabe si quedó guardado"), qPrintable(msgtest::texts()[0]));

        // This server reads the change once it runs again, and stores it.
        ado::Connection::setWriteHook(nullptr);
        srv.thaw();
        msgtest::clear();
        QTRY_COMPARE_WITH_TIMEOUT(cantidad(), 11, 5000);
        QCOMPARE(msgtest::texts(), QStringList());
    }

    // A unit whose workstation goes silent (cut off by the network) holds
    // its locks no longer than the limit: the server ends it, stores
    // nothing of it, and another workstation gets the row.
    void silentUnitEndsOnTheServer()
    {
        ado::Connection::setWaitLimitHook(kLimite);
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed() || !abrirConArticulo(srv))
            return;
        ado::Connection& cn = Conexion();
        cn.BeginTrans();
        QVERIFY(AbrirRecordset("Update ARTICULOS Set cantidad = 11 Where codigo_art = 'A1'"));
        QTest::qWait(kLimite * 1000 + 1500);

        ado::Connection otra;
        ado::Recordset rs;
        QElapsedTimer espera;
        espera.start();
        QVERIFY(Trap([&] {
            otra.Open(srv.text());
            rs.Open("Update ARTICULOS Set cantidad = 20 Where codigo_art = 'A1'", otra);
        }));
        QVERIFY(espera.elapsed() < ado::Connection::kLockWaitSeconds * 500);

        QVERIFY(!AbrirRecordset("Update ARTICULOS Set cantidad = 12 Where codigo_art = 'A1'"));
        cn.RollbackTrans();
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY(msgtest::texts()[0].contains(kPerdida));
        msgtest::clear();
        QCOMPARE(cantidad(), 20);
    }
};

QTEST_MAIN(TstCongelado)
#include "tst_congelado.moc"
