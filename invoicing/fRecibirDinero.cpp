#include "fRecibirDinero.h"

#include "Twips.h"
#include "mCatalogos.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

fRecibirDinero::fRecibirDinero(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fRecibirDinero"));
    setWindowTitle(QStringLiteral("Cambio $"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(Tw(3885), Tw(2250));

    auto* imagen = new QLabel(this);
    imagen->setObjectName(QStringLiteral("Image1"));
    // Drawn once: the dialog opens with every sale.
    static const QPixmap icono = QApplication::style()->standardIcon(QStyle::SP_DialogApplyButton).pixmap(32, 32);
    imagen->setPixmap(icono);
    ColocarTw(imagen, 120, 120, 600, 600);

    Label3 = new QLabel(QStringLiteral("Confirme el dinero que recibe :"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    ColocarTw(Label3, 840, 180, 2900, 300);

    auto* linea1 = new QFrame(this);
    linea1->setObjectName(QStringLiteral("Line1"));
    linea1->setFrameShape(QFrame::HLine);
    ColocarTw(linea1, 120, 600, 3600, 30);

    auto etiqueta = [this](const QString& texto, int top, bool negrita) {
        auto* l = new QLabel(texto, this);
        QFont f = l->font();
        f.setBold(negrita);
        l->setFont(f);
        ColocarTw(l, 120, top, 1300, 315);
        return l;
    };
    auto caja = [this](const char* nombre, int top, int tamano) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(nombre));
        e->setAlignment(Qt::AlignRight);
        QFont f = e->font();
        f.setBold(true);
        if (tamano)
            f.setPointSize(tamano);
        e->setFont(f);
        ColocarTw(e, 1440, top, 2280, tamano ? 420 : 315);
        return e;
    };
    etiqueta(QStringLiteral("Efectivo $ "), 720, true);
    tEfectivo = caja("tEfectivo", 720, 0);
    etiqueta(QStringLiteral("TOTAL $ "), 1080, false);
    tTotal = caja("tTotal", 1080, 0);
    tTotal->setReadOnly(true);
    tTotal->setFocusPolicy(Qt::NoFocus);

    auto* linea2 = new QFrame(this);
    linea2->setObjectName(QStringLiteral("Line2"));
    linea2->setFrameShape(QFrame::HLine);
    ColocarTw(linea2, 120, 1420, 3600, 30);

    etiqueta(QStringLiteral("Cambio $ "), 1500, false);
    tCambio = caja("tCambio", 1470, 12);
    // The large figures, small enough that the shortfall shows whole.
    QFont fc = tCambio->font();
    fc.setPointSizeF(twips::designPoints(12));
    while (QFontMetrics(fc).horizontalAdvance(QStringLiteral("Efectivo Insuficiente")) > tCambio->width() - 10
           && fc.pointSizeF() > 8)
        fc.setPointSizeF(fc.pointSizeF() - 0.5);
    tCambio->setFont(fc);
    tCambio->setReadOnly(true);
    tCambio->setFocusPolicy(Qt::NoFocus);

    bCerrar = new QPushButton(QStringLiteral("Esc - Cerrar"), this);
    bCerrar->setObjectName(QStringLiteral("bCerrar"));
    bCerrar->setAutoDefault(false);
    ColocarTw(bCerrar, 2400, 1920, 1320, 300);
    bCerrar->move(bCerrar->x(), height() - bCerrar->height() - 4);
    connect(bCerrar, &QPushButton::clicked, this, [this] { reject(); });

    tEfectivo->installEventFilter(this);
}

void fRecibirDinero::Mostrar(const QString& monto, QWidget* parent)
{
    fRecibirDinero d(parent);
    d.tTotal->setText(monto);
    if (alMostrar)
        QTimer::singleShot(0, &d, [&d] { alMostrar(d); });
    d.exec();
}

bool fRecibirDinero::eventFilter(QObject* o, QEvent* e)
{
    if (o == tEfectivo && e->type() == QEvent::FocusOut)
        tEfectivo_LostFocus();
    return QDialog::eventFilter(o, e);
}

void fRecibirDinero::tEfectivo_LostFocus()
{
    const double total = Val(tTotal->text());
    const double efectivo = Val(tEfectivo->text());
    if (total <= efectivo)
        tCambio->setText(NumText(efectivo - total));
    else
        tCambio->setText(QStringLiteral("Efectivo Insuficiente"));
}

bool fRecibirDinero::PuedeCerrar()
{
    if (Val(tTotal->text()) > Val(tEfectivo->text())) {
        MsgBox(QStringLiteral("Efectivo Insuficiente"), MsgStyle::Exclamation);
        return false;
    }
    return true;
}

// Escape, the button and accept all end here.
void fRecibirDinero::done(int r)
{
    if (!PuedeCerrar())
        return;
    QDialog::done(r);
}
