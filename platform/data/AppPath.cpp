#include "AppPath.h"

#include <QCoreApplication>

static QString& overridePath()
{
    static QString p;
    return p;
}

QString AppPath()
{
    if (!overridePath().isEmpty())
        return overridePath();
    return QCoreApplication::applicationDirPath();
}

void SetAppPath(const QString& folder) { overridePath() = folder; }
