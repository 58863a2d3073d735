// Starting the desktop's own programs: the calculator, the web browser and
// a system-information program. Nothing waits for them.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

namespace shell {

// Full path of the first of the programs found in the search path, or "".
QString FindProgram(const QStringList& names);

// The calculators and system-information programs looked for, in order.
QStringList CalculatorNames();
QStringList SysInfoNames();

// Starts the first calculator found; false when the machine has none.
bool StartCalculator();
// Starts the first system-information program found; false when none.
bool StartSysInfo();
// Opens a page in the user's web browser (or a local file with its viewer).
bool OpenUrl(const QUrl& url);

// Tests: where programs are looked for ({} restores PATH), and a starter
// that records instead of starting ({} restores the real one).
void SetSearchPathForTest(const QStringList& folders);
void SetStarterForTest(std::function<bool(const QString& program, const QStringList& args)> starter);

}  // namespace shell
