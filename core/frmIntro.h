// Start-up window: shown first, it leads to the sign-in window on the
// timer's first tick, a click or Enter, whichever comes first.
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

class frmIntro : public QWidget {
    Q_OBJECT
public:
    explicit frmIntro(QWidget* parent = nullptr);

    QLabel* Label1;
    QLabel* Label2;
    QTimer* Timer1;

    void Form_Load();
    void Form_Click();
    void Form_KeyPress(int KeyAscii);
    void Timer1_Timer();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    // Shows the sign-in window and closes this one, once.
    void Salir();
    bool salido_ = false;
};
