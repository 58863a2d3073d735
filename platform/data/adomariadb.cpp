// What the server needs: how it is reached, the session modes it runs under,
// how its catalogue reads, and its failures in the layer's terms.
#include "adoengine.h"

#include "adodb.h"
#include "adostatement.h"

#include <QSqlError>
#include <QSqlQuery>

namespace ado::mariadb {

namespace {
Error error(const QSqlError& e, bool isDelete);
}

void open(const QString& name, const QString& text, const QString& user, const QString& password)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QMARIADB")) && !QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL")))
        fail(err::NoDriver, QStringLiteral("No se puede crear el componente de acceso a datos del servidor"));
    const auto kv = parseConnectionText(text);
    const QString driver = QSqlDatabase::isDriverAvailable(QStringLiteral("QMARIADB")) ? QStringLiteral("QMARIADB") : QStringLiteral("QMYSQL");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        QString host = kv.value(QStringLiteral("SERVER"), QStringLiteral("localhost"));
        db.setHostName(host);
        db.setDatabaseName(kv.value(QStringLiteral("DATABASE")));
        db.setUserName(user.isEmpty() ? kv.value(QStringLiteral("UID")) : user);
        db.setPassword(password.isEmpty() ? kv.value(QStringLiteral("PWD")) : password);
        if (kv.contains(QStringLiteral("PORT")))
            db.setPort(kv.value(QStringLiteral("PORT")).toInt());
        // The client library reads and writes once within its limit (the
        // MySQL client's tries a read three times and a write twice): each
        // limit is the whole wait.
        QString opts = QStringLiteral("CLIENT_FOUND_ROWS=1;MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%2;"
                                      "MYSQL_OPT_WRITE_TIMEOUT=%2")
                           .arg(Connection::connectSeconds())
                           .arg(Connection::answerSeconds());
        if (kv.contains(QStringLiteral("SOCKET")))
            opts += QStringLiteral(";UNIX_SOCKET=") + kv.value(QStringLiteral("SOCKET"));
        db.setConnectOptions(opts);
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!db.open()) {
            QSqlError e = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            bool ok = false;
            long n = e.nativeErrorCode().toLong(&ok);
            // Whatever kept the connection from being made, it was never there to lose.
            const Fault f = error(e, false).fault;
            throw Error{ok && n ? n : err::OpenFailed, e.text(), f == Fault::ConnectionLost ? Fault::Unreachable : f};
        }
    }
}

namespace {

QString statement(const QString& text, const Catalog& cat)
{
    // The server's LIKE takes a backslash as its escape even with
    // NO_BACKSLASH_ESCAPES; doubled, it matches itself as on the local store.
    return sql::rewrite(text, cat, true);
}

QStringList sessionStatements()
{
    return {QStringLiteral("SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_BACKSLASH_ESCAPES,NO_ZERO_DATE,"
                           "NO_ZERO_IN_DATE,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'"),
            QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_uca1400_nopad_as_ci"),
            QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL READ COMMITTED"),
            // A unit whose workstation went silent (cut off, frozen) holds
            // its locks no longer than the workstation itself would wait.
            QStringLiteral("SET SESSION innodb_lock_wait_timeout = %1, lock_wait_timeout = %1, idle_transaction_timeout = %2")
                .arg(Connection::kLockWaitSeconds)
                .arg(Connection::answerSeconds())};
}

// The rows of a catalogue query; its failure as the layer's.
QSqlQuery catalogRows(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw error(q.lastError(), false);
    return q;
}

}  // namespace

bool clusterNode(const QSqlDatabase& db)
{
    // A server without the cluster's provider answers OFF, an older one
    // not at all: neither is a node.
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT @@wsrep_on")) && q.next() && q.value(0).toInt() == 1;
}

