#include "FileDialog.h"

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
    if (responder())
        chosen = responder()(InitDir);
    else
        chosen = QFileDialog::getOpenFileName(parent, QStringLiteral("Abrir"), InitDir);
    if (chosen.isEmpty())
        return;
    FileName = QFileInfo(chosen).absoluteFilePath();
}
