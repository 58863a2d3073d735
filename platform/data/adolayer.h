// What the layer's own files share: failing with a number, the registry's
// names, the write hook, and the plans a connection keeps per statement text.
#pragma once

#include "adodb.h"
#include "adostatement.h"

#include <QHash>
#include <QList>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <memory>

namespace ado {

[[noreturn]] inline void fail(long n, const QString& d) { throw Error{n, d}; }

// A name no other entry of Qt's connection registry has.
QString registryName(const char* prefix);

// "KEY=value;KEY={value};..." with the keys in capitals.
QHash<QString, QString> parseConnectionText(const QString& text);

// An engine's failure: its own words, or Qt's when it gave none, and its
// number, -1 when it gave none.
struct EngineFailure {
    QString text;
    bool numbered = false;
    long native = -1;
};
inline EngineFailure engineFailure(const QSqlError& e)
{
    EngineFailure f;
    f.text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    const long n = e.nativeErrorCode().toLong(&f.numbered);
    f.native = f.numbered ? n : -1;
    return f;
}

// 'yyyy-MM-dd' as the local file keeps dates, at the start of the n
// characters at s; invalid when they do not start so. By hand: every date
// read passes here.
template <typename C>
QDate storedDate(const C* s, qsizetype n)
{
    if (n < 10 || s[4] != C('-') || s[7] != C('-'))
        return QDate();
    auto num = [&](int from, int len) {
        int v = 0;
        for (int i = from; i < from + len; ++i) {
            const int d = int(s[i]) - '0';
            if (d < 0 || d > 9)
                return -1;
            v = v * 10 + d;
        }
        return v;
    };
    return QDate(num(0, 4), num(5, 2), num(8, 2));
}

// Adds a value read to the row being read: as the column's kind makes it,
// or as it came for a column of no known kind.
void addRead(RowStore& rows, const QVariant& v, const Recordset::Column& c);

// Runs the test hook before a write the layer performs.
void beforeWrite(const QString& sql);

// What a store tells of changes: by other connections, and by this one.
// Equal states: nothing changed in between.
struct StoreState {
    qint64 outside = -1, own = -1;
    bool known() const { return outside >= 0; }
    bool operator==(const StoreState& o) const { return known() && outside == o.outside && own == o.own; }
};

struct Connection::Plans {
    QHash<QString, QString> rewrites;
    QHash<QString, sql::SelectShape> shapes;  // keyed by the rewritten text
    // Texts that came again, compiled; apart from the bound statements, so
    // that texts carrying their values cannot crowd those out.
    QHash<QString, std::shared_ptr<QSqlQuery>> compiled;
    QList<QString> compiledOrder;  // the oldest goes first when it is full
    // The columns a compiled text hands back, as the result describes them.
    QHash<QString, QVector<Recordset::Column>> columns;
    // INSERT texts by table and the columns set.
    QHash<QPair<const TableInfo*, QVector<int>>, QString> inserts;
    // The last long result of a text, on a store that tells when it
    // changed: read again from the store unchanged, it comes back as it was
    // while something (a list) still holds its rows.
    struct LastRead {
        QVector<QVariant> binds;
        QVector<Recordset::Column> columns;
        int visible = 0;
        const TableInfo* table = nullptr;
        std::weak_ptr<RowStore> rows;
        StoreState state;  // before it was read; unknown the first time
    };
    static constexpr qsizetype kLongResult = 1000;
    QHash<QString, LastRead> lastReads;

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

}  // namespace ado
