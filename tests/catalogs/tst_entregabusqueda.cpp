// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
// Where a double-click on a search result sends the code: to the sale or
// purchase being entered (stand-in invoice windows registered the way the
// real ones do), or to the record's properties window; and the lists'
// "Buscar" buttons that open the dialogs.
#include "Escritorio.h"
#include "ListView.h"
#include "Prueba.h"
#include "StatusBar.h"
#include "fAdmArt.h"
#include "fAdmTerceros.h"
#include "fArticulos.h"
#include "fBuscarArticulos.h"
#include "fBuscarClientes.h"
#include "fBuscarProveedores.h"
#include "fClientes.h"
#include "fProveedores.h"
#include "frmContenedor.h"
#include "mCatalogos.h"
#include "mDestinoBusqueda.h"
#include "mVblesGlobales.h"
#include "msgbox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

namespace {

enum Estado { Cerrada, Nueva, Vista, Destruida };

// An invoice window as far as the dialogs see it: the party box txt1 and
// the line entry's article box txtDetalle1, whose change handlers are
// recorded in the log.
struct FacturaFalsa {
    QPointer<QWidget> w;
    QLineEdit* txt1 = nullptr;
    QLineEdit* txtDetalle1 = nullptr;
    Estado estado = Cerrada;

    void abrir(const QString& nombre, Estado e, FacturaDestino f, QStringList* log)
    {
        estado = e;
        if (e == Cerrada)
            return;
        w = new QWidget;
        w->setObjectName(nombre);
        w->resize(400, 200);
        txt1 = new QLineEdit(w);
        txt1->setObjectName("txt1");
        txtDetalle1 = new QLineEdit(w);
        txtDetalle1->setObjectName("txtDetalle1");
        txtDetalle1->move(0, 40);
        QObject::connect(txt1, &QLineEdit::textChanged, [log, nombre](const QString& c) { log->append(nombre + ".txt1=" + c); });
        QObject::connect(txtDetalle1, &QLineEdit::textChanged,
                         [log, nombre](const QString& c) { log->append(nombre + ".txtDetalle1=" + c); });
        MostrarHija(w);
        DestinoBusqueda d;
        d.ventana = w;
        // Still answers "being entered" after its window is gone: the
        // registration must not be trusted then.
        d.enCaptura = [this] { return estado == Nueva || estado == Destruida; };
        d.ponerTercero = [this](const QString& c) {
            txt1->setText(c);
            txt1->setFocus();
        };
        d.ponerArticulo = [this](const QString& c) {
            txtDetalle1->setText(c);
            txtDetalle1->setFocus();
        };
        RegistrarDestinoBusqueda(f, d);
        if (e == Destruida) {
            CerrarVentana(w);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(!w);
        }
        QApplication::processEvents();
    }
};

enum Dialogo { Art, Cli, Prov };

fBuscarBase* abrirDialogo(Dialogo d)
{
    switch (d) {
    case Art:
        AbrirBuscarArticulos();
        return VentanaAbierta<fBuscarArticulos>();
    case Cli:
        AbrirBuscarClientes();
        return VentanaAbierta<fBuscarClientes>();
    case Prov:
        AbrirBuscarProveedores();
        return VentanaAbierta<fBuscarProveedores>();
    }
    return nullptr;
}

bool dialogoAbierto(Dialogo d)
{
    QApplication::processEvents();
    switch (d) {
    case Art:
        return VentanaAbierta<fBuscarArticulos>();
    case Cli:
        return VentanaAbierta<fBuscarClientes>();
    case Prov:
        return VentanaAbierta<fBuscarProveedores>();
    }
    return false;
}

// A real double-click on the row with that code.
void dobleClic(ListView* lvw, const QString& codigo)
{
    int fila = 0;
    for (int i = 1; i <= lvw->count(); ++i)
        if (lvw->text(i) == codigo)
            fila = i;
    QVERIFY2(fila > 0, qPrintable(codigo));
    const QRect r = lvw->visualRect(lvw->model()->index(fila - 1, 0));
    QTest::mouseClick(lvw->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(lvw->viewport(), Qt::LeftButton, {}, r.center());
}

}  // namespace

class TstEntregaBusqueda : public Prueba {
    Q_OBJECT
private slots:
    void cleanup()
    {
        QuitarDestinoBusqueda(FacturaDestino::Venta);
        QuitarDestinoBusqueda(FacturaDestino::Compra);
        Prueba::cleanup();
    }

