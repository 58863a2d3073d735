#include "fAdmFacturas.h"

#include "ListView.h"
#include "StatusBar.h"
#include "mCatalogos.h"
#include "mFuncionesCajas.h"
#include "mSubRutinas.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"
#include "fFacturaBase.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QToolButton>

namespace {
// Numbers of the list go into statements as whole numbers only.
QString Entero(const QString& n) { return NumText(RoundHalfEven(Val(n))); }
}  // namespace

fAdmFacturas::fAdmFacturas(const Diseno& d) : fAdmBase(d.nombre, d.caption, d.anchoTw, d.altoTw), d_(d)
{
    const char* botones[6] = {"Nuevo", "Propiedades", "Eliminar", "", "Salir", "Recargar"};
    const int left[6] = {15, 1125, 2235, 3345, 5565, 4455};
    for (int i = 0; i < 6; ++i) {
        const QString caption = i == 3 ? d.cuenta : QString::fromLatin1(botones[i]);
        QToolButton* b = Boton(i, caption, left[i], 15, 1110, 870);
        if (i == 4)
            botonCancelar = b;
    }
    Buscador(QStringLiteral("tcodigo_fac"), QStringLiteral("Digite el Número de la Factura :"), 4440, 6705, 1185);
    QWidget* cuerpo = lvw->parentWidget();
    auto* label1 = new QLabel(QStringLiteral("Código de la Empresa o Sucursal (Prefijo en la factura) :"), cuerpo);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->adjustSize();
    label1->move(Tw(30), Tw(960));
    tCodigo_emp = new QLineEdit(cuerpo);
    tCodigo_emp->setObjectName(QStringLiteral("tCodigo_emp"));
    tCodigo_emp->setAlignment(Qt::AlignCenter);
    tCodigo_emp->setReadOnly(true);
    ColocarTw(tCodigo_emp, 4020, 915, 375, 330);
    // Labels run wider on this screen font: each box follows its label.
    if (label1->x() + label1->width() + 4 > tCodigo_emp->x())
        tCodigo_emp->move(label1->x() + label1->width() + 4, tCodigo_emp->y());
    const int lblX = tCodigo_emp->x() + tCodigo_emp->width() + Tw(45);
    if (lbl->x() < lblX) {
        lbl->move(lblX, lbl->y());
        tCodigo->move(lbl->x() + lbl->width() + 4, tCodigo->y());
    }
    lvw->setColumns(d.columnas, {1400, 1700, 1700, 1600, 1700, 1800, 1440});

    QMenu* archivo = menu->addMenu(QStringLiteral("&Archivo"));
    QAction* nuevo = Item(archivo, d.mnuNuevo, d.nuevo);
    archivo->addSeparator()->setObjectName(QStringLiteral("raya1"));
    QAction* propiedades = Item(archivo, QStringLiteral("mnuPropiedades"), QStringLiteral("&Propiedades"));
    QAction* eliminar = Item(archivo, QStringLiteral("mnuEliminar"), QStringLiteral("&Eliminar"));
    QAction* cuenta = Item(archivo, d.mnuCuenta, d.itemCuenta);
    QAction* recargar = Item(archivo, QStringLiteral("mnuRecargar"), QStringLiteral("Cargar Listado"));
    archivo->addSeparator()->setObjectName(QStringLiteral("Raya2"));
    QAction* salir = Item(archivo, QStringLiteral("mnuSalir"), QStringLiteral("&Salir"));
    MenuAyuda();
    const std::pair<QAction*, QKeySequence> atajos[] = {
        {nuevo, QKeySequence(Qt::CTRL | Qt::Key_N)},     {propiedades, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {eliminar, QKeySequence(Qt::CTRL | Qt::Key_E)},  {cuenta, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {recargar, QKeySequence(Qt::CTRL | Qt::Key_R)},
    };
    for (const auto& [a, k] : atajos) {
        a->setShortcut(k);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    connect(nuevo, &QAction::triggered, this, [this] { NuevaFactura(); });
    connect(propiedades, &QAction::triggered, this, &fAdmFacturas::Propiedades);
    connect(eliminar, &QAction::triggered, this, &fAdmFacturas::Eliminar);
    connect(cuenta, &QAction::triggered, this, &fAdmFacturas::AbrirCuenta);
    connect(recargar, &QAction::triggered, this, &fAdmFacturas::cargarListView);
    connect(salir, &QAction::triggered, this, &fAdmFacturas::Salir);
}

void fAdmFacturas::cargarListView()
{
    gSQL = d_.sqlLista + gCodigoEmp + QStringLiteral(" Order By fecha DESC, codigo_fac DESC");
    LlenarListView(gSQL, lvw, sb);
    tCodigo_emp->setText(gCodigoEmp);
}

void fAdmFacturas::Despachar(const QString& caption)
{
    if (caption == QLatin1String("Nuevo"))
        Nuevo();
    else if (caption == QLatin1String("Propiedades"))
        Propiedades();
    else if (caption == QLatin1String("Eliminar"))
        Eliminar();
    else if (caption == d_.cuenta)
        AbrirCuenta();
    else if (caption == QLatin1String("Recargar"))
        cargarListView();
    else if (caption == QLatin1String("Salir"))
        Salir();
}

void fAdmFacturas::Nuevo()
{
    CerrarOtraVentana();
    NuevaFactura();
}

void fAdmFacturas::Propiedades()
{
    if (!HaySeleccion()) {
        MsgBox(QStringLiteral("No hay elemento seleccionado para efectuar esta acción."), MsgStyle::Exclamation, windowTitle());
        return;
    }
    VerFactura(CodigoSeleccionado());
}

void fAdmFacturas::Eliminar()
{
    if (!HaySeleccion()) {
        MsgBox(QStringLiteral("Seleccione un elemento de la lista"), MsgStyle::Exclamation);
        return;
    }
    const QString n = Entero(CodigoSeleccionado());
    const int indice = lvw->selectedIndex();
    if (!AbrirRecordset(d_.sqlEstado + n + QStringLiteral(" And ") + d_.tablaDelete + QStringLiteral(".codigo_emp = ") + gCodigoEmp))
        return;  // the error check has shown why; nothing is deleted
    if (gRecordset->RecordCount() < 1) {
        // Deleted meanwhile from another workstation: nothing to ask.
        cargarListView();
        return;
    }
    if (gRecordset->Fields(QStringLiteral("Estado")).Text() != QLatin1String("Anulada")) {
        MsgBox(QStringLiteral("Primero debe Anular la factura para proceder a su eliminación"), MsgStyle::Exclamation, windowTitle());
        return;
    }
    if (MsgBox(QStringLiteral("Se procederá a eliminar la Factura ") + n + QStringLiteral(". Está seguro?"),
               MsgStyle::ExclamationQuestion)
        == MsgResult::No)
        return;
    // The store deletes its lines and payments with it, so a later invoice
    // given the same number starts clean.
    gSQL = d_.sqlBorrar + n + QStringLiteral(" And ") + d_.tablaDelete + QStringLiteral(".codigo_emp = ") + gCodigoEmp;
    EliminarDeListViewAdm(lvw, indice, gSQL);
    cargarListView();
}

void fAdmFacturas::AbrirCuenta()
{
    if (!HaySeleccion()) {
        MsgBox(QStringLiteral("Seleccione un elemento de la lista"), MsgStyle::Exclamation);
        return;
    }
    Cuenta(lvw->subItem(lvw->selectedIndex(), 3));
}

void fAdmFacturas::Salir()
{
    if (d_.modo)
        *d_.modo = 3;
    CerrarVentana(this);
}

void CerrarYBorrar(QWidget* w)
{
    if (!w)
        return;
    QPointer<QWidget> viejo(w);
    CerrarVentana(w);
    delete viejo.data();
}

void fAdmFacturas::MostrarNueva(fFacturaBase& w)
{
    *d_.modo = 2;
    gModoDetalle = 3;
    MostrarHija(&w);
    w.AbrirNueva();
}

void fAdmFacturas::MostrarGuardada(fFacturaBase& w, const QString& numero)
{
    MostrarHija(&w);
    w.MostrarFactura(numero);
}
