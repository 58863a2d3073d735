// Key filters of the input boxes (module mFunciones).
#pragma once

#include <QtGlobal>

class QWidget;

// Text boxes: with filtrar set, ! # ' * ? [ ] | are refused (KeyAscii is set
// to 0 and 0 comes back); otherwise the character comes back in upper case
// ("a" -> "A", "á" -> "Á", "ñ" -> "Ñ"), leaving KeyAscii as it was.
qint16 ValidarTeclaTexto(qint16& KeyAscii, bool filtrar);

// Numeric boxes: Backspace passes; digits pass (with soloDigitos False every
// code from 48 up passes); anything else, Enter included, sets KeyAscii to 0
// and returns 0.
qint16 ValidarTeclaNumero(qint16& KeyAscii, bool soloDigitos);

// Put a box under ValidarTeclaTexto(…, True) / ValidarTeclaNumero(…, True):
// typed, pasted and dropped characters are filtered; control keys (Enter,
// Tab, Backspace, Delete, arrows, Home) reach the box untouched, so a window
// handles Enter in its own key handler.
void FiltrarTeclasTexto(QWidget* box);
void FiltrarTeclasNumero(QWidget* box);
