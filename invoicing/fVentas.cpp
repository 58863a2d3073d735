#include "fVentas.h"

#include "ListView.h"
#include "MonthView.h"
#include "KeyFilter.h"
#include "fRecibirDinero.h"
#include "mCatalogos.h"
#include "mDestinoBusqueda.h"
#include "mDisplay.h"
#include "mFunciones.h"
#include "mFunciones_listas.h"
#include "mNumeracionNCF.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

std::function<void()> fVentas::abrirBuscarClientes;
std::function<void()> fVentas::abrirBuscarArticulos;
std::function<void(const QString&)> fVentas::abrirVistaFactura;
std::function<void(const QString&)> fVentas::abrirVistaRecibo;

namespace {

const QString kCaption = QStringLiteral("Factura de Venta");
const QString kErrorAplicar = QStringLiteral("Error en el evento Click del comando bAplicar del formulario fVentas");

QLabel* Etiqueta(QWidget* padre, const QString& texto, int left, int top, bool negrita = false)
{
    auto* l = new QLabel(texto, padre);
    if (negrita) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    l->adjustSize();
    l->move(Tw(left), Tw(top) + 2);
    return l;
}

QPushButton* Boton(QWidget* padre, const char* nombre, const QString& texto, int left, int top, int width, int height = 345)
{
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setAutoDefault(false);
    ColocarTw(b, left, top, width, height);
    return b;
}

void Bloquear(QWidget* box, bool bloqueado)
{
    if (auto* e = qobject_cast<QLineEdit*>(box))
        e->setReadOnly(bloqueado);
    else if (auto* p = qobject_cast<QPlainTextEdit*>(box))
        p->setReadOnly(bloqueado);
}

// Discount and amount paid: digits and the decimal point only.
int TeclaDinero(int code)
{
    if ((code >= '0' && code <= '9') || code == '.')
        return code;
    return 0;
}

bool EsEntero(const QString& t) { return IsPlainNumber(t.trimmed(), false) && !t.contains(QLatin1Char('.')); }

}  // namespace

