// The store's declarations, checked with plain Qt SQL on a fresh store.
// TARVIK_STORE_TEST: runs once on SQLite and once on MariaDB.
#include "StoreSetup.h"
#include "TestStore.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest/QtTest>

using teststore::Target;

namespace {

QString joined(const QVariantList& row)
{
    QStringList parts;
    for (const QVariant& v : row)
        parts << (v.isNull() ? QStringLiteral("<null>") : v.toString());
    return parts.join(QLatin1Char('|'));
}

QStringList joinedRows(const Target& t, const QString& sql)
{
    QStringList out;
    for (const QVariantList& row : teststore::queryRaw(t, sql))
        out << joined(row);
    return out;
}

// Kind letters: T text, I whole number, M money, D date, A auto-number.
QString storedKinds(const Target& t, const QString& table)
{
    QStringList out;
    if (teststore::mariadb()) {
        const auto rows = teststore::rowsRaw(
            t, QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE, EXTRA FROM information_schema.COLUMNS "
                              "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '%1' AND EXTRA NOT LIKE '%INVISIBLE%' "
                              "ORDER BY ORDINAL_POSITION")
                   .arg(table));
        for (const teststore::Row& r : rows) {
            const QString type = r["DATA_TYPE"].toString().toLower();
            QString k = QStringLiteral("?") + type;
            if (r["EXTRA"].toString().contains(QLatin1String("auto_increment")))
                k = QStringLiteral("A");
            else if (type == QLatin1String("varchar") || type == QLatin1String("text"))
                k = QStringLiteral("T");
            else if (type == QLatin1String("int"))
                k = QStringLiteral("I");
            else if (type == QLatin1String("double"))
                k = QStringLiteral("M");
            else if (type == QLatin1String("date"))
                k = QStringLiteral("D");
            out << r["COLUMN_NAME"].toString() + QLatin1Char(':') + k;
        }
    } else {
        const bool autoinc = teststore::scalarRaw(t, QStringLiteral("SELECT sql FROM sqlite_master WHERE name = '%1'")
                                                         .arg(table))
                                 .toString()
                                 .contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive);
        const auto rows =
            teststore::rowsRaw(t, QStringLiteral("SELECT name, type, pk FROM pragma_table_info('%1')").arg(table));
        for (const teststore::Row& r : rows) {
            // Declared types exactly as the data layer maps them.
            const QString type = r["type"].toString();
            QString k = QStringLiteral("?") + type;
            if (type == QLatin1String("INTEGER") && autoinc && r["pk"].toInt() > 0)
                k = QStringLiteral("A");
            else if (type == QLatin1String("TEXT"))
                k = QStringLiteral("T");
            else if (type == QLatin1String("INTEGER"))
                k = QStringLiteral("I");
            else if (type == QLatin1String("REAL"))
                k = QStringLiteral("M");
            else if (type == QLatin1String("DATE"))
                k = QStringLiteral("D");
            out << r["name"].toString() + QLatin1Char(':') + k;
        }
    }
    return out.join(QLatin1Char(' '));
}

QString storedKey(const Target& t, const QString& table)
{
    QStringList cols;
    if (teststore::mariadb()) {
        for (const QVariantList& r : teststore::queryRaw(
                 t, QStringLiteral("SELECT COLUMN_NAME FROM information_schema.KEY_COLUMN_USAGE "
                                   "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = '%1' "
                                   "AND CONSTRAINT_NAME = 'PRIMARY' ORDER BY ORDINAL_POSITION")
                        .arg(table)))
            cols << r[0].toString();
    } else {
        for (const QVariantList& r : teststore::queryRaw(
                 t, QStringLiteral("SELECT name FROM pragma_table_info('%1') WHERE pk > 0 ORDER BY pk").arg(table)))
            cols << r[0].toString();
    }
    return cols.join(QLatin1Char(','));
}

const QStringList kTables = {
    QStringLiteral("ARTICULOS"),   QStringLiteral("CLIENTES"),        QStringLiteral("PROVEEDORES"),
    QStringLiteral("Ventas"),      QStringLiteral("Compras"),         QStringLiteral("Detalles_FacVen"),
    QStringLiteral("Detalles_FacCom"), QStringLiteral("Fact_xCobrar"), QStringLiteral("Fact_xPagar"),
    QStringLiteral("Kardex"),      QStringLiteral("empresas"),        QStringLiteral("usuarios"),
    QStringLiteral("ncfs"),
};

