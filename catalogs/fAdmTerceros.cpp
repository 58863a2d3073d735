#include "fAdmTerceros.h"

#include "ListView.h"
#include "StatusBar.h"
#include "fClientes.h"
#include "fProveedores.h"
#include "frmContenedor.h"
#include "mFuncionesCajas.h"
#include "mSubRutinas.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

fAdmTerceros::fAdmTerceros(const Diseno& d) : fAdmBase(d.nombre, d.caption, 8880, 5220), d_(d)
{
    for (int i = 0; i < 7; ++i) {
        const int w = 1110;
        QToolButton* b = Boton(i, d.botones[i], d.left[i], 15, w, 870);
        if (d.botones[i] == QLatin1String("Salir"))
            botonCancelar = b;
    }
    Buscador(d.finder, d.etiqueta, d.lblLeft, d.finderLeft, d.finderWidth);
    lvw->setColumns(d.columnas, d.anchos);

    QMenu* archivo = menu->addMenu(QStringLiteral("&Archivo"));
    QAction* nuevo = Item(archivo, d.mnuNuevo, d.nuevo);
    nuevo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    nuevo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(nuevo);
    archivo->addSeparator();
    QAction* propiedades = Item(archivo, QStringLiteral("mnuPropiedades"), QStringLiteral("&Propiedades"));
    QAction* recargar = Item(archivo, QStringLiteral("mnuRecargar"), QStringLiteral("Cargar Listado"));
    QAction* eliminar = Item(archivo, QStringLiteral("mnuEliminar"), QStringLiteral("&Eliminar"));
    archivo->addSeparator();
    QAction* salir = Item(archivo, QStringLiteral("mnuSalir"), QStringLiteral("&Salir"));
    MenuAyuda();

    connect(nuevo, &QAction::triggered, this, &fAdmTerceros::Nuevo);
    connect(propiedades, &QAction::triggered, this, &fAdmTerceros::Propiedades);
    connect(recargar, &QAction::triggered, this, &fAdmTerceros::cargarListView);
    connect(eliminar, &QAction::triggered, this, &fAdmTerceros::Eliminar);
    connect(salir, &QAction::triggered, this, [this] { CerrarVentana(this); });
}

void fAdmTerceros::cargarListView()
{
    gSQL = d_.sql;
    LlenarListView(gSQL, lvw, sb);
}

void fAdmTerceros::Despachar(const QString& caption)
{
    if (caption == QLatin1String("Nuevo"))
        Nuevo();
    else if (caption == QLatin1String("Propiedades"))
        Propiedades();
    else if (caption == QLatin1String("Buscar"))
        Buscar();
    else if (caption == QLatin1String("Eliminar"))
        Eliminar();
    else if (caption == d_.cuenta)
        AbrirCuenta();
    else if (caption == QLatin1String("Recargar"))
        cargarListView();
    else if (caption == QLatin1String("Salir"))
        CerrarVentana(this);
}

void fAdmTerceros::Nuevo() { Propiedad().Nuevo(); }

void fAdmTerceros::Propiedades()
{
    if (!HaySeleccion()) {
        MsgBox(QStringLiteral("No hay elemento seleccionado para efectuar esta acción."), MsgStyle::Exclamation, windowTitle());
        return;
    }
    Propiedad().Editar(CodigoSeleccionado());
}

void fAdmTerceros::Eliminar()
{
    if (!HaySeleccion()) {
        MsgBox(QStringLiteral("Seleccione un elemento de la lista"), MsgStyle::Exclamation);
        return;
    }
    const QString codigo = CodigoSeleccionado();
    // Every cash sale or purchase carries the generic party "0".
    if (codigo == QLatin1String("0")) {
        MsgBox(d_.generico, MsgStyle::Exclamation);
        return;
    }
    const int indice = lvw->selectedIndex();
    if (MsgBox(d_.pregunta, MsgStyle::ExclamationQuestion) == MsgResult::No)
        return;
    gSQL = QStringLiteral("Select * From ") + d_.tabla + QStringLiteral(" Where codigo_") + d_.sufijo + QStringLiteral(" = ")
           + SqlStr(codigo);
    EliminarDeListViewAdm(lvw, indice, gSQL);
    cargarListView();
}

void fAdmTerceros::AbrirCuenta()
{
    if (!HaySeleccion()) {
        MsgBox(QStringLiteral("Seleccione un elemento de la lista"), MsgStyle::Exclamation);
        return;
    }
    Cuenta(CodigoSeleccionado());
}

// ---- clients ----

static fAdmTerceros::Diseno DisenoCli();

fAdmCli::fAdmCli() : fAdmTerceros(DisenoCli()) {}

