// TARVIK_STORE_TEST: every window of the program, built with the font fitted
// to the layouts, shows each caption, label and column header whole, and
// opens where it fits on a 1366 x 768 screen.
#include "Cuadros.h"
#include "AppPath.h"
#include "FileDialog.h"
#include "Idioma.h"
#include "ListView.h"
#include "ReporteVentaFactura.h"
#include "ReporteVentaRecibo.h"
#include "TestStore.h"
#include "Twips.h"
#include "fAcercaDe.h"
#include "fAdmArt.h"
#include "fAdmCompras.h"
#include "fAdmTerceros.h"
#include "fAdmVentas.h"
#include "fArticulos.h"
#include "fBuscarArticulos.h"
#include "fBuscarClientes.h"
#include "fBuscarProveedores.h"
#include "fClientes.h"
#include "fCompras.h"
#include "fEmpresasUsuarios.h"
#include "fFact_xCobrar.h"
#include "fFact_xPagar.h"
#include "fKardex.h"
#include "fMenu.h"
#include "fOpciones.h"
#include "fProveedores.h"
#include "fRecibirDinero.h"
#include "fRetiroRegistros.h"
#include "fSplash.h"
#include "fVentas.h"
#include "frmContenedor.h"
#include "frmIntro.h"
#include "frmRepCompras.h"
#include "frmRepImpuestos.h"
#include "frmRepVentas.h"
#include "mVblesGlobales.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "vbrt.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionFrame>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>
#include <functional>

