#include "fArticulos.h"

#include "mCatalogos.h"
#include "mFuncionesCajas.h"
#include "mInventario.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

ComboConsulta::ComboConsulta(const QString& sql, bool entradaVacia, QWidget* parent)
    : QComboBox(parent), sql_(sql), entradaVacia_(entradaVacia)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void ComboConsulta::Rellenar()
{
    const QString escrito = currentText();
    clear();
    if (entradaVacia_)
        addItem(QString());
    if (AbrirRecordset(sql_)) {
        for (gRecordset->MoveFirst(); !gRecordset->Eof(); gRecordset->MoveNext())
            addItem(gRecordset->Fields(0).Text());
    }
    setCurrentIndex(-1);
    setEditText(escrito);
}

void ComboConsulta::showPopup()
{
    Rellenar();
    QComboBox::showPopup();
}

void ComboConsulta::focusInEvent(QFocusEvent* e)
{
    QComboBox::focusInEvent(e);
    if (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason || e->reason() == Qt::ShortcutFocusReason)
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                showPopup();
        });
}

namespace {
// The columns other workstations move: cost and stock.
constexpr int kCosto = 2, kCantidad = 7;

struct Fila {
    int caja;
    const char* etiqueta;
    int left, top, width;
};
// Positions in twips inside the frame: label left, box left.
constexpr int kEtiqueta = 180;
constexpr int kCaja = 2400;
}  // namespace

