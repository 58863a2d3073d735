// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
// The search criteria of the article, client and supplier search dialogs:
// what each finds, what is refused, and that nothing typed into a criterion
// can turn the search into another statement.
#include "Escritorio.h"
#include "ListView.h"
#include "Prueba.h"
#include "StatusBar.h"
#include "fBuscarArticulos.h"
#include "fBuscarClientes.h"
#include "fBuscarProveedores.h"
#include "mDestinoBusqueda.h"
#include "mVblesGlobales.h"
#include "msgbox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

void articulo(const teststore::Target& t, const QString& codigo, const QString& descripcion, const QString& compra,
              const QString& venta1, int impuesto, const QStringList& proveedores, const QString& ubicacion, const QString& tipo,
              int cantidad)
{
    QStringList p = proveedores;
    while (p.size() < 3)
        p.append(QString());
    auto q = [](const QString& s) { return "'" + QString(s).replace("'", "''") + "'"; };
    teststore::execRaw(t, QString("INSERT INTO ARTICULOS (codigo_art, descripcion_art, precio_compra, precio_venta1, impuesto, "
                                  "precio_venta2, precio_venta3, cantidad, stock_minimo, stock_maximo, ubicacion, nombre_prov1, "
                                  "nombre_prov2, nombre_prov3, tipo_art, fecha_ingreso_art) VALUES (%1, %2, %3, %4, %5, 0, 0, %6, 0, 0, "
                                  "%7, %8, %9, %10, %11, '2024-03-05')")
                              .arg(q(codigo), q(descripcion), compra, venta1)
                              .arg(impuesto)
                              .arg(cantidad)
                              .arg(q(ubicacion), q(p[0]), q(p[1]), q(p[2]), q(tipo)));
}

void tercero(const teststore::Target& t, bool proveedor, const QString& codigo, const QString& nombre, const QString& id,
             const QString& dir, const QString& tel, const QString& fax)
{
    const QString s = proveedor ? "prov" : "cli";
    auto q = [](const QString& v) { return "'" + QString(v).replace("'", "''") + "'"; };
    teststore::execRaw(t, QString("INSERT INTO %1 (codigo_%2, nombre_%2, identificacion_%2, direccion_%2, telefono_%2, fax_%2) "
                                  "VALUES (%3, %4, %5, %6, %7, %8)")
                              .arg(proveedor ? "PROVEEDORES" : "CLIENTES", s, q(codigo), q(nombre), q(id), q(dir))
                              .arg(q(tel), q(fax)));
}

// Articles: 77 has no description and is never found.
void articulos(const teststore::Target& t)
{
    articulo(t, "12", "MESA REDONDA", "12.5", "20", 16, {"MADERAS DEL SUR"}, "PASILLO A", "FISICO", 4);
    articulo(t, "120", "SILLA", "7", "11", 0, {"", "MADERAS DEL SUR"}, "PASILLO B", "SERVICIO", 5);
    articulo(t, "129", "MESA DE CENTRO", "30", "45.75", 16, {"", "", "HIERROS NORTE"}, "DEPOSITO", "FISICO", 9);
    articulo(t, "312", "LAMPARA O'BRIEN", "12.5", "20", 18, {"HIERROS NORTE"}, "DEPOSITO", "USO OCASIONAL", 0);
    articulo(t, "77", "", "12.5", "20", 16, {"MADERAS DEL SUR"}, "PASILLO A", "FISICO", 1);
}

// The same parties in both tables, besides the generic "0"; 21 has no name.
void terceros(const teststore::Target& t)
{
    for (bool p : {false, true}) {
        tercero(t, p, "1", "MARIANA LOPEZ", "001", "CALLE EL SOL 5", "555-1234", "555-9999");
        tercero(t, p, "10", "JUAN O'NEIL", "0012", "AV. LUNA", "555-1234", "");
        tercero(t, p, "125", "PEDRO", "002", "CALLE LUNA 8", "809-0000", "");
        tercero(t, p, "21", "", "001", "CALLE EL SOL 5", "555-1234", "");
    }
}

QStringList codigos(const ListView* lvw)
{
    QStringList c;
    for (int i = 1; i <= lvw->count(); ++i)
        c.append(lvw->text(i));
    c.sort();
    return c;
}

