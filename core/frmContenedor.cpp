#include "frmContenedor.h"

#include "AppPath.h"
#include "Shell.h"
#include "Toolbar.h"
#include "fAcercaDe.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "vbrt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMdiArea>
#include <QMenuBar>
#include <QStyle>
#include <QUrl>

namespace {
QIcon icono(const char* tema, QStyle::StandardPixmap respaldo)
{
    return QIcon::fromTheme(QLatin1String(tema), QApplication::style()->standardIcon(respaldo));
}
}  // namespace

namespace {
QHash<QString, std::function<void()>>& abridores()
{
    static QHash<QString, std::function<void()>> a;
    return a;
}
}  // namespace

void RegistrarAbridor(const QString& nombre, std::function<void()> abrir)
{
    if (abrir)
        abridores().insert(nombre, std::move(abrir));
    else
        abridores().remove(nombre);
}

bool Abrir(const QString& nombre)
{
    // A copy: the opener may register itself again while it runs.
    const std::function<void()> f = abridores().value(nombre);
    if (!f)
        return false;
    f();
    return true;
}

QUrl PaginaAyuda()
{
    QDir d(AppPath());
    for (int i = 0; i < 4; ++i) {
        const QString readme = d.filePath(QStringLiteral("README.md"));
        if (QFileInfo::exists(readme))
            return QUrl::fromLocalFile(readme);
        if (!d.cdUp())
            break;
    }
    return QUrl();
}

frmContenedor::frmContenedor(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmContenedor"));
    setWindowTitle(QStringLiteral("Tarvik 1.0 BETA"));

    workspace_ = new QMdiArea(this);
    workspace_->setObjectName(QStringLiteral("workspace"));
    workspace_->setBackground(QApplication::palette().brush(QPalette::Dark));
    workspace_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    workspace_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(workspace_);
    ventanas::setWorkspace(workspace_);

    auto primer = [this](const char* nombre, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QLatin1String(nombre));
        return m;
    };
    // Alt and the underlined letter open a menu; inside it, the letter
    // chooses the item. The menus' letters are none that a child window
    // uses (its own "&Archivo" and "Ay&uda", the line buttons' letters):
    // a letter held twice in one window would only alternate between them.
    QMenu* archivo = primer("archivo", QStringLiteral("Archi&vo"));
    agregar(archivo, "salir", QStringLiteral("&Salir"));
    QMenu* adm = primer("adm", QStringLiteral("Ad&ministrar"));
    agregar(adm, "articulos", QStringLiteral("&Artículos"));
    agregar(adm, "clientes", QStringLiteral("&Clientes"));
    agregar(adm, "proveedores", QStringLiteral("&Proveedores"));
    QMenu* fac = primer("fac", QStringLiteral("&Facturas"));
    agregar(fac, "compra", QStringLiteral("&Compra"));
    agregar(fac, "venta", QStringLiteral("&Venta"));
    agregar(fac, "cobrar", QStringLiteral("Por c&obrar"));
    agregar(fac, "pagar", QStringLiteral("Por &pagar"));
    QMenu* reports = primer("reports", QStringLiteral("&Reportes"));
    agregar(reports, "rep_ventas", QStringLiteral("&Ventas"));
    agregar(reports, "rep_compras", QStringLiteral("&Compras"));
    agregar(reports, "rep_itbis", QStringLiteral("&Impuestos"));
    QMenu* tools = primer("tools", QStringLiteral("&Herramientas"));
    agregar(tools, "calc", QStringLiteral("&Calculadora"));
    QMenu* config = primer("config", QStringLiteral("&Configuración"));
    agregar(config, "params", QStringLiteral("&Parametros"));
    QMenu* ayuda = primer("ayuda", QStringLiteral("A&yuda"));
    agregar(ayuda, "enlinea", QStringLiteral("&Ayuda en línea"));
    agregar(ayuda, "sobre", QStringLiteral("A&cerca de Tarvik"));

    Toolbar1 = new Toolbar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setWindowTitle(QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(32, 32));
    Toolbar1->addButton(QStringLiteral("clientes"), QStringLiteral("Clientes"), icono("system-users", QStyle::SP_DirHomeIcon));
    Toolbar1->addButton(QStringLiteral("articulos"), QStringLiteral("Artículos"),
                        icono("package-x-generic", QStyle::SP_FileDialogDetailedView));
    Toolbar1->addButton(QStringLiteral("ventas"), QStringLiteral("Venta"), icono("accessories-text-editor", QStyle::SP_FileIcon));
    Toolbar1->addButton(QStringLiteral("config"), QStringLiteral("Configuración"),
                        icono("preferences-system", QStyle::SP_FileDialogInfoView));
    addToolBar(Qt::TopToolBarArea, Toolbar1);
    connect(Toolbar1, &Toolbar::buttonClick, this, &frmContenedor::Toolbar1_ButtonClick);
}