fArticulos::fArticulos()
{
    setObjectName(QStringLiteral("fArticulos"));
    setWindowTitle(QStringLiteral("Tarvik - Propiedades del Artículo"));
    setFixedSize(Tw(12360), Tw(7560));

    auto* frame = new QGroupBox(QStringLiteral("Artículo"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    ColocarTw(frame, 120, 60, 12120, 6780);

    txt.resize(18);
    const Fila filas[] = {
        {0, "Código del Artículo :", kCaja, 300, 2400},
        {1, "Descripción :", kCaja, 720, 5000},
        {2, "Precio de compra :", kCaja, 1140, 1500},
        {4, "Precio de Venta 1 :", kCaja, 1560, 1500},
        {5, "Precio de venta 2 :", kCaja, 1980, 1500},
        {6, "Precio de venta 3 :", kCaja, 2400, 1500},
        {7, "Cantidad :", kCaja, 2820, 1500},
        {8, "Stock mínimo :", kCaja, 3240, 1500},
        {9, "Stock máximo :", 5880, 3240, 1500},
        {11, "Fecha de ingreso :", 5880, 2820, 1500},
        {13, "Ubicación en Almacén :", kCaja, 3660, 2700},
        {14, "Proveedor 1 :", kCaja, 4080, 2700},
        {15, "Proveedor 2 :", kCaja, 4500, 2700},
        {16, "Proveedor 3 :", kCaja, 4920, 2700},
        {17, "Tipo de Producto :", kCaja, 5340, 1800},
        {12, "Imagen :", 8700, 2700, 2940},
    };
    for (const Fila& f : filas) {
        auto* box = new QLineEdit(frame);
        box->setObjectName(QStringLiteral("txt%1").arg(f.caja));
        ColocarTw(box, f.left, f.top, f.width, 315);
        txt[f.caja] = box;
        auto* l = new QLabel(QString::fromUtf8(f.etiqueta), frame);
        l->adjustSize();
        if (f.caja == 12)
            l->move(box->x(), box->y() - l->height() - 2);
        else
            l->move(box->x() - l->width() - Tw(90), box->y() + 3);
    }
    // The rate box sits inside its label's blanks, before the "%".
    auto* impuesto = new QLineEdit(frame);
    impuesto->setObjectName(QStringLiteral("txt3"));
    impuesto->setMaxLength(2);
    txt[3] = impuesto;
    auto* lImpuesto = new QLabel(QStringLiteral("Aplicar Impuesto del :             %"), frame);
    lImpuesto->adjustSize();
    lImpuesto->move(Tw(4440), Tw(1140) + 3);
    const QFontMetrics fmImpuesto(lImpuesto->font());
    const int anchoRotulo = fmImpuesto.horizontalAdvance(QStringLiteral("Aplicar Impuesto del : "));
    // The box covers the blanks before "%", whatever the font makes of them.
    const int anchoBlancos = fmImpuesto.horizontalAdvance(lImpuesto->text()) - fmImpuesto.horizontalAdvance(QStringLiteral("%"))
                             - anchoRotulo - 1;
    impuesto->setGeometry(lImpuesto->x() + anchoRotulo, Tw(1140), qMin(Tw(600), anchoBlancos), Tw(315));
    impuesto->raise();

    auto* notas = new QPlainTextEdit(frame);
    notas->setObjectName(QStringLiteral("txt10"));
    notas->setTabChangesFocus(true);
    ColocarTw(notas, 8700, 3420, 3240, 2220);
    txt[10] = notas;
    auto* lNotas = new QLabel(QStringLiteral("Observaciones :"), frame);
    lNotas->adjustSize();
    lNotas->move(notas->x(), notas->y() - lNotas->height() - 2);

    static_cast<QLineEdit*>(txt[1])->setMaxLength(70);
    static_cast<QLineEdit*>(txt[12])->setMaxLength(255);
    static_cast<QLineEdit*>(txt[13])->setMaxLength(255);
    static_cast<QLineEdit*>(txt[2])->setAlignment(Qt::AlignRight);
    for (int i = 14; i <= 16; ++i)
        static_cast<QLineEdit*>(txt[i])->setReadOnly(true);

    // Design texts.
    for (int i : {2, 3, 4, 5, 6, 7, 8, 9})
        SetBoxText(txt[i], QStringLiteral("0"));
    SetBoxText(txt[17], QStringLiteral("FISICO"));

    for (int i = 4; i <= 6; ++i) {
        auto* p = new QLineEdit(frame);
        p->setObjectName(QStringLiteral("tPrecioConImpuesto%1").arg(i));
        p->setReadOnly(true);
        p->setFocusPolicy(Qt::NoFocus);
        ColocarTw(p, 5880, 1560 + (i - 4) * 420, 1500, 315);
        tPrecioConImpuesto[i] = p;
        auto* l = new QLabel(QStringLiteral("Con Impuesto :"), frame);
        l->adjustSize();
        l->move(p->x() - l->width() - Tw(90), p->y() + 3);
    }

    auto* sinImagen = new QLabel(QStringLiteral("Artículo sin Imagen"), frame);
    sinImagen->setAlignment(Qt::AlignCenter);
    sinImagen->setFrameShape(QFrame::Box);
    ColocarTw(sinImagen, 8700, 240, 2940, 2205);
    Imagen_art = new QLabel(frame);
    Imagen_art->setObjectName(QStringLiteral("Imagen_art"));
    Imagen_art->setScaledContents(true);
    ColocarTw(Imagen_art, 8700, 240, 2940, 2205);
    bBuscarImagen = new QPushButton(QStringLiteral("..."), frame);
    bBuscarImagen->setObjectName(QStringLiteral("bBuscarImagen"));
    ColocarTw(bBuscarImagen, 11660, 2700, 255, 315);

    // Look-up combos beside their boxes.
    cbUbicacion = new ComboConsulta(QStringLiteral("select distinct ubicacion from Articulos"), false, frame);
    cbUbicacion->setObjectName(QStringLiteral("cbUbicacion"));
    cbUbicacion->setToolTip(QStringLiteral("Asistente de Búsqueda - Ubicaciones (Digite el criterio y a continuación presione Flecha Abajo)"));
    ColocarTw(cbUbicacion, 5160, 3660, 2400, 315);
    for (int i = 14; i <= 16; ++i) {
        auto* c = new ComboConsulta(QStringLiteral("select distinct nombre_prov from Proveedores"), true, frame);
        c->setObjectName(QStringLiteral("cbNombre_prov%1").arg(i));
        c->setToolTip(QStringLiteral("Asistente de Búsqueda - Proveedor %1").arg(i - 13));
        ColocarTw(c, 5160, 4080 + (i - 14) * 420, 2400, 315);
        cbNombre_prov[i] = c;
        connect(c, &QComboBox::activated, this, [this, c, i](int) { SetBoxText(txt[i], c->currentText()); });
    }
    connect(cbUbicacion, &QComboBox::activated, this, [this](int) { SetBoxText(txt[13], cbUbicacion->currentText()); });

    auto* grupo = grupoTipo_ = new QButtonGroup(this);
    const char* tipos[3] = {"FISICO", "SERVICIO", "USO OCASIONAL"};
    for (int i = 0; i < 3; ++i) {
        auto* o = new QRadioButton(QString::fromUtf8(tipos[i]), frame);
        o->setObjectName(QStringLiteral("oTipo_Art%1").arg(i));
        o->adjustSize();
        o->move(Tw(4320 + i * 1200), Tw(5340) + 2);
        grupo->addButton(o, i);
        oTipo_Art[i] = o;
        connect(o, &QRadioButton::clicked, this, [this, o] { SetBoxText(txt[17], o->text()); });
    }
    oTipo_Art[0]->setChecked(true);
    auto* lOtro = new QLabel(QStringLiteral("Otro Tipo :"), frame);
    lOtro->adjustSize();
    cbTipo_art = new ComboConsulta(QStringLiteral("select distinct tipo_art from Articulos"), false, frame);
    cbTipo_art->setObjectName(QStringLiteral("cbTipo_art"));
    cbTipo_art->setToolTip(QStringLiteral("Asistente de Búsqueda - Tipos de Artículo"));
    ColocarTw(cbTipo_art, kCaja, 5760, 2700, 315);
    lOtro->move(cbTipo_art->x() - lOtro->width() - Tw(90), cbTipo_art->y() + 3);
    connect(cbTipo_art, &QComboBox::activated, this, [this](int) { ElegirTipo(cbTipo_art->currentText()); });

    bAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    bAceptar->setObjectName(QStringLiteral("bAceptar"));
    ColocarTw(bAceptar, 9420, 6960, 1335, 420);
    bCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    bCancelar->setObjectName(QStringLiteral("bCancelar"));
    ColocarTw(bCancelar, 10860, 6960, 1335, 420);
    for (auto* b : {bAceptar, bCancelar, bBuscarImagen})
        b->setAutoDefault(false);
    connect(bAceptar, &QPushButton::clicked, this, [this] { Guardar(); });
    connect(bCancelar, &QPushButton::clicked, this, [this] {
        modoEdicion = 1;
        CerrarVentana(this);
    });
    connect(bBuscarImagen, &QPushButton::clicked, this, &fArticulos::BuscarImagen);

    // Change handlers.
    for (int i = 0; i < 18; ++i)
        FiltrarTeclas(txt[i], i == 0);
    AjustarCajas(txt, QStringLiteral("ARTICULOS"));
    for (int i = 0; i < 18; ++i) {
        if (i == 10)
            continue;
        auto* box = static_cast<QLineEdit*>(txt[i]);
        connect(box, &QLineEdit::textChanged, this, [this, i](const QString& t) {
            if (i >= 4 && i <= 6)
                Previsualizar(i);
            else if (i == 12)
                CargarImagen(Imagen_art, t);
            else if (i == 17) {
                for (QRadioButton* o : oTipo_Art)
                    if (t == o->text())
                        o->setChecked(true);
            }
        });
    }
    RecordarCargado();
    connect(impuesto, &QLineEdit::editingFinished, this, [this] {
        for (int i = 4; i <= 6; ++i)
            Previsualizar(i);
    });
    for (int i = 4; i <= 6; ++i)
        Previsualizar(i);

    // Down the form, then down the picture column, then the buttons.
    QList<QWidget*> form, columna;
    for (QWidget* w : Controles(frame))
        (w->x() < Tw(8000) ? form : columna).append(w);
    OrdenDeTabulacion({form, columna, {bAceptar, bCancelar}});

    TeclasDeVentana(this, nullptr, bCancelar);
}

void fArticulos::Previsualizar(int i)
{
    const double p = Val(BoxText(txt[i]));
    const double r = Val(BoxText(txt[3]));
    tPrecioConImpuesto[i]->setText(NumText(RoundHalfEven(p + p * r / 100)));
}

void fArticulos::ElegirTipo(const QString& tipo)
{
    SetBoxText(txt[17], tipo);
    // A type picked from the list leaves no option selected.
    grupoTipo_->setExclusive(false);
    for (QRadioButton* o : oTipo_Art)
        o->setChecked(false);
    grupoTipo_->setExclusive(true);
}

void fArticulos::BuscarImagen()
{
    const QString elegido = ElegirImagen(this, CarpetaImagenes(QStringLiteral("Articulos")));
    if (!elegido.isEmpty())
        SetBoxText(txt[12], elegido);
}

void fArticulos::Nuevo()
{
    modoEdicion = 2;
    fila_.clear();
    SetBoxText(txt[11], FormatDate(QDate::currentDate()));
    MostrarHija(this);
}

void fArticulos::Editar(const QString& codigo)
{
    MostrarHija(this);
    gSQL = QStringLiteral("Select * From Articulos ") + QStringLiteral(" Where codigo_art = ") + SqlStr(codigo);
    fila_.clear();
    if (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0) {
        const ado::RecordsetPtr leido = gRecordset;
        for (gIndice = 0; gIndice <= 17; ++gIndice) {
            const int i = int(gIndice);
            SetBoxText(txt[i], i < gRecordset->FieldCount() ? gRecordset->Fields(i).Text() : QString());
        }
        fila_ = LeerFila(*leido);
        // Cost and stock move with every invoice: the save compares them
        // only where the clerk typed them.
        for (int i : {kCosto, kCantidad})
            if (i < fila_.size())
                fila_[i].reset();
    }
    // Writing a text a box already shows signals nothing: record it here.
    RecordarCargado();
    modoEdicion = 1;
}

void fArticulos::RecordarCargado()
{
    for (int i = 0; i < 18; ++i)
        cargado_[i] = BoxText(txt[i]);
}

bool fArticulos::Cambiado(int i) const { return BoxText(txt[i]) != cargado_[i]; }

namespace {
// The full value of a stored number as box text, so that writing it back
// stores the same value.
QString TextoExacto(const ado::Field& f)
{
    const QVariant v = f.Value();
    if (v.typeId() == QMetaType::Double) {
        const QString s = QString::number(v.toDouble(), 'g', 17);
        if (!s.contains(QLatin1Char('e')))
            return s;
    }
    return f.Text();
}
}  // namespace

bool fArticulos::Guardar()
{
    const qint32 modo = modoEdicion;
    const QString codigo = BoxText(txt[0]);
    gSQL = QStringLiteral("Select * from ARTICULOS where codigo_art = ") + SqlStr(codigo);

    // Quantities are 16-bit: refuse what a movement could not take.
    qint16 inicial = 0;
    if (modo == 2 || (modo == 1 && Cambiado(7))) {
        const double v = RoundHalfEven(Val(BoxText(txt[7])));
        if (v < -32768 || v > 32767) {
            MsgBox(QStringLiteral("La cantidad debe estar comprendida entre -32768 y 32767"), MsgStyle::Exclamation);
            return false;
        }
        inicial = qint16(v);
    }

    bool rechazar = false;
    const auto antes = [&](ado::Connection& cn, ValoresCajas& cajas) {
        rechazar = false;
        if (modo != 1)
            return true;
        // A code typed over to another stored article must not rewrite it.
        if (codigo != cargado_[0]) {
            ado::Recordset otro;
            otro.Open(QStringLiteral("Select codigo_art From ARTICULOS Where codigo_art = ") + SqlStr(codigo)
                          + QStringLiteral(" FOR UPDATE"),
                      cn);
            if (otro.RecordCount() > 0) {
                rechazar = true;
                return false;
            }
        }
        // Stock and cost booked since the boxes were filled stay as stored
        // unless the user typed them; typed over a value that moved since,
        // they would undo another workstation's movement.
        ado::Recordset actual;
        actual.Open(QStringLiteral("Select precio_compra,cantidad From ARTICULOS Where codigo_art = ") + SqlStr(codigo)
                        + QStringLiteral(" FOR UPDATE"),
                    cn);
        if (actual.RecordCount() < 1)
            return true;
        const int columna[2] = {kCosto, kCantidad};
        for (int j = 0; j < 2; ++j) {
            const int i = columna[j];
            if (!Cambiado(i))
                cajas[i] = i == kCosto ? TextoExacto(actual.Fields(j)) : actual.Fields(j).Text();
            else if (actual.Fields(j).Text() != cargado_[i])
                throw ado::Error{ado::err::Conflict, QStringLiteral("El costo o la cantidad cambió desde que se cargó"),
                                 ado::Fault::Changed};
        }
        return true;
    };
    const double costo = Val(BoxText(txt[2]));
    const auto despues = [&](ado::Connection&) {
        if (modo == 2)
            MoverArticulo(codigo, inicial, costo, EntradaArticulos(), QStringLiteral("Inventario Inicial"),
                            OrigenMovimiento::InventarioInicial);
    };
    switch (GuardarEnUnidad(LeerCajas(txt), gSQL, modo, fila_, antes, despues)) {
    case Guardado::Si:
        break;
    case Guardado::Rechazado:
        if (rechazar)
            RechazarCodigoDuplicado();
        return false;
    case Guardado::Fallo:
        return false;
    }
    modoEdicion = 1;
    CerrarVentana(this);
    return true;
}
