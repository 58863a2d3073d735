#include "boxes.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

QString BoxText(const QWidget* box)
{
    if (!box)
        return QString();
    if (auto* e = qobject_cast<const QLineEdit*>(box))
        return e->text();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(box))
        return e->toPlainText();
    if (auto* e = qobject_cast<const QTextEdit*>(box))
        return e->toPlainText();
    if (auto* c = qobject_cast<const QComboBox*>(box))
        return c->currentText();
    if (auto* l = qobject_cast<const QLabel*>(box))
        return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(box))
        return b->text();
    return QString();
}

namespace {

// A line box cuts what it is given at its limit, in UTF-16 units: the cut
// falls before a character it would split.
QString withinLimit(const QString& text, const QLineEdit* line)
{
    qsizetype n = line ? line->maxLength() : text.size();
    if (n >= text.size())
        return text;
    if (n > 0 && text.at(n - 1).isHighSurrogate() && text.at(n).isLowSurrogate())
        --n;
    return text.left(n);
}

}  // namespace

void SetBoxText(QWidget* box, const QString& text)
{
    if (!box)
        return;
    if (auto* e = qobject_cast<QLineEdit*>(box))
        e->setText(withinLimit(text, e));
    else if (auto* e = qobject_cast<QPlainTextEdit*>(box))
        e->setPlainText(text);
    else if (auto* e = qobject_cast<QTextEdit*>(box))
        e->setPlainText(text);
    else if (auto* c = qobject_cast<QComboBox*>(box)) {
        if (c->isEditable())
            c->setEditText(withinLimit(text, c->lineEdit()));
        else
            c->setCurrentText(text);
    } else if (auto* l = qobject_cast<QLabel*>(box))
        l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(box))
        b->setText(text);
}