namespace {

const QSize kPantalla(1366, 768);

QString sinAtajo(const QString& t)
{
    QString r;
    for (int i = 0; i < t.size(); ++i) {
        if (t[i] == QLatin1Char('&') && i + 1 < t.size())
            ++i;
        r += t[i];
    }
    return r;
}

QString nombre(const QWidget* w)
{
    return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
}

int ancho(const QFontMetrics& fm, const QString& texto)
{
    int w = 0;
    for (const QString& linea : texto.split(QLatin1Char('\n')))
        w = qMax(w, fm.horizontalAdvance(linea));
    return w;
}

// Where a label's words are inked, in its parent's coordinates: blanks
// may lie under a neighbouring box, letters may not.
QList<QRect> tinta(const QLabel* l, const QString& texto)
{
    const QFontMetrics fm(l->font());
    const QRect c = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    const QStringList lineas = texto.split(QLatin1Char('\n'));
    const int h = fm.height() * int(lineas.size()) + fm.leading() * int(lineas.size() - 1);
    const Qt::Alignment a = l->alignment();
    int y = c.top() + (c.height() - h) / 2;
    if (a & Qt::AlignTop)
        y = c.top();
    else if (a & Qt::AlignBottom)
        y = c.bottom() + 1 - h;
    QList<QRect> palabras;
    for (const QString& linea : lineas) {
        const int w = fm.horizontalAdvance(linea);
        int x = c.left();
        if (a & Qt::AlignRight)
            x = c.right() + 1 - w;
        else if (a & Qt::AlignHCenter)
            x = c.left() + (c.width() - w) / 2;
        const int base = y + fm.ascent();
        for (int i = 0; i < linea.size();) {
            if (linea[i].isSpace()) {
                ++i;
                continue;
            }
            int j = i;
            while (j < linea.size() && !linea[j].isSpace())
                ++j;
            const QString palabra = linea.mid(i, j - i);
            const QRect ink = fm.tightBoundingRect(palabra);
            const int x0 = x + fm.horizontalAdvance(linea.left(i));
            palabras << QRect(x0, base + ink.top(), fm.horizontalAdvance(palabra), ink.height()).translated(l->pos());
            i = j;
        }
        y += fm.lineSpacing();
    }
    return palabras;
}

// The lines a word-wrapped text breaks into at a width.
QStringList lineasPartidas(const QString& texto, const QFont& fuente, int ancho)
{
    QStringList out;
    QTextLayout capa(texto, fuente);
    QTextOption o;
    o.setWrapMode(QTextOption::WordWrap);
    capa.setTextOption(o);
    capa.beginLayout();
    for (QTextLine linea = capa.createLine(); linea.isValid(); linea = capa.createLine()) {
        linea.setLineWidth(ancho);
        out << texto.mid(linea.textStart(), linea.textLength());
    }
    capa.endLayout();
    return out;
}

bool cruza(const QList<QRect>& a, const QList<QRect>& b)
{
    for (const QRect& r : a)
        for (const QRect& s : b)
            if (r.intersects(s))
                return true;
    return false;
}

void revisarRotulo(const QLabel* l, QStringList& fallas)
{
    if (l->text().isEmpty() || l->textFormat() == Qt::RichText)
        return;
    const QString texto = l->buddy() ? sinAtajo(l->text()) : l->text();
    const QRect caja = l->geometry();
    if (l->wordWrap()) {
        const int necesita = l->heightForWidth(l->width());
        if (necesita > l->height())
            fallas << QStringLiteral("%1 \"%2\": %3 px high, needs %4").arg(nombre(l), texto).arg(l->height()).arg(necesita);
        // A word is never broken: it has to fit the width alone.
        const QFontMetrics fm(l->font());
        const int cabe = l->contentsRect().width() - 2 * l->margin();
        for (const QString& palabra : texto.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            if (fm.horizontalAdvance(palabra) > cabe)
                fallas << QStringLiteral("%1 \"%2\": %3 wide in %4").arg(nombre(l), palabra).arg(fm.horizontalAdvance(palabra)).arg(cabe);
        // Nor is a caption's sign torn from it: "Valor Unitario" over "$:".
        for (const QString& linea : lineasPartidas(texto, l->font(), cabe))
            if (!linea.contains(QRegularExpression(QStringLiteral("[\\w]"))))
                fallas << QStringLiteral("%1 \"%2\": a line of \"%3\" alone").arg(nombre(l), texto, linea.trimmed());
        return;
    }
    const QList<QRect> mias = tinta(l, texto);
    QRect todo;
    for (const QRect& r : mias)
        todo |= r;
    if (!caja.contains(todo))
        fallas << QStringLiteral("%1 \"%2\": text %3x%4 at %5,%6 in %7x%8")
                      .arg(nombre(l), texto)
                      .arg(todo.width())
                      .arg(todo.height())
                      .arg(todo.x() - caja.x())
                      .arg(todo.y() - caja.y())
                      .arg(caja.width())
                      .arg(caja.height());
    // Letters running over a neighbour: a control beside the label, not a
    // frame that holds it.
    for (const QObject* o : l->parentWidget()->children()) {
        const auto* v = qobject_cast<const QWidget*>(o);
        if (!v || v == l || v->isWindow() || !v->isVisibleTo(l->parentWidget()))
            continue;
        if (v->geometry().contains(caja))
            continue;
        QList<QRect> suyas{v->geometry()};
        if (const auto* otro = qobject_cast<const QLabel*>(v))
            suyas = otro->text().isEmpty() || otro->textFormat() == Qt::RichText
                        ? QList<QRect>{}
                        : tinta(otro, otro->buddy() ? sinAtajo(otro->text()) : otro->text());
        if (cruza(mias, suyas))
            fallas << QStringLiteral("%1 \"%2\" runs over %3").arg(nombre(l), texto, nombre(v));
    }
}

void revisarBoton(const QAbstractButton* b, QStringList& fallas)
{
    const QString texto = sinAtajo(b->text());
    if (texto.isEmpty())
        return;
    const QFontMetrics fm(b->font());
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    QStyle::SubElement contenido = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(b))
        contenido = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(b))
        contenido = QStyle::SE_RadioButtonContents;
    int cabe = b->style()->subElementRect(contenido, &opt, b).width();
    if (auto* tb = qobject_cast<const QToolButton*>(b)) {
        cabe = tb->width() - 4;
        if (tb->toolButtonStyle() == Qt::ToolButtonTextBesideIcon)
            cabe -= tb->iconSize().width() + 4;
    } else if (!b->icon().isNull() && contenido == QStyle::SE_PushButtonContents) {
        cabe -= b->iconSize().width() + 4;
    }
    const int necesita = ancho(fm, texto);
    if (necesita > cabe)
        fallas << QStringLiteral("%1 \"%2\": text %3 in %4").arg(nombre(b), texto).arg(necesita).arg(cabe);
}

