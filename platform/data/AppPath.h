// The program's own folder: where the local store file, the report folder
// and the picture folders live.
#pragma once

#include <QString>

QString AppPath();
// Tests point the program at a folder of their own; "" restores the real one.
void SetAppPath(const QString& folder);
