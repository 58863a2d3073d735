// TARVIK_STORE_TEST: a server that stops and starts again between two
// actions and during one, that is down at sign-in, and that stops answering.
// The tests start a server of their own (on the SQLite run there is none to
// stop).
#include "../invoicing/Facturacion.h"
#include "AppPath.h"
#include "Procesos.h"
#include "StoreSetup.h"
#include "TestStore.h"
#include "adodb.h"
#include "fSplash.h"
#include "mFuncionesCajas.h"
#include "mSubRutinas_facturas.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <condition_variable>
#include <future>
#include <mutex>
#include <signal.h>

using teststore::Target;

namespace {

// A server of the test's own, so that stopping it disturbs no other test.
struct OwnServer {
    QString dir, host, why;
    int port = 0;
    int pid = 0;              // the process while it is frozen
    std::future<void> vigia;  // thaws it if the test does not
    std::mutex m;
    std::condition_variable cv;
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
        thaw();
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
    // The process stops answering, as one stopped or cut off by the network
    // would; its connections stay open.
    bool freeze()
    {
        QFile f(dir + QStringLiteral("/server.pid"));
        pid = f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toInt() : 0;
        if (pid <= 0 || ::kill(pid, SIGSTOP) != 0) {
            why = QStringLiteral("no server process to stop");
            return false;
        }
        // A wait without end would keep the test, and the server, stopped.
        vigia = std::async(std::launch::async, [this, p = pid] {
            std::unique_lock<std::mutex> l(m);
            if (!cv.wait_for(l, std::chrono::seconds(20), [&] { return pid != p; }))
                ::kill(p, SIGCONT);
        });
        // The signal reaches its threads one by one.
        for (QDeadlineTimer d(5000); !stopped(); QThread::msleep(5))
            if (d.hasExpired()) {
                why = QStringLiteral("the server did not stop");
                return false;
            }
        return true;
    }
    void thaw()
    {
        if (pid > 0)
            ::kill(pid, SIGCONT);
        {
            const std::lock_guard<std::mutex> l(m);
            pid = 0;
        }
        cv.notify_all();
        if (vigia.valid())
            vigia.get();
    }
    bool stopped() const
    {
        const QDir tareas(QStringLiteral("/proc/%1/task").arg(pid));
        const QStringList ids = tareas.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& id : ids) {
            QFile f(tareas.filePath(id + QStringLiteral("/stat")));
            if (!f.open(QIODevice::ReadOnly))
                continue;  // the thread ended
            const QByteArray st = f.readAll();
            const qsizetype fin = st.lastIndexOf(')');
            if (fin < 0 || fin + 2 >= st.size() || st[fin + 2] != 'T')
                return false;
        }
        return !ids.isEmpty();
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
const char* const kSinRespuesta = "El servidor de la base de datos no respondió a tiempo y el trabajo no se guardó";

// The wait limit of these tests, in seconds.
constexpr int kLimite = 2;

// The fixtures reach the store through the server the environment names.
struct OnServer {
    QByteArray host = qgetenv("TARVIK_MARIADB_HOST"), port = qgetenv("TARVIK_MARIADB_PORT");
    explicit OnServer(const OwnServer& s)
    {
        qputenv("TARVIK_MARIADB_HOST", s.host.toUtf8());
        qputenv("TARVIK_MARIADB_PORT", QByteArray::number(s.port));
    }
    ~OnServer()
    {
        qputenv("TARVIK_MARIADB_HOST", host);
        qputenv("TARVIK_MARIADB_PORT", port);
    }
};

// Whether the wait since inicio took one limit: at least the limit, and
// short of two. Its length goes to the log.
bool unaEspera(const QElapsedTimer& inicio)
{
    const qint64 ms = inicio.elapsed();
    qInfo("waited %lld ms for a limit of %d s", ms, kLimite);
    return ms >= kLimite * 900 && ms < kLimite * 2000;
}

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

    // Conexion() open on a new store of srv with article A1 at 10; false
    // when that failed, and so did the test.
    static bool abrirConArticulo(OwnServer& srv)
    {
        QString error;
        if (!tarvikdb::createMariaDbDatabase(srv.host, srv.port, "root", "", "Inventario", true, &error)) {
            QTest::qFail(qPrintable(error), __FILE__, __LINE__);
            return false;
        }
        ado::Connection& cn = Conexion();
        cn.ConnectionString = srv.text();
        if (!Trap([&] { cn.Open(); }) || !AbrirRecordset("INSERT INTO ARTICULOS (codigo_art, cantidad) VALUES ('A1', 10)")) {
            QTest::qFail("the store did not open", __FILE__, __LINE__);
            return false;
        }
        msgtest::clear();
        return true;
    }

    // On the store t: a new sale of two of A1 (10 in stock), paid in full,
    // ready to apply.
    static std::unique_ptr<fVentas> ventaLista(const teststore::Target& t)
    {
        fac::firmar();
        fac::articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        fac::pagarCon();
        auto w = fac::nueva<fVentas>(gModoFormulario);
        fac::linea(*w, "A1", "2");
        fac::escribir(*w, 7, fac::caja(*w, 9));  // paid in full
        msgtest::clear();
        return w;
    }
    // The sale of ventaLista stored once.
    static void vendidaUnaVez(const teststore::Target& t)
    {
        QCOMPARE(fac::stock(t, "A1"), 8);
        for (const char* tabla : {"Ventas", "Detalles_FacVen", "Kardex"})
            QVERIFY2(fac::filas(t, tabla) == 1, tabla);
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
        if (servidor_) {
            servidor_->thaw();
            if (servidor_->down && !servidor_->resume())
                qWarning("the test's server did not start again: %s", qPrintable(servidor_->why));
        }
        ado::Connection::setWaitLimitHook(0);
        ado::Connection::setWriteHook(nullptr);
        Conexion().Close();
        msgtest::uninstall();
        ReiniciarVariablesGlobales();
    }
    void cleanupTestCase() { servidor_.reset(); }

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

QTEST_MAIN(TstServidor)
#include "tst_servidor.moc"