// A second company and its user, two articles with stock cards, and sales
// and purchases spread over both companies, clients, suppliers and users.
// Invoice 1 exists in both companies; every invoice has two lines; invoice
// 1 of company 1 has two payments, the others one.
void buildWorld(const Target& t)
{
    const QStringList sql = {
        "INSERT INTO empresas (codigo_emp, nombre_emp, costeo_inventario, consecutivo_compra, consecutivo_venta) "
        "VALUES (2, 'SUCURSAL', 'UltimoPrecio', 0, 0)",
        "INSERT INTO usuarios VALUES (1, '2', 'VENDEDOR', 'x', 'Asistente')",
        "INSERT INTO usuarios VALUES (2, '1', 'CAJERO', 'y', 'Asistente')",
        "INSERT INTO ARTICULOS (codigo_art, descripcion_art, cantidad) VALUES ('A1', 'UNO', 5)",
        "INSERT INTO ARTICULOS (codigo_art, descripcion_art, cantidad) VALUES ('A2', 'DOS', 5)",
        "INSERT INTO Kardex VALUES ('A1', '2024-01-02', 'Inventario Inicial', '5', '-', 5, 10)",
        "INSERT INTO Kardex VALUES ('A1', '2024-01-03', 'Factura de Venta', '-', '1', 4, 10)",
        "INSERT INTO Kardex VALUES ('A2', '2024-01-02', 'Inventario Inicial', '5', '-', 5, 20)",
        "INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('C1', 'CLIENTE UNO')",
        "INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('C2', 'CLIENTE DOS')",
        "INSERT INTO PROVEEDORES (codigo_prov, nombre_prov) VALUES ('P1', 'PROVEEDOR UNO')",
    };
    for (const QString& s : sql)
        teststore::execRaw(t, s);

    struct Inv { int fac; int emp; const char* party; const char* usu; };
    const Inv sales[] = {{1, 1, "C1", "1"}, {2, 1, "C2", "2"}, {1, 2, "C1", "1"}};
    const Inv purchases[] = {{1, 1, "P1", "1"}, {2, 1, "0", "2"}, {1, 2, "P1", "1"}};
    for (int side = 0; side < 2; ++side) {
        const QString head = side == 0 ? QStringLiteral("Ventas") : QStringLiteral("Compras");
        const QString lines = side == 0 ? QStringLiteral("Detalles_FacVen") : QStringLiteral("Detalles_FacCom");
        const QString pays = side == 0 ? QStringLiteral("Fact_xCobrar") : QStringLiteral("Fact_xPagar");
        for (const Inv& i : side == 0 ? sales : purchases) {
            teststore::execRaw(t, QStringLiteral("INSERT INTO %1 VALUES (%2, '%3', '2024-01-03', 'CREDITO', 100, 18, 0, "
                                                 "50, 68, 118, '', 'Sin Cancelar', '2024-02-03', %4, '%5', '')")
                                      .arg(head).arg(i.fac).arg(QLatin1String(i.party)).arg(i.emp)
                                      .arg(QLatin1String(i.usu)));
            for (const char* art : {"A1", "A2"})
                teststore::execRaw(t, QStringLiteral("INSERT INTO %1 VALUES (%2, %3, '%4', 'X', 1, 50, 18, 59, 10)")
                                          .arg(lines).arg(i.fac).arg(i.emp).arg(QLatin1String(art)));
            const int n = (i.fac == 1 && i.emp == 1) ? 2 : 1;
            for (int a = 1; a <= n; ++a)
                teststore::execRaw(t, QStringLiteral("INSERT INTO %1 VALUES (%2, %3, 25, '2024-01-03', %4)")
                                          .arg(pays).arg(i.fac).arg(a).arg(i.emp));
        }
    }
}

// Every table's rows reduced to their identifying columns, sorted.
QMap<QString, QString> worldState(const Target& t)
{
    const QMap<QString, QString> queries = {
        {"ARTICULOS", "SELECT codigo_art FROM ARTICULOS"},
        {"Kardex", "SELECT codigo_art FROM Kardex"},
        {"CLIENTES", "SELECT codigo_cli FROM CLIENTES"},
        {"PROVEEDORES", "SELECT codigo_prov FROM PROVEEDORES"},
        {"empresas", "SELECT codigo_emp FROM empresas"},
        {"usuarios", "SELECT codigo_emp, codigo_usu FROM usuarios"},
        {"Ventas", "SELECT codigo_fac, codigo_emp FROM Ventas"},
        {"Compras", "SELECT codigo_fac, codigo_emp FROM Compras"},
        {"Detalles_FacVen", "SELECT codigo_fac, codigo_emp FROM Detalles_FacVen"},
        {"Detalles_FacCom", "SELECT codigo_fac, codigo_emp FROM Detalles_FacCom"},
        {"Fact_xCobrar", "SELECT codigo_fac, codigo_emp, num_abono FROM Fact_xCobrar"},
        {"Fact_xPagar", "SELECT codigo_fac, codigo_emp, num_abono FROM Fact_xPagar"},
    };
    QMap<QString, QString> out;
    for (auto it = queries.cbegin(); it != queries.cend(); ++it) {
        QStringList rows = joinedRows(t, it.value());
        rows.sort();
        out[it.key()] = rows.join(QLatin1Char(' '));
    }
    return out;
}

}  // namespace