// A read-only box shows a caption of the window's own ("CONTADO", "Nuevo").
void revisarCaja(const QLineEdit* e, QStringList& fallas)
{
    if (!e->isReadOnly() || e->text().isEmpty() || e->echoMode() != QLineEdit::Normal)
        return;
    QStyleOptionFrame opt;
    opt.initFrom(e);
    opt.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, e) : 0;
    const QMargins m = e->textMargins();
    const int cabe = e->style()->subElementRect(QStyle::SE_LineEditContents, &opt, e).width() - m.left() - m.right() - 4;
    const int necesita = QFontMetrics(e->font()).horizontalAdvance(e->text());
    if (necesita > cabe)
        fallas << QStringLiteral("%1 \"%2\": text %3 in %4").arg(nombre(e), e->text()).arg(necesita).arg(cabe);
}

// The box of a combo shows its text and, once chosen, each of its items.
void revisarCombo(const QComboBox* c, QStringList& fallas)
{
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = c->isEditable();
    opt.frame = c->hasFrame();
    const QRect campo = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
    // Its line edit keeps two pixels at each side of the text, the style's
    // label one.
    const int cabe = campo.width() - (c->isEditable() ? 4 : 2);
    QStringList textos{c->currentText()};
    for (int i = 0; i < c->count(); ++i)
        textos << c->itemText(i);
    const QFontMetrics fm(c->font());
    for (const QString& t : textos)
        if (!t.isEmpty() && fm.horizontalAdvance(t) > cabe)
            fallas << QStringLiteral("%1 \"%2\": text %3 in %4").arg(nombre(c), t).arg(fm.horizontalAdvance(t)).arg(cabe);
}

void revisarMarco(const QGroupBox* g, QStringList& fallas)
{
    const QString texto = sinAtajo(g->title());
    if (texto.isEmpty())
        return;
    const int necesita = QFontMetrics(g->font()).horizontalAdvance(texto) + 16;
    if (necesita > g->width())
        fallas << QStringLiteral("%1 \"%2\": title %3 in %4").arg(nombre(g), texto).arg(necesita).arg(g->width());
}

// Column titles, and the cells of the rows on show, against their columns.
void revisarLista(const QHeaderView* h, QStringList& fallas)
{
    if (h->orientation() != Qt::Horizontal || !h->isVisibleTo(h->window()) || !h->model())
        return;
    const QAbstractItemModel* m = h->model();
    const int margen = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    const auto* vista = qobject_cast<const QAbstractItemView*>(h->parentWidget());
    const int margenCelda = 2 * (h->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vista) + 1);
    const QString lista = vista ? nombre(vista) : nombre(h);
    for (int i = 0; i < h->count(); ++i) {
        if (h->isSectionHidden(i) || h->sectionSize(i) == 0)
            continue;
        const QString titulo = m->headerData(i, Qt::Horizontal).toString();
        const int necesita = QFontMetrics(h->font()).horizontalAdvance(titulo) + 2 * margen;
        if (!titulo.isEmpty() && necesita > h->sectionSize(i))
            fallas << QStringLiteral("%1 column \"%2\": %3 in %4").arg(lista, titulo).arg(necesita).arg(h->sectionSize(i));
        // A column that starts in sight shows its whole title there; one
        // wholly beyond the right edge is reached by scrolling.
        const int desde = h->sectionViewportPosition(i);
        if (!titulo.isEmpty() && desde < h->width() && desde + necesita > h->width())
            fallas << QStringLiteral("%1 column \"%2\": cut at the list's edge, %3 of %4 in sight")
                          .arg(lista, titulo)
                          .arg(h->width() - desde)
                          .arg(necesita);
        if (!vista)
            continue;
        for (int r = 0; r < qMin(m->rowCount(), 20); ++r) {
            const QString celda = m->index(r, i).data().toString();
            const int pide = QFontMetrics(vista->font()).horizontalAdvance(celda) + margenCelda;
            if (!celda.isEmpty() && pide > h->sectionSize(i))
                fallas << QStringLiteral("%1 \"%2\" under \"%3\": %4 in %5")
                              .arg(lista, celda, titulo)
                              .arg(pide)
                              .arg(h->sectionSize(i));
        }
    }
}

