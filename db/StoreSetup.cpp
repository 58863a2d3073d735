#include "StoreSetup.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

// The SQL lives in a resource of this static library; registering it here
// also keeps the linker from dropping it.
static void initStoreResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(db);
        return true;
    }();
    (void)done;
}

namespace tarvikdb {

namespace {

QString uniqueConnectionName(const char* kind)
{
    static QAtomicInt counter;
    return QStringLiteral("tarvikdb_%1_%2").arg(QLatin1String(kind)).arg(counter.fetchAndAddRelaxed(1));
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QString readResource(const QString& path)
{
    initStoreResources();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

bool runAll(QSqlDatabase& db, const QStringList& sql, QString* error)
{
    QSqlQuery q(db);
    for (const QString& s : sql) {
        if (!q.exec(s)) {
            setError(error, q.lastError().text() + QStringLiteral("\n") + s);
            return false;
        }
    }
    return true;
}

// The local file's planner has only the statistics ANALYZE gathers: without
// them it takes an index that picks every invoice of the company.
const QStringList kGatherStatistics{QStringLiteral("ANALYZE")};

bool validDatabaseName(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z0-9_]{1,64}$"));
    return re.match(name).hasMatch();
}

// Opens a server connection without a default database.
bool openServer(QSqlDatabase& db, const QString& host, int port, const QString& user,
                const QString& password, QString* error)
{
    if (!db.isValid()) {
        setError(error, QStringLiteral("El controlador QMYSQL de Qt no está disponible"));
        return false;
    }
    db.setHostName(host);
    if (port > 0)
        db.setPort(port);
    db.setUserName(user);
    db.setPassword(password);
    if (!db.open()) {
        setError(error, db.lastError().text());
        return false;
    }
    return true;
}

int tableCount(QSqlDatabase& db, const QString& database, QString* error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = ?"));
    q.addBindValue(database);
    if (!q.exec() || !q.next()) {
        setError(error, q.lastError().text());
        return -1;
    }
    return q.value(0).toInt();
}

bool databaseExists(QSqlDatabase& db, const QString& database, bool* exists, QString* error)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = ?"));
    q.addBindValue(database);
    if (!q.exec() || !q.next()) {
        setError(error, q.lastError().text());
        return false;
    }
    *exists = q.value(0).toInt() > 0;
    return true;
}

// The tables and the statements that add an index (by index name) of
// engine's declarations: CREATE INDEX, or an ALTER TABLE adding a column
// together with its key.
void declared(const QString& engine, QStringList* tables, QHash<QString, QString>* indexes)
{
    static const QRegularExpression table(QStringLiteral("^CREATE\\s+TABLE\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression index(QStringLiteral("^(?:CREATE\\s+INDEX\\s+|ALTER\\s+TABLE\\s+\\w+\\s+ADD\\b.*\\bKEY\\s+)(\\w+)"),
                                          QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    for (const QString& s : statements(engine, false)) {
        if (const auto m = table.match(s); m.hasMatch())
            *tables << m.captured(1).toLower();
        else if (const auto m = index.match(s); m.hasMatch())
            indexes->insert(m.captured(1).toLower(), s);
    }
}

QStringList lowerColumn(QSqlQuery& q)
{
    QStringList out;
    while (q.next())
        out << q.value(0).toString().toLower();
    return out;
}

// Creates on db the declared indexes that indexesSql does not list, once
// tablesSql has listed every declared table (both take bound, unless null).
int addMissing(QSqlDatabase& db, const QString& engine, const QString& tablesSql, const QString& indexesSql,
               const QString& bound, const QString& where, QString* error)
{
    QStringList tables;
    QHash<QString, QString> indexes;
    declared(engine, &tables, &indexes);
    QSqlQuery q(db);
    auto listed = [&](const QString& sql, QStringList* out) {
        q.prepare(sql);
        if (!bound.isNull())
            q.addBindValue(bound);
        if (!q.exec()) {
            setError(error, QStringLiteral("%1 no es un almacén de Tarvik; no se modifica (%2)").arg(where, q.lastError().text()));
            return false;
        }
        *out = lowerColumn(q);
        return true;
    };
    QStringList have, haveIndexes;
    if (!listed(tablesSql, &have) || !listed(indexesSql, &haveIndexes))
        return -1;
    for (const QString& t : tables)
        if (!have.contains(t)) {
            setError(error, QStringLiteral("%1 no es un almacén de Tarvik; no se modifica").arg(where));
            return -1;
        }
    int added = 0;
    for (auto it = indexes.cbegin(); it != indexes.cend(); ++it) {
        if (haveIndexes.contains(it.key()))
            continue;
        if (!q.exec(it.value())) {
            setError(error, q.lastError().text() + QStringLiteral("\n") + it.value());
            return -1;
        }
        ++added;
    }
    return added;
}

}  // namespace

QStringList splitStatements(const QString& script)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!quote.isNull()) {
            cur += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            quote = c;
            cur += c;
        } else if (c == QLatin1Char('-') && i + 1 < script.size() && script.at(i + 1) == QLatin1Char('-')) {
            while (i < script.size() && script.at(i) != QLatin1Char('\n'))
                ++i;
            cur += QLatin1Char('\n');
        } else if (c == QLatin1Char(';')) {
            const QString s = cur.trimmed();
            if (!s.isEmpty())
                out << s;
            cur.clear();
        } else {
            cur += c;
        }
    }
    const QString s = cur.trimmed();
    if (!s.isEmpty())
        out << s;
    return out;
}

