#include "fAdmArt.h"

#include "ListView.h"
#include "StatusBar.h"
#include "fArticulos.h"
#include "fKardex.h"
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

fAdmArt::fAdmArt() : fAdmBase(QStringLiteral("fAdmArt"), QStringLiteral("Administrador de Artículos"), 18165, 5220)
{
    Boton(0, QStringLiteral("Nuevo"), 30, 15, 1099, 870);
    Boton(1, QStringLiteral("Propiedades"), 1110, 15, 1110, 870);
    Boton(6, QStringLiteral("Buscar"), 2220, 15, 1110, 870);
    Boton(3, QStringLiteral("Recargar"), 3315, 15, 1110, 870);
    Boton(2, QStringLiteral("Eliminar"), 4425, 15, 1110, 870);
    botonCancelar = Boton(5, QStringLiteral("Salir"), 5540, 15, 1110, 870);
    // Present but hidden, and no case of the dispatch matches it.
    Boton(4, QStringLiteral("Movimientos"), 6650, 15, 1110, 870)->hide();
    Buscador(QStringLiteral("tCodigo_art"), QStringLiteral("Escriba el código del artículo o selecciónelo de la lista :"), 1035,
             5010, 3840);
    // The eighth column (the picture path) is carried but not shown.
    lvw->setColumns({QStringLiteral("Codigo"), QStringLiteral("Descripción"), QStringLiteral("Precio Venta 1"),
                     QStringLiteral("Precio Venta 2"), QStringLiteral("Precio Venta 3"), QStringLiteral("Cantidad"),
                     QStringLiteral("Stock Mínimo"), QString()},
                    {1600, 2700, 1500, 1500, 1500, 1300, 1440, 0});
    lvw->setColumnHidden(7, true);

    QMenu* archivo = menu->addMenu(QStringLiteral("&Archivo"));
    QAction* nuevo = Item(archivo, QStringLiteral("mnuNuevoArticulo"), QStringLiteral("Nue&vo Artículo..."));
    nuevo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    nuevo->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(nuevo);
    archivo->addSeparator();
    QAction* propiedades = Item(archivo, QStringLiteral("mnuPropiedades"), QStringLiteral("&Propiedades"));
    QAction* buscar = Item(archivo, QStringLiteral("mnuBuscar"), QStringLiteral("&Buscar"));
    QAction* recargar = Item(archivo, QStringLiteral("mnuRecargar"), QStringLiteral("Cargar Listado"));
    QAction* eliminar = Item(archivo, QStringLiteral("mnuEliminar"), QStringLiteral("&Eliminar"));
    QAction* kardex = Item(archivo, QStringLiteral("mnuKardex"), QStringLiteral("Kardex"));
    archivo->addSeparator();
    QAction* salir = Item(archivo, QStringLiteral("mnuSalir"), QStringLiteral("&Salir"));
    MenuAyuda();

    connect(nuevo, &QAction::triggered, this, &fAdmArt::Nuevo);
    connect(propiedades, &QAction::triggered, this, &fAdmArt::Propiedades);
    connect(buscar, &QAction::triggered, this, [this] { Despachar(QStringLiteral("Buscar")); });
    connect(recargar, &QAction::triggered, this, &fAdmArt::cargarListView);
    connect(eliminar, &QAction::triggered, this, &fAdmArt::Eliminar);
    connect(kardex, &QAction::triggered, this, &fAdmArt::Kardex);
    connect(salir, &QAction::triggered, this, [this] { CerrarVentana(this); });
}

void fAdmArt::cargarListView()
{
    gSQL = QStringLiteral("Select codigo_art,descripcion_art,precio_venta1,Precio_venta2,precio_venta3,")
           + QStringLiteral("Cantidad,stock_minimo,imagen_art from Articulos");
    LlenarListView(gSQL, lvw, sb);
}

void fAdmArt::Despachar(const QString& caption)
{
    if (caption == QLatin1String("Nuevo"))
        Nuevo();
    else if (caption == QLatin1String("Propiedades"))
        Propiedades();
    else if (caption == QLatin1String("Buscar")) {
        Abrir(QStringLiteral("buscar_articulos"));
    } else if (caption == QLatin1String("Eliminar"))
        Eliminar();
    else if (caption == QLatin1String("Recargar"))
        cargarListView();
    else if (caption == QLatin1String("Kardex"))
        Kardex();
    else if (caption == QLatin1String("Salir"))
        CerrarVentana(this);
}

void fAdmArt::Nuevo() { Ventana<fArticulos>().Nuevo(); }

void fAdmArt::Propiedades()
{
    if (!HaySeleccion()) {
        MsgBox(QStringLiteral("No hay elemento seleccionado para efectuar esta acción."), MsgStyle::Exclamation, windowTitle());
        return;
    }
    Ventana<fArticulos>().Editar(CodigoSeleccionado());
}

void fAdmArt::Eliminar()
{
    if (!HaySeleccion()) {
        MsgBox(QStringLiteral("Seleccione un elemento de la lista"), MsgStyle::Exclamation);
        return;
    }
    const QString codigo = CodigoSeleccionado();
    const int indice = lvw->selectedIndex();
    if (MsgBox(QStringLiteral("Al eliminar el Artículo también se eliminará su información relacionada en Kardex. Está seguro?"),
               MsgStyle::ExclamationQuestion)
        == MsgResult::No)
        return;
    gSQL = QStringLiteral("Select * From ARTICULOS Where codigo_art = ") + SqlStr(codigo);
    EliminarDeListViewAdm(lvw, indice, gSQL);
    cargarListView();
}

void fAdmArt::Kardex()
{
    // Read before the stock card's activation reloads anything.
    const QString codigo = CodigoSeleccionado();
    const bool seleccion = HaySeleccion();
    fKardex& k = Ventana<fKardex>();
    MostrarHija(&k);
    if (seleccion)
        k.tCodigo_art->setText(codigo);
}
