// A toolbar of keyed buttons: each button carries a key, a text and a
// picture, and a click reports the key.
#pragma once

#include <QIcon>
#include <QToolBar>

class Toolbar : public QToolBar {
    Q_OBJECT
public:
    explicit Toolbar(QWidget* parent = nullptr);

    // Appends a button; its tool button gets the key as object name.
    QAction* addButton(const QString& key, const QString& text, const QIcon& icon = QIcon());
    QAction* button(const QString& key) const;  // nullptr when absent
    QStringList keys() const;                   // in display order

signals:
    void buttonClick(const QString& key);
};
