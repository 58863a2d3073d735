// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
// The client and supplier lists and their properties windows.
#include "Escritorio.h"
#include "FileDialog.h"
#include "ListView.h"
#include "Prueba.h"
#include "StatusBar.h"
#include "fAdmTerceros.h"
#include "fClientes.h"
#include "fProveedores.h"
#include "mCatalogos.h"
#include "mVblesGlobales.h"
#include "msgbox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

const QString kDuplicado =
    "Error No: 3022 Código o Descripción no pueden ser duplicados, inserte otros datos e intentelo de nuevo o verifique si otro "
    "usuario esta accediendo al registro";
const QString kUpdate = "Error en Update de la Función DatosActualizados en el módulo 'mFunciones'";

void cliente(const teststore::Target& t, const QString& codigo, const QString& nombre, const QString& tabla = "CLIENTES",
             const QString& suf = "cli")
{
    teststore::execRaw(t, QString("INSERT INTO %1 (codigo_%2, nombre_%2, identificacion_%2, fecha_ingreso_%2) "
                                  "VALUES ('%3', '%4', 'ID-%3', '2024-02-03')")
                              .arg(tabla, suf, codigo, nombre));
}

QWidget* caja(QWidget* w, int i) { return fx::hijo<QWidget>(w, QString("txt%1").arg(i)); }
QLineEdit* linea(QWidget* w, int i) { return fx::hijo<QLineEdit>(w, QString("txt%1").arg(i)); }

// The tests that run once on each window.
void clienteYProveedor()
{
    QTest::addColumn<bool>("proveedor");
    QTest::newRow("cliente") << false;
    QTest::newRow("proveedor") << true;
}

bool abierto(bool proveedor)
{
    QApplication::processEvents();
    return proveedor ? VentanaAbierta<fProveedores>() != nullptr : VentanaAbierta<fClientes>() != nullptr;
}

}  // namespace

class TstTerceros : public Prueba {
    Q_OBJECT
private slots:
    void cleanup()
    {
        CommonDialog::setResponderForTest({});
        Prueba::cleanup();
    }

    void nuevoYPropiedades_data() { clienteYProveedor(); }
    void nuevoYPropiedades()
    {
        QFETCH(bool, proveedor);
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        proveedor ? AbrirAdmProveedores() : AbrirAdmClientes();
        fAdmTerceros* lista = proveedor ? static_cast<fAdmTerceros*>(VentanaAbierta<fAdmProv>())
                                        : static_cast<fAdmTerceros*>(VentanaAbierta<fAdmCli>());
        QCOMPARE(lista->lvw->count(), 1);  // the generic party
        fx::hijo<QAbstractButton>(lista, "cmd0")->click();
        QWidget* w = proveedor ? static_cast<QWidget*>(VentanaAbierta<fProveedores>())
                               : static_cast<QWidget*>(VentanaAbierta<fClientes>());
        QVERIFY(w);
        QCOMPARE(proveedor ? gModoProveedores : gModoClientes, 2);
        QCOMPARE(linea(w, 7)->text(), QDate::currentDate().toString("dd/MM/yyyy"));
        // The identification follows the code while it is typed.
        QTest::keyClicks(linea(w, 0), "4a5'");
        QCOMPARE(linea(w, 0)->text(), QString("45"));
        QCOMPARE(linea(w, 2)->text(), QString("45"));
        linea(w, 2)->clear();
        QTest::keyClicks(linea(w, 2), "x-9");
        QTest::keyClicks(linea(w, 1), "ana p'erez");
        QCOMPARE(linea(w, 1)->text(), QString("ANA PEREZ"));
        auto* notas = fx::hijo<QPlainTextEdit>(w, "txt6");
        QTest::keyClicks(notas, "uno");
        QTest::keyClick(notas, Qt::Key_Return);  // a line break, not a button
        QTest::keyClicks(notas, "dos");
        QVERIFY(abierto(proveedor));
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QVERIFY(!abierto(proveedor));
        const QString tabla = proveedor ? "PROVEEDORES" : "CLIENTES", suf = proveedor ? "prov" : "cli";
        const auto fila = teststore::queryRaw(
            t, QString("SELECT nombre_%1, identificacion_%1, notas_%1 FROM %2 WHERE codigo_%1 = '45'").arg(suf, tabla));
        QCOMPARE(fila.size(), 1);
        QCOMPARE(fila[0], (QVariantList{"ANA PEREZ", "X-9", "UNO\nDOS"}));
        // Closing the properties window makes the list active again: it
        // reloads.
        QApplication::processEvents();
        QCOMPARE(e.area->activeSubWindow()->widget(), lista);
        QCOMPARE(lista->lvw->count(), 2);

        // Properties shows the stored identification, not the code copy.
        lista->lvw->select(lista->lvw->find("45"));
        fx::hijo<QAbstractButton>(lista, "cmd1")->click();
        w = proveedor ? static_cast<QWidget*>(VentanaAbierta<fProveedores>())
                      : static_cast<QWidget*>(VentanaAbierta<fClientes>());
        QCOMPARE(proveedor ? gModoProveedores : gModoClientes, 1);
        QCOMPARE(linea(w, 0)->text(), QString("45"));
        QCOMPARE(linea(w, 2)->text(), QString("X-9"));
        QCOMPARE(BoxText(caja(w, 6)), QString("UNO\nDOS"));
        linea(w, 4)->clear();
        QTest::keyClicks(linea(w, 4), "555");
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(teststore::scalarRaw(t, QString("SELECT telefono_%1 FROM %2 WHERE codigo_%1 = '45'").arg(suf, tabla)).toString(),
                 QString("555"));
    }