fVentas::fVentas()
{
    setObjectName(QStringLiteral("fVentas"));
    setWindowTitle(kCaption);
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    setAutoFillBackground(true);
    setFixedSize(Tw(9180), Tw(7440));

    txt.resize(16);

    // ---- company and user strip ----
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    ColocarTw(Frame2, 60, 0, 9060, 420);
    Etiqueta(Frame2, QStringLiteral("Empresa :"), 120, 60, true);
    lEmpresaSeleccionada = new QLabel(QStringLiteral("nombreempresa"), Frame2);
    lEmpresaSeleccionada->setObjectName(QStringLiteral("lEmpresaSeleccionada"));
    ColocarTw(lEmpresaSeleccionada, 1200, 60, 3500, 300);
    Etiqueta(Frame2, QStringLiteral("Usuario :"), 4800, 60, true);
    auto* usuario = new QLineEdit(Frame2);
    ColocarTw(usuario, 5700, 45, 700, 300);
    txt[14] = usuario;
    lUsuarioOperador = new QLabel(QStringLiteral("usuarioactual"), Frame2);
    lUsuarioOperador->setObjectName(QStringLiteral("lUsuarioOperador"));
    ColocarTw(lUsuarioOperador, 6480, 60, 2500, 300);

    // ---- header ----
    Frame1 = new QGroupBox(QStringLiteral("Venta"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ColocarTw(Frame1, 60, 450, 9060, 6960);
    QWidget* f = Frame1;

    auto caja = [&](int i, int left, int top, int width) {
        auto* e = new QLineEdit(f);
        ColocarTw(e, left, top, width, 315);
        txt[i] = e;
        return e;
    };
    auto* estado = caja(11, 120, 240, 2700);
    {
        QFont fe = estado->font();
        fe.setBold(true);
        fe.setPointSize(fe.pointSize() + 4);
        estado->setFont(fe);
        QPalette p = estado->palette();
        p.setColor(QPalette::Text, Qt::red);
        estado->setPalette(p);
        estado->setAlignment(Qt::AlignCenter);
        ColocarTw(estado, 120, 220, 2700, 400);
    }
    estado->setText(QStringLiteral("Nuevo"));
    Etiqueta(f, QStringLiteral("* Nro. factura :"), 4600, 270);
    caja(13, 5900, 270, 600)->setAlignment(Qt::AlignCenter);
    Etiqueta(f, QStringLiteral("-"), 6540, 270);
    caja(0, 6680, 270, 1500)->setAlignment(Qt::AlignCenter);

    Etiqueta(f, QStringLiteral("* Cliente :"), 120, 720);
    caja(1, 1380, 720, 900)->setText(QStringLiteral("0"));
    bAbrirBuscarClientes = Boton(f, "bAbrirBuscarClientes", QStringLiteral("..."), 2300, 705, 330);
    bAbrirBuscarClientes->setToolTip(QStringLiteral("Seleccione el Cliente haciendo clic aquí"));
    tNombre_cli = new QLineEdit(QStringLiteral("CLIENTE GENERICO"), f);
    tNombre_cli->setObjectName(QStringLiteral("tNombre_cli"));
    tNombre_cli->setReadOnly(true);
    ColocarTw(tNombre_cli, 2700, 720, 3400, 315);
    Etiqueta(f, QStringLiteral("Tel :"), 6200, 720);
    tTelefono_cli = new QLineEdit(f);
    tTelefono_cli->setObjectName(QStringLiteral("tTelefono_cli"));
    tTelefono_cli->setReadOnly(true);
    ColocarTw(tTelefono_cli, 6700, 720, 2200, 315);

    Etiqueta(f, QStringLiteral("* Fecha :"), 120, 1140);
    caja(2, 1380, 1140, 1250);
    Etiqueta(f, QStringLiteral("* Vencimiento :"), 2700, 1140);
    caja(12, 4000, 1140, 1250);
    bAbirCalendario = Boton(f, "bAbirCalendario", QStringLiteral("..."), 5270, 1125, 330);
    Etiqueta(f, QStringLiteral("* Tipo Venta :"), 5700, 1140);
    cb3 = new QComboBox(f);
    cb3->setObjectName(QStringLiteral("cb3"));
    cb3->setEditable(true);
    cb3->addItems({QStringLiteral("CONTADO"), QStringLiteral("CREDITO"), QStringLiteral("CHEQUE"), QStringLiteral("OTROS")});
    cb3->setCurrentIndex(0);
    ColocarTw(cb3, 6900, 1125, 1350, 330);
    auto* forma = caja(3, 8280, 1140, 660);
    forma->setText(QStringLiteral("CONTADO"));
    forma->setReadOnly(true);
    {
        QPalette p = forma->palette();
        p.setColor(QPalette::Base, QColor(0xd4, 0xd0, 0xc8));
        forma->setPalette(p);
        QFont ff = forma->font();
        ff.setPointSizeF(ff.pointSizeF() * 0.7);
        forma->setFont(ff);
    }

    Label25 = Etiqueta(f, QStringLiteral("* Tipo: "), 120, 1560);
    Label25->setObjectName(QStringLiteral("Label25"));
    ComboNcf = new QComboBox(f);
    ComboNcf->setObjectName(QStringLiteral("ComboNcf"));
    ColocarTw(ComboNcf, 1380, 1545, 3000, 330);
    Etiqueta(f, QStringLiteral("* NCF :"), 4600, 1560);
    caja(15, 5400, 1560, 3000);

    // ---- line entry ----
    fraArticulo = new QGroupBox(QStringLiteral("Detalles de la Factura"), f);
    fraArticulo->setObjectName(QStringLiteral("fraArticulo"));
    ColocarTw(fraArticulo, 60, 1950, 8940, 3150);
    QWidget* d = fraArticulo;
    // Column labels above their boxes, wrapped to the box's width.
    auto columna = [d](const QString& texto, int left, int width, bool negrita = false) {
        QLabel* l = Etiqueta(d, texto, left, 180, negrita);
        QFont fl = l->font();
        fl.setPointSizeF(fl.pointSizeF() * 0.85);
        l->setFont(fl);
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        ColocarTw(l, left, 180, width, 420);
    };
    columna(QStringLiteral("Codigo del Artículo"), 120, 1690, true);
    columna(QStringLiteral("Descripción"), 1850, 1900);
    columna(QStringLiteral("Cantidad"), 3800, 750, true);
    columna(QStringLiteral("Valor Unitario $:"), 4600, 1150);
    columna(QStringLiteral("Impuesto %:"), 5800, 650);
    columna(QStringLiteral("SubTotal $:"), 6500, 1000);
    auto detalle = [&](int i, int left, int top, int width) {
        auto* c = new QComboBox(d);
        c->setObjectName(QStringLiteral("txtDetalle%1").arg(i));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        ColocarTw(c, left, top, width, 330);
        txtDetalle[i] = c;
        return c;
    };
    detalle(1, 120, 620, 1350);
    bAbrirAdmArt = Boton(d, "bAbrirAdmArt", QStringLiteral("..."), 1480, 615, 330);
    bAbrirAdmArt->setToolTip(QStringLiteral("Buscar Artículo"));
    tDescripcion_art = new QLineEdit(d);
    tDescripcion_art->setObjectName(QStringLiteral("tDescripcion_art"));
    ColocarTw(tDescripcion_art, 1850, 620, 1900, 330);
    detalle(2, 3800, 620, 750);
    detalle(3, 4600, 620, 1150);
    detalle(4, 5800, 620, 650);
    detalle(5, 6500, 620, 1000);
    detalle(6, 120, 1020, 1690)->setEditText(QStringLiteral("Precio de Compra Actual"));
    ImgArticulo = new QLabel(d);
    ImgArticulo->setObjectName(QStringLiteral("ImgArticulo"));
    ImgArticulo->setFrameShape(QFrame::StyledPanel);
    ImgArticulo->setScaledContents(true);
    ImgArticulo->setToolTip(QStringLiteral("Artículo"));
    ColocarTw(ImgArticulo, 7700, 300, 1100, 1050);
    optModoManual = new QRadioButton(QStringLiteral("Ingreso Modo Manual"), d);
    optModoManual->setObjectName(QStringLiteral("optModoManual"));
    optModoManual->setToolTip(QStringLiteral("Modalidad de Ingreso de Artículos"));
    optModoManual->setChecked(true);
    ColocarTw(optModoManual, 1850, 1035, 2300, 300);
    optModoPOS = new QRadioButton(QStringLiteral("Ingreso Modo Auto"), d);
    optModoPOS->setObjectName(QStringLiteral("optModoPOS"));
    ColocarTw(optModoPOS, 4300, 1035, 2200, 300);

    bAdicionarArticulo = Boton(d, "bAdicionarArticulo", QStringLiteral("A&dicionar"), 120, 1420, 1200);
    bActualizarArticulo = Boton(d, "bActualizarArticulo", QStringLiteral("&Actualizar"), 1380, 1420, 1200);
    bOmitir = Boton(d, "bOmitir", QStringLiteral("&Omitir"), 2640, 1420, 1200);
    bEditarArticulo = Boton(d, "bEditarArticulo", QStringLiteral("&Editar"), 3900, 1420, 1200);
    bEliminarArticulo = Boton(d, "bEliminarArticulo", QStringLiteral("E&liminar"), 5160, 1420, 1200);
    bActualizarArticulo->setEnabled(false);
    bOmitir->setEnabled(false);
    bEditarArticulo->setEnabled(false);
    bEliminarArticulo->setEnabled(false);

    lvwFactura = new ListView(d);
    lvwFactura->setObjectName(QStringLiteral("lvwFactura"));
    lvwFactura->setColumns({QStringLiteral("Cód. Artículo"), QStringLiteral("Descripción"), QStringLiteral("Cantidad"),
                            QStringLiteral("Valor Unitario"), QStringLiteral("Impuesto %"), QStringLiteral("SubTotal"),
                            QStringLiteral("Precio Compra")},
                           {1120, 3000, 850, 1440, 1050, 1440, 1000});
    ColocarTw(lvwFactura, 120, 1820, 8700, 1260);

    // ---- totals and notes ----
    Etiqueta(f, QStringLiteral("Notas :"), 120, 5160);
    auto* notas = new QPlainTextEdit(f);
    notas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ColocarTw(notas, 120, 5420, 3800, 900);
    txt[10] = notas;
    Etiqueta(f, QStringLiteral("Valor Neto $:"), 4000, 5160);
    caja(4, 5650, 5160, 1050)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Impuesto Total $:"), 4000, 5520);
    caja(5, 5650, 5520, 1050)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Descuento $:"), 4000, 5880);
    caja(6, 5650, 5880, 1050);
    Etiqueta(f, QStringLiteral("Abono $:"), 6850, 5160);
    caja(7, 7700, 5160, 1200);
    Etiqueta(f, QStringLiteral("Saldo $:"), 6850, 5520);
    caja(8, 7700, 5520, 1200)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Total $:"), 6850, 5900, true);
    auto* total = caja(9, 7700, 5860, 1200);
    total->setReadOnly(true);
    {
        QFont ft = total->font();
        ft.setBold(true);
        ft.setPointSize(ft.pointSize() + 3);
        total->setFont(ft);
        ColocarTw(total, 7700, 5860, 1200, 420);
    }
    for (int i : {4, 5, 6, 7, 8, 9})
        static_cast<QLineEdit*>(txt[i])->setAlignment(Qt::AlignRight);

    bFactura = Boton(f, "bFactura", QStringLiteral("Vista Previa Factura"), 120, 6450, 1750, 400);
    bRecibo = Boton(f, "bRecibo", QStringLiteral("Vista &Previa Recibo"), 1920, 6450, 1750, 400);
    bAnular = Boton(f, "bAnular", QStringLiteral("Anular"), 3900, 6450, 1150, 400);
    bAnular->hide();
    bAceptar = Boton(f, "bAceptar", QStringLiteral("Aceptar"), 5200, 6450, 1150, 400);
    bCancelar = Boton(f, "bCancelar", QStringLiteral("Cancelar"), 6450, 6450, 1150, 400);
    bAplicar = Boton(f, "bAplicar", QStringLiteral("Aplicar"), 7750, 6450, 1150, 400);

    Calendario = new MonthView(this);
    Calendario->setObjectName(QStringLiteral("Calendario"));
    Calendario->hide();
    Calendario->move(Tw(2000), Tw(2000));
    Calendario->resize(Calendario->sizeHint());

    // ---- wiring ----
    for (int i = 0; i < 16; ++i) {
        txt[i]->setObjectName(QStringLiteral("txt%1").arg(i));
        if (auto* e = qobject_cast<QLineEdit*>(txt[i]))
            connect(e, &QLineEdit::textChanged, this, [this, i] { txt_Change(i); });
        else if (auto* p = qobject_cast<QPlainTextEdit*>(txt[i]))
            connect(p, &QPlainTextEdit::textChanged, this, [this, i] { txt_Change(i); });
        if (i == 6 || i == 7)
            InstallKeyFilter(txt[i], TeclaDinero);
        else
            FiltrarTeclasTexto(txt[i]);
        txt[i]->installEventFilter(this);
    }
    connect(cb3, &QComboBox::activated, this, [this] { cb3_Click(); });
    connect(ComboNcf, &QComboBox::activated, this, [this] { ComboNcf_Click(); });
    connect(bAbrirBuscarClientes, &QPushButton::clicked, this, [] {
        if (abrirBuscarClientes)
            abrirBuscarClientes();
        else
            AbrirBuscarClientes();
    });
    connect(bAbrirAdmArt, &QPushButton::clicked, this, [] {
        if (abrirBuscarArticulos)
            abrirBuscarArticulos();
        else
            AbrirBuscarArticulos();
    });
    connect(bAbirCalendario, &QPushButton::clicked, this, [this] {
        const QDate d = ParseDate(BoxText(txt[12]));
        Calendario->setValue(d.isValid() ? d : QDate::currentDate());
        Calendario->show();
        Calendario->raise();
    });
    connect(Calendario, &MonthView::dateClick, this, [this](const QDate& d) {
        SetBoxText(txt[12], FormatDate(d));
        Calendario->hide();
    });

    for (int i = 1; i <= 6; ++i) {
        connect(txtDetalle[i], &QComboBox::editTextChanged, this, [this, i] { txtDetalle_Change(i); });
        if (i >= 2 && i <= 4)
            FiltrarTeclasNumero(txtDetalle[i]);
    }
    txtDetalle[1]->installEventFilter(this);
    connect(bAdicionarArticulo, &QPushButton::clicked, this, &fVentas::bAdicionarArticulo_Click);
    connect(bActualizarArticulo, &QPushButton::clicked, this, &fVentas::bActualizarArticulo_Click);
    connect(bOmitir, &QPushButton::clicked, this, &fVentas::bOmitir_Click);
    connect(bEditarArticulo, &QPushButton::clicked, this, &fVentas::bEditarArticulo_Click);
    connect(bEliminarArticulo, &QPushButton::clicked, this, &fVentas::bEliminarArticulo_Click);
    connect(lvwFactura, &ListView::itemClick, this, &fVentas::lvwFactura_ItemClick);

    connect(bAplicar, &QPushButton::clicked, this, [this] { bAplicar_Click(); });
    connect(bAceptar, &QPushButton::clicked, this, &fVentas::bAceptar_Click);
    connect(bAnular, &QPushButton::clicked, this, [this] { bAnular_Click(); });
    connect(bCancelar, &QPushButton::clicked, this, &fVentas::bCancelar_Click);
    connect(bFactura, &QPushButton::clicked, this, &fVentas::bFactura_Click);
    connect(bRecibo, &QPushButton::clicked, this, &fVentas::bRecibo_Click);
    TeclasDeVentana(this, nullptr, bCancelar);

    // The search dialogs hand their picked codes here while this window
    // holds a new sale not yet applied.
    DestinoBusqueda destino;
    destino.ventana = this;
    destino.enCaptura = [this] { return gModoFormulario == 2 && nueva_; };
    destino.ponerTercero = [this](const QString& c) {
        SetBoxText(txt[1], c);
        txt[1]->setFocus();
    };
    destino.ponerArticulo = [this](const QString& c) {
        txtDetalle[1]->setEditText(c);
        txtDetalle[1]->setFocus();
    };
    RegistrarDestinoBusqueda(FacturaDestino::Venta, destino);
}

fVentas::~fVentas() { FormUnload(); }

void fVentas::setModo(qint32 m)
{
    modo_ = m;
    gModoFormulario = m;
}

void fVentas::FormUnload()
{
    if (descargada_)
        return;
    descargada_ = true;
    setModo(0);
    detalle_.Soltar();
}

void fVentas::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // In the workspace the frame is the sub-window's: fixed, close box only.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        const Qt::WindowFlags fijo = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                     | Qt::WindowCloseButtonHint;
        if (sub->windowFlags() != fijo) {
            sub->setWindowFlags(fijo);
            sub->show();
        }
    }
}

