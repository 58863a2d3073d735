// The status line of a list window: one text panel whose width follows the
// window (the resize rule sets it). The text stays until it is rewritten;
// menu status tips do not wipe it.
//
// Any QStatusBar works with the free functions below: the panel (a QLabel
// named "Panel1") is added on first use. StatusBar just adds it up front.
#pragma once

#include <QStatusBar>

class QLabel;

QLabel* StatusPanel(QStatusBar* sb);
QString StatusText(const QStatusBar* sb);
void SetStatusText(QStatusBar* sb, const QString& text);
// Width of the first panel, in twips.
int StatusPanelWidth(const QStatusBar* sb);
void SetStatusPanelWidth(QStatusBar* sb, int twipsWidth);

class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    QString text() const { return StatusText(this); }
    void setText(const QString& text) { SetStatusText(this, text); }
    int panelWidth() const { return StatusPanelWidth(this); }
    void setPanelWidth(int twipsWidth) { SetStatusPanelWidth(this, twipsWidth); }
    QLabel* panel() { return StatusPanel(this); }
};
