#include "frmIntro.h"

#include "Twips.h"
#include "fSplash.h"
#include "mVentanas.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

frmIntro::frmIntro(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmIntro"));
    setWindowTitle(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(TwipsToPixels(8220, 5010));
    setFocusPolicy(Qt::StrongFocus);

    Label1 = new QLabel(QStringLiteral("Tarvik 1.0 Beta"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f1(QStringLiteral("Arial"));
    f1.setPointSizeF(twips::designPoints(20.25));
    f1.setBold(true);
    Label1->setFont(f1);
    Label1->setGeometry(TwipsToPixelsX(480), TwipsToPixelsY(3360), TwipsToPixelsX(7260), TwipsToPixelsY(600));

    // The tag line alone: the program has no web page of its own.
    Label2 = new QLabel(QStringLiteral("Software para la Administración de Negocios"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont f2(QStringLiteral("Arial"));
    f2.setPointSizeF(twips::designPoints(9.75));
    f2.setBold(true);
    Label2->setFont(f2);
    Label2->setGeometry(TwipsToPixelsX(480), TwipsToPixelsY(4080), TwipsToPixelsX(7260), TwipsToPixelsY(360));

    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(pal);
    Label2->setPalette(pal);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    Timer1->setSingleShot(false);
    connect(Timer1, &QTimer::timeout, this, &frmIntro::Timer1_Timer);

    Form_Load();
}

void frmIntro::Form_Load()
{
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        const QRect r = s->geometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
    Timer1->start();
}

void frmIntro::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    activateWindow();
    setFocus();
}

void frmIntro::Form_Click() { Salir(); }

void frmIntro::Form_KeyPress(int KeyAscii)
{
    if (KeyAscii == 13)
        Salir();
}

void frmIntro::Timer1_Timer() { Salir(); }

void frmIntro::Salir()
{
    if (salido_)
        return;
    salido_ = true;
    Timer1->stop();
    // The sign-in window is up before this one closes, so the program never
    // finds itself without a window.
    fSplash& s = Ventana<fSplash>();
    s.show();
    s.raise();
    s.activateWindow();
    CerrarVentana(this);
}

void frmIntro::mouseReleaseEvent(QMouseEvent* e)
{
    QWidget::mouseReleaseEvent(e);
    Form_Click();
}

void frmIntro::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        Form_KeyPress(13);
    else
        QWidget::keyPressEvent(e);
}

void frmIntro::paintEvent(QPaintEvent*)
{
    // The background picture: a deep blue shading with a light band.
    QPainter p(this);
    QLinearGradient g(0, 0, width(), height());
    g.setColorAt(0.0, QColor(10, 36, 84));
    g.setColorAt(0.6, QColor(24, 78, 150));
    g.setColorAt(1.0, QColor(8, 28, 66));
    p.fillRect(rect(), g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawEllipse(QPoint(width() * 3 / 4, height() / 3), width() / 3, width() / 3);
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawEllipse(QPoint(width() / 5, height() / 4), width() / 6, width() / 6);
}
