// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
// The administrator gate, the options window and the administration of
// companies, users and NCF ranges.
#include "Cuadros.h"
#include "Administracion.h"
#include "Foco.h"
#include "Prueba.h"
#include "fEmpresasUsuarios.h"
#include "fOpciones.h"
#include "fRetiroRegistros.h"
#include "frmContenedor.h"
#include "mAdministracion.h"
#include "mVentanas.h"

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

const QString kPrivilegios = "No tiene los privilegios para ejecurtar la acción";
const QString kNoActualizado = "No se actualizó el registro";
const QString kPreguntaEmpresa =
    "Si elimina la empresa seleccionada, se eliminarán sus usuarios, facturas de compra y facturas de venta relacionadas. Está "
    "seguro de continuar?";
const QString kPreguntaUsuario =
    "Si elimina el Usuario seleccionado, se eliminarán sus facturas de compra y facturas de venta relacionadas. Está seguro de "
    "continuar?";

void escribir(QLineEdit* t, const QString& s)
{
    t->clear();
    QTest::keyClicks(t, s);
}

void elegirCombo(QComboBox* cb, const QString& texto)
{
    cb->setCurrentIndex(cb->findText(texto));
    emit cb->activated(cb->currentIndex());
}

// Loaded for the seed administrator, every question answered Yes.
void cargar(fEmpresasUsuarios& w)
{
    adm::sesion();
    adm::responder();
    w.Form_Load();
}

const QString kUpdateFallido = "Error en Update de la Función DatosActualizados en el módulo 'mFunciones'";
const QString kDuplicado = "Error No: 3022 Código o Descripción no pueden ser duplicados, inserte otros datos e intentelo de "
                           "nuevo o verifique si otro usuario esta accediendo al registro";
const QString kAvisoCosteo = "El método para el costeo del inventario en esta empresa será UltimoPrecio";

// The messages shown, cut where an expected text ends in "…": the store's own
// words differ by engine, only their beginning is compared.
QStringList comoEsperados(const QStringList& esperados)
{
    QStringList vistos = adm::mensajes();
    for (int i = 0; i < vistos.size() && i < esperados.size(); ++i)
        if (esperados[i].endsWith(QChar(0x2026)))
            vistos[i] = vistos[i].left(esperados[i].size() - 1) + QChar(0x2026);
    return vistos;
}

}  // namespace

class TstAdministracion : public Prueba {
    Q_OBJECT
private slots:
    void initTestCase() { InstalarCuadros(); }  // the real boxes and cursor
    void cleanup()
    {
        fOpciones::alMostrar = {};
        fEmpresasUsuarios::alMostrar = {};
        fRetiroRegistros::alMostrar = {};
        Prueba::cleanup();
    }

    void puerta_data()
    {
        QTest::addColumn<int>("nivel");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("respuesta");  // "" is also what Cancel gives
        QTest::addColumn<bool>("pasa");
        QTest::addColumn<QStringList>("mensajes");
        QTest::newRow("administrador") << 0 << "Clave1" << "Clave1" << true << QStringList();
        QTest::newRow("otra mayúscula") << 0 << "Clave1" << "clave1" << false << QStringList{"Clave incorrecta"};
        QTest::newRow("blanco al final") << 0 << "Clave1" << "Clave1 " << false << QStringList{"Clave incorrecta"};
        QTest::newRow("cancelar") << 0 << "Clave1" << "" << false << QStringList{"Clave incorrecta"};
        QTest::newRow("sin clave, cancelar") << 0 << "" << "" << true << QStringList();
        QTest::newRow("asistente") << 1 << "Clave1" << "Clave1" << false << QStringList{kPrivilegios};
    }
    void puerta()
    {
        QFETCH(int, nivel);
        QFETCH(QString, clave);
        QFETCH(QString, respuesta);
        QFETCH(bool, pasa);
        QFETCH(QStringList, mensajes);
        gNivelUsu = nivel;
        gPasswordUsu = clave;
        gSesionIniciada = true;
        adm::responder(MsgResult::Yes, respuesta);
        QCOMPARE(PuertaAdministrador(), pasa);
        const auto& c = msgtest::calls();
        QStringList vistos;
        for (const auto& call : c)
            if (!call.input)
                vistos << call.text;
        QCOMPARE(vistos, mensajes);
        if (nivel != 0) {
            QCOMPARE(c.size(), 1);  // the password is never asked
            QCOMPARE(c[0].style, MsgStyle::Exclamation);
            return;
        }
        QVERIFY(c[0].input);
        QVERIFY(c[0].masked);
        QCOMPARE(c[0].title, QString("Clave requerida"));
        QCOMPARE(c[0].text, QString("digite la clave de acceso"));
        if (!pasa)
            QCOMPARE(c[1].style, MsgStyle::Plain);
    }

    // "params" opens the options window modally; its doors open the
    // administration and the removal modally in turn, each behind the gate;
    // closing them returns to the options window, which stays open.
    void opcionesAnidadas()
    {
        TESTSTORE_OPEN_FRESH(t);
        adm::sesion();
        QString clave = "1234";
        msgtest::install({}, [&clave](const msgtest::Call&) { return clave; });
        RegistrarMenusAdministracion();
        QStringList visto;
        fEmpresasUsuarios::alMostrar = [&](fEmpresasUsuarios& w) {
            visto << "admin:" + adm::textos(w.lstEmpresas).join(",") + QString(":%1%2%3").arg(gModoEmpresa).arg(gModoNcf).arg(gModoUsuario);
            w.bCerrar->click();
        };
        fRetiroRegistros::alMostrar = [&](fRetiroRegistros& w) {
            visto << "retiro:" + w.lEmpresaActual->text() + QString(":%1").arg(w.bEliminarFactura[0]->isEnabled());
            QTest::keyClick(w.tEliminarFactura[0], Qt::Key_Return);  // Enter presses Cerrar
        };
        fOpciones::alMostrar = [&](fOpciones& o) {
            visto << "opciones:" + o.windowTitle();
            o.bAbrirEmpresasUsuarios->click();
            visto << QString("de vuelta:%1").arg(o.isVisible());
            o.bAbrirRetiroRegistros->click();
            clave = "otra";
            o.bAbrirEmpresasUsuarios->click();  // refused: not opened
            o.close();
        };
        QVERIFY(Abrir("params"));
        QCOMPARE(visto, (QStringList{"opciones:Opciones y Parámetros de la Aplicación", "admin:EMPRESA PRINCIPAL:333", "de vuelta:1",
                                     "retiro:Empresa Actual : EMPRESA PRINCIPAL:0"}));
        QCOMPARE(adm::mensajes().last(), QString("Clave incorrecta"));
        QApplication::processEvents();
        QVERIFY(!VentanaAbierta<fOpciones>());
        RegistrarAbridor("params", {});
    }

