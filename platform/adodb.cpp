#include "adodb.h"

#include "textfmt.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <new>
#include <sqlite3.h>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ado {

namespace {

std::function<void(const QString&)>& writeHook()
{
    static std::function<void(const QString&)> h;
    return h;
}

void beforeWrite(const QString& sql)
{
    if (writeHook())
        writeHook()(sql);
}

// Numbers the error check knows.
constexpr long kDuplicate = 3022;
constexpr long kRelated = 3200;
constexpr long kNoTable = 3078;
constexpr long kNoDriver = 429;
constexpr long kNoMemory = 7;
constexpr long kTypeMismatch = 3421;
constexpr long kConflict = 3197;
constexpr long kNoCurrentRow = 3021;
constexpr long kNoItem = 3265;
constexpr long kClosed = 3704;
constexpr long kNotUpdatable = 3251;
constexpr long kOpenFailed = -2147467259;
constexpr long kTooLong = 3163;
constexpr long kLost = 2006;
constexpr long kReadOnlyFile = 8;

[[noreturn]] void fail(long n, const QString& d) { throw Error{n, d}; }

// ---- SQLite: comparisons that ignore case, accented capitals included ----

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

void registerSqliteFunctions(const QSqlDatabase& db)
{
    QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        return;
    sqlite3* h = *static_cast<sqlite3* const*>(v.constData());
    if (!h)
        return;
    sqlite3_create_collation(h, "NOCASE", SQLITE_UTF8, nullptr, foldCompare);
    sqlite3_create_function(h, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(h, "like", 3, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr, nullptr);
}

// ---- statement text ----

struct Token {
    enum Type { Word, String, Punct } type;
    QString text;
    int pos;
    int depth;
};

// Index of the apostrophe that closes the text literal opening at i ('' is
// an apostrophe inside it), or the end of s.
int closingQuote(const QString& s, int i)
{
    int j = i + 1;
    while (j < s.size()) {
        if (s[j] == QLatin1Char('\'')) {
            if (j + 1 < s.size() && s[j + 1] == QLatin1Char('\''))
                j += 2;
            else
                break;
        } else {
            ++j;
        }
    }
    return j;
}

QVector<Token> tokenize(const QString& s)
{
    QVector<Token> out;
    int depth = 0;
    for (int i = 0; i < s.size();) {
        QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('\'')) {
            const int j = closingQuote(s, i);
            out.append({Token::String, s.mid(i, j - i + 1), i, depth});
            i = j + 1;
        } else if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
            int j = i;
            while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_') || s[j] == QLatin1Char('.')))
                ++j;
            out.append({Token::Word, s.mid(i, j - i), i, depth});
            i = j;
        } else {
            if (c == QLatin1Char(')'))
                --depth;
            out.append({Token::Punct, QString(c), i, depth});
            if (c == QLatin1Char('('))
                ++depth;
            ++i;
        }
    }
    return out;
}

bool isWord(const Token& t, const char* w)
{
    return t.type == Token::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

QString jetDate(const QString& inner)
{
    // #MM/dd/yyyy#, month first.
    const QStringList p = inner.trimmed().split(QLatin1Char('/'));
    if (p.size() != 3)
        return QString();
    QDate d(p[2].toInt(), p[0].toInt(), p[1].toInt());
    if (!d.isValid())
        return QString();
    return QLatin1Char('\'') + d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
}

// Whether column (maybe qualified) is text in every table that has it.
bool isTextColumn(const QString& column, const Catalog& cat)
{
    const int dot = column.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const TableInfo* t = cat.table(column.left(dot));
        const int i = t ? t->columnIndex(column.mid(dot + 1)) : -1;
        return i >= 0 && t->columns[i].kind == Kind::Text;
    }
    bool found = false;
    for (const TableInfo& t : cat.tables) {
        const int i = t.columnIndex(column);
        if (i < 0)
            continue;
        if (t.columns[i].kind != Kind::Text)
            return false;
        found = true;
    }
    return found;
}

// SQLite: "column LIKE 'text'" with no wildcard in the text compares as
// equality in the same folding collation, which lets the store use the
// column's index (its own like() cannot). Only where = binds the operands
// as LIKE does: a plain column, a whole condition.
QString likeAsEquality(const QString& sql, const Catalog& cat)
{
    if (!sql.contains(QLatin1String("like"), Qt::CaseInsensitive))
        return sql;
    const QVector<Token> tk = tokenize(sql);
    auto opens = [](const Token& t) {
        return (t.type == Token::Punct && t.text == QLatin1String("(")) || isWord(t, "WHERE") || isWord(t, "AND")
               || isWord(t, "OR") || isWord(t, "NOT") || isWord(t, "ON") || isWord(t, "HAVING");
    };
    auto closes = [](const Token& t) {
        return (t.type == Token::Punct && (t.text == QLatin1String(")") || t.text == QLatin1String(";"))) || isWord(t, "AND")
               || isWord(t, "OR") || isWord(t, "ORDER") || isWord(t, "GROUP") || isWord(t, "FOR") || isWord(t, "LIMIT")
               || isWord(t, "UNION");
    };
    QString out;
    int copied = 0;
    for (int i = 2; i + 1 < tk.size(); ++i) {
        const Token& lit = tk[i + 1];
        if (!isWord(tk[i], "LIKE") || tk[i - 1].type != Token::Word || lit.type != Token::String || !opens(tk[i - 2]))
            continue;
        if (lit.text.contains(QLatin1Char('%')) || lit.text.contains(QLatin1Char('_')))
            continue;
        if ((i + 2 < tk.size() && !closes(tk[i + 2])) || !isTextColumn(tk[i - 1].text, cat))
            continue;
        out += QStringView(sql).mid(copied, tk[i].pos - copied);
        out += QStringLiteral("= ") + lit.text + QStringLiteral(" COLLATE NOCASE");
        copied = lit.pos + lit.text.size();
    }
    if (copied == 0)
        return sql;
    out += QStringView(sql).mid(copied);
    return out;
}

}  // namespace

// ---- catalog ----

