#include "Cuadros.h"

#include "BusyCursor.h"
#include "msgbox.h"

#include <QApplication>
#include <QCursor>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {

bool EsPregunta(MsgStyle s)
{
    return s == MsgStyle::Question || s == MsgStyle::ExclamationQuestion || s == MsgStyle::QuestionNoDefault;
}

MsgResult Mensaje(const QString& text, MsgStyle style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (style) {
    case MsgStyle::Plain: box.setIcon(QMessageBox::NoIcon); break;
    case MsgStyle::Exclamation:
    case MsgStyle::ExclamationQuestion: box.setIcon(QMessageBox::Warning); break;
    case MsgStyle::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgStyle::Information: box.setIcon(QMessageBox::Information); break;
    case MsgStyle::Question:
    case MsgStyle::QuestionNoDefault: box.setIcon(QMessageBox::Question); break;
    }
    if (EsPregunta(style)) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(style == MsgStyle::QuestionNoDefault ? QMessageBox::No : QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MsgResult::Yes : MsgResult::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgResult::Ok;
}

QString Entrada(const QString& prompt, const QString& title, const QString& defaultText, InputEcho echo)
{
    QInputDialog dlg(QApplication::activeWindow());
    dlg.setWindowTitle(title);
    dlg.setLabelText(prompt);
    dlg.setTextValue(defaultText);
    dlg.setInputMode(QInputDialog::TextInput);
    dlg.setTextEchoMode(echo == InputEcho::Masked ? QLineEdit::Password : QLineEdit::Normal);
    // Wide enough for the whole title beside the window's own buttons (the
    // dialog sizes itself to its box).
    QFont bold = dlg.font();
    bold.setBold(true);
    if (auto* box = dlg.findChild<QLineEdit*>())
        box->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(title) + 140);
    if (dlg.exec() != QDialog::Accepted)
        return QString();
    return dlg.textValue();
}

void Cursor(bool espera)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (espera)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
}

}  // namespace

void InstalarCuadros()
{
    cuadros::presentador() = {Mensaje, Entrada};
    BusyCursor::setPresenter(Cursor);
}