class tst_schema : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void tables();
    void columns_data();
    void columns();
    void seedRows();

    void uniqueKeys_data();
    void uniqueKeys();

    void everyTableKeyed();
    void twinLinesKeyed_data();
    void twinLinesKeyed();

    void cascades_data();
    void cascades();

    void ncfsIdNeverReused();

    void textComparison_data();
    void textComparison();

    void setupLeavesExistingStoreAlone();
    void setupAddsMissingIndexes();

private:
    Target shared_;  // read-only checks share one store
};

void tst_schema::initTestCase()
{
    shared_ = teststore::fresh();
}

void tst_schema::tables()
{
    const QString sql = teststore::mariadb()
        ? QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE()")
        : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'");
    QStringList found = joinedRows(shared_, sql);
    found.sort();
    QStringList expected = kTables;
    expected.sort();
    QCOMPARE(found, expected);

    if (teststore::mariadb()) {
        const QStringList options = joinedRows(
            shared_, QStringLiteral("SELECT DISTINCT ENGINE, TABLE_COLLATION FROM information_schema.TABLES "
                                    "WHERE TABLE_SCHEMA = DATABASE()"));
        QCOMPARE(options, QStringList{QStringLiteral("InnoDB|utf8mb4_uca1400_nopad_as_ci")});
    }
}

void tst_schema::columns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("kinds");
    QTest::addColumn<QString>("key");

    QTest::newRow("ARTICULOS") << "ARTICULOS"
        << "codigo_art:T descripcion_art:T precio_compra:M impuesto:I precio_venta1:M precio_venta2:M "
           "precio_venta3:M cantidad:I stock_minimo:I stock_maximo:I observaciones_art:T fecha_ingreso_art:D "
           "imagen_art:T ubicacion:T nombre_prov1:T nombre_prov2:T nombre_prov3:T tipo_art:T"
        << "codigo_art";
    QTest::newRow("CLIENTES") << "CLIENTES"
        << "codigo_cli:T nombre_cli:T identificacion_cli:T direccion_cli:T telefono_cli:T fax_cli:T "
           "notas_cli:T fecha_ingreso_cli:D imagen_cli:T"
        << "codigo_cli";
    QTest::newRow("PROVEEDORES") << "PROVEEDORES"
        << "codigo_prov:T nombre_prov:T identificacion_prov:T direccion_prov:T telefono_prov:T fax_prov:T "
           "notas_prov:T fecha_ingreso_prov:D imagen_prov:T"
        << "codigo_prov";
    const QString invoice = QStringLiteral(
        "codigo_fac:I %1:T fecha:D forma_pago:T valor_neto:M impuesto_total:M descuento:M abono:M saldo:M "
        "total:M notas:T Estado:T fecha_vencimiento:D codigo_emp:I codigo_usu:T ncf:T");
    QTest::newRow("Ventas") << "Ventas" << invoice.arg("codigo_cli") << "codigo_fac,codigo_emp";
    QTest::newRow("Compras") << "Compras" << invoice.arg("codigo_prov") << "codigo_fac,codigo_emp";
    const QString lines = QStringLiteral(
        "codigo_fac:I codigo_emp:I codigo_art:T descripcion_art:T cantidad:I valor_unitario:M impuesto:I "
        "SubTotal:M precio_compra_det:M");
    QTest::newRow("Detalles_FacVen") << "Detalles_FacVen" << lines << "";
    QTest::newRow("Detalles_FacCom") << "Detalles_FacCom" << lines << "";
    const QString pays = QStringLiteral("codigo_fac:I num_abono:I valor_abono:M fecha_abono:D codigo_emp:I");
    QTest::newRow("Fact_xCobrar") << "Fact_xCobrar" << pays << "codigo_fac,codigo_emp,num_abono";
    QTest::newRow("Fact_xPagar") << "Fact_xPagar" << pays << "codigo_fac,codigo_emp,num_abono";
    QTest::newRow("Kardex") << "Kardex"
        << "codigo_art:T fecha:D concepto:T unidades_entrantes:T unidades_salientes:T saldo:I precio_compra:M"
        << "";
    QTest::newRow("empresas") << "empresas"
        << "codigo_emp:I nombre_emp:T identificacion_emp:T direccion_emp:T regimen_emp:T PieFactura1:T "
           "PieFactura2:T PieFactura3:T PieFactura4:T PieFactura5:T PieFactura6:T costeo_inventario:T "
           "consecutivo_compra:I consecutivo_venta:I prefijo_ncf:T desde_ncf:I hasta_ncf:I consecutivo_ncf:I"
        << "codigo_emp";
    QTest::newRow("usuarios") << "usuarios"
        << "codigo_emp:I codigo_usu:T nombre_usu:T password_usu:T nivel_usu:T" << "codigo_emp,codigo_usu";
    QTest::newRow("ncfs") << "ncfs"
        << "ID:A descripcion:T prefijo:T desde:I hasta:I consecutivo:I id_sucursal:T" << "ID";
}

