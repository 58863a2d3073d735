// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
#include "Facturacion.h"
#include "ListView.h"
#include "Prueba.h"
#include "mDestinoBusqueda.h"
#include "mSubRutinas_facturas.h"
#include "msgbox.h"

#include <QApplication>
#include <QtTest>
#include <memory>

using namespace fac;

namespace {

std::unique_ptr<fVentas> nueva()
{
    auto w = std::make_unique<fVentas>();
    gModoFormulario = 2;
    gModoDetalle = 3;
    w->AbrirNueva();
    return w;
}

QString fila(fVentas& w, int i)
{
    QStringList c{w.lvwFactura->text(i)};
    for (int j = 1; j <= 6; ++j)
        c << w.lvwFactura->subItem(i, j);
    return c.join('|');
}

}  // namespace

class TstLineas : public Prueba {
    Q_OBJECT
private slots:
    // Opening a new sale shows the design values and the names looked up.
    void apertura()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        teststore::execRaw(t, "UPDATE empresas SET consecutivo_venta = 41");
        auto w = nueva();
        const QString hoy = QDate::currentDate().toString("dd/MM/yyyy");
        QCOMPARE(caja(*w, 0), QString("42"));
        QCOMPARE(caja(*w, 2), hoy);
        QCOMPARE(caja(*w, 12), hoy);
        QCOMPARE(caja(*w, 1), QString("0"));
        QCOMPARE(w->tNombre_cli->text(), QString("CLIENTE GENERICO"));
        QCOMPARE(caja(*w, 3), QString("CONTADO"));
        QCOMPARE(caja(*w, 11), QString("Nuevo"));
        QCOMPARE(w->lEmpresaSeleccionada->text(), QString("EMPRESA PRINCIPAL"));
        QCOMPARE(w->lUsuarioOperador->text(), QString("ADMINISTRADOR"));
        QCOMPARE(w->ComboNcf->count(), 0);  // a branch without ranges
        QVERIFY(!static_cast<QLineEdit*>(w->txt[15])->isReadOnly());
        QCOMPARE(gModoFormulario, 2);
        QCOMPARE(gModoDetalle, 3);
        QVERIFY(msgtest::calls().isEmpty());
    }

    // Look-up, price levels and the rounded subtotal with tax.
    void subtotal()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        articulo(t, "S75", 10, 75, 75, 75, 18, 1);
        auto w = nueva();
        w->bAdicionarArticulo->click();
        QCOMPARE(gModoDetalle, 2);
        w->txtDetalle[1]->setEditText("A1");
        QCOMPARE(w->tDescripcion_art->text(), QString("ARTICULO A1"));
        QCOMPARE(w->txtDetalle[2]->currentText(), QString("1"));
        QCOMPARE(w->txtDetalle[3]->currentText(), QString("100"));
        QCOMPARE(w->txtDetalle[3]->count(), 3);
        QCOMPARE(w->txtDetalle[3]->itemText(2), QString("80"));
        QCOMPARE(w->txtDetalle[4]->currentText(), QString("18"));
        QCOMPARE(w->txtDetalle[5]->currentText(), QString("118"));
        QCOMPARE(w->txtDetalle[6]->currentText(), QString("60"));
        w->txtDetalle[3]->setCurrentIndex(1);
        QCOMPARE(w->txtDetalle[5]->currentText(), QString("106"));  // 106.2
        w->txtDetalle[2]->setEditText("3");
        QCOMPARE(w->txtDetalle[5]->currentText(), QString("319"));  // 318.6
        w->txtDetalle[1]->setEditText("S75");
        QCOMPARE(w->txtDetalle[5]->currentText(), QString("88"));   // 88.5 to even
        QVERIFY(w->bActualizarArticulo->isEnabled());
    }

    // "Adicionar" disables itself: what the clerk types next goes into the
    // article code, not into whatever box the focus would fall to.
    void adicionarLlevaAlCodigo()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        auto w = nueva();
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->txt[1]->setFocus();
        QTest::mouseClick(w->bAdicionarArticulo, Qt::LeftButton);
        QTest::keyClicks(QApplication::focusWidget(), "A1");
        QCOMPARE(w->txtDetalle[1]->currentText(), QString("A1"));
        QCOMPARE(w->tDescripcion_art->text(), QString("ARTICULO A1"));
    }

    // Newest line first; manual mode refuses a listed code (not a prefix of
    // it); edit with "Omitir" puts the line back unchanged on top.
    void listaYEdicion()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "77", 10, 10, 10, 10, 0, 1);
        articulo(t, "7", 10, 20, 20, 20, 0, 1);
        articulo(t, "C", 10, 30, 30, 30, 0, 1);
        auto w = nueva();
        linea(*w, "77");
        linea(*w, "7");
        linea(*w, "C");
        QCOMPARE(w->lvwFactura->count(), 3);
        QCOMPARE(w->lvwFactura->text(1), QString("C"));
        QCOMPARE(w->lvwFactura->text(3), QString("77"));
        msgtest::clear();
        linea(*w, "77");
        QCOMPARE(msgtest::texts(), QStringList{"El Artículo ya está registrado en el pedido, seleccione 'Ingreso Modo Auto' para no recibir este mensaje"});
        QCOMPARE(msgtest::calls()[0].title, QString("Factura de Venta"));
        QCOMPARE(w->lvwFactura->count(), 3);
        w->bOmitir->click();

        const QString antes = fila(*w, 3);
        w->lvwFactura->select(3);
        w->lvwFactura_ItemClick(3);
        w->bEditarArticulo->click();
        QCOMPARE(gModoDetalle, 1);
        QCOMPARE(w->lvwFactura->count(), 2);
        QVERIFY(!w->lvwFactura->isEnabled());
        w->txtDetalle[2]->setEditText("9");
        w->bOmitir->click();
        QCOMPARE(gModoDetalle, 3);
        QCOMPARE(fila(*w, 1), antes);
        QCOMPARE(caja(*w, 9), QString("60"));

        // Editing and accepting: the same code may stay listed.
        w->lvwFactura->select(1);
        w->lvwFactura_ItemClick(1);
        w->bEditarArticulo->click();
        w->txtDetalle[2]->setEditText("2");
        w->bActualizarArticulo->click();
        QCOMPARE(w->lvwFactura->count(), 3);
        QCOMPARE(w->lvwFactura->subItem(1, 2), QString("2"));
        QCOMPARE(caja(*w, 9), QString("70"));

        // Deleting: the question, then the totals.
        w->lvwFactura->select(1);
        w->lvwFactura_ItemClick(1);
        msgtest::clear();
        w->bEliminarArticulo->click();
        QCOMPARE(msgtest::texts(), QStringList{"esta seguro?"});
        QCOMPARE(w->lvwFactura->count(), 2);
        QCOMPARE(caja(*w, 9), QString("50"));
        for (int i = 0; i < 2; ++i) {
            w->lvwFactura->select(1);
            w->lvwFactura_ItemClick(1);
            w->bEliminarArticulo->click();
        }
        QVERIFY(caja(*w, 4).isEmpty());
        QVERIFY(caja(*w, 5).isEmpty());
        QCOMPARE(caja(*w, 6), QString("000"));
        QCOMPARE(caja(*w, 7), QString("000"));
        QCOMPARE(caja(*w, 8), QString("0"));
        QCOMPARE(caja(*w, 9), QString("0"));
        msgtest::clear();
        w->bEditarArticulo->click();
        w->bEliminarArticulo->click();
        QCOMPARE(msgtest::texts(), (QStringList{"seleccione el artículo a editar", "seleccione el artículo a eliminar"}));
    }

    // The running tax depends on the order of the lines; discount and
    // amount paid recompute total and balance.
    void totales()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 1);
        articulo(t, "V", 10, 5, 5, 5, 20, 1);
        auto w = nueva();
        linea(*w, "Q");
        QCOMPARE(caja(*w, 5), QString("4"));
        linea(*w, "V");  // on top: round(1 + 4.5)
        QCOMPARE(caja(*w, 5), QString("6"));
        auto w2 = nueva();
        linea(*w2, "V");
        linea(*w2, "Q");  // on top: round(4 + 1)
        QCOMPARE(caja(*w2, 5), QString("5"));
        QCOMPARE(caja(*w2, 9), QString("35"));
        escribir(*w2, 6, "10");
        QCOMPARE(caja(*w2, 9), QString("25"));
        QCOMPARE(caja(*w2, 8), QString("25"));
        escribir(*w2, 7, "20");
        QCOMPARE(caja(*w2, 8), QString("5"));
    }

    // Below zero stock asks; No leaves the row, Yes adds the line.
    void stockInsuficiente()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "P", 2, 10, 10, 10, 0, 1, 1);
        auto w = nueva();
        msgtest::install([](const msgtest::Call& c) { return c.text.startsWith("No existen") ? MsgResult::No : MsgResult::Yes; });
        linea(*w, "P", "3");
        QCOMPARE(msgtest::texts(), (QStringList{"El artículo P se encuentra por debajo del stock mínimo el cual es de 1 Artículos.",
                                                "No existen más Artículos con este Código en el inventario, Desea registrar el pedido de todas formas?"}));
        QCOMPARE(w->lvwFactura->count(), 0);
        QCOMPARE(gModoDetalle, 2);
        msgtest::install();
        w->bActualizarArticulo->click();
        QCOMPARE(w->lvwFactura->count(), 1);
    }

    // Auto mode: each scanned code a line of 1; an unknown code is dropped.
    void modoAuto()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        auto w = nueva();
        w->optModoPOS->setChecked(true);
        for (const char* c : {"A1", "NADA", "A1"}) {
            w->txtDetalle[1]->setEditText(c);
            w->txtDetalle1_LostFocus();
        }
        QCOMPARE(w->lvwFactura->count(), 2);
        QCOMPARE(fila(*w, 1), QString("A1|ARTICULO A1|1|100|18|118|60"));
        QCOMPARE(msgtest::texts(), QStringList{"Ingrese Código del articulo y Cantidad"});
        QCOMPARE(gModoDetalle, 3);
        QCOMPARE(caja(*w, 9), QString("236"));
    }

    // The search dialogs hand codes to a new sale only, not to one applied
    // or shown, nor once the list has left the sales mode.
    void entregaDeBusqueda()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "A1", 10, 100, 90, 80, 18, 60);
        teststore::execRaw(t, "INSERT INTO CLIENTES (codigo_cli, nombre_cli, telefono_cli) VALUES ('C7', 'JUAN', '555')");
        auto w = nueva();
        QVERIFY(EntregarTercero(FacturaDestino::Venta, "C7"));
        QCOMPARE(w->tNombre_cli->text(), QString("JUAN"));
        QCOMPARE(w->tTelefono_cli->text(), QString("555"));
        w->bAdicionarArticulo->click();
        QVERIFY(EntregarArticulo(FacturaDestino::Venta, "A1"));
        QCOMPARE(w->txtDetalle[5]->currentText(), QString("118"));
        w->bActualizarArticulo->click();
        QCOMPARE(w->lvwFactura->count(), 1);
        gModoFormulario = 3;
        QVERIFY(!EntregarTercero(FacturaDestino::Venta, "0"));
        gModoFormulario = 2;
        fRecibirDinero::alMostrar = [](fRecibirDinero& d) {
            d.tEfectivo->setText(d.tTotal->text());
            d.bCerrar->click();
        };
        escribir(*w, 7, "118");
        QVERIFY(w->bAplicar_Click());
        fRecibirDinero::alMostrar = {};
        QVERIFY(!EntregarTercero(FacturaDestino::Venta, "0"));
        QCOMPARE(caja(*w, 1), QString("C7"));
    }

    // A code with an apostrophe reaches the store quoted.
    void codigoConComilla()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        teststore::execRaw(t, "INSERT INTO ARTICULOS (codigo_art, descripcion_art, precio_compra, impuesto, precio_venta1, "
                              "precio_venta2, precio_venta3, cantidad, stock_minimo, stock_maximo) "
                              "VALUES ('O''K', 'COMILLA', 1, 0, 9, 9, 9, 5, 0, 0)");
        auto w = nueva();
        linea(*w, "O'K");
        QCOMPARE(msgtest::calls().size(), 0);
        QCOMPARE(w->lvwFactura->count(), 1);
        QCOMPARE(w->lvwFactura->subItem(1, 1), QString("COMILLA"));
    }

    // The line state belongs to the window: closing a viewed sale leaves the
    // line entry that another window is running.
    void estadoPorVentana()
    {
        auto entrando = std::make_unique<EntradaDetalle>();
        entrando->setModo(2);
        LineaFactura l;
        l.codigo_art = "X";
        entrando->setLinea(l);
        {
            EntradaDetalle vista;  // a window that never entered a line
            vista.Soltar();
        }
        QCOMPARE(gModoDetalle, 2);
        QCOMPARE(gLineaFactura.codigo_art, QString("X"));
        {
            EntradaDetalle otra;
            otra.setModo(3);
            QCOMPARE(gModoDetalle, 3);
        }
        QCOMPARE(gModoDetalle, 0);
        entrando->setModo(1);
        QCOMPARE(gModoDetalle, 1);
        entrando.reset();
        QCOMPARE(gModoDetalle, 0);
    }

    void existeEnLista()
    {
        ListView lvw;
        QVERIFY(!ExisteEnListView(&lvw, "77"));
        lvw.add(1, "77");
        lvw.add(1, "ab");
        QVERIFY(ExisteEnListView(&lvw, "77"));
        QVERIFY(ExisteEnListView(&lvw, "AB"));
        for (const char* no : {"7", "78", "771"})
            QVERIFY(!ExisteEnListView(&lvw, no));
    }

    // A viewed sale is read-only but for its notes, and closing it leaves
    // the shared modes closed.
    void verYCerrar()
    {
        TESTSTORE_OPEN_FRESH(t);
        firmar();
        articulo(t, "Q", 10, 25, 25, 25, 18, 1);
        fRecibirDinero::alMostrar = [](fRecibirDinero& d) {
            d.tEfectivo->setText(d.tTotal->text());
            d.bCerrar->click();
        };
        {
            auto w = nueva();
            linea(*w, "Q");
            escribir(*w, 7, "29");
            QVERIFY(w->bAplicar_Click());
        }
        fRecibirDinero::alMostrar = {};
        auto* w = new fVentas;
        w->MostrarFactura("1");
        QCOMPARE(caja(*w, 0), QString("1"));
        QCOMPARE(caja(*w, 9), QString("29"));
        QCOMPARE(caja(*w, 11), QString("Cancelada"));
        QVERIFY(!w->ComboNcf->isVisibleTo(w));
        QVERIFY(!w->bAceptar->isEnabled());
        QCOMPARE(w->lvwFactura->count(), 1);
        msgtest::clear();
        w->bFactura_Click();
        QVERIFY(msgtest::calls().isEmpty());
        gModoDetalle = 2;  // another window entering a line
        delete w;
        QCOMPARE(gModoFormulario, 0);
        QCOMPARE(gModoDetalle, 2);

        auto w2 = nueva();
        msgtest::clear();
        w2->bRecibo_Click();
        QCOMPARE(msgtest::texts(), QStringList{"Presione el comando 'Aplicar' para continuar"});
        // Leaving the date box with a day that does not exist.
        escribir(*w2, 2, "31/02/2024");
        msgtest::clear();
        QFocusEvent salida(QEvent::FocusOut);
        QApplication::sendEvent(w2->txt[2], &salida);
        QCOMPARE(msgtest::texts(), QStringList{"Ingrese una fecha válida"});
        QCOMPARE(caja(*w2, 2), QDate::currentDate().toString("dd/MM/yyyy"));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TstLineas t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}

#include "tst_lineas.moc"
