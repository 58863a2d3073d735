// What the local file needs: the program's comparisons, the pragmas it runs
// under, how its catalogue reads, and its failures in the layer's terms.
#include "adoengine.h"

#include "adodb.h"
#include "adostatement.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>
#include <QUrl>
#include <QtEndian>
#include <algorithm>
#include <sqlite3.h>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ado::sqlite {

namespace {

// Comparisons that ignore case, accented capitals included.

int foldCompare(void*, int n1, const void* s1, int n2, const void* s2)
{
    // Plain ASCII (codes, most names) compares without building strings.
    const auto* a1 = static_cast<const unsigned char*>(s1);
    const auto* a2 = static_cast<const unsigned char*>(s2);
    const int n = std::min(n1, n2);
    bool ascii = true;
    for (int i = 0; i < n; ++i) {
        unsigned char c1 = a1[i], c2 = a2[i];
        if ((c1 | c2) & 0x80) {
            ascii = false;
            break;
        }
        if (c1 >= 'A' && c1 <= 'Z')
            c1 += 32;
        if (c2 >= 'A' && c2 <= 'Z')
            c2 += 32;
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
    }
    if (ascii) {
        bool restAscii = true;
        for (int i = n; i < n1 && restAscii; ++i)
            restAscii = !(a1[i] & 0x80);
        for (int i = n; i < n2 && restAscii; ++i)
            restAscii = !(a2[i] & 0x80);
        if (restAscii)
            return n1 == n2 ? 0 : (n1 < n2 ? -1 : 1);
    }
    const QString a = QString::fromUtf8(static_cast<const char*>(s1), n1).toCaseFolded();
    const QString b = QString::fromUtf8(static_cast<const char*>(s2), n2).toCaseFolded();
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool likeMatch(const QString& p, int pi, const QString& s, int si, QChar esc)
{
    while (pi < p.size()) {
        QChar c = p[pi];
        if (!esc.isNull() && c == esc && pi + 1 < p.size()) {
            if (si >= s.size() || s[si] != p[pi + 1])
                return false;
            pi += 2;
            ++si;
            continue;
        }
        if (c == QLatin1Char('%')) {
            while (pi < p.size() && p[pi] == QLatin1Char('%'))
                ++pi;
            if (pi == p.size())
                return true;
            for (int k = si; k <= s.size(); ++k)
                if (likeMatch(p, pi, s, k, esc))
                    return true;
            return false;
        }
        if (si >= s.size())
            return false;
        if (c != QLatin1Char('_') && c != s[si])
            return false;
        ++pi;
        ++si;
    }
    return si == s.size();
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    const unsigned char* pat = sqlite3_value_text(argv[0]);
    const unsigned char* str = sqlite3_value_text(argv[1]);
    if (!pat || !str) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar esc;
    if (argc == 3) {
        const unsigned char* e = sqlite3_value_text(argv[2]);
        QString es = e ? QString::fromUtf8(reinterpret_cast<const char*>(e)) : QString();
        if (es.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        esc = es[0].toCaseFolded();
    }
    const QString p = QString::fromUtf8(reinterpret_cast<const char*>(pat)).toCaseFolded();
    const QString s = QString::fromUtf8(reinterpret_cast<const char*>(str)).toCaseFolded();
    sqlite3_result_int(ctx, likeMatch(p, 0, s, 0, esc) ? 1 : 0);
}

// The file's own connection under Qt's; null when there is none.
sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant v = db.driver() ? db.driver()->handle() : QVariant();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(v.constData());
}

void registerFunctions(const QSqlDatabase& db)
{
    sqlite3* h = handleOf(db);
    if (!h)
        return;
    sqlite3_create_collation(h, "NOCASE", SQLITE_UTF8, nullptr, foldCompare);
    sqlite3_create_function(h, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(h, "like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr, nullptr);
}

// The tables every store of the program holds.
const char* const kStoreTables[] = {"ARTICULOS", "CLIENTES",     "PROVEEDORES", "empresas",        "usuarios",
                                    "Ventas",    "Compras",      "Kardex",      "Detalles_FacVen", "Detalles_FacCom",
                                    "Fact_xCobrar", "Fact_xPagar", "ncfs"};

bool writablePath(const QString& path)
{
#ifdef Q_OS_UNIX
    // access() also says no for root on a read-only mount or an immutable file.
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
#else
    return QFileInfo(path).isWritable();
#endif
}

// The longest text of a column, as the declaration's checks state it:
// length(c) <= n counts characters, length(CAST(c AS BLOB)) <= n bytes.
void readLengthChecks(TableInfo& t, const QString& ddl)
{
    static const QRegularExpression chars(QStringLiteral("length\\(\\s*(\\w+)\\s*\\)\\s*<=\\s*(\\d+)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bytes(
        QStringLiteral("length\\(\\s*CAST\\(\\s*(\\w+)\\s+AS\\s+BLOB\\s*\\)\\s*\\)\\s*<=\\s*(\\d+)"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = chars.globalMatch(ddl); it.hasNext();) {
        const auto m = it.next();
        const int i = t.columnIndex(m.captured(1));
        if (i >= 0)
            t.columns[i].maxChars = m.captured(2).toInt();
    }
    for (auto it = bytes.globalMatch(ddl); it.hasNext();) {
        const auto m = it.next();
        const int i = t.columnIndex(m.captured(1));
        if (i >= 0)
            t.columns[i].maxBytes = m.captured(2).toInt();
    }
}

Kind kindFromSqliteType(const QString& t, bool autoinc)
{
    const QString u = t.toUpper();
    if (u.contains(QLatin1String("INT")))
        return autoinc ? Kind::AutoNumber : Kind::Integer;
    if (u.contains(QLatin1String("DATE")))
        return Kind::Date;
    if (u.contains(QLatin1String("REAL")) || u.contains(QLatin1String("DOUB")) || u.contains(QLatin1String("FLOA"))
        || u.contains(QLatin1String("NUM")) || u.contains(QLatin1String("MONEY")) || u.contains(QLatin1String("DEC")))
        return Kind::Money;
    return Kind::Text;
}

// What SQLite may leave beside a file it opens.
QStringList sideFiles(const QString& path)
{
    return {path + QLatin1String("-wal"), path + QLatin1String("-shm"), path + QLatin1String("-journal")};
}

[[noreturn]] void failDamaged(const QString& path)
{
    throw Error{err::OpenFailed,
                QStringLiteral("El archivo '%1' es una base de datos del programa, pero está dañado (incompleto o "
                               "corrupto) y no se puede abrir. No lo modifique ni lo borre: restaure la última copia "
                               "de seguridad o pida ayuda al técnico")
                    .arg(QDir::toNativeSeparators(path)),
                Fault::Damaged};
}

// Whether the header counts more pages than the file holds. Writers that
// keep the count stamp bytes 92..95 with the change counter; others leave
// the count to the schema read.
bool cutShort(const QByteArray& head, qint64 size)
{
    const uchar* h = reinterpret_cast<const uchar*>(head.constData());
    const quint32 raw = qFromBigEndian<quint16>(h + 16);
    const quint64 pageSize = raw == 1 ? 65536 : raw;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) || qFromBigEndian<quint32>(h + 92) != qFromBigEndian<quint32>(h + 24))
        return false;
    return quint64(qFromBigEndian<quint32>(h + 28)) * pageSize > quint64(size);
}

struct Schema {
    bool read = false;
    bool damaged = false;
    QStringList tables;
};

// The tables of the file. Read as a file that cannot change, SQLite takes
// no lock and neither reads nor leaves a -wal or -shm; otherwise as a
// station of the program reads it, through its -wal.
Schema readSchema(const QString& path, bool asImmutable)
{
    Schema s;
    const QString name = registryName("ado-check-");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        if (asImmutable) {
            db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                               + QLatin1String("?immutable=1"));
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
        } else {
            db.setDatabaseName(path);
            db.setConnectOptions(
                QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(Connection::kLockWaitSeconds * 1000));
        }
        QSqlError e;
        if (db.open()) {
            QSqlQuery q(db);
            s.read = q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
            while (s.read && q.next())
                s.tables << q.value(0).toString().toLower();
            e = q.lastError();
        } else {
            e = db.lastError();
        }
        if (!s.read) {
            const EngineFailure f = engineFailure(e);
            const long code = f.numbered ? f.native & 0xff : -1;
            s.damaged = code == SQLITE_CORRUPT || code == SQLITE_NOTADB || f.text.contains(QLatin1String("malformed"))
                        || f.text.contains(QLatin1String("not a database"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return s;
}

void checkStoreFile(const QString& path)
{
    // Nothing is written before the file is known to be one of ours, whole
    // and writable: a file of another program, or a damaged one, is left
    // exactly as it was.
    const QString notOurs = QStringLiteral("El archivo '%1' no es una base de datos del programa").arg(path);
    QFile f(path);
    QByteArray head;
    if (f.open(QIODevice::ReadOnly))
        head = f.read(100);
    const qint64 size = f.size();
    f.close();
    if (!head.startsWith(QByteArray("SQLite format 3", 16)))
        fail(err::OpenFailed, notOurs);
    if (head.size() < 100)
        failDamaged(path);
    // While another station works on the file its checkpoints write the
    // header before the pages that follow: only a locked read tells then.
    const QStringList beside = sideFiles(path);
    const bool inUse = QFileInfo::exists(beside[0]) || QFileInfo::exists(beside[1]);
    if (!inUse && cutShort(head, size))
        failDamaged(path);
    if (!writablePath(path) || !writablePath(QFileInfo(path).absolutePath()))
        throw Error{err::ReadOnlyFile,
                    QStringLiteral("El archivo '%1' o su carpeta es de solo lectura").arg(QDir::toNativeSeparators(path)),
                    Fault::ReadOnly};
    auto ours = [](const Schema& s) {
        for (const char* t : kStoreTables)
            if (!s.tables.contains(QString::fromLatin1(t).toLower()))
                return false;
        return true;
    };
    Schema s = readSchema(path, true);
    if (inUse && !ours(s))
        s = readSchema(path, false);
    if (s.damaged)
        failDamaged(path);
    if (!ours(s))
        fail(err::OpenFailed, notOurs);
}

}  // namespace

void checkStore(const QString& path)
{
    QStringList absent;
    for (const QString& side : sideFiles(path))
        if (!QFileInfo::exists(side))
            absent << side;
    try {
        checkStoreFile(path);
    } catch (...) {
        // A refused file keeps nothing beside it that the check brought.
        for (const QString& side : absent)
            if (QFileInfo::exists(side))
                QFile::remove(side);
        throw;
    }
}

void open(const QString& name, const QString& path)
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        fail(err::NoDriver, QStringLiteral("No se puede crear el componente de acceso a datos local"));
    // Opening must never create a store: a missing file is an error.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        fail(err::OpenFailed, QStringLiteral("No se encontró el archivo '%1'").arg(path));
    checkStore(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(Connection::kLockWaitSeconds * 1000));
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!db.open()) {
            QString t = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            fail(err::OpenFailed, t);
        }
        registerFunctions(db);
    }
}

namespace {

Error error(const QSqlError& e, bool isDelete);

QString busyTimeout(int seconds) { return QStringLiteral("PRAGMA busy_timeout=%1").arg(seconds * 1000); }

QStringList sessionStatements()
{
    // The statistics gathered when the file is let go read this many rows
    // of an index: enough to tell the indexes apart, quick on any store.
    return {QStringLiteral("PRAGMA journal_mode=WAL"),
            QStringLiteral("PRAGMA synchronous=FULL"),
            QStringLiteral("PRAGMA foreign_keys=ON"),
            busyTimeout(Connection::kLockWaitSeconds),
            QStringLiteral("PRAGMA analysis_limit=1000")};
}

// data_version changes with every commit of another connection, the total
// of changes with every row this one wrote.
bool storeState(Connection& cn, StoreState* state)
{
    sqlite3* h = handleOf(cn.database());
    if (!h)
        return false;
    try {
        QSqlQuery& q = cn.prepared(QStringLiteral("PRAGMA data_version"));
        const bool read = q.exec() && q.next();
        state->outside = read ? q.value(0).toLongLong() : -1;
        q.finish();
    } catch (const Error&) {
        return false;
    }
    state->own = sqlite3_total_changes64(h);
    return state->known();
}

// Statistics that no longer fit their table mislead the planner worse than
// none: a table counted at one row when the store was made is scanned
// whole for every row of another once it holds a thousand. Every table
// whose rows are now far more or far fewer than its statistics counted
// (the highest row number tells, without counting) has them gathered
// again; then SQLite's own rule, for the tables this connection read. It
// never waits on another workstation's lock: a busy file just goes
// without until next time.
void tidy(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    q.exec(busyTimeout(0));
    QHash<QString, qint64> counted;
    if (q.exec(QStringLiteral("SELECT tbl, stat FROM sqlite_stat1")))
        while (q.next()) {
            const QString stat = q.value(1).toString();
            const qint64 rows = QStringView(stat).left(stat.indexOf(QLatin1Char(' '))).toLongLong();
            qint64& c = counted[q.value(0).toString()];
            c = std::max(c, rows);
        }
    for (auto it = counted.cbegin(); it != counted.cend(); ++it) {
        const QString table = QLatin1Char('"') + QString(it.key()).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
        if (!q.exec(QStringLiteral("SELECT max(rowid) FROM ") + table) || !q.next())
            continue;
        const qint64 now = q.value(0).toLongLong(), then = it.value();
        if (now > 4 * then + 100 || then > 4 * now + 100)
            q.exec(QStringLiteral("ANALYZE ") + table);
    }
    q.exec(QStringLiteral("PRAGMA optimize"));
    q.exec(busyTimeout(Connection::kLockWaitSeconds));
}

QHash<QString, TableInfo> readTables(const QSqlDatabase& db)
{
    QHash<QString, TableInfo> tables_;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%'")))
        throw error(q.lastError(), false);
    QVector<QPair<QString, QString>> tables;
    while (q.next())
        tables.append({q.value(0).toString(), q.value(1).toString()});
    q.finish();
    for (const auto& [name, ddl] : tables) {
        TableInfo t;
        t.name = name;
        const bool autoinc = ddl.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
        QSqlQuery info(db);
        if (!info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(name)))
            throw error(info.lastError(), false);
        QVector<QPair<int, int>> pk;
        while (info.next()) {
            ColumnInfo col;
            col.name = info.value(1).toString();
            const int pkPos = info.value(5).toInt();
            col.kind = kindFromSqliteType(info.value(2).toString(), autoinc && pkPos > 0);
            if (col.kind == Kind::AutoNumber)
                t.autoColumn = t.columns.size();
            if (pkPos > 0)
                pk.append({pkPos, int(t.columns.size())});
            t.columns.append(col);
        }
        std::sort(pk.begin(), pk.end());
        for (auto& p : pk)
            t.key.append(p.second);
        readLengthChecks(t, ddl);
        tables_.insert(name.toLower(), t);
    }
    return tables_;
}

Error numberedError(const QSqlError& e, bool isDelete)
{
    const EngineFailure f = engineFailure(e);
    const QString& text = f.text;
    const long native = f.native;
    if (text.contains(QLatin1String("UNIQUE constraint failed"), Qt::CaseInsensitive))
        return {err::Duplicate, text};
    if (text.contains(QLatin1String("FOREIGN KEY constraint failed"), Qt::CaseInsensitive) && isDelete)
        return {err::Related, text};
    if (text.contains(QLatin1String("no such table"), Qt::CaseInsensitive))
        return {err::NoTable, text};
    if (text.contains(QLatin1String("out of memory"), Qt::CaseInsensitive))
        return {err::NoMemory, text};
    return {native, text};
}

Fault faultOf(const QSqlError& e, long number, bool isDelete)
{
    const EngineFailure f = engineFailure(e);
    const QString& text = f.text;
    auto has = [&](const char* w) { return text.contains(QLatin1String(w), Qt::CaseInsensitive); };
    if (number == err::Related)
        return Fault::None;
    if (has("FOREIGN KEY constraint failed"))
        return isDelete ? Fault::None : Fault::MissingRelated;
    if (has("CHECK constraint failed") && has("length("))
        return Fault::TooLong;
    switch (f.numbered ? f.native & 0xff : -1) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Fault::Busy;
    case SQLITE_READONLY:
        return Fault::ReadOnly;
    case SQLITE_FULL:
        return Fault::DiskFull;
    default:
        break;
    }
    if (has("database is locked") || has("database table is locked"))
        return Fault::Busy;
    if (has("disk is full"))
        return Fault::DiskFull;
    if (has("readonly database"))
        return Fault::ReadOnly;
    return Fault::None;
}

Error error(const QSqlError& e, bool isDelete)
{
    Error r = numberedError(e, isDelete);
    r.fault = faultOf(e, r.number, isDelete);
    return r;
}

QString statement(const QString& text, const Catalog& cat)
{
    // The write lock of the whole unit already holds the rows.
    return sql::likeAsEquality(sql::dropLockClause(sql::rewrite(text, cat, false)), cat);
}

// One cell of the current row into rows, the value the same as Qt's driver
// hands for it and the layer then makes of it; a text of plain ASCII and
// the values a column's kind takes go in without building that value.
void readCell(sqlite3_stmt* st, int i, RowStore& rows, const Recordset::Column& c)
{
    const bool asIs = c.tableColumn == -2;
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        rows.addNull();
        return;
    case SQLITE_INTEGER: {
        const qint64 n = sqlite3_column_int64(st, i);
        if (asIs || c.kind == Kind::Integer || c.kind == Kind::AutoNumber)
            rows.addInteger(n);
        else
            addRead(rows, QVariant(qlonglong(n)), c);
        return;
    }
    case SQLITE_FLOAT: {
        const double d = sqlite3_column_double(st, i);
        if (asIs || c.kind == Kind::Money)
            rows.addDouble(d);
        else
            addRead(rows, QVariant(d), c);
        return;
    }
    case SQLITE_BLOB:
        addRead(rows, QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i))), c);
        return;
    default:
        break;
    }
    const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    const int bytes = sqlite3_column_bytes(st, i);
    bool ascii = p != nullptr;
    for (int k = 0; k < bytes && ascii; ++k)
        ascii = uchar(p[k]) < 0x80;
    if (ascii && (asIs || c.kind == Kind::Text)) {
        rows.addLatin1(QLatin1StringView(p, bytes));
        return;
    }
    if (ascii && c.kind == Kind::Date) {
        const QDate d = storedDate(p, bytes);
        if (d.isValid()) {
            rows.addDate(d.toJulianDay());
            return;
        }
    }
    const QStringView s(static_cast<const char16_t*>(sqlite3_column_text16(st, i)), sqlite3_column_bytes16(st, i) / 2);
    if (asIs || c.kind == Kind::Text)
        rows.addText(s);
    else
        addRead(rows, QVariant(s.toString()), c);
}

