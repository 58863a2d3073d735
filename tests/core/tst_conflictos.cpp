// TARVIK_STORE_TEST: runs on SQLite and on MariaDB.
// Two workstations edit one record: the one that saves second with a row
// that changed since it loaded it stores nothing and is told so once; its
// boxes keep what was typed. The other workstation is another connection
// or another copy of the program working its own window.
#include "../catalogs/Escritorio.h"
#include "Administracion.h"
#include "Procesos.h"
#include "Prueba.h"
#include "fArticulos.h"
#include "fClientes.h"
#include "fEmpresasUsuarios.h"
#include "fProveedores.h"
#include "mFuncionesCajas.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <cstdio>

using teststore::Target;

namespace {

const QString kConflicto = "Error No: 3197. Otra estación de trabajo cambió o eliminó este registro después de que usted lo "
                           "abrió, y sus cambios no se guardaron para no borrar los de ella. Abra el registro de nuevo y "
                           "repita sus cambios";

// The edit windows, each with the two columns the workstations change: the
// other one changes the first, this one the second.
enum Registro { Articulo, Cliente, Proveedor, Empresa, Usuario, Rango };

struct Campos {
    const char* tabla;
    const char* donde;
    const char* otro;                // the column the other workstation changes
    const char* este;                // the column this one changes
    const char* deOtra = "DE OTRA";  // what each types
    const char* deEsta = "DE ESTA";
};
Campos campos(Registro r)
{
    switch (r) {
    case Articulo:
        return {"ARTICULOS", "codigo_art = '300'", "descripcion_art", "ubicacion"};
    case Cliente:
        return {"CLIENTES", "codigo_cli = '7'", "nombre_cli", "direccion_cli"};
    case Proveedor:
        return {"PROVEEDORES", "codigo_prov = '7'", "nombre_prov", "direccion_prov"};
    case Empresa:
        return {"empresas", "codigo_emp = 2", "PieFactura1", "nombre_emp"};
    case Usuario:
        return {"usuarios", "codigo_emp = 2 AND codigo_usu = '5'", "password_usu", "nombre_usu"};
    // The range's first column, its description, is never rewritten.
    case Rango:
        return {"ncfs", "id_sucursal = '2'", "hasta", "prefijo", "77", "B02"};
    }
    return {};
}

void preparar(const Target& t)
{
    fx::articulo(t, "300", 10, 15);
    teststore::execRaw(t, "INSERT INTO CLIENTES (codigo_cli, nombre_cli, direccion_cli) VALUES ('7', 'ANA', 'CALLE 1')");
    teststore::execRaw(t, "INSERT INTO PROVEEDORES (codigo_prov, nombre_prov, direccion_prov) VALUES ('7', 'ANA', 'CALLE 1')");
    adm::empresa(t, 2, "NORTE");
    adm::usuario(t, 2, "5", "LUIS");
    adm::rango(t, "FACTURA", 4, "2");
}

void escribir(QLineEdit* e, const QString& s)
{
    e->clear();
    QTest::keyClicks(e, s);
}

// One workstation's windows on the record: opened and loaded by abrir,
// the column typed by escribir, stored by guardar.
class Puesto {
public:
    explicit Puesto(Registro r) : r_(r) {}
    ~Puesto()
    {
        delete VentanaAbierta<fArticulos>();
        delete VentanaAbierta<fClientes>();
        delete VentanaAbierta<fProveedores>();
    }

    void abrir()
    {
        switch (r_) {
        case Articulo:
            Ventana<fArticulos>().Editar("300");
            break;
        case Cliente:
            Ventana<fClientes>().Editar("7");
            break;
        case Proveedor:
            Ventana<fProveedores>().Editar("7");
            break;
        case Empresa:
        case Usuario:
        case Rango:
            adm_ = std::make_unique<fEmpresasUsuarios>();
            adm_->Form_Load();
            adm::elegir(adm_->lstEmpresas, "NORTE");
            if (r_ == Usuario)
                adm::elegir(adm_->lstUsuarios, "LUIS");
            if (r_ == Rango)
                adm::elegir(adm_->ncfList, "FACTURA");
            editar();
            break;
        }
    }

