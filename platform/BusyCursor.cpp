#include "BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace {

int guards = 0;
int shown = 0;  // override cursors of ours on Qt's stack

bool gui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

void push()
{
    if (gui()) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        ++shown;
    }
}

void pop()
{
    if (shown > 0 && gui()) {
        QGuiApplication::restoreOverrideCursor();
        --shown;
    }
}

}  // namespace

BusyCursor::BusyCursor()
{
    ++guards;
    push();
}

BusyCursor::~BusyCursor()
{
    --guards;
    pop();
}

int BusyCursor::depth() { return guards; }

BusyCursor::Lift::Lift()
{
    while (shown > 0) {
        pop();
        ++lifted_;
    }
}

BusyCursor::Lift::~Lift()
{
    // Only the guards still alive get their cursor back.
    for (int i = 0; i < lifted_ && shown < guards; ++i)
        push();
}
