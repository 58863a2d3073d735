#include "fReporteBase.h"

#include "Twips.h"
#include "WebBrowser.h"
#include "mVentanas.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <algorithm>

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

int fReporteBase::AnchoBoton(const QPushButton* b)
{
    const QStyle* st = b->style();
    QString texto = b->text();
    texto.remove(QLatin1Char('&'));
    return b->fontMetrics().horizontalAdvance(texto) + 2 * st->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b)
           + 2 * st->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
}

void fReporteBase::Colocar(int webLeft, int webTop, int webWidth, int webHeight, int top, int lConfigurar, int lGuardar,
                           int wGuardar, int lImprimir, int lCerrar)
{
    // The row keeps its right end and the gaps between its buttons; a
    // button too narrow for its caption at this font grows to the left, and
    // the window grows when the row would leave it.
    struct Boton {
        QPushButton* b;
        int left, width;  // twips
    };
    const Boton fila[] = {{bConfigurar, lConfigurar, 885}, {bGuardar, lGuardar, wGuardar}, {bImprimir, lImprimir, 975}, {bCerrar, lCerrar, 960}};
    QRect r[4];
    int x = TwipsToPixelsX(lCerrar + 960);
    for (int i = 3; i >= 0; --i) {
        const int w = std::max(TwipsToPixelsX(fila[i].width), AnchoBoton(fila[i].b));
        x -= w;
        r[i] = QRect(x, TwipsToPixelsY(top), w, TwipsToPixelsY(360));
        if (i > 0)
            x -= TwipsToPixelsX(fila[i].left - fila[i - 1].left - fila[i - 1].width);
    }
    const int falta = std::max(0, TwipsToPixelsX(30) - x);
    QRect v = twipsRect(webLeft, webTop, webWidth, webHeight);
    if (falta > 0) {
        setFixedSize(width() + falta, height());
        v.setWidth(v.width() + falta);
    }
    web->setGeometry(v);
    for (int i = 0; i < 4; ++i)
        fila[i].b->setGeometry(r[i].translated(falta, 0));
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