    // The administration section back to editing, without loading again.
    void editar() { (r_ == Empresa ? adm_->bEditarEmpresa : r_ == Usuario ? adm_->bEditarUsuario : adm_->bEditarNcf)->click(); }

    // The box of the column the other workstation changes (otro) or of the
    // one this workstation changes.
    QLineEdit* caja(bool otro) const
    {
        switch (r_) {
        case Articulo:
            return linea(&Ventana<fArticulos>(), otro ? 1 : 13);
        case Cliente:
            return linea(&Ventana<fClientes>(), otro ? 1 : 3);
        case Proveedor:
            return linea(&Ventana<fProveedores>(), otro ? 1 : 3);
        case Empresa:
            return adm_->txtEmpresas[otro ? 5 : 1];
        case Usuario:
            return adm_->txtUsuarios[otro ? 3 : 2];
        case Rango:
            return adm_->ncf[otro ? 3 : 1];
        }
        return nullptr;
    }

    // What the workstation types into its column.
    void escribirCampo(bool otro)
    {
        const Campos c = campos(r_);
        const QString texto = otro ? c.deOtra : c.deEsta;
        escribir(caja(otro), texto);
        if (r_ == Usuario && otro)  // the password, typed twice
            escribir(adm_->tPassword, texto);
    }

    void guardar()
    {
        switch (r_) {
        case Articulo:
            fx::hijo<QPushButton>(&Ventana<fArticulos>(), "bAceptar")->click();
            break;
        case Cliente:
            Ventana<fClientes>().bAceptar->click();
            break;
        case Proveedor:
            Ventana<fProveedores>().bAceptar->click();
            break;
        case Empresa:
            adm_->bActualizarEmpresa->click();
            break;
        case Usuario:
            adm_->bActualizarUsuario->click();
            break;
        case Rango:
            adm_->bActualizarNcf->click();
            break;
        }
    }

    // Still editing: the window open (the catalogs) or the section in
    // edit mode (the administration).
    bool editando() const
    {
        QApplication::processEvents();
        switch (r_) {
        case Articulo:
            return VentanaAbierta<fArticulos>() && modoEdicion == 1;
        case Cliente:
            return VentanaAbierta<fClientes>() && gModoClientes == 1;
        case Proveedor:
            return VentanaAbierta<fProveedores>() && gModoProveedores == 1;
        case Empresa:
            return gModoEmpresa == 1;
        case Usuario:
            return gModoUsuario == 1;
        case Rango:
            return gModoNcf == 1;
        }
        return false;
    }

private:
    static QLineEdit* linea(QWidget* w, int i) { return fx::hijo<QLineEdit>(w, QString("txt%1").arg(i)); }
    Registro r_;
    std::unique_ptr<fEmpresasUsuarios> adm_;
};

// What a message box shows only as a notice on the way to the save.
QStringList sinAvisos(QStringList m)
{
    m.removeIf(
        [](const QString& s) { return s.startsWith("El método para el costeo") || s.startsWith("Al usuario se le ha asignado"); });
    return m;
}

QString valor(const Target& t, Registro r, bool otro)
{
    const Campos c = campos(r);
    return teststore::scalarRaw(t, QString("SELECT %1 FROM %2 WHERE %3").arg(otro ? c.otro : c.este, c.tabla, c.donde)).toString();
}

// The other copy of the program: opens its own window on the record,
// changes the other column and stores it.
int Estacion(const QStringList& args)
{
    const Target t = procesos::DestinoDeArgumentos(args);
    const Registro r = Registro(args.value(6).toInt());
    ReiniciarVariablesGlobales();
    adm::sesion();
    msgtest::install();
    teststore::openOn(Conexion(), t);
    fx::Escritorio e;
    Puesto p(r);
    p.abrir();
    p.escribirCampo(true);
    p.guardar();
    if (!msgtest::texts().isEmpty() && !sinAvisos(msgtest::texts()).isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(msgtest::texts().join(" | ")));
        return 1;
    }
    return 0;
}

}  // namespace