void tst_schema::columns()
{
    QFETCH(QString, table);
    QFETCH(QString, kinds);
    QFETCH(QString, key);

    QCOMPARE(storedKinds(shared_, table), kinds);
    QCOMPARE(storedKey(shared_, table), key);

    // What "Select *" hands the windows, which copy column i into box i.
    QStringList names;
    for (const QString& nk : kinds.split(QLatin1Char(' ')))
        names << nk.section(QLatin1Char(':'), 0, 0);
    QCOMPARE(teststore::columnsRaw(shared_, table), names);
}

void tst_schema::seedRows()
{
    QCOMPARE(joinedRows(shared_, "SELECT codigo_emp, nombre_emp, costeo_inventario, consecutivo_compra, "
                                 "consecutivo_venta, desde_ncf, hasta_ncf, consecutivo_ncf FROM empresas"),
             QStringList{"1|EMPRESA PRINCIPAL|PromedioPonderado|0|0|0|0|0"});
    QCOMPARE(joinedRows(shared_, "SELECT * FROM usuarios"),
             QStringList{"1|1|ADMINISTRADOR|1234|Administrador"});
    QCOMPARE(joinedRows(shared_, "SELECT codigo_cli, nombre_cli FROM CLIENTES"), QStringList{"0|CLIENTE GENERICO"});
    QCOMPARE(joinedRows(shared_, "SELECT codigo_prov, nombre_prov FROM PROVEEDORES"),
             QStringList{"0|PROVEEDOR GENERICO"});
    for (const QString& table : kTables) {
        if (table == "empresas" || table == "usuarios" || table == "CLIENTES" || table == "PROVEEDORES")
            continue;
        QVERIFY2(teststore::scalarRaw(shared_, "SELECT COUNT(*) FROM " + table).toInt() == 0, qPrintable(table));
    }
}

void tst_schema::uniqueKeys_data()
{
    QTest::addColumn<QStringList>("fixture");
    QTest::addColumn<QString>("duplicate");  // must be refused
    QTest::addColumn<QString>("allowed");    // a near miss that must pass

    const QString sale = "INSERT INTO Ventas (codigo_fac, codigo_cli, codigo_emp, codigo_usu) VALUES (7, '0', %1, '1')";
    const QString purchase =
        "INSERT INTO Compras (codigo_fac, codigo_prov, codigo_emp, codigo_usu) VALUES (7, '0', %1, '1')";
    const QString company2 = "INSERT INTO empresas (codigo_emp, nombre_emp) VALUES (2, 'SUCURSAL')";
    const QString user2 = "INSERT INTO usuarios VALUES (2, '1', 'CAJERO', 'y', 'Asistente')";

    QTest::newRow("ARTICULOS.codigo_art, in another case")
        << QStringList{"INSERT INTO ARTICULOS (codigo_art) VALUES ('AB1')"}
        << "INSERT INTO ARTICULOS (codigo_art) VALUES ('ab1')" << "INSERT INTO ARTICULOS (codigo_art) VALUES ('AB2')";
    QTest::newRow("CLIENTES.codigo_cli") << QStringList{} << "INSERT INTO CLIENTES (codigo_cli) VALUES ('0')"
                                         << "INSERT INTO CLIENTES (codigo_cli) VALUES ('00')";
    QTest::newRow("PROVEEDORES.codigo_prov") << QStringList{} << "INSERT INTO PROVEEDORES (codigo_prov) VALUES ('0')"
                                             << "INSERT INTO PROVEEDORES (codigo_prov) VALUES ('00')";
    QTest::newRow("Ventas.codigo_fac+codigo_emp")
        << QStringList{company2, user2, sale.arg(1)} << sale.arg(1) << sale.arg(2);
    QTest::newRow("Compras.codigo_fac+codigo_emp")
        << QStringList{company2, user2, purchase.arg(1)} << purchase.arg(1) << purchase.arg(2);
    QTest::newRow("Fact_xCobrar.codigo_fac+codigo_emp+num_abono")
        << QStringList{sale.arg(1), "INSERT INTO Fact_xCobrar VALUES (7, 1, 10, '2024-01-01', 1)"}
        << "INSERT INTO Fact_xCobrar VALUES (7, 1, 20, '2024-01-02', 1)"
        << "INSERT INTO Fact_xCobrar VALUES (7, 2, 20, '2024-01-02', 1)";
    QTest::newRow("Fact_xPagar.codigo_fac+codigo_emp+num_abono")
        << QStringList{purchase.arg(1), "INSERT INTO Fact_xPagar VALUES (7, 1, 10, '2024-01-01', 1)"}
        << "INSERT INTO Fact_xPagar VALUES (7, 1, 20, '2024-01-02', 1)"
        << "INSERT INTO Fact_xPagar VALUES (7, 2, 20, '2024-01-02', 1)";
    QTest::newRow("empresas.codigo_emp") << QStringList{}
        << "INSERT INTO empresas (codigo_emp, nombre_emp) VALUES (1, 'OTRA')" << company2;
    QTest::newRow("empresas.nombre_emp") << QStringList{}
        << "INSERT INTO empresas (codigo_emp, nombre_emp) VALUES (2, 'EMPRESA PRINCIPAL')" << company2;
    QTest::newRow("usuarios.codigo_emp+codigo_usu") << QStringList{company2}
        << "INSERT INTO usuarios VALUES (1, '1', 'OTRO', 'z', 'Asistente')" << user2;
    QTest::newRow("usuarios.nombre_usu across companies") << QStringList{company2}
        << "INSERT INTO usuarios VALUES (2, '5', 'ADMINISTRADOR', 'z', 'Administrador')" << user2;
}