frmContenedor::~frmContenedor()
{
    if (ventanas::workspace() == workspace_)
        ventanas::setWorkspace(nullptr);
}

QAction* frmContenedor::agregar(QMenu* m, const char* nombre, const QString& caption)
{
    QAction* a = m->addAction(caption);
    const QString n = QLatin1String(nombre);
    a->setObjectName(n);
    if (n == QLatin1String("salir"))
        connect(a, &QAction::triggered, this, &frmContenedor::salir_Click);
    else if (n == QLatin1String("calc"))
        connect(a, &QAction::triggered, this, &frmContenedor::calc_Click);
    else if (n == QLatin1String("enlinea"))
        connect(a, &QAction::triggered, this, &frmContenedor::enlinea_Click);
    else if (n == QLatin1String("sobre"))
        connect(a, &QAction::triggered, this, &frmContenedor::sobre_Click);
    else
        connect(a, &QAction::triggered, this, [n] { Abrir(n); });
    return a;
}

QAction* frmContenedor::item(const QString& nombre) const
{
    for (QAction* a : findChildren<QAction*>(nombre))
        if (!a->menu())
            return a;
    return nullptr;
}

QMenu* frmContenedor::menu(const QString& nombre) const { return findChild<QMenu*>(nombre); }

void frmContenedor::salir_Click() { close(); }

void frmContenedor::calc_Click() { shell::StartCalculator(); }

// There is no help on the web: the shop gets the README or is told why not.
void frmContenedor::enlinea_Click()
{
    const QUrl ayuda = PaginaAyuda();
    if (ayuda.isEmpty())
        MsgBox(QStringLiteral("No se encontró la ayuda: el archivo README.md no está junto al programa."), MsgStyle::Exclamation);
    else if (!shell::OpenUrl(ayuda))
        MsgBox(QStringLiteral("No se pudo abrir la ayuda ") + ayuda.toLocalFile()
                   + QStringLiteral(": no hay un programa instalado para mostrarla."),
               MsgStyle::Exclamation);
}

void frmContenedor::sobre_Click() { fAcercaDe::Mostrar(this, true); }

void frmContenedor::Toolbar1_ButtonClick(const QString& key)
{
    const char* itemDe = nullptr;
    if (key == QLatin1String("clientes"))
        itemDe = "clientes";
    else if (key == QLatin1String("articulos"))
        itemDe = "articulos";
    else if (key == QLatin1String("ventas"))
        itemDe = "venta";
    else if (key == QLatin1String("config"))
        itemDe = "params";
    if (!itemDe)
        return;
    if (QAction* a = item(QLatin1String(itemDe)))
        a->trigger();
}

void frmContenedor::MDIForm_Unload(bool& cancel)
{
    if (MsgBox(QStringLiteral("Está Seguro?"), MsgStyle::Question) == MsgResult::Yes) {
        EndProgram(0);
        cancel = false;
        return;
    }
    cancel = true;
}

void frmContenedor::closeEvent(QCloseEvent* e)
{
    bool cancel = false;
    MDIForm_Unload(cancel);
    if (cancel)
        e->ignore();
    else
        e->accept();
}
