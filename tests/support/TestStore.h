// Fresh stores for tests, on the engine that ctest chose
// (TARVIK_TEST_ENGINE = sqlite | mariadb).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>
#include <utility>
#include <QtTest/QTest>

namespace ado {
class Connection;
}

namespace teststore {

QString engine();  // "sqlite" (also when unset) or "mariadb"
bool mariadb();

struct Target {
    QString provider;          // "Microsoft.Jet.OLEDB.4.0" for SQLite, empty for MariaDB
    QString connectionString;  // the file path for SQLite, the ODBC text for MariaDB
    QString sqlitePath;        // SQLite only
    QString database;          // MariaDB only
};

// A new store with tables and seed rows: "Inventario.qln" in a temp folder of
// its own, or database "Inventario_t<pid>_<n>" on the test server
// (TARVIK_MARIADB_HOST / TARVIK_MARIADB_PORT). A failure fails the running
// test (check QTest::currentTestFailed(), or use TESTSTORE_FRESH).
Target fresh();

// ReiniciarVariablesGlobales(), fresh(), then Conexion() opened on it the
// way the program opens its store.
Target openFresh();

// Opens cn on t the way the program does: the Jet provider with the file
// path, or the ODBC connection text.
void openOn(ado::Connection& cn, const Target& t);

// Direct Qt SQL on t, bypassing the data layer, for fixtures and checks.
// SQLite connections have foreign keys on but compare text with SQLite's
// own ASCII NOCASE, so keep non-ASCII text out of fixture keys.
void execRaw(const Target& t, const QString& sql);                           // fails the test on error
bool tryExecRaw(const Target& t, const QString& sql, QString* error = nullptr);  // refusal expected
QList<QVariantList> queryRaw(const Target& t, const QString& sql);           // fails the test on error
QVariant scalarRaw(const Target& t, const QString& sql);                      // first column of first row
QStringList columnsRaw(const Target& t, const QString& table);               // names as "Select *" gives them

// A stored row read by column name, so a check says which column it means.
// Names compare without case (the engines spell them as the query did or as
// the table does); an unknown name fails the test.
class Row {
public:
    Row(QStringList names, QVariantList values) : names_(std::move(names)), values_(std::move(values)) {}
    QVariant operator[](const char* column) const;
    const QVariantList& values() const { return values_; }

private:
    QStringList names_;
    QVariantList values_;
};
QList<Row> rowsRaw(const Target& t, const QString& sql);  // fails the test on error

// Compares each named column of r with its expected value, read as that
// value's type (int, double or text) the way QCOMPARE compares them; the
// first that differs fails the test under the column's name. Use
// COMPARE_ROW, which returns from the test function then.
using Expected = std::initializer_list<std::pair<const char*, QVariant>>;
bool sameRow(const Row& r, Expected expected, const char* file, int line);

// Fails the running test loudly (aborts when no test function is running).
void fail(const QString& message);

// The test server; empty / 0 when the environment does not name one.
QString serverHost();
int serverPort();

}  // namespace teststore

// Declares t as a fresh (or fresh and opened) store, returning from the test
// function when that failed.
#define TESTSTORE_FRESH(t)                      \
    const teststore::Target t = teststore::fresh(); \
    if (QTest::currentTestFailed())             \
        return
#define TESTSTORE_OPEN_FRESH(t)                     \
    const teststore::Target t = teststore::openFresh(); \
    if (QTest::currentTestFailed())                 \
        return
#define COMPARE_ROW(r, ...)                                        \
    do {                                                           \
        if (!teststore::sameRow(r, __VA_ARGS__, __FILE__, __LINE__)) \
            return;                                                \
    } while (false)
