// TARVIK_STORE_TEST: a server that stops and starts again between two
// actions and during one, and that is down at sign-in.
#include "ServidorPropio.h"

class TstServidor : public PruebaServidor {
    Q_OBJECT
private slots:
    void serverRestartsBetweenAndDuringActions()
    {
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed() || !abrirConArticulo(srv))
            return;
        ado::Connection& cn = Conexion();

        // Restarted between two actions: the next one, a write, just works.
        QVERIFY2(srv.halt() && srv.resume(), qPrintable(srv.why));
        QVERIFY2(AbrirRecordset("Update ARTICULOS Set cantidad = 11 Where codigo_art = 'A1'"), qPrintable(msgtest::texts().join("|")));
        QVERIFY2(srv.halt() && srv.resume(), qPrintable(srv.why));
        QCOMPARE(cantidad(), 11);
        QCOMPARE(msgtest::texts(), QStringList());

        // Gone in the middle of a unit: the unit fails with one message and
        // nothing of it is stored.
        cn.BeginTrans();
        QVERIFY(AbrirRecordset("Update ARTICULOS Set cantidad = 12 Where codigo_art = 'A1'"));
        QVERIFY2(srv.halt(), qPrintable(srv.why));
        QVERIFY(!AbrirRecordset("Update ARTICULOS Set cantidad = 13 Where codigo_art = 'A1'"));
        cn.RollbackTrans();
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].startsWith("Error No: 20"), qPrintable(msgtest::texts()[0]));
        QVERIFY(msgtest::texts()[0].contains(kPerdida));

        // Still down: each action fails once, with one message.
        msgtest::clear();
        QVERIFY(!AbrirRecordset("Select * From ARTICULOS"));
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY(msgtest::texts()[0].contains(kPerdida));
        msgtest::clear();
        QVERIFY(!Trap([&] { cn.BeginTrans(); }));
        Err.Clear();
        QCOMPARE(cn.transactionDepth(), 0);

        QVERIFY2(srv.resume(), qPrintable(srv.why));
        QCOMPARE(cantidad(), 11);
        QCOMPARE(msgtest::texts(), QStringList());
    }

    // A sale applied while the server is down: its messages are the error
    // check's and the apply's own, once; the same sale goes through once the
    // server is back.
    void saleWhileTheServerIsDown()
    {
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed())
            return;
        const OnServer onServer(srv);
        TESTSTORE_OPEN_FRESH(t);
        auto w = ventaLista(t);

        // Down before the apply: its first look-up says so, once.
        QVERIFY2(srv.halt(), qPrintable(srv.why));
        QVERIFY(!w->bAplicar_Click());
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].contains(kPerdida), qPrintable(msgtest::texts()[0]));

        // Gone at the apply's first write: the unit fails whole.
        QVERIFY2(srv.resume(), qPrintable(srv.why));
        msgtest::clear();
        bool parado = false;
        ado::Connection::setWriteHook([&](const QString&) {
            if (!parado)
                parado = srv.halt();
        });
        QVERIFY(!w->bAplicar_Click());
        ado::Connection::setWriteHook(nullptr);
        QVERIFY(parado);
        // The handler's own line after it would add nothing.
        QCOMPARE(msgtest::texts().size(), 1);
        QVERIFY2(msgtest::texts()[0].contains(kPerdida), qPrintable(msgtest::texts()[0]));

        QVERIFY2(srv.resume(), qPrintable(srv.why));
        msgtest::clear();
        QVERIFY(w->bAplicar_Click());
        QCOMPARE(msgtest::texts(), QStringList());
        vendidaUnaVez(t);
        w.reset();
        Conexion().Close();
    }

    // The server down through the actions of a sale before its apply: each
    // action tells it once at most, and once the server is back the same
    // window takes the line.
    void saleActionsWhileTheServerIsDown()
    {
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed())
            return;
        const OnServer onServer(srv);
        TESTSTORE_OPEN_FRESH(t);
        fac::firmar();
        fac::articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        QVERIFY2(srv.halt(), qPrintable(srv.why));
        std::unique_ptr<fVentas> w;
        const std::pair<const char*, std::function<void()>> acciones[] = {
            {"new invoice", [&] { w = fac::nueva<fVentas>(gModoFormulario); }},
            {"add a line", [&] { w->bAdicionarArticulo->click(); }},
            {"its code", [&] { w->txtDetalle[1]->setEditText("A1"); }},
            {"its quantity", [&] { w->txtDetalle[2]->setEditText("2"); }},
            {"update the line", [&] { w->bActualizarArticulo->click(); }},
        };
        for (const auto& [nombre, accion] : acciones) {
            msgtest::clear();
            accion();
            const QString vistos = QString::fromLatin1(nombre) + ": " + msgtest::texts().join(" | ");
            QVERIFY2(msgtest::texts().size() <= 1, qPrintable(vistos));
            QVERIFY2(msgtest::texts().isEmpty() || msgtest::texts()[0].contains(kPerdida), qPrintable(vistos));
        }
        QCOMPARE(w->lvwFactura->count(), 0);

        // Back: the line as it stands goes in, its code looked up again.
        QVERIFY2(srv.resume(), qPrintable(srv.why));
        msgtest::clear();
        w->txtDetalle[2]->setEditText("3");
        w->bActualizarArticulo->click();
        QVERIFY2(msgtest::texts().isEmpty(), qPrintable(msgtest::texts().join(" | ")));
        QCOMPARE(w->lvwFactura->count(), 1);
        QCOMPARE(w->lvwFactura->subItem(1, 1), QString("ARTICULO A1"));
        QCOMPARE(w->lvwFactura->subItem(1, 2), QString("3"));
    }

    // Sign-in with the server down or not answering: one message, in
    // Spanish, and the button stays to try again.
    void signInWhileTheServerIsDown_data()
    {
        columnas<bool>("congelado");
        QTest::newRow("stopped") << false;
        QTest::newRow("not answering") << true;
    }
    void signInWhileTheServerIsDown()
    {
        QFETCH(bool, congelado);
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed())
            return;
        ado::Connection::setWaitLimitHook(kLimite);
        QTemporaryDir sinArchivo;
        SetAppPath(sinArchivo.path());
        fSplash::SetTextoConexionServidorParaPruebas(srv.text());
        fSplash& s = Ventana<fSplash>();  // no local file: says so first
        s.bConexion->click();
        QVERIFY2(congelado ? srv.freeze() : srv.halt(), qPrintable(srv.why));
        msgtest::clear();
        QElapsedTimer espera;
        espera.start();
        QTest::mouseClick(s.bConectarMySql, Qt::LeftButton);
        if (congelado)
            QVERIFY(unaEspera(espera));
        const QStringList vistos = msgtest::texts();
        QCOMPARE(vistos.size(), 1);
        static const QRegularExpression kNoConecta(
            QStringLiteral("^Error No: \\d+\\. No se pudo conectar con el servidor de la base de datos\\. Verifique que el "
                           "servidor esté en marcha y que esta estación llegue a él por la red, e inténtelo de nuevo$"));
        QVERIFY2(kNoConecta.match(vistos[0]).hasMatch(), qPrintable(vistos[0]));
        QVERIFY(s.bConectarMySql->isEnabled());
        QVERIFY(!Conexion().isOpen());
    }

    // A server that stops answering during a read: the action waits once,
    // for the limit, and tells it once; while it stays so the next action's
    // reconnection does the same; once it answers the next action just works.
};

QTEST_MAIN(TstServidor)
#include "tst_servidor.moc"
