#include "Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace shell {

namespace {
QStringList& searchPath()
{
    static QStringList p;
    return p;
}
std::function<bool(const QString&, const QStringList&)>& starter()
{
    static std::function<bool(const QString&, const QStringList&)> s;
    return s;
}
bool start(const QString& program)
{
    if (program.isEmpty())
        return false;
    if (starter())
        return starter()(program, {});
    return QProcess::startDetached(program, {});
}
}  // namespace

void SetSearchPathForTest(const QStringList& folders) { searchPath() = folders; }

void SetStarterForTest(std::function<bool(const QString&, const QStringList&)> s) { starter() = std::move(s); }

QString FindProgram(const QStringList& names)
{
    for (const QString& n : names) {
        const QString p = searchPath().isEmpty() ? QStandardPaths::findExecutable(n)
                                                 : QStandardPaths::findExecutable(n, searchPath());
        if (!p.isEmpty())
            return p;
    }
    return QString();
}

QStringList CalculatorNames()
{
    return {QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"), QStringLiteral("mate-calc"),
            QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"), QStringLiteral("qalculate-qt"),
            QStringLiteral("speedcrunch"), QStringLiteral("xcalc")};
}

QStringList SysInfoNames()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("mate-system-monitor")};
}

bool StartCalculator() { return start(FindProgram(CalculatorNames())); }

bool StartSysInfo() { return start(FindProgram(SysInfoNames())); }

bool OpenUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace shell