void tst_schema::uniqueKeys()
{
    QFETCH(QStringList, fixture);
    QFETCH(QString, duplicate);
    QFETCH(QString, allowed);

    TESTSTORE_FRESH(t);
    for (const QString& s : fixture)
        teststore::execRaw(t, s);
    QString error;
    QVERIFY2(!teststore::tryExecRaw(t, duplicate, &error), qPrintable("accepted: " + duplicate));
    QVERIFY2(teststore::tryExecRaw(t, allowed, &error), qPrintable(allowed + ": " + error));
}

// A cluster copies each changed row to the other nodes by its key: no
// table may leave its rows to the engine's own hidden row number.
void tst_schema::everyTableKeyed()
{
    if (teststore::mariadb()) {
        const QString own = QStringLiteral("FROM information_schema.INNODB_SYS_TABLES t JOIN information_schema.INNODB_SYS_INDEXES i "
                                           "ON i.TABLE_ID = t.TABLE_ID WHERE LEFT(t.NAME, LENGTH(DATABASE()) + 1) = "
                                           "CONCAT(DATABASE(), '/') AND i.TYPE & 1 = 1");
        QCOMPARE(teststore::scalarRaw(shared_, "SELECT COUNT(*) " + own).toInt(), int(kTables.size()));
        QCOMPARE(joinedRows(shared_, "SELECT t.NAME " + own + " AND i.NAME = 'GEN_CLUST_INDEX'"), QStringList());
    } else {
        QCOMPARE(joinedRows(shared_, "SELECT name FROM sqlite_master WHERE type = 'table' AND sql LIKE '%WITHOUT ROWID%'"),
                 QStringList());
    }
}

void tst_schema::twinLinesKeyed_data()
{
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("lines");
    QTest::newRow("sale") << "INSERT INTO Ventas (codigo_fac, codigo_cli, codigo_emp, codigo_usu) VALUES (7, '0', 1, '1')"
                          << "Detalles_FacVen";
    QTest::newRow("purchase") << "INSERT INTO Compras (codigo_fac, codigo_prov, codigo_emp, codigo_usu) VALUES (7, '0', 1, '1')"
                              << "Detalles_FacCom";
}

// Two lines alike in every column are still two rows, each with a key of
// its own that "Select *" does not hand.
void tst_schema::twinLinesKeyed()
{
    QFETCH(QString, head);
    QFETCH(QString, lines);

    TESTSTORE_FRESH(t);
    teststore::execRaw(t, head);
    const QString line = QStringLiteral("INSERT INTO %1 VALUES (7, 1, 'A1', 'UNO', 1, 50, 18, 59, 10)").arg(lines);
    teststore::execRaw(t, line);
    teststore::execRaw(t, line);
    const QList<QVariantList> keys = teststore::queryRaw(t, "SELECT rowid FROM " + lines + " ORDER BY rowid");
    QCOMPARE(keys.size(), 2);
    QVERIFY(keys[0][0].toLongLong() < keys[1][0].toLongLong());
    QCOMPARE(joinedRows(t, "SELECT * FROM " + lines), QStringList(2, "7|1|A1|UNO|1|50|18|59|10"));

    teststore::execRaw(t, QStringLiteral("DELETE FROM %1 WHERE rowid = %2").arg(lines).arg(keys[0][0].toLongLong()));
    QCOMPARE(teststore::queryRaw(t, "SELECT rowid FROM " + lines), QList<QVariantList>{keys[1]});
}

