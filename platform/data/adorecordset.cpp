#include "adodb.h"

#include "adoengine.h"
#include "adolayer.h"
#include "adostatement.h"
#include "adovalues.h"
#include "textfmt.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cmath>
#include <new>

namespace ado {

void addRead(RowStore& rows, const QVariant& v, const Recordset::Column& c)
{
    if (v.isNull() || !v.isValid()) {
        rows.addNull();
        return;
    }
    if (c.tableColumn == -2) {
        rows.add(v);
        return;
    }
    const int type = v.typeId();
    switch (c.kind) {
    case Kind::Text:
        if (type == QMetaType::QString) {
            rows.addText(*static_cast<const QString*>(v.constData()));
            return;
        }
        break;
    case Kind::Money:
        if (type == QMetaType::Double) {
            rows.addDouble(*static_cast<const double*>(v.constData()));
            return;
        }
        break;
    case Kind::Integer:
    case Kind::AutoNumber:
        if (type == QMetaType::LongLong) {
            rows.addInteger(*static_cast<const qlonglong*>(v.constData()));
            return;
        }
        break;
    case Kind::Date:
        if (type == QMetaType::QString) {
            const QString& s = *static_cast<const QString*>(v.constData());
            const QDate d = storedDate(s.utf16(), s.size());
            if (d.isValid()) {
                rows.addDate(d.toJulianDay());
                return;
            }
        }
        break;
    }
    rows.add(values::normalise(v, c.kind));
}

namespace {

// What a closed recordset and a result of no table refuse.
[[noreturn]] void failClosed() { fail(err::Closed, QStringLiteral("La operación no se permite si el objeto está cerrado.")); }
[[noreturn]] void failNotUpdatable()
{
    fail(err::NotUpdatable, QStringLiteral("La operación no es compatible con este tipo de consulta."));
}

// What each column of a result is: its name, kind and table column.
void describeColumns(QVector<Recordset::Column>& cols, const QSqlRecord& rec, const TableInfo* t, const sql::SelectShape& sh,
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
        fail(err::Closed, QStringLiteral("La operación no se permite si la conexión está cerrada."));
    cn_ = &cn;
    source_ = source;
    binds_ = binds;
    try {
        const QString sql = cn.translate(source);
        bool seen = false;
        const sql::SelectShape sh = shapeOf(cn, sql, seen);
        if (!sh.select) {
            runStatement(cn, sql, binds);
            return;
        }
        const TableInfo* t = sh.updatable ? sh.info : nullptr;
        int hidden = 0;
        const QString run = withKeys(sql, sh, t, hidden);
        columns_.clear();
        if (t && sh.none && openKnownEmpty(cn, run, t, hidden))
            return;
        // A list window reads its list again each time it comes to the
        // front. A long result read before, from a store unchanged since,
        // comes back as it was; inside a unit, which may be undone, every
        // result is read.
        const auto stateOf = cn.transactionDepth() == 0 ? dialect(cn.engine()).storeState : nullptr;
        StoreState before;
        if (stateOf && stateOf(cn, &before) && reuseLastRead(cn, run, binds, before))
            return;
        read(cn, run, binds, sh, t, hidden, seen);
        if (stateOf && rows_->size() >= Connection::Plans::kLongResult) {
            auto& reads = cn.plans().lastReads;
            if (reads.size() >= 16 && !reads.contains(run))
                reads.clear();
            reads.insert(run, {binds, columns_, visible_, table_, rows_, before});
        }
        open_ = true;
        pos_ = 0;
    } catch (const std::bad_alloc&) {
        rows_ = std::make_shared<RowStore>();
        open_ = false;
        fail(err::NoMemory, QStringLiteral("Memoria insuficiente"));
    } catch (...) {
        rows_ = std::make_shared<RowStore>();
        columns_.clear();
        open_ = false;
        throw;
    }
}

sql::SelectShape Recordset::shapeOf(Connection& cn, const QString& sql, bool& seen)
{
    Connection::Plans& p = cn.plans();
    auto it = p.shapes.constFind(sql);
    seen = it != p.shapes.constEnd();
    if (seen)
        return it.value();
    const sql::SelectShape fresh = sql::analyse(sql, cn.catalog());
    p.shapes.insert(sql, fresh);
    return fresh;
}

QSqlQuery& Recordset::boundQuery(Connection& cn, const QString& text, const QVector<QVariant>& binds)
{
    QSqlQuery& q = cn.prepared(text);
    const bool datesAsText = dialect(cn.engine()).datesAsText;
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, values::bindable(binds[i], datesAsText));
    return q;
}

void Recordset::runStatement(Connection& cn, const QString& sql, const QVector<QVariant>& binds)
{
    const bool isDelete = sql.startsWith(QLatin1String("DELETE"), Qt::CaseInsensitive);
    if (cn.unitDoomed())
        fail(err::UnitAborted, QStringLiteral("La transacción fue anulada."));
    beforeWrite(sql);
    QSqlQuery local(cn.database());
    QSqlQuery& q = binds.isEmpty() ? local : boundQuery(cn, sql, binds);
    const bool done = binds.isEmpty() ? q.exec(sql) : q.exec();
    if (!done) {
        const QSqlError e = q.lastError();
        q.finish();
        throw cn.makeError(e, sql, isDelete);
    }
    q.finish();
    open_ = true;
    pos_ = 0;
}

QString Recordset::withKeys(const QString& sql, const sql::SelectShape& sh, const TableInfo* t, int& hidden)
{
    // A changeable result must find its row again: the key columns the
    // statement leaves out are fetched too, after the others, unseen.
    hidden = 0;
    if (!t || sh.star)
        return sql;
    QString extra;
    for (int k : t->key)
        if (!sh.items.contains(t->columns[k].name, Qt::CaseInsensitive)) {
            extra += QStringLiteral(", ") + t->columns[k].name;
            ++hidden;
        }
    return hidden == 0 ? sql : sql.left(sh.fromPos).trimmed() + extra + QLatin1Char(' ') + sql.mid(sh.fromPos);
}

bool Recordset::openKnownEmpty(Connection& cn, const QString& run, const TableInfo* t, int hidden)
{
    // A table opened to add rows, whose columns are known: nothing to
    // read, so nothing to run.
    const auto known = cn.plans().columns.constFind(run);
    if (known == cn.plans().columns.constEnd())
        return false;
    columns_ = known.value();
    visible_ = int(columns_.size()) - hidden;
    table_ = t;
    rows_ = std::make_shared<RowStore>(int(columns_.size()));
    open_ = true;
    pos_ = 0;
    return true;
}

bool Recordset::reuseLastRead(Connection& cn, const QString& run, const QVector<QVariant>& binds, const StoreState& now)
{
    const auto last = cn.plans().lastReads.constFind(run);
    if (last == cn.plans().lastReads.constEnd())
        return false;
    std::shared_ptr<RowStore> rows = last->rows.lock();
    if (!rows || !(last->state == now) || last->binds != binds)
        return false;
    columns_ = last->columns;
    visible_ = last->visible;
    table_ = last->table;
    rows_ = std::move(rows);
    open_ = true;
    pos_ = 0;
    return true;
}

void Recordset::read(Connection& cn, const QString& run, const QVector<QVariant>& binds, const sql::SelectShape& sh,
                     const TableInfo* t, int hidden, bool seen)
{
    // Bound statements keep their compiled form, and so do the local
    // file's texts that come again.
    QSqlDatabase db = cn.database();
    QSqlQuery local(db);
    const bool again = binds.isEmpty() && seen && dialect(cn.engine()).keepsRepeatedTexts;
    const bool keep = !binds.isEmpty() || again;
    QSqlQuery& q = !binds.isEmpty() ? boundQuery(cn, run, binds) : again ? cn.plans().kept(db, run, cn) : local;
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
        describeColumns(columns_, q.record(), t, sh, cn.catalog(), hidden);
    if (plans && known == plans->columns.constEnd())
        plans->columns.insert(run, columns_);
    const int n = int(columns_.size());
    visible_ = n - hidden;
    table_ = t;
    auto rows = std::make_shared<RowStore>(n);
    const auto readRest = dialect(cn.engine()).readRest;
    for (bool rest = false; !rest && q.next();) {
        if (n == 0)
            rows->appendRow({});
        for (int i = 0; i < n; ++i)
            addRead(*rows, q.value(i), columns_[i]);
        QSqlError e;
        rest = readRest && readRest(q, *rows, columns_, &e);
        if (e.isValid())
            throw cn.makeError(e, run, false);
    }
    rows_ = std::move(rows);
    if (q.lastError().isValid())
        throw cn.makeError(q.lastError(), run, false);
    q.finish();
}

void Recordset::Close()
{
    insertSql_.clear();
    open_ = false;
    rows_ = std::make_shared<RowStore>();
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
        fail(err::Closed, QStringLiteral("La consulta está cerrada."));
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
    if (!open_ || pos_ >= rows_->size())
        fail(err::NoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
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
    pos_ = rows_->isEmpty() ? 0 : long(rows_->size()) - 1;
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
        failClosed();
    if (index < 0 || index >= visible_)
        fail(err::NoItem, QStringLiteral("No se encontró el elemento %1 en la colección.").arg(index));
}

int Recordset::fieldIndex(const QString& name) const
{
    // Callers mostly spell a name as the result does.
    for (int i = 0; i < visible_; ++i)
        if (columns_[i].name == name)
            return i;
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
        failClosed();
    const int i = fieldIndex(name);
    if (i < 0)
        fail(err::NoItem, QStringLiteral("No se encontró el elemento '%1' en la colección.").arg(name));
    return Field(this, i);
}

bool Recordset::onRow() const { return open_ && pos_ >= 0 && pos_ < rows_->size() && !justDeleted_; }

RowStore& Recordset::ownRows()
{
    if (rows_.use_count() > 1)
        rows_ = std::make_shared<RowStore>(*rows_);
    return *rows_;
}

QVariant Recordset::value(int index) const
{
    checkIndex(index);
    if (!adding_) {
        auto it = changed_.constFind(index);
        if (it != changed_.constEnd())
            return it.value();
    }
    if (adding_)
        return pending_[index];
    if (!onRow())
        fail(err::NoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    return rows_->value(pos_, index);
}

void Recordset::setValue(int index, const QVariant& v)
{
    checkIndex(index);
    if (!table_ || columns_[index].tableColumn < 0)
        failNotUpdatable();
    if (!adding_ && !onRow())
        fail(err::NoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    QVariant cv = values::convertForColumn(v, columns_[index].kind, columns_[index].name);
    values::checkTextLength(cv, table_->columns[columns_[index].tableColumn]);
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
        failNotUpdatable();
    if (editing())
        Update();
    adding_ = true;
    justDeleted_ = false;
    // The new row's values stay where the last one's were.
    pending_.clear();
    pending_.resize(columns_.size());
    set_.fill(false, columns_.size());
    changed_.clear();
}

void Recordset::CancelUpdate()
{
    adding_ = false;
    pending_.clear();
    changed_.clear();
}

QString Recordset::insertText(const QVector<int>& keys) const
{
    const QString into = QStringLiteral("INSERT INTO ") + table_->name;
    if (keys.isEmpty())
        return into + dialect(cn_->engine()).emptyInsert;
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
        parts << col + dialect(e).sameValue;
        binds << values::bindable(original[i], dialect(e).datesAsText);
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
    return dialect(cn_->engine()).oneRow(table_->name, crit);
}

// A change goes through the connection's recovery of a lost connection as
// a statement that must not reach the server twice.
void Recordset::changing(void (Recordset::*once)())
{
    if (!cn_) {
        (this->*once)();
        return;
    }
    cn_->retryingLost([&] { (this->*once)(); }, false);
}

void Recordset::Update() { changing(&Recordset::updateOnce); }

// Sends a change of the current row. When the row's criteria find nothing
// it was changed or removed elsewhere since it was read: conflict says so.
void Recordset::changeRow(const QString& sql, const QVector<QVariant>& binds, bool isDelete, const QString& conflict)
{
    beforeWrite(sql);
    if (cn_->write(sql, binds, isDelete) < 1)
        throw Error{err::Conflict, conflict, Fault::Changed};
}

void Recordset::updateOnce()
{
    if (!open_)
        failClosed();
    if (!adding_ && changed_.isEmpty())
        return;
    if (!table_)
        failNotUpdatable();
    if (cn_->unitDoomed())
        fail(err::UnitAborted, QStringLiteral("La transacción fue anulada."));
    const Engine e = cn_->engine();
    if (adding_) {
        // Rows added one after another set the same columns: the same text.
        if (insertSql_.isEmpty() || set_ != insertSet_) {
            QVector<int> keys;
            for (int i = 0; i < set_.size(); ++i)
                if (set_[i])
                    keys << i;
            auto& known = cn_->plans().inserts;
            const auto key = qMakePair(table_, keys);
            auto it = known.constFind(key);
            insertSql_ = it != known.constEnd() ? it.value() : known.insert(key, insertText(keys)).value();
            insertColumns_ = keys;
            insertSet_ = set_;
        }
        const QVector<int>& keys = insertColumns_;
        const QString& sql = insertSql_;
        beforeWrite(sql);
        insertBinds_.clear();
        for (int k : keys)
            insertBinds_.append(values::bindable(pending_[k], dialect(e).datesAsText));
        QVariant id;
        cn_->write(sql, insertBinds_, false, table_->autoColumn >= 0 ? &id : nullptr);
        if (table_->autoColumn >= 0) {
            for (int i = 0; i < columns_.size(); ++i)
                if (columns_[i].tableColumn == table_->autoColumn)
                    pending_[i] = QVariant(id.toLongLong());
        }
        ownRows().appendRow(pending_);
        pos_ = long(rows_->size()) - 1;
        adding_ = false;
        pending_.clear();
        changed_.clear();
        return;
    }
    if (!onRow())
        fail(err::NoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    QStringList sets;
    QVector<QVariant> binds;
    QList<int> keys = changed_.keys();
    std::sort(keys.begin(), keys.end());
    for (int i : keys) {
        sets << table_->columns[columns_[i].tableColumn].name + QStringLiteral(" = ?");
        binds << values::bindable(changed_.value(i), dialect(e).datesAsText);
    }
    const QString crit = criteria(binds, rows_->row(pos_));
    const QString sql = QStringLiteral("UPDATE ") + table_->name + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "))
                        + keyedWhere(crit);
    changeRow(sql, binds, false,
              QStringLiteral("No se guardaron los cambios: otro usuario cambió o eliminó el registro desde que se leyó."));
    RowStore& rows = ownRows();
    for (int i : keys)
        rows.set(pos_, i, changed_.value(i));
    changed_.clear();
}

void Recordset::Delete() { changing(&Recordset::deleteOnce); }

void Recordset::deleteOnce()
{
    if (!open_)
        failClosed();
    if (!table_)
        failNotUpdatable();
    CancelUpdate();
    if (!onRow())
        fail(err::NoCurrentRow, QStringLiteral("BOF o EOF es True, o el registro actual se eliminó."));
    if (cn_->unitDoomed())
        fail(err::UnitAborted, QStringLiteral("La transacción fue anulada."));
    QVector<QVariant> binds;
    const QString crit = criteria(binds, rows_->row(pos_));
    const QString sql = QStringLiteral("DELETE FROM ") + table_->name + keyedWhere(crit);
    changeRow(sql, binds, true, QStringLiteral("No se eliminó el registro: otro usuario lo cambió o eliminó desde que se leyó."));
    ownRows().removeRow(pos_);
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

QString Field::Text() const { return cellText(Value()); }

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