    // Enter closes the client window unsaved and saves the supplier window;
    // Escape cancels both.
    void enterYEscape()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fClientes& c = Ventana<fClientes>();
        c.Nuevo();
        QTest::keyClicks(linea(&c, 0), "7");
        QTest::keyClick(linea(&c, 1), Qt::Key_Return);
        QVERIFY(!abierto(false));
        QCOMPARE(fx::filas(t, "CLIENTES"), 1);

        fProveedores& p = Ventana<fProveedores>();
        p.Nuevo();
        QTest::keyClicks(linea(&p, 0), "7");
        QTest::keyClick(linea(&p, 1), Qt::Key_Return);
        QVERIFY(!abierto(true));
        QCOMPARE(fx::filas(t, "PROVEEDORES"), 2);

        fProveedores& p2 = Ventana<fProveedores>();
        p2.Nuevo();
        QTest::keyClicks(linea(&p2, 0), "8");
        QTest::keyClick(linea(&p2, 1), Qt::Key_Escape);
        QVERIFY(!abierto(true));
        QCOMPARE(fx::filas(t, "PROVEEDORES"), 2);
    }

    void codigoRepetidoYCodigoDeOtro()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        cliente(t, "10", "DIEZ");
        cliente(t, "20", "VEINTE");
        fClientes& c = Ventana<fClientes>();
        c.Nuevo();
        QTest::keyClicks(linea(&c, 0), "10");
        fx::hijo<QPushButton>(&c, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), (QStringList{kDuplicado, kUpdate}));
        QVERIFY(abierto(false));

        // Edit mode with the code typed over to another stored client.
        msgtest::clear();
        c.Editar("10");
        linea(&c, 0)->clear();
        QTest::keyClicks(linea(&c, 0), "20");
        fx::hijo<QPushButton>(&c, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), (QStringList{kDuplicado, kUpdate}));
        QVERIFY(abierto(false));
        QCOMPARE(teststore::scalarRaw(t, "SELECT nombre_cli FROM CLIENTES WHERE codigo_cli = '20'").toString(), QString("VEINTE"));
        QCOMPARE(Conexion().transactionDepth(), 0);
        CerrarVentana(&c);
    }

    // A code typed and then "Propiedades" on the record of that code: the
    // box shows the loaded code and the save goes through.
    void codigoTecleadoYOtroRegistro_data() { clienteYProveedor(); }
    void codigoTecleadoYOtroRegistro()
    {
        QFETCH(bool, proveedor);
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        const QString tabla = proveedor ? "PROVEEDORES" : "CLIENTES", suf = proveedor ? "prov" : "cli";
        cliente(t, "10", "DIEZ", tabla, suf);
        cliente(t, "20", "VEINTE", tabla, suf);
        fDatosTercero& c = proveedor ? static_cast<fDatosTercero&>(Ventana<fProveedores>())
                                     : static_cast<fDatosTercero&>(Ventana<fClientes>());
        c.Editar("10");
        linea(&c, 0)->clear();
        QTest::keyClicks(linea(&c, 0), "20");
        c.Editar("20");
        linea(&c, 1)->setText("VEINTIUNO");
        fx::hijo<QPushButton>(&c, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QVERIFY(!abierto(proveedor));
        QCOMPARE(teststore::scalarRaw(t, QString("SELECT nombre_%1 FROM %2 WHERE codigo_%1 = '20'").arg(suf, tabla)).toString(),
                 QString("VEINTIUNO"));
        QCOMPARE(teststore::scalarRaw(t, QString("SELECT nombre_%1 FROM %2 WHERE codigo_%1 = '10'").arg(suf, tabla)).toString(),
                 QString("DIEZ"));
    }

    // Tab follows each window's layout.
    void ordenDeTabulacion_data()
    {
        QTest::addColumn<int>("ventana");
        QTest::addColumn<QString>("orden");
        const QString datos = "txt7 txt0 txt8 bBuscarImagen txt1 txt2 txt3 txt4 txt5 txt6 bAceptar bCancelar";
        QTest::newRow("cliente") << 0 << datos;
        QTest::newRow("proveedor") << 1 << datos;
        QTest::newRow("lista de clientes") << 2 << "cmd0 cmd1 cmd6 cmd2 cmd5 cmd3 cmd4 tCodigo_cli lvw";
        QTest::newRow("lista de proveedores") << 3 << "cmd0 cmd1 cmd6 cmd2 cmd3 cmd5 cmd4 tCodigo_prov lvw";
    }
    void ordenDeTabulacion()
    {
        QFETCH(int, ventana);
        QFETCH(QString, orden);
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        QWidget* w = nullptr;
        switch (ventana) {
        case 0: w = &Ventana<fClientes>(); break;
        case 1: w = &Ventana<fProveedores>(); break;
        case 2: AbrirAdmClientes(); w = VentanaAbierta<fAdmCli>(); break;
        default: AbrirAdmProveedores(); w = VentanaAbierta<fAdmProv>(); break;
        }
        if (ventana < 2)
            static_cast<fDatosTercero*>(w)->Nuevo();
        QCOMPARE(fx::ordenDeTab(w), orden.split(' '));
    }

    // The finder's caption carries an access key: shown as a key, not as
    // "&", and it takes the focus to the finder box.
    void teclaDeAccesoDelBuscador()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        AbrirAdmProveedores();
        fAdmProv* lista = VentanaAbierta<fAdmProv>();
        QCOMPARE(lista->lbl->buddy(), static_cast<QWidget*>(lista->tCodigo));
        lista->lvw->setFocus();
        QTest::keyClick(lista, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(lista->tCodigo));
    }

    void borrar()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        cliente(t, "12", "DOCE");
        cliente(t, "0012", "CERO DOCE");
        AbrirAdmClientes();
        fAdmCli* lista = VentanaAbierta<fAdmCli>();
        QCOMPARE(lista->lvw->count(), 3);
        lista->lvw->select(lista->lvw->find("0012"));
        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        fx::hijo<QAbstractButton>(lista, "cmd2")->click();
        QCOMPARE(msgtest::texts(),
                 QStringList{"Al eliminar el Cliente también se eliminarán sus Facturas y Cuentas por Cobrar. Está seguro?"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::ExclamationQuestion);
        QCOMPARE(fx::filas(t, "CLIENTES"), 3);
        msgtest::install();
        fx::hijo<QAbstractButton>(lista, "cmd2")->click();
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM CLIENTES WHERE codigo_cli = '12'").toInt(), 1);
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM CLIENTES WHERE codigo_cli = '0012'").toInt(), 0);
        QCOMPARE(lista->lvw->count(), 2);
        QCOMPARE(lista->sb->text(), QString("2 elemento(s) encontrado(s)"));
    }

    void genericoNoSeBorra_data()
    {
        QTest::addColumn<bool>("proveedor");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("cliente") << false << "El Cliente Genérico no puede ser eliminado: todas las ventas al contado lo utilizan";
        QTest::newRow("proveedor") << true
                                   << "El Proveedor Genérico no puede ser eliminado: todas las compras al contado lo utilizan";
    }
    void genericoNoSeBorra()
    {
        QFETCH(bool, proveedor);
        QFETCH(QString, mensaje);
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        proveedor ? AbrirAdmProveedores() : AbrirAdmClientes();
        fAdmTerceros* lista = proveedor ? static_cast<fAdmTerceros*>(VentanaAbierta<fAdmProv>())
                                        : static_cast<fAdmTerceros*>(VentanaAbierta<fAdmCli>());
        QCOMPARE(lista->lvw->text(lista->lvw->selectedIndex()), QString("0"));
        fx::hijo<QAbstractButton>(lista, "cmd2")->click();
        QCOMPARE(msgtest::texts(), QStringList{mensaje});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        QCOMPARE(fx::filas(t, proveedor ? "PROVEEDORES" : "CLIENTES"), 1);
    }

    void listaVacia()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        teststore::execRaw(t, "DELETE FROM CLIENTES");
        bool cuenta = false;
        fAdmCli::abrirPorCobrar = [&](const QString&) { cuenta = true; };
        AbrirAdmClientes();
        fAdmCli* lista = VentanaAbierta<fAdmCli>();
        QCOMPARE(lista->lvw->count(), 0);
        QCOMPARE(lista->sb->text(), QString());
        lista->tCodigo->setText("1");
        for (int i : {1, 2, 5})
            fx::hijo<QAbstractButton>(lista, QString("cmd%1").arg(i))->click();
        QCOMPARE(msgtest::texts(), (QStringList{"No hay elemento seleccionado para efectuar esta acción.",
                                                "Seleccione un elemento de la lista", "Seleccione un elemento de la lista"}));
        QCOMPARE(msgtest::calls()[0].title, QString("Administrador de clientes"));
        QVERIFY(!cuenta);
        QVERIFY(!VentanaAbierta<fClientes>());
        fAdmCli::abrirPorCobrar = {};
    }

    void porCobrarYBuscador()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        cliente(t, "31", "A");
        cliente(t, "120", "B");
        cliente(t, "12", "C");
        QString codigo;
        fAdmCli::abrirPorCobrar = [&](const QString& c) { codigo = c; };
        AbrirAdmClientes();
        fAdmCli* lista = VentanaAbierta<fAdmCli>();
        lista->tCodigo->setText("12");
        const int i = lista->lvw->selectedIndex();
        QVERIFY(lista->lvw->text(i).startsWith("12"));
        QCOMPARE(i, lista->lvw->find("12"));
        QCOMPARE(lista->lvw->count(), 4);  // found, not filtered
        fx::hijo<QAbstractButton>(lista, "cmd5")->click();
        QCOMPARE(codigo, lista->lvw->text(i));
        fAdmCli::abrirPorCobrar = {};
    }

    void imagenCanceladaODefectuosa()
    {
        TESTSTORE_OPEN_FRESH(t);
        QTemporaryDir dir;
        const QString png = dir.filePath("c.png");
        QImage img(4, 4, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QVERIFY(img.save(png));
        fProveedores& p = Ventana<fProveedores>();
        auto* imagen = fx::hijo<QLabel>(&p, "Imagen_prov");
        QString carpeta, respuesta = png;
        CommonDialog::setResponderForTest([&](const QString& inicial) {
            carpeta = inicial;
            return respuesta;
        });
        fx::hijo<QPushButton>(&p, "bBuscarImagen")->click();
        QVERIFY2(carpeta.endsWith("Imagenes/Proveedores"), qPrintable(carpeta));
        QCOMPARE(linea(&p, 8)->text(), QFileInfo(png).absoluteFilePath());
        const qint64 antes = imagen->pixmap().cacheKey();
        QVERIFY(!imagen->pixmap().isNull());
        respuesta.clear();
        fx::hijo<QPushButton>(&p, "bBuscarImagen")->click();
        QCOMPARE(linea(&p, 8)->text(), QFileInfo(png).absoluteFilePath());
        linea(&p, 8)->setText(dir.filePath("nada.png"));
        QCOMPARE(imagen->pixmap().cacheKey(), antes);
        QVERIFY(msgtest::calls().isEmpty());
        CerrarVentana(&p);
    }
};

QTEST_MAIN(TstTerceros)
#include "tst_terceros.moc"