int TableInfo::columnIndex(const QString& n) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(n, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const TableInfo* Catalog::table(const QString& name) const
{
    auto it = tables.constFind(name.toLower());
    return it == tables.constEnd() ? nullptr : &it.value();
}

bool Catalog::isDateColumn(const QString& column) const { return dateColumns.value(column.toLower(), false); }

// ---- connection ----

static QAtomicInt connectionSerial;

Connection::Connection()
{
    name_ = QStringLiteral("ado-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
}

Connection::~Connection()
{
    // At process exit Qt's connection registry may already be gone.
    if (QCoreApplication::instance())
        Close();
}

QSqlQuery& Connection::prepared(const QString& sql)
{
    auto it = statements_.find(sql);
    if (it != statements_.end())
        return *it.value();
    auto q = std::make_shared<QSqlQuery>(database());
    q->setForwardOnly(true);
    if (!q->prepare(sql))
        throw makeError(q->lastError(), sql, sql.startsWith(QLatin1String("DELETE")));
    if (statements_.size() > 64)
        statements_.clear();
    statements_.insert(sql, q);
    return *q;
}

void Connection::setWriteHook(std::function<void(const QString&)> hook) { writeHook() = std::move(hook); }

QSqlDatabase Connection::database() const
{
    if (!db_.isValid())
        db_ = QSqlDatabase::database(name_, false);
    return db_;
}

bool Connection::isOpen() const { return engine_ != Engine::None && database().isOpen(); }

void Connection::Close()
{
    if (QSqlDatabase::contains(name_)) {
        statements_.clear();
        plans_.reset();
        db_ = QSqlDatabase();
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    statements_.clear();
    plans_.reset();
    lostText_.clear();
    db_ = QSqlDatabase();
    engine_ = Engine::None;
    depth_ = 0;
    rollbackOnly_ = false;
    catalog_ = Catalog();
}

static QHash<QString, QString> parseConnectionText(const QString& text)
{
    QHash<QString, QString> kv;
    int i = 0;
    while (i < text.size()) {
        int eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        QString key = text.mid(i, eq - i).trimmed().toUpper();
        int j = eq + 1;
        QString value;
        if (j < text.size() && text[j] == QLatin1Char('{')) {
            int close = text.indexOf(QLatin1Char('}'), j);
            if (close < 0)
                close = text.size();
            value = text.mid(j + 1, close - j - 1);
            j = close + 1;
            int semi = text.indexOf(QLatin1Char(';'), j);
            j = semi < 0 ? text.size() : semi + 1;
        } else {
            int semi = text.indexOf(QLatin1Char(';'), j);
            if (semi < 0)
                semi = text.size();
            value = text.mid(j, semi - j);
            j = semi + 1;
        }
        kv.insert(key, value.trimmed());
        i = j;
    }
    return kv;
}

void Connection::Open(const QString& connectionString, const QString& user, const QString& password)
{
    if (isOpen())
        fail(3705, QStringLiteral("La operación no se permite si el objeto está abierto."));
    Close();
    const QString text = connectionString.isEmpty() ? ConnectionString : connectionString;
    const bool odbc = text.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive);

    if (odbc) {
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QMARIADB")) && !QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL")))
            fail(kNoDriver, QStringLiteral("No se puede crear el componente de acceso a datos del servidor"));
        const auto kv = parseConnectionText(text);
        const QString driver = QSqlDatabase::isDriverAvailable(QStringLiteral("QMARIADB")) ? QStringLiteral("QMARIADB") : QStringLiteral("QMYSQL");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(driver, name_);
            QString host = kv.value(QStringLiteral("SERVER"), QStringLiteral("localhost"));
            db.setHostName(host);
            db.setDatabaseName(kv.value(QStringLiteral("DATABASE")));
            db.setUserName(user.isEmpty() ? kv.value(QStringLiteral("UID")) : user);
            db.setPassword(password.isEmpty() ? kv.value(QStringLiteral("PWD")) : password);
            if (kv.contains(QStringLiteral("PORT")))
                db.setPort(kv.value(QStringLiteral("PORT")).toInt());
            QString opts = QStringLiteral("CLIENT_FOUND_ROWS=1;MYSQL_OPT_CONNECT_TIMEOUT=10");
            if (kv.contains(QStringLiteral("SOCKET")))
                opts += QStringLiteral(";UNIX_SOCKET=") + kv.value(QStringLiteral("SOCKET"));
            db.setConnectOptions(opts);
            db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
            if (!db.open()) {
                QSqlError e = db.lastError();
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(name_);
                bool ok = false;
                long n = e.nativeErrorCode().toLong(&ok);
                fail(ok && n ? n : kOpenFailed, e.text());
            }
        }
        engine_ = Engine::MariaDB;
        try {
            execRaw(QStringLiteral("SET SESSION sql_mode = 'STRICT_ALL_TABLES,NO_BACKSLASH_ESCAPES,NO_ZERO_DATE,"
                                   "NO_ZERO_IN_DATE,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'"));
            execRaw(QStringLiteral("SET NAMES utf8mb4 COLLATE utf8mb4_uca1400_nopad_as_ci"));
            execRaw(QStringLiteral("SET SESSION TRANSACTION ISOLATION LEVEL READ COMMITTED"));
            execRaw(QStringLiteral("SET SESSION innodb_lock_wait_timeout = %1, lock_wait_timeout = %1").arg(kLockWaitSeconds));
            loadCatalog();
            checkServerWritable();
        } catch (...) {
            Close();
            throw;
        }
        ConnectionString = text;
        return;
    }

    // The local file: a path, or "Data Source=path".
    QString path = text;
    if (text.contains(QLatin1Char('='))) {
        const auto kv = parseConnectionText(text);
        path = kv.value(QStringLiteral("DATA SOURCE"));
    }
    path = path.trimmed();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        fail(kNoDriver, QStringLiteral("No se puede crear el componente de acceso a datos local"));
    // Opening must never create a store: a missing file is an error.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        fail(kOpenFailed, QStringLiteral("No se encontró el archivo '%1'").arg(path));
    checkLocalStore(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kLockWaitSeconds * 1000));
        db.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
        if (!db.open()) {
            QString t = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            fail(kOpenFailed, t);
        }
        registerSqliteFunctions(db);
    }
    engine_ = Engine::SQLite;
    try {
        // A file that is not a database fails here.
        execRaw(QStringLiteral("PRAGMA journal_mode=WAL"));
        execRaw(QStringLiteral("PRAGMA synchronous=FULL"));
        execRaw(QStringLiteral("PRAGMA foreign_keys=ON"));
        execRaw(QStringLiteral("PRAGMA busy_timeout=%1").arg(kLockWaitSeconds * 1000));
        loadCatalog();
        if (catalog_.tables.isEmpty())
            fail(kOpenFailed, QStringLiteral("El archivo '%1' no es una base de datos del programa").arg(path));
    } catch (const Error& e) {
        Close();
        throw Error{kOpenFailed, e.description, e.fault};
    }
    ConnectionString = text;
}

void Connection::execRaw(const QString& sql)
{
    QSqlQuery q(database());
    if (!q.exec(sql))
        throw makeError(q.lastError(), sql, false);
}

// The longest text of a column, as the declaration's checks state it:
// length(c) <= n counts characters, length(CAST(c AS BLOB)) <= n bytes.
static void readLengthChecks(TableInfo& t, const QString& ddl)
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

static Kind kindFromSqliteType(const QString& t, bool autoinc)
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

