// Fixtures of the catalog tests at the windows: a workspace standing in for
// the main window, typed keys, the Tab order and a window's controls.
#pragma once

#include "Catalogos.h"
#include "Foco.h"
#include "mVentanas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>
#include <memory>

namespace fx {

// The main window's workspace: child windows open in it and their
// activation is what reloads a list.
struct Escritorio {
    std::unique_ptr<QMdiArea> area{new QMdiArea};
    Escritorio()
    {
        area->resize(1400, 900);
        area->show();
        area->activateWindow();
        ventanas::setWorkspace(area.get());
        QVERIFY(QTest::qWaitForWindowActive(area.get()));
    }
    ~Escritorio()
    {
        area->closeAllSubWindows();
        QApplication::processEvents();
        ventanas::setWorkspace(nullptr);
    }
    void activar(QWidget* w)
    {
        for (QMdiSubWindow* s : area->subWindowList())
            if (s->widget() == w)
                area->setActiveSubWindow(s);
        QApplication::processEvents();
    }
};

// Types text character by character as key events, accented letters too.
inline void teclas(QWidget* w, const QString& texto)
{
    for (QChar c : texto) {
        const int key = c.toUpper().unicode() < 128 ? c.toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

using foco::ordenDeTab;

template <class W>
W* hijo(QWidget* w, const QString& nombre)
{
    W* c = w->findChild<W*>(nombre);
    if (!c)
        qFatal("no control %s", qPrintable(nombre));
    return c;
}

}  // namespace fx