void tst_schema::cascades_data()
{
    QTest::addColumn<QString>("deletion");
    QTest::addColumn<QStringList>("changed");  // "table=rows after", every other table unchanged

    QTest::newRow("article takes its stock card, not invoice lines")
        << "DELETE FROM ARTICULOS WHERE codigo_art = 'A1'"
        << QStringList{"ARTICULOS=A2", "Kardex=A2"};
    QTest::newRow("client takes its sales in both companies")
        << "DELETE FROM CLIENTES WHERE codigo_cli = 'C1'"
        << QStringList{"CLIENTES=0 C2", "Ventas=2|1", "Detalles_FacVen=2|1 2|1", "Fact_xCobrar=2|1|1"};
    QTest::newRow("supplier takes its purchases in both companies")
        << "DELETE FROM PROVEEDORES WHERE codigo_prov = 'P1'"
        << QStringList{"PROVEEDORES=0", "Compras=2|1", "Detalles_FacCom=2|1 2|1", "Fact_xPagar=2|1|1"};
    QTest::newRow("company takes its users and invoices")
        << "DELETE FROM empresas WHERE codigo_emp = 2"
        << QStringList{"empresas=1", "usuarios=1|1 1|2",
                       "Ventas=1|1 2|1", "Detalles_FacVen=1|1 1|1 2|1 2|1", "Fact_xCobrar=1|1|1 1|1|2 2|1|1",
                       "Compras=1|1 2|1", "Detalles_FacCom=1|1 1|1 2|1 2|1", "Fact_xPagar=1|1|1 1|1|2 2|1|1"};
    QTest::newRow("user takes only its own company's invoices")
        << "DELETE FROM usuarios WHERE codigo_emp = 1 AND codigo_usu = '1'"
        << QStringList{"usuarios=1|2 2|1",
                       "Ventas=1|2 2|1", "Detalles_FacVen=1|2 1|2 2|1 2|1", "Fact_xCobrar=1|2|1 2|1|1",
                       "Compras=1|2 2|1", "Detalles_FacCom=1|2 1|2 2|1 2|1", "Fact_xPagar=1|2|1 2|1|1"};
    QTest::newRow("sale header takes its lines and payments only")
        << "DELETE FROM Ventas WHERE codigo_fac = 1 AND codigo_emp = 1"
        << QStringList{"Ventas=1|2 2|1", "Detalles_FacVen=1|2 1|2 2|1 2|1", "Fact_xCobrar=1|2|1 2|1|1"};
    QTest::newRow("purchase range takes its lines and payments only")
        << "Delete From compras Where codigo_fac Between 1 And 1 And codigo_emp = 1"
        << QStringList{"Compras=1|2 2|1", "Detalles_FacCom=1|2 1|2 2|1 2|1", "Fact_xPagar=1|2|1 2|1|1"};
}

void tst_schema::cascades()
{
    QFETCH(QString, deletion);
    QFETCH(QStringList, changed);

    TESTSTORE_FRESH(t);
    buildWorld(t);
    if (QTest::currentTestFailed())
        return;
    QMap<QString, QString> expected = worldState(t);
    for (const QString& c : changed)
        expected[c.section(QLatin1Char('='), 0, 0)] = c.section(QLatin1Char('='), 1);

    // Table names in statements come in any case; on MariaDB that is the
    // data layer's business, so the raw statement uses the declared name.
    QString sql = deletion;
    if (teststore::mariadb())
        sql.replace(QLatin1String("From compras"), QLatin1String("From Compras"));
    teststore::execRaw(t, sql);

    const QMap<QString, QString> after = worldState(t);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(after.value(it.key()) == it.value(),
                 qPrintable(QStringLiteral("%1: got [%2], want [%3]").arg(it.key(), after.value(it.key()), it.value())));
}

void tst_schema::ncfsIdNeverReused()
{
    TESTSTORE_FRESH(t);
    const QString add = QStringLiteral(
        "INSERT INTO ncfs (descripcion, prefijo, desde, hasta, consecutivo, id_sucursal) "
        "VALUES ('%1', 'A010010010', 1, 100, 0, '1')");
    teststore::execRaw(t, add.arg("CONSUMIDOR FINAL"));
    teststore::execRaw(t, add.arg("CREDITO FISCAL"));
    const int last = teststore::scalarRaw(t, "SELECT MAX(ID) FROM ncfs").toInt();
    QVERIFY(last >= 2);
    QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(DISTINCT ID) FROM ncfs").toInt(), 2);

    teststore::execRaw(t, QStringLiteral("DELETE FROM ncfs WHERE ID = %1").arg(last));
    teststore::execRaw(t, add.arg("GUBERNAMENTAL"));
    QVERIFY(teststore::scalarRaw(t, "SELECT ID FROM ncfs WHERE descripcion = 'GUBERNAMENTAL'").toInt() > last);

    QString error;
    QVERIFY2(!teststore::tryExecRaw(t, "INSERT INTO ncfs (prefijo) VALUES ('B01')", &error),
             "a range without a description was accepted");
}