void Connection::loadCatalog()
{
    Catalog c;
    QSqlDatabase db = database();
    if (engine_ == Engine::SQLite) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%'")))
            throw makeError(q.lastError(), QString(), false);
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
                throw makeError(info.lastError(), QString(), false);
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
            c.tables.insert(name.toLower(), t);
        }
    } else {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, EXTRA, COLUMN_KEY, CHARACTER_MAXIMUM_LENGTH, "
                                   "CHARACTER_OCTET_LENGTH FROM information_schema.COLUMNS "
                                   "WHERE TABLE_SCHEMA = DATABASE() ORDER BY TABLE_NAME, ORDINAL_POSITION")))
            throw makeError(q.lastError(), QString(), false);
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
        QSqlQuery k(db);
        if (!k.exec(QStringLiteral("SELECT TABLE_NAME, COLUMN_NAME FROM information_schema.KEY_COLUMN_USAGE "
                                   "WHERE TABLE_SCHEMA = DATABASE() AND CONSTRAINT_NAME = 'PRIMARY' "
                                   "ORDER BY TABLE_NAME, ORDINAL_POSITION")))
            throw makeError(k.lastError(), QString(), false);
        while (k.next()) {
            auto it = c.tables.find(k.value(0).toString().toLower());
            if (it == c.tables.end())
                continue;
            int idx = it->columnIndex(k.value(1).toString());
            if (idx >= 0)
                it->key.append(idx);
        }
    }
    for (const auto& t : c.tables)
        for (const auto& col : t.columns)
            if (col.kind == Kind::Date)
                c.dateColumns.insert(col.name.toLower(), true);
    catalog_ = c;
    plans_.reset();
}

Error Connection::makeError(const QSqlError& e, const QString& sql, bool isDelete) const
{
    Q_UNUSED(sql);
    Error r = numberedError(e, isDelete);
    r.fault = faultOf(e, r.number, isDelete);
    return r;
}

Error Connection::numberedError(const QSqlError& e, bool isDelete) const
{
    const QString dbText = e.databaseText();
    const QString text = dbText.isEmpty() ? e.text() : dbText;
    bool ok = false;
    long native = e.nativeErrorCode().toLong(&ok);
    if (!ok)
        native = -1;
    if (engine_ == Engine::SQLite) {
        if (text.contains(QLatin1String("UNIQUE constraint failed"), Qt::CaseInsensitive))
            return {kDuplicate, text};
        if (text.contains(QLatin1String("FOREIGN KEY constraint failed"), Qt::CaseInsensitive) && isDelete)
            return {kRelated, text};
        if (text.contains(QLatin1String("no such table"), Qt::CaseInsensitive))
            return {kNoTable, text};
        if (text.contains(QLatin1String("out of memory"), Qt::CaseInsensitive))
            return {kNoMemory, text};
        return {native, text};
    }
    switch (native) {
    case 1062:
    case 1586:
        return {kDuplicate, text};
    case 1451:
        return {kRelated, text};
    case 1146:
        return {kNoTable, text};
    case 1037:
    case 1038:
    case 2008:
        return {kNoMemory, text};
    default:
        if (isDelete && text.contains(QLatin1String("foreign key constraint fails"), Qt::CaseInsensitive))
            return {kRelated, text};
        return {native, text};
    }
}

// ---- the store under faults ----