class TstConflictos : public Prueba {
    Q_OBJECT
private slots:
    void otraEstacion_data()
    {
        columnas<int, bool>("registro", "proceso");
        const char* nombres[] = {"articulo", "cliente", "proveedor", "empresa", "usuario", "rango"};
        for (int r = Articulo; r <= Rango; ++r) {
            QTest::newRow(qPrintable(QString(nombres[r]) + ", otra conexión")) << r << false;
            QTest::newRow(qPrintable(QString(nombres[r]) + ", otro programa")) << r << true;
        }
    }
    void otraEstacion()
    {
        QFETCH(int, registro);
        QFETCH(bool, proceso);
        const Registro r = Registro(registro);
        TESTSTORE_OPEN_FRESH(t);
        preparar(t);
        adm::sesion();
        fx::Escritorio e;
        Puesto p(r);
        p.abrir();
        const QString antes = valor(t, r, false);

        // The other workstation stores its change after this one loaded.
        if (proceso) {
            procesos::CorrerHijos(
                this, 1, "--estacion", t, [&](int) { return QStringList{QString::number(r)}; }, 60000);
            if (QTest::currentTestFailed())
                return;
        } else {
            const Campos c = campos(r);
            teststore::execRaw(t, QString("UPDATE %1 SET %2 = '%3' WHERE %4").arg(c.tabla, c.otro, c.deOtra, c.donde));
        }
        const Campos c = campos(r);
        QCOMPARE(valor(t, r, true), QString(c.deOtra));

        msgtest::clear();
        p.escribirCampo(false);
        p.guardar();
        QCOMPARE(sinAvisos(msgtest::texts()), QStringList{kConflicto});
        QCOMPARE(valor(t, r, true), QString(c.deOtra));
        QCOMPARE(valor(t, r, false), antes);
        QCOMPARE(p.caja(false)->text(), QString(c.deEsta));
        QVERIFY(p.editando());

        // Opened again, the same change goes in beside the other one.
        Puesto otra(r);
        otra.abrir();
        msgtest::clear();
        otra.escribirCampo(false);
        otra.guardar();
        QCOMPARE(sinAvisos(msgtest::texts()), QStringList());
        QCOMPARE(valor(t, r, true), QString(c.deOtra));
        QCOMPARE(valor(t, r, false), QString(c.deEsta));
    }

    // The cost and stock boxes take what is stored when left alone; typed
    // over a stock that a sale moved meanwhile, the save conflicts.
    void existenciaTecleadaYMovida()
    {
        TESTSTORE_OPEN_FRESH(t);
        preparar(t);
        fx::Escritorio e;
        Puesto p(Articulo);
        p.abrir();
        teststore::execRaw(t, "UPDATE ARTICULOS SET cantidad = 9 WHERE codigo_art = '300'");
        escribir(fx::hijo<QLineEdit>(&Ventana<fArticulos>(), "txt7"), "20");
        p.guardar();
        QCOMPARE(msgtest::texts(), QStringList{kConflicto});
        QCOMPARE(fx::cantidad(t, "300"), 9);
        QVERIFY(p.editando());
    }

    // Saved twice in one window without reloading: the second save starts
    // from the row as the first one left it.
    void dosGuardadosSeguidos()
    {
        TESTSTORE_OPEN_FRESH(t);
        preparar(t);
        adm::sesion();
        Puesto p(Empresa);
        p.abrir();
        escribir(p.caja(false), "UNO");
        p.guardar();
        QCOMPARE(gModoEmpresa, 3);
        p.editar();
        msgtest::clear();
        escribir(p.caja(false), "DOS");
        p.guardar();
        QCOMPARE(sinAvisos(msgtest::texts()), QStringList());
        QCOMPARE(valor(t, Empresa, false), QString("DOS"));
    }
};

PROCESOS_MAIN(TstConflictos, "--estacion", Estacion)

#include "tst_conflictos.moc"
