// The input boxes of a record window, as one indexed array.
#pragma once

#include <QString>
#include <QVector>

class QWidget;

using BoxArray = QVector<QWidget*>;

// Text of a line edit, multi-line edit, combo box, label or button.
QString BoxText(const QWidget* box);
void SetBoxText(QWidget* box, const QString& text);
