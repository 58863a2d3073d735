#include "TestStore.h"

#include "StoreSetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <memory>
#include <utility>

namespace teststore {

namespace {

int counter = 0;
std::unique_ptr<QTemporaryDir> tempRoot;
QStringList createdDatabases;

// Drops this process's server databases when the application ends.
void dropCreatedDatabases()
{
    if (createdDatabases.isEmpty())
        return;
    const QString name = QStringLiteral("teststore_cleanup");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        db.setHostName(serverHost());
        db.setPort(serverPort());
        db.setUserName(QStringLiteral("root"));
        if (db.open()) {
            QSqlQuery q(db);
            for (const QString& d : std::as_const(createdDatabases))
                q.exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(d));
        }
    }
    QSqlDatabase::removeDatabase(name);
    createdDatabases.clear();
}

bool serverConfigured()
{
    if (serverHost().isEmpty() || serverPort() <= 0) {
        fail(QStringLiteral("MariaDB tests need TARVIK_MARIADB_HOST and TARVIK_MARIADB_PORT "
                            "(run scripts/test.sh, or start scripts/mariadb-test.sh)"));
        return false;
    }
    return true;
}

// Runs f on a raw connection to t that lives for the call only.
template <typename F>
bool withRaw(const Target& t, QString* error, F f)
{
    static int rawCounter = 0;
    const QString name = QStringLiteral("teststore_raw_%1").arg(++rawCounter);
    bool ok = false;
    {
        QSqlDatabase db;
        if (t.database.isEmpty()) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(t.sqlitePath);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        } else {
            db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
            db.setHostName(serverHost());
            db.setPort(serverPort());
            db.setUserName(QStringLiteral("root"));
            db.setDatabaseName(t.database);
        }
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            QSqlQuery q(db);
            const bool set = t.database.isEmpty()
                ? q.exec(QStringLiteral("PRAGMA foreign_keys=ON"))
                : q.exec(QStringLiteral("SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_ZERO_DATE,NO_ZERO_IN_DATE,"
                                        "ERROR_FOR_DIVISION_BY_ZERO,NO_BACKSLASH_ESCAPES,NO_ENGINE_SUBSTITUTION'"));
            if (!set) {
                if (error)
                    *error = q.lastError().text();
            } else {
                ok = f(q);
                if (!ok && error)
                    *error = q.lastError().text();
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// A server database this process made, and the test (function and data
// row) that has it now.
struct Reusable {
    QString database;
    QString fingerprint;  // its declarations as made
    QString owner;
};
QList<Reusable> reusable;

QString ownerNow()
{
    // Outside a test function (a benchmark) every store is new.
    if (!QTest::currentTestFunction())
        return QString();
    return QString::fromUtf8(QTest::currentTestFunction()) + QLatin1Char('/') + QString::fromUtf8(QTest::currentDataTag());
}

// The database's tables, columns, indexes and references, as one text.
QString fingerprint(const Target& t)
{
    QString huella;
    withRaw(t, nullptr, [&](QSqlQuery& q) {
        const char* const partes[] = {
            "SELECT GROUP_CONCAT(CONCAT_WS('|', TABLE_NAME, COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, IFNULL(COLUMN_DEFAULT, '~'), "
            "EXTRA, IFNULL(COLLATION_NAME, '')) ORDER BY TABLE_NAME, ORDINAL_POSITION SEPARATOR ';') "
            "FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE()",
            "SELECT GROUP_CONCAT(CONCAT_WS('|', TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX, COLUMN_NAME, NON_UNIQUE) "
            "ORDER BY TABLE_NAME, INDEX_NAME, SEQ_IN_INDEX SEPARATOR ';') "
            "FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE()",
            "SELECT GROUP_CONCAT(CONCAT_WS('|', TABLE_NAME, CONSTRAINT_NAME, REFERENCED_TABLE_NAME, DELETE_RULE, UPDATE_RULE) "
            "ORDER BY TABLE_NAME, CONSTRAINT_NAME SEPARATOR ';') "
            "FROM information_schema.REFERENTIAL_CONSTRAINTS WHERE CONSTRAINT_SCHEMA = DATABASE()"};
        for (const char* sql : partes) {
            if (!q.exec(QString::fromLatin1(sql)) || !q.next())
                return false;
            huella += q.value(0).toString() + QLatin1Char('#');
        }
        return true;
    });
    return huella;
}

// Empties r's tables and seeds them again, when its declarations are still
// as made and no other connection holds it; false otherwise.
bool reset(Reusable& r)
{
    Target t;
    t.database = r.database;
    if (fingerprint(t) != r.fingerprint)
        return false;
    static const QStringList semilla = [] {
        QStringList todo = tarvikdb::statements(QStringLiteral("mariadb"), true);
        return todo.mid(tarvikdb::statements(QStringLiteral("mariadb"), false).size());
    }();
    return withRaw(t, nullptr, [&](QSqlQuery& q) {
        if (!q.exec(QStringLiteral("SET SESSION lock_wait_timeout = 1")) || !q.exec(QStringLiteral("SHOW TABLES")))
            return false;
        QStringList tablas;
        while (q.next())
            tablas << q.value(0).toString();
        if (!q.exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 0")))
            return false;
        for (const QString& tabla : tablas)
            if (!q.exec(QStringLiteral("TRUNCATE TABLE `%1`").arg(tabla)))
                return false;
        for (const QString& s : semilla)
            if (!q.exec(s))
                return false;
        return q.exec(QStringLiteral("SET FOREIGN_KEY_CHECKS = 1"));
    });
}

}  // namespace

void fail(const QString& message)
{
    // Outside a test function (a benchmark) there is nobody to report to.
    if (!QTest::currentTestFunction())
        qFatal("%s", qPrintable(message));
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

QString engine()
{
    const QString e = qEnvironmentVariable("TARVIK_TEST_ENGINE").trimmed().toLower();
    return e.isEmpty() ? QStringLiteral("sqlite") : e;
}

bool mariadb()
{
    return engine() == QLatin1String("mariadb");
}

QString serverHost()
{
    return qEnvironmentVariable("TARVIK_MARIADB_HOST");
}

int serverPort()
{
    return qEnvironmentVariableIntValue("TARVIK_MARIADB_PORT");
}

Target fresh()
{
    Target t;
    QString error;
    const int n = ++counter;
    if (engine() == QLatin1String("sqlite")) {
        if (!tempRoot) {
            tempRoot = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tarvik-test-XXXXXX"));
            if (!tempRoot->isValid()) {
                fail(QStringLiteral("No temporary folder: ") + tempRoot->errorString());
                tempRoot.reset();
                return t;
            }
        }
        const QString dir = tempRoot->filePath(QString::number(n));
        if (!QDir().mkpath(dir)) {
            fail(QStringLiteral("Cannot create ") + dir);
            return t;
        }
        const QString path = dir + QStringLiteral("/Inventario.qln");
        if (!tarvikdb::createSqliteStore(path, &error)) {
            fail(QStringLiteral("SQLite store not created: ") + error);
            return t;
        }
        t.provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
        t.connectionString = path;
        t.sqlitePath = path;
        return t;
    }
    if (engine() != QLatin1String("mariadb")) {
        fail(QStringLiteral("Unknown TARVIK_TEST_ENGINE: ") + engine());
        return t;
    }
    if (!serverConfigured())
        return t;
    auto target = [&](const QString& db) {
        t.database = db;
        t.connectionString = QStringLiteral("DRIVER={MySQL ODBC 3.51 Driver};SERVER=%1;PORT=%2;DATABASE=%3;"
                                            "UID=root;PWD=;OPTION=18475")
                                 .arg(serverHost()).arg(serverPort()).arg(db);
        return t;
    };
    // A database of an earlier test function or data row is emptied and
    // seeded again: far quicker than a new one.
    const QString owner = ownerNow();
    if (!owner.isEmpty())
        for (Reusable& r : reusable)
            if (r.owner != owner && reset(r)) {
                r.owner = owner;
                return target(r.database);
            }
    const QString db = QStringLiteral("Inventario_t%1_%2").arg(QCoreApplication::applicationPid()).arg(n);
    if (!tarvikdb::createMariaDbDatabase(serverHost(), serverPort(), QStringLiteral("root"), QString(), db, true,
                                         &error)) {
        fail(QStringLiteral("MariaDB database %1 not created on %2:%3: %4")
                 .arg(db, serverHost()).arg(serverPort()).arg(error));
        return t;
    }
    if (createdDatabases.isEmpty() && QCoreApplication::instance())
        qAddPostRoutine(dropCreatedDatabases);
    createdDatabases << db;
    target(db);
    if (!owner.isEmpty()) {
        const QString huella = fingerprint(t);
        if (!huella.isEmpty())
            reusable.append({db, huella, owner});
    }
    return t;
}

bool tryExecRaw(const Target& t, const QString& sql, QString* error)
{
    return withRaw(t, error, [&](QSqlQuery& q) { return q.exec(sql); });
}

void execRaw(const Target& t, const QString& sql)
{
    QString error;
    if (!tryExecRaw(t, sql, &error))
        fail(QStringLiteral("execRaw failed: %1\n  %2").arg(error, sql));
}

QList<Row> rowsRaw(const Target& t, const QString& sql)
{
    QList<Row> rows;
    QString error;
    const bool ok = withRaw(t, &error, [&](QSqlQuery& q) {
        if (!q.exec(sql))
            return false;
        QStringList names;
        const QSqlRecord r = q.record();
        for (int i = 0; i < r.count(); ++i)
            names << r.fieldName(i);
        while (q.next()) {
            QVariantList values;
            for (int i = 0; i < names.size(); ++i)
                values << q.value(i);
            rows << Row(names, values);
        }
        return true;
    });
    if (!ok)
        fail(QStringLiteral("queryRaw failed: %1\n  %2").arg(error, sql));
    return rows;
}

QList<QVariantList> queryRaw(const Target& t, const QString& sql)
{
    QList<QVariantList> rows;
    for (const Row& r : rowsRaw(t, sql))
        rows << r.values();
    return rows;
}

QVariant Row::operator[](const char* column) const
{
    for (qsizetype i = 0; i < names_.size(); ++i)
        if (names_.at(i).compare(QLatin1String(column), Qt::CaseInsensitive) == 0)
            return values_.at(i);
    fail(QStringLiteral("no column %1 in the row (%2)").arg(QLatin1String(column), names_.join(QStringLiteral(", "))));
    return {};
}

bool sameRow(const Row& r, Expected expected, const char* file, int line)
{
    for (const auto& [column, want] : expected) {
        const QVariant got = r[column];
        if (QTest::currentTestFailed())
            return false;
        bool same = false;
        switch (want.typeId()) {
        case QMetaType::Int:
            same = QTest::qCompare(got.toInt(), want.toInt(), column, "expected", file, line);
            break;
        case QMetaType::Double:
            same = QTest::qCompare(got.toDouble(), want.toDouble(), column, "expected", file, line);
            break;
        default:
            same = QTest::qCompare(got.toString(), want.toString(), column, "expected", file, line);
            break;
        }
        if (!same)
            return false;
    }
    return true;
}

QVariant scalarRaw(const Target& t, const QString& sql)
{
    const QList<QVariantList> rows = queryRaw(t, sql);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

QStringList columnsRaw(const Target& t, const QString& table)
{
    QStringList names;
    QString error;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table);
    const bool ok = withRaw(t, &error, [&](QSqlQuery& q) {
        if (!q.exec(sql))
            return false;
        const QSqlRecord r = q.record();
        for (int i = 0; i < r.count(); ++i)
            names << r.fieldName(i);
        return true;
    });
    if (!ok)
        fail(QStringLiteral("columnsRaw failed: %1\n  %2").arg(error, sql));
    return names;
}

}  // namespace teststore