// "name=text" pairs: the criterion control and what is typed into it.
void poner(QWidget* dlg, const QStringList& criterios)
{
    for (const QString& c : criterios) {
        const int eq = c.indexOf('=');
        const QString nombre = c.left(eq), texto = c.mid(eq + 1);
        if (auto* cb = dlg->findChild<QComboBox*>(nombre))
            cb->setEditText(texto);
        else
            fx::hijo<QLineEdit>(dlg, nombre)->setText(texto);
    }
}

const QString kNoNumero = "Error inesperado N° 13. El criterio \"%1\" debe ser un número escrito con cifras y punto decimal: %2";

// A search is pressed with nothing filled first, so that a refused search
// shows it left that list in place.
void buscarTras(fBuscarBase* dlg, const QStringList& criterios, const QStringList& todos)
{
    dlg->bBuscar->click();
    QCOMPARE(codigos(dlg->lvw), todos);
    QCOMPARE(msgtest::texts(), QStringList());
    poner(dlg, criterios);
    dlg->bBuscar->click();
}

}  // namespace

class TstBusquedas : public Prueba {
    Q_OBJECT
private slots:
    void articulos_data()
    {
        QTest::addColumn<QStringList>("criterios");
        QTest::addColumn<QStringList>("esperados");
        QTest::addColumn<QString>("rechazo");  // the refusal's message, empty when the search runs

        const QStringList todos{"12", "120", "129", "312"};
        QTest::newRow("ninguno") << QStringList{} << todos << "";
        QTest::newRow("codigo empieza") << QStringList{"cbCodigo_art=12"} << QStringList{"12", "120", "129"} << "";
        QTest::newRow("codigo en blanco") << QStringList{"cbCodigo_art= "} << QStringList{} << "";
        QTest::newRow("descripcion contiene") << QStringList{"cbDescripcion_art=mesa"} << QStringList{"12", "129"} << "";
        QTest::newRow("descripcion en blanco") << QStringList{"cbDescripcion_art= "} << QStringList{"12", "129", "312"} << "";
        QTest::newRow("descripcion con apostrofo") << QStringList{"cbDescripcion_art=O'BRIEN"} << QStringList{"312"} << "";
        QTest::newRow("precio compra") << QStringList{"cbPrecio_compra=12.5"} << QStringList{"12", "312"} << "";
        QTest::newRow("precio compra entre blancos") << QStringList{"cbPrecio_compra= 12.5 "} << QStringList{"12", "312"} << "";
        QTest::newRow("precio venta 1") << QStringList{"cbPrecio_Venta1=45.75"} << QStringList{"129"} << "";
        QTest::newRow("impuesto") << QStringList{"cbImpuesto=16"} << QStringList{"12", "129"} << "";
        QTest::newRow("proveedor en cualquiera de los tres")
            << QStringList{"cbNombre_prov=MADERAS"} << QStringList{"12", "120"} << "";
        QTest::newRow("proveedor tercero") << QStringList{"cbNombre_prov=norte"} << QStringList{"129", "312"} << "";
        QTest::newRow("proveedor y tipo") << QStringList{"cbNombre_prov=MADERAS", "cbTipo_art=FISICO"} << QStringList{"12"} << "";
        QTest::newRow("ubicacion") << QStringList{"cbUbicacion=PASILLO"} << QStringList{"12", "120"} << "";
        QTest::newRow("tipo") << QStringList{"cbTipo_art=SERVICIO"} << QStringList{"120"} << "";
        QTest::newRow("por debajo de la cantidad") << QStringList{"cbCantidad=5"} << QStringList{"12", "312"} << "";
        QTest::newRow("codigo y descripcion") << QStringList{"cbCodigo_art=12", "cbDescripcion_art=MESA"} << QStringList{"12", "129"}
                                              << "";
        // A quote in a text criterion is part of the text, never the end of it.
        QTest::newRow("comilla que cierra") << QStringList{"cbCodigo_art=x' OR '1'='1"} << QStringList{} << "";
        QTest::newRow("union en texto")
            << QStringList{"cbDescripcion_art=' UNION SELECT codigo_cli,nombre_cli,nombre_cli,nombre_cli,nombre_cli,nombre_cli,"
                           "nombre_cli,nombre_cli,nombre_cli,nombre_cli,nombre_cli FROM CLIENTES --"}
            << QStringList{} << "";

        QTest::newRow("coma decimal") << QStringList{"cbPrecio_compra=12,5"} << todos << kNoNumero.arg("Precio de compra", "12,5");
        QTest::newRow("venta no numerica") << QStringList{"cbPrecio_Venta1=veinte"} << todos
                                           << kNoNumero.arg("Precio de Venta 1", "veinte");
        QTest::newRow("impuesto en blanco") << QStringList{"cbImpuesto= "} << todos << kNoNumero.arg("Impuesto", " ");
        QTest::newRow("cantidad con condicion") << QStringList{"cbCantidad=5 OR 1=1"} << todos
                                                << kNoNumero.arg("Por debajo de la cantidad", "5 OR 1=1");
        const QString unionNum = "0 UNION SELECT codigo_cli,nombre_cli,nombre_cli,nombre_cli,nombre_cli,nombre_cli,nombre_cli,"
                                 "nombre_cli,nombre_cli,nombre_cli,nombre_cli FROM CLIENTES";
        QTest::newRow("union en numero") << QStringList{"cbCantidad=" + unionNum} << todos
                                         << kNoNumero.arg("Por debajo de la cantidad", unionNum);
        // The refusal comes before any statement runs, whatever is valid
        // beside it.
        QTest::newRow("valido y no numerico") << QStringList{"cbCodigo_art=12", "cbPrecio_compra=1e3"} << todos
                                              << kNoNumero.arg("Precio de compra", "1e3");
    }
    void articulos()
    {
        QFETCH(QStringList, criterios);
        QFETCH(QStringList, esperados);
        QFETCH(QString, rechazo);
        TESTSTORE_OPEN_FRESH(t);
        ::articulos(t);
        teststore::execRaw(t, "INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('Z9', 'INTRUSO')");
        fx::Escritorio e;
        AbrirBuscarArticulos();
        fBuscarArticulos* dlg = VentanaAbierta<fBuscarArticulos>();
        QVERIFY(dlg);
        QCOMPARE(dlg->lvw->count(), 0);  // empty until the first search
        const QStringList todos{"12", "120", "129", "312"};
        buscarTras(dlg, criterios, todos);

        if (rechazo.isEmpty()) {
            QCOMPARE(msgtest::texts(), QStringList());
            QCOMPARE(codigos(dlg->lvw), esperados);
            QCOMPARE(dlg->sb->text(), esperados.isEmpty() ? QString() : QString("%1 elemento(s) encontrado(s)").arg(esperados.size()));
        } else {
            QCOMPARE(msgtest::texts(), QStringList{rechazo});
            QCOMPARE(msgtest::calls()[0].style, MsgStyle::Critical);
            QCOMPARE(codigos(dlg->lvw), todos);
            QCOMPARE(dlg->sb->text(), QString("4 elemento(s) encontrado(s)"));
            QVERIFY(VentanaAbierta<fBuscarArticulos>());
        }
    }

