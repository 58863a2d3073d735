// Statement texts as each engine receives them, and what a SELECT can write
// back, from the catalogue alone: no store is opened.
#include "adoengine.h"
#include "adostatement.h"

#include <QtTest>

namespace {

ado::TableInfo table(const QString& name, const QVector<QPair<QString, ado::Kind>>& columns, QVector<int> key = {0})
{
    ado::TableInfo t;
    t.name = name;
    for (const auto& [n, k] : columns)
        t.columns.append({n, k});
    t.key = key;
    return t;
}

ado::Catalog catalog()
{
    using K = ado::Kind;
    ado::Catalog c;
    const ado::TableInfo tables[] = {
        table("ARTICULOS", {{"codigo_art", K::Text}, {"descripcion", K::Text}, {"cantidad", K::Integer}, {"precio", K::Money}}),
        table("Kardex", {{"codigo_art", K::Text}, {"fecha", K::Date}, {"concepto", K::Text}}, {}),
        table("Ventas", {{"codigo_fac", K::Integer}, {"fecha", K::Date}, {"codigo_cli", K::Text}}),
        table("CLIENTES", {{"codigo_cli", K::Text}, {"cantidad", K::Text}}),
    };
    for (const ado::TableInfo& t : tables)
        c.tables.insert(t.name.toLower(), t);
    return c;
}

}  // namespace

class TstSentencias : public QObject {
    Q_OBJECT
private slots:
    // The program's dialect in, each engine's text out.
    void rewrite_data()
    {
        for (const char* column : {"in", "sqlite", "mariadb"})
            QTest::addColumn<QString>(column);
        auto same = [](const char* name, const QString& in, const QString& out) { QTest::newRow(name) << in << out << out; };
        same("table names take the catalogue's spelling", "select * from articulos where codigo_art = 'A1'",
             "select * from ARTICULOS where codigo_art = 'A1'");
        same("bracketed names", "Select [codigo_fac] From [ventas]", "Select codigo_fac From Ventas");
        same("bare table", " kardex;", "SELECT * FROM Kardex");
        same("bare unknown name fails as a table", "NoHay", "SELECT * FROM NoHay");
        same("a bare SELECT is no table", "SELECT", "SELECT");
        same("trailing semicolons", "Select * From Ventas;;", "Select * From Ventas");
        same("date month first", "Select * From Ventas Where fecha = #02/01/2024#", "Select * From Ventas Where fecha = '2024-02-01'");
        same("impossible date kept", "Select * From Ventas Where fecha = #13/45/2024#", "Select * From Ventas Where fecha = #13/45/2024#");
        same("double-quoted text", "Select * From CLIENTES Where codigo_cli = \"O'Neil\"",
             "Select * From CLIENTES Where codigo_cli = 'O''Neil'");
        same("literals untouched", "Select * From Kardex Where concepto = 'ventas [x] #1/2/2024# it''s'",
             "Select * From Kardex Where concepto = 'ventas [x] #1/2/2024# it''s'");
        same("delete star", "Delete * From kardex Where codigo_art = 'A1'", "DELETE FROM Kardex Where codigo_art = 'A1'");
        same("wildcards keep LIKE", "Select * From ARTICULOS Where descripcion Like 'Pan%'",
             "Select * From ARTICULOS Where descripcion Like 'Pan%'");
        same("LIKE on a number column", "Select * From ARTICULOS Where cantidad Like '10'",
             "Select * From ARTICULOS Where cantidad Like '10'");
        same("LIKE inside an expression", "Select * From ARTICULOS Where descripcion Like 'Pan' || 'x'",
             "Select * From ARTICULOS Where descripcion Like 'Pan' || 'x'");
        same("LIKE on a column text in one table, number in another", "Select * From CLIENTES Where cantidad Like '10'",
             "Select * From CLIENTES Where cantidad Like '10'");
        QTest::newRow("lock clause") << "Select * From ARTICULOS Where codigo_art = 'A1' For Update"
                                     << "Select * From ARTICULOS Where codigo_art = 'A1'"
                                     << "Select * From ARTICULOS Where codigo_art = 'A1' For Update";
        QTest::newRow("LIKE without wildcards") << "Select * From ARTICULOS Where descripcion Like 'Pan' Order By codigo_art"
                                                << "Select * From ARTICULOS Where descripcion = 'Pan' COLLATE NOCASE Order By codigo_art"
                                                << "Select * From ARTICULOS Where descripcion Like 'Pan' Order By codigo_art";
        QTest::newRow("qualified column, two conditions")
            << "Select * From ARTICULOS Where ARTICULOS.descripcion LIKE 'pan' AND codigo_art LIKE 'A1'"
            << "Select * From ARTICULOS Where ARTICULOS.descripcion = 'pan' COLLATE NOCASE AND codigo_art = 'A1' COLLATE NOCASE"
            << "Select * From ARTICULOS Where ARTICULOS.descripcion LIKE 'pan' AND codigo_art LIKE 'A1'";
        QTest::newRow("backslash in a pattern") << "Select * From ARTICULOS Where descripcion Like 'a\\b%'"
                                                << "Select * From ARTICULOS Where descripcion Like 'a\\b%'"
                                                << "Select * From ARTICULOS Where descripcion Like 'a\\\\b%'";
        same("backslash with its own escape", "Select * From ARTICULOS Where descripcion Like 'a\\%' Escape '\\'",
             "Select * From ARTICULOS Where descripcion Like 'a\\%' Escape '\\'");
        same("backslash outside a pattern", "Select * From ARTICULOS Where descripcion = 'a\\b'",
             "Select * From ARTICULOS Where descripcion = 'a\\b'");
    }
    void rewrite()
    {
        QFETCH(QString, in);
        QFETCH(QString, sqlite);
        QFETCH(QString, mariadb);
        const ado::Catalog cat = catalog();
        QCOMPARE(ado::sqlite::kDialect.statement(in, cat), sqlite);
        QCOMPARE(ado::mariadb::kDialect.statement(in, cat), mariadb);
    }

