#include "fKardex.h"

#include "ListView.h"
#include "StatusBar.h"
#include "fArticulos.h"
#include "mFuncionesCajas.h"
#include "mInventario.h"
#include "mSubRutinas.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>

namespace {
QLineEdit* Cabecera(QWidget* parent, const QString& nombre, const QString& etiqueta, int left, int top, int width)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(nombre);
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignCenter);
    ColocarTw(e, left, top, width, 315);
    auto* l = new QLabel(etiqueta, parent);
    l->adjustSize();
    l->move(qMax(2, e->x() - l->width() - 4), e->y() + 3);
    return e;
}
}  // namespace

fKardex::fKardex()
{
    setObjectName(QStringLiteral("fKardex"));
    setWindowTitle(QStringLiteral("Movimientos del Artículo"));

    menu = new QMenuBar(this);
    menu->setNativeMenuBar(false);
    QMenu* archivo = menu->addMenu(QStringLiteral("Archivo"));
    QAction* articulos = archivo->addAction(QStringLiteral("Artículos"));
    articulos->setObjectName(QStringLiteral("mnuAbrirfAdmArt"));
    connect(articulos, &QAction::triggered, this, [] { AbrirAdmArticulos(); });
    const int arriba = menu->sizeHint().height();

    auto* area = new QWidget(this);
    area->setGeometry(0, arriba, Tw(9705), Tw(3435));
    Frame1 = new QGroupBox(QStringLiteral("Movimientos del Artículo"), area);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ColocarTw(Frame1, 15, 15, 8895, 3390);

    tCodigo_art = new QLineEdit(Frame1);
    tCodigo_art->setObjectName(QStringLiteral("tCodigo_art"));
    ColocarTw(tCodigo_art, 2970, 315, 2280, 310);
    auto* lCodigo = new QLabel(QStringLiteral("Código del artículo:"), Frame1);
    lCodigo->adjustSize();
    lCodigo->move(tCodigo_art->x() - lCodigo->width() - 4, tCodigo_art->y() + 3);
    tDescripcion_art = Cabecera(Frame1, QStringLiteral("tDescripcion_art"), QStringLiteral("Descripción :"), 1035, 690, 4575);
    tDescripcion_art->setMaxLength(70);
    tPrecio_compra = Cabecera(Frame1, QStringLiteral("tPrecio_compra"), QStringLiteral("Precio de compra :"), 1440, 1260, 1470);
    tPrecio_venta1 = Cabecera(Frame1, QStringLiteral("tPrecio_venta1"), QStringLiteral("Precio de Venta 1 :"), 1440, 1755, 1470);
    tStock_minimo = Cabecera(Frame1, QStringLiteral("tStock_minimo"), QStringLiteral("Stock Mínimo :"), 4125, 1260, 1500);
    tStock_maximo = Cabecera(Frame1, QStringLiteral("tStock_maximo"), QStringLiteral("Stock Máximo :"), 4125, 1755, 1500);
    tCantidad = Cabecera(Frame1, QStringLiteral("tCantidad"), QStringLiteral("Cantidad Actual :"), 4125, 2205, 1500);

    auto* sinImagen = new QLabel(QStringLiteral("Artículo sin Imagen"), Frame1);
    sinImagen->setAlignment(Qt::AlignCenter);
    sinImagen->setFrameShape(QFrame::Box);
    ColocarTw(sinImagen, 5775, 360, 2940, 2205);
    Imagen_art = new QLabel(Frame1);
    Imagen_art->setObjectName(QStringLiteral("Imagen_art"));
    Imagen_art->setScaledContents(true);
    ColocarTw(Imagen_art, 5775, 360, 2940, 2205);

    auto* lIngreso = new QLabel(QStringLiteral("Ingreso y Retiro de Artículos:"), Frame1);
    lIngreso->adjustSize();
    lIngreso->move(Tw(540), Tw(2970) - lIngreso->height() - 2);
    const char* captions[2] = {"Recibir", "Retirar"};
    for (int i = 0; i < 2; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(captions[i]), Frame1);
        b->setObjectName(QStringLiteral("bRecibir_Retirar%1").arg(i));
        b->setAutoDefault(false);
        ColocarTw(b, 540 + i * 945, 2970, 885, 315);
        bRecibir_Retirar[i] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { RecibirRetirar(i); });
    }
    tCantidadArticulos = new QLineEdit(Frame1);
    tCantidadArticulos->setObjectName(QStringLiteral("tCantidadArticulos"));
    ColocarTw(tCantidadArticulos, 2415, 2970, 870, 315);
    auto* lConcepto = new QLabel(QStringLiteral("Artículos      Concepto:"), Frame1);
    lConcepto->adjustSize();
    tConcepto = new QLineEdit(Frame1);
    tConcepto->setObjectName(QStringLiteral("tConcepto"));
    tConcepto->setMaxLength(40);
    ColocarTw(tConcepto, 5070, 2970, 3750, 315);
    lConcepto->move(qMax(tCantidadArticulos->x() + tCantidadArticulos->width() + 4, tConcepto->x() - lConcepto->width() - 4),
                    tConcepto->y() + 3);

    lvw = new ListView(this);
    lvw->setObjectName(QStringLiteral("lvw"));
    lvw->setColumns({QStringLiteral("Código Artículo"), QStringLiteral("Fecha"), QStringLiteral("Concepto"),
                     QStringLiteral("Unidades Entrantes"), QStringLiteral("Unidades Salientes"), QStringLiteral("Saldo"),
                     QStringLiteral("Precio de Compra")},
                    {1350, 1200, 2100, 1550, 1550, 800, 1440});
    sb = new StatusBar(this);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setSizeGripEnabled(false);

    // No key filter: the statements quote the code.
    connect(tCodigo_art, &QLineEdit::textChanged, this, [this] { CambioCodigo(); });
    OrdenDeTabulacion({Controles(Frame1), {lvw}});

    // The movements' seven columns are wider than the card: it opens wide
    // enough to show them all, with room for the list's scroll bar.
    const int columnas = lvw->header()->length() + 2 * lvw->frameWidth() + lvw->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    diseno_ = QSize(qMax(Tw(9705), columnas), Tw(6045) + arriba);
    resize(diseno_);
    VigilarActivacion(this);
}