QStringList recortes(QWidget* ventana)
{
    QStringList fallas;
    QList<QWidget*> todos = ventana->findChildren<QWidget*>();
    todos.prepend(ventana);
    for (QWidget* w : todos) {
        if (!w->isVisibleTo(ventana) && w != ventana)
            continue;
        if (auto* l = qobject_cast<QLabel*>(w))
            revisarRotulo(l, fallas);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            revisarBoton(b, fallas);
        else if (auto* e = qobject_cast<QLineEdit*>(w))
            revisarCaja(e, fallas);
        else if (auto* c = qobject_cast<QComboBox*>(w))
            revisarCombo(c, fallas);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            revisarMarco(g, fallas);
        else if (auto* h = qobject_cast<QHeaderView*>(w))
            revisarLista(h, fallas);
    }
    return fallas;
}

// A window's whole frame within the room it opens in.
QString fuera(QWidget* ventana, const QRect& sitio)
{
    QWidget* marco = ventana;
    for (QWidget* p = ventana->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(p))
            marco = p;
    const QRect r = marco->frameGeometry();
    if (sitio.contains(r))
        return QString();
    return QStringLiteral("%1 at %2,%3 %4x%5 outside %6x%7")
        .arg(nombre(ventana))
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(sitio.width())
        .arg(sitio.height());
}

using Abridor = std::function<QWidget*()>;

template <class W>
QWidget* hija()
{
    W& w = Ventana<W>();
    MostrarHija(&w);
    return &w;
}

template <class W>
QWidget* suelta()
{
    auto* w = new W();
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

}  // namespace

Q_DECLARE_METATYPE(Abridor)

class TstRotulos : public QObject {
    Q_OBJECT
    QTemporaryDir carpeta_;
    teststore::Target t_;
    frmContenedor* principal_ = nullptr;

private slots:
    void initTestCase()
    {
        InstalarCuadros();  // the real boxes and cursor
        // The application as main() prepares it.
        twips::fitToFont();
        QVERIFY(idioma::UsarEspanol());
        QVERIFY(carpeta_.isValid());
        msgtest::install();
        // Closing the button panel or the main window asks to end the program.
        SetEndProgramHook([](int) {});
        ReiniciarVariablesGlobales();
        t_ = teststore::openFresh();
        if (QTest::currentTestFailed())
            return;
        if (!teststore::mariadb())
            SetAppPath(QFileInfo(t_.sqlitePath).absolutePath());
        else
            SetAppPath(carpeta_.path());
        gCodigoEmp = QStringLiteral("1");
        gNombreEmp = QStringLiteral("EMPRESA PRINCIPAL");
        gCodigoUsu = QStringLiteral("1");
        gNombreUsu = QStringLiteral("ADMINISTRADOR");
        gNivelUsu = 0;
        gPuertoCOM.clear();
        principal_ = &Ventana<frmContenedor>();
        // Maximised under a window manager: the screen less a title bar.
        principal_->setGeometry(QRect(0, 0, kPantalla.width(), kPantalla.height() - 24));
        principal_->show();
        QVERIFY(QTest::qWaitForWindowExposed(principal_));
    }
    void cleanupTestCase()
    {
        delete principal_;
        SetEndProgramHook(nullptr);
        SetAppPath(QString());
        msgtest::uninstall();
    }

