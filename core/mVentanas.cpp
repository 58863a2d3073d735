#include "mVentanas.h"

#include <QApplication>
#include <QHash>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

namespace {
QHash<std::type_index, QPointer<QWidget>>& registry()
{
    static QHash<std::type_index, QPointer<QWidget>> r;
    return r;
}
QPointer<QWidget> gWorkspace;
}  // namespace

namespace ventanas {
QWidget* find(std::type_index t)
{
    auto it = registry().find(t);
    if (it == registry().end())
        return nullptr;
    return it.value().data();
}
void remember(std::type_index t, QWidget* w) { registry()[t] = w; }
void setWorkspace(QWidget* mdiArea) { gWorkspace = mdiArea; }
QWidget* workspace() { return gWorkspace.data(); }
}  // namespace ventanas

static QMdiSubWindow* subWindowOf(QWidget* w)
{
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* s = qobject_cast<QMdiSubWindow*>(p))
            return s;
    return nullptr;
}

// A new child window where the workspace places it, moved back inside when
// that runs past an edge (the top left corner stays visible).
static void DentroDelArea(QMdiSubWindow* sub, const QRect& area)
{
    QRect r = sub->geometry();
    if (area.contains(r))
        return;
    r.moveLeft(qMax(area.left(), qMin(r.left(), area.right() + 1 - r.width())));
    r.moveTop(qMax(area.top(), qMin(r.top(), area.bottom() + 1 - r.height())));
    sub->move(r.topLeft());
}

void MostrarHija(QWidget* w)
{
    auto* area = qobject_cast<QMdiArea*>(ventanas::workspace());
    bool nueva = false;
    if (area && !subWindowOf(w)) {
        auto* sub = area->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        w->setAttribute(Qt::WA_DeleteOnClose);
        nueva = true;
    }
    if (auto* sub = subWindowOf(w)) {
        sub->show();
        sub->showNormal();
        if (nueva) {
            DentroDelArea(sub, area->viewport()->rect());
            // A window that settles its frame when first shown grows after
            // the workspace placed it.
            QPointer<QMdiSubWindow> s(sub);
            QTimer::singleShot(0, area, [s, area] {
                if (s)
                    DentroDelArea(s, area->viewport()->rect());
            });
        }
        area->setActiveSubWindow(sub);
        w->show();
    } else {
        w->show();
        w->raise();
        w->activateWindow();
    }
}

void CerrarVentana(QWidget* w)
{
    if (!w)
        return;
    // Forget it first: a Ventana<W>() right after must not hand out the
    // dying instance.
    for (auto it = registry().begin(); it != registry().end(); ++it)
        if (it.value() == w)
            it.value() = nullptr;
    QPointer<QWidget> guard(w);
    if (auto* sub = subWindowOf(w)) {
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->close();
        return;
    }
    w->close();
    if (guard)
        w->deleteLater();
}

void PonerIconoDelPrograma()
{
    Q_INIT_RESOURCE(core);
    QIcon icono;
    for (int lado : {16, 32, 64})
        icono.addFile(QStringLiteral(":/tarvik/iconos/tarvik-%1.png").arg(lado), QSize(lado, lado));
    QApplication::setWindowIcon(icono);
}