    void empresaNueva()
    {
        TESTSTORE_OPEN_FRESH(t);
        fEmpresasUsuarios w;
        cargar(w);
        QCOMPARE(adm::textos(w.lstEmpresas), QStringList{"EMPRESA PRINCIPAL"});
        QVERIFY(!w.bActualizarEmpresa->isEnabled());
        QCOMPARE(w.cbEmpresas->currentText(), QString("UltimoPrecio"));
        w.bAdicionarEmpresa->click();
        QCOMPARE(gModoEmpresa, 2);
        QVERIFY(w.bActualizarEmpresa->isEnabled() && w.bOmitirEmpresa->isEnabled());
        QVERIFY(!w.bAdicionarEmpresa->isEnabled() && !w.bEditarEmpresa->isEnabled());
        QVERIFY(w.bEliminarEmpresa->isEnabled());
        escribir(w.txtEmpresas[0], "2x5");
        QCOMPARE(w.txtEmpresas[0]->text(), QString("25"));  // digits only
        escribir(w.txtEmpresas[1], "Sucursal O'Este");
        escribir(w.txtEmpresas[12], "0");
        escribir(w.txtEmpresas[13], "0");
        // The combo shows a word, but only a pick from its list fills box 11.
        w.bActualizarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{"Seleccione el Método para el costeo del Inventario"});
        w.txtEmpresas[11]->setText("promedioSimple");
        w.bActualizarEmpresa->click();
        QCOMPARE(adm::mensajes().size(), 2);
        QCOMPARE(adm::contar(t, "empresas"), 1);
        QCOMPARE(gModoEmpresa, 2);

        elegirCombo(w.cbEmpresas, "PromedioSimple");
        QCOMPARE(w.txtEmpresas[11]->text(), QString("PromedioSimple"));
        msgtest::clear();
        w.bActualizarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{"El método para el costeo del inventario en esta empresa será PromedioSimple"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        const auto fila = teststore::queryRaw(t, "SELECT nombre_emp, costeo_inventario, consecutivo_compra, desde_ncf, hasta_ncf, "
                                                 "consecutivo_ncf, PieFactura1 FROM empresas WHERE codigo_emp = 25");
        QCOMPARE(fila.size(), 1);
        QCOMPARE(fila[0], (QVariantList{"Sucursal O'Este", "PromedioSimple", 0, 0, 0, 0, ""}));
        QCOMPARE(gModoEmpresa, 3);
        QVERIFY(w.bAdicionarEmpresa->isEnabled() && !w.bActualizarEmpresa->isEnabled());
        QCOMPARE(adm::textos(w.lstEmpresas).size(), 2);
        QCOMPARE(w.txtEmpresas[1]->text(), QString("Sucursal O'Este"));  // boxes keep the saved values

        // The same code again: the store refuses it.
        w.bAdicionarEmpresa->click();
        escribir(w.txtEmpresas[0], "25");
        escribir(w.txtEmpresas[1], "OTRA");
        msgtest::clear();
        w.bActualizarEmpresa->click();
        QCOMPARE(adm::mensajes().last(), kNoActualizado);
        QVERIFY(adm::mensajes().join("|").contains("Error No: 3022"));
        QCOMPARE(gModoEmpresa, 2);
        QCOMPARE(adm::contar(t, "empresas"), 2);
    }

    // Numbers the store would take but change are refused before anything
    // is written; an empty or non-numeric one reaches the store, whose
    // refusal comes through the error check after the notice.
    void empresaNumeros_data()
    {
        QTest::addColumn<int>("caja");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("mensajes");
        QTest::newRow("código vacío") << 0 << "" << QStringList{kAvisoCosteo, "Error inesperado N° …", kNoActualizado};
        QTest::newRow("código grande") << 0 << "40000"
                                       << QStringList{"El código de la empresa debe ser un número entero entre 0 y 32767"};
        QTest::newRow("consecutivo vacío")
            << 12 << "" << QStringList{kAvisoCosteo, "Error inesperado N° 3421…", kUpdateFallido, kNoActualizado};
        QTest::newRow("consecutivo con letras")
            << 13 << "9a" << QStringList{kAvisoCosteo, "Error inesperado N° 3421…", kUpdateFallido, kNoActualizado};
        QTest::newRow("consecutivo con signo")
            << 13 << "-4"
            << QStringList{"El consecutivo actual en factura de venta debe ser un número entero entre 0 y 999999999"};
        QTest::newRow("consecutivo decimal")
            << 13 << "4.5"
            << QStringList{"El consecutivo actual en factura de venta debe ser un número entero entre 0 y 999999999"};
    }
    void empresaNumeros()
    {
        QFETCH(int, caja);
        QFETCH(QString, texto);
        QFETCH(QStringList, mensajes);
        TESTSTORE_OPEN_FRESH(t);
        fEmpresasUsuarios w;
        cargar(w);
        w.bAdicionarEmpresa->click();
        w.txtEmpresas[0]->setText("3");
        w.txtEmpresas[1]->setText("TRES");
        w.txtEmpresas[11]->setText("UltimoPrecio");
        w.txtEmpresas[12]->setText("1");
        w.txtEmpresas[13]->setText("1");
        w.txtEmpresas[caja]->setText(texto);
        w.bActualizarEmpresa->click();
        QCOMPARE(comoEsperados(mensajes), mensajes);
        QCOMPARE(adm::contar(t, "empresas"), 1);
        QCOMPARE(gModoEmpresa, 2);
    }