    void everyCaptionIsWhole_data()
    {
        QTest::addColumn<Abridor>("abrir");
        QTest::addColumn<bool>("dentro");  // a child window of the main window
        QTest::newRow("frmIntro") << Abridor([] {
            auto* w = &Ventana<frmIntro>();
            w->show();
            return w;
        }) << false;
        QTest::newRow("fSplash") << Abridor([] {
            auto* w = &Ventana<fSplash>();
            w->MostrarConexion(true);
            w->show();
            return w;
        }) << false;
        QTest::newRow("frmContenedor") << Abridor([this] { return principal_; }) << false;
        QTest::newRow("fAcercaDe") << Abridor(suelta<fAcercaDe>) << false;
        QTest::newRow("fMenu") << Abridor(suelta<fMenu>) << false;
        QTest::newRow("fOpciones") << Abridor(suelta<fOpciones>) << false;
        QTest::newRow("fEmpresasUsuarios") << Abridor(suelta<fEmpresasUsuarios>) << false;
        QTest::newRow("fRetiroRegistros") << Abridor(suelta<fRetiroRegistros>) << false;
        QTest::newRow("fAdmArt") << Abridor(hija<fAdmArt>) << true;
        QTest::newRow("fAdmCli") << Abridor(hija<fAdmCli>) << true;
        QTest::newRow("fAdmProv") << Abridor(hija<fAdmProv>) << true;
        QTest::newRow("fArticulos") << Abridor(hija<fArticulos>) << true;
        QTest::newRow("fClientes") << Abridor(hija<fClientes>) << true;
        QTest::newRow("fProveedores") << Abridor(hija<fProveedores>) << true;
        QTest::newRow("fKardex") << Abridor(hija<fKardex>) << true;
        QTest::newRow("fBuscarArticulos") << Abridor(hija<fBuscarArticulos>) << true;
        QTest::newRow("fBuscarClientes") << Abridor(hija<fBuscarClientes>) << true;
        QTest::newRow("fBuscarProveedores") << Abridor(hija<fBuscarProveedores>) << true;
        QTest::newRow("fAdmVentas") << Abridor(hija<fAdmVentas>) << true;
        QTest::newRow("fAdmCompras") << Abridor(hija<fAdmCompras>) << true;
        QTest::newRow("fVentas") << Abridor(hija<fVentas>) << true;
        QTest::newRow("fCompras") << Abridor(hija<fCompras>) << true;
        QTest::newRow("fFact_xCobrar") << Abridor(hija<fFact_xCobrar>) << true;
        QTest::newRow("fFact_xPagar") << Abridor(hija<fFact_xPagar>) << true;
        QTest::newRow("fRecibirDinero short") << Abridor([] {
            auto* d = static_cast<fRecibirDinero*>(suelta<fRecibirDinero>());
            d->tTotal->setText(QStringLiteral("1500.75"));
            d->tEfectivo->setText(QStringLiteral("20"));
            d->tEfectivo_LostFocus();
            return d;
        }) << false;
        QTest::newRow("frmRepVentas") << Abridor(suelta<frmRepVentas>) << false;
        QTest::newRow("frmRepCompras") << Abridor(suelta<frmRepCompras>) << false;
        QTest::newRow("frmRepImpuestos") << Abridor(suelta<frmRepImpuestos>) << false;
        QTest::newRow("ReporteVentaFactura") << Abridor(suelta<ReporteVentaFactura>) << false;
        QTest::newRow("ReporteVentaRecibo") << Abridor(suelta<ReporteVentaRecibo>) << false;
        // Qt's own dialogs, in the program's Spanish.
        QTest::newRow("picture dialog") << Abridor([this] {
            QDir(carpeta_.path()).mkpath(QStringLiteral("Imagenes/Articulos"));
            QImage(2, 2, QImage::Format_RGB32).save(carpeta_.filePath(QStringLiteral("Imagenes/Articulos/foto.png")));
            auto* d = new QFileDialog(nullptr, QStringLiteral("Abrir"), carpeta_.filePath(QStringLiteral("Imagenes/Articulos")));
            d->setAttribute(Qt::WA_DeleteOnClose);
            PrepararDialogoArchivos(*d);
            d->show();
            auto* lista = d->findChild<QTreeView*>(QStringLiteral("treeView"));
            // The list fills on its own; the walk reads it once it has.
            (void)QTest::qWaitFor([lista] { return lista->model()->rowCount(lista->rootIndex()) > 0; });
            return d;
        }) << false;
        QTest::newRow("print dialog") << Abridor([] {
            static QPrinter impresora;
            auto* d = new QPrintDialog(&impresora);
            d->setAttribute(Qt::WA_DeleteOnClose);
            d->show();
            return d;
        }) << false;
    }
    void everyCaptionIsWhole()
    {
        QFETCH(Abridor, abrir);
        QFETCH(bool, dentro);
        QPointer<QWidget> w = abrir();
        QVERIFY(w);
        QApplication::processEvents();
        // With TARVIK_FOTOS naming a folder, each window is saved there as a
        // picture, for looking at them by eye.
        if (const QString fotos = qEnvironmentVariable("TARVIK_FOTOS"); !fotos.isEmpty())
            w->grab().save(fotos + QLatin1Char('/') + QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".png"));
        const QStringList fallas = recortes(w);
        QString lejos;
        if (dentro) {
            auto* area = principal_->findChild<QMdiArea*>();
            lejos = fuera(w, area->viewport()->rect());
        } else if (w != principal_) {
            const QSize s = w->frameGeometry().size();
            if (s.width() > kPantalla.width() || s.height() > kPantalla.height())
                lejos = QStringLiteral("%1 is %2x%3, larger than the screen").arg(nombre(w)).arg(s.width()).arg(s.height());
        }
        if (w && w != principal_)
            CerrarVentana(w);
        QApplication::processEvents();
        QVERIFY2(fallas.isEmpty(), qPrintable(fallas.join(QStringLiteral("\n  "))));
        QVERIFY2(lejos.isEmpty(), qPrintable(lejos));
    }

    void childWindowsOpenInsideTheMainWindow()
    {
        auto* area = principal_->findChild<QMdiArea*>();
        QStringList lejos;
        const QList<Abridor> abrir{hija<fAdmArt>, hija<fAdmCli>, hija<fAdmProv>, hija<fAdmVentas>, hija<fAdmCompras>,
                                   hija<fFact_xCobrar>, hija<fFact_xPagar>, hija<fKardex>, hija<fArticulos>, hija<fVentas>,
                                   hija<fBuscarClientes>};
        for (const Abridor& a : abrir) {
            QWidget* w = a();
            QApplication::processEvents();
            const QString f = fuera(w, area->viewport()->rect());
            if (!f.isEmpty())
                lejos << f;
        }
        area->closeAllSubWindows();
        QApplication::processEvents();
        QVERIFY2(lejos.isEmpty(), qPrintable(lejos.join(QStringLiteral("\n  "))));
    }

    void promptShowsItsTitle()
    {
        msgtest::uninstall();
        int cabe = 0, necesita = 0;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
                QFont f = d->font();
                f.setBold(true);
                necesita = QFontMetrics(f).horizontalAdvance(d->windowTitle());
                cabe = d->width();
                d->reject();
            }
        });
        InputBox(QStringLiteral("digite la clave de acceso"), QStringLiteral("Clave requerida"));
        msgtest::install();
        QVERIFY(cabe > 0);
        // Room for the title and the window's own buttons beside it.
        QVERIFY2(necesita + 120 <= cabe, qPrintable(QStringLiteral("%1 + buttons in %2").arg(necesita).arg(cabe)));
    }
};

QTEST_MAIN(TstRotulos)
#include "tst_rotulos.moc"
