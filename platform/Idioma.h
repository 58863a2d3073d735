// The program speaks Spanish whatever language the machine is set to: Qt's
// own dialogs through Qt's Spanish translations, the month and day names of
// calendars and file lists through a Spanish default locale. Nothing the
// program writes or reads goes through the default locale: its numbers,
// money and dates keep their fixed forms (textfmt.h).
#pragma once

#include <QLocale>

namespace idioma {

// The default locale the program takes: the system's when it is a Spanish
// one, else the Spanish of the Dominican Republic, whose decimal point and
// grouping are the program's own.
QLocale Elegido(const QLocale& sistema);

// Installs Qt's Spanish translations (once) and sets the default locale;
// false when the translations are not installed on the machine.
bool UsarEspanol();

}  // namespace idioma
