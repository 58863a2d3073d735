#include "mCatalogos.h"

#include "AppPath.h"
#include "FileDialog.h"
#include "Twips.h"
#include "fAdmArt.h"
#include "fAdmTerceros.h"
#include "fAcercaDe.h"
#include "fKardex.h"
#include "frmContenedor.h"
#include "mFuncionesCajas.h"
#include "mFunciones_listas.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <algorithm>


int Tw(int twips) { return TwipsToPixelsX(twips); }

void ColocarTw(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                   height < 0 ? w->sizeHint().height() : TwipsToPixelsY(height));
}

bool CargarImagen(QLabel* imagen, const QString& ruta)
{
    if (ruta.isEmpty()) {
        imagen->clear();
        return true;
    }
    QPixmap p;
    if (!p.load(ruta))
        return false;
    imagen->setPixmap(p);
    return true;
}

QString CarpetaImagenes(const QString& sub)
{
    return QDir(AppPath()).filePath(QStringLiteral("Imagenes/") + sub);
}

QString ElegirImagen(QWidget* parent, const QString& carpeta)
{
    CommonDialog CajaDeDialogo;
    CajaDeDialogo.InitDir = carpeta;
    CajaDeDialogo.ShowOpen(parent);
    return CajaDeDialogo.FileName;
}

void FiltrarTeclas(QWidget* box, bool soloDigitos)
{
    if (soloDigitos)
        FiltrarTeclasNumero(box);
    else
        FiltrarTeclasTexto(box);
}

QList<QWidget*> Controles(QWidget* contenedor)
{
    QList<QWidget*> out;
    for (QWidget* w : contenedor->findChildren<QWidget*>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(contenedor))
            continue;
        bool parte = false;  // the edit box of a combo, a list's viewport...
        for (QWidget* p = w->parentWidget(); p && p != contenedor && !parte; p = p->parentWidget())
            parte = qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractScrollArea*>(p);
        if (!parte)
            out.append(w);
    }
    return out;
}

void OrdenDeTabulacion(const QList<QList<QWidget*>>& bloques)
{
    QWidget* anterior = nullptr;
    for (QList<QWidget*> b : bloques) {
        if (b.isEmpty())
            continue;
        QWidget* ventana = b.first()->window();
        auto arriba = [ventana](QWidget* w) { return w->mapTo(ventana, QPoint()); };
        std::stable_sort(b.begin(), b.end(), [&](QWidget* x, QWidget* y) { return arriba(x).y() < arriba(y).y(); });
        const int fila = Tw(200);
        for (int i = 0; i < b.size();) {
            int j = i + 1;
            while (j < b.size() && arriba(b[j]).y() - arriba(b[i]).y() < fila)
                ++j;
            std::stable_sort(b.begin() + i, b.begin() + j, [&](QWidget* x, QWidget* y) { return arriba(x).x() < arriba(y).x(); });
            i = j;
        }
        for (QWidget* w : b) {
            if (anterior)
                QWidget::setTabOrder(anterior, w);
            anterior = w;
        }
    }
}

void RechazarCodigoDuplicado()
{
    Err.Set(3022, QStringLiteral("El código pertenece a otro registro"));
    ControlErrores();
    MsgBox(QStringLiteral("Error en Update de la Función DatosActualizados en el módulo 'mFunciones'"));
}

void MostrarAcercaDe()
{
    fAcercaDe::Mostrar(QApplication::activeWindow(), false);
}

// ---- activation ----

namespace {

// Remembers the last child window that was active, so that only a change of
// active child counts as an activation. A message box closing hands the
// activation back to the same child, which is no change.
class Activaciones : public QObject {
public:
    explicit Activaciones(QMdiArea* area) : QObject(area)
    {
        setObjectName(QStringLiteral("tarvik_activaciones"));
        last_ = area->activeSubWindow();
        connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
            if (!sub || sub == last_)
                return;
            last_ = sub;
            if (auto* v = dynamic_cast<VentanaActivable*>(sub->widget()))
                v->alActivar();
        });
    }
private:
    QPointer<QMdiSubWindow> last_;
};

}  // namespace

void VigilarActivacion(QWidget* ventana)
{
    auto* area = qobject_cast<QMdiArea*>(ventanas::workspace());
    if (!area || area->findChild<QObject*>(QStringLiteral("tarvik_activaciones"), Qt::FindDirectChildrenOnly))
        return;
    // Closing a properties window hands the activation back to the window
    // it came from (the list, which then reloads), not to the oldest child.
    area->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    new Activaciones(area);
    Q_UNUSED(ventana);
}

// ---- Enter and Escape ----

namespace {

class Teclas : public QObject {
public:
    Teclas(QWidget* v, QAbstractButton* def, QAbstractButton* cancel)
        : QObject(v), ventana_(v), defecto_(def), cancelar_(cancel)
    {
    }

    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
            return false;
        QWidget* foco = QApplication::focusWidget();
        if (k->key() == Qt::Key_Escape) {
            if (cancelar_ && cancelar_->isEnabled()) {
                cancelar_->click();
                return true;
            }
            return false;
        }
        if (k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter)
            return false;
        // A line break in the multi-line boxes.
        if (qobject_cast<QPlainTextEdit*>(foco) || qobject_cast<QTextEdit*>(foco))
            return false;
        if (auto* b = qobject_cast<QAbstractButton*>(foco); b && b->isEnabled() && ventana_->isAncestorOf(b)) {
            b->click();
            return true;
        }
        if (defecto_ && defecto_->isEnabled()) {
            defecto_->click();
            return true;
        }
        return false;
    }

private:
    QWidget* ventana_;
    QPointer<QAbstractButton> defecto_, cancelar_;
};

}  // namespace

void TeclasDeVentana(QWidget* ventana, QAbstractButton* porDefecto, QAbstractButton* cancelar)
{
    ventana->installEventFilter(new Teclas(ventana, porDefecto, cancelar));
}

// ---- main window ----

void AbrirAdmArticulos() { MostrarHija(&Ventana<fAdmArt>()); }
void AbrirAdmClientes() { MostrarHija(&Ventana<fAdmCli>()); }
void AbrirAdmProveedores() { MostrarHija(&Ventana<fAdmProv>()); }
void AbrirKardex() { MostrarHija(&Ventana<fKardex>()); }

void RegistrarMenusCatalogos()
{
    RegistrarAbridor(QStringLiteral("articulos"), AbrirAdmArticulos);
    RegistrarAbridor(QStringLiteral("clientes"), AbrirAdmClientes);
    RegistrarAbridor(QStringLiteral("proveedores"), AbrirAdmProveedores);
    RegistrarAbridor(QStringLiteral("kardex"), AbrirKardex);
}
