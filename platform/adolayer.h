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

// Runs the test hook before a write the layer performs.
void beforeWrite(const QString& sql);

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
