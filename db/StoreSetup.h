// Creates an empty Tarvik store (the thirteen tables and the seed rows) on
// SQLite or MariaDB, through plain Qt SQL.
#pragma once

#include <QString>
#include <QStringList>

namespace tarvikdb {

// Creates the SQLite file with tables, seed rows and statistics. Refuses,
// touching nothing, when a file is already there; leaves no file behind on
// failure.
bool createSqliteStore(const QString& path, QString* error);

// Creates database (letters, digits and '_' only) with tables and seed rows.
// With dropFirst an existing database of that name is dropped first;
// without it a database that already holds tables is refused untouched.
bool createMariaDbDatabase(const QString& host, int port, const QString& user,
                           const QString& password, const QString& database, bool dropFirst,
                           QString* error);

// On an existing Tarvik store (one that holds every table of the
// declarations), creates the declared indexes it lacks, with the column an
// index comes with where it is declared so, and changes no stored value;
// the local file also has its statistics gathered afresh (the server keeps
// its own). Returns how many indexes were added; -1 with error set when the
// store cannot be reached or is not a Tarvik store, which is then left
// untouched.
int addMissingSqliteIndexes(const QString& path, QString* error);
int addMissingMariaDbIndexes(const QString& host, int port, const QString& user, const QString& password,
                             const QString& database, QString* error);

// Number of tables in database (0 when it does not exist), -1 on error.
int mariaDbTableCount(const QString& host, int port, const QString& user,
                      const QString& password, const QString& database, QString* error);

// Creates, in the program's folder, the picture folders where the article,
// client and supplier windows start their picture dialogs:
// "Imagenes/Articulos", "Imagenes/Clientes", "Imagenes/Proveedores". Folders
// already there are kept with what they hold.
bool createPictureFolders(const QString& programFolder, QString* error);

// The statements of the store's declarations for engine ("sqlite" or
// "mariadb"), followed by the seed rows when withSeed; empty for another
// engine.
QStringList statements(const QString& engine, bool withSeed);

// Splits a script into statements at ';' outside quotes, dropping "--"
// comments and empty statements.
QStringList splitStatements(const QString& script);

}  // namespace tarvikdb
