// Data-access objects: one connection, static query results with fields,
// over Qt SQL, on a local SQLite file or a MariaDB server.
#pragma once

#include "adocatalog.h"
#include "adoerror.h"
#include "adorows.h"

#include <QDate>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

namespace ado {

namespace sql {
struct SelectShape;
}
struct StoreState;

enum class Engine { None, SQLite, MariaDB };

class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "Microsoft.Jet.OLEDB.4.0" with a file path opens the SQLite file; an
    // ODBC text ("DRIVER=...;SERVER=...;DATABASE=...;UID=...;PWD=;PORT=;")
    // opens MariaDB.
    QString Provider;
    QString ConnectionString;
    int CursorLocation = 3;

    void Open(const QString& connectionString = QString(), const QString& user = QString(),
              const QString& password = QString());
    // When a local file is opened, and before it is let go here or as the
    // program ends, its statistics are brought up to date.
    void Close();
    bool isOpen() const;
    Engine engine() const { return engine_; }

    // Nested calls join the outer unit: only the outermost commit commits,
    // and a rollback at any depth undoes the whole unit.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    int transactionDepth() const { return depth_; }
    // A unit AbortUnit or an inner rollback gave up: no write goes through.
    bool unitDoomed() const { return rollbackOnly_ && depth_ > 0; }
    // Rolls the open unit back at once, releasing its locks, and dooms it:
    // every later write and the outer commit are refused until the caller
    // rolls back. For an error shown to the user while a unit is open.
    void AbortUnit();

    QSqlDatabase database() const;
    const Catalog& catalog() const { return catalog_; }
    // Whether table has a column rowid that numbers its rows in the order
    // they were stored: every table of the file has one; a server table
    // has one once the set-up gave it.
    bool numbersRows(const QString& table) const;

    // Turns a statement written for the original dialect into the engine's;
    // a text seen before is not rewritten again.
    QString translate(const QString& sql) const;

    // Waits on another workstation's lock end after this long.
    static constexpr int kLockWaitSeconds = 10;
    // A server that leaves a statement unanswered this long is given up on
    // for the rest of the clerk's action, and one that takes no connection
    // within kConnectSeconds likewise: nothing of the work is stored and the
    // next action connects again. A unit that hears nothing from its
    // workstation for kAnswerSeconds is ended by the server.
    static constexpr int kAnswerSeconds = 30;
    static constexpr int kConnectSeconds = 10;
    // A wait on another workstation's lock must end as busy, not as a server
    // that does not answer.
    static_assert(kAnswerSeconds > 2 * kLockWaitSeconds);
    // The limits in force: the constants, or what the test hook set.
    static int answerSeconds();
    static int connectSeconds();
    // Test hook: both limits become seconds for the connections opened
    // after; 0 gives the constants back.
    static void setWaitLimitHook(int seconds);
    // The program's count of the clerk's actions (a click, a key): a server
    // that did not answer is not waited on again within the same action.
    // Without one each statement counts as an action of its own.
    static void setActionCounter(quint64 (*counter)());

    // Test hook: called before every write the layer performs (insert,
    // update, delete, statement); throwing from it fails that write.
    static void setWriteHook(std::function<void(const QString& sql)> hook);
    // Test hook: the server connections opened after keep their units as
    // on a node of a cluster.
    static void setClusterUnitsHook(bool on);

    // What the layer's recordsets run their statements through.
    //   prepared: the compiled form of a text with bound values, kept.
    //   makeError: an engine failure of sql in the layer's terms.
    //   retryingLost: runs run, reopening a connection the server dropped
    //     and running it again when that is safe (repeatable, or the text
    //     never reached the server); inside a unit the loss fails the unit.
    //     A server that let the limit pass is not asked again.
    //   plans: the rewrite and shape of texts seen before.
    QSqlQuery& prepared(const QString& sql);
    // Runs the write sql (compiled once) with binds; how many rows it
    // changed, and in id, when given, the row number the store gave.
    qint64 write(const QString& sql, const QVector<QVariant>& binds, bool isDelete, QVariant* id = nullptr);
    Error makeError(const class QSqlError& e, const QString& sql, bool isDelete) const;
    void retryingLost(const std::function<void()>& run, bool repeatable);
    struct Plans;
    Plans& plans() const;

private:
    void loadCatalog();
    void tidy();
    void execRaw(const QString& sql);
    void endClusterUnit();
    QString rewrite(const QString& sql) const;
    void checkServerWritable();
    void reviveLost();
    void reopenLost(const Error& loss);
    Error unanswered(const Error& e, const QElapsedTimer& waited);

    QString name_;
    mutable QSqlDatabase db_;  // the registry's entry, looked up once
    Engine engine_ = Engine::None;
    Catalog catalog_;
    int depth_ = 0;
    bool rollbackOnly_ = false;
    // On a cluster node a unit runs with autocommit off and a savepoint of
    // its own: should the node end the unit unasked, what runs after is
    // held, not stored, and the commit finds the savepoint gone.
    bool clusterUnits_ = false;
    QHash<QString, std::shared_ptr<QSqlQuery>> statements_;
    // The rewrite and shape of statement texts seen before; they depend on
    // the catalogue only.
    std::shared_ptr<Plans> plans_;
    QString lostText_;  // a server connection lost outside a unit, to reopen
    // The action in which the server did not answer, when it did not.
    std::optional<quint64> silentIn_;
    QElapsedTimer idle_;  // since the last statement that went through
    std::unique_ptr<QObject> quitWatch_;  // tidies the store as the program ends
};

