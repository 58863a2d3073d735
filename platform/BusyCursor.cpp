#include "BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace {

int guards = 0;
int lifts = 0;
bool shown = false;  // an override cursor of ours is on Qt's stack

bool gui() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr; }

// One cursor for all the guards: a guard inside another costs a count.
void follow()
{
    const bool wanted = guards > 0 && lifts == 0;
    if (wanted == shown || !gui())
        return;
    if (wanted)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    shown = wanted;
}

}  // namespace

BusyCursor::BusyCursor()
{
    ++guards;
    follow();
}

BusyCursor::~BusyCursor()
{
    --guards;
    follow();
}

int BusyCursor::depth() { return guards; }

BusyCursor::Lift::Lift()
{
    ++lifts;
    follow();
}

BusyCursor::Lift::~Lift()
{
    --lifts;
    follow();
}
