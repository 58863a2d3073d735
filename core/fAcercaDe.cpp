#include "fAcercaDe.h"

#include "Shell.h"
#include "Twips.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>

fAcercaDe::fAcercaDe(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("fAcercaDe"));
    setWindowTitle(QStringLiteral("Acerca de Tarvik"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(TwipsToPixels(4875, 1545));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    const char* textos[3] = {"Tarvik 1.0 beta ", "Software para la Administración de Negocios", ""};
    const int tops[3] = {90, 390, 690};
    for (int i = 0; i < 3; ++i) {
        lblAcercaDe[i] = new QLabel(QString::fromUtf8(textos[i]), this);
        lblAcercaDe[i]->setObjectName(QStringLiteral("lblAcercaDe%1").arg(i));
        lblAcercaDe[i]->setGeometry(TwipsToPixelsX(180), TwipsToPixelsY(tops[i]), TwipsToPixelsX(4515), TwipsToPixelsY(300));
    }
    QFont titulo = lblAcercaDe[0]->font();
    titulo.setBold(true);
    lblAcercaDe[0]->setFont(titulo);

    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsToPixelsX(1080), TwipsToPixelsY(1050), TwipsToPixelsX(1215), TwipsToPixelsY(405));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&Info. del sistema..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(TwipsToPixelsX(2415), TwipsToPixelsY(1050), TwipsToPixelsX(2280), TwipsToPixelsY(405));
    cmdSysInfo->setAutoDefault(false);

    connect(cmdOK, &QPushButton::clicked, this, &fAcercaDe::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &fAcercaDe::cmdSysInfo_Click);
    // Escape presses Aceptar as well (QDialog's own Escape would only reject).
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, cmdOK, &QPushButton::click);
}

void fAcercaDe::cmdOK_Click() { CerrarVentana(this); }

void fAcercaDe::cmdSysInfo_Click() { StartSysInfo(); }

void fAcercaDe::StartSysInfo()
{
    if (shell::StartSysInfo())
        return;
    MsgBox(QStringLiteral("La información del sistema no está disponible en este momento"));
}

void fAcercaDe::Mostrar(QWidget* owner, bool modal)
{
    fAcercaDe& w = Ventana<fAcercaDe>();
    if (owner && w.parentWidget() != owner->window())
        w.setParent(owner->window(), w.windowFlags());
    if (owner) {
        const QRect r = owner->window()->frameGeometry();
        w.move(r.center() - QPoint(w.width() / 2, w.height() / 2));
    }
    if (!modal) {
        w.setModal(false);
        w.show();
        w.raise();
        w.activateWindow();
        return;
    }
    QPointer<fAcercaDe> guard(&w);
    w.exec();
    if (guard)
        CerrarVentana(guard);
}
