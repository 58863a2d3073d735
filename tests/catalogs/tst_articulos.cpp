// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
// The article window and the article list, driven through their controls.
#include "Escritorio.h"
#include "FileDialog.h"
#include "ListView.h"
#include "Prueba.h"
#include "StatusBar.h"
#include "fAdmArt.h"
#include "fArticulos.h"
#include "fKardex.h"
#include "mCatalogos.h"
#include "mFuncionesCajas.h"
#include "mInventario.h"
#include "msgbox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kDuplicado =
    "Error No: 3022 Código o Descripción no pueden ser duplicados, inserte otros datos e intentelo de nuevo o verifique si otro "
    "usuario esta accediendo al registro";
const QString kUpdate = "Error en Update de la Función DatosActualizados en el módulo 'mFunciones'";

QLineEdit* caja(QWidget* w, int i) { return fx::hijo<QLineEdit>(w, QString("txt%1").arg(i)); }

// Types as a user does: the box's key filter sees every character.
void teclear(QLineEdit* e, const QString& texto)
{
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    fx::teclas(e, texto);
}

fArticulos* abrirNuevo(fAdmArt*& adm)
{
    AbrirAdmArticulos();
    adm = VentanaAbierta<fAdmArt>();
    fx::hijo<QAbstractButton>(adm, "cmd0")->click();
    return VentanaAbierta<fArticulos>();
}

bool abierta() 
{
    QApplication::processEvents();
    return VentanaAbierta<fArticulos>() != nullptr;
}

}  // namespace

class TstArticulos : public Prueba {
    Q_OBJECT
private slots:
    void cleanup()
    {
        CommonDialog::setResponderForTest({});
        ado::Connection::setWriteHook({});
        Prueba::cleanup();
    }

