// What each engine needs of the layer, one place per engine: how a store
// opens, the session it runs in, how its catalogue reads, and its failures
// in the layer's numbers and faults. For the layer's own files.
#pragma once

#include "adocatalog.h"
#include "adodb.h"
#include "adoerror.h"
#include "adolayer.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QSqlError;

namespace ado {

namespace sqlite {
// Adds the file as the registry's entry name, once it is known to be one of
// the program's stores and writable, with the program's comparisons.
void open(const QString& name, const QString& path);
}  // namespace sqlite

namespace mariadb {
// Adds the server the connection text names as the registry's entry name.
void open(const QString& name, const QString& text, const QString& user, const QString& password);
// Whether the server is a node of a cluster, which may end a unit of this
// connection between two of its statements (another node's commit of the
// same rows) and tell it only on a later one, or never.
bool clusterNode(const QSqlDatabase& db);
}  // namespace mariadb

// Where the engines differ in what the layer itself writes and runs.
struct Dialect {
    // A statement of the program's dialect as the engine takes it (the
    // file: no lock clause, LIKE without wildcards as an indexed equality).
    QString (*statement)(const QString& text, const Catalog& cat);
    QStringList (*sessionStatements)();  // run once on every new connection
    Error (*error)(const QSqlError& e, bool isDelete);
    QHash<QString, TableInfo> (*readTables)(const QSqlDatabase& db);
    // The WHERE of a change to one row of a table without a key.
    QString (*oneRow)(const QString& table, const QString& criteria);
    QLatin1String beginUnit;    // opens a unit that writes
    QLatin1String emptyInsert;  // after "INSERT INTO table" when no column is set
    QLatin1String sameValue;    // after a column: equals a bound value, Null included
    bool reconnects;            // a lost connection is opened again
    bool keepsRepeatedTexts;    // a text that comes again stays compiled
    bool datesAsText;           // dates are bound as 'yyyy-MM-dd'
    bool rowidEverywhere;       // every table numbers its rows in a rowid
    // Reads the rows after the first of a result whose first row Qt has
    // just handed, straight from the engine's own statement, into rows;
    // false when it cannot, and Qt reads them. A failure sets error.
    // Null: Qt reads them.
    bool (*readRest)(QSqlQuery& q, RowStore& rows, const QVector<Recordset::Column>& columns, QSqlError* error);
    // Runs a compiled write with its values on the engine's own statement,
    // bound and run as Qt's driver would; false when it cannot, and Qt runs
    // it. A failure sets error; otherwise changes (rows changed) and id (the
    // row number the store gave, invalid when none) are set.
    bool (*runWrite)(QSqlQuery& q, const QVector<QVariant>& binds, QSqlError* error, qint64* changes, QVariant* id);
    // The store's state as to changes; false when it cannot tell. Null: a
    // store that does not tell.
    bool (*storeState)(Connection& cn, StoreState* state);
    // When the store is opened and before it is let go, outside a unit:
    // keeps the engine's statistics of it up to date. Null: nothing.
    void (*tidy)(const QSqlDatabase& db);
};
// A closed connection's answers are the server's, but it neither rewrites
// for an engine nor reconnects.
const Dialect& dialect(Engine e);

namespace sqlite {
extern const Dialect kDialect;
}
namespace mariadb {
extern const Dialect kDialect;
}

}  // namespace ado
