// Character filters on input boxes. Every printable character that reaches
// the box by typing, pasting (keys, context menu, middle button) or
// dropping passes through the map; control keys (Enter, Tab, Backspace,
// Delete, arrows, Home, End, Escape, shortcuts with Ctrl) are never
// touched, so the box's own handlers still see them. Text the program sets
// is left as it is, but for a line box's cut at its limit, which drops a
// character it would split.
#pragma once

#include <functional>

class QWidget;

// Returns the character code to insert in place of code, or 0 to drop it.
using KeyMap = std::function<int(int code)>;

// Works on a line edit, an editable combo box, a plain or rich text edit.
// The filter lives as long as the box.
void InstallKeyFilter(QWidget* box, KeyMap map);

// Keeps control characters, and the marks that turn the direction of the
// text, out of a box that has no filter of its own (nor a validator):
// whatever a user types, pastes or drops.
void KeepControlsOut(QWidget* box);

// From now on every line box and plain-text box of the program gets
// KeepControlsOut when it is first shown, after its window installed its
// own filters.
void KeepControlsOutOfEveryBox();
