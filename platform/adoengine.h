// What each engine needs of the layer, one place per engine: how a store
// opens, the session it runs in, how its catalogue reads, and its failures
// in the layer's numbers and faults. For the layer's own files.
#pragma once

#include "adocatalog.h"
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
QStringList sessionStatements();
QHash<QString, TableInfo> readTables(const QSqlDatabase& db);
Error error(const QSqlError& e, bool isDelete);
// A statement of the program's dialect as the file takes it: no lock
// clause, and LIKE without wildcards as an indexed equality.
QString statement(const QString& text, const Catalog& cat);
}  // namespace sqlite

namespace mariadb {
// Adds the server the connection text names as the registry's entry name.
void open(const QString& name, const QString& text, const QString& user, const QString& password);
QStringList sessionStatements();
QHash<QString, TableInfo> readTables(const QSqlDatabase& db);
Error error(const QSqlError& e, bool isDelete);
// A statement of the program's dialect as the server takes it.
QString statement(const QString& text, const Catalog& cat);
}  // namespace mariadb

}  // namespace ado