    // Loading a company fills every box, the user section's company code,
    // its users and its ranges; editing rewrites all but the code; adding
    // afterwards keeps the costing word, counters and carried boxes.
    void empresaEditar()
    {
        TESTSTORE_OPEN_FRESH(t);
        adm::empresa(t, 2, "NORTE", "UltimoPrecio");
        adm::usuario(t, 2, "5", "PEDRO");
        adm::rango(t, "FACTURA", 4, "2");
        fEmpresasUsuarios w;
        cargar(w);
        adm::elegir(w.lstEmpresas, "NORTE");
        QCOMPARE(w.txtEmpresas[0]->text(), QString("2"));
        QCOMPARE(w.txtEmpresas[3]->text(), QString("CALLE 2"));
        QCOMPARE(w.txtEmpresas[10]->text(), QString("P6"));
        QCOMPARE(w.txtEmpresas[11]->text(), QString("UltimoPrecio"));
        QCOMPARE(w.cbEmpresas->currentText(), QString("UltimoPrecio"));
        QCOMPARE(w.txtEmpresas[13]->text(), QString("9"));
        QCOMPARE(w.txtEmpresas[14]->text(), QString("A01"));
        QCOMPARE(w.txtEmpresas[17]->text(), QString("3"));
        QCOMPARE(w.txtUsuarios[0]->text(), QString("2"));
        QCOMPARE(adm::textos(w.lstUsuarios), QStringList{"PEDRO"});
        QCOMPARE(adm::textos(w.ncfList), QStringList{"FACTURA"});

        w.bEditarEmpresa->click();
        QCOMPARE(gModoEmpresa, 1);
        escribir(w.txtEmpresas[3], "AVENIDA 9");
        escribir(w.txtEmpresas[13], "120");
        elegirCombo(w.cbEmpresas, "PromedioPonderado");
        w.bActualizarEmpresa->click();
        QCOMPARE(adm::mensajes().size(), 1);  // the notice only
        QCOMPARE(teststore::queryRaw(t, "SELECT direccion_emp, consecutivo_venta, costeo_inventario, nombre_emp FROM empresas "
                                        "WHERE codigo_emp = 2")[0],
                 (QVariantList{"AVENIDA 9", 120, "PromedioPonderado", "NORTE"}));
        QCOMPARE(adm::contar(t, "empresas", "direccion_emp = 'CALLE 1'"), 0);
        QCOMPARE(gModoEmpresa, 3);

        w.bAdicionarEmpresa->click();
        QCOMPARE(w.txtEmpresas[0]->text(), QString());
        QCOMPARE(w.txtEmpresas[10]->text(), QString());
        QCOMPARE(w.txtEmpresas[11]->text(), QString("PromedioPonderado"));
        QCOMPARE(w.txtEmpresas[13]->text(), QString("120"));
        QCOMPARE(w.txtEmpresas[15]->text(), QString("1"));
        w.bOmitirEmpresa->click();
        QCOMPARE(gModoEmpresa, 3);
        QVERIFY(!w.bOmitirEmpresa->isEnabled() && w.bEditarEmpresa->isEnabled());
    }

