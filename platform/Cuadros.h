// The message boxes and the input prompt on the screen, and the wait
// cursor: the widget side of msgbox.h and BusyCursor.h.
#pragma once

// Sets the presenters; the program calls it once at start.
void InstalarCuadros();