void fVentas::closeEvent(QCloseEvent* e)
{
    FormUnload();
    QWidget::closeEvent(e);
}

bool fVentas::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        if (o == txtDetalle[1]) {
            txtDetalle1_LostFocus();
        } else if (o == txt[2]) {
            Calendario->hide();
            ValidarFecha();
        } else if (txt.contains(static_cast<QWidget*>(o))) {
            Calendario->hide();
        }
    } else if (e->type() == QEvent::KeyPress && o == txtDetalle[1]) {
        // A scanner ends each code with Enter.
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && optModoPOS->isChecked()) {
            txtDetalle1_LostFocus();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

// ---- opening ----

void fVentas::AbrirNueva()
{
    setModo(2);
    detalle_.setModo(3);
    nueva_ = true;
    numero_.clear();
    Label25->show();
    ComboNcf->show();
    ComboNcf->setEnabled(true);
    Bloquear(txt[15], false);
    const QString hoy = FormatDate(QDate::currentDate());
    SetBoxText(txt[2], hoy);
    SetBoxText(txt[12], hoy);
    SetBoxText(txt[13], gCodigoEmp);
    SetBoxText(txt[14], gCodigoUsu);
    SetBoxText(txt[0], NumText(ObtenerConsecutivo(QStringLiteral("consecutivo_venta"))));
}

void fVentas::MostrarFactura(const QString& numero)
{
    nueva_ = false;
    numero_.clear();
    Label25->hide();
    ComboNcf->hide();
    const QString n = NumText(RoundHalfEven(Val(numero)));
    gSQL = QStringLiteral("Select VENTAS.*, CLIENTES.codigo_cli ") + QStringLiteral(" From CLIENTES, VENTAS Where CLIENTES.codigo_cli = VENTAS.codigo_cli")
           + QStringLiteral(" And VENTAS.codigo_fac = ") + n + QStringLiteral(" And VENTAS.codigo_emp = ") + gCodigoEmp;
    if (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0) {
        // Writing box 0 reloads the NCF types, which replaces gRecordset.
        QStringList valores;
        for (gIndice = 0; gIndice <= 15; ++gIndice)
            valores << gRecordset->Fields(int(gIndice)).Text();
        for (int i = 0; i < 16; ++i)
            SetBoxText(txt[i], valores[i]);
        numero_ = valores[0];
    }
    setModo(3);
    fraArticulo->setEnabled(false);
    bAnular->show();
    bAceptar->setEnabled(false);
    bCancelar->setText(QStringLiteral("Cerrar"));
    bAplicar->setEnabled(false);
    if (BoxText(txt[11]) == QLatin1String("Anulada") || numero_.isEmpty())
        bAnular->setEnabled(false);
    BloquearEncabezado();
    CargarDetalleFactura(lvwFactura,
                         QStringLiteral("select codigo_fac,codigo_emp,codigo_art,descripcion_art,cantidad,valor_unitario,impuesto,SubTotal,precio_compra_det ")
                             + QStringLiteral("From Detalles_FacVen Where codigo_fac = ") + n + QStringLiteral(" And codigo_emp = ")
                             + gCodigoEmp);
}

void fVentas::BloquearEncabezado()
{
    for (int i = 0; i < 16; ++i)
        Bloquear(txt[i], i != 10);
    cb3->setEnabled(false);
    ComboNcf->setEnabled(false);
    bAbrirBuscarClientes->setEnabled(false);
    bAbirCalendario->setEnabled(false);
    Calendario->hide();
}

// ---- header ----

void fVentas::txt_Change(int index)
{
    auto v = [this](int i) { return Val(BoxText(txt[i])); };
    switch (index) {
    case 0:
        CargarComboNcf();
        if (ComboNcf->count() > 0) {
            ComboNcf->setCurrentIndex(0);
            ComboNcf_Click();
        }
        break;
    case 1:
        gSQL = QStringLiteral("Select nombre_cli,telefono_cli From Clientes Where codigo_cli = ") + SqlStr(BoxText(txt[1]));
        if (!AbrirRecordset(gSQL)) {
            tNombre_cli->clear();
            tTelefono_cli->clear();
        } else if (gRecordset->RecordCount() > 0) {
            tNombre_cli->setText(gRecordset->Fields(QStringLiteral("nombre_cli")).Text());
            tTelefono_cli->setText(gRecordset->Fields(QStringLiteral("telefono_cli")).Text());
        }
        break;
    case 3:
        cb3->setEditText(BoxText(txt[3]));
        break;
    case 6:
        SetBoxText(txt[9], NumText(v(4) + v(5) - v(6)));
        SetBoxText(txt[8], NumText(v(9) - v(7)));
        break;
    case 7:
        SetBoxText(txt[8], NumText(v(9) - v(7)));
        break;
    case 11:
        if (BoxText(txt[11]) == QLatin1String("Anulada")) {
            bAnular->setEnabled(false);
            bAceptar->setEnabled(false);
        }
        break;
    case 13:
        gSQL = QStringLiteral("Select nombre_emp From empresas Where codigo_emp = ") + gCodigoEmp;
        if (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0)
            lEmpresaSeleccionada->setText(gRecordset->Fields(QStringLiteral("nombre_emp")).Text());
        break;
    case 14:
        gSQL = QStringLiteral("Select nombre_usu From usuarios Where codigo_usu = ") + SqlStr(BoxText(txt[14]));
        if (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0)
            lUsuarioOperador->setText(gRecordset->Fields(QStringLiteral("nombre_usu")).Text());
        break;
    default:
        break;
    }
}

void fVentas::cb3_Click() { SetBoxText(txt[3], cb3->currentText()); }

void fVentas::ValidarFecha()
{
    if (validandoFecha_)
        return;
    if (ParseDate(BoxText(txt[2])).isValid())
        return;
    validandoFecha_ = true;
    MsgBox(QStringLiteral("Ingrese una fecha válida"), MsgStyle::Exclamation);
    txt[2]->setFocus();
    SetBoxText(txt[2], FormatDate(QDate::currentDate()));
    validandoFecha_ = false;
}

void fVentas::CargarComboNcf()
{
    ComboNcf->clear();
    gSQL = QStringLiteral("Select id,descripcion from ncfs Where id_sucursal = ") + SqlStr(gCodigoEmp);
    if (!AbrirRecordset(gSQL) || gRecordset->RecordCount() < 1)
        return;
    ado::Recordset& rs = *gRecordset;
    ComboNcf->addItem(QStringLiteral("Manual"), 0);
    rs.MoveFirst();
    const long n = rs.RecordCount();
    for (gIndice = 0; gIndice <= n - 1; ++gIndice) {
        ComboNcf->addItem(rs.Fields(1).Text(), rs.Fields(0).toInt());
        rs.MoveNext();
    }
}

qint16 fVentas::IdNcfElegido() const
{
    if (ComboNcf->currentIndex() < 0)
        return 0;
    return qint16(ComboNcf->currentData().toInt());
}

void fVentas::ComboNcf_Click()
{
    const qint16 id = IdNcfElegido();
    if (id == 0) {
        Bloquear(txt[15], false);
        SetBoxText(txt[15], QString());
        return;
    }
    double secuencia = 0;
    gNCF = GenerarNCF(QStringLiteral("consecutivo"), id, &secuencia);
    Bloquear(txt[15], true);
    SetBoxText(txt[15], gNCF);
    if (!gNCF.isEmpty() && VerificarRangoNCF(secuencia, id))
        SetBoxText(txt[15], QString());
}

void fVentas::CalcularTotales()
{
    LimpiarCamposDetalle();
    if (lvwFactura->count() > 0) {
        const TotalesFactura t = CalcularTotalesLista(lvwFactura);
        SetBoxText(txt[4], NumText(t.neto));
        SetBoxText(txt[5], NumText(t.impuesto));
    }
    SetBoxText(txt[6], QStringLiteral("000"));
    SetBoxText(txt[7], QStringLiteral("000"));
    SetBoxText(txt[8], NumText(Val(BoxText(txt[4])) + Val(BoxText(txt[5]))));
    SetBoxText(txt[9], BoxText(txt[8]));
}

bool fVentas::FacturaYaRegistrada()
{
    const QString numero = BoxText(txt[0]).trimmed();
    // The number goes into statements as it stands: only a whole number may.
    if (!EsEntero(numero)) {
        MsgBox(QStringLiteral("Verifique el Código de la factura"));
        return true;
    }
    gSQL = QStringLiteral("Select codigo_fac From Ventas Where codigo_fac = ") + numero + QStringLiteral(" and codigo_emp = ")
           + gCodigoEmp;
    if (!AbrirRecordset(gSQL))
        return false;
    if (gRecordset->RecordCount() < 1) {
        txtDetalle[1]->setFocus();
        return false;
    }
    if (MsgBox(QStringLiteral("El número de factura ") + BoxText(txt[0])
                   + QStringLiteral("  ya esta registrado en el inventario, Desea intentar el siguiente número disponible?"),
               MsgStyle::ExclamationQuestion, kCaption)
        == MsgResult::Yes) {
        SetBoxText(txt[0], NumText(Val(numero) + 1));
        txtDetalle[1]->setFocus();
        return true;
    }
    return false;
}

bool fVentas::ValidarDatosRequeridos()
{
    if (!BoxText(txt[0]).isEmpty() && !tNombre_cli->text().isEmpty() && !BoxText(txt[2]).isEmpty()
        && !BoxText(txt[3]).isEmpty())
        return true;
    MsgBox(QStringLiteral("Ingrese los datos requeridos marcados con asterisco (*)"), MsgStyle::Exclamation);
    return false;
}

void fVentas::RegistrarAbonoInicial()
{
    gAbono.codigo_fac = BoxText(txt[0]);
    gAbono.num_abono = 1;
    gAbono.valor_abono = Val(BoxText(txt[7]));
    gAbono.fecha_abono = ParseDate(BoxText(txt[2]));
    gAbono.codigo_emp = qint16(gCodigoEmp.toInt());
    InsertarAbono(gAbono, QStringLiteral("Fact_xCobrar"));
}

void fVentas::EnviarADisplay(const QString& mensaje) { ::EnviarADisplay(mensaje); }

// ---- line entry ----

void fVentas::txtDetalle_Change(int index)
{
    const qint32 m = detalle_.modo();
    bActualizarArticulo->setEnabled(m == 2 || m == 1);
    if (index == 1) {
        const QString codigo = txtDetalle[1]->currentText();
        encontrado_ = false;
        if (codigo.isEmpty())
            return;
        gSQL = QStringLiteral("select descripcion_art,precio_venta1,precio_venta2,precio_venta3,impuesto,precio_compra,imagen_art From Articulos Where Articulos.CODIGO_ART = ")
               + SqlStr(codigo);
        if (!AbrirRecordset(gSQL)) {
            bActualizarArticulo->setEnabled(false);
            return;
        }
        ado::RecordsetPtr rs = gRecordset;
        if (rs->RecordCount() < 1)
            return;
        QString imagen;
        Err.Clear();
        const bool ok = Trap([&] {
            tDescripcion_art->setText(rs->Fields(QStringLiteral("descripcion_art")).Text());
            txtDetalle[2]->setEditText(QStringLiteral("1"));
            txtDetalle[3]->clear();
            const QString p1 = rs->Fields(QStringLiteral("precio_venta1")).Text();
            txtDetalle[3]->addItems({p1, rs->Fields(QStringLiteral("precio_venta2")).Text(),
                                     rs->Fields(QStringLiteral("precio_venta3")).Text()});
            txtDetalle[3]->setEditText(p1);
            txtDetalle[4]->setEditText(rs->Fields(QStringLiteral("impuesto")).Text());
            txtDetalle[6]->setEditText(rs->Fields(QStringLiteral("precio_compra")).Text());
            imagen = rs->Fields(QStringLiteral("imagen_art")).Text();
        });
        if (ok) {
            encontrado_ = true;
            codigoEncontrado_ = codigo;
            if (!CargarImagen(ImgArticulo, imagen))
                Err.Set(481, QStringLiteral("Imagen no válida"));
        }
        if (!ControlErrores())
            MsgBox(QStringLiteral("Error en la rutina txtDetalle_Change en el formulario fVentas"));
    } else if (index >= 2 && index <= 4) {
        const double q = Val(txtDetalle[2]->currentText());
        const double p = Val(txtDetalle[3]->currentText());
        const double r = Val(txtDetalle[4]->currentText());
        txtDetalle[5]->setEditText(NumText(SubTotalLinea(q, p, r)));
    }
}

void fVentas::HabilitarControlesDetalle(qint32 modo)
{
    const bool idle = modo == 3;
    lvwFactura->setEnabled(idle);
    bAdicionarArticulo->setEnabled(idle);
    bEditarArticulo->setEnabled(idle);
    bEliminarArticulo->setEnabled(idle);
    bActualizarArticulo->setEnabled(!idle);
    bOmitir->setEnabled(!idle);
    if (idle)
        CalcularTotales();
}

void fVentas::LimpiarCamposDetalle()
{
    for (int i = 1; i <= 6; ++i) {
        if (i == 3)
            txtDetalle[3]->clear();
        txtDetalle[i]->setEditText(QString());
    }
    ImgArticulo->clear();
    for (int i = 4; i <= 9; ++i)
        SetBoxText(txt[i], QString());
    tDescripcion_art->clear();
}

bool fVentas::LeerDetalleArticulo()
{
    LineaFactura l;
    if (!LeerLinea(txtDetalle[1]->currentText(), tDescripcion_art->text(), txtDetalle[2]->currentText(),
                   txtDetalle[3]->currentText(), txtDetalle[4]->currentText(), txtDetalle[5]->currentText(),
                   txtDetalle[6]->currentText(), l))
        return false;
    detalle_.setLinea(l);
    return true;
}

void fVentas::AgregarArticuloALista()
{
    AgregarLineaALista(lvwFactura, detalle_.linea());
    detalle_.setModo(3);
    EnviarADisplay(TextoLineaDisplay(txtDetalle[5]->currentText(), tDescripcion_art->text()));
    HabilitarControlesDetalle(3);
}

void fVentas::bAdicionarArticulo_Click()
{
    detalle_.setModo(2);
    HabilitarControlesDetalle(2);
    LimpiarCamposDetalle();
}

void fVentas::bActualizarArticulo_Click()
{
    if (FacturaYaRegistrada())
        return;
    const QString codigo = txtDetalle[1]->currentText();
    const auto sinCodigo = [this] {
        MsgBox(QStringLiteral("Ingrese Código del articulo y Cantidad"));
        txtDetalle[1]->setFocus();
    };
    if (codigo.isEmpty() || txtDetalle[2]->currentText().isEmpty()) {
        sinCodigo();
        return;
    }
    // A code the look-up did not find would take the description and price
    // left in the row by another article.
    if (!encontrado_ || codigo.compare(codigoEncontrado_, Qt::CaseInsensitive) != 0) {
        sinCodigo();
        return;
    }
    if (!ValidarDatosRequeridos())
        return;
    const qint32 m = detalle_.modo();
    if (optModoManual->isChecked() && ExisteEnListView(lvwFactura, codigo) && m == 2) {
        MsgBox(QStringLiteral("El Artículo ya está registrado en el pedido, seleccione 'Ingreso Modo Auto' para no recibir este mensaje"),
               MsgStyle::Plain, kCaption);
        return;
    }
    if (m != 2 && m != 1)
        return;
    if (!LeerDetalleArticulo()) {
        sinCodigo();
        return;
    }
    gSQL = QStringLiteral("select codigo_art, cantidad, stock_minimo from articulos where Articulos.CODIGO_ART like ") + SqlStr(codigo);
    if (VerificarStockMinimo(gSQL, detalle_.linea().cantidad)) {
        if (MsgBox(QStringLiteral("No existen más Artículos con este Código en el inventario, Desea registrar el pedido de todas formas?"),
                   MsgStyle::Question)
            == MsgResult::Yes)
            AgregarArticuloALista();
        return;
    }
    AgregarArticuloALista();
}

void fVentas::bOmitir_Click()
{
    if (detalle_.modo() == 1)
        AgregarArticuloALista();
    detalle_.setModo(3);
    HabilitarControlesDetalle(3);
}

void fVentas::lvwFactura_ItemClick(int position)
{
    if (position < 1 || position > lvwFactura->count())
        return;
    optModoManual->setChecked(true);
    txtDetalle[1]->setEditText(lvwFactura->text(position));
    tDescripcion_art->setText(lvwFactura->subItem(position, 1));
    for (int i = 2; i <= 6; ++i)
        txtDetalle[i]->setEditText(lvwFactura->subItem(position, i));
    LeerDetalleArticulo();
}

void fVentas::bEditarArticulo_Click()
{
    const int i = lvwFactura->selectedIndex();
    if (i < 1 || txtDetalle[1]->currentText().isEmpty()) {
        MsgBox(QStringLiteral("seleccione el artículo a editar"));
        return;
    }
    lvwFactura->remove(i);
    detalle_.setModo(1);
    HabilitarControlesDetalle(1);
}

void fVentas::bEliminarArticulo_Click()
{
    const int i = lvwFactura->selectedIndex();
    if (i < 1 || txtDetalle[1]->currentText().isEmpty()) {
        MsgBox(QStringLiteral("seleccione el artículo a eliminar"));
        return;
    }
    if (MsgBox(QStringLiteral("esta seguro?"), MsgStyle::Question) == MsgResult::No)
        return;
    lvwFactura->remove(i);
    detalle_.setModo(3);
    HabilitarControlesDetalle(3);
}

void fVentas::txtDetalle1_LostFocus()
{
    if (enAuto_ || !optModoPOS->isChecked() || txtDetalle[1]->currentText().isEmpty() || !txtDetalle[1]->isEnabled())
        return;
    enAuto_ = true;
    const QString codigo = txtDetalle[1]->currentText();
    bAdicionarArticulo_Click();
    txtDetalle[1]->setEditText(codigo);
    if (bActualizarArticulo->isEnabled())
        bActualizarArticulo_Click();
    if (bOmitir->isEnabled())
        bOmitir_Click();
    enAuto_ = false;
}

// ---- apply ----

fVentas::Resultado fVentas::GuardarVenta(double saldo)
{
    const QString numero = BoxText(txt[0]).trimmed();
    const QString ncf = BoxText(txt[15]).trimmed();
    const qint16 id = IdNcfElegido();
    const QString ocho = ncf.right(8);
    const bool deRango = id != 0 && ocho.size() == 8 && EsEntero(ocho);
    bool consecutivo = true, consecutivoNcf = true;
    Resultado r = Resultado::Guardada;

    ado::Connection& cn = Conexion();
    Err.Clear();
    const bool ok = Trap([&] {
        cn.BeginTrans();
        try {
            // The company's row first: one apply of the company at a time,
            // so the number and NCF checks below hold until the commit.
            BloquearEmpresa();
            double secuencia = 0;
            if (deRango) {
                switch (ReservarNCF(id, ncf, QStringLiteral("Ventas"), secuencia)) {
                case EstadoNCF::Libre:
                    break;
                case EstadoNCF::Tomado:
                    r = Resultado::NcfTomado;
                    break;
                case EstadoNCF::Agotado:
                case EstadoNCF::SinRango:
                    r = Resultado::NcfAgotado;
                    break;
                }
            } else if (!ncf.isEmpty() && NCFRegistrado(ncf, QStringLiteral("Ventas"))) {
                r = Resultado::NcfManualRepetido;
            }
            if (r != Resultado::Guardada) {
                cn.RollbackTrans();
                return;
            }
            GuardarEncabezadoFactura(txt, QStringLiteral("Ventas"));
            GuardarDetalleFactura(numero, gCodigoEmp, QStringLiteral("Detalles_FacVen"), lvwFactura, SalidaArticulos(),
                                  QStringLiteral("Factura De Venta ") + numero, OrigenMovimiento::Venta);
            if (saldo > 0)
                RegistrarAbonoInicial();
            consecutivo = EscribirConsecutivo(QStringLiteral("consecutivo_venta"), Val(numero));
            if (deRango)
                consecutivoNcf = EscribirConsecutivoNCF(QStringLiteral("consecutivo"), Val(ocho), id);
            cn.CommitTrans();
        } catch (...) {
            cn.RollbackTrans();
            throw;
        }
    });
    if (!ok)
        return Resultado::Fallo;
    if (r != Resultado::Guardada)
        return r;
    EnviarADisplay(TextoTotalDisplay(BoxText(txt[9])));
    if (!consecutivo)
        MsgBox(QStringLiteral("Verifique inmediatamente el consecutivo de la Factura a través de la sección 'Opciones y Parámetros'"));
    if (!consecutivoNcf)
        MsgBox(QStringLiteral("Verifique inmediatamente el consecutivo del NCF a través de la sección 'Opciones y Parámetros'"));
    return Resultado::Guardada;
}

bool fVentas::bAplicar_Click()
{
    if (!nueva_) {
        MsgBox(QStringLiteral("Esta factura ya fue aplicada; abra una factura nueva desde el listado de ventas"), MsgStyle::Exclamation);
        return false;
    }
    if (detalle_.modo() != 3) {
        MsgBox(QStringLiteral("Termine de adicionar o editar el artículo (Actualizar u Omitir) antes de aplicar la factura"),
               MsgStyle::Exclamation);
        return false;
    }
    if (lvwFactura->count() < 1) {
        MsgBox(QStringLiteral("Ingrese los artículos de la factura"));
        return false;
    }
    for (int i : {6, 7}) {
        const QString t = BoxText(txt[i]).trimmed();
        if (!t.isEmpty() && !IsPlainNumber(t, false)) {
            MsgBox(QStringLiteral("El descuento y el abono deben ser cantidades positivas escritas con punto decimal"),
                   MsgStyle::Exclamation);
            txt[i]->setFocus();
            return false;
        }
    }
    const auto detener = [this] {
        SetBoxText(txt[11], QStringLiteral("Nuevo"));
        return false;
    };
    // Cents decide: a balance of 0.001 is no balance.
    const double saldo = RoundHalfEven(Val(BoxText(txt[8])), 2);
    if (saldo < 0) {
        MsgBox(QStringLiteral("El saldo no puede dar resultados negativos"), MsgStyle::Exclamation);
        return false;
    }
    if (saldo == 0) {
        SetBoxText(txt[11], QStringLiteral("Cancelada"));
    } else {
        SetBoxText(txt[11], QStringLiteral("Sin Cancelar"));
        if (MsgBox(QStringLiteral("Es correcto el abono a la factura por $ ") + BoxText(txt[7]) + QStringLiteral(" ?"),
                   MsgStyle::Question)
            == MsgResult::No)
            return detener();
    }
    if (FacturaYaRegistrada()) {
        txt[0]->setFocus();
        return detener();
    }
    const QString monto = Val(BoxText(txt[9])) > Val(BoxText(txt[7])) ? BoxText(txt[7]) : BoxText(txt[9]);
    fRecibirDinero::Mostrar(monto, this);

    switch (GuardarVenta(saldo)) {
    case Resultado::Guardada:
        break;
    case Resultado::Fallo:
        detener();
        ControlErrores();
        MsgBox(kErrorAplicar);
        return false;
    case Resultado::NcfTomado:
        detener();
        MsgBox(QStringLiteral("El NCF ") + BoxText(txt[15])
                   + QStringLiteral(" fue utilizado por otra estación de trabajo y la factura no se guardó. Se generó el siguiente NCF disponible: presione 'Aplicar' de nuevo."),
               MsgStyle::Exclamation);
        ComboNcf_Click();
        return false;
    case Resultado::NcfAgotado:
        detener();
        MsgBox(QStringLiteral("NCFs agotados, favor de aumentar el rango."));
        SetBoxText(txt[15], QString());
        return false;
    case Resultado::NcfManualRepetido:
        detener();
        MsgBox(QStringLiteral("El NCF ") + BoxText(txt[15]) + QStringLiteral(" ya está registrado en otra factura; la factura no se guardó."),
               MsgStyle::Exclamation);
        return false;
    }

    nueva_ = false;
    numero_ = BoxText(txt[0]).trimmed();
    // Stored: the window now shows it, and no search dialog writes into it.
    setModo(3);
    bAceptar->setEnabled(false);
    bAplicar->setEnabled(false);
    bAnular->show();
    bAnular->setEnabled(true);
    bCancelar->setText(QStringLiteral("Cerrar"));
    txtDetalle[1]->setEnabled(false);
    BloquearEncabezado();
    return true;
}

void fVentas::bAceptar_Click()
{
    bAplicar_Click();
    if (MsgBox(QStringLiteral("Cerrar la ventana?"), MsgStyle::Question) == MsgResult::Yes)
        CerrarVentana(this);
}

bool fVentas::bAnular_Click()
{
    if (numero_.isEmpty() || !EsEntero(numero_))
        return false;
    if (MsgBox(QStringLiteral("Desea Digitar en el campo Notas alguna otra información?"), MsgStyle::Question) == MsgResult::Yes) {
        txt[10]->setFocus();
        return false;
    }
    if (MsgBox(QStringLiteral("Esta operación es irreversible, si continua se retornarán los articulos al inventario. Desea continuar?"),
               MsgStyle::Question, kCaption)
        != MsgResult::Yes)
        return false;

    const QString n = numero_;
    const QString donde = QStringLiteral(" and codigo_emp = ") + gCodigoEmp;
    bool yaAnulada = false, existe = true;
    ado::Connection& cn = Conexion();
    Err.Clear();
    const bool ok = Trap([&] {
        cn.BeginTrans();
        try {
            // Read again under lock: another workstation may have annulled it.
            ado::Recordset rs;
            rs.Open(QStringLiteral("Select * from VENTAS Where codigo_fac = ") + n + donde + QStringLiteral(" FOR UPDATE"), cn);
            if (rs.RecordCount() < 1)
                existe = false;
            else if (rs.Fields(11).Text() == QLatin1String("Anulada"))
                yaAnulada = true;
            if (!existe || yaAnulada) {
                cn.RollbackTrans();
                return;
            }
            rs.Fields(10).setValue(BoxText(txt[10]));
            rs.Fields(11).setValue(QStringLiteral("Anulada"));
            rs.Update();
            AnularDetalleFactura(QStringLiteral("Select * from Detalles_FacVen where codigo_fac = ") + n + donde, EntradaArticulos(),
                                 QStringLiteral("Factura De Venta Anulada ") + n, OrigenMovimiento::VentaAnulada);
            cn.CommitTrans();
        } catch (...) {
            cn.RollbackTrans();
            throw;
        }
    });
    if (!ok) {
        ControlErrores();
        MsgBox(QStringLiteral("Error en el evento Click del comando bAnular del formulario fVentas"));
        return false;
    }
    if (!existe) {
        MsgBox(QStringLiteral("La factura ") + n + QStringLiteral(" ya no existe"), MsgStyle::Exclamation);
        bAnular->setEnabled(false);
        return false;
    }
    if (yaAnulada)
        MsgBox(QStringLiteral("La factura ") + n + QStringLiteral(" ya estaba anulada: no se retornó nada al inventario"),
               MsgStyle::Exclamation);
    setModo(0);
    SetBoxText(txt[11], QStringLiteral("Anulada"));
    return !yaAnulada;
}

void fVentas::bCancelar_Click() { CerrarVentana(this); }

void fVentas::bFactura_Click()
{
    if (bAplicar->isEnabled()) {
        MsgBox(QStringLiteral("Presione el comando 'Aplicar' para continuar"), MsgStyle::Exclamation);
        return;
    }
    if (abrirVistaFactura)
        abrirVistaFactura(BoxText(txt[0]));
}

void fVentas::bRecibo_Click()
{
    if (bAplicar->isEnabled()) {
        MsgBox(QStringLiteral("Presione el comando 'Aplicar' para continuar"), MsgStyle::Exclamation);
        return;
    }
    if (abrirVistaRecibo)
        abrirVistaRecibo(BoxText(txt[0]));
}