namespace {

QHash<QString, TableInfo> readTables(const QSqlDatabase& db)
{
    Catalog c;
    QSqlQuery q = catalogRows(db, QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, EXTRA, COLUMN_KEY, "
                                                 "CHARACTER_MAXIMUM_LENGTH, CHARACTER_OCTET_LENGTH FROM information_schema.COLUMNS "
                                                 "WHERE TABLE_SCHEMA = DATABASE() ORDER BY TABLE_NAME, ORDINAL_POSITION"));
    while (q.next()) {
        const QString tname = q.value(0).toString();
        TableInfo& t = c.tables[tname.toLower()];
        t.name = tname;
        ColumnInfo col;
        col.name = q.value(1).toString();
        const QString type = q.value(2).toString().toLower();
        if (q.value(3).toString().contains(QLatin1String("auto_increment"), Qt::CaseInsensitive))
            col.kind = Kind::AutoNumber;
        else if (type.contains(QLatin1String("int")))
            col.kind = Kind::Integer;
        else if (type == QLatin1String("date") || type == QLatin1String("datetime"))
            col.kind = Kind::Date;
        else if (type == QLatin1String("double") || type == QLatin1String("float") || type == QLatin1String("decimal"))
            col.kind = Kind::Money;
        else
            col.kind = Kind::Text;
        if (col.kind == Kind::Text && type.contains(QLatin1String("char")))
            col.maxChars = q.value(5).toInt();
        else if (col.kind == Kind::Text && type.contains(QLatin1String("text")))
            col.maxBytes = q.value(6).toInt();
        if (col.kind == Kind::AutoNumber)
            t.autoColumn = t.columns.size();
        t.columns.append(col);
    }
    q.finish();
    QSqlQuery k = catalogRows(db, QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME FROM information_schema.KEY_COLUMN_USAGE "
                                                 "WHERE TABLE_SCHEMA = DATABASE() AND CONSTRAINT_NAME = 'PRIMARY' "
                                                 "ORDER BY TABLE_NAME, ORDINAL_POSITION"));
    while (k.next()) {
        auto it = c.tables.find(k.value(0).toString().toLower());
        if (it == c.tables.end())
            continue;
        int idx = it->columnIndex(k.value(1).toString());
        if (idx >= 0)
            it->key.append(idx);
    }
    return c.tables;
}

Error numberedError(const QSqlError& e, bool isDelete)
{
    const EngineFailure f = engineFailure(e);
    const QString& text = f.text;
    const long native = f.native;
    switch (native) {
    case 1062:
    case 1586:
        return {err::Duplicate, text};
    case 1451:
        return {err::Related, text};
    case 1146:
        return {err::NoTable, text};
    case 1037:
    case 1038:
    case 2008:
        return {err::NoMemory, text};
    default:
        if (isDelete && text.contains(QLatin1String("foreign key constraint fails"), Qt::CaseInsensitive))
            return {err::Related, text};
        return {native, text};
    }
}

Fault faultOf(const QSqlError& e, bool isDelete)
{
    switch (engineFailure(e).native) {
    case 1053:  // shutdown in progress
    case 1927:  // connection killed
    case 2002:
    case 2003:
    case 2005:  // unknown server host
    case 2006:
    case 2013:
    case 2055:
    case 4031:
        return Fault::ConnectionLost;
    case 1205:  // lock wait timeout
    case 1213:  // deadlock
        return Fault::Busy;
    case 1021:
    case 1114:
        return Fault::DiskFull;
    case 1036:
    case 1142:
    case 1290:
    case 1792:
        return Fault::ReadOnly;
    case 1216:
    case 1452:
        return isDelete ? Fault::None : Fault::MissingRelated;
    case 1406:
        return Fault::TooLong;
    default:
        return Fault::None;
    }
}

Error error(const QSqlError& e, bool isDelete)
{
    Error r = numberedError(e, isDelete);
    r.fault = faultOf(e, isDelete);
    return r;
}

QString oneRow(const QString&, const QString& crit) { return QStringLiteral(" WHERE ") + crit + QStringLiteral(" LIMIT 1"); }

}  // namespace

// A connection the server dropped is opened again.
constinit const Dialect kDialect{statement, sessionStatements, error, readTables, oneRow,
                                 QLatin1String("START TRANSACTION"), QLatin1String(" () VALUES ()"), QLatin1String(" <=> ?"),
                                 true, false, false, false, nullptr, nullptr, nullptr, nullptr};

}  // namespace ado::mariadb