void tst_schema::textComparison_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("matches");
    QTest::addColumn<bool>("needsUnicodeFold");

    QTest::newRow("= ignores case") << "descripcion_art = 'leche entera'" << 1 << false;
    QTest::newRow("LIKE ignores case") << "descripcion_art LIKE 'lec%'" << 1 << false;
    QTest::newRow("= keeps accents") << "descripcion_art = 'CAFE'" << 0 << false;
    QTest::newRow("= counts trailing blanks") << "descripcion_art = 'LECHE ENTERA '" << 0 << false;
    QTest::newRow("key counts trailing blanks") << "codigo_art = 'L-1 '" << 0 << false;
    QTest::newRow("LIKE keeps accents") << "descripcion_art LIKE 'cafe%'" << 0 << false;
    // SQLite's own NOCASE folds ASCII only; the data layer installs a Unicode
    // fold per connection and tests these through itself.
    QTest::newRow("= ignores case of accented capitals") << "descripcion_art = 'café'" << 1 << true;
    QTest::newRow("LIKE ignores case of accented capitals") << "descripcion_art LIKE 'café%'" << 1 << true;
    QTest::newRow("key ignores case of accented capitals") << "codigo_art = 'ñu-1'" << 1 << true;
}

void tst_schema::textComparison()
{
    QFETCH(QString, where);
    QFETCH(int, matches);
    QFETCH(bool, needsUnicodeFold);
    if (needsUnicodeFold && !teststore::mariadb())
        QSKIP("needs the data layer's Unicode case fold");

    teststore::execRaw(shared_, "DELETE FROM ARTICULOS");
    teststore::execRaw(shared_, "INSERT INTO ARTICULOS (codigo_art, descripcion_art) VALUES ('ÑU-1', 'CAFÉ')");
    teststore::execRaw(shared_, "INSERT INTO ARTICULOS (codigo_art, descripcion_art) VALUES ('L-1', 'LECHE ENTERA')");
    QCOMPARE(teststore::scalarRaw(shared_, "SELECT COUNT(*) FROM ARTICULOS WHERE " + where).toInt(), matches);
}

void tst_schema::setupLeavesExistingStoreAlone()
{
    TESTSTORE_FRESH(t);
    teststore::execRaw(t, "INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('C9', 'QUEDA')");
    QString error;
    if (teststore::mariadb()) {
        QVERIFY(!tarvikdb::createMariaDbDatabase(teststore::serverHost(), teststore::serverPort(), "root", "",
                                                 t.database, false, &error));
        QVERIFY2(error.contains(t.database), qPrintable(error));
    } else {
        const auto bytes = [](const QString& path) {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray before = bytes(t.sqlitePath);
        QVERIFY(!before.isEmpty());
        QVERIFY(!tarvikdb::createSqliteStore(t.sqlitePath, &error));
        QCOMPARE(bytes(t.sqlitePath), before);

        // Nor is a file that is not a store.
        QTemporaryDir dir;
        const QString junk = dir.filePath("Inventario.qln");
        QByteArray random(4096, 0);
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(random) == random.size());
        f.close();
        QVERIFY(!tarvikdb::createSqliteStore(junk, &error));
        QCOMPARE(bytes(junk), random);
    }
    QCOMPARE(teststore::scalarRaw(t, "SELECT nombre_cli FROM CLIENTES WHERE codigo_cli = 'C9'").toString(),
             QStringLiteral("QUEDA"));
}

namespace {

QStringList indexNames(const Target& t)
{
    QStringList out;
    const QString sql = teststore::mariadb()
                            ? QStringLiteral("SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS WHERE TABLE_SCHEMA = DATABASE()")
                            : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'");
    for (const QVariantList& r : teststore::queryRaw(t, sql))
        out << r[0].toString().toLower();
    out.sort();
    return out;
}

int addMissing(const Target& t, QString* error)
{
    return teststore::mariadb() ? tarvikdb::addMissingMariaDbIndexes(teststore::serverHost(), teststore::serverPort(), "root", "",
                                                                     t.database, error)
                                : tarvikdb::addMissingSqliteIndexes(t.sqlitePath, error);
}

}  // namespace

