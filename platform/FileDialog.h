// The file-open dialog used to pick pictures: an initial folder, no type
// filter, and the chosen file's full path afterwards.
#pragma once

#include <QString>
#include <functional>

class QWidget;

class CommonDialog {
public:
    QString InitDir;   // a folder that does not exist opens the program's
    QString FileName;  // unchanged when the user cancels

    void ShowOpen(QWidget* parent = nullptr);

    // While set, no dialog shows: the responder gets InitDir and returns the
    // chosen path, or "" for Cancel.
    static void setResponderForTest(std::function<QString(const QString& initDir)> responder);
};
