#include "Toolbar.h"

#include <QToolButton>

Toolbar::Toolbar(QWidget* parent) : QToolBar(parent)
{
    setMovable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
}

QAction* Toolbar::addButton(const QString& key, const QString& text, const QIcon& icon)
{
    QAction* a = addAction(icon, text);
    a->setData(key);
    if (QWidget* w = widgetForAction(a))
        w->setObjectName(key);
    connect(a, &QAction::triggered, this, [this, key] { emit buttonClick(key); });
    return a;
}

QAction* Toolbar::button(const QString& key) const
{
    for (QAction* a : actions())
        if (a->data().toString() == key)
            return a;
    return nullptr;
}

QStringList Toolbar::keys() const
{
    QStringList k;
    for (QAction* a : actions())
        if (!a->isSeparator())
            k << a->data().toString();
    return k;
}
