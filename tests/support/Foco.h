// The focus as a keyboard user meets it.
#pragma once

#include <QStringList>
#include <QWidget>

namespace foco {

// The controls Tab visits in w, by objectName, read from the focus chain
// (the edit box inside a combo stands for its combo).
inline QStringList ordenDeTab(QWidget* w)
{
    QStringList out;
    QWidget* x = w;
    do {
        x = x->nextInFocusChain();
        if (x == w || !w->isAncestorOf(x) || !(x->focusPolicy() & Qt::TabFocus) || !x->isVisibleTo(w))
            continue;
        if (x->parentWidget() && x->parentWidget()->inherits("QComboBox"))
            continue;
        out << x->objectName();
    } while (x != w);
    return out;
}

}  // namespace foco