    // Deleting a company takes its users and its invoices with their lines
    // and payments; nothing of the other company moves.
    void empresaEliminar()
    {
        TESTSTORE_OPEN_FRESH(t);
        adm::empresa(t, 2, "NORTE");
        adm::usuario(t, 2, "5", "PEDRO");
        adm::factura(t, true, 2, 1, "5");
        adm::factura(t, false, 2, 1, "5");
        adm::factura(t, true, 1, 1);
        adm::sesion();
        fEmpresasUsuarios w;
        w.Form_Load();

        // No code, then the gate refusing: nothing asked, nothing deleted.
        adm::responder();
        w.bEliminarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{"Seleccione la empresa a eliminar"});
        adm::elegir(w.lstEmpresas, "NORTE");
        adm::responder(MsgResult::Yes, "mala");
        w.bEliminarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{"Clave incorrecta"});
        gNivelUsu = 1;
        adm::responder();
        w.bEliminarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{kPrivilegios});
        gNivelUsu = 0;

        // No: the boxes are emptied, nothing deleted.
        adm::responder(MsgResult::No);
        w.bEliminarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{kPreguntaEmpresa});
        QCOMPARE(msgtest::calls()[1].style, MsgStyle::QuestionNoDefault);
        QCOMPARE(w.txtEmpresas[0]->text(), QString());
        QCOMPARE(adm::contar(t, "empresas"), 2);

        adm::elegir(w.lstEmpresas, "NORTE");
        adm::responder(MsgResult::Yes);
        w.bEliminarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{kPreguntaEmpresa});
        QCOMPARE(adm::contar(t, "empresas", "codigo_emp = 2"), 0);
        QCOMPARE(adm::contar(t, "usuarios", "codigo_emp = 2"), 0);
        QCOMPARE(adm::facturas(t, true, 2), QString("0/0/0"));
        QCOMPARE(adm::facturas(t, false, 2), QString("0/0/0"));
        QCOMPARE(adm::facturas(t, true, 1), QString("1/1/1"));
        QCOMPARE(adm::contar(t, "usuarios"), 1);
        QCOMPARE(adm::textos(w.lstEmpresas), QStringList{"EMPRESA PRINCIPAL"});

        // A code that is no company.
        w.txtEmpresas[0]->setText("77");
        adm::responder();
        w.bEliminarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{"Base de Datos Ocupada."});
        QCOMPARE(w.txtEmpresas[0]->text(), QString("77"));

        // The company of the session stays.
        adm::elegir(w.lstEmpresas, "EMPRESA PRINCIPAL");
        adm::responder();
        w.bEliminarEmpresa->click();
        QCOMPARE(adm::mensajes(), QStringList{"No es posible eliminar la empresa con la que ha iniciado la sesión"});
        QCOMPARE(adm::contar(t, "empresas"), 1);
        QCOMPARE(adm::facturas(t, true, 1), QString("1/1/1"));
    }

    void usuarioGuardar()
    {
        TESTSTORE_OPEN_FRESH(t);
        adm::empresa(t, 2, "NORTE");
        adm::usuario(t, 2, "5", "PEDRO", "vieja");
        adm::usuario(t, 2, "6", "JUAN", "otra");
        fEmpresasUsuarios w;
        cargar(w);
        adm::elegir(w.lstEmpresas, "NORTE");
        QCOMPARE(adm::textos(w.lstUsuarios), (QStringList{"PEDRO", "JUAN"}));

        // The look-up fills the user boxes and the confirmation.
        adm::elegir(w.lstUsuarios, "PEDRO");
        QCOMPARE(w.txtUsuarios[1]->text(), QString("5"));
        QCOMPARE(w.txtUsuarios[3]->text(), QString("vieja"));
        QCOMPARE(w.tPassword->text(), QString("vieja"));
        QCOMPARE(w.txtUsuarios[4]->text(), QString("Asistente"));
        QCOMPARE(w.cbUsuarios->currentText(), QString("Asistente"));
        // Cancelling empties the user, though the list still shows it chosen.
        w.bEditarUsuario->click();
        w.bOmitirUsuario->click();
        QCOMPARE(gModoUsuario, 3);
        QCOMPARE(w.txtUsuarios[2]->text(), QString());
        QCOMPARE(w.tPassword->text(), QString());
        QCOMPARE(w.txtUsuarios[0]->text(), QString("2"));
        adm::elegir(w.lstUsuarios, "PEDRO");

        w.bEditarUsuario->click();
        escribir(w.txtUsuarios[3], "Nueva' OR '1'='1");
        w.bActualizarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList{"clave incorrecta"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Plain);
        escribir(w.tPassword, "Nueva' OR '1'='1");
        w.txtUsuarios[4]->setText("administrador");
        msgtest::clear();
        w.bActualizarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList{"Seleccione el Nivel del Usuario"});
        elegirCombo(w.cbUsuarios, "Administrador");
        msgtest::clear();
        w.bActualizarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList{"Al usuario se le ha asignado el nivel Administrador"});
        QCOMPARE(teststore::queryRaw(t, "SELECT password_usu, nivel_usu FROM usuarios WHERE codigo_usu = '5'")[0],
                 (QVariantList{"Nueva' OR '1'='1", "Administrador"}));
        QCOMPARE(teststore::scalarRaw(t, "SELECT password_usu FROM usuarios WHERE codigo_usu = '6'").toString(), QString("otra"));
        QCOMPARE(gModoUsuario, 3);

        // A new user; a wrong confirmation is told before a missing level.
        w.bAdicionarUsuario->click();
        QCOMPARE(w.txtUsuarios[0]->text(), QString("2"));
        QCOMPARE(w.txtUsuarios[1]->text(), QString());
        escribir(w.txtUsuarios[1], "7");
        escribir(w.txtUsuarios[2], "LUISA");
        QCOMPARE(w.txtUsuarios[3]->text(), QString());  // typing the name looks nothing up while adding
        escribir(w.txtUsuarios[3], "x");
        msgtest::clear();
        w.bActualizarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList{"clave incorrecta"});
        w.tPassword->setText("x");
        msgtest::clear();
        w.bActualizarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList{"Seleccione el Nivel del Usuario"});
        elegirCombo(w.cbUsuarios, "Asistente");
        w.txtUsuarios[1]->clear();
        msgtest::clear();
        w.bActualizarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList{"El código del usuario debe ser un número entero entre 0 y 999999999"});
        w.txtUsuarios[1]->setText("7");
        msgtest::clear();
        w.bActualizarUsuario->click();
        QCOMPARE(adm::mensajes().size(), 1);
        QCOMPARE(teststore::queryRaw(t, "SELECT codigo_emp, nombre_usu, password_usu, nivel_usu FROM usuarios WHERE codigo_usu = '7'"),
                 (QList<QVariantList>{{2, "LUISA", "x", "Asistente"}}));
        QCOMPARE(adm::textos(w.lstUsuarios).size(), 3);

        // Box 0 falls back to the company's code, or "0" with none.
        w.txtUsuarios[0]->clear();
        QCOMPARE(w.txtUsuarios[0]->text(), QString("2"));
        w.txtEmpresas[0]->clear();
        w.txtUsuarios[0]->setText("3");
        QCOMPARE(w.txtUsuarios[0]->text(), QString("0"));
        QCOMPARE(w.lstUsuarios->count(), 0);

        // No company 0: told in plain words, nothing stored.
        w.bAdicionarUsuario->click();
        w.txtUsuarios[1]->setText("8");
        w.txtUsuarios[2]->setText("SIN EMPRESA");
        elegirCombo(w.cbUsuarios, "Asistente");
        msgtest::clear();
        w.bActualizarUsuario->click();
        QCOMPARE(adm::mensajes(),
                 QStringList{"No existe una empresa con el código 0. Elija la empresa del usuario en el listado de empresas"});
        QCOMPARE(adm::contar(t, "usuarios", "codigo_usu = '8'"), 0);
        QCOMPARE(gModoUsuario, 2);
    }

    // Deleting a user takes that user's invoices of that company with
    // their lines and payments, no one else's; the session's own user stays.
    void usuarioEliminar()
    {
        TESTSTORE_OPEN_FRESH(t);
        adm::empresa(t, 2, "NORTE");
        adm::usuario(t, 2, "5", "PEDRO");
        adm::usuario(t, 2, "6", "JUAN");
        adm::factura(t, true, 2, 1, "5");
        adm::factura(t, false, 2, 1, "5");
        adm::factura(t, true, 2, 2, "6");
        adm::sesion();
        fEmpresasUsuarios w;
        w.Form_Load();
        adm::elegir(w.lstEmpresas, "NORTE");
        adm::elegir(w.lstUsuarios, "PEDRO");
        // The focus entering the button resets the modes and the company
        // list, but never while a section is adding or editing.
        w.bAdicionarEmpresa->click();
        w.bEliminarUsuario_GotFocus();
        QCOMPARE(gModoEmpresa, 2);
        QVERIFY(w.lstEmpresas->currentItem() && w.lstEmpresas->currentItem()->isSelected());
        w.bOmitirEmpresa->click();
        w.bEliminarUsuario_GotFocus();
        QCOMPARE(gModoEmpresa, 3);
        QVERIFY(!w.lstEmpresas->currentItem() || !w.lstEmpresas->currentItem()->isSelected());

        adm::responder(MsgResult::No);
        w.bEliminarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList{kPreguntaUsuario});
        QCOMPARE(msgtest::calls()[1].style, MsgStyle::QuestionNoDefault);
        QCOMPARE(w.txtUsuarios[1]->text(), QString());
        QCOMPARE(adm::contar(t, "usuarios"), 3);
        w.bEliminarUsuario->click();
        QCOMPARE(adm::mensajes().last(), QString("Seleccione el usuario a eliminar"));

        adm::elegir(w.lstUsuarios, "PEDRO");
        adm::responder(MsgResult::Yes);
        w.bEliminarUsuario->click();
        QCOMPARE(adm::contar(t, "usuarios", "codigo_usu = '5'"), 0);
        QCOMPARE(adm::contar(t, "Ventas", "codigo_usu = '5'") + adm::contar(t, "Compras", "codigo_usu = '5'"), 0);
        QCOMPARE(adm::facturas(t, true, 2), QString("1/1/1"));  // JUAN's sale stays
        QCOMPARE(adm::facturas(t, false, 2), QString("0/0/0"));
        QCOMPARE(adm::textos(w.lstUsuarios), QStringList{"JUAN"});

        // A user that is not there: nothing shown, nothing done.
        w.txtUsuarios[1]->setText("99");
        adm::responder();
        w.bEliminarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList());
        QCOMPARE(w.txtUsuarios[1]->text(), QString("99"));

        adm::elegir(w.lstEmpresas, "EMPRESA PRINCIPAL");
        adm::elegir(w.lstUsuarios, "ADMINISTRADOR");
        adm::responder();
        w.bEliminarUsuario->click();
        QCOMPARE(adm::mensajes(), QStringList{"No es posible eliminar el usuario con el que ha iniciado la sesión"});
        QCOMPARE(adm::contar(t, "usuarios", "codigo_emp = 1"), 1);
    }

    void rangos()
    {
        TESTSTORE_OPEN_FRESH(t);
        fEmpresasUsuarios w;
        cargar(w);
        QCOMPARE(w.idncf->text(), QString("Text1"));
        adm::elegir(w.lstEmpresas, "EMPRESA PRINCIPAL");

        // Editing before any range was loaded: "Text1" as ID makes the
        // statement invalid, and the store says so.
        w.bEditarNcf->click();
        w.ncf[0]->setText("X");
        msgtest::clear();
        w.bActualizarNcf->click();
        const QStringList invalida{"Error inesperado N° …", kNoActualizado};
        QCOMPARE(comoEsperados(invalida), invalida);
        QCOMPARE(adm::contar(t, "ncfs"), 0);
        w.bOmitirNcf->click();

        w.bAdicionarNcf->click();
        w.ncf[0]->setText("   ");
        msgtest::clear();
        w.bActualizarNcf->click();
        QCOMPARE(adm::mensajes(), QStringList{"Debe introducir una descripción"});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Plain);
        w.ncf[0]->setText(" CONSUMIDOR");
        w.ncf[1]->setText("A0100100102");
        // Empty numbers are stored as 0.
        msgtest::clear();
        w.bActualizarNcf->click();
        QCOMPARE(adm::mensajes(), QStringList());
        QCOMPARE(teststore::queryRaw(t, "SELECT descripcion, prefijo, desde, hasta, consecutivo, id_sucursal FROM ncfs"),
                 (QList<QVariantList>{{" CONSUMIDOR", "A0100100102", 0, 0, 0, "1"}}));
        QCOMPARE(adm::textos(w.ncfList), QStringList{" CONSUMIDOR"});
        QCOMPARE(gModoNcf, 3);

        // Load it, then edit: the description stays, the ID stays.
        adm::elegir(w.ncfList, " CONSUMIDOR");
        const QString id = teststore::scalarRaw(t, "SELECT ID FROM ncfs").toString();
        QCOMPARE(w.idncf->text(), id);
        QCOMPARE(w.ncf[5]->text(), QString("1"));
        w.bEditarNcf->click();
        w.ncf[0]->setText("OTRO NOMBRE");
        escribir(w.ncf[2], "1x0");
        QCOMPARE(w.ncf[2]->text(), QString("10"));
        escribir(w.ncf[3], "123456789");
        QCOMPARE(w.ncf[3]->text(), QString("12345678"));  // eight digits at most
        w.ncf[4]->setText("9");
        w.bActualizarNcf->click();
        QCOMPARE(teststore::queryRaw(t, "SELECT ID, descripcion, desde, hasta, consecutivo FROM ncfs"),
                 (QList<QVariantList>{{id.toInt(), " CONSUMIDOR", 10, 12345678, 9}}));
        QCOMPARE(adm::textos(w.ncfList), QStringList{" CONSUMIDOR"});
    }

    // The range's numbers: an empty one is 0, the order of desde and hasta
    // is the sale's concern; numbers the store would change are refused,
    // other texts reach the store and its refusal.
    void rangoNumeros_data()
    {
        QTest::addColumn<QString>("desde");
        QTest::addColumn<QString>("hasta");
        QTest::addColumn<QString>("consecutivo");
        QTest::addColumn<QStringList>("mensajes");
        QTest::addColumn<QString>("guardado");  // desde/hasta/consecutivo stored, "" for none
        QTest::newRow("desde mayor") << "50" << "10" << "0" << QStringList() << "50/10/0";
        QTest::newRow("hasta vacío") << "7" << "" << "3" << QStringList() << "7/0/3";
        QTest::newRow("nueve dígitos") << "1" << "123456789" << "0"
                                       << QStringList{"NCF - Hasta debe ser un número entero entre 0 y 99999999"} << "";
        QTest::newRow("signo") << "-1" << "10" << "0" << QStringList{"NCF - Desde debe ser un número entero entre 0 y 99999999"}
                               << "";
        QTest::newRow("letras") << "1" << "10" << "5a"
                                << QStringList{"Error inesperado N° 3421…", kUpdateFallido, kNoActualizado} << "";
    }
    void rangoNumeros()
    {
        QFETCH(QString, desde);
        QFETCH(QString, hasta);
        QFETCH(QString, consecutivo);
        QFETCH(QStringList, mensajes);
        QFETCH(QString, guardado);
        TESTSTORE_OPEN_FRESH(t);
        fEmpresasUsuarios w;
        cargar(w);
        adm::elegir(w.lstEmpresas, "EMPRESA PRINCIPAL");
        w.bAdicionarNcf->click();
        w.ncf[0]->setText("FACTURA");
        for (int i = 2; i <= 4; ++i)
            w.ncf[i]->setMaxLength(32767);  // text a paste could not bring, set by hand
        w.ncf[2]->setText(desde);
        w.ncf[3]->setText(hasta);
        w.ncf[4]->setText(consecutivo);
        w.bActualizarNcf->click();
        QCOMPARE(comoEsperados(mensajes), mensajes);
        const auto filas = teststore::rowsRaw(t, "SELECT desde, hasta, consecutivo FROM ncfs");
        QStringList vistos;
        for (const auto& f : filas)
            vistos << QString("%1/%2/%3").arg(f["desde"].toString(), f["hasta"].toString(), f["consecutivo"].toString());
        QCOMPARE(vistos.join(","), guardado);
        QCOMPARE(gModoNcf, guardado.isEmpty() ? 2 : 3);
    }

    void rangoEliminar()
    {
        TESTSTORE_OPEN_FRESH(t);
        adm::rango(t, "FACTURA", 4);
        adm::rango(t, "GUBERNAMENTAL", 0, "1", "A15");
        adm::sesion();
        fEmpresasUsuarios w;
        w.Form_Load();
        adm::elegir(w.lstEmpresas, "EMPRESA PRINCIPAL");
        adm::responder();
        w.bEliminarNcf->click();
        QCOMPARE(adm::mensajes(), QStringList{"Seleccione un ncf"});

        adm::elegir(w.ncfList, "FACTURA");
        adm::responder(MsgResult::Yes, "no");
        w.bEliminarNcf->click();
        QCOMPARE(adm::mensajes(), QStringList{"Clave incorrecta"});
        QCOMPARE(w.ncf[0]->text(), QString("FACTURA"));  // nothing done

        adm::responder(MsgResult::No);
        w.bEliminarNcf->click();
        QCOMPARE(adm::mensajes(), QStringList{"Está seguro de continuar?"});
        QCOMPARE(msgtest::calls()[1].style, MsgStyle::QuestionNoDefault);
        QCOMPARE(w.ncf[0]->text(), QString());
        QCOMPARE(adm::contar(t, "ncfs"), 2);

        // The boxes emptied: a typed description acts on the range loaded last.
        w.ncf[0]->setText("GUBERNAMENTAL");
        adm::responder(MsgResult::Yes);
        w.bEliminarNcf->click();
        QCOMPARE(teststore::queryRaw(t, "SELECT descripcion FROM ncfs"), (QList<QVariantList>{{"GUBERNAMENTAL"}}));
        QCOMPARE(adm::textos(w.ncfList), QStringList{"GUBERNAMENTAL"});
    }

    void claveEnPantalla_data()
    {
        QTest::addColumn<QString>("tecleada");
        QTest::addColumn<bool>("pasa");
        QTest::newRow("correcta") << "1234" << true;
        QTest::newRow("otra") << "4321" << false;
    }
    // The prompt on the screen: its title, text, empty default, OK and
    // Cancel, and the password typed shown masked.
    void claveEnPantalla()
    {
        QFETCH(QString, tecleada);
        QFETCH(bool, pasa);
        adm::sesion();
        msgtest::uninstall();
        QString titulo, texto, inicial;
        QLineEdit::EchoMode eco = QLineEdit::Normal;
        QDialogButtonBox::StandardButtons botones;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            if (!d)
                return;
            auto* caja = d->findChild<QLineEdit*>();
            titulo = d->windowTitle();
            texto = d->labelText();
            inicial = caja->text();
            eco = caja->echoMode();
            if (auto* b = d->findChild<QDialogButtonBox*>())
                botones = b->standardButtons();
            QTest::keyClicks(caja, tecleada);
            // A wrong password is answered by a box of its own.
            if (tecleada != gPasswordUsu)
                QTimer::singleShot(0, [] {
                    if (auto* m = QApplication::activeModalWidget())
                        QTest::keyClick(m, Qt::Key_Return);
                });
            QTest::keyClick(caja, Qt::Key_Return);
        });
        const bool paso = PuertaAdministrador();
        msgtest::install();
        QCOMPARE(titulo, QString("Clave requerida"));
        QCOMPARE(texto, QString("digite la clave de acceso"));
        QCOMPARE(inicial, QString());
        QCOMPARE(eco, QLineEdit::Password);
        QCOMPARE(botones, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(paso, pasa);
        // Other prompts show what is typed.
        eco = QLineEdit::Password;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
                eco = d->findChild<QLineEdit*>()->echoMode();
                d->reject();
            }
        });
        msgtest::uninstall();
        InputBox("otra pregunta");
        msgtest::install();
        QCOMPARE(eco, QLineEdit::Normal);
    }

    // Tab runs down each section as its boxes stand; a box filled from its
    // combo is no stop and takes no typing, while the combo still fills it.
    void ordenDeTabulacion()
    {
        TESTSTORE_OPEN_FRESH(t);
        fEmpresasUsuarios w;
        cargar(w);
        QStringList esperado;
        for (int i = 0; i <= 10; ++i)
            esperado << QString("txtEmpresas%1").arg(i);
        esperado += QStringList{"cbEmpresas11", "txtEmpresas12", "txtEmpresas13", "lstEmpresas"};
        const QStringList botones{"bAdicionar", "bActualizar", "bOmitir", "bEditar", "bEliminar"};
        for (const QString& b : botones)
            esperado << b + "Empresa";
        esperado += QStringList{"ncf0", "ncf1", "ncf2", "ncf3", "ncf4", "ncfList"};
        for (const QString& b : botones)
            esperado << b + "Ncf";
        esperado +=
            QStringList{"txtUsuarios0", "txtUsuarios1", "txtUsuarios2", "txtUsuarios3", "tPassword", "cbUsuarios4", "lstUsuarios"};
        for (const QString& b : botones)
            esperado << b + "Usuario";
        esperado << "bCerrar";
        QCOMPARE(foco::ordenDeTab(&w), esperado);

        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.bAdicionarUsuario->click();
        w.txtUsuarios[3]->setFocus();
        escribir(w.txtUsuarios[3], "x");
        QTest::keyClick(w.txtUsuarios[3], Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.tPassword);
        for (QLineEdit* caja : {w.txtEmpresas[11], w.txtUsuarios[4]}) {
            caja->setFocus();
            QTest::keyClicks(caja, "Asistente");
            QCOMPARE(caja->text(), QString());
        }
        elegirCombo(w.cbUsuarios, "Asistente");
        elegirCombo(w.cbEmpresas, "PromedioSimple");
        QCOMPARE(w.txtUsuarios[4]->text(), QString("Asistente"));
        QCOMPARE(w.txtEmpresas[11]->text(), QString("PromedioSimple"));
    }

    // Adding in the shown window, the focus walked by Tab round every
    // control (the delete buttons and the lists included) before the save:
    // the row is stored.
    void adicionarConTab_data()
    {
        QTest::addColumn<int>("seccion");  // 0 companies, 1 ranges, 2 users
        QTest::newRow("empresa") << 0;
        QTest::newRow("rango") << 1;
        QTest::newRow("usuario") << 2;
    }
    void adicionarConTab()
    {
        QFETCH(int, seccion);
        TESTSTORE_OPEN_FRESH(t);
        adm::rango(t, "FACTURA", 4);
        fEmpresasUsuarios w;
        cargar(w);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        adm::elegir(w.lstEmpresas, "EMPRESA PRINCIPAL");
        QPushButton* const adicionar[3] = {w.bAdicionarEmpresa, w.bAdicionarNcf, w.bAdicionarUsuario};
        QPushButton* const actualizar[3] = {w.bActualizarEmpresa, w.bActualizarNcf, w.bActualizarUsuario};
        QTest::mouseClick(adicionar[seccion], Qt::LeftButton);
        if (seccion == 0) {
            escribir(w.txtEmpresas[0], "5");
            escribir(w.txtEmpresas[1], "SUR");
        } else if (seccion == 1) {
            escribir(w.ncf[0], "CONSUMIDOR");
            escribir(w.ncf[1], "B02");
        } else {
            escribir(w.txtUsuarios[1], "9");
            escribir(w.txtUsuarios[2], "ANA");
            escribir(w.txtUsuarios[3], "x");
            escribir(w.tPassword, "x");
            elegirCombo(w.cbUsuarios, "Asistente");
        }
        QSet<QWidget*> pasados;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            pasados << QApplication::focusWidget();
        }
        for (QWidget* b : {static_cast<QWidget*>(w.bEliminarEmpresa), static_cast<QWidget*>(w.bEliminarNcf),
                           static_cast<QWidget*>(w.bEliminarUsuario), static_cast<QWidget*>(w.ncfList),
                           static_cast<QWidget*>(w.lstUsuarios)})
            QVERIFY2(pasados.contains(b), qPrintable(b->objectName()));
        msgtest::clear();
        QTest::mouseClick(actualizar[seccion], Qt::LeftButton);
        QCOMPARE(adm::mensajes().size(), seccion == 1 ? 0 : 1);  // the notice only
        if (seccion == 0)
            QCOMPARE(teststore::queryRaw(t, "SELECT nombre_emp, costeo_inventario, consecutivo_venta FROM empresas WHERE codigo_emp = 5"),
                     (QList<QVariantList>{{"SUR", "PromedioPonderado", 0}}));
        else if (seccion == 1)
            QCOMPARE(teststore::queryRaw(t, "SELECT prefijo, id_sucursal FROM ncfs WHERE descripcion = 'CONSUMIDOR'"),
                     (QList<QVariantList>{{"B02", "1"}}));
        else
            QCOMPARE(teststore::queryRaw(t, "SELECT codigo_emp, nombre_usu, password_usu FROM usuarios WHERE codigo_usu = '9'"),
                     (QList<QVariantList>{{1, "ANA", "x"}}));
        QVERIFY(adicionar[seccion]->isEnabled() && !actualizar[seccion]->isEnabled());
    }

    // Editing with the key box typed over to another stored record refuses
    // the save; neither record changes.
    void claveDeOtroRegistro_data()
    {
        QTest::addColumn<bool>("usuarios");
        QTest::newRow("usuario") << true;
        QTest::newRow("empresa") << false;
    }
    void claveDeOtroRegistro()
    {
        QFETCH(bool, usuarios);
        TESTSTORE_OPEN_FRESH(t);
        adm::empresa(t, 2, "NORTE");
        adm::empresa(t, 3, "SUR");
        adm::usuario(t, 2, "5", "ANA", "clave-ana");
        adm::usuario(t, 2, "6", "LUIS", "clave-luis");
        adm::sesion();
        adm::responder();
        const auto antes = teststore::queryRaw(t, "SELECT * FROM usuarios ORDER BY codigo_usu");
        const auto empresasAntes = teststore::queryRaw(t, "SELECT * FROM empresas ORDER BY codigo_emp");
        fEmpresasUsuarios w;
        w.Form_Load();
        adm::elegir(w.lstEmpresas, "NORTE");
        if (usuarios) {
            adm::elegir(w.lstUsuarios, "ANA");
            w.bEditarUsuario->click();
            escribir(w.txtUsuarios[1], "6");
            escribir(w.txtUsuarios[2], "ANITA");
        } else {
            w.bEditarEmpresa->click();
            escribir(w.txtEmpresas[0], "3");
            escribir(w.txtEmpresas[1], "NORTE NUEVO");
            escribir(w.txtEmpresas[3], "OTRA CALLE");
        }
        msgtest::clear();
        (usuarios ? w.bActualizarUsuario : w.bActualizarEmpresa)->click();
        const QString aviso = usuarios ? "Al usuario se le ha asignado el nivel Asistente"
                                       : "El método para el costeo del inventario en esta empresa será PromedioPonderado";
        QCOMPARE(usuarios ? gModoUsuario : gModoEmpresa, 1);
        QCOMPARE(adm::mensajes(), (QStringList{aviso, kDuplicado, kUpdateFallido, kNoActualizado}));
        QCOMPARE(teststore::queryRaw(t, "SELECT * FROM usuarios ORDER BY codigo_usu"), antes);
        QCOMPARE(teststore::queryRaw(t, "SELECT * FROM empresas ORDER BY codigo_emp"), empresasAntes);
    }

    // Another connection applies a sale while the window shows the company
    // and its range: a save that leaves the counters alone keeps the moved
    // values; a counter typed over is refused.
    void contadoresDeOtraEstacion_data()
    {
        QTest::addColumn<bool>("rango");
        QTest::addColumn<bool>("tecleado");
        QTest::newRow("empresa, pie cambiado") << false << false;
        QTest::newRow("empresa, consecutivo tecleado") << false << true;
        QTest::newRow("rango, prefijo cambiado") << true << false;
        QTest::newRow("rango, consecutivo tecleado") << true << true;
    }
    void contadoresDeOtraEstacion()
    {
        QFETCH(bool, rango);
        QFETCH(bool, tecleado);
        TESTSTORE_OPEN_FRESH(t);
        adm::empresa(t, 2, "NORTE");
        adm::rango(t, "FACTURA", 37, "2");
        fEmpresasUsuarios w;
        cargar(w);
        adm::elegir(w.lstEmpresas, "NORTE");
        adm::elegir(w.ncfList, "FACTURA");
        QCOMPARE(w.txtEmpresas[13]->text(), QString("9"));
        QCOMPARE(w.ncf[4]->text(), QString("37"));
        teststore::execRaw(t, "UPDATE empresas SET consecutivo_venta = 10 WHERE codigo_emp = 2");
        teststore::execRaw(t, "UPDATE ncfs SET consecutivo = 38");
        msgtest::clear();
        (rango ? w.bEditarNcf : w.bEditarEmpresa)->click();
        escribir(rango ? w.ncf[1] : w.txtEmpresas[5], rango ? "B02" : "GRACIAS");
        QLineEdit* contador = rango ? w.ncf[4] : w.txtEmpresas[13];
        if (tecleado)
            escribir(contador, "50");
        (rango ? w.bActualizarNcf : w.bActualizarEmpresa)->click();
        const QString aviso = QString("%1 cambió en otra estación desde que se cargó el registro (ahora es %2). Cárguelo de "
                                      "nuevo e inténtelo otra vez")
                                  .arg(rango ? "El consecutivo actual del NCF" : "El consecutivo actual en factura de venta",
                                       rango ? "38" : "10");
        const auto fila = teststore::queryRaw(t, "SELECT e.PieFactura1, e.consecutivo_venta, n.prefijo, n.consecutivo "
                                                 "FROM empresas e, ncfs n WHERE e.codigo_emp = 2");
        if (tecleado) {
            const QStringList esperados = rango ? QStringList{aviso}
                                                : QStringList{"El método para el costeo del inventario en esta empresa será "
                                                              "PromedioPonderado",
                                                              aviso};
            QCOMPARE(adm::mensajes(), esperados);
            QCOMPARE(fila, (QList<QVariantList>{{"P1", 10, "A01", 38}}));
            QCOMPARE(rango ? gModoNcf : gModoEmpresa, 1);
            return;
        }
        QCOMPARE(fila, (QList<QVariantList>{{rango ? "P1" : "GRACIAS", 10, rango ? "B02" : "A01", 38}}));
        // The boxes show the row as stored.
        QCOMPARE(contador->text(), QString(rango ? "38" : "10"));
        QCOMPARE(rango ? gModoNcf : gModoEmpresa, 3);
    }

    // After adding a range the section holds it: delete removes the new
    // range, not the one loaded before.
    void eliminarTrasAdicionar()
    {
        TESTSTORE_OPEN_FRESH(t);
        adm::rango(t, "FACTURA", 4);
        fEmpresasUsuarios w;
        cargar(w);
        adm::elegir(w.lstEmpresas, "EMPRESA PRINCIPAL");
        adm::elegir(w.ncfList, "FACTURA");
        w.bAdicionarNcf->click();
        w.ncf[0]->setText("NUEVO");
        w.ncf[1]->setText("B15");
        w.bActualizarNcf->click();
        QCOMPARE(adm::contar(t, "ncfs"), 2);
        // An edit acts on it too.
        w.bEditarNcf->click();
        w.ncf[4]->setText("5");
        w.bActualizarNcf->click();
        QCOMPARE(teststore::queryRaw(t, "SELECT descripcion, consecutivo FROM ncfs ORDER BY ID"),
                 (QList<QVariantList>{{"FACTURA", 4}, {"NUEVO", 5}}));
        msgtest::clear();
        w.bEliminarNcf->click();
        QCOMPARE(adm::mensajes(), QStringList{"Está seguro de continuar?"});
        QCOMPARE(teststore::queryRaw(t, "SELECT descripcion FROM ncfs"), (QList<QVariantList>{{"FACTURA"}}));
    }
};

QTEST_MAIN(TstAdministracion)
#include "tst_administracion.moc"