    void entrega_data()
    {
        QTest::addColumn<int>("dialogo");
        QTest::addColumn<int>("venta");
        QTest::addColumn<int>("compra");
        // "fVentas.txtDetalle1" and the like: the box the code went into; or
        // the properties window that opened instead.
        QTest::addColumn<QString>("destino");

        QTest::newRow("art, nada abierto") << int(Art) << int(Cerrada) << int(Cerrada) << "fArticulos";
        QTest::newRow("art, venta nueva") << int(Art) << int(Nueva) << int(Cerrada) << "fVentas.txtDetalle1";
        QTest::newRow("art, venta y compra nuevas: la venta primero") << int(Art) << int(Nueva) << int(Nueva) << "fVentas.txtDetalle1";
        QTest::newRow("art, venta vista, compra nueva") << int(Art) << int(Vista) << int(Nueva) << "fCompras.txtDetalle1";
        QTest::newRow("art, compra nueva") << int(Art) << int(Cerrada) << int(Nueva) << "fCompras.txtDetalle1";
        QTest::newRow("art, venta y compra vistas") << int(Art) << int(Vista) << int(Vista) << "fArticulos";
        QTest::newRow("art, venta cerrada que decia nueva") << int(Art) << int(Destruida) << int(Cerrada) << "fArticulos";
        QTest::newRow("art, venta cerrada, compra nueva") << int(Art) << int(Destruida) << int(Nueva) << "fCompras.txtDetalle1";

        QTest::newRow("cli, nada abierto") << int(Cli) << int(Cerrada) << int(Cerrada) << "fClientes";
        QTest::newRow("cli, venta nueva") << int(Cli) << int(Nueva) << int(Cerrada) << "fVentas.txt1";
        QTest::newRow("cli, venta vista") << int(Cli) << int(Vista) << int(Cerrada) << "fClientes";
        QTest::newRow("cli, compra nueva: nunca a la compra") << int(Cli) << int(Cerrada) << int(Nueva) << "fClientes";
        QTest::newRow("cli, venta vista, compra nueva") << int(Cli) << int(Vista) << int(Nueva) << "fClientes";
        QTest::newRow("cli, venta cerrada que decia nueva") << int(Cli) << int(Destruida) << int(Cerrada) << "fClientes";

        QTest::newRow("prov, nada abierto") << int(Prov) << int(Cerrada) << int(Cerrada) << "fProveedores";
        QTest::newRow("prov, compra nueva") << int(Prov) << int(Cerrada) << int(Nueva) << "fCompras.txt1";
        QTest::newRow("prov, venta y compra nuevas") << int(Prov) << int(Nueva) << int(Nueva) << "fCompras.txt1";
        QTest::newRow("prov, venta nueva: nunca a la venta") << int(Prov) << int(Nueva) << int(Cerrada) << "fProveedores";
        QTest::newRow("prov, compra vista") << int(Prov) << int(Cerrada) << int(Vista) << "fProveedores";
    }
    void entrega()
    {
        QFETCH(int, dialogo);
        QFETCH(int, venta);
        QFETCH(int, compra);
        QFETCH(QString, destino);
        TESTSTORE_OPEN_FRESH(t);
        fx::articulo(t, "A7", 3, 10);
        teststore::execRaw(t, "INSERT INTO CLIENTES (codigo_cli, nombre_cli, identificacion_cli) VALUES ('C7', 'ANA', 'X-1')");
        teststore::execRaw(t, "INSERT INTO PROVEEDORES (codigo_prov, nombre_prov, identificacion_prov) VALUES ('P7', 'ACME', 'X-2')");
        fx::Escritorio e;
        QStringList log;
        FacturaFalsa fv, fc;
        fv.abrir("fVentas", Estado(venta), FacturaDestino::Venta, &log);
        fc.abrir("fCompras", Estado(compra), FacturaDestino::Compra, &log);

        const Dialogo d = Dialogo(dialogo);
        const QString codigo = d == Art ? "A7" : d == Cli ? "C7" : "P7";
        fBuscarBase* dlg = abrirDialogo(d);
        QVERIFY(dlg);
        dlg->bBuscar->click();
        // The search leaves the first row selected: pick another one.
        QCOMPARE(dlg->lvw->count(), d == Art ? 1 : 2);
        dobleClic(dlg->lvw, codigo);
        QCOMPARE(msgtest::texts(), QStringList());

        if (destino.contains('.')) {
            QCOMPARE(log, QStringList{destino + "=" + codigo});
            const QString ventana = destino.section('.', 0, 0), caja = destino.section('.', 1);
            FacturaFalsa& f = ventana == "fVentas" ? fv : fc;
            QCOMPARE(e.area->activeSubWindow()->widget(), f.w.data());
            QCOMPARE(QApplication::focusWidget(), fx::hijo<QWidget>(f.w, caja));
            QVERIFY(!dialogoAbierto(d));
            QVERIFY(!VentanaAbierta<fArticulos>() && !VentanaAbierta<fClientes>() && !VentanaAbierta<fProveedores>());
            // The next opening starts empty.
            QCOMPARE(abrirDialogo(d)->lvw->count(), 0);
        } else {
            QCOMPARE(log, QStringList());
            QVERIFY(dialogoAbierto(d));
            QWidget* w = nullptr;
            qint32 modo = 0;
            if (destino == "fArticulos") {
                w = VentanaAbierta<fArticulos>();
                modo = modoEdicion;
            } else if (destino == "fClientes") {
                w = VentanaAbierta<fClientes>();
                modo = gModoClientes;
            } else {
                w = VentanaAbierta<fProveedores>();
                modo = gModoProveedores;
            }
            QVERIFY(w);
            QCOMPARE(modo, 1);
            QCOMPARE(e.area->activeSubWindow()->widget(), w);
            QCOMPARE(fx::hijo<QLineEdit>(w, "txt0")->text(), codigo);
            QCOMPARE(fx::hijo<QLineEdit>(w, "txt2")->text(), d == Art ? QString("10") : d == Cli ? QString("X-1") : QString("X-2"));
            // The dialog keeps its criteria and list.
            QCOMPARE(dlg->lvw->count(), d == Art ? 1 : 2);
            QCOMPARE(dlg->sb->text(), QString("%1 elemento(s) encontrado(s)").arg(dlg->lvw->count()));
        }
    }

