#include "mSubRutinas.h"

#include "BusyCursor.h"
#include "ListView.h"
#include "StatusBar.h"
#include "Twips.h"
#include "mFuncionesCajas.h"
#include "msgbox.h"

#include <QLayout>
#include <QMdiSubWindow>

void LlenarListView(const QString& sql, ListView* lvw, QStatusBar* sb)
{
    const BusyCursor espera;  // lists can hold 100,000 rows
    if (!AbrirRecordset(sql))
        return;
    SetStatusText(sb, QString());
    ado::Recordset& rs = *gRecordset;
    if (rs.RecordCount() < 1) {
        lvw->clear();
        return;
    }
    rs.MoveFirst();
    lvw->clear();
    // The list shows the result's own rows, every row and column of it, in
    // one step: nothing is copied, and adding rows one by one would make the
    // view lay out after every row. The result ends past its last row, as
    // after reading each one.
    const long total = rs.RecordCount();
    lvw->setRows(rs.rows(), rs.FieldCount());
    rs.setAbsolutePosition(total + 1);
    gIndice = double(total) + 1;
    SetStatusText(sb, QString::number(qint64(gIndice - 1)) + QStringLiteral(" elemento(s) encontrado(s)"));
}

void EliminarDeListViewAdm(ListView* lvw, int indice, const QString& sql)
{
    Err.Clear();
    if (AbrirRecordset(sql)) {
        const bool borrado = Trap([&] { gRecordset->Delete(); });
        // Only a row that is really gone leaves the list.
        if (borrado) {
            if (indice >= 1 && indice <= lvw->count())
                lvw->remove(indice);
            else
                Err.Set(35600, QStringLiteral("Índice fuera de los límites"));
        }
    }
    if (!ControlErrores())
        MsgBox(QStringLiteral("Error en rutina EliminarDeListViewAdm en el módulo 'mSubRutinas'"));
}

static QMdiSubWindow* subWindowOf(QWidget* w)
{
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* s = qobject_cast<QMdiSubWindow*>(p))
            return s;
    return nullptr;
}

void AjustarFormulario(QStatusBar* sb, QWidget* window, ListView* lvw)
{
    // Sizes are those of the window's outer frame, as the user drags it.
    QMdiSubWindow* sub = subWindowOf(window);
    QWidget* frame = sub ? static_cast<QWidget*>(sub) : window;
    const QSize outer = sub ? sub->size() : (window->isWindow() ? window->frameGeometry().size() : window->size());
    const QSize extra = outer - frame->size();  // borders of a top-level window
    int w = PixelsToTwipsX(outer.width());
    int h = PixelsToTwipsY(outer.height());

    SetStatusPanelWidth(sb, w);
    if (frame->isMinimized())
        return;

    if (w < 8950 || h < 3750) {
        w = qMax(w, 8950);
        h = qMax(h, 3750);
        const QSize px(TwipsToPixelsX(w), TwipsToPixelsY(h));
        frame->resize(px - extra);
    }

    if (QWidget* holder = lvw->parentWidget(); holder && holder->layout())
        return;
    const int top = PixelsToTwipsY(lvw->y());
    const int listW = qMax(0, w - 150);
    const int listH = qMax(0, h - top - PixelsToTwipsY(sb->height()) - 700);
    lvw->resize(TwipsToPixelsX(listW), TwipsToPixelsY(listH));
}
