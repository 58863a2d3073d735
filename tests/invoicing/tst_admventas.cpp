// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Facturacion.h"
#include "ListView.h"
#include "Prueba.h"
#include "StatusBar.h"
#include "fAdmVentas.h"
#include "frmContenedor.h"
#include "mFacturacion.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QAction>
#include <QMdiArea>
#include <QPixmap>
#include <QPointer>
#include <QApplication>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

using namespace fac;

namespace {

void venta(const teststore::Target& t, int numero, const QString& fecha, const QString& estado, int empresa = 1,
           const QString& cliente = "0")
{
    teststore::execRaw(t, QString("INSERT INTO Ventas (codigo_fac, codigo_cli, fecha, Estado, codigo_emp, codigo_usu, total) "
                                  "VALUES (%1, '%2', '%3', '%4', %5, '1', %6)")
                              .arg(numero)
                              .arg(cliente, fecha, estado)
                              .arg(empresa)
                              .arg(numero * 10));
}

QStringList numeros(ListView* lvw)
{
    QStringList n;
    for (int i = 1; i <= lvw->count(); ++i)
        n << lvw->text(i);
    return n;
}

// The finder box selects the first row whose number begins with the text.
void buscar(fAdmVentas& w)
{
    auto* finder = w.findChild<QLineEdit*>("tcodigo_fac");
    QVERIFY(finder);
    finder->setText("12");
    QCOMPARE(w.lvw->selectedIndex(), 1);  // "120" comes first
    finder->setText("5");
    QCOMPARE(w.lvw->selectedIndex(), 3);
}

// With TARVIK_FOTOS naming a folder, the main window is saved there as a
// picture, for looking at the windows by eye.
void foto(QWidget& w, const QString& nombre)
{
    const QString dir = qEnvironmentVariable("TARVIK_FOTOS");
    if (dir.isEmpty())
        return;
    QApplication::processEvents();
    w.grab().save(dir + "/" + nombre + ".png");
}

}  // namespace

class TstAdmVentas : public Prueba {
    Q_OBJECT
private slots:
    void cleanup()
    {
        fAdmVentas::comprasAbierta = {};
        fAdmVentas::cerrarCompras = {};
        fAdmVentas::abrirPorCobrar = {};
        fRecibirDinero::alMostrar = {};
        for (QWidget* w : QApplication::topLevelWidgets())
            w->deleteLater();
        QApplication::processEvents();
        Prueba::cleanup();
    }