// The statement Qt's driver compiled q into; null when there is none.
sqlite3_stmt* statementOf(const QSqlQuery& q)
{
    const QVariant h = q.result() ? q.result()->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt* const*>(h.constData());
}

// A step that failed, worded and numbered as Qt's driver reports it: the
// generic codes are reset first, which tells the specific one.
QSqlError stepError(sqlite3_stmt* st, int rc)
{
    const int code = rc == SQLITE_ERROR || rc == SQLITE_CONSTRAINT ? sqlite3_reset(st) : rc;
    const QSqlError e(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                      QString(reinterpret_cast<const QChar*>(sqlite3_errmsg16(sqlite3_db_handle(st)))), QSqlError::ConnectionError,
                      QString::number(code));
    sqlite3_reset(st);
    return e;
}

bool readRest(QSqlQuery& q, RowStore& rows, const QVector<Recordset::Column>& columns, QSqlError* error)
{
    sqlite3_stmt* st = statementOf(q);
    const int n = int(columns.size());
    if (!st || sqlite3_column_count(st) != n)
        return false;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (n == 0)
            rows.appendRow({});
        for (int i = 0; i < n; ++i)
            readCell(st, i, rows, columns[i]);
    }
    if (rc != SQLITE_DONE)
        *error = stepError(st, rc);
    return true;
}