Fault Connection::faultOf(const QSqlError& e, long number, bool isDelete) const
{
    const QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    bool ok = false;
    const long native = e.nativeErrorCode().toLong(&ok);
    if (engine_ == Engine::SQLite) {
        auto has = [&](const char* w) { return text.contains(QLatin1String(w), Qt::CaseInsensitive); };
        if (number == kRelated)
            return Fault::None;
        if (has("FOREIGN KEY constraint failed"))
            return isDelete ? Fault::None : Fault::MissingRelated;
        if (has("CHECK constraint failed") && has("length("))
            return Fault::TooLong;
        switch (ok ? native & 0xff : -1) {
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
    switch (ok ? native : -1) {
    case 1053:  // shutdown in progress
    case 1927:  // connection killed
    case 2002:
    case 2003:
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

namespace {

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

}  // namespace

void Connection::checkLocalStore(const QString& path)
{
    // Nothing is written before the file is known to be one of ours and
    // writable: a file of another program is left exactly as it was.
    const QString notOurs = QStringLiteral("El archivo '%1' no es una base de datos del programa").arg(path);
    QFile f(path);
    QByteArray head;
    if (f.open(QIODevice::ReadOnly))
        head = f.read(100);
    f.close();
    if (head.size() < 100 || !head.startsWith(QByteArray("SQLite format 3", 16)))
        fail(kOpenFailed, notOurs);
    if (!writablePath(path) || !writablePath(QFileInfo(path).absolutePath()))
        throw Error{kReadOnlyFile,
                    QStringLiteral("El archivo '%1' o su carpeta es de solo lectura").arg(QDir::toNativeSeparators(path)),
                    Fault::ReadOnly};
    const QString name = QStringLiteral("ado-check-%1").arg(connectionSerial.fetchAndAddRelaxed(1));
    QStringList found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=%1").arg(kLockWaitSeconds * 1000));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
                while (q.next())
                    found << q.value(0).toString().toLower();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    for (const char* t : kStoreTables)
        if (!found.contains(QString::fromLatin1(t).toLower()))
            fail(kOpenFailed, notOurs);
}

void Connection::checkServerWritable()
{
    // A statement that changes nothing still needs the right to change.
    const TableInfo* t = catalog_.table(QStringLiteral("empresas"));
    if (!t || t->columns.isEmpty())
        return;
    const QString col = t->columns[0].name;
    QSqlQuery q(database());
    if (q.exec(QStringLiteral("UPDATE %1 SET %2 = %2 WHERE 1 = 0").arg(t->name, col)))
        return;
    const Error e = makeError(q.lastError(), QString(), false);
    if (e.fault == Fault::ReadOnly)
        throw Error{e.number, QStringLiteral("La base de datos del servidor no admite cambios: ") + e.description,
                    Fault::ReadOnly};
}

void Connection::reviveLost()
{
    if (!lostText_.isEmpty() && depth_ == 0)
        reopenLost(Error{kLost, QStringLiteral("Se perdió la conexión con el servidor"), Fault::ConnectionLost});
}

void Connection::reopenLost(const Error& loss)
{
    const QString text = lostText_.isEmpty() ? ConnectionString : lostText_;
    // Results still open point into the catalog: it outlives the reopening.
    const Catalog kept = catalog_;
    Close();
    try {
        Open(text);
    } catch (const Error& e) {
        catalog_ = kept;
        lostText_ = text;
        throw Error{loss.number, loss.description + QStringLiteral(" (") + e.description + QLatin1Char(')'),
                    Fault::ConnectionLost};
    }
    catalog_ = kept;
}

void Connection::retryingLost(const std::function<void()>& run, bool repeatable)
{
    reviveLost();
    if (!repeatable && depth_ == 0 && engine_ == Engine::MariaDB && (!idle_.isValid() || idle_.elapsed() > 1000)) {
        // A connection the server dropped while it lay idle shows here,
        // before a write is sent that could not safely be sent twice.
        retryingLost([&] { execRaw(QStringLiteral("DO 0")); }, true);
    }
    try {
        run();
        idle_.start();
    } catch (const Error& e) {
        // Inside a unit the unit fails whole; its caller rolls it back.
        if (e.fault != Fault::ConnectionLost || engine_ != Engine::MariaDB || depth_ > 0)
            throw;
        reopenLost(e);
        // "Gone away" is met before the statement is sent.
        if (!repeatable && e.number != kLost)
            throw;
        run();
    }
}

QString Connection::rewrite(const QString& sqlIn) const
{
    const QString& s = sqlIn;
    QString out;
    out.reserve(s.size() + 16);
    // The server's LIKE takes a backslash as its escape even with
    // NO_BACKSLASH_ESCAPES; doubled, it matches itself as on the local store.
    bool patron = false;  // the next literal follows LIKE
    auto literal = [&](QString lit, int after) {
        if (patron && engine_ == Engine::MariaDB) {
            int k = after;
            while (k < s.size() && s[k].isSpace())
                ++k;
            if (s.mid(k, 6).compare(QLatin1String("ESCAPE"), Qt::CaseInsensitive) != 0)
                lit.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        }
        patron = false;
        out += lit;
    };
    for (int i = 0; i < s.size();) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'')) {
            const int j = closingQuote(s, i);
            literal(s.mid(i, j - i + 1), j + 1);
            i = j + 1;
        } else if (c == QLatin1Char('"')) {
            // A double-quoted text literal becomes a single-quoted one.
            int j = s.indexOf(QLatin1Char('"'), i + 1);
            if (j < 0)
                j = s.size();
            QString inner = s.mid(i + 1, j - i - 1);
            inner.replace(QLatin1Char('\''), QLatin1String("''"));
            literal(QLatin1Char('\'') + inner + QLatin1Char('\''), j + 1);
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            int j = s.indexOf(QLatin1Char('#'), i + 1);
            QString lit = j > i ? jetDate(s.mid(i + 1, j - i - 1)) : QString();
            if (lit.isEmpty()) {
                out += c;
                ++i;
            } else {
                out += lit;
                i = j + 1;
            }
        } else if (c == QLatin1Char('[')) {
            int j = s.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) {
                out += c;
                ++i;
                continue;
            }
            QString name = s.mid(i + 1, j - i - 1);
            if (const TableInfo* t = catalog_.table(name))
                name = t->name;
            out += name;
            i = j + 1;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i;
            while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_')))
                ++j;
            const QString word = s.mid(i, j - i);
            patron = word.compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0;
            if (const TableInfo* t = catalog_.table(word))
                out += t->name;
            else
                out += word;
            i = j;
        } else if (c.isDigit()) {
            patron = false;
            int j = i;
            while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_') || s[j] == QLatin1Char('.')))
                ++j;
            out += s.mid(i, j - i);
            i = j;
        } else {
            patron = patron && c.isSpace();
            out += c;
            ++i;
        }
    }
    QString t = out.trimmed();
    while (t.endsWith(QLatin1Char(';')))
        t.chop(1);
    // A bare table name opens every row of the table.
    if (catalog_.table(t))
        return QStringLiteral("SELECT * FROM ") + catalog_.table(t)->name;
    static const QRegularExpression bareName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (bareName.match(t).hasMatch() && t.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("SELECT * FROM ") + t;  // fails as a table the store does not hold
    static const QRegularExpression deleteStar(QStringLiteral("^DELETE\\s+\\*\\s+FROM\\b"), QRegularExpression::CaseInsensitiveOption);
    t.replace(deleteStar, QStringLiteral("DELETE FROM"));
    if (engine_ == Engine::SQLite) {
        // The write lock of the whole unit already holds the rows.
        static const QRegularExpression forUpdate(QStringLiteral("\\s+FOR\\s+UPDATE\\s*$"), QRegularExpression::CaseInsensitiveOption);
        t.remove(forUpdate);
        t = likeAsEquality(t, catalog_);
    }
    return t;
}

void Connection::BeginTrans()
{
    reviveLost();
    if (!isOpen())
        fail(kClosed, QStringLiteral("La conexión está cerrada."));
    if (depth_ == 0) {
        retryingLost([&] { execRaw(engine_ == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("START TRANSACTION")); },
                     true);
        rollbackOnly_ = false;
    }
    ++depth_;
}

void Connection::CommitTrans()
{
    if (depth_ == 0)
        fail(3034, QStringLiteral("Se intentó confirmar sin una transacción abierta."));
    --depth_;
    if (depth_ > 0)
        return;
    if (rollbackOnly_) {
        rollbackOnly_ = false;
        fail(3034, QStringLiteral("La transacción fue anulada y no se guardó nada."));
    }
    try {
        execRaw(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            execRaw(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
        throw;
    }
}

void Connection::AbortUnit()
{
    if (depth_ == 0 || rollbackOnly_)
        return;
    try {
        execRaw(QStringLiteral("ROLLBACK"));
    } catch (...) {
    }
    rollbackOnly_ = true;
}

void Connection::RollbackTrans()
{
    if (depth_ == 0)
        return;
    --depth_;
    if (!rollbackOnly_) {
        try {
            execRaw(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
    }
    // An inner unit that gives up takes the whole outer unit with it.
    rollbackOnly_ = depth_ > 0;
}

// ---- recordset ----

namespace {

struct SelectShape {
    bool select = false;
    bool updatable = false;
    QString table;        // the one table, when updatable
    const TableInfo* info = nullptr;  // its catalogue entry
    QStringList fromTables;
    int fromPos = -1;     // position of the top-level FROM keyword
    bool star = false;
    bool none = false;    // "Where 1 = 0": opened to add rows, reads nothing
    QStringList items;    // plain column names of the select list
};

SelectShape analyse(const QString& sql, const Catalog& cat)
{
    SelectShape sh;
    const QVector<Token> tk = tokenize(sql);
    if (tk.isEmpty() || !isWord(tk[0], "SELECT"))
        return sh;
    sh.select = true;
    int from = -1;
    for (int i = 1; i < tk.size(); ++i)
        if (tk[i].depth == 0 && isWord(tk[i], "FROM")) {
            from = i;
            break;
        }
    if (from < 0)
        return sh;
    sh.fromPos = tk[from].pos;
    int end = tk.size();
    bool grouped = false;
    for (int i = from + 1; i < tk.size(); ++i) {
        if (tk[i].type == Token::Word && cat.table(tk[i].text))
            sh.fromTables << cat.table(tk[i].text)->name;
        if (tk[i].depth == 0 && end == tk.size()
            && (isWord(tk[i], "WHERE") || isWord(tk[i], "ORDER") || isWord(tk[i], "GROUP") || isWord(tk[i], "HAVING")
                || isWord(tk[i], "FOR") || isWord(tk[i], "LIMIT") || isWord(tk[i], "UNION")))
            end = i;
        if (tk[i].depth == 0 && (isWord(tk[i], "GROUP") || isWord(tk[i], "HAVING") || isWord(tk[i], "UNION")))
            grouped = true;
    }
    // Words inside the select list may name tables too (qualified columns).
    if (grouped)
        return sh;
    sh.none = end + 4 == tk.size() && isWord(tk[end], "WHERE") && tk[end + 1].text == QLatin1String("1")
              && tk[end + 2].text == QLatin1String("=") && tk[end + 3].text == QLatin1String("0");
    if (isWord(tk[1], "DISTINCT") || isWord(tk[1], "TOP") || isWord(tk[1], "DISTINCTROW"))
        return sh;
    const int fromLen = end - from - 1;
    if (fromLen < 1 || fromLen > 2 || tk[from + 1].type != Token::Word)
        return sh;
    if (fromLen == 2 && tk[from + 2].type != Token::Word)
        return sh;
    const TableInfo* t = cat.table(tk[from + 1].text);
    if (!t)
        return sh;
    // The select list: * or plain (possibly qualified) column names.
    QStringList items;
    bool expectItem = true;
    for (int i = 1; i < from; ++i) {
        const Token& x = tk[i];
        if (expectItem) {
            if (x.type == Token::Punct && x.text == QLatin1String("*")) {
                sh.star = true;
                items << QStringLiteral("*");
            } else if (x.type == Token::Word) {
                QString name = x.text.section(QLatin1Char('.'), -1);
                if (t->columnIndex(name) < 0)
                    return sh;
                items << name;
            } else {
                return sh;
            }
            expectItem = false;
        } else {
            if (x.type == Token::Punct && x.text == QLatin1String(","))
                expectItem = true;
            else
                return sh;
        }
    }
    if (expectItem || items.isEmpty())
        return sh;
    if (sh.star && items.size() > 1)
        return sh;
    sh.updatable = true;
    sh.table = t->name;
    sh.info = t;
    sh.items = items;
    return sh;
}

}  // namespace

struct Connection::Plans {
    QHash<QString, QString> rewrites;
    QHash<QString, SelectShape> shapes;  // keyed by the rewritten text
    // Texts that came again, compiled; apart from the bound statements, so
    // that texts carrying their values cannot crowd those out.
    QHash<QString, std::shared_ptr<QSqlQuery>> compiled;
    QList<QString> compiledOrder;  // the oldest goes first when it is full
    // The columns a compiled text hands back, as the result describes them.
    QHash<QString, QVector<Recordset::Column>> columns;
    // INSERT texts by table and the columns set.
    QHash<QPair<const TableInfo*, QVector<int>>, QString> inserts;

    QSqlQuery& kept(const QSqlDatabase& db, const QString& sql, const Connection& cn)
    {
        auto it = compiled.find(sql);
        if (it != compiled.end())
            return *it.value();
        auto q = std::make_shared<QSqlQuery>(db);
        q->setForwardOnly(true);
        if (!q->prepare(sql))
            throw cn.makeError(q->lastError(), sql, false);
        if (compiled.size() >= 64)
            compiled.remove(compiledOrder.takeFirst());
        compiled.insert(sql, q);
        compiledOrder.append(sql);
        return *q;
    }
};

Connection::Plans& Connection::plans() const
{
    auto& self = const_cast<Connection&>(*this);
    if (!self.plans_)
        self.plans_ = std::make_shared<Plans>();
    return *self.plans_;
}

QString Connection::translate(const QString& sql) const
{
    Plans& p = plans();
    auto it = p.rewrites.constFind(sql);
    if (it != p.rewrites.constEnd())
        return it.value();
    // Statements that carry their values inline are many; start afresh
    // rather than grow without end.
    if (p.rewrites.size() >= 512) {
        p.rewrites.clear();
        p.shapes.clear();
        p.columns.clear();
    }
    const QString t = rewrite(sql);
    p.rewrites.insert(sql, t);
    return t;
}

namespace {

QVariant normalise(const QVariant& v, Kind k)
{
    if (v.isNull() || !v.isValid())
        return QVariant();
    switch (k) {
    case Kind::Date:
        if (v.typeId() == QMetaType::QDate)
            return v;
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        {
            // 'yyyy-MM-dd' as SQLite keeps it; parsed by hand, it is the hot path.
            const QString s = v.toString();
            if (s.size() >= 10 && s[4] == QLatin1Char('-') && s[7] == QLatin1Char('-')) {
                auto num = [&](int from, int len) {
                    int n = 0;
                    for (int i = from; i < from + len; ++i) {
                        const int d = s[i].unicode() - '0';
                        if (d < 0 || d > 9)
                            return -1;
                        n = n * 10 + d;
                    }
                    return n;
                };
                QDate d(num(0, 4), num(5, 2), num(8, 2));
                if (d.isValid())
                    return d;
            }
            return v;
        }
    case Kind::Money:
        if (v.typeId() == QMetaType::Double)
            return v;
        {
            bool ok = false;
            double d = v.toDouble(&ok);
            return ok ? QVariant(d) : v;
        }
    case Kind::Integer:
    case Kind::AutoNumber:
        if (v.typeId() == QMetaType::LongLong)
            return v;
        if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::ULongLong)
            return QVariant(v.toLongLong());
        if (v.typeId() == QMetaType::Double) {
            double d = v.toDouble();
            if (d == double(qint64(d)))
                return QVariant(qint64(d));
            return v;
        }
        {
            bool ok = false;
            qlonglong n = v.toLongLong(&ok);
            return ok ? QVariant(n) : v;
        }
    case Kind::Text:
        if (v.typeId() == QMetaType::QString)
            return v;
        if (v.typeId() == QMetaType::Double)
            return NumText(v.toDouble());
        return v.toString();
    }
    return v;
}

}  // namespace

namespace {

// What each column of a result is: its name, kind and table column.
void describeColumns(QVector<Recordset::Column>& cols, const QSqlRecord& rec, const TableInfo* t, const SelectShape& sh,
                     const Catalog& cat, int hidden)
{
    const int n = rec.count();
    cols.resize(n);
    static const QRegularExpression fn(QStringLiteral("^(\\w+)\\s*\\(\\s*(?:distinct\\s+)?(?:\\w+\\.)?(\\w+|\\*)\\s*\\)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    for (int i = 0; i < n; ++i) {
        Recordset::Column& c = cols[i];
        c.name = rec.fieldName(i);
        c.hidden = i >= n - hidden;
        if (t) {
            c.tableColumn = t->columnIndex(c.name);
            if (c.tableColumn >= 0)
                c.kind = t->columns[c.tableColumn].kind;
            continue;
        }
        // Joins and aggregates: the kind of the column the field comes from.
        QString colName = c.name;
        bool counted = false;
        auto m = fn.match(colName);
        if (m.hasMatch()) {
            counted = m.captured(1).compare(QLatin1String("count"), Qt::CaseInsensitive) == 0;
            colName = m.captured(2);
        }
        c.kind = Kind::Text;
        bool found = false;
        for (const QString& tn : sh.fromTables) {
            const TableInfo* ft = cat.table(tn);
            int idx = ft ? ft->columnIndex(colName) : -1;
            if (idx >= 0) {
                c.kind = ft->columns[idx].kind;
                found = true;
                break;
            }
        }
        if (counted)
            c.kind = Kind::Integer;
        else if (!found) {
            const QMetaType mt = rec.field(i).metaType();
            if (mt.id() == QMetaType::QDate || mt.id() == QMetaType::QDateTime)
                c.kind = Kind::Date;
            else if (mt.id() == QMetaType::Double)
                c.kind = Kind::Money;
            else if (mt.id() == QMetaType::Int || mt.id() == QMetaType::LongLong || mt.id() == QMetaType::UInt
                     || mt.id() == QMetaType::ULongLong)
                c.kind = Kind::Integer;
            else
                c.tableColumn = -2;  // unknown: values are kept as the engine gives them
        }
    }
}

}  // namespace

static QVariant bindable(const QVariant& v, Engine e);

void Recordset::Open(const QString& source, Connection& cn, const QVector<QVariant>& binds)
{
    // Reads run again after a lost connection is reopened; a statement that
    // changes the store runs again only when it surely never reached it.
    const QString head = source.trimmed();
    const bool reads = head.startsWith(QLatin1String("select"), Qt::CaseInsensitive) || !head.contains(QLatin1Char(' '));
    cn.retryingLost([&] { openOnce(source, cn, binds); }, reads);
}

void Recordset::openOnce(const QString& source, Connection& cn, const QVector<QVariant>& binds)
{
    Close();
    if (!cn.isOpen())
        fail(kClosed, QStringLiteral("La operación no se permite si la conexión está cerrada."));
    cn_ = &cn;
    source_ = source;
    binds_ = binds;
    try {
        const QString sql = cn.translate(source);
        const Catalog& cat = cn.catalog();
        bool seen = false;
        const SelectShape sh = [&] {
            Connection::Plans& p = cn.plans();
            auto it = p.shapes.constFind(sql);
            seen = it != p.shapes.constEnd();
            if (seen)
                return it.value();
            SelectShape fresh = analyse(sql, cat);
            p.shapes.insert(sql, fresh);
            return fresh;
        }();
        auto bound = [&](const QString& text) -> QSqlQuery& {
            QSqlQuery& q = cn.prepared(text);
            for (int i = 0; i < binds.size(); ++i)
                q.bindValue(i, bindable(binds[i], cn.engine()));
            return q;
        };
        QSqlDatabase db = cn.database();
        if (!sh.select) {
            const bool isDelete = sql.startsWith(QLatin1String("DELETE"), Qt::CaseInsensitive);
            if (cn.rollbackOnly_ && cn.depth_ > 0)
                fail(3034, QStringLiteral("La transacción fue anulada."));
            beforeWrite(sql);
            QSqlQuery local(db);
            QSqlQuery& q = binds.isEmpty() ? local : bound(sql);
            const bool done = binds.isEmpty() ? q.exec(sql) : q.exec();
            if (!done) {
                const QSqlError e = q.lastError();
                q.finish();
                throw cn.makeError(e, sql, isDelete);
            }
            q.finish();
            open_ = true;
            pos_ = 0;
            return;
        }
        QString run = sql;
        columns_.clear();
        const TableInfo* t = sh.updatable ? sh.info : nullptr;
        QVector<int> hiddenKeys;
        if (t && !sh.star) {
            for (int k : t->key)
                if (!sh.items.contains(t->columns[k].name, Qt::CaseInsensitive))
                    hiddenKeys.append(k);
            if (!hiddenKeys.isEmpty()) {
                QString extra;
                for (int k : hiddenKeys)
                    extra += QStringLiteral(", ") + t->columns[k].name;
                run = sql.left(sh.fromPos).trimmed() + extra + QLatin1Char(' ') + sql.mid(sh.fromPos);
            }
        }
        // A table opened to add rows, whose columns are known: nothing to
        // read, so nothing to run.
        if (t && sh.none) {
            const auto known = cn.plans().columns.constFind(run);
            if (known != cn.plans().columns.constEnd()) {
                columns_ = known.value();
                visible_ = int(columns_.size()) - int(hiddenKeys.size());
                table_ = t;
                rows_.clear();
                open_ = true;
                pos_ = 0;
                return;
            }
        }
        // Bound statements keep their compiled form, and so do the local
        // file's texts that come again.
        QSqlQuery local(db);
        const bool again = binds.isEmpty() && seen && cn.engine() == Engine::SQLite;
        const bool keep = !binds.isEmpty() || again;
        QSqlQuery& q = !binds.isEmpty() ? bound(run) : again ? cn.plans().kept(db, run, cn) : local;
        // A kept statement left open would hold the local file's snapshot.
        struct Finish {
            QSqlQuery& q;
            ~Finish() { q.finish(); }
        } finish{q};
        if (!keep)
            q.setForwardOnly(true);
        if (!(keep ? q.exec() : q.exec(run)))
            throw cn.makeError(q.lastError(), run, false);
        // A table's columns depend on the text alone: kept with the text.
        Connection::Plans* plans = (keep || sh.none) && t ? &cn.plans() : nullptr;
        auto known = plans ? plans->columns.constFind(run) : QHash<QString, QVector<Column>>::const_iterator();
        if (plans && known != plans->columns.constEnd())
            columns_ = known.value();
        else
            describeColumns(columns_, q.record(), t, sh, cat, int(hiddenKeys.size()));
        if (plans && known == plans->columns.constEnd())
            plans->columns.insert(run, columns_);
        const int n = int(columns_.size());
        visible_ = n - hiddenKeys.size();
        table_ = t;
        rows_.clear();
        while (q.next()) {
            Row r(n);
            for (int i = 0; i < n; ++i) {
                const QVariant v = q.value(i);
                r[i] = columns_[i].tableColumn == -2 ? (v.isNull() ? QVariant() : v) : normalise(v, columns_[i].kind);
            }
            rows_.append(std::move(r));
        }
        if (q.lastError().isValid())
            throw cn.makeError(q.lastError(), run, false);
        q.finish();
        open_ = true;
        pos_ = 0;
    } catch (const std::bad_alloc&) {
        rows_.clear();
        open_ = false;
        fail(kNoMemory, QStringLiteral("Memoria insuficiente"));
    } catch (...) {
        rows_.clear();
        columns_.clear();
        open_ = false;
        throw;
    }
}

void Recordset::Close()
{
    insertSql_.clear();
    open_ = false;
    rows_.clear();
    columns_.clear();
    visible_ = 0;
    pos_ = 0;
    table_ = nullptr;
    adding_ = false;
    pending_.clear();
    changed_.clear();
    justDeleted_ = false;
}

void Recordset::Requery()
{
    if (!cn_)
        fail(kClosed, QStringLiteral("La consulta está cerrada."));
    Connection* cn = cn_;
    const QString src = source_;
    const QVector<QVariant> binds = binds_;
    Open(src, *cn, binds);
}

void Recordset::MoveFirst()
{
    CancelUpdate();
    justDeleted_ = false;
    pos_ = 0;
}

void Recordset::MoveNext()
{
    if (!open_ || pos_ >= rows_.size())
        fail(kNoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    CancelUpdate();
    if (justDeleted_) {
        justDeleted_ = false;
        return;
    }
    ++pos_;
}

void Recordset::MovePrevious()
{
    CancelUpdate();
    justDeleted_ = false;
    if (pos_ > -1)
        --pos_;
}

void Recordset::MoveLast()
{
    CancelUpdate();
    justDeleted_ = false;
    pos_ = rows_.isEmpty() ? 0 : rows_.size() - 1;
}

void Recordset::setAbsolutePosition(long p)
{
    CancelUpdate();
    justDeleted_ = false;
    pos_ = p - 1;
}

void Recordset::checkIndex(int index) const
{
    if (!open_)
        fail(kClosed, QStringLiteral("La operación no se permite si el objeto está cerrado."));
    if (index < 0 || index >= visible_)
        fail(kNoItem, QStringLiteral("No se encontró el elemento %1 en la colección.").arg(index));
}

int Recordset::fieldIndex(const QString& name) const
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QStringView n = dot < 0 ? QStringView(name) : QStringView(name).mid(dot + 1);
    for (int i = 0; i < visible_; ++i)
        if (columns_[i].name.size() == n.size() && QStringView(columns_[i].name).compare(n, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Field Recordset::Fields(int index)
{
    checkIndex(index);
    return Field(this, index);
}

Field Recordset::Fields(const QString& name)
{
    if (!open_)
        fail(kClosed, QStringLiteral("La operación no se permite si el objeto está cerrado."));
    const int i = fieldIndex(name);
    if (i < 0)
        fail(kNoItem, QStringLiteral("No se encontró el elemento '%1' en la colección.").arg(name));
    return Field(this, i);
}

const Recordset::Row* Recordset::currentRow() const
{
    if (adding_)
        return &pending_;
    if (!open_ || pos_ < 0 || pos_ >= rows_.size() || justDeleted_)
        return nullptr;
    return &rows_[pos_];
}

QVariant Recordset::value(int index) const
{
    checkIndex(index);
    if (!adding_) {
        auto it = changed_.constFind(index);
        if (it != changed_.constEnd())
            return it.value();
    }
    const Row* r = currentRow();
    if (!r)
        fail(kNoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    return (*r)[index];
}

// A plain number's text as a double. Up to 15 digits the digits make an
// exact whole number and one division by an exact power of ten rounds as
// the general parse does.
static double plainNumber(const QString& s)
{
    if (s.size() > 16)
        return s.toDouble();
    qint64 n = 0;
    int digits = 0, decimals = -1;
    int i = 0;
    const bool neg = s.startsWith(QLatin1Char('-'));
    if (neg || s.startsWith(QLatin1Char('+')))
        i = 1;
    for (; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('.')) {
            decimals = 0;
            continue;
        }
        n = n * 10 + (s[i].unicode() - '0');
        ++digits;
        if (decimals >= 0)
            ++decimals;
    }
    if (digits > 15)
        return s.toDouble();
    static const double tens[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double x = decimals > 0 ? double(n) / tens[decimals] : double(n);
    return neg ? -x : x;
}

static QVariant convertForColumn(const QVariant& v, Kind kind, const QString& column)
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    const bool isText = v.typeId() == QMetaType::QString;
    auto mismatch = [&](const QString& what) -> QVariant {
        fail(kTypeMismatch, QStringLiteral("No coinciden los tipos de datos: '%1' no vale como %2 en el campo %3")
                                .arg(v.toString(), what, column));
    };
    switch (kind) {
    case Kind::Text:
        if (isText)
            return v;
        if (v.typeId() == QMetaType::QDate)
            return FormatDate(v.toDate());
        return NumText(v);
    case Kind::Integer: {
        double d;
        if (isText) {
            const QString s = v.toString().trimmed();
            if (!IsPlainNumber(s))
                return mismatch(QStringLiteral("un número entero"));
            d = plainNumber(s);
        } else {
            bool ok = false;
            d = v.toDouble(&ok);
            if (!ok)
                return mismatch(QStringLiteral("un número entero"));
        }
        if (d != std::trunc(d))
            d = RoundHalfEven(d);
        if (d > 2147483647.0 || d < -2147483648.0)
            fail(6, QStringLiteral("Desbordamiento: %1 no cabe en el campo %2").arg(NumText(d), column));
        return QVariant(qint64(d));
    }
    case Kind::Money: {
        if (isText) {
            const QString s = v.toString().trimmed();
            if (!IsPlainNumber(s))
                return mismatch(QStringLiteral("un número"));
            return QVariant(plainNumber(s));
        }
        bool ok = false;
        double d = v.toDouble(&ok);
        if (!ok)
            return mismatch(QStringLiteral("un número"));
        return QVariant(d);
    }
    case Kind::Date: {
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().isValid() ? v : mismatch(QStringLiteral("una fecha"));
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        // An empty date box stores no date, so a record kept without one can
        // still be opened and saved.
        if (v.toString().trimmed().isEmpty())
            return QVariant();
        const QDate d = ParseDate(v.toString());
        if (!d.isValid())
            return mismatch(QStringLiteral("una fecha"));
        return d;
    }
    case Kind::AutoNumber:
        fail(3164, QStringLiteral("No se puede actualizar el campo %1: lo numera la base de datos.").arg(column));
    }
    return v;
}

// Both engines refuse alike a text longer than its column.
static void checkTextLength(const QVariant& v, const ColumnInfo& c)
{
    if (c.kind != Kind::Text || (!c.maxChars && !c.maxBytes) || v.typeId() != QMetaType::QString)
        return;
    const QString s = v.toString();
    qsizetype chars = s.size();
    for (QChar ch : s)
        if (ch.isLowSurrogate())
            --chars;
    if (c.maxChars && chars > c.maxChars)
        throw Error{kTooLong, QStringLiteral("El campo %1 admite hasta %2 caracteres").arg(c.name).arg(c.maxChars),
                    Fault::TooLong};
    if (c.maxBytes && s.toUtf8().size() > c.maxBytes)
        throw Error{kTooLong, QStringLiteral("El campo %1 admite hasta %2 bytes").arg(c.name).arg(c.maxBytes),
                    Fault::TooLong};
}

void Recordset::setValue(int index, const QVariant& v)
{
    checkIndex(index);
    if (!table_ || columns_[index].tableColumn < 0)
        fail(kNotUpdatable, QStringLiteral("La operación no es compatible con este tipo de consulta."));
    if (!adding_ && !currentRow())
        fail(kNoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    QVariant cv = convertForColumn(v, columns_[index].kind, columns_[index].name);
    checkTextLength(cv, table_->columns[columns_[index].tableColumn]);
    if (adding_) {
        // The new row holds its values itself; set_ says which were given.
        pending_[index] = std::move(cv);
        set_[index] = true;
        return;
    }
    changed_.insert(index, cv);
}

void Recordset::AddNew()
{
    if (!open_ || !table_)
        fail(kNotUpdatable, QStringLiteral("La operación no es compatible con este tipo de consulta."));
    if (editing())
        Update();
    adding_ = true;
    justDeleted_ = false;
    pending_ = Row(columns_.size());
    set_.fill(false, columns_.size());
    changed_.clear();
}

void Recordset::CancelUpdate()
{
    adding_ = false;
    pending_.clear();
    changed_.clear();
}

static QVariant bindable(const QVariant& v, Engine e)
{
    if (v.isNull() || !v.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    if (v.typeId() == QMetaType::QDate && e == Engine::SQLite) {
        const QDate d = v.toDate();
        if (d.year() < 1000 || d.year() > 9999)
            return d.toString(QStringLiteral("yyyy-MM-dd"));
        // Written by hand: every row added with a date passes here.
        const int y = d.year(), m = d.month(), dd = d.day();
        const char t[10] = {char('0' + y / 1000), char('0' + y / 100 % 10), char('0' + y / 10 % 10), char('0' + y % 10), '-',
                            char('0' + m / 10),   char('0' + m % 10),       '-',                     char('0' + dd / 10), char('0' + dd % 10)};
        return QString::fromLatin1(t, 10);
    }
    return v;
}

QString Recordset::insertText(const QVector<int>& keys) const
{
    const QString into = QStringLiteral("INSERT INTO ") + table_->name;
    if (keys.isEmpty())
        return cn_->engine() == Engine::SQLite ? into + QStringLiteral(" DEFAULT VALUES") : into + QStringLiteral(" () VALUES ()");
    QStringList cols, marks;
    for (int i : keys) {
        cols << table_->columns[columns_[i].tableColumn].name;
        marks << QStringLiteral("?");
    }
    return into + QStringLiteral(" (") + cols.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", "))
           + QStringLiteral(")");
}

QString Recordset::criteria(QVector<QVariant>& binds, const Row& original) const
{
    // Every fetched column must still hold what was read: a row another
    // connection changed or deleted meanwhile is not matched.
    const Engine e = cn_->engine();
    QStringList parts;
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].tableColumn < 0)
            continue;
        const QString col = table_->columns[columns_[i].tableColumn].name;
        parts << (e == Engine::SQLite ? col + QStringLiteral(" IS ?") : col + QStringLiteral(" <=> ?"));
        binds << bindable(original[i], e);
    }
    if (parts.isEmpty())
        return QStringLiteral("1=0");
    return parts.join(QStringLiteral(" AND "));
}

QString Recordset::keyedWhere(const QString& crit) const
{
    if (!table_->key.isEmpty())
        return QStringLiteral(" WHERE ") + crit;
    // No key: touch one matching row only.
    if (cn_->engine() == Engine::SQLite)
        return QStringLiteral(" WHERE rowid = (SELECT rowid FROM ") + table_->name + QStringLiteral(" WHERE ") + crit
               + QStringLiteral(" LIMIT 1)");
    return QStringLiteral(" WHERE ") + crit + QStringLiteral(" LIMIT 1");
}

void Recordset::Update()
{
    if (!cn_) {
        updateOnce();
        return;
    }
    cn_->retryingLost([&] { updateOnce(); }, false);
}

void Recordset::updateOnce()
{
    if (!open_)
        fail(kClosed, QStringLiteral("La operación no se permite si el objeto está cerrado."));
    if (!adding_ && changed_.isEmpty())
        return;
    if (!table_)
        fail(kNotUpdatable, QStringLiteral("La operación no es compatible con este tipo de consulta."));
    if (cn_->rollbackOnly_ && cn_->depth_ > 0)
        fail(3034, QStringLiteral("La transacción fue anulada."));
    const Engine e = cn_->engine();
    if (adding_) {
        QVector<int> keys;
        for (int i = 0; i < set_.size(); ++i)
            if (set_[i])
                keys << i;
        // Rows added one after another set the same columns: the same text.
        if (insertSql_.isEmpty() || keys != insertColumns_) {
            auto& known = cn_->plans().inserts;
            const auto key = qMakePair(table_, keys);
            auto it = known.constFind(key);
            insertSql_ = it != known.constEnd() ? it.value() : known.insert(key, insertText(keys)).value();
        }
        insertColumns_ = keys;
        const QString& sql = insertSql_;
        beforeWrite(sql);
        QSqlQuery& q = cn_->prepared(sql);
        for (int i = 0; i < keys.size(); ++i)
            q.bindValue(i, bindable(pending_[keys[i]], e));
        if (!q.exec())
            throw cn_->makeError(q.lastError(), sql, false);
        if (table_->autoColumn >= 0) {
            const QVariant id = q.lastInsertId();
            for (int i = 0; i < columns_.size(); ++i)
                if (columns_[i].tableColumn == table_->autoColumn)
                    pending_[i] = QVariant(id.toLongLong());
        }
        rows_.append(pending_);
        pos_ = rows_.size() - 1;
        adding_ = false;
        pending_.clear();
        changed_.clear();
        return;
    }
    const Row* cur = currentRow();
    if (!cur)
        fail(kNoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    QStringList sets;
    QVector<QVariant> binds;
    QList<int> keys = changed_.keys();
    std::sort(keys.begin(), keys.end());
    for (int i : keys) {
        sets << table_->columns[columns_[i].tableColumn].name + QStringLiteral(" = ?");
        binds << bindable(changed_.value(i), e);
    }
    const QString crit = criteria(binds, *cur);
    const QString sql = QStringLiteral("UPDATE ") + table_->name + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "))
                        + keyedWhere(crit);
    beforeWrite(sql);
    QSqlQuery& q = cn_->prepared(sql);
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds[i]);
    if (!q.exec())
        throw cn_->makeError(q.lastError(), sql, false);
    if (q.numRowsAffected() < 1)
        fail(kConflict, QStringLiteral("No se guardaron los cambios: otro usuario cambió o eliminó el registro desde que se leyó."));
    Row& row = rows_[pos_];
    for (int i : keys)
        row[i] = changed_.value(i);
    changed_.clear();
}

void Recordset::Delete()
{
    if (!cn_) {
        deleteOnce();
        return;
    }
    cn_->retryingLost([&] { deleteOnce(); }, false);
}

void Recordset::deleteOnce()
{
    if (!open_)
        fail(kClosed, QStringLiteral("La operación no se permite si el objeto está cerrado."));
    if (!table_)
        fail(kNotUpdatable, QStringLiteral("La operación no es compatible con este tipo de consulta."));
    CancelUpdate();
    const Row* cur = currentRow();
    if (!cur)
        fail(kNoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    if (cn_->rollbackOnly_ && cn_->depth_ > 0)
        fail(3034, QStringLiteral("La transacción fue anulada."));
    QVector<QVariant> binds;
    const QString crit = criteria(binds, *cur);
    const QString sql = QStringLiteral("DELETE FROM ") + table_->name + keyedWhere(crit);
    beforeWrite(sql);
    QSqlQuery& q = cn_->prepared(sql);
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds[i]);
    if (!q.exec())
        throw cn_->makeError(q.lastError(), sql, true);
    if (q.numRowsAffected() < 1)
        fail(kConflict, QStringLiteral("No se eliminó el registro: otro usuario lo cambió o eliminó desde que se leyó."));
    rows_.remove(pos_);
    justDeleted_ = true;
}

// ---- field ----

QString Field::Name() const
{
    rs_->checkIndex(index_);
    return rs_->columns_[index_].name;
}

QVariant Field::Value() const { return rs_->value(index_); }

bool Field::IsNull() const
{
    const QVariant v = Value();
    return !v.isValid() || v.isNull();
}

QString Field::Text() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return FormatDate(v.toDate());
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    return NumText(v);
}

double Field::toDouble() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString)
        return Val(v.toString());
    return v.toDouble();
}

int Field::toInt() const { return int(RoundHalfEven(toDouble())); }

void Field::setValue(const QVariant& v) { rs_->setValue(index_, v); }

}  // namespace ado