    // Only the company's invoices whose client exists, newest date first
    // and within a date the highest number; the finder selects by prefix.
    void listado()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        teststore::execRaw(t, "INSERT INTO empresas (codigo_emp, nombre_emp, costeo_inventario) VALUES (2, 'OTRA', 'PromedioSimple')");
        teststore::execRaw(t, "INSERT INTO usuarios (codigo_emp, codigo_usu, nombre_usu, password_usu, nivel_usu) VALUES (2, '1', 'OTRO', 'x', 'Asistente')");
        venta(t, 5, "2024-03-01", "Cancelada");
        venta(t, 12, "2024-03-02", "Sin Cancelar");
        venta(t, 120, "2024-03-02", "Cancelada");
        venta(t, 7, "2024-03-02", "Anulada", 2);
        auto& w = Ventana<fAdmVentas>();
        QCOMPARE(w.windowTitle(), QString("Administrador de Facturas de Venta"));
        w.cargarListView();
        QCOMPARE(numeros(w.lvw), (QStringList{"120", "12", "5"}));
        QCOMPARE(w.lvw->subItem(1, 2), QString("CLIENTE GENERICO"));
        QCOMPARE(w.lvw->subItem(1, 3), QString("0"));
        QCOMPARE(w.lvw->subItem(1, 5), QString("1200"));
        QCOMPARE(w.lvw->subItem(2, 6), QString("Sin Cancelar"));
        QCOMPARE(StatusText(w.sb), QString("3 elemento(s) encontrado(s)"));
        QCOMPARE(w.tCodigo_emp->text(), QString("1"));
        QCOMPARE(w.lvw->columnTitles().value(5), QString("Valor de la Venta :"));
        buscar(w);
    }
    // Only annulled invoices are deleted, with their lines and payments.
    void eliminar()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        venta(t, 1, "2024-03-01", "Cancelada");
        venta(t, 2, "2024-03-02", "Anulada");
        teststore::execRaw(t, "INSERT INTO Detalles_FacVen (codigo_fac, codigo_emp, codigo_art, cantidad) VALUES (2, 1, 'X', 1)");
        teststore::execRaw(t, "INSERT INTO Fact_xCobrar (codigo_fac, num_abono, valor_abono, codigo_emp) VALUES (2, 1, 0, 1)");
        auto& w = Ventana<fAdmVentas>();
        w.cargarListView();
        QCOMPARE(numeros(w.lvw), (QStringList{"2", "1"}));
        w.lvw->select(2);
        w.Eliminar();
        QCOMPARE(msgtest::texts(), QStringList{"Primero debe Anular la factura para proceder a su eliminación"});
        QCOMPARE(msgtest::calls()[0].title, w.windowTitle());
        QCOMPARE(filas(t, "Ventas"), 2);

        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        w.lvw->select(1);
        w.Eliminar();
        QCOMPARE(msgtest::texts(), QStringList{"Se procederá a eliminar la Factura 2. Está seguro?"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::ExclamationQuestion);
        QCOMPARE(filas(t, "Ventas"), 2);

        msgtest::install();
        w.lvw->select(1);
        w.Eliminar();
        QCOMPARE(numeros(w.lvw), QStringList{"1"});
        QCOMPARE(filas(t, "Ventas"), 1);
        QCOMPARE(filas(t, "Detalles_FacVen"), 0);
        QCOMPARE(filas(t, "Fact_xCobrar"), 0);

        w.lvw->clear();
        msgtest::clear();
        w.Eliminar();
        w.Propiedades();
        w.AbrirCuenta();
        QCOMPARE(msgtest::texts(), (QStringList{"Seleccione un elemento de la lista",
                                                "No hay elemento seleccionado para efectuar esta acción.",
                                                "Seleccione un elemento de la lista"}));
    }

    // "Nuevo" closes the purchase window and opens the next number; the
    // menu item refuses while the purchase window is open; "Salir" leaves
    // the sales mode at 3; "Propiedades" shows the stored sale.
    void abrirFacturas()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        teststore::execRaw(t, "UPDATE empresas SET consecutivo_venta = 9");
        venta(t, 9, "2024-03-01", "Cancelada");
        bool compras = true, cerrada = false;
        fAdmVentas::comprasAbierta = [&] { return compras; };
        fAdmVentas::cerrarCompras = [&] {
            cerrada = true;
            compras = false;
        };
        QString cuenta;
        fAdmVentas::abrirPorCobrar = [&](const QString& c) { cuenta = c; };
        auto& w = Ventana<fAdmVentas>();
        w.cargarListView();

        w.findChild<QAction*>("mnuNuevaFactura")->trigger();
        QCOMPARE(msgtest::texts(), QStringList{"cierre la ventana Factura de compra antes de continuar"});
        QVERIFY(!VentanaAbierta<fVentas>());

        w.cmd[0]->click();
        QVERIFY(cerrada);
        fVentas* v = VentanaAbierta<fVentas>();
        QVERIFY(v);
        QCOMPARE(caja(*v, 0), QString("10"));
        QCOMPARE(gModoFormulario, 2);
        QVERIFY(v->nuevaSinAplicar());

        w.lvw->select(1);
        w.cmd[3]->click();
        QCOMPARE(cuenta, QString("0"));

        w.lvw->select(1);
        w.Propiedades();
        QApplication::processEvents();
        v = VentanaAbierta<fVentas>();
        QCOMPARE(caja(*v, 0), QString("9"));
        QCOMPARE(v->modo(), 3);
        QVERIFY(!v->bAplicar->isEnabled());

        w.cmd[4]->click();
        QCOMPARE(gModoFormulario, 3);
        QApplication::processEvents();
        QVERIFY(!VentanaAbierta<fAdmVentas>());
    }

    // A sale as a new user makes it: the main window's menu, the list,
    // "Nuevo", a line, the cash and the change, then the list again.
    void desdeElMenu()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        RegistrarMenusFacturacion();
        frmContenedor principal;
        principal.resize(1400, 900);
        principal.show();
        principal.item("venta")->trigger();
        QApplication::processEvents();
        auto* lista = VentanaAbierta<fAdmVentas>();
        QVERIFY(lista);
        lista->cmd[0]->click();
        QPointer<fVentas> v = VentanaAbierta<fVentas>();
        QVERIFY(v);
        QVERIFY(v->isVisible());
        linea(*v, "A1", "2");
        escribir(*v, 7, "236");
        QString cambio;
        foto(principal, "venta-nueva");
        QPixmap dialogo;
        fRecibirDinero::alMostrar = [&](fRecibirDinero& d) {
            d.tEfectivo->setText("300");
            d.tEfectivo_LostFocus();
            cambio = d.tCambio->text();
            dialogo = d.grab();
            d.bCerrar->click();
        };
        v->bAplicar->click();
        QCOMPARE(cambio, QString("64"));
        foto(principal, "venta-aplicada");
        if (!qEnvironmentVariableIsEmpty("TARVIK_FOTOS"))
            dialogo.save(qEnvironmentVariable("TARVIK_FOTOS") + "/cambio.png");
        QCOMPARE(stock(t, "A1"), 8);
        lista->cargarListView();
        QCOMPARE(numeros(lista->lvw), QStringList{"1"});
        lista->lvw->select(1);
        lista->Propiedades();
        QApplication::processEvents();
        foto(principal, "venta-vista");
        fVentas* vista = VentanaAbierta<fVentas>();
        QVERIFY(vista && vista != v);
        msgtest::install([](const msgtest::Call& c) { return c.text.startsWith("Desea Digitar") ? MsgResult::No : MsgResult::Yes; });
        vista->bAnular->click();
        QCOMPARE(stock(t, "A1"), 10);
        lista->cargarListView();
        QCOMPARE(lista->lvw->subItem(1, 6), QString("Anulada"));
        foto(principal, "venta-anulada");
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TstAdmVentas t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_admventas.moc"