QStringList statements(const QString& engine, bool withSeed)
{
    if (engine != QLatin1String("sqlite") && engine != QLatin1String("mariadb"))
        return {};
    QStringList out = splitStatements(readResource(QStringLiteral(":/tarvikdb/%1/schema.sql").arg(engine)));
    if (withSeed)
        out += splitStatements(readResource(QStringLiteral(":/tarvikdb/seed.sql")));
    return out;
}

bool createSqliteStore(const QString& path, QString* error)
{
    if (path.isEmpty()) {
        setError(error, QStringLiteral("Falta la ruta del archivo"));
        return false;
    }
    // NewOnly is an atomic exclusive create: an existing store is never
    // opened, let alone changed.
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            setError(error, QFileInfo::exists(path)
                                ? QStringLiteral("El archivo %1 ya existe; no se modifica").arg(path)
                                : QStringLiteral("No se puede crear %1: %2").arg(path, f.errorString()));
            return false;
        }
    }

    const QString name = uniqueConnectionName("sqlite");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        if (!db.isValid()) {
            setError(error, QStringLiteral("El controlador QSQLITE de Qt no está disponible"));
        } else {
            db.setDatabaseName(path);
            if (!db.open()) {
                setError(error, db.lastError().text());
            } else {
                QSqlQuery q(db);
                if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next()
                    || q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
                    setError(error, QStringLiteral("No se pudo activar el modo WAL: ") + q.lastError().text());
                } else if (!q.exec(QStringLiteral("PRAGMA foreign_keys=ON"))) {
                    setError(error, q.lastError().text());
                } else if (!db.transaction()) {
                    setError(error, db.lastError().text());
                } else {
                    ok = runAll(db, statements(QStringLiteral("sqlite"), true), error) && runAll(db, kGatherStatistics, error);
                    ok = ok ? db.commit() : (db.rollback(), false);
                    if (!ok && error && error->isEmpty())
                        *error = db.lastError().text();
                }
                q.finish();
                db.close();
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok) {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
    }
    return ok;
}