// A store made before the indexes were declared gets them, and nothing else
// changes; a store of some other program is refused untouched.
void tst_schema::setupAddsMissingIndexes()
{
    TESTSTORE_FRESH(t);
    const QStringList full = indexNames(t);
    for (const char* i :
         {"ventas_ncf", "ventas_fecha", "compras_fecha", "kardex_articulo_fecha", "ventas_pendientes", "compras_pendientes"})
        QVERIFY2(full.contains(QLatin1String(i)), i);
    teststore::execRaw(t, "INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('C9', 'QUEDA')");
    teststore::execRaw(t, "INSERT INTO Ventas (codigo_fac, codigo_cli, fecha, codigo_emp, ncf) VALUES (7, 'C9', '2010-09-02', 1, 'B0100000001')");
    const bool server = teststore::mariadb();
    teststore::execRaw(t, server ? "DROP INDEX Ventas_ncf ON Ventas" : "DROP INDEX Ventas_ncf");
    teststore::execRaw(t, server ? "DROP INDEX Kardex_articulo_fecha ON Kardex" : "DROP INDEX Kardex_articulo_fecha");
    // The server's counter of the stock card's order came later too.
    teststore::execRaw(t, "INSERT INTO ARTICULOS (codigo_art) VALUES ('A9')");
    teststore::execRaw(t, "INSERT INTO Kardex VALUES ('A9', '2010-09-02', 'uno', '1', '-', 1, 1)");
    teststore::execRaw(t, "INSERT INTO Kardex VALUES ('A9', '2010-09-02', 'dos', '1', '-', 2, 1)");
    // And the key of the invoice lines, given to lines stored before it.
    teststore::execRaw(t, "INSERT INTO Compras (codigo_fac, codigo_prov, codigo_emp, codigo_usu) VALUES (7, '0', 1, '1')");
    for (const char* lines : {"Detalles_FacVen", "Detalles_FacCom"})
        for (int i = 0; i < 2; ++i)
            teststore::execRaw(t, QStringLiteral("INSERT INTO %1 VALUES (7, 1, 'A9', 'NUEVE', 1, 50, 18, 59, 10)").arg(lines));
    if (server) {
        teststore::execRaw(t, "ALTER TABLE Kardex DROP COLUMN rowid");
        teststore::execRaw(t, "ALTER TABLE Detalles_FacVen DROP COLUMN rowid");
        teststore::execRaw(t, "ALTER TABLE Detalles_FacCom DROP COLUMN rowid");
    }
    const QStringList rowsBefore = joinedRows(t, "SELECT * FROM Ventas ORDER BY codigo_fac");
    const QStringList kardexBefore = joinedRows(t, "SELECT * FROM Kardex ORDER BY saldo");
    const QStringList salesLinesBefore = joinedRows(t, "SELECT * FROM Detalles_FacVen");
    const QStringList purchaseLinesBefore = joinedRows(t, "SELECT * FROM Detalles_FacCom");

    // The local file's planner also gets statistics of the rows there now.
    const QString ventasStats = QStringLiteral("SELECT count(*) FROM sqlite_stat1 WHERE tbl = 'Ventas'");
    if (!server)
        QCOMPARE(teststore::scalarRaw(t, ventasStats).toInt(), 0);

    QString error;
    QCOMPARE(addMissing(t, &error), server ? 5 : 2);
    QCOMPARE(indexNames(t), full);
    if (!server)
        QVERIFY(teststore::scalarRaw(t, ventasStats).toInt() > 0);
    QCOMPARE(joinedRows(t, "SELECT * FROM Ventas ORDER BY codigo_fac"), rowsBefore);
    QCOMPARE(joinedRows(t, "SELECT * FROM Kardex ORDER BY saldo"), kardexBefore);
    QCOMPARE(joinedRows(t, "SELECT concepto FROM Kardex ORDER BY rowid DESC"), (QStringList{"dos", "uno"}));
    QCOMPARE(joinedRows(t, "SELECT * FROM Detalles_FacVen"), salesLinesBefore);
    QCOMPARE(joinedRows(t, "SELECT * FROM Detalles_FacCom"), purchaseLinesBefore);
    for (const char* lines : {"Detalles_FacVen", "Detalles_FacCom"})
        QCOMPARE(teststore::scalarRaw(t, QStringLiteral("SELECT COUNT(DISTINCT rowid) FROM %1").arg(lines)).toInt(), 2);
    QCOMPARE(addMissing(t, &error), 0);
    QCOMPARE(indexNames(t), full);

    // Another program's store: one table that is not ours.
    if (server) {
        const QString other = t.database + QStringLiteral("_otro");
        teststore::execRaw(t, "DROP DATABASE IF EXISTS `" + other + "`");
        teststore::execRaw(t, "CREATE DATABASE `" + other + "`");
        teststore::execRaw(t, "CREATE TABLE `" + other + "`.Ventas (codigo_emp INT, ncf VARCHAR(20), fecha DATE)");
        Target o = t;
        o.database = other;
        QCOMPARE(tarvikdb::addMissingMariaDbIndexes(teststore::serverHost(), teststore::serverPort(), "root", "", other, &error), -1);
        QVERIFY2(error.contains(other), qPrintable(error));
        QCOMPARE(indexNames(o), QStringList());
        teststore::execRaw(t, "DROP DATABASE `" + other + "`");
    } else {
        QTemporaryDir dir;
        const QString path = dir.filePath("otro.db");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "otro");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec("CREATE TABLE Ventas (codigo_emp INTEGER, ncf TEXT, fecha DATE)"));
            db.close();
        }
        QSqlDatabase::removeDatabase("otro");
        QCOMPARE(tarvikdb::addMissingSqliteIndexes(path, &error), -1);
        QVERIFY2(error.contains(path), qPrintable(error));
        Target o;
        o.sqlitePath = o.connectionString = path;
        o.provider = t.provider;
        QCOMPARE(indexNames(o), QStringList());
    }
}

QTEST_GUILESS_MAIN(tst_schema)
#include "tst_schema.moc"