class Recordset;

// A field of the current row (or of the pending new row).
class Field {
public:
    Field(Recordset* rs, int index) : rs_(rs), index_(index) {}
    QString Name() const;
    QVariant Value() const;   // invalid QVariant for Null; dates as QDate
    QString Text() const;     // "" for Null, "dd/MM/yyyy" dates, plain numbers
    bool IsNull() const;
    double toDouble() const;  // Null reads 0
    int toInt() const;
    void setValue(const QVariant& v);  // text is converted by the column's kind
    Field& operator=(const QVariant& v) { setValue(v); return *this; }
private:
    Recordset* rs_;
    int index_;
};

class Recordset {
public:
    Recordset() = default;
    // Opens a statement or a bare table name with a static cursor. The
    // program's own repeated statements mark their values with '?' and pass
    // them in binds: they are compiled once and kept.
    void Open(const QString& source, Connection& cn, const QVector<QVariant>& binds = {});
    void Close();
    void Requery();
    bool isOpen() const { return open_; }

    long RecordCount() const { return open_ ? long(rows_->size()) : 0; }
    bool Eof() const { return !open_ || pos_ >= rows_->size(); }
    bool Bof() const { return !open_ || pos_ < 0 || rows_->isEmpty(); }
    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();
    long AbsolutePosition() const { return pos_ + 1; }
    void setAbsolutePosition(long p);

    int FieldCount() const { return open_ ? visible_ : 0; }
    Field Fields(int index);
    Field Fields(const QString& name);
    Field operator[](int index) { return Fields(index); }
    Field operator[](const QString& name) { return Fields(name); }
    int fieldIndex(const QString& name) const;  // -1 when absent
    // The rows read, the hidden key columns after the FieldCount() visible
    // ones. Shared, not copied: a change made here afterwards copies them
    // first, so what was handed out stays as it was.
    RowStorePtr rows() const { return rows_; }

    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete();
    bool editing() const { return adding_ || !changed_.isEmpty(); }

    // What a column of a result is; the connection keeps these per
    // statement text.
    struct Column {
        QString name;
        Kind kind = Kind::Text;
        int tableColumn = -1;  // index in table_ for updatable results
        bool hidden = false;   // key column fetched for updates only
    };

private:
    friend class Field;
    using Row = QVector<QVariant>;

    // The steps of an open: what the text is, a statement that changes the
    // store, the key columns a changeable result needs, a result known to
    // be empty, the result read before from a store unchanged since, and
    // the rows read.
    void openOnce(const QString& source, Connection& cn, const QVector<QVariant>& binds);
    sql::SelectShape shapeOf(Connection& cn, const QString& sql, bool& seen);
    QSqlQuery& boundQuery(Connection& cn, const QString& text, const QVector<QVariant>& binds);
    void runStatement(Connection& cn, const QString& sql, const QVector<QVariant>& binds);
    QString withKeys(const QString& sql, const sql::SelectShape& sh, const TableInfo* t, int& hidden);
    bool openKnownEmpty(Connection& cn, const QString& run, const TableInfo* t, int hidden);
    bool reuseLastRead(Connection& cn, const QString& run, const QVector<QVariant>& binds, const StoreState& now);
    void read(Connection& cn, const QString& run, const QVector<QVariant>& binds, const sql::SelectShape& sh,
              const TableInfo* t, int hidden, bool seen);
    void changing(void (Recordset::*once)());
    void changeRow(const QString& sql, const QVector<QVariant>& binds, bool isDelete, const QString& conflict);
    void updateOnce();
    void deleteOnce();
    QVariant value(int index) const;
    QString criteria(QVector<QVariant>& binds, const Row& original) const;
    QString keyedWhere(const QString& crit) const;
    QString insertText(const QVector<int>& keys) const;
    void setValue(int index, const QVariant& v);
    bool onRow() const;  // a stored row is current
    RowStore& ownRows();
    void checkIndex(int index) const;

    Connection* cn_ = nullptr;
    QString source_;
    bool open_ = false;
    QVector<Column> columns_;
    int visible_ = 0;
    std::shared_ptr<RowStore> rows_ = std::make_shared<RowStore>();
    long pos_ = 0;
    const TableInfo* table_ = nullptr;  // set when the result can be written
    bool adding_ = false;
    Row pending_;
    QHash<int, QVariant> changed_;  // fields changed in the current row
    QVector<bool> set_;             // fields given a value in the new row
    bool justDeleted_ = false;
    QVector<QVariant> binds_;
    QString insertSql_;          // the last INSERT, for the columns in insertColumns_
    QVector<int> insertColumns_;
    QVector<bool> insertSet_;        // set_ as it was for insertSql_
    QVector<QVariant> insertBinds_;  // the values of the row being added, kept for the next
};

using RecordsetPtr = std::shared_ptr<Recordset>;

}  // namespace ado
