// TARVIK_STORE_TEST: from the intro window to the main window, on both
// engines (the server store through the sign-in window's server button).
#include "AppPath.h"
#include "Puertos.h"
#include "SerialPort.h"
#include "TestStore.h"
#include "fEmpresasUsuarios.h"
#include "fOpciones.h"
#include "fSplash.h"
#include "frmContenedor.h"
#include "frmIntro.h"
#include "mAdministracion.h"
#include "mDisplay.h"
#include "mVblesGlobales.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "vbrt.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// A pseudo-terminal standing in for the pole display.
struct PoleDisplay {
    int master = -1;
    QString slave;
    PoleDisplay()
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(ptsname(master));
    }
    ~PoleDisplay()
    {
        if (master >= 0)
            ::close(master);
    }
    QByteArray read(int expected)
    {
        QByteArray got;
        while (got.size() < expected) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0)
                break;
            char buf[256];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, int(n));
        }
        return got;
    }
};

// Sees whether another window is on screen when one of ours goes away.
class CloseWatch : public QObject {
public:
    std::function<bool()> otherShown;
    int closes = 0;
    int alone = 0;
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Hide) {
            ++closes;
            if (!otherShown())
                ++alone;
        }
        return false;
    }
};

const QByteArray kBienvenida = QByteArray("\x0c") + "Facturaci\xf3n Central" + QByteArray(12, ' ') + "Bienvenido";

}  // namespace

class TstSignIn : public QObject {
    Q_OBJECT
    teststore::Target t_;
    QTemporaryDir sinArchivo_;
    int ends_ = 0;
    QStringList log_;

    // The sign-in window on the test's store, as the program would get it.
    fSplash* abrirSplash()
    {
        fSplash& s = Ventana<fSplash>();
        if (teststore::mariadb()) {
            s.bConectarMySql->click();
            if (s.bConectarMySql->text() != QLatin1String("MySql Iniciado"))
                return nullptr;
        }
        msgtest::clear();
        log_.clear();
        return &s;
    }
    static QListWidgetItem* entrada(QListWidget* l, const QString& texto)
    {
        const auto found = l->findItems(texto, Qt::MatchExactly);
        return found.isEmpty() ? nullptr : found.first();
    }
    static void elegir(QListWidget* l, const QString& texto)
    {
        QListWidgetItem* it = entrada(l, texto);
        QVERIFY2(it, qPrintable("no entry " + texto));
        l->setCurrentItem(it);
    }
    // The administrator of the main company signs in with the ports typed.
    static void entrar(fSplash* s)
    {
        elegir(s->lstEmpresas, "EMPRESA PRINCIPAL");
        elegir(s->lstUsuarios, "ADMINISTRADOR");
        s->tPassword->setText("1234");
        QTest::mouseClick(s->bContinuar, Qt::LeftButton);
    }

private slots:
    void initTestCase() { QVERIFY(sinArchivo_.isValid()); }