// Whether Qt's driver would bind v as null, a text, or a number, the kinds
// the layer's writes bind.
bool directlyBindable(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return true;
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::Double:
    case QMetaType::Int:
        return true;
    default:
        return false;
    }
}

int bindOne(sqlite3_stmt* st, int at, const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return sqlite3_bind_null(st, at);
    switch (v.typeId()) {
    case QMetaType::QString: {
        const QString& s = *static_cast<const QString*>(v.constData());
        if (s.isNull())
            return sqlite3_bind_null(st, at);
        return sqlite3_bind_text16(st, at, s.unicode(), int(s.size() * sizeof(QChar)), SQLITE_STATIC);
    }
    case QMetaType::LongLong:
        return sqlite3_bind_int64(st, at, v.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(st, at, v.toDouble());
    default:
        return sqlite3_bind_int(st, at, v.toInt());
    }
}

// Qt's driver spends more on binding a row's values than the file on
// storing them.
bool runWrite(QSqlQuery& q, const QVector<QVariant>& binds, QSqlError* error, qint64* changes, QVariant* id)
{
    sqlite3_stmt* st = statementOf(q);
    if (!st || sqlite3_bind_parameter_count(st) != binds.size() || !std::all_of(binds.begin(), binds.end(), directlyBindable))
        return false;
    sqlite3_reset(st);
    sqlite3* db = sqlite3_db_handle(st);
    int rc = SQLITE_OK;
    for (int i = 0; i < binds.size() && rc == SQLITE_OK; ++i)
        rc = bindOne(st, i + 1, binds[i]);
    if (rc != SQLITE_OK) {
        *error =
            QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to bind parameters"),
                      QString(reinterpret_cast<const QChar*>(sqlite3_errmsg16(db))), QSqlError::StatementError, QString::number(rc));
    } else if (rc = sqlite3_step(st); rc == SQLITE_DONE || rc == SQLITE_ROW) {
        *changes = sqlite3_changes(db);
        const qint64 given = sqlite3_last_insert_rowid(db);
        *id = given ? QVariant(given) : QVariant();
        sqlite3_reset(st);
    } else {
        *error = stepError(st, rc);
    }
    // The texts bound belong to the caller.
    sqlite3_clear_bindings(st);
    return true;
}

QString oneRow(const QString& table, const QString& crit)
{
    return QStringLiteral(" WHERE rowid = (SELECT rowid FROM ") + table + QStringLiteral(" WHERE ") + crit
           + QStringLiteral(" LIMIT 1)");
}

}  // namespace

// Writers queue on the file's lock from the start of a unit; a result read
// again reuses its compiled form; dates are kept as text.
constinit const Dialect kDialect{statement, sessionStatements, error, readTables, oneRow,
                                 QLatin1String("BEGIN IMMEDIATE"), QLatin1String(" DEFAULT VALUES"), QLatin1String(" IS ?"),
                                 false, true, true, true, readRest, runWrite, storeState, tidy};

}  // namespace ado::sqlite
