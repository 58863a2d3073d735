// A MariaDB server of the test's own for the tests that stop it, freeze it
// or start it again, and the fixtures on it. On the SQLite run there is no
// server to stop: the tests skip.
#pragma once

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

namespace servidor {

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

inline int cantidad()
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
inline bool unaEspera(const QElapsedTimer& inicio)
{
    const qint64 ms = inicio.elapsed();
    qInfo("waited %lld ms for a limit of %d s", ms, kLimite);
    return ms >= kLimite * 900 && ms < kLimite * 2000;
}

}  // namespace servidor

using namespace servidor;

class PruebaServidor : public QObject {
    Q_OBJECT
protected:
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

protected slots:
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
};
