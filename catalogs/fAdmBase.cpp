#include "fAdmBase.h"

#include "ListView.h"
#include "StatusBar.h"
#include "mSubRutinas.h"
#include "msgbox.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QApplication>
#include <QStyle>
#include <QToolButton>
#include <QStatusBar>

fAdmBase::fAdmBase(const QString& nombre, const QString& caption, int anchoTw, int altoTw)
{
    setObjectName(nombre);
    setWindowTitle(caption);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);

    menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("menu"));
    menu->setNativeMenuBar(false);

    cuerpo_ = new QWidget(this);
    lvw = new ListView(cuerpo_);
    lvw->setObjectName(QStringLiteral("lvw"));
    sb = new StatusBar(this);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setSizeGripEnabled(false);

    connect(lvw, &ListView::itemDblClick, this, [this](int) { Despachar(QStringLiteral("Propiedades")); });
    diseno_ = QSize(Tw(anchoTw), Tw(altoTw) + QMenuBar().sizeHint().height());
    resize(diseno_);
    VigilarActivacion(this);
}

static QIcon Dibujo(const QString& caption)
{
    static const QHash<QString, QStyle::StandardPixmap> dibujos = {
        {QStringLiteral("Nuevo"), QStyle::SP_FileIcon},
        {QStringLiteral("Propiedades"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("Buscar"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("Eliminar"), QStyle::SP_TrashIcon},
        {QStringLiteral("Recargar"), QStyle::SP_BrowserReload},
        {QStringLiteral("Salir"), QStyle::SP_DialogCloseButton},
        {QStringLiteral("Por Cobrar"), QStyle::SP_DialogApplyButton},
        {QStringLiteral("Por Pagar"), QStyle::SP_DialogApplyButton},
    };
    return QApplication::style()->standardIcon(dibujos.value(caption, QStyle::SP_FileIcon));
}

QToolButton* fAdmBase::Boton(int index, const QString& caption, int left, int top, int width, int height)
{
    auto* b = new QToolButton(cuerpo_);
    b->setText(caption);
    b->setIcon(Dibujo(caption));
    b->setIconSize(QSize(24, 24));
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setObjectName(QStringLiteral("cmd%1").arg(index));
    b->setFocusPolicy(Qt::TabFocus);
    ColocarTw(b, left, top, width, height);
    cmd[index] = b;
    connect(b, &QToolButton::clicked, this, [this, b] { Despachar(b->text()); });
    return b;
}

void fAdmBase::Buscador(const QString& nombre, const QString& etiqueta, int lblLeft, int left, int width)
{
    lbl = new QLabel(etiqueta, cuerpo_);
    lbl->setObjectName(QStringLiteral("lbl"));
    lbl->adjustSize();
    lbl->move(Tw(lblLeft), Tw(960));
    tCodigo = new QLineEdit(cuerpo_);
    tCodigo->setObjectName(nombre);
    // An access key in the caption ("&nombre") takes the focus to the box.
    lbl->setBuddy(tCodigo);
    ColocarTw(tCodigo, left, 930, width, 315);
    // The label's text runs wider on this screen font: the box follows it.
    if (lbl->x() + lbl->width() + 4 > tCodigo->x())
        tCodigo->move(lbl->x() + lbl->width() + 4, tCodigo->y());
    // Finds within the list as it stands: no filter, no reload.
    connect(tCodigo, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (lvw->count() < 1)
            return;
        if (int i = lvw->find(t))
            lvw->select(i);
    });
}

QAction* fAdmBase::Item(QMenu* m, const QString& nombre, const QString& texto)
{
    QAction* a = m->addAction(texto);
    a->setObjectName(nombre);
    return a;
}

void fAdmBase::MenuAyuda()
{
    QMenu* ayuda = menu->addMenu(QStringLiteral("Ay&uda"));
    QAction* acerca = Item(ayuda, QStringLiteral("mnuAcercaDe"), QStringLiteral("&Acerca de..."));
    connect(acerca, &QAction::triggered, this, [] { MostrarAcercaDe(); });
}

QString fAdmBase::CodigoSeleccionado() const
{
    const int i = lvw->selectedIndex();
    return i > 0 ? lvw->text(i) : QString();
}

bool fAdmBase::HaySeleccion() const { return lvw->selectedIndex() > 0; }

void fAdmBase::SinSeleccion(const QString& texto)
{
    MsgBox(texto, MsgStyle::Exclamation);
}

void fAdmBase::alActivar() { cargarListView(); }

void fAdmBase::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const int mh = menu->sizeHint().height();
    menu->setGeometry(0, 0, width(), mh);
    const int h = sb->sizeHint().height();
    sb->setGeometry(0, height() - h, width(), h);
    cuerpo_->setGeometry(0, mh, width(), height() - mh - h);
    lvw->move(0, Tw(1275));
    AjustarFormulario(sb, this, lvw);
}

void fAdmBase::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (mostrada_)
        return;
    mostrada_ = true;
    // The buttons exist only once the member's constructor has run.
    OrdenDeTabulacion({Controles(cuerpo_)});
    // Outside the workspace there is no activation to wait for.
    if (!qobject_cast<QMdiSubWindow*>(parentWidget()))
        cargarListView();
}

void fAdmBase::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && botonCancelar) {
        botonCancelar->click();
        return;
    }
    QWidget::keyPressEvent(e);
}