    void nuevoArticuloReservaSuInventarioInicial()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fAdmArt* adm = nullptr;
        fArticulos* w = abrirNuevo(adm);
        QVERIFY(w);
        QCOMPARE(modoEdicion, 2);
        QCOMPARE(caja(w, 11)->text(), QDate::currentDate().toString("dd/MM/yyyy"));
        QCOMPARE(caja(w, 17)->text(), QString("FISICO"));
        teclear(caja(w, 0), "0100");
        teclear(caja(w, 1), "café molido");
        teclear(caja(w, 2), "12.5");
        teclear(caja(w, 7), "12");
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QVERIFY(!abierta());
        QCOMPARE(modoEdicion, 1);
        QCOMPARE(fx::campo(t, "0100", "descripcion_art").toString(), QString("CAFÉ MOLIDO"));
        QCOMPARE(fx::cantidad(t, "0100"), 12);  // not doubled by the booking
        const auto k = fx::kardex(t, "0100");
        QCOMPARE(k.size(), 1);
        QCOMPARE(k[0].values(), (QVariantList{"Inventario Inicial", "12", "-", 12, 12.5}));
        // Back in the list, the activation shows the new article.
        e.activar(adm);
        QCOMPARE(adm->lvw->count(), 1);
        QCOMPARE(adm->lvw->text(1), QString("0100"));
        QCOMPARE(adm->lvw->subItem(1, 5), QString("12"));
    }

    void codigoRepetidoNoGuardaNiReserva()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "100", 4, 9);
        fAdmArt* adm = nullptr;
        fArticulos* w = abrirNuevo(adm);
        teclear(caja(w, 0), "100");
        teclear(caja(w, 7), "30");
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), (QStringList{kDuplicado, kUpdate}));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        QVERIFY(abierta());
        QCOMPARE(modoEdicion, 2);
        QCOMPARE(fx::filas(t, "Kardex"), 0);
        QCOMPARE(fx::cantidad(t, "100"), 4);
    }

    // The booking fails after the row was written: the new row goes too.
    void fallaDelInventarioInicialNoDejaElArticulo()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fAdmArt* adm = nullptr;
        fArticulos* w = abrirNuevo(adm);
        teclear(caja(w, 0), "55");
        teclear(caja(w, 7), "3");
        ado::Connection::setWriteHook([](const QString& sql) {
            if (sql.startsWith("INSERT INTO Kardex", Qt::CaseInsensitive))
                throw ado::Error{3000, "disco lleno"};
        });
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        ado::Connection::setWriteHook({});
        QCOMPARE(msgtest::texts(), QStringList{"Error inesperado N° 3000. disco lleno"});
        QVERIFY(abierta());
        QCOMPARE(fx::filas(t, "ARTICULOS"), 0);
        QCOMPARE(Conexion().transactionDepth(), 0);
    }

    void cantidadFueraDeDieciseisBitsSeRechaza()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fAdmArt* adm = nullptr;
        fArticulos* w = abrirNuevo(adm);
        teclear(caja(w, 0), "7");
        teclear(caja(w, 7), "40000");
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList{"La cantidad debe estar comprendida entre -32768 y 32767"});
        QCOMPARE(fx::filas(t, "ARTICULOS"), 0);
        QVERIFY(abierta());
    }

    void preciosConImpuesto()
    {
        TESTSTORE_OPEN_FRESH(t);
        fArticulos& w = Ventana<fArticulos>();
        auto* previa4 = fx::hijo<QLineEdit>(&w, "tPrecioConImpuesto4");
        auto* previa5 = fx::hijo<QLineEdit>(&w, "tPrecioConImpuesto5");
        teclear(caja(&w, 3), "16");
        teclear(caja(&w, 4), "100");
        QCOMPARE(previa4->text(), QString("116"));
        teclear(caja(&w, 3), "0");
        emit caja(&w, 3)->editingFinished();
        teclear(caja(&w, 5), "10.5");
        QCOMPARE(previa5->text(), QString("10"));  // half to even
        teclear(caja(&w, 3), "18");
        QCOMPARE(previa4->text(), QString("100"));  // typing the rate alone changes nothing
        emit caja(&w, 3)->editingFinished();
        QCOMPARE(previa4->text(), QString("118"));
        QCOMPARE(caja(&w, 3)->maxLength(), 2);
        CerrarVentana(&w);
    }

    void filtrosDeTeclas()
    {
        TESTSTORE_OPEN_FRESH(t);
        fArticulos& w = Ventana<fArticulos>();
        fx::teclas(caja(&w, 1), "a'ñ");
        QCOMPARE(caja(&w, 1)->text(), QString("AÑ"));
        QTest::keyClicks(caja(&w, 0), "1a2'");
        QCOMPARE(caja(&w, 0)->text(), QString("12"));
        auto* notas = fx::hijo<QPlainTextEdit>(&w, "txt10");
        QTest::keyClicks(notas, "uno");
        QTest::keyClick(notas, Qt::Key_Return);
        QTest::keyClicks(notas, "dos");
        QCOMPARE(notas->toPlainText(), QString("UNO\nDOS"));
        QVERIFY(VentanaAbierta<fArticulos>());  // Enter there saved or closed nothing
        CerrarVentana(&w);
    }

    void tipoDeArticuloYCombos()
    {
        TESTSTORE_OPEN_FRESH(t);
        teststore::execRaw(t, "INSERT INTO ARTICULOS (codigo_art, tipo_art, ubicacion) VALUES ('1', 'SERVICIO', 'PASILLO 3')");
        fArticulos& w = Ventana<fArticulos>();
        auto* tipo = fx::hijo<QComboBox>(&w, "cbTipo_art");
        auto* fisico = fx::hijo<QRadioButton>(&w, "oTipo_Art0");
        auto* servicio = fx::hijo<QRadioButton>(&w, "oTipo_Art1");
        QVERIFY(fisico->isChecked());
        static_cast<ComboConsulta*>(tipo)->Rellenar();
        const int i = tipo->findText("SERVICIO");
        QVERIFY(i >= 0);
        tipo->setCurrentIndex(i);
        emit tipo->activated(i);
        QCOMPARE(caja(&w, 17)->text(), QString("SERVICIO"));
        QVERIFY(!fisico->isChecked() && !servicio->isChecked());
        fisico->click();
        QCOMPARE(caja(&w, 17)->text(), QString("FISICO"));
        // A type written into the box selects its option.
        caja(&w, 17)->setText("USO OCASIONAL");
        QVERIFY(fx::hijo<QRadioButton>(&w, "oTipo_Art2")->isChecked());

        auto* prov = fx::hijo<QComboBox>(&w, "cbNombre_prov15");
        caja(&w, 15)->setText("VIEJO");
        static_cast<ComboConsulta*>(prov)->Rellenar();
        QCOMPARE(prov->itemText(0), QString());
        QVERIFY(prov->findText("PROVEEDOR GENERICO") > 0);
        prov->setCurrentIndex(0);
        emit prov->activated(0);
        QCOMPARE(caja(&w, 15)->text(), QString());
        QVERIFY(caja(&w, 15)->isReadOnly());

        auto* ubic = fx::hijo<QComboBox>(&w, "cbUbicacion");
        static_cast<ComboConsulta*>(ubic)->Rellenar();
        const int u = ubic->findText("PASILLO 3");
        QVERIFY(u >= 0);
        ubic->setCurrentIndex(u);
        emit ubic->activated(u);
        QCOMPARE(caja(&w, 13)->text(), QString("PASILLO 3"));
        CerrarVentana(&w);
    }

    void imagen()
    {
        TESTSTORE_OPEN_FRESH(t);
        QTemporaryDir dir;
        const QString png = dir.filePath("a.png");
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(png));
        const QString roto = dir.filePath("roto.png");
        QFile f(roto);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("no es una imagen");
        f.close();

        fArticulos& w = Ventana<fArticulos>();
        auto* imagen = fx::hijo<QLabel>(&w, "Imagen_art");
        QString carpeta;
        QString respuesta = png;
        CommonDialog::setResponderForTest([&](const QString& inicial) {
            carpeta = inicial;
            return respuesta;
        });
        fx::hijo<QPushButton>(&w, "bBuscarImagen")->click();
        QVERIFY2(carpeta.endsWith("Imagenes/Articulos"), qPrintable(carpeta));
        QCOMPARE(caja(&w, 12)->text(), QFileInfo(png).absoluteFilePath());
        QVERIFY(!imagen->pixmap().isNull());
        const qint64 antes = imagen->pixmap().cacheKey();
        respuesta.clear();  // Cancel
        fx::hijo<QPushButton>(&w, "bBuscarImagen")->click();
        QCOMPARE(caja(&w, 12)->text(), QFileInfo(png).absoluteFilePath());
        caja(&w, 12)->setText(roto);
        QCOMPARE(imagen->pixmap().cacheKey(), antes);
        caja(&w, 12)->setText(QString());
        QVERIFY(imagen->pixmap().isNull());
        QVERIFY(msgtest::calls().isEmpty());
        CerrarVentana(&w);
    }

    // In edit mode the stock and cost booked meanwhile are not written back
    // from the boxes; typed changes are stored, without a Kardex row.
    void edicionNoDevuelveExistenciaNiCostoViejos()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "300", 10, 15);
        AbrirAdmArticulos();
        fAdmArt* adm = VentanaAbierta<fAdmArt>();
        QCOMPARE(adm->lvw->count(), 1);
        fx::hijo<QAbstractButton>(adm, "cmd1")->click();
        fArticulos* w = VentanaAbierta<fArticulos>();
        QVERIFY(w);
        QCOMPARE(modoEdicion, 1);
        QCOMPARE(caja(w, 7)->text(), QString("10"));
        QCOMPARE(caja(w, 2)->text(), QString("15"));
        // Meanwhile a sale and a purchase elsewhere.
        gCosteoInventario = 2;
        QVERIFY(AbrirRecordset("Select * From ARTICULOS Where codigo_art = '300'"));
        QVERIFY(ActualizarInventario(3, 15, "salida_articulos", "Factura De Venta 1", OrigenMovimiento::Venta));
        QVERIFY(ActualizarInventario(5, 19, "entrada_articulos", "Factura de Compra 1", OrigenMovimiento::Compra));
        teclear(caja(w, 1), "nueva");
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QVERIFY(!abierta());
        COMPARE_ROW(fx::guardado(t, "300"), {{"descripcion_art", "NUEVA"}, {"cantidad", 12}, {"precio_compra", 19.0}});

        e.activar(adm);
        fx::hijo<QAbstractButton>(adm, "cmd1")->click();
        w = VentanaAbierta<fArticulos>();
        teclear(caja(w, 7), "20");
        teclear(caja(w, 2), "17.25");
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(fx::cantidad(t, "300"), 20);
        QCOMPARE(fx::costo(t, "300"), 17.25);
        QCOMPARE(fx::kardex(t, "300").size(), 2);
    }

    // A box typed in and then "Propiedades" on another article whose value
    // happens to be what was typed: the box shows the loaded value, the
    // save must not take it for the user's.
    void tecleadoYOtroArticuloNoEscribeLoViejo_data()
    {
        QTest::addColumn<int>("caja");
        QTest::addColumn<QString>("tecleado");
        QTest::newRow("cantidad") << 7 << "12";
        QTest::newRow("codigo") << 0 << "400";
        QTest::newRow("costo") << 2 << "4";
    }
    void tecleadoYOtroArticuloNoEscribeLoViejo()
    {
        QFETCH(int, caja);
        QFETCH(QString, tecleado);
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "300", 10, 3);
        fx::articulo(t, "400", 12, 4);
        AbrirAdmArticulos();
        fAdmArt* adm = VentanaAbierta<fAdmArt>();
        adm->lvw->select(adm->lvw->find("300"));
        fx::hijo<QAbstractButton>(adm, "cmd1")->click();
        fArticulos* w = VentanaAbierta<fArticulos>();
        teclear(::caja(w, caja), tecleado);
        e.activar(adm);
        adm->lvw->select(adm->lvw->find("400"));
        fx::hijo<QAbstractButton>(adm, "cmd1")->click();
        QCOMPARE(VentanaAbierta<fArticulos>(), w);
        QCOMPARE(::caja(w, caja)->text(), tecleado);
        // Another workstation sells 3 of 400 and buys at 5.
        teststore::execRaw(t, "UPDATE ARTICULOS SET cantidad = 9, precio_compra = 5 WHERE codigo_art = '400'");
        teclear(::caja(w, 1), "otra");
        fx::hijo<QPushButton>(w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QVERIFY(!abierta());
        COMPARE_ROW(fx::guardado(t, "400"), {{"descripcion_art", "OTRA"}, {"cantidad", 9}, {"precio_compra", 5.0}});
        COMPARE_ROW(fx::guardado(t, "300"), {{"descripcion_art", "ART 300"}, {"cantidad", 10}});
    }

    // Brought from elsewhere with empty numbers and dates: editing only the
    // description saves, and the empty columns stay empty.
    void columnasVaciasSinCambioSeGuardan()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        teststore::execRaw(t, "INSERT INTO ARTICULOS (codigo_art, descripcion_art) VALUES ('500', 'VIEJO')");
        fArticulos& w = Ventana<fArticulos>();
        w.Editar("500");
        QCOMPARE(caja(&w, 2)->text(), QString());
        teclear(caja(&w, 1), "nuevo");
        fx::hijo<QPushButton>(&w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QVERIFY(!abierta());
        QCOMPARE(fx::campo(t, "500", "descripcion_art").toString(), QString("NUEVO"));
        for (const char* c : {"precio_compra", "impuesto", "precio_venta1", "precio_venta2", "precio_venta3", "cantidad",
                              "stock_minimo", "stock_maximo", "fecha_ingreso_art"})
            QVERIFY2(fx::campo(t, "500", c).isNull(), c);
        // A number cleared by the user is still refused.
        fx::articulo(t, "600", 1, 1);
        fArticulos& v = Ventana<fArticulos>();
        v.Editar("600");
        teclear(caja(&v, 4), "");
        fx::hijo<QPushButton>(&v, "bAceptar")->click();
        QCOMPARE(msgtest::texts().size(), 2);
        QCOMPARE(msgtest::texts()[1], kUpdate);
        QCOMPARE(fx::campo(t, "600", "precio_venta1").toDouble(), 20.0);
    }

    void codigoCambiadoAOtroArticuloSeRechaza()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "100", 1, 1);
        fx::articulo(t, "200", 2, 2);
        fArticulos& w = Ventana<fArticulos>();
        w.Editar("100");
        teclear(caja(&w, 0), "200");
        teclear(caja(&w, 7), "99");
        fx::hijo<QPushButton>(&w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), (QStringList{kDuplicado, kUpdate}));
        QVERIFY(abierta());
        QCOMPARE(fx::campo(t, "200", "descripcion_art").toString(), QString("ART 200"));
        QCOMPARE(fx::cantidad(t, "200"), 2);
        QCOMPARE(fx::cantidad(t, "100"), 1);
        QCOMPARE(Conexion().transactionDepth(), 0);
        // Back to its own code, the save goes through.
        msgtest::clear();
        teclear(caja(&w, 0), "100");
        fx::hijo<QPushButton>(&w, "bAceptar")->click();
        QCOMPARE(msgtest::texts(), QStringList());
        QCOMPARE(fx::cantidad(t, "100"), 99);
    }

    // Tab runs down the form as it is laid out, the rate beside the
    // purchase price and the entry date beside the quantity, then the
    // picture column and the buttons.
    void ordenDeTabulacion()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fArticulos& w = Ventana<fArticulos>();
        w.Nuevo();
        QCOMPARE(fx::ordenDeTab(&w),
                 QString("txt0 txt1 txt2 txt3 txt4 txt5 txt6 txt7 txt11 txt8 txt9 txt13 cbUbicacion txt14 cbNombre_prov14 "
                         "txt15 cbNombre_prov15 txt16 cbNombre_prov16 txt17 oTipo_Art0 oTipo_Art1 oTipo_Art2 cbTipo_art "
                         "txt12 bBuscarImagen txt10 bAceptar bCancelar")
                     .split(' '));
    }

    void escapeCancela()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fAdmArt* adm = nullptr;
        fArticulos* w = abrirNuevo(adm);
        teclear(caja(w, 0), "9");
        QTest::keyClick(caja(w, 1), Qt::Key_Return);  // no default button here
        QVERIFY(abierta());
        QTest::keyClick(caja(w, 1), Qt::Key_Escape);
        QVERIFY(!abierta());
        QCOMPARE(modoEdicion, 1);
        QCOMPARE(fx::filas(t, "ARTICULOS"), 0);
    }

    void listaBorrarYTarjeta()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "12", 1, 1);
        fx::articulo(t, "0012", 5, 3);
        teststore::execRaw(t, "INSERT INTO Kardex (codigo_art, fecha, concepto, saldo) VALUES ('0012', '2024-01-01', 'x', 5)");
        AbrirAdmArticulos();
        fAdmArt* adm = VentanaAbierta<fAdmArt>();
        QCOMPARE(adm->lvw->count(), 2);
        const int i = adm->lvw->find("0012");
        QVERIFY(i > 0);
        adm->lvw->select(i);
        // No keeps everything and does not reload.
        teststore::execRaw(t, "INSERT INTO ARTICULOS (codigo_art) VALUES ('9')");
        msgtest::install([](const msgtest::Call&) { return MsgResult::No; });
        fx::hijo<QAbstractButton>(adm, "cmd2")->click();
        QCOMPARE(msgtest::texts(),
                 QStringList{"Al eliminar el Artículo también se eliminará su información relacionada en Kardex. Está seguro?"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::ExclamationQuestion);
        QCOMPARE(fx::filas(t, "ARTICULOS"), 3);
        QCOMPARE(adm->lvw->count(), 2);
        // Yes deletes exactly "0012", its Kardex rows with it.
        msgtest::install();
        adm->lvw->select(adm->lvw->find("0012"));
        fx::hijo<QAbstractButton>(adm, "cmd2")->click();
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM ARTICULOS WHERE codigo_art = '0012'").toInt(), 0);
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM ARTICULOS WHERE codigo_art = '12'").toInt(), 1);
        QCOMPARE(fx::filas(t, "Kardex"), 0);
        QCOMPARE(adm->lvw->count(), 2);

        // The stock card of the selected article.
        adm->lvw->select(adm->lvw->find("12"));
        adm->Despachar("Kardex");
        fKardex* k = VentanaAbierta<fKardex>();
        QVERIFY(k);
        QCOMPARE(k->tCodigo_art->text(), QString("12"));
        QCOMPARE(k->tDescripcion_art->text(), QString("ART 12"));
        // A caption with no case does nothing.
        msgtest::clear();
        adm->Despachar("Movimientos");
        QVERIFY(!fx::hijo<QAbstractButton>(adm, "cmd4")->isVisible());
        QVERIFY(msgtest::calls().isEmpty());
    }

    void listaVaciaPideSeleccion()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        AbrirAdmArticulos();
        fAdmArt* adm = VentanaAbierta<fAdmArt>();
        QCOMPARE(adm->lvw->count(), 0);
        fx::hijo<QAbstractButton>(adm, "cmd1")->click();
        fx::hijo<QAbstractButton>(adm, "cmd2")->click();
        QCOMPARE(msgtest::texts(),
                 (QStringList{"No hay elemento seleccionado para efectuar esta acción.", "Seleccione un elemento de la lista"}));
        QCOMPARE(msgtest::calls()[0].title, QString("Administrador de Artículos"));
        QVERIFY(!VentanaAbierta<fArticulos>());
        // The stock card opens without a code written.
        Ventana<fKardex>().tCodigo_art->setText("5");
        adm->Despachar("Kardex");
        QCOMPARE(VentanaAbierta<fKardex>()->tCodigo_art->text(), QString("5"));
    }

    // The list reloads when it becomes the active child again, and not when
    // the activation merely comes back to it.
    void recargaSoloAlActivarse()
    {
        TESTSTORE_OPEN_FRESH(t);
        fx::Escritorio e;
        fx::articulo(t, "1", 1, 1);
        AbrirAdmArticulos();
        fAdmArt* adm = VentanaAbierta<fAdmArt>();
        QCOMPARE(adm->lvw->count(), 1);
        fx::articulo(t, "2", 1, 1);
        e.activar(adm);
        // A box shown over the workspace and closed again: the workspace
        // loses its active child and gets the same one back.
        QMdiSubWindow* sub = e.area->activeSubWindow();
        QCOMPARE(sub->widget(), adm);
        emit e.area->subWindowActivated(nullptr);
        emit e.area->subWindowActivated(sub);
        QCOMPARE(adm->lvw->count(), 1);
        AbrirKardex();
        e.activar(adm);
        QCOMPARE(adm->lvw->count(), 2);
        // The finder selects the first row whose code begins with the text.
        adm->lvw->select(1);
        adm->tCodigo->setText("2");
        QCOMPARE(adm->lvw->text(adm->lvw->selectedIndex()), QString("2"));
    }
};

QTEST_MAIN(TstArticulos)
#include "tst_articulos.moc"
