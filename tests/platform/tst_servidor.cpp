// TARVIK_STORE_TEST: a server that stops and starts again between two
// actions and during one, and that is down at sign-in. The tests start a
// server of their own (on the SQLite run there is none to stop).
#include "../invoicing/Facturacion.h"
#include "AppPath.h"
#include "Procesos.h"
#include "StoreSetup.h"
#include "TestStore.h"
#include "adodb.h"
#include "fSplash.h"
#include "mFunciones.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using teststore::Target;

namespace {

// A server of the test's own, so that stopping it disturbs no other test.
struct OwnServer {
    QString dir, host, why;
    int port = 0;
    OwnServer()
    {
        // Commits must outlive a server that is stopped the hard way.
        qputenv("TARVIK_MARIADB_FLUSH_AT_COMMIT", "1");
        // While it is down its port is free: far from the ports the other test
        // servers try first, so that no other run takes it in the meantime.
        qputenv("TARVIK_MARIADB_PORT_BASE", QByteArray::number(34100 + QCoreApplication::applicationPid() % 200 * 4));
        bool ok = false;
        const QString out = procesos::Ejecutar(QStringLiteral("bash"), {script(), QStringLiteral("start")}, &ok);
        if (!ok) {
            why = out;
            return;
        }
        static const QRegularExpression kv(QStringLiteral("export (\\w+)='?([^'\\n]*)'?"));
        for (auto it = kv.globalMatch(out); it.hasNext();) {
            const auto m = it.next();
            if (m.captured(1) == QLatin1String("TARVIK_MARIADB_DIR"))
                dir = m.captured(2);
            else if (m.captured(1) == QLatin1String("TARVIK_MARIADB_HOST"))
                host = m.captured(2);
            else if (m.captured(1) == QLatin1String("TARVIK_MARIADB_PORT"))
                port = m.captured(2).toInt();
        }
    }
    ~OwnServer()
    {
        if (!dir.isEmpty())
            procesos::Ejecutar(QStringLiteral("bash"), {script(), QStringLiteral("stop"), dir});
    }
    static QString script() { return qEnvironmentVariable("TARVIK_SCRIPTS_DIR") + QStringLiteral("/mariadb-test.sh"); }
    bool down = false;  // halted, to be resumed
    bool halt() { return down = command(QStringLiteral("halt")); }
    bool resume()
    {
        down = !command(QStringLiteral("resume"));
        return !down;
    }
    bool command(const QString& c)
    {
        bool ok = false;
        why = procesos::Ejecutar(QStringLiteral("bash"), {script(), c, dir}, &ok);
        return ok;
    }
    QString text() const
    {
        return QStringLiteral("DRIVER={MySQL ODBC 3.51 Driver};SERVER=%1;PORT=%2;DATABASE=Inventario;UID=root;PWD=;OPTION=18475")
            .arg(host).arg(port);
    }
};

int cantidad()
{
    if (!AbrirRecordset(QStringLiteral("Select cantidad From ARTICULOS Where codigo_art = 'A1'")) || gRecordset->Eof())
        return -1;
    return gRecordset->Fields(0).toInt();
}

const char* const kPerdida = "Se perdió la conexión con el servidor de la base de datos";

}  // namespace

class TstServidor : public QObject {
    Q_OBJECT
    std::unique_ptr<OwnServer> servidor_;

    // One server for the whole run: starting one takes seconds.
    OwnServer& servidor()
    {
        if (!servidor_)
            servidor_ = std::make_unique<OwnServer>();
        if (servidor_->port <= 0)
            QTest::qFail(qPrintable("no server of the test's own: " + servidor_->why), __FILE__, __LINE__);
        return *servidor_;
    }

private slots:
    void init()
    {
        if (!teststore::mariadb())
            QSKIP("a local file has no server to stop");
        msgtest::install();
        ReiniciarVariablesGlobales();
    }
    void cleanup()
    {
        delete VentanaAbierta<fSplash>();
        fSplash::SetTextoConexionServidorParaPruebas(QString());
        SetAppPath(QString());
        if (servidor_ && servidor_->down && !servidor_->resume())
            qWarning("the test's server did not start again: %s", qPrintable(servidor_->why));
        ado::Connection::setWriteHook(nullptr);
        Conexion().Close();
        msgtest::uninstall();
        ReiniciarVariablesGlobales();
    }
    void cleanupTestCase() { servidor_.reset(); }

    void serverRestartsBetweenAndDuringActions()
    {
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed())
            return;
        QString error;
        QVERIFY2(tarvikdb::createMariaDbDatabase(srv.host, srv.port, "root", "", "Inventario", true, &error),
                 qPrintable(error));
        ado::Connection& cn = Conexion();
        cn.ConnectionString = srv.text();
        cn.Open();
        QVERIFY(AbrirRecordset("INSERT INTO ARTICULOS (codigo_art, cantidad) VALUES ('A1', 10)"));

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
        // The fixtures reach the store through the server the environment names.
        struct OnServer {
            QByteArray host = qgetenv("TARVIK_MARIADB_HOST"), port = qgetenv("TARVIK_MARIADB_PORT");
            OnServer(const OwnServer& s)
            {
                qputenv("TARVIK_MARIADB_HOST", s.host.toUtf8());
                qputenv("TARVIK_MARIADB_PORT", QByteArray::number(s.port));
            }
            ~OnServer()
            {
                qputenv("TARVIK_MARIADB_HOST", host);
                qputenv("TARVIK_MARIADB_PORT", port);
            }
        } onServer(srv);
        TESTSTORE_OPEN_FRESH(t);
        fac::firmar();
        fac::articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        fac::pagarCon();
        auto w = fac::nueva<fVentas>(gModoFormulario);
        fac::linea(*w, "A1", "2");
        fac::escribir(*w, 7, fac::caja(*w, 9));  // paid in full
        msgtest::clear();

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
        QCOMPARE(fac::stock(t, "A1"), 8);
        QCOMPARE(fac::filas(t, "Ventas"), 1);
        QCOMPARE(fac::filas(t, "Kardex"), 1);
        w.reset();
        Conexion().Close();
    }

    // Sign-in with the server down: one message, in Spanish, and the button
    // stays to try again.
    void signInWhileTheServerIsDown()
    {
        OwnServer& srv = servidor();
        if (QTest::currentTestFailed())
            return;
        QTemporaryDir sinArchivo;
        SetAppPath(sinArchivo.path());
        fSplash::SetTextoConexionServidorParaPruebas(srv.text());
        fSplash& s = Ventana<fSplash>();  // no local file: says so first
        s.bConexion->click();
        QVERIFY2(srv.halt(), qPrintable(srv.why));
        msgtest::clear();
        QTest::mouseClick(s.bConectarMySql, Qt::LeftButton);
        const QStringList vistos = msgtest::texts();
        QCOMPARE(vistos.size(), 1);
        static const QRegularExpression kNoConecta(
            QStringLiteral("^Error No: \\d+\\. No se pudo conectar con el servidor de la base de datos\\. Verifique que el "
                           "servidor esté en marcha y que esta estación llegue a él por la red, e inténtelo de nuevo$"));
        QVERIFY2(kNoConecta.match(vistos[0]).hasMatch(), qPrintable(vistos[0]));
        QVERIFY(s.bConectarMySql->isEnabled());
        QVERIFY(!Conexion().isOpen());
    }
};

QTEST_MAIN(TstServidor)
#include "tst_servidor.moc"
