#include "adodb.h"

#include "adoengine.h"
#include "adolayer.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

namespace ado {

namespace {

QAtomicInt connectionSerial;

std::function<void(const QString&)>& writeHook()
{
    static std::function<void(const QString&)> h;
    return h;
}

int waitLimit = 0;  // the test hook's, 0 for the constants
bool clusterUnitsHook = false;

constexpr long kSavepointGone = 1305;  // the server's: no such savepoint
const QLatin1String kSavepoint("SAVEPOINT tarvik_unidad");
quint64 (*actionCounter)() = nullptr;

quint64 actionNow() { return actionCounter ? actionCounter() : 0; }

// A failure that came only once the limit had passed.
bool waitedOut(const QElapsedTimer& waited, int seconds) { return waited.elapsed() >= qint64(seconds) * 900; }

// A statement sent whose answer never came: "gone away" is met before it is
// sent.
bool sentUnanswered(const Error& e)
{
    return (e.fault == Fault::NoAnswer || e.fault == Fault::ConnectionLost) && e.number != err::ServerGone;
}

// What the server did with a change or commit sent so is not known.
Error unconfirmed(const Error& e)
{
    return Error{e.number, QStringLiteral("No se sabe si el servidor guardó el trabajo: ") + e.description, Fault::Unconfirmed};
}

}  // namespace

int Connection::answerSeconds() { return waitLimit > 0 ? waitLimit : kAnswerSeconds; }
int Connection::connectSeconds() { return waitLimit > 0 ? waitLimit : kConnectSeconds; }
void Connection::setWaitLimitHook(int seconds) { waitLimit = seconds; }
void Connection::setActionCounter(quint64 (*counter)()) { actionCounter = counter; }

QString registryName(const char* prefix)
{
    return QLatin1String(prefix) + QString::number(connectionSerial.fetchAndAddRelaxed(1));
}

void beforeWrite(const QString& sql)
{
    if (writeHook())
        writeHook()(sql);
}

namespace {

QString closedStatement(const QString& text, const Catalog& cat) { return sql::rewrite(text, cat, false); }

}  // namespace

const Dialect& dialect(Engine e)
{
    switch (e) {
    case Engine::SQLite:
        return sqlite::kDialect;
    case Engine::MariaDB:
        return mariadb::kDialect;
    case Engine::None:
        break;
    }
    static const Dialect closed = [] {
        Dialect d = mariadb::kDialect;
        d.statement = closedStatement;
        d.reconnects = false;
        return d;
    }();
    return closed;
}

Connection::Connection()
{
    name_ = registryName("ado-");
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

qint64 Connection::write(const QString& sql, const QVector<QVariant>& binds, bool isDelete, QVariant* id)
{
    QSqlQuery& q = prepared(sql);
    QSqlError e;
    qint64 changes = 0;
    QVariant given;
    const auto direct = dialect(engine_).runWrite;
    if (!direct || !direct(q, binds, &e, &changes, &given)) {
        for (int i = 0; i < binds.size(); ++i)
            q.bindValue(i, binds[i]);
        if (!q.exec())
            e = q.lastError();
        else {
            changes = q.numRowsAffected();
            if (id)
                given = q.lastInsertId();
        }
    }
    if (e.isValid())
        throw makeError(e, sql, isDelete);
    if (id)
        *id = given;
    return changes;
}

void Connection::setWriteHook(std::function<void(const QString&)> hook) { writeHook() = std::move(hook); }
void Connection::setClusterUnitsHook(bool on) { clusterUnitsHook = on; }

QSqlDatabase Connection::database() const
{
    if (!db_.isValid())
        db_ = QSqlDatabase::database(name_, false);
    return db_;
}

bool Connection::isOpen() const { return engine_ != Engine::None && database().isOpen(); }

void Connection::tidy()
{
    if (engine_ != Engine::None && depth_ == 0 && dialect(engine_).tidy && !catalog_.tables.isEmpty() && database().isOpen())
        dialect(engine_).tidy(database());
}

void Connection::Close()
{
    quitWatch_.reset();
    tidy();
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
    silentIn_.reset();
    db_ = QSqlDatabase();
    engine_ = Engine::None;
    depth_ = 0;
    rollbackOnly_ = false;
    clusterUnits_ = false;
    catalog_ = Catalog();
}

QHash<QString, QString> parseConnectionText(const QString& text)
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
        fail(err::AlreadyOpen, QStringLiteral("La operación no se permite si el objeto está abierto."));
    Close();
    const QString text = connectionString.isEmpty() ? ConnectionString : connectionString;
    const bool odbc = text.contains(QLatin1String("DRIVER="), Qt::CaseInsensitive);

    if (odbc) {
        mariadb::open(name_, text, user, password);
        engine_ = Engine::MariaDB;
        try {
            for (const QString& s : mariadb::kDialect.sessionStatements())
                execRaw(s);
            loadCatalog();
            checkServerWritable();
            clusterUnits_ = clusterUnitsHook || mariadb::clusterNode(database());
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
    sqlite::open(name_, path);
    engine_ = Engine::SQLite;
    try {
        // A file that is not a database fails here.
        for (const QString& s : sqlite::kDialect.sessionStatements())
            execRaw(s);
        loadCatalog();
        if (catalog_.tables.isEmpty())
            fail(err::OpenFailed, QStringLiteral("El archivo '%1' no es una base de datos del programa").arg(path));
    } catch (const Error& e) {
        Close();
        throw Error{err::OpenFailed, e.description, e.fault};
    }
    ConnectionString = text;
    tidy();
    // The program ends without closing its store.
    if (QCoreApplication::instance()) {
        quitWatch_ = std::make_unique<QObject>();
        QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, quitWatch_.get(), [this] { tidy(); });
    }
}

void Connection::execRaw(const QString& sql)
{
    QElapsedTimer waited;
    waited.start();
    QSqlQuery q(database());
    if (!q.exec(sql))
        throw unanswered(makeError(q.lastError(), sql, false), waited);
}


void Connection::loadCatalog()
{
    Catalog c;
    c.tables = dialect(engine_).readTables(database());
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
    return dialect(engine_).error(e, isDelete);
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

// A connection lost that came only once the whole limit had passed: the
// server did not answer, and the client library has dropped the connection.
// The next action opens it again; until then nothing waits on the server.
Error Connection::unanswered(const Error& e, const QElapsedTimer& waited)
{
    if (e.fault != Fault::ConnectionLost || !dialect(engine_).reconnects || !waitedOut(waited, answerSeconds()))
        return e;
    if (lostText_.isEmpty())
        lostText_ = ConnectionString;
    silentIn_ = actionNow();
    return Error{e.number, QStringLiteral("El servidor no respondió en %1 segundos (%2)").arg(answerSeconds()).arg(e.description),
                 Fault::NoAnswer};
}

void Connection::reviveLost()
{
    if (lostText_.isEmpty() || depth_ > 0)
        return;
    if (silentIn_ && actionCounter && *silentIn_ == actionNow())
        throw Error{err::ServerGone, QStringLiteral("El servidor no respondió"), Fault::NoAnswer};
    reopenLost(Error{err::ServerGone, QStringLiteral("Se perdió la conexión con el servidor"), Fault::ConnectionLost});
}

void Connection::reopenLost(const Error& loss)
{
    const QString text = lostText_.isEmpty() ? ConnectionString : lostText_;
    // Results still open point into the catalog: it outlives the reopening.
    const Catalog kept = catalog_;
    Close();
    QElapsedTimer waited;
    waited.start();
    try {
        Open(text);
    } catch (const Error& e) {
        catalog_ = kept;
        lostText_ = text;
        const QString why = loss.description + QStringLiteral(" (") + e.description + QLatin1Char(')');
        if (e.fault == Fault::NoAnswer || waitedOut(waited, connectSeconds())) {
            silentIn_ = actionNow();
            throw Error{loss.number, why, Fault::NoAnswer};
        }
        throw Error{loss.number, why, Fault::ConnectionLost};
    }
    catalog_ = kept;
}

void Connection::retryingLost(const std::function<void()>& run, bool repeatable)
{
    reviveLost();
    if (!repeatable && depth_ == 0 && dialect(engine_).reconnects && (!idle_.isValid() || idle_.elapsed() > 1000)) {
        // A connection the server dropped while it lay idle shows here,
        // before a write is sent that could not safely be sent twice.
        retryingLost([&] { execRaw(QStringLiteral("DO 0")); }, true);
    }
    QElapsedTimer waited;
    waited.start();
    try {
        run();
        idle_.start();
    } catch (const Error& lost) {
        // Not run again at once: that would wait as long once more.
        const Error e = unanswered(lost, waited);
        if (!dialect(engine_).reconnects)
            throw e;
        // A change outside a unit commits itself.
        if (!repeatable && depth_ == 0 && sentUnanswered(e))
            throw unconfirmed(e);
        // Inside a unit the unit fails whole; its caller rolls it back.
        if (e.fault != Fault::ConnectionLost || depth_ > 0)
            throw e;
        // Repeatable, or "gone away", met before the statement is sent.
        reopenLost(e);
        run();
    }
}

QString Connection::rewrite(const QString& sql) const
{
    return dialect(engine_).statement(sql, catalog_);
}

void Connection::BeginTrans()
{
    reviveLost();
    if (!isOpen())
        fail(err::Closed, QStringLiteral("La conexión está cerrada."));
    if (depth_ == 0) {
        if (clusterUnits_) {
            retryingLost([&] { execRaw(QStringLiteral("SET autocommit = 0")); }, true);
            try {
                execRaw(kSavepoint);
            } catch (...) {
                endClusterUnit();
                throw;
            }
        } else {
            retryingLost([&] { execRaw(dialect(engine_).beginUnit); }, true);
        }
        rollbackOnly_ = false;
    }
    ++depth_;
}

// Rolls back what the unit still holds and gives the session its autocommit
// back. Should that fail the session is not trusted again: the next action
// opens a new one.
void Connection::endClusterUnit()
{
    try {
        execRaw(QStringLiteral("ROLLBACK"));
        execRaw(QStringLiteral("SET autocommit = 1"));
    } catch (...) {
        if (lostText_.isEmpty())
            lostText_ = ConnectionString;
    }
}

void Connection::CommitTrans()
{
    if (depth_ == 0)
        fail(err::UnitAborted, QStringLiteral("Se intentó confirmar sin una transacción abierta."));
    --depth_;
    if (depth_ > 0)
        return;
    if (rollbackOnly_) {
        rollbackOnly_ = false;
        if (clusterUnits_)
            endClusterUnit();
        fail(err::UnitAborted, QStringLiteral("La transacción fue anulada y no se guardó nada."));
    }
    try {
        if (clusterUnits_) {
            try {
                execRaw(QStringLiteral("RELEASE ") + kSavepoint);
            } catch (const Error& e) {
                if (e.number != kSavepointGone)
                    throw;
                // The node ended the unit unasked: what ran after it is held
                // in a transaction of its own, and goes with the rollback.
                throw Error{err::Deadlock, QStringLiteral("El servidor deshizo la transacción por otra estación de trabajo"),
                            Fault::Busy};
            }
        }
        execRaw(QStringLiteral("COMMIT"));
    } catch (const Error& e) {
        if (dialect(engine_).reconnects && sentUnanswered(e))
            throw unconfirmed(e);
        if (clusterUnits_) {
            endClusterUnit();
        } else {
            try {
                execRaw(QStringLiteral("ROLLBACK"));
            } catch (...) {
            }
        }
        throw;
    }
    if (clusterUnits_) {
        try {
            execRaw(QStringLiteral("SET autocommit = 1"));
        } catch (...) {
            if (lostText_.isEmpty())
                lostText_ = ConnectionString;
        }
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
    if (depth_ == 0 && clusterUnits_) {
        // Reads after an abort may have opened a transaction again.
        endClusterUnit();
    } else if (!rollbackOnly_) {
        try {
            execRaw(QStringLiteral("ROLLBACK"));
        } catch (...) {
        }
    }
    // An inner unit that gives up takes the whole outer unit with it.
    rollbackOnly_ = depth_ > 0;
}

bool Connection::numbersRows(const QString& table) const
{
    const TableInfo* t = catalog_.table(table);
    return dialect(engine_).rowidEverywhere || (t && t->columnIndex(QStringLiteral("rowid")) >= 0);
}

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

}  // namespace ado
