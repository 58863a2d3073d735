#include "FileDialog.h"

#include "AppPath.h"

#include <QFileDialog>
#include <QFileInfo>

static std::function<QString(const QString&)>& responder()
{
    static std::function<QString(const QString&)> r;
    return r;
}

void CommonDialog::setResponderForTest(std::function<QString(const QString&)> r) { responder() = std::move(r); }

void CommonDialog::ShowOpen(QWidget* parent)
{
    QString chosen;
    if (responder()) {
        chosen = responder()(InitDir);
    } else {
        // A folder that is missing would open the current one with its name
        // typed as the file's.
        QFileDialog d(parent, QStringLiteral("Abrir"), QFileInfo(InitDir).isDir() ? InitDir : AppPath());
        d.setFileMode(QFileDialog::ExistingFile);
        if (d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty())
            chosen = d.selectedFiles().first();
    }
    if (chosen.isEmpty())
        return;
    FileName = QFileInfo(chosen).absoluteFilePath();
}