fDatosTercero& fAdmCli::Propiedad() { return Ventana<fClientes>(); }
void fAdmCli::Buscar() { Abrir(QStringLiteral("buscar_clientes")); }
void fAdmCli::Cuenta(const QString& codigo) { Llamar(abrirPorCobrar, codigo); }

static fAdmTerceros::Diseno DisenoCli()
{
    fAdmTerceros::Diseno d{};
    d.nombre = QStringLiteral("fAdmCli");
    d.caption = QStringLiteral("Administrador de clientes");
    d.finder = QStringLiteral("tCodigo_cli");
    d.etiqueta = QStringLiteral("Escriba el código del cliente o selecciónelo de la lista :");
    d.lblLeft = 75;
    d.finderLeft = 3960;
    d.finderWidth = 3465;
    d.sql = QStringLiteral("Select codigo_cli,nombre_cli,identificacion_cli,telefono_cli,") + QStringLiteral("fax_cli from CLIENTES");
    d.cuenta = QStringLiteral("Por Cobrar");
    d.mnuNuevo = QStringLiteral("mnuNuevoCliente");
    d.nuevo = QStringLiteral("Nue&vo cliente...");
    d.pregunta = QStringLiteral("Al eliminar el Cliente también se eliminarán sus Facturas y Cuentas por Cobrar. Está seguro?");
    d.tabla = QStringLiteral("CLIENTES");
    d.sufijo = QStringLiteral("cli");
    d.generico = QStringLiteral("El Cliente Genérico no puede ser eliminado: todas las ventas al contado lo utilizan");
    const char* botones[7] = {"Nuevo", "Propiedades", "Eliminar", "Recargar", "Salir", "Por Cobrar", "Buscar"};
    const int left[7] = {15, 1125, 3330, 5550, 6660, 4440, 2235};
    for (int i = 0; i < 7; ++i) {
        d.botones[i] = QString::fromUtf8(botones[i]);
        d.left[i] = left[i];
    }
    d.columnas = {QStringLiteral("Código"), QStringLiteral("Nombres"), QStringLiteral("Documento"), QStringLiteral("Teléfono"),
                  QStringLiteral("Fax")};
    d.anchos = {1500, 1700, 1700, 1440, 1700};
    return d;
}

// ---- suppliers ----

static fAdmTerceros::Diseno DisenoProv();

fAdmProv::fAdmProv() : fAdmTerceros(DisenoProv()) {}

fDatosTercero& fAdmProv::Propiedad() { return Ventana<fProveedores>(); }
void fAdmProv::Buscar() { Abrir(QStringLiteral("buscar_proveedores")); }
void fAdmProv::Cuenta(const QString& codigo) { Llamar(abrirPorPagar, codigo); }

static fAdmTerceros::Diseno DisenoProv()
{
    fAdmTerceros::Diseno d{};
    d.nombre = QStringLiteral("fAdmProv");
    d.caption = QStringLiteral("Administrador de proveedores");
    d.finder = QStringLiteral("tCodigo_prov");
    d.etiqueta = QStringLiteral("Escriba el &nombre o selecciónelo de la lista :");
    d.lblLeft = 75;
    d.finderLeft = 3405;
    d.finderWidth = 3135;
    d.sql = QStringLiteral("Select codigo_prov,nombre_prov,identificacion_prov,") + QStringLiteral("telefono_prov,fax_prov from PROVEEDORES");
    d.cuenta = QStringLiteral("Por Pagar");
    d.mnuNuevo = QStringLiteral("mnuNuevoProveedor");
    d.nuevo = QStringLiteral("Nue&vo proveedor...");
    d.pregunta = QStringLiteral("Al eliminar el Proveedor también se eliminarán sus Facturas y Cuentas por Pagar relacionadas. Está seguro?");
    d.tabla = QStringLiteral("PROVEEDORES");
    d.sufijo = QStringLiteral("prov");
    d.generico = QStringLiteral("El Proveedor Genérico no puede ser eliminado: todas las compras al contado lo utilizan");
    const char* botones[7] = {"Nuevo", "Propiedades", "Eliminar", "Por Pagar", "Salir", "Recargar", "Buscar"};
    const int left[7] = {15, 1125, 3300, 4410, 6630, 5520, 2235};
    for (int i = 0; i < 7; ++i) {
        d.botones[i] = QString::fromUtf8(botones[i]);
        d.left[i] = left[i];
    }
    d.columnas = {QStringLiteral("codigo"), QStringLiteral("Razón Social o Nombre"), QStringLiteral("Número de Identificación"),
                  QStringLiteral("Telefono"), QStringLiteral("Fax")};
    d.anchos = {700, 2700, 2000, 1440, 1440};
    return d;
}
