// The file-open dialog used to pick pictures: an initial folder, no type
// filter, and the chosen file's full path afterwards.
#pragma once

#include <QString>
#include <functional>

class QFileDialog;
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

// Makes d Qt's own dialog rather than the desktop's, so that it speaks the
// program's language (Idioma.h): dates with the default locale's month
// names, where it would take the system's, the files' types in it too, and
// columns that show their titles and dates whole, all in sight.
void PrepararDialogoArchivos(QFileDialog& d);
