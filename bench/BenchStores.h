// What the bench programs share: memory figures from /proc, plain Qt SQL
// that stops the program on failure, the article rows they read, and the
// run on both stores (SQLite always; MariaDB when TARVIK_MARIADB_HOST/PORT
// name a server).
#pragma once

#include "StoreSetup.h"
#include "mFuncionesCajas.h"
#include "msgbox.h"

#include <QApplication>
#include <QDate>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

namespace bench {

inline long rssKb(const char* key)
{
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::string(key).size()));
    return 0;
}

// Forgets the peak so far: VmHWM then reads the peak from here on.
inline void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

inline void check(QSqlQuery& q, bool ok)
{
    if (!ok) {
        std::fprintf(stderr, "SQL failed: %s\n", qPrintable(q.lastError().text()));
        std::exit(1);
    }
}

inline void seedArticles(QSqlDatabase db, int n)
{
    db.transaction();
    QSqlQuery q(db);
    check(q, q.prepare("INSERT INTO ARTICULOS VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < n; ++i) {
        const QVariantList v{QString::number(7500000000000LL + i), QString("ARTICULO DE PRUEBA %1").arg(i), 10.0 + i % 97, 18,
                             15.5 + i % 13, 14.25, 13.0, i % 500, 5, 900, QString("observaciones"), QString("2024-01-05"),
                             QString("/img/%1.png").arg(i), QString("PASILLO %1").arg(i % 40), QString("PROVEEDOR UNO"),
                             QString(), QString(), QString("FISICO")};
        for (const auto& x : v)
            q.addBindValue(x);
        check(q, q.exec());
    }
    db.commit();
}

// The application of a bench that opens windows: off screen unless told
// otherwise, each line out at once, boxes recorded instead of shown (a
// failure prints).
class WindowsBench {
    static int offscreen()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return 0;
    }
    int env_ = offscreen();

public:
    QApplication app;
    WindowsBench(int& argc, char** argv) : app(argc, argv)
    {
        std::setvbuf(stdout, nullptr, _IOLBF, 0);
        msgtest::install();
    }
};

// Adds clients C0 .. C<n-1>.
inline void seedClients(QSqlDatabase db, int n)
{
    db.transaction();
    QSqlQuery q(db);
    check(q, q.prepare("INSERT INTO CLIENTES (codigo_cli, nombre_cli, identificacion_cli, telefono_cli, fax_cli) VALUES (?,?,?,?,?)"));
    for (int i = 0; i < n; ++i) {
        for (const QVariant& x :
             QVariantList{QString("C%1").arg(i), QString("CLIENTE DE PRUEBA NUMERO %1").arg(i), QString("001-%1-7").arg(1000000 + i),
                          QString("809-555-%1").arg(1000 + i % 9000), QString()})
            q.addBindValue(x);
        check(q, q.exec());
    }
    db.commit();
}

// Adds sales invoices from+1 .. to of company 1 in statements of 500 rows
// (one round trip each to a server): invoice i is client C<i % clients>'s,
// the dates run over ten years, and one in every unpaidEvery is unpaid.
inline void seedInvoices(QSqlDatabase db, int from, int to, int clients, int unpaidEvery)
{
    QSqlQuery q(db);
    db.transaction();
    for (int first = from + 1; first <= to; first += 500) {
        QString sql = "INSERT INTO Ventas VALUES ";
        for (int i = first; i < first + 500 && i <= to; ++i) {
            const QString fecha = QDate(2014, 1, 1).addDays(i % 3650).toString("yyyy-MM-dd");
            const double total = 100 + i % 900 + (i % 7) * 0.25;
            const bool unpaid = i % unpaidEvery == 0;
            sql += QString("%1(%2,'C%3','%4','CREDITO',%5,%6,0,%7,%8,%9,'','%10','%4',1,'1','')")
                       .arg(i == first ? "" : ",")
                       .arg(i)
                       .arg(i % clients)
                       .arg(fecha)
                       .arg(total / 1.18)
                       .arg(total - total / 1.18)
                       .arg(unpaid ? 10.0 : total)
                       .arg(unpaid ? total - 10 : 0.0)
                       .arg(total)
                       .arg(unpaid ? "Sin Cancelar" : "Cancelada");
        }
        check(q, q.exec(sql));
    }
    db.commit();
}

// Runs this program again for each engine (TARVIK_TEST_ENGINE, MariaDB only
// when TARVIK_MARIADB_HOST/PORT name a server) with args, so that each run's
// peak memory is its own. main()'s exit code.
inline int eachEngineApart(const QStringList& args)
{
    QStringList engines{"sqlite"};
    if (!qEnvironmentVariableIsEmpty("TARVIK_MARIADB_HOST") && qEnvironmentVariableIntValue("TARVIK_MARIADB_PORT"))
        engines << "mariadb";
    else
        std::printf("MariaDB  skipped: TARVIK_MARIADB_HOST/PORT not set\n");
    std::fflush(stdout);
    for (const QString& engine : engines) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TARVIK_TEST_ENGINE", engine);
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(QCoreApplication::applicationFilePath(), args);
        p.waitForFinished(-1);
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return 1;
    }
    return 0;
}

// Calls run(engine, raw) on a new SQLite store (pragmas run on its plain
// connection first), then on the MariaDB database mariaDb made afresh; the
// data layer's Conexion() is open on the same store meanwhile. main()'s
// exit code.
inline int runOnStores(const QString& mariaDb, const QStringList& pragmas,
                       const std::function<void(const QString& engine, QSqlDatabase raw)>& run)
{
    QTemporaryDir dir;
    QString err;
    {
        const QString path = dir.filePath("Inventario.qln");
        if (!tarvikdb::createSqliteStore(path, &err)) {
            std::fprintf(stderr, "%s\n", qPrintable(err));
            return 1;
        }
        Conexion().Provider = "Microsoft.Jet.OLEDB.4.0";
        Conexion().Open(path);
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "bench-raw");
        raw.setDatabaseName(path);
        raw.open();
        for (const QString& p : pragmas)
            QSqlQuery(raw).exec(p);
        run("SQLite", raw);
        raw.close();
    }
    QSqlDatabase::removeDatabase("bench-raw");
    ReiniciarVariablesGlobales();

    const QString host = qEnvironmentVariable("TARVIK_MARIADB_HOST");
    const int port = qEnvironmentVariableIntValue("TARVIK_MARIADB_PORT");
    if (host.isEmpty() || !port) {
        std::printf("MariaDB  skipped: TARVIK_MARIADB_HOST/PORT not set\n");
        return 0;
    }
    if (!tarvikdb::createMariaDbDatabase(host, port, "root", "", mariaDb, true, &err)) {
        std::fprintf(stderr, "%s\n", qPrintable(err));
        return 1;
    }
    Conexion().ConnectionString = QString("DRIVER={MySQL ODBC 3.51 Driver};SERVER=%1;PORT=%2;DATABASE=%3;UID=root;PWD=;OPTION=18475")
                                      .arg(host)
                                      .arg(port)
                                      .arg(mariaDb);
    Conexion().Open();
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QMARIADB", "bench-raw");
        raw.setHostName(host);
        raw.setPort(port);
        raw.setUserName("root");
        raw.setDatabaseName(mariaDb);
        raw.open();
        raw.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        run("MariaDB", raw);
        raw.close();
    }
    return 0;
}

}  // namespace bench