    // A backslash is a plain character, % and _ are the wildcards and a
    // trailing blank counts, on either store.
    void barrasComodinesYBlancos_data()
    {
        QTest::addColumn<bool>("clientes");
        QTest::addColumn<QStringList>("criterios");
        QTest::addColumn<QStringList>("esperados");
        QTest::newRow("codigo con barra") << false << QStringList{"cbCodigo_art=1\\"} << QStringList{"1\\2"};
        QTest::newRow("codigo con comodin _") << false << QStringList{"cbCodigo_art=1_2"} << QStringList{"102", "1\\2", "1_2"};
        QTest::newRow("codigo con comodin %") << false << QStringList{"cbCodigo_art=1%2"}
                                              << QStringList{"102", "12", "1\\2", "1_2"};
        QTest::newRow("codigo con blanco final") << false << QStringList{"cbCodigo_art=12 "} << QStringList{};
        QTest::newRow("descripcion con barra") << false << QStringList{"cbDescripcion_art=C:\\X"} << QStringList{"1_2"};
        QTest::newRow("descripcion solo barra") << false << QStringList{"cbDescripcion_art=\\"} << QStringList{"1_2"};
        QTest::newRow("descripcion con blanco final") << false << QStringList{"cbDescripcion_art=MESA "} << QStringList{};
        QTest::newRow("identificacion con barra") << true << QStringList{"tIdentificacion_cli=00\\1"} << QStringList{"2"};
        QTest::newRow("identificacion barra y %") << true << QStringList{"tIdentificacion_cli=00\\%"} << QStringList{"2"};
        QTest::newRow("identificacion con comodin _") << true << QStringList{"tIdentificacion_cli=0_1"} << QStringList{"1", "3"};
        QTest::newRow("identificacion con blanco final") << true << QStringList{"tIdentificacion_cli=001 "} << QStringList{};
        QTest::newRow("nombre con barra") << true << QStringList{"tNombre_cli=\\"} << QStringList{"3"};
    }
    void barrasComodinesYBlancos()
    {
        QFETCH(bool, clientes);
        QFETCH(QStringList, criterios);
        QFETCH(QStringList, esperados);
        TESTSTORE_OPEN_FRESH(t);
        articulo(t, "12", "MESA", "1", "1", 0, {}, "", "FISICO", 1);
        articulo(t, "102", "C:X", "1", "1", 0, {}, "", "FISICO", 1);
        articulo(t, "1_2", "C:\\X", "1", "1", 0, {}, "", "FISICO", 1);
        articulo(t, "1\\2", "TORNILLO", "1", "1", 0, {}, "", "FISICO", 1);
        tercero(t, false, "1", "ANA", "001", "", "", "");
        tercero(t, false, "2", "LUIS", "00\\1", "", "", "");
        tercero(t, false, "3", "EVA\\", "0_1", "", "", "");
        fx::Escritorio e;
        clientes ? AbrirBuscarClientes() : AbrirBuscarArticulos();
        fBuscarBase* dlg = clientes ? static_cast<fBuscarBase*>(VentanaAbierta<fBuscarClientes>())
                                    : static_cast<fBuscarBase*>(VentanaAbierta<fBuscarArticulos>());
        QVERIFY(dlg);
        poner(dlg, criterios);
        dlg->bBuscar->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(codigos(dlg->lvw), esperados);
    }

