// What the bench programs share: memory figures from /proc, plain Qt SQL
// that stops the program on failure, the article rows they read, and the
// run on both stores (SQLite always; MariaDB when TARVIK_MARIADB_HOST/PORT
// name a server).
#pragma once

#include "StoreSetup.h"
#include "mFunciones.h"

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