    void init()
    {
        ends_ = 0;
        log_.clear();
        msgtest::install([this](const msgtest::Call& c) {
            log_ << c.text;
            return MsgResult::Yes;
        });
        SetEndProgramHook([this](int) { ++ends_; });
        // Port 1 leads to a device that takes nothing, wherever the tests run.
        serialport::SetPortOverrideForTest("COM1", "/dev/null");
        ReiniciarVariablesGlobales();
        t_ = teststore::fresh();
        if (QTest::currentTestFailed())
            return;
        if (teststore::mariadb()) {
            SetAppPath(sinArchivo_.path());
            fSplash::SetTextoConexionServidorParaPruebas(t_.connectionString);
        } else {
            SetAppPath(QFileInfo(t_.sqlitePath).absolutePath());
        }
        using teststore::execRaw;
        execRaw(t_, "INSERT INTO empresas (codigo_emp, nombre_emp, identificacion_emp, direccion_emp, regimen_emp, "
                    "PieFactura1, PieFactura2, PieFactura3, PieFactura4, PieFactura5, PieFactura6, costeo_inventario, "
                    "consecutivo_compra, consecutivo_venta, prefijo_ncf, desde_ncf, hasta_ncf, consecutivo_ncf) VALUES "
                    "(2, 'SUCURSAL NORTE', '101-2', 'CALLE 2', 'NORMAL', 'p1', 'p2', 'p3', 'p4', 'p5', 'p6', "
                    "'UltimoPrecio', 0, 0, '', 0, 0, 0)");
        execRaw(t_, "INSERT INTO empresas (codigo_emp, nombre_emp, costeo_inventario, consecutivo_compra, consecutivo_venta) "
                    "VALUES (3, 'SIN COSTEO', 'promedioSimple', 0, 0)");
        execRaw(t_, "INSERT INTO empresas (codigo_emp, nombre_emp, costeo_inventario, consecutivo_compra, consecutivo_venta) "
                    "VALUES (4, 'O''HARA', 'PromedioSimple', 0, 0)");
        execRaw(t_, "INSERT INTO usuarios VALUES (2, '20', 'JEFE', 'j', 'Administrador')");
        execRaw(t_, "INSERT INTO usuarios VALUES (2, '21', 'CAJERO', 'Abc', 'Asistente')");
        execRaw(t_, "INSERT INTO usuarios VALUES (3, '30', 'VACIO', '', 'Asistente')");
        execRaw(t_, "INSERT INTO usuarios VALUES (3, '31', 'NULO', NULL, 'Asistente')");
        execRaw(t_, "INSERT INTO usuarios VALUES (3, '32', 'BLANCO', 'clave ', 'Asistente')");
        execRaw(t_, "INSERT INTO usuarios VALUES (4, '40', 'D''ARCY', 'x', 'Supervisor')");
    }
    void cleanup()
    {
        delete VentanaAbierta<frmIntro>();
        delete VentanaAbierta<fSplash>();
        delete VentanaAbierta<frmContenedor>();
        RegistrarAbridor("params", {});
        serialport::SetPortOverrideForTest("COM1", QString());
        serialport::SetPortOverrideForTest("COM7", QString());
        fSplash::SetTextoConexionServidorParaPruebas(QString());
        SetAppPath(QString());
        msgtest::uninstall();
        SetEndProgramHook(nullptr);
    }