    // Criteria as laid out, then the buttons, then the list.
    void ordenDeTabulacion()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        AbrirBuscarArticulos();
        QCOMPARE(fx::ordenDeTab(VentanaAbierta<fBuscarArticulos>()),
                 QString("cbCodigo_art cbPrecio_compra cbPrecio_Venta1 cbDescripcion_art cbImpuesto cbNombre_prov cbUbicacion "
                         "cbTipo_art cbCantidad bBuscar bRestaurar bCerrar lvw")
                     .split(' '));
        AbrirBuscarProveedores();
        QCOMPARE(fx::ordenDeTab(VentanaAbierta<fBuscarProveedores>()),
                 QString("tCodigo_prov tIdentificacion_prov tTelefono_prov tFax_prov tNombre_prov tDireccion_prov bBuscar "
                         "bRestaurar bCerrar lvw")
                     .split(' '));
    }

    // A found row carries the eleven columns in the statement's order.
    void articuloColumnas()
    {
        TESTSTORE_OPEN_FRESH(t);
        ::articulos(t);
        fx::Escritorio e;
        AbrirBuscarArticulos();
        fBuscarArticulos* dlg = VentanaAbierta<fBuscarArticulos>();
        poner(dlg, {"cbCodigo_art=129"});
        dlg->bBuscar->click();
        QCOMPARE(dlg->lvw->count(), 1);
        QStringList fila{dlg->lvw->text(1)};
        for (int j = 1; j <= 10; ++j)
            fila.append(dlg->lvw->subItem(1, j));
        QCOMPARE(fila, (QStringList{"129", "MESA DE CENTRO", "30", "45.75", "16", "", "", "HIERROS NORTE", "DEPOSITO", "FISICO", "9"}));
        QCOMPARE(dlg->lvw->columnTitles().size(), 11);
    }

    // Each drop-down list is refilled from the store when it drops down;
    // "Restaurar Todo" empties the criteria and keeps the results.
    void listasYRestaurar()
    {
        TESTSTORE_OPEN_FRESH(t);
        ::articulos(t);
        articulo(t, "500", "SILLA", "1", "2", 16, {}, "PASILLO A", "FISICO", 3);
        teststore::execRaw(t, "INSERT INTO PROVEEDORES (codigo_prov, nombre_prov) VALUES ('8', 'HIERROS NORTE'), ('9', 'ACME')");
        fx::Escritorio e;
        AbrirBuscarArticulos();
        fBuscarArticulos* dlg = VentanaAbierta<fBuscarArticulos>();
        auto entradas = [](ComboCriterio* cb) {
            cb->showPopup();
            cb->hidePopup();
            QStringList l;
            for (int i = 0; i < cb->count(); ++i)
                l.append(cb->itemText(i));
            return l;
        };
        auto columna = [&](const QString& sql) {
            QStringList l;
            for (const QVariantList& r : teststore::queryRaw(t, sql))
                l.append(r[0].toString());
            return l;
        };
        // Repeats included: SILLA twice.
        QCOMPARE(entradas(dlg->cbDescripcion_art), columna("select descripcion_art from ARTICULOS"));
        QCOMPARE(entradas(dlg->cbDescripcion_art).count("SILLA"), 2);
        QStringList prov = entradas(dlg->cbNombre_prov);
        prov.sort();
        QCOMPARE(prov, (QStringList{"ACME", "HIERROS NORTE", "PROVEEDOR GENERICO"}));
        QStringList ubic = entradas(dlg->cbUbicacion);
        ubic.sort();
        QCOMPARE(ubic, (QStringList{"DEPOSITO", "PASILLO A", "PASILLO B"}));
        // Typed text survives the refill; typing-only combos have no list.
        dlg->cbTipo_art->setEditText("USO");
        QVERIFY(entradas(dlg->cbTipo_art).contains("USO OCASIONAL"));
        QCOMPARE(dlg->cbTipo_art->currentText(), QString("USO"));
        dlg->cbCodigo_art->setEditText("3");
        QCOMPARE(entradas(dlg->cbCodigo_art), QStringList());
        // A picked entry is the criterion.
        dlg->cbImpuesto->showPopup();
        dlg->cbImpuesto->setCurrentIndex(dlg->cbImpuesto->findText("18"));
        dlg->cbImpuesto->hidePopup();
        dlg->bBuscar->click();
        QCOMPARE(codigos(dlg->lvw), QStringList{"312"});  // code 3..., type USO..., tax 18

        dlg->bRestaurar->click();
        for (ComboCriterio* cb : dlg->findChildren<ComboCriterio*>())
            QCOMPARE(cb->currentText(), QString());
        QCOMPARE(codigos(dlg->lvw), QStringList{"312"});
        QCOMPARE(dlg->sb->text(), QString("1 elemento(s) encontrado(s)"));
        QCOMPARE(msgtest::texts(), QStringList());
    }

    void terceros_data()
    {
        QTest::addColumn<bool>("proveedor");
        QTest::addColumn<QStringList>("criterios");  // without the _cli / _prov suffix
        QTest::addColumn<QStringList>("esperados");

        for (bool p : {false, true}) {
            const QString k = p ? "prov: " : "cli: ";
            auto fila = [&](const char* tag, const QStringList& c, const QStringList& e) {
                QTest::newRow(qPrintable(k + tag)) << p << c << e;
            };
            fila("ninguno", {}, {"0", "1", "10", "125"});
            fila("codigo empieza", {"tCodigo=1"}, {"1", "10", "125"});
            fila("nombre contiene, sin mayusculas", {"tNombre=ana"}, {"1"});
            fila("identificacion igual", {"tIdentificacion=001"}, {"1"});
            fila("identificacion con comodin", {"tIdentificacion=00%"}, {"1", "10", "125"});
            fila("direccion contiene", {"tDireccion=LUNA"}, {"10", "125"});
            fila("telefono igual", {"tTelefono=555-1234"}, {"1", "10"});
            fila("telefono no es contiene", {"tTelefono=555"}, {});
            fila("fax igual", {"tFax=555-9999"}, {"1"});
            fila("codigo y nombre", {"tCodigo=1", "tNombre=PEDRO"}, {"125"});
            fila("nombre con apostrofo", {"tNombre=O'NEIL"}, {"10"});
            fila("nombre en blanco", {"tNombre= "}, {"0", "1", "10"});
            fila("identificacion en blanco", {"tIdentificacion= "}, {});
            fila("coma decimal en telefono", {"tTelefono=555,1234"}, {});
            fila("comilla que cierra", {"tCodigo=' OR ''='"}, {});
            fila("union", {"tDireccion=' UNION SELECT codigo_art,descripcion_art,impuesto,impuesto,impuesto,impuesto FROM ARTICULOS --"},
                 {});
        }
    }
    void terceros()
    {
        QFETCH(bool, proveedor);
        QFETCH(QStringList, criterios);
        QFETCH(QStringList, esperados);
        TESTSTORE_OPEN_FRESH(t);
        ::terceros(t);
        articulo(t, "A1", "OTRA TABLA", "1", "1", 16, {}, "", "FISICO", 1);
        fx::Escritorio e;
        proveedor ? AbrirBuscarProveedores() : AbrirBuscarClientes();
        fBuscarTerceros* dlg = proveedor ? static_cast<fBuscarTerceros*>(VentanaAbierta<fBuscarProveedores>())
                                         : static_cast<fBuscarTerceros*>(VentanaAbierta<fBuscarClientes>());
        QVERIFY(dlg);
        QCOMPARE(dlg->lvw->count(), 0);
        const QString suf = proveedor ? "_prov" : "_cli";
        QStringList c;
        for (const QString& x : criterios) {
            const int eq = x.indexOf('=');
            c.append(x.left(eq) + suf + x.mid(eq));
        }
        buscarTras(dlg, c, {"0", "1", "10", "125"});
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(codigos(dlg->lvw), esperados);
        QCOMPARE(dlg->sb->text(), esperados.isEmpty() ? QString() : QString("%1 elemento(s) encontrado(s)").arg(esperados.size()));
    }

    // Rows carry code, name, identification, address, telephone, fax;
    // "Restaurar Todo" empties the six boxes and keeps the list; Esc
    // closes the dialog and the next one starts empty.
    void terceroFilaYRestaurar()
    {
        TESTSTORE_OPEN_FRESH(t);
        ::terceros(t);
        fx::Escritorio e;
        for (bool proveedor : {false, true}) {
            proveedor ? AbrirBuscarProveedores() : AbrirBuscarClientes();
            fBuscarTerceros* dlg = proveedor ? static_cast<fBuscarTerceros*>(VentanaAbierta<fBuscarProveedores>())
                                             : static_cast<fBuscarTerceros*>(VentanaAbierta<fBuscarClientes>());
            const QString suf = proveedor ? "_prov" : "_cli";
            poner(dlg, {"tCodigo" + suf + "=1", "tFax" + suf + "=555-9999"});
            dlg->bBuscar->click();
            QCOMPARE(dlg->lvw->count(), 1);
            QStringList fila{dlg->lvw->text(1)};
            for (int j = 1; j <= 5; ++j)
                fila.append(dlg->lvw->subItem(1, j));
            QCOMPARE(fila, (QStringList{"1", "MARIANA LOPEZ", "001", "CALLE EL SOL 5", "555-1234", "555-9999"}));

            dlg->bRestaurar->click();
            for (QLineEdit* box : dlg->Frame1->findChildren<QLineEdit*>())
                QCOMPARE(box->text(), QString());
            QCOMPARE(dlg->Frame1->findChildren<QLineEdit*>().size(), 6);
            QCOMPARE(dlg->lvw->count(), 1);

            // Opening again while open keeps it as it is.
            proveedor ? AbrirBuscarProveedores() : AbrirBuscarClientes();
            QCOMPARE(dlg->lvw->count(), 1);
            QTest::keyClick(dlg->tNombre, Qt::Key_Escape);
            QApplication::processEvents();
            QVERIFY(proveedor ? !VentanaAbierta<fBuscarProveedores>() : !VentanaAbierta<fBuscarClientes>());
            proveedor ? AbrirBuscarProveedores() : AbrirBuscarClientes();
            dlg = proveedor ? static_cast<fBuscarTerceros*>(VentanaAbierta<fBuscarProveedores>())
                            : static_cast<fBuscarTerceros*>(VentanaAbierta<fBuscarClientes>());
            QCOMPARE(dlg->lvw->count(), 0);
            CerrarVentana(dlg);
        }
        QCOMPARE(msgtest::texts(), QStringList());
    }
};

QTEST_MAIN(TstBusquedas)
#include "tst_busquedas.moc"