    // Which results can write their rows back, and through which columns.
    void analyse_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("table");  // empty when not updatable
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<bool>("none");
        QTest::addColumn<QStringList>("fromTables");
        const QStringList art{"ARTICULOS"};
        QTest::newRow("star") << "SELECT * FROM ARTICULOS" << "ARTICULOS" << QStringList{"*"} << false << art;
        QTest::newRow("columns, any case") << "SELECT Codigo_Art, descripcion FROM articulos WHERE cantidad > 0" << "ARTICULOS"
                                           << QStringList{"Codigo_Art", "descripcion"} << false << art;
        QTest::newRow("qualified column") << "SELECT ARTICULOS.precio FROM ARTICULOS" << "ARTICULOS" << QStringList{"precio"}
                                          << false << art;
        QTest::newRow("alias") << "SELECT * FROM ARTICULOS a ORDER BY codigo_art" << "ARTICULOS" << QStringList{"*"} << false
                               << art;
        QTest::newRow("opened to add rows") << "SELECT * FROM Ventas WHERE 1 = 0" << "Ventas" << QStringList{"*"} << true
                                            << QStringList{"Ventas"};
        QTest::newRow("subquery") << "SELECT * FROM ARTICULOS WHERE codigo_art IN (SELECT codigo_art FROM Kardex)" << "ARTICULOS"
                                  << QStringList{"*"} << false << QStringList{"ARTICULOS", "Kardex"};
        QTest::newRow("aggregate") << "SELECT COUNT(*) FROM ARTICULOS" << "" << QStringList() << false << art;
        QTest::newRow("distinct") << "SELECT DISTINCT descripcion FROM ARTICULOS" << "" << QStringList() << false << art;
        QTest::newRow("unknown column") << "SELECT nohay FROM ARTICULOS" << "" << QStringList() << false << art;
        QTest::newRow("star and a column") << "SELECT *, precio FROM ARTICULOS" << "" << QStringList() << false << art;
        QTest::newRow("grouped") << "SELECT codigo_art FROM Kardex GROUP BY codigo_art" << "" << QStringList() << false
                                 << QStringList{"Kardex"};
        QTest::newRow("join") << "SELECT * FROM Ventas, CLIENTES WHERE Ventas.codigo_cli = CLIENTES.codigo_cli" << ""
                              << QStringList() << false << QStringList{"Ventas", "CLIENTES"};
        QTest::newRow("unknown table") << "SELECT * FROM NoHay" << "" << QStringList() << false << QStringList();
    }
    void analyse()
    {
        QFETCH(QString, sql);
        QFETCH(QString, table);
        QFETCH(QStringList, items);
        QFETCH(bool, none);
        QFETCH(QStringList, fromTables);
        const ado::Catalog cat = catalog();
        const ado::sql::SelectShape sh = ado::sql::analyse(sql, cat);
        QVERIFY(sh.select);
        QCOMPARE(sh.updatable, !table.isEmpty());
        QCOMPARE(sh.table, table);
        QCOMPARE(sh.info, table.isEmpty() ? nullptr : cat.table(table));
        QCOMPARE(sh.items, items);
        QCOMPARE(sh.none, none);
        QCOMPARE(sh.fromTables, fromTables);
        if (sh.updatable) {
            QCOMPARE(sh.star, items == QStringList{"*"});
            QCOMPARE(sql.mid(sh.fromPos, 4).toUpper(), QString("FROM"));
        }
    }

    void statementsAreNoSelect()
    {
        const ado::Catalog cat = catalog();
        for (const char* s : {"UPDATE ARTICULOS SET cantidad = 1", "DELETE FROM Kardex", "", "  "})
            QVERIFY2(!ado::sql::analyse(s, cat).select, s);
    }

    // Literals with doubled apostrophes, or never closed, are one token;
    // parentheses give the depth.
    void tokens()
    {
        using T = ado::sql::Token;
        const QVector<T> tk = ado::sql::tokenize("a.b=('x''y' ,c) 'open");
        QStringList texts;
        QVector<int> depths;
        for (const T& t : tk) {
            texts << t.text;
            depths << t.depth;
        }
        QCOMPARE(texts, (QStringList{"a.b", "=", "(", "'x''y'", ",", "c", ")", "'open"}));
        QCOMPARE(depths, (QVector<int>{0, 0, 0, 1, 1, 1, 0, 0}));
        QCOMPARE(tk[3].type, T::String);
        QCOMPARE(tk[7].type, T::String);
        QCOMPARE(tk[3].pos, 5);
        QVERIFY(ado::sql::isWord(tk[5], "C"));
    }
};

QTEST_GUILESS_MAIN(TstSentencias)
#include "tst_sentencias.moc"