    // With no row to pick: the refusal titled with the dialog's caption,
    // nothing handed on, nothing opened, the dialog still open.
    void sinSeleccion()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        QStringList log;
        FacturaFalsa fv, fc;
        fv.abrir("fVentas", Nueva, FacturaDestino::Venta, &log);
        fc.abrir("fCompras", Nueva, FacturaDestino::Compra, &log);
        for (Dialogo d : {Art, Cli, Prov}) {
            msgtest::clear();
            fBuscarBase* dlg = abrirDialogo(d);
            QCOMPARE(dlg->lvw->count(), 0);
            QTest::mouseDClick(dlg->lvw->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
            QCOMPARE(msgtest::texts(), QStringList{"No hay elemento seleccionado para efectuar esta acción."});
            QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
            QCOMPARE(msgtest::calls()[0].title, dlg->windowTitle());
            QVERIFY(dialogoAbierto(d));
        }
        QCOMPARE(log, QStringList());
        QVERIFY(!VentanaAbierta<fArticulos>() && !VentanaAbierta<fClientes>() && !VentanaAbierta<fProveedores>());
    }

    // The lists' "Buscar" and the registered openers show the dialogs.
    void abrirDesdeListasYMenu()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        RegistrarBusquedas();
        AbrirAdmArticulos();
        fx::hijo<QToolButton>(VentanaAbierta<fAdmArt>(), "cmd6")->click();
        QVERIFY(VentanaAbierta<fBuscarArticulos>());
        QCOMPARE(e.area->activeSubWindow()->widget(), VentanaAbierta<fBuscarArticulos>());
        QCOMPARE(VentanaAbierta<fBuscarArticulos>()->windowTitle(), QString("Búsqueda y clasificacion de Artículos"));
        AbrirAdmClientes();
        fx::hijo<QToolButton>(VentanaAbierta<fAdmCli>(), "cmd6")->click();
        QVERIFY(VentanaAbierta<fBuscarClientes>());
        QCOMPARE(VentanaAbierta<fBuscarClientes>()->windowTitle(), QString("Búsqueda y clasificacion de Clientes"));
        AbrirAdmProveedores();
        fx::hijo<QToolButton>(VentanaAbierta<fAdmProv>(), "cmd6")->click();
        QVERIFY(VentanaAbierta<fBuscarProveedores>());
        QCOMPARE(VentanaAbierta<fBuscarProveedores>()->windowTitle(), QString("Búsqueda y clasificacion de Proveedores"));

        for (QWidget* w : QList<QWidget*>{VentanaAbierta<fBuscarArticulos>(), VentanaAbierta<fBuscarClientes>(),
                                          VentanaAbierta<fBuscarProveedores>()})
            fx::hijo<QPushButton>(w, "bCerrar")->click();
        QApplication::processEvents();
        QVERIFY(!VentanaAbierta<fBuscarArticulos>() && !VentanaAbierta<fBuscarClientes>() && !VentanaAbierta<fBuscarProveedores>());
        QVERIFY(Abrir("buscar_articulos") && VentanaAbierta<fBuscarArticulos>());
        QVERIFY(Abrir("buscar_clientes") && VentanaAbierta<fBuscarClientes>());
        QVERIFY(Abrir("buscar_proveedores") && VentanaAbierta<fBuscarProveedores>());
        QCOMPARE(msgtest::texts(), QStringList());
    }
};

QTEST_MAIN(TstEntregaBusqueda)
#include "tst_entregabusqueda.moc"