bool createMariaDbDatabase(const QString& host, int port, const QString& user, const QString& password,
                           const QString& database, bool dropFirst, QString* error)
{
    if (!validDatabaseName(database)) {
        setError(error, QStringLiteral("Nombre de base de datos no válido: %1").arg(database));
        return false;
    }
    const QString name = uniqueConnectionName("mariadb");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        if (openServer(db, host, port, user, password, error)) {
            const QString quoted = QLatin1Char('`') + database + QLatin1Char('`');
            QSqlQuery q(db);
            bool existed = false;
            bool usable = true;
            if (dropFirst) {
                if (!q.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quoted)) {
                    setError(error, q.lastError().text());
                    usable = false;
                }
            } else if (!databaseExists(db, database, &existed, error)) {
                usable = false;
            } else if (existed) {
                const int n = tableCount(db, database, error);
                if (n != 0) {
                    if (n > 0)
                        setError(error, QStringLiteral("La base de datos %1 ya existe con %2 tablas; no se modifica")
                                            .arg(database).arg(n));
                    usable = false;
                }
            }
            if (usable) {
                // Strict, and no silent fall-back to an engine without
                // foreign keys.
                ok = q.exec(QStringLiteral("SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_ENGINE_SUBSTITUTION'"))
                    && q.exec(QStringLiteral("CREATE DATABASE IF NOT EXISTS %1 CHARACTER SET utf8mb4 "
                                             "COLLATE utf8mb4_uca1400_nopad_as_ci").arg(quoted))
                    && q.exec(QStringLiteral("USE ") + quoted);
                if (!ok)
                    setError(error, q.lastError().text());
                else
                    ok = runAll(db, statements(QStringLiteral("mariadb"), true), error);
                // Table definitions cannot be rolled back: drop what this call
                // created rather than leave half a store.
                if (!ok && !existed) {
                    QSqlQuery drop(db);
                    drop.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + quoted);
                }
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

int addMissingSqliteIndexes(const QString& path, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        setError(error, QStringLiteral("No se encontró el archivo %1").arg(path));
        return -1;
    }
    const QString name = uniqueConnectionName("sqlite");
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Read-write but never create: a missing file stays missing.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=30000"));
        if (!db.open()) {
            setError(error, db.lastError().text());
        } else {
            // A file that is not a database fails the first read and is
            // left as it was.
            n = addMissing(db, QStringLiteral("sqlite"),
                           QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"),
                           QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"), QString(),
                           QStringLiteral("El archivo %1").arg(path), error);
            if (n >= 0 && !runAll(db, kGatherStatistics, error))
                n = -1;
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return n;
}

int addMissingMariaDbIndexes(const QString& host, int port, const QString& user, const QString& password,
                             const QString& database, QString* error)
{
    if (!validDatabaseName(database)) {
        setError(error, QStringLiteral("Nombre de base de datos no válido: %1").arg(database));
        return -1;
    }
    const QString name = uniqueConnectionName("mariadb");
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        if (openServer(db, host, port, user, password, error)) {
            QSqlQuery use(db);
            if (!use.exec(QStringLiteral("USE `%1`").arg(database)))
                setError(error, use.lastError().text());
            else
                n = addMissing(db, QStringLiteral("mariadb"),
                               QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA = ?"),
                               QStringLiteral("SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = ?"),
                               database, QStringLiteral("La base de datos %1").arg(database), error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return n;
}

bool createPictureFolders(const QString& programFolder, QString* error)
{
    for (const char* sub : {"Articulos", "Clientes", "Proveedores"}) {
        const QString folder = QDir(programFolder).filePath(QStringLiteral("Imagenes/") + QLatin1String(sub));
        if (!QDir().mkpath(folder)) {
            if (error)
                *error = QStringLiteral("no se pudo crear la carpeta ") + folder;
            return false;
        }
    }
    return true;
}

int mariaDbTableCount(const QString& host, int port, const QString& user, const QString& password,
                      const QString& database, QString* error)
{
    const QString name = uniqueConnectionName("mariadb");
    int n = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
        if (openServer(db, host, port, user, password, error)) {
            n = tableCount(db, database, error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return n;
}

}  // namespace tarvikdb
