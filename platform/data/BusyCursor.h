// The wait cursor while work that may take more than a moment runs, put
// back when the guard goes, on every path. Guards nest. A message box or
// prompt shown meanwhile lifts the cursor until it closes.
#pragma once

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Guards alive now.
    static int depth();

    // Who shows the cursor: the widget kit (InstalarCuadros). Without one
    // the guards only count.
    static void setPresenter(void (*show)(bool wait));

    // While one lives, no busy cursor shows.
    class Lift {
    public:
        Lift();
        ~Lift();
        Lift(const Lift&) = delete;
        Lift& operator=(const Lift&) = delete;
    };
};
