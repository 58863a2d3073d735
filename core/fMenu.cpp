#include "fMenu.h"

#include "frmContenedor.h"
#include "msgbox.h"
#include "vbrt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QPushButton>
#include <QStyle>

fMenu::fMenu(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("fMenu"));
    setWindowTitle(QStringLiteral("Menú"));
    auto* grid = new QGridLayout(this);
    int n = 0;
    auto boton = [&](const char* nombre, const QString& texto, QStyle::StandardPixmap pic, const char* abre) {
        auto* b = new QPushButton(QApplication::style()->standardIcon(pic), texto, this);
        b->setObjectName(QLatin1String(nombre));
        b->setIconSize(QSize(48, 48));
        b->setMinimumSize(150, 80);
        grid->addWidget(b, n / 3, n % 3);
        ++n;
        if (abre) {
            const QString item = QLatin1String(abre);
            connect(b, &QPushButton::clicked, this, [item] { Abrir(item); });
        }
        return b;
    };
    bAbrirfAdmArt = boton("bAbrirfAdmArt", QStringLiteral("Artículos"), QStyle::SP_FileDialogDetailedView, "articulos");
    bAbrirfAdmCli = boton("bAbrirfAdmCli", QStringLiteral("Clientes"), QStyle::SP_DirHomeIcon, "clientes");
    bAbrirfAdmProv = boton("bAbrirfAdmProv", QStringLiteral("Proveedores"), QStyle::SP_DirIcon, "proveedores");
    bAbrirfAdmVentas = boton("bAbrirfAdmVentas", QStringLiteral("Ventas"), QStyle::SP_FileIcon, "venta");
    bAbrirfAdmCompras = boton("bAbrirfAdmCompras", QStringLiteral("Compras"), QStyle::SP_FileLinkIcon, "compra");
    bAbrirfFact_xCobrar = boton("bAbrirfFact_xCobrar", QStringLiteral("Por cobrar"), QStyle::SP_ArrowDown, "cobrar");
    bAbrirfFact_xPagar = boton("bAbrirfFact_xPagar", QStringLiteral("Por pagar"), QStyle::SP_ArrowUp, "pagar");
    bAbrirfKardex = boton("bAbrirfKardex", QStringLiteral("Kardex"), QStyle::SP_FileDialogListView, "kardex");
    bOpciones = boton("bOpciones", QStringLiteral("Opciones"), QStyle::SP_FileDialogInfoView, "params");
    bSalir = boton("bSalir", QStringLiteral("Salir"), QStyle::SP_DialogCloseButton, nullptr);
    connect(bSalir, &QPushButton::clicked, this, &QWidget::close);
}

void fMenu::closeEvent(QCloseEvent* e)
{
    if (MsgBox(QStringLiteral("Está Seguro?"), MsgStyle::Question) == MsgResult::Yes) {
        EndProgram(0);
        e->accept();
        return;
    }
    e->ignore();
}
