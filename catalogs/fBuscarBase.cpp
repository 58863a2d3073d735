#include "fBuscarBase.h"

#include "ListView.h"
#include "StatusBar.h"
#include "mCatalogos.h"
#include "mFuncionesCajas.h"
#include "mSubRutinas.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// A double-click on the list's blank part is a double-click on the list
// too; one on a row comes through the list's own signal.
class DobleClicEnBlanco : public QObject {
public:
    DobleClicEnBlanco(ListView* lvw, fBuscarBase* dialogo) : QObject(lvw), lvw_(lvw), dialogo_(dialogo) {}
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonDblClick
            && !lvw_->indexAt(static_cast<QMouseEvent*>(e)->position().toPoint()).isValid())
            dialogo_->lvw_DblClick();
        return false;
    }
private:
    ListView* lvw_;
    fBuscarBase* dialogo_;
};

}  // namespace

fBuscarBase::fBuscarBase(const QString& nombre, const QString& caption, int anchoTw, int altoTw)
{
    setObjectName(nombre);
    setWindowTitle(caption);

    menu = new QMenuBar(this);
    menu->setObjectName(QStringLiteral("menu"));
    menu->setNativeMenuBar(false);
    mnuAcercaDe = menu->addAction(QStringLiteral("Acerca de ..."));
    mnuAcercaDe->setObjectName(QStringLiteral("mnuAcercaDe"));
    connect(mnuAcercaDe, &QAction::triggered, this, [] { MostrarAcercaDe(); });

    cuerpo_ = new QWidget(this);
    Frame1 = new QGroupBox(cuerpo_);
    Frame1->setObjectName(QStringLiteral("Frame1"));

    sb = new StatusBar(this);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setSizeGripEnabled(false);

    diseno_ = QSize(Tw(anchoTw), Tw(altoTw) + QMenuBar().sizeHint().height());
    resize(diseno_);
}

void fBuscarBase::Botones(int left, int width, int topBuscar, int topRestaurar, int topCerrar)
{
    auto boton = [&](const char* nombre, const QString& caption, int top) {
        auto* b = new QPushButton(caption, cuerpo_);
        b->setObjectName(QString::fromLatin1(nombre));
        b->setAutoDefault(false);
        ColocarTw(b, left, top, width, 345);
        return b;
    };
    bBuscar = boton("bBuscar", QStringLiteral("Buscar Ahora"), topBuscar);
    bRestaurar = boton("bRestaurar", QStringLiteral("Restaurar Todo"), topRestaurar);
    bCerrar = boton("bCerrar", QStringLiteral("Cerrar"), topCerrar);
    connect(bBuscar, &QPushButton::clicked, this, [this] { bBuscar_Click(); });
    connect(bRestaurar, &QPushButton::clicked, this, [this] { bRestaurar_Click(); });
    connect(bCerrar, &QPushButton::clicked, this, [this] { bCerrar_Click(); });
    TeclasDeVentana(this, nullptr, bCerrar);
}

void fBuscarBase::Lista(int left, int top, int width, int height, const QStringList& titulos, const QVector<int>& anchos)
{
    lvw = new ListView(cuerpo_);
    lvw->setObjectName(QStringLiteral("lvw"));
    lvw->setColumns(titulos, anchos);
    ColocarTw(lvw, left, top, width, height);
    connect(lvw, &ListView::itemDblClick, this, [this](int) { lvw_DblClick(); });
    lvw->viewport()->installEventFilter(new DobleClicEnBlanco(lvw, this));
    // The list comes last: criteria, buttons, list.
    OrdenDeTabulacion({Controles(Frame1), {bBuscar, bRestaurar, bCerrar}, {lvw}});
}

void fBuscarBase::Etiqueta(const QString& texto, QWidget* caja)
{
    auto* l = new QLabel(texto, caja->parentWidget());
    l->adjustSize();
    l->move(caja->x(), caja->y() - l->height() - 1);
    etiquetas_.append({l, caja});
}

void fBuscarBase::AjustarEtiquetas()
{
    for (const auto& [l, caja] : etiquetas_) {
        int limite = caja->parentWidget()->width() - 4;
        for (const auto& par : etiquetas_) {
            QWidget* otra = par.second;
            if (otra != caja && qAbs(otra->y() - caja->y()) < caja->height() && otra->x() > caja->x())
                limite = qMin(limite, otra->x() - 4);
        }
        const int ancho = limite - caja->x();
        QFont f = l->font();
        while (l->sizeHint().width() > ancho && f.pointSizeF() > 6) {
            f.setPointSizeF(f.pointSizeF() - 0.5);
            l->setFont(f);
        }
        l->adjustSize();
        l->move(caja->x(), caja->y() - l->height() - 1);
    }
}

void fBuscarBase::bCerrar_Click() { CerrarVentana(this); }

void fBuscarBase::Cerrar() { CerrarVentana(this); }

QString fBuscarBase::CodigoSeleccionado() const
{
    const int i = lvw->selectedIndex();
    return i > 0 ? lvw->text(i) : QString();
}

bool fBuscarBase::HaySeleccion()
{
    if (lvw->selectedIndex() > 0)
        return true;
    MsgBox(QStringLiteral("No hay elemento seleccionado para efectuar esta acción."), MsgStyle::Exclamation, windowTitle());
    return false;
}

bool fBuscarBase::Numero(const QString& texto, const QString& nombre, QString& numero)
{
    if (IsPlainNumber(texto)) {
        numero = texto.trimmed();
        return true;
    }
    // The number the store would give a statement it cannot read: a type
    // mismatch.
    Err.Set(13, QStringLiteral("El criterio \"") + nombre
                    + QStringLiteral("\" debe ser un número escrito con cifras y punto decimal: ") + texto);
    ControlErrores();
    return false;
}

void fBuscarBase::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    const int mh = menu->sizeHint().height();
    menu->setGeometry(0, 0, width(), mh);
    const int h = sb->sizeHint().height();
    sb->setGeometry(0, height() - h, width(), h);
    cuerpo_->setGeometry(0, mh, width(), height() - mh - h);
    if (lvw)
        AjustarFormulario(sb, this, lvw);
}
