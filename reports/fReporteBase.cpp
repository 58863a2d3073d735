#include "fReporteBase.h"

#include "Twips.h"
#include "WebBrowser.h"
#include "mVentanas.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

std::function<void(fReporteBase&)> fReporteBase::alMostrar;

static QRect twipsRect(int l, int t, int w, int h)
{
    return QRect(TwipsToPixelsX(l), TwipsToPixelsY(t), TwipsToPixelsX(w), TwipsToPixelsY(h));
}

fReporteBase::fReporteBase(const QString& nombre, const QString& caption, int ancho, int alto, bool ventanaHerramienta)
    : QDialog(nullptr, (ventanaHerramienta ? Qt::Tool : Qt::Dialog) | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(nombre);
    setWindowTitle(caption);
    setFixedSize(TwipsToPixels(ancho, alto));
    web = new WebBrowser(this);
    auto boton = [this](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    bConfigurar = boton("bConfigurar", QStringLiteral("Configurar"));
    bGuardar = boton("bGuardar", QStringLiteral("Guardar como"));
    bImprimir = boton("bImprimir", QStringLiteral("Im&primir"));
    bCerrar = boton("bCerrar", QStringLiteral("Cerrar"));
    bImprimir->setDefault(true);
    connect(bConfigurar, &QPushButton::clicked, this, &fReporteBase::bConfigurar_Click);
    connect(bGuardar, &QPushButton::clicked, this, &fReporteBase::bGuardar_Click);
    connect(bImprimir, &QPushButton::clicked, this, [this] { bImprimir_Click(); });
    connect(bCerrar, &QPushButton::clicked, this, &fReporteBase::bCerrar_Click);
}

void fReporteBase::Colocar(int webLeft, int webTop, int webWidth, int webHeight, int top, int lConfigurar, int lGuardar,
                           int wGuardar, int lImprimir, int lCerrar)
{
    web->setGeometry(twipsRect(webLeft, webTop, webWidth, webHeight));
    bConfigurar->setGeometry(twipsRect(lConfigurar, top, 885, 360));
    bGuardar->setGeometry(twipsRect(lGuardar, top, wGuardar, 360));
    bImprimir->setGeometry(twipsRect(lImprimir, top, 975, 360));
    bCerrar->setGeometry(twipsRect(lCerrar, top, 960, 360));
}

void fReporteBase::bConfigurar_Click()
{
    web->setFocus();
    web->PageSetup();
}

void fReporteBase::bGuardar_Click()
{
    web->setFocus();
    web->SaveAs();
}

void fReporteBase::bImprimir_Click()
{
    web->setFocus();
    web->Print(true);
}

void fReporteBase::bCerrar_Click() { reject(); }

void fReporteBase::MostrarModal(fReporteBase& w)
{
    QPointer<fReporteBase> guard(&w);
    if (QWidget* owner = QApplication::activeWindow(); owner && owner != &w && owner->isVisible())
        w.setParent(owner->window(), w.windowFlags());
    if (alMostrar)
        QTimer::singleShot(0, &w, [&w] {
            if (alMostrar)
                alMostrar(w);
        });
    w.exec();
    if (guard)
        CerrarVentana(guard);
}
