#include "BusyCursor.h"

namespace {

int guards = 0;
int lifts = 0;
bool shown = false;  // the presenter shows the wait cursor
void (*presenter)(bool) = nullptr;

// One cursor for all the guards: a guard inside another costs a count.
void follow()
{
    const bool wanted = guards > 0 && lifts == 0;
    if (wanted == shown || !presenter)
        return;
    presenter(wanted);
    shown = wanted;
}

}  // namespace

void BusyCursor::setPresenter(void (*show)(bool wait))
{
    if (shown && presenter)
        presenter(false);
    shown = false;
    presenter = show;
    follow();
}

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
