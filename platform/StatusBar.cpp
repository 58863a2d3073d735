#include "StatusBar.h"

#include "Twips.h"

#include <QLabel>

static const char* const kPanel = "Panel1";
static const char* const kWidth = "panelWidthTwips";

static QLabel* existingPanel(const QStatusBar* sb)
{
    return sb ? sb->findChild<QLabel*>(QLatin1String(kPanel), Qt::FindDirectChildrenOnly) : nullptr;
}

QLabel* StatusPanel(QStatusBar* sb)
{
    if (!sb)
        return nullptr;
    if (QLabel* p = existingPanel(sb))
        return p;
    auto* p = new QLabel(sb);
    p->setObjectName(QLatin1String(kPanel));
    // The panel must never hold the window wider than the user drags it.
    p->setMinimumWidth(1);
    p->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    sb->addWidget(p, 1);
    return p;
}

QString StatusText(const QStatusBar* sb)
{
    const QLabel* p = existingPanel(sb);
    return p ? p->text() : QString();
}

void SetStatusText(QStatusBar* sb, const QString& text)
{
    if (QLabel* p = StatusPanel(sb))
        p->setText(text);
}

int StatusPanelWidth(const QStatusBar* sb) { return sb ? sb->property(kWidth).toInt() : 0; }

void SetStatusPanelWidth(QStatusBar* sb, int twipsWidth)
{
    QLabel* p = StatusPanel(sb);
    if (!p)
        return;
    sb->setProperty(kWidth, twipsWidth);
    p->setMaximumWidth(qMax(1, TwipsToPixelsX(twipsWidth)));
}

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    StatusPanel(this);
}