namespace {
// Same-day rows newest first too: the order they were stored breaks the
// tie. The local store numbers its rows itself; a server store the set-up
// has not yet given the counter column keeps the plain date order.
QString Desempate()
{
    return Conexion().numbersRows(QStringLiteral("Kardex")) ? QStringLiteral(", rowid DESC") : QString();
}
}  // namespace

void fKardex::CargarKardex()
{
    gSQL = QStringLiteral("Select * From Kardex Where codigo_art = ") + SqlStr(tCodigo_art->text())
           + QStringLiteral(" Order by Fecha DESC") + Desempate();
    LlenarListView(gSQL, lvw, sb);
}

void fKardex::LimpiarArticulo()
{
    for (QLineEdit* e : {tDescripcion_art, tPrecio_compra, tPrecio_venta1, tStock_minimo, tStock_maximo, tCantidad})
        e->clear();
    Imagen_art->clear();
}

void fKardex::CambioCodigo()
{
    // Each step that fails is skipped; the shared open has shown why.
    Trap([&] { CargarKardex(); });
    Err.Clear();
    gSQL = QStringLiteral("select * from Articulos Where codigo_art = ") + SqlStr(tCodigo_art->text());
    if (!AbrirRecordset(gSQL))
        return;
    if (gRecordset->RecordCount() < 1) {
        LimpiarArticulo();
        return;
    }
    ado::Recordset& rs = *gRecordset;
    const char* columnas[6] = {"descripcion_art", "Precio_compra", "Precio_venta1", "Stock_minimo", "Stock_maximo", "cantidad"};
    QLineEdit* cajas[6] = {tDescripcion_art, tPrecio_compra, tPrecio_venta1, tStock_minimo, tStock_maximo, tCantidad};
    for (int i = 0; i < 6; ++i)
        Trap([&] { cajas[i]->setText(rs.Fields(QString::fromLatin1(columnas[i])).Text()); });
    Trap([&] { CargarImagen(Imagen_art, rs.Fields(QStringLiteral("imagen_art")).Text()); });
    Err.Clear();
}

void fKardex::RecibirRetirar(int index)
{
    const QString texto = tCantidadArticulos->text().trimmed();
    if (!IsPlainNumber(texto))
        return;
    if (ArticulosVisible()) {
        MsgBox(QStringLiteral("Cierre el Formulario Artículos para continuar"), MsgStyle::Exclamation);
        return;
    }
    qint16 cantidad = 0;
    if (!CantidadTecleada(texto, cantidad)) {
        MsgBox(QStringLiteral("La cantidad debe estar comprendida entre -32768 y 32767"), MsgStyle::Exclamation);
        return;
    }
    const QString n = NumText(Val(texto));
    const double precio = Val(tPrecio_compra->text());
    const QString caption = bRecibir_Retirar[index]->text();
    QString movimiento, concepto;
    if (caption == QLatin1String("Recibir")) {
        if (MsgBox(QStringLiteral("Confirma el ingreso de ") + n + QStringLiteral(" Artículos ?"), MsgStyle::QuestionNoDefault)
            == MsgResult::Yes) {
            movimiento = EntradaArticulos();
            concepto = QStringLiteral("Articulos Recibidos - ") + tConcepto->text();
        }
    } else if (caption == QLatin1String("Retirar")) {
        if (MsgBox(QStringLiteral("Confirma el retiro de ") + n + QStringLiteral(" Artículos ?"), MsgStyle::QuestionNoDefault)
            == MsgResult::Yes) {
            movimiento = SalidaArticulos();
            concepto = QStringLiteral("Articulos Retirados - ") + tConcepto->text();
        }
    }
    if (!movimiento.isEmpty()) {
        // The article row of the code shown, looked up again: other windows
        // may have replaced the shared query since the card was loaded.
        if (AbrirRecordset(QStringLiteral("select * from Articulos Where codigo_art = ") + SqlStr(tCodigo_art->text())))
            ActualizarInventario(cantidad, precio, movimiento, concepto, OrigenMovimiento::Kardex);
    }
    CambioCodigo();
}

void fKardex::alActivar() { CambioCodigo(); }

void fKardex::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    menu->setGeometry(0, 0, width(), menu->sizeHint().height());
    const int h = sb->sizeHint().height();
    sb->setGeometry(0, height() - h, width(), h);
    lvw->move(0, Tw(3435) + menu->sizeHint().height());
    AjustarFormulario(sb, this, lvw);
}

void fKardex::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (mostrada_)
        return;
    mostrada_ = true;
    if (!qobject_cast<QMdiSubWindow*>(parentWidget()))
        CambioCodigo();
}

bool ArticulosVisible()
{
    fArticulos* a = VentanaAbierta<fArticulos>();
    if (!a)
        return false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(a->parentWidget()))
        return sub->isVisible();
    return a->isVisible() || a->isMinimized();
}