    void introLeadsToSignInOnce_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("click") << "click";
        QTest::newRow("Enter") << "enter";
        QTest::newRow("timer") << "timer";
    }
    void introLeadsToSignInOnce()
    {
        QFETCH(QString, way);
        // Without the store file each sign-in window that opens says so once.
        SetAppPath(sinArchivo_.path());
        frmIntro* intro = &Ventana<frmIntro>();
        QCOMPARE(intro->Timer1->interval(), 3000);
        QVERIFY(intro->Timer1->isActive());
        // The interval as built is checked above; the test waits on a
        // shorter one, long enough for a click or a key to come first.
        const int espera = way == "timer" ? 100 : 1000;
        intro->Timer1->start(espera);
        intro->show();
        QVERIFY(QTest::qWaitForWindowExposed(intro));
        CloseWatch watch;
        watch.otherShown = [] { return VentanaAbierta<fSplash>() && VentanaAbierta<fSplash>()->isVisible(); };
        intro->installEventFilter(&watch);
        QPointer<frmIntro> guard(intro);

        QTest::keyClick(intro, Qt::Key_A);  // other keys do nothing
        QVERIFY(!VentanaAbierta<fSplash>());
        if (way == "click")
            QTest::mouseClick(intro, Qt::LeftButton);
        else if (way == "enter")
            QTest::keyClick(intro, Qt::Key_Return);
        else
            QTRY_VERIFY_WITH_TIMEOUT(VentanaAbierta<fSplash>(), 1500);
        fSplash* s = VentanaAbierta<fSplash>();
        QVERIFY(s);
        QVERIFY(s->isVisible());
        QTRY_VERIFY(!guard);
        QVERIFY(!VentanaAbierta<frmIntro>());
        QCOMPARE(watch.alone, 0);  // the sign-in window was up before the intro went
        // Past the timer's interval nothing more happens.
        QTest::qWait(espera + 300);
        QCOMPARE(VentanaAbierta<fSplash>(), s);
        QCOMPARE(msgtest::calls().size(), 1);
        QVERIFY(msgtest::texts()[0].startsWith("Error inesperado N° "));
    }

    // The intro shows the program's name and its tag line, no web address.
    void introShowsNameAndTagLine()
    {
        SetAppPath(sinArchivo_.path());
        frmIntro& intro = Ventana<frmIntro>();
        intro.Timer1->stop();
        QCOMPARE(intro.Label1->text(), QString("Tarvik 1.0 Beta"));
        QCOMPARE(intro.Label2->text(), QString::fromUtf8("Software para la Administración de Negocios"));
        CerrarVentana(&intro);
    }

    void localStoreOpensWhenCreated()
    {
        if (teststore::mariadb())
            QSKIP("the local file is SQLite");
        fSplash& s = Ventana<fSplash>();
        QVERIFY(msgtest::calls().isEmpty());
        QCOMPARE(s.bConectarAccess->text(), QString("Access Iniciado"));
        QVERIFY(!s.bConectarAccess->isEnabled());
        QVERIFY(!s.bConectarMySql->isEnabled());
        QCOMPARE(s.lstEmpresas->count(), 4);
        QVERIFY(entrada(s.lstEmpresas, "EMPRESA PRINCIPAL"));
        QCOMPARE(s.lstUsuarios->count(), 0);
        QCOMPARE(s.txtCOM->text(), QString("1"));
        QCOMPARE(s.txtLPT->text(), QString("LPT1"));
        QCOMPARE(s.tPassword->echoMode(), QLineEdit::Password);
    }

    void missingLocalFileThenServer()
    {
        SetAppPath(sinArchivo_.path());
        if (!teststore::mariadb())
            fSplash::SetTextoConexionServidorParaPruebas(
                "DRIVER={MySQL ODBC 3.51 Driver};SERVER=127.0.0.1;PORT=1;DATABASE=Inventario;UID=root;PWD=;OPTION=18475");
        fSplash& s = Ventana<fSplash>();
        QCOMPARE(msgtest::calls().size(), 1);
        QVERIFY(msgtest::texts()[0].startsWith("Error inesperado N° "));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Critical);
        QCOMPARE(s.lstEmpresas->count(), 0);
        QVERIFY(s.bConectarAccess->isEnabled());
        QVERIFY(s.bConectarMySql->isEnabled());
        QCOMPARE(ends_, 0);

        // The connection section offers the server button.
        QVERIFY(!s.bConectarMySql->isVisibleTo(&s));
        const int folded = s.height();
        s.bConexion->click();
        QVERIFY(s.bConectarMySql->isVisibleTo(&s));
        QVERIFY(s.txtCOM->isVisibleTo(&s));
        QVERIFY(s.height() > folded);

        msgtest::clear();
        QTest::mouseClick(s.bConectarMySql, Qt::LeftButton);
        if (teststore::mariadb()) {
            QVERIFY(msgtest::calls().isEmpty());
            QCOMPARE(s.bConectarMySql->text(), QString("MySql Iniciado"));
            QVERIFY(!s.bConectarMySql->isEnabled());
            QVERIFY(!s.bConectarAccess->isEnabled());
            QCOMPARE(s.lstEmpresas->count(), 4);
        } else {
            // Nothing listens on that port: one Spanish message, not the engine's words.
            const QStringList shown = msgtest::texts();
            QCOMPARE(shown.size(), 1);
            static const QRegularExpression kNoConecta(
                "^Error No: 200\\d\\. No se pudo conectar con el servidor de la base de datos\\. Verifique que el servidor "
                "esté en marcha y que esta estación llegue a él por la red, e inténtelo de nuevo$");
            QVERIFY2(kNoConecta.match(shown[0]).hasMatch(), qPrintable(shown[0]));
            QCOMPARE(s.lstEmpresas->count(), 0);
            QVERIFY(s.bConectarMySql->isEnabled());
        }
    }

    void signIn_data()
    {
        QTest::addColumn<QString>("empresa");
        QTest::addColumn<QString>("usuario");
        QTest::addColumn<QString>("clave");
        QTest::addColumn<QString>("message");  // "" when the main window opens
        QTest::newRow("seed user") << "EMPRESA PRINCIPAL" << "ADMINISTRADOR" << "1234" << "";
        QTest::newRow("other case") << "SUCURSAL NORTE" << "CAJERO" << "abc" << "Password Incorrecto";
        QTest::newRow("trailing blank typed") << "EMPRESA PRINCIPAL" << "ADMINISTRADOR" << "1234 " << "Password Incorrecto";
        QTest::newRow("trailing blank stored") << "SIN COSTEO" << "BLANCO" << "clave" << "Password Incorrecto";
        QTest::newRow("trailing blank both") << "SIN COSTEO" << "BLANCO" << "clave " << "";
        QTest::newRow("empty stored, empty typed") << "SIN COSTEO" << "VACIO" << "" << "";
        QTest::newRow("empty stored, typed") << "SIN COSTEO" << "VACIO" << "x" << "Password Incorrecto";
        QTest::newRow("Null stored, empty typed") << "SIN COSTEO" << "NULO" << "" << "Password Incorrecto";
        QTest::newRow("apostrophe in names") << "O'HARA" << "D'ARCY" << "x" << "";
        QTest::newRow("no user chosen") << "EMPRESA PRINCIPAL" << "" << "1234" << "Seleccione el usuario";
    }
    void signIn()
    {
        QFETCH(QString, empresa);
        QFETCH(QString, usuario);
        QFETCH(QString, clave);
        QFETCH(QString, message);
        fSplash* s = abrirSplash();
        QVERIFY(s);
        QPointer<fSplash> guard(s);
        elegir(s->lstEmpresas, empresa);
        if (!usuario.isEmpty())
            elegir(s->lstUsuarios, usuario);
        msgtest::clear();
        s->tPassword->setText(clave);
        QTest::mouseClick(s->bContinuar, Qt::LeftButton);
        QCOMPARE(gPuertoCOM, QString("1"));
        QCOMPARE(gPuertoLPT, QString("LPT1"));
        if (message.isEmpty()) {
            QVERIFY2(msgtest::calls().isEmpty(), qPrintable(msgtest::texts().join(" | ")));
            frmContenedor* m = VentanaAbierta<frmContenedor>();
            QVERIFY(m);
            QVERIFY(m->isVisible());
            QVERIFY(m->isMaximized());
            QVERIFY(!VentanaAbierta<fSplash>());
            QTRY_VERIFY(!guard);
            QCOMPARE(gNombreEmp, empresa);
            QCOMPARE(gNombreUsu, usuario);
            QVERIFY(gSesionIniciada);
        } else {
            QVERIFY(!gSesionIniciada);
            QCOMPARE(msgtest::texts(), QStringList{message});
            QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
            QVERIFY(!VentanaAbierta<frmContenedor>());
            QCOMPARE(VentanaAbierta<fSplash>(), s);
            // Any number of tries.
            QTest::mouseClick(s->bContinuar, Qt::LeftButton);
            QCOMPARE(msgtest::calls().size(), 2);
        }
    }

    void companyAndUserValuesAreCopied()
    {
        fSplash* s = abrirSplash();
        QVERIFY(s);
        elegir(s->lstEmpresas, "SUCURSAL NORTE");
        QCOMPARE(gCodigoEmp, QString("2"));
        QCOMPARE(gNombreEmp, QString("SUCURSAL NORTE"));
        QCOMPARE(gIdentificacionEmp, QString("101-2"));
        QCOMPARE(gDireccionEmp, QString("CALLE 2"));
        QCOMPARE(gRegimenEmp, QString("NORMAL"));
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(gPieFactura[i], QString("p%1").arg(i));
        QCOMPARE(gCosteoInventario, 2);
        QStringList users;
        for (int i = 0; i < s->lstUsuarios->count(); ++i)
            users << s->lstUsuarios->item(i)->text();
        users.sort();
        QCOMPARE(users, QStringList({"CAJERO", "JEFE"}));
        elegir(s->lstUsuarios, "CAJERO");
        QCOMPARE(gCodigoUsu, QString("21"));
        QCOMPARE(gNombreUsu, QString("CAJERO"));
        QCOMPARE(gPasswordUsu, QString("Abc"));
        QCOMPARE(gNivelUsu, 1);
        elegir(s->lstUsuarios, "JEFE");
        QCOMPARE(gNivelUsu, 0);
        // A level that is neither word never makes an administrator.
        elegir(s->lstEmpresas, "O'HARA");
        elegir(s->lstUsuarios, "D'ARCY");
        QCOMPARE(gNivelUsu, 1);
        QVERIFY(msgtest::calls().isEmpty());
    }

    void userMovedToByKeyboard()
    {
        fSplash* s = abrirSplash();
        QVERIFY(s);
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        elegir(s->lstEmpresas, "SUCURSAL NORTE");
        QListWidget* l = s->lstUsuarios;
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(entrada(l, "JEFE")).center());
        QCOMPARE(gCodigoUsu, QString("20"));
        QCOMPARE(gNivelUsu, 0);
        l->setFocus();
        QTest::keyClick(l, l->row(entrada(l, "CAJERO")) > l->row(entrada(l, "JEFE")) ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(l->currentItem()->text(), QString("CAJERO"));
        QCOMPARE(gCodigoUsu, QString("21"));
        QCOMPARE(gNivelUsu, 1);
        s->tPassword->setText("Abc");
        QTest::mouseClick(s->bContinuar, Qt::LeftButton);
        QVERIFY(VentanaAbierta<frmContenedor>());
        QCOMPARE(gNombreUsu, QString("CAJERO"));
        QCOMPARE(gNivelUsu, 1);
        // Focus landing on a list selects nothing and so looks nothing up.
        QVERIFY2(msgtest::calls().isEmpty(), qPrintable(msgtest::texts().join(" | ")));
    }

    void focusChoosesNothingThatLooksChosen()
    {
        fSplash* s = abrirSplash();
        QVERIFY(s);
        s->show();
        s->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s));
        for (QListWidget* l : {s->lstEmpresas, s->lstUsuarios}) {
            if (l == s->lstUsuarios) {
                elegir(s->lstEmpresas, "EMPRESA PRINCIPAL");
                QCOMPARE(l->count(), 1);
            }
            l->setFocus(Qt::TabFocusReason);
            QVERIFY(l->hasFocus());
            // The row a list draws as its own is the chosen one, or none.
            QVERIFY2(!l->currentItem() || l->currentItem()->isSelected(), qPrintable(l->objectName()));
        }
        s->tPassword->setText("1234");
        QTest::mouseClick(s->bContinuar, Qt::LeftButton);
        QCOMPARE(msgtest::texts(), QStringList{"Seleccione el usuario"});
        QTest::keyClick(s->lstUsuarios, Qt::Key_Down);
        QVERIFY(s->lstUsuarios->currentItem() && s->lstUsuarios->currentItem()->isSelected());
        QCOMPARE(gNombreUsu, QString("ADMINISTRADOR"));
        QTest::mouseClick(s->bContinuar, Qt::LeftButton);
        QVERIFY(VentanaAbierta<frmContenedor>());
    }

    void otherCompanyAfterAUser()
    {
        fSplash* s = abrirSplash();
        QVERIFY(s);
        elegir(s->lstEmpresas, "EMPRESA PRINCIPAL");
        elegir(s->lstUsuarios, "ADMINISTRADOR");
        QCOMPARE(gCodigoUsu, QString("1"));
        elegir(s->lstEmpresas, "SUCURSAL NORTE");
        QCOMPARE(gCodigoEmp, QString("2"));
        QCOMPARE(s->lstUsuarios->count(), 2);
        QVERIFY(!entrada(s->lstUsuarios, "ADMINISTRADOR"));
        QCOMPARE(gCodigoUsu, QString("1"));  // until a user is chosen again
        s->tPassword->setText("1234");
        QTest::mouseClick(s->bContinuar, Qt::LeftButton);
        QCOMPARE(msgtest::texts(), QStringList{"Seleccione el usuario"});
        QVERIFY(!VentanaAbierta<frmContenedor>());
    }

    void companyWithoutCostingMethod()
    {
        fSplash* s = abrirSplash();
        QVERIFY(s);
        RegistrarAbridor("params", [this, s] {
            log_ << QString("fOpciones, %1 users listed").arg(s->lstUsuarios->count());
        });
        elegir(s->lstEmpresas, "SUCURSAL NORTE");
        QCOMPARE(gCosteoInventario, 2);
        elegir(s->lstEmpresas, "SIN COSTEO");  // "promedioSimple": the words are compared exactly
        // The warning, then the options window, while the list still shows
        // the earlier company's users; the new ones come after it closes.
        QCOMPARE(log_, QStringList({"Seleccione un método para el costeo del inventario antes de realizar cualquier operación",
                                    "fOpciones, 2 users listed"}));
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
        QCOMPARE(gCosteoInventario, 2);  // kept from before
        QCOMPARE(gCodigoEmp, QString("3"));
        QCOMPARE(s->lstUsuarios->count(), 3);
        elegir(s->lstUsuarios, "VACIO");
        QTest::mouseClick(s->bContinuar, Qt::LeftButton);
        QVERIFY(VentanaAbierta<frmContenedor>());  // sign-in can go on
    }

    // Nobody has signed in yet: the options window that a company without a
    // costing method opens lets in only an administrator of that company,
    // whatever user the list shows chosen.
    void optionsGateBeforeSignIn_data()
    {
        QTest::addColumn<QString>("antes");  // a user of SUCURSAL NORTE chosen first, or none
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<QString>("mensaje");  // after the costing warning; "" when the door opens
        const QString incorrecta = "Clave incorrecta";
        QTest::newRow("vacía") << "" << "" << incorrecta;
        QTest::newRow("equivocada") << "" << "otra" << incorrecta;
        QTest::newRow("otra mayúscula") << "" << "adm3" << incorrecta;
        QTest::newRow("de otra empresa") << "" << "j" << incorrecta;
        QTest::newRow("administradora") << "" << "Adm3" << "";
        QTest::newRow("jefe de otra empresa elegido") << "JEFE" << "j" << incorrecta;
        QTest::newRow("cajero elegido") << "CAJERO" << "Abc" << "No tiene los privilegios para ejecurtar la acción";
    }
    void optionsGateBeforeSignIn()
    {
        QFETCH(QString, antes);
        QFETCH(QString, respuesta);
        QFETCH(QString, mensaje);
        teststore::execRaw(t_, "INSERT INTO usuarios VALUES (3, '33', 'JEFA', 'Adm3', 'Administrador')");
        fSplash* s = abrirSplash();
        QVERIFY(s);
        msgtest::install(
            [this](const msgtest::Call& c) {
                log_ << c.text;
                return MsgResult::Yes;
            },
            [respuesta](const msgtest::Call&) { return respuesta; });
        RegistrarMenusAdministracion();
        bool abierta = false;
        fEmpresasUsuarios::alMostrar = [&](fEmpresasUsuarios& w) {
            abierta = true;
            w.bCerrar->click();
        };
        fOpciones::alMostrar = [](fOpciones& o) {
            o.bAbrirEmpresasUsuarios->click();
            o.close();
        };
        if (!antes.isEmpty()) {
            elegir(s->lstEmpresas, "SUCURSAL NORTE");
            elegir(s->lstUsuarios, antes);
        }
        log_.clear();
        elegir(s->lstEmpresas, "SIN COSTEO");
        fEmpresasUsuarios::alMostrar = {};
        fOpciones::alMostrar = {};
        QStringList esperados{"Seleccione un método para el costeo del inventario antes de realizar cualquier operación"};
        if (!mensaje.isEmpty())
            esperados << mensaje;
        QCOMPARE(log_, esperados);
        QCOMPARE(abierta, mensaje.isEmpty());
        QVERIFY(!gSesionIniciada);
    }

    void enterInPasswordSignsInOnce()
    {
        fSplash* s = abrirSplash();
        QVERIFY(s);
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        elegir(s->lstEmpresas, "EMPRESA PRINCIPAL");
        elegir(s->lstUsuarios, "ADMINISTRADOR");
        s->tPassword->setFocus();
        QTest::keyClicks(s->tPassword, "12");
        QTest::keyClick(s->tPassword, Qt::Key_Return);
        QCOMPARE(msgtest::texts(), QStringList{"Password Incorrecto"});
        QTest::keyClicks(s->tPassword, "34");
        QCOMPARE(s->tPassword->text(), QString("1234"));
        msgtest::clear();
        CloseWatch watch;
        watch.otherShown = [] { return VentanaAbierta<frmContenedor>() && VentanaAbierta<frmContenedor>()->isVisible(); };
        s->installEventFilter(&watch);
        QTest::keyClick(s->tPassword, Qt::Key_Enter);
        QVERIFY(msgtest::calls().isEmpty());
        QVERIFY(VentanaAbierta<frmContenedor>());
        QCOMPARE(watch.alone, 0);  // the main window was up before the sign-in window went
    }

    void escapePressesSalir()
    {
        fSplash* s = abrirSplash();
        QVERIFY(s);
        s->show();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        QPointer<fSplash> guard(s);
        QTest::keyClick(s->lstEmpresas, Qt::Key_Escape);
        QVERIFY(!VentanaAbierta<fSplash>());
        QTRY_VERIFY(!guard);
        QVERIFY(!VentanaAbierta<frmContenedor>());
    }

    void welcomeOnThePoleDisplay_data()
    {
        QTest::addColumn<bool>("typedPath");
        QTest::newRow("port 1") << false;
        QTest::newRow("device path typed") << true;
    }
    void welcomeOnThePoleDisplay()
    {
        QFETCH(bool, typedPath);
        PoleDisplay d;
        QVERIFY(!d.slave.isEmpty());
        fSplash* s = abrirSplash();
        QVERIFY(s);
        if (typedPath)
            s->txtCOM->setText(d.slave);
        else
            serialport::SetPortOverrideForTest("COM1", d.slave);
        entrar(s);
        QVERIFY(VentanaAbierta<frmContenedor>());
        const QByteArray got = d.read(kBienvenida.size());
        QCOMPARE(got, kBienvenida);
        QCOMPARE(got.size(), 42);  // the clear code and 41 characters
    }

    // A display port that names no device still signs in, and the clerk is
    // told right then, once; what the port names is left as it was. No port
    // at all says nothing.
    void missingPortStillSignsIn_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("razon");
        QTest::newRow("no such port") << "" << "7" << "no existe";
        QTest::newRow("not a number") << "" << "COM" << "no es un puerto ni un dispositivo de caracteres";
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("no such device") << "" << "/dev/no-such-display" << "no existe";
        QTest::newRow("the store's file") << "almacén" << "" << "es un archivo común, no un dispositivo";
        QTest::newRow("a file") << "archivo" << "" << "es un archivo común, no un dispositivo";
        QTest::newRow("a folder") << "carpeta" << "" << "es una carpeta, no un dispositivo";
    }
    void missingPortStillSignsIn()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, port);
        QFETCH(QString, razon);
        QTemporaryDir dir;
        if (!tipo.isEmpty())
            port = puertos::puertoNoDispositivo(tipo, dir, t_);
        serialport::SetPortOverrideForTest("COM7", dir.filePath("ttyS6"));
        if (QTest::currentTestFailed())
            return;
        const QByteArray antes = puertos::huella(port);
        fSplash* s = abrirSplash();
        QVERIFY(s);
        s->txtCOM->setText(port);
        s->txtLPT->setText("LPT2");
        entrar(s);
        QVERIFY(VentanaAbierta<frmContenedor>());
        QCOMPARE(gPuertoCOM, port);
        QCOMPARE(gPuertoLPT, QString("LPT2"));
        // The first sale's lines do not tell it again.
        EnviarADisplay("$ 1,180.00 CEMENTO");
        EnviarADisplay("TOTAL $ 1,180.00");
        if (!tipo.isEmpty())
            QCOMPARE(puertos::huella(port), antes);
        QVERIFY(!QFileInfo::exists(dir.filePath("ttyS6")));
        if (razon.isEmpty()) {
            QVERIFY2(msgtest::calls().isEmpty(), qPrintable(msgtest::texts().join(" | ")));
            return;
        }
        QCOMPARE(msgtest::texts(),
                 QStringList{"El visor de cliente no se puede usar: el puerto «" + port + "» " + razon
                             + ". Las ventas y las compras siguen sin visor; para usarlo, escriba el puerto correcto en "
                               "«Conexión» al iniciar la sesión, o déjelo en blanco si no hay visor."});
        QCOMPARE(msgtest::calls()[0].style, MsgStyle::Exclamation);
    }

    // Signing in again with the same port tells it again: the clerk typed
    // it anew, wrongly once more.
    void portToldAgainAtTheNextSignIn()
    {
        for (int vez = 1; vez <= 2; ++vez) {
            // The program signs in once a run: the store is closed so that a
            // second window can open it.
            if (vez == 2)
                Conexion().Close();
            fSplash* s = abrirSplash();
            QVERIFY(s);
            s->txtCOM->setText("/dev/no-such-display");
            entrar(s);
            QVERIFY(VentanaAbierta<frmContenedor>());
            QCOMPARE(log_.size(), 1);
            QVERIFY(log_[0].contains("«/dev/no-such-display» no existe"));
            QTRY_VERIFY(!VentanaAbierta<fSplash>());
        }
    }
};

QTEST_MAIN(TstSignIn)
#include "tst_signin.moc"
