#include "fCompras.h"

#include "ListView.h"
#include "MonthView.h"
#include "KeyFilter.h"
#include "mCatalogos.h"
#include "mDestinoBusqueda.h"
#include "mDisplay.h"
#include "mFunciones.h"
#include "mFunciones_listas.h"
#include "mNumeracionNCF.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kCaption = QStringLiteral("Factura de Compra");
const QString kErrorAplicar = QStringLiteral("Error en el evento Click del comando bAplicar del formulario fCompras");

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

fCompras::fCompras()
{
    setObjectName(QStringLiteral("fCompras"));
    setWindowTitle(kCaption);
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    setAutoFillBackground(true);
    {
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);
    }
    setFixedSize(Tw(9210), Tw(7110));

    txt.resize(16);

    // ---- company and user strip ----
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    ColocarTw(Frame2, 60, 0, 9090, 420);
    Etiqueta(Frame2, QStringLiteral("Empresa :"), 120, 60, true);
    lEmpresaSeleccionada = new QLabel(QStringLiteral("nombreempresa"), Frame2);
    lEmpresaSeleccionada->setObjectName(QStringLiteral("lEmpresaSeleccionada"));
    ColocarTw(lEmpresaSeleccionada, 1020, 60, 3600, 300);
    Etiqueta(Frame2, QStringLiteral("Usuario :"), 4800, 60, true);
    auto* usuario = new QLineEdit(Frame2);
    usuario->setReadOnly(true);
    {
        QFont fu = usuario->font();
        fu.setBold(true);
        usuario->setFont(fu);
    }
    ColocarTw(usuario, 5900, 45, 600, 300);
    txt[14] = usuario;
    lUsuarioOperador = new QLabel(QStringLiteral("usuarioactual"), Frame2);
    lUsuarioOperador->setObjectName(QStringLiteral("lUsuarioOperador"));
    ColocarTw(lUsuarioOperador, 6600, 60, 2400, 300);

    // ---- header ----
    Frame1 = new QGroupBox(QStringLiteral("Compra"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ColocarTw(Frame1, 60, 450, 9090, 6630);
    QWidget* f = Frame1;

    auto caja = [&](int i, int left, int top, int width) {
        auto* e = new QLineEdit(f);
        ColocarTw(e, left, top, width, 315);
        txt[i] = e;
        return e;
    };
    auto* estado = caja(11, 120, 220, 2700);
    {
        QFont fe = estado->font();
        fe.setBold(true);
        fe.setPointSize(fe.pointSize() + 4);
        estado->setFont(fe);
        QPalette p = estado->palette();
        p.setColor(QPalette::Text, Qt::red);
        estado->setPalette(p);
        estado->setAlignment(Qt::AlignCenter);
        estado->setReadOnly(true);
        ColocarTw(estado, 120, 220, 2700, 400);
    }
    estado->setText(QStringLiteral("Nuevo"));
    Etiqueta(f, QStringLiteral("* Nro. factura :"), 4600, 270);
    auto* empresa = caja(13, 5900, 270, 600);
    empresa->setAlignment(Qt::AlignCenter);
    empresa->setReadOnly(true);
    Etiqueta(f, QStringLiteral("-"), 6540, 270);
    caja(0, 6680, 270, 1500)->setAlignment(Qt::AlignCenter);

    Etiqueta(f, QStringLiteral("* Proveedor :"), 120, 720);
    caja(1, 1380, 720, 900)->setText(QStringLiteral("0"));
    bAbrirBuscarProveedores = Boton(f, "bAbrirBuscarProveedores", QStringLiteral("..."), 2300, 705, 330);
    bAbrirBuscarProveedores->setToolTip(QStringLiteral("Seleccione el Proveedor haciendo clic aquí"));
    tNombre_prov = new QLineEdit(QStringLiteral("PROVEEDOR GENERICO"), f);
    tNombre_prov->setObjectName(QStringLiteral("tNombre_prov"));
    tNombre_prov->setReadOnly(true);
    ColocarTw(tNombre_prov, 2700, 720, 3400, 315);
    Etiqueta(f, QStringLiteral("Tel :"), 6200, 720);
    tTelefono_prov = new QLineEdit(f);
    tTelefono_prov->setObjectName(QStringLiteral("tTelefono_prov"));
    tTelefono_prov->setReadOnly(true);
    ColocarTw(tTelefono_prov, 6700, 720, 2200, 315);

    Etiqueta(f, QStringLiteral("* Fecha :"), 120, 1140);
    caja(2, 1380, 1140, 1300);
    Etiqueta(f, QStringLiteral("* Vencimiento :"), 2800, 1140);
    caja(12, 4250, 1140, 1300);
    bAbirCalendario = Boton(f, "bAbirCalendario", QStringLiteral("..."), 5570, 1125, 330);
    Etiqueta(f, QStringLiteral("* Tipo Compra :"), 6000, 1140);
    cb3 = new QComboBox(f);
    cb3->setObjectName(QStringLiteral("cb3"));
    cb3->setEditable(true);
    cb3->addItems({QStringLiteral("CONTADO"), QStringLiteral("CREDITO"), QStringLiteral("CHEQUE"), QStringLiteral("OTROS")});
    cb3->setCurrentIndex(0);
    ColocarTw(cb3, 7450, 1125, 1200, 330);
    auto* forma = caja(3, 8680, 1140, 330);
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

    Etiqueta(f, QStringLiteral("* NCF:"), 120, 1560);
    caja(15, 1380, 1560, 3000)->setEnabled(false);
    Check1 = new QCheckBox(QStringLiteral("Incluir"), f);
    Check1->setObjectName(QStringLiteral("Check1"));
    ColocarTw(Check1, 4500, 1560, 1200, 300);

    // ---- line entry ----
    fraArticulo = new QGroupBox(QStringLiteral("Detalles de la Factura"), f);
    fraArticulo->setObjectName(QStringLiteral("fraArticulo"));
    ColocarTw(fraArticulo, 60, 1950, 8970, 3150);
    QWidget* d = fraArticulo;
    Etiqueta(d, QStringLiteral("Codigo del Artículo :"), 120, 240, true);
    Etiqueta(d, QStringLiteral("Descripción :"), 2300, 240);
    Etiqueta(d, QStringLiteral("Cantidad :"), 6400, 240, true);
    Etiqueta(d, QStringLiteral("Costo Unitario - con % Impuestos- $ :"), 120, 840);
    Etiqueta(d, QStringLiteral("SubTotal $ :"), 3700, 840);
    auto detalle = [&](int i, int left, int top, int width) {
        auto* c = new QComboBox(d);
        c->setObjectName(QStringLiteral("txtDetalle%1").arg(i));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        ColocarTw(c, left, top, width, 330);
        txtDetalle[i] = c;
        return c;
    };
    detalle(1, 120, 480, 1700);
    bAbrirAdmArt = Boton(d, "bAbrirAdmArt", QStringLiteral("..."), 1850, 475, 330);
    bAbrirAdmArt->setToolTip(QStringLiteral("Buscar Artículo"));
    tDescripcion_art = new QLineEdit(d);
    tDescripcion_art->setObjectName(QStringLiteral("tDescripcion_art"));
    ColocarTw(tDescripcion_art, 2300, 480, 4000, 330);
    detalle(2, 6400, 480, 900);
    detalle(3, 120, 1080, 1500);
    detalle(4, 1700, 1080, 700)->setToolTip(QStringLiteral("% Impuesto"));
    detalle(5, 3700, 1080, 1200);
    auto* precio = detalle(6, 5000, 1080, 1200);
    precio->setEditText(QStringLiteral("Precio de Compra"));
    {
        QPalette p = precio->palette();
        p.setColor(QPalette::Base, QColor(0xd4, 0xd0, 0xc8));
        precio->setPalette(p);
    }
    ImgArticulo = new QLabel(d);
    ImgArticulo->setObjectName(QStringLiteral("ImgArticulo"));
    ImgArticulo->setFrameShape(QFrame::StyledPanel);
    ImgArticulo->setScaledContents(true);
    ColocarTw(ImgArticulo, 8200, 240, 680, 680);
    optModoManual = new QRadioButton(QStringLiteral("Ingreso Modo Manual"), d);
    optModoManual->setObjectName(QStringLiteral("optModoManual"));
    optModoManual->setToolTip(QStringLiteral("Modalidad de Ingreso de Artículos"));
    optModoManual->setChecked(true);
    ColocarTw(optModoManual, 6400, 960, 2300, 250);
    optModoPOS = new QRadioButton(QStringLiteral("Ingreso Modo Auto"), d);
    optModoPOS->setObjectName(QStringLiteral("optModoPOS"));
    ColocarTw(optModoPOS, 6400, 1230, 2300, 250);

    bAdicionarArticulo = Boton(d, "bAdicionarArticulo", QStringLiteral("A&dicionar"), 120, 1500, 1200);
    bActualizarArticulo = Boton(d, "bActualizarArticulo", QStringLiteral("&Actualizar"), 1380, 1500, 1200);
    bOmitir = Boton(d, "bOmitir", QStringLiteral("&Omitir"), 2640, 1500, 1200);
    bEditarArticulo = Boton(d, "bEditarArticulo", QStringLiteral("&Editar"), 3900, 1500, 1200);
    bEliminarArticulo = Boton(d, "bEliminarArticulo", QStringLiteral("E&liminar"), 5160, 1500, 1200);
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
    ColocarTw(lvwFactura, 120, 1900, 8730, 1180);

    // ---- totals and notes ----
    Etiqueta(f, QStringLiteral("Notas :"), 120, 5160);
    auto* notas = new QPlainTextEdit(f);
    notas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ColocarTw(notas, 120, 5400, 3900, 720);
    txt[10] = notas;
    Etiqueta(f, QStringLiteral("Valor Neto $:"), 4100, 5160);
    caja(4, 5900, 5160, 1000)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Impuesto Total $:"), 4100, 5500);
    caja(5, 5900, 5500, 1000)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Descuento $:"), 4100, 5840);
    caja(6, 5900, 5840, 1000);
    Etiqueta(f, QStringLiteral("Abono $:"), 7000, 5160);
    caja(7, 7900, 5160, 1050);
    Etiqueta(f, QStringLiteral("Saldo $:"), 7000, 5500);
    caja(8, 7900, 5500, 1050)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Total $:"), 7000, 5860, true);
    auto* total = caja(9, 7900, 5820, 1050);
    total->setReadOnly(true);
    {
        QFont ft = total->font();
        ft.setBold(true);
        ft.setPointSize(ft.pointSize() + 3);
        total->setFont(ft);
        ColocarTw(total, 7900, 5820, 1050, 400);
    }
    for (int i : {4, 5, 6, 7, 8, 9})
        static_cast<QLineEdit*>(txt[i])->setAlignment(Qt::AlignRight);

    bAnular = Boton(f, "bAnular", QStringLiteral("Anular"), 3900, 6220, 1150, 345);
    bAnular->hide();
    bAceptar = Boton(f, "bAceptar", QStringLiteral("Aceptar"), 5200, 6220, 1150, 345);
    bCancelar = Boton(f, "bCancelar", QStringLiteral("Cancelar"), 6450, 6220, 1150, 345);
    bAplicar = Boton(f, "bAplicar", QStringLiteral("Aplicar"), 7750, 6220, 1150, 345);

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
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    connect(bAbrirBuscarProveedores, &QPushButton::clicked, this, [] { AbrirBuscarProveedores(); });
    connect(bAbrirAdmArt, &QPushButton::clicked, this, [] { AbrirBuscarArticulos(); });
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
    txtDetalle[3]->installEventFilter(this);
    connect(bAdicionarArticulo, &QPushButton::clicked, this, &fCompras::bAdicionarArticulo_Click);
    connect(bActualizarArticulo, &QPushButton::clicked, this, &fCompras::bActualizarArticulo_Click);
    connect(bOmitir, &QPushButton::clicked, this, &fCompras::bOmitir_Click);
    connect(bEditarArticulo, &QPushButton::clicked, this, &fCompras::bEditarArticulo_Click);
    connect(bEliminarArticulo, &QPushButton::clicked, this, &fCompras::bEliminarArticulo_Click);
    connect(lvwFactura, &ListView::itemClick, this, &fCompras::lvwFactura_ItemClick);

    connect(bAplicar, &QPushButton::clicked, this, [this] { bAplicar_Click(); });
    connect(bAceptar, &QPushButton::clicked, this, &fCompras::bAceptar_Click);
    connect(bAnular, &QPushButton::clicked, this, [this] { bAnular_Click(); });
    connect(bCancelar, &QPushButton::clicked, this, &fCompras::bCancelar_Click);
    TeclasDeVentana(this, nullptr, bCancelar);

    // The search dialogs hand codes here only while a new purchase is
    // being entered.
    DestinoBusqueda destino;
    destino.ventana = this;
    destino.enCaptura = [this] { return nueva_ && !descargada_; };
    destino.ponerTercero = [this](const QString& c) {
        SetBoxText(txt[1], c);
        txt[1]->setFocus();
    };
    destino.ponerArticulo = [this](const QString& c) {
        txtDetalle[1]->setEditText(c);
        txtDetalle[1]->setFocus();
    };
    RegistrarDestinoBusqueda(FacturaDestino::Compra, destino);
}

fCompras::~fCompras() { FormUnload(); }

void fCompras::setModo(qint32 m)
{
    modo_ = m;
    gModoCompras = m;
}

void fCompras::FormUnload()
{
    if (descargada_)
        return;
    descargada_ = true;
    nueva_ = false;
    setModo(0);
    detalle_.Soltar();
}

void fCompras::closeEvent(QCloseEvent* e)
{
    FormUnload();
    QWidget::closeEvent(e);
}

bool fCompras::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        if (o == txtDetalle[1]) {
            txtDetalle1_LostFocus();
        } else if (o == txtDetalle[3]) {
            txtDetalle3_LostFocus();
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

void fCompras::AbrirNueva()
{
    setModo(2);
    detalle_.setModo(3);
    nueva_ = true;
    numero_.clear();
    const QString hoy = FormatDate(QDate::currentDate());
    SetBoxText(txt[2], hoy);
    SetBoxText(txt[12], hoy);
    SetBoxText(txt[13], gCodigoEmp);
    SetBoxText(txt[14], gCodigoUsu);
    SetBoxText(txt[0], NumText(ObtenerConsecutivo(QStringLiteral("consecutivo_compra"))));
}

void fCompras::MostrarFactura(const QString& numero)
{
    nueva_ = false;
    numero_.clear();
    const QString n = NumText(RoundHalfEven(Val(numero)));
    gSQL = QStringLiteral("Select Compras.*, Proveedores.codigo_prov ")
           + QStringLiteral(" From Proveedores, Compras Where Proveedores.codigo_prov = Compras.codigo_prov")
           + QStringLiteral(" And Compras.codigo_fac = ") + n + QStringLiteral(" And Compras.codigo_emp = ") + gCodigoEmp;
    if (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0) {
        // The boxes' change handlers replace gRecordset.
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
                             + QStringLiteral("From Detalles_FacCom Where codigo_fac = ") + n + QStringLiteral(" And codigo_emp = ")
                             + gCodigoEmp);
}

void fCompras::BloquearEncabezado()
{
    for (int i = 0; i < 16; ++i)
        Bloquear(txt[i], i != 10);
    cb3->setEnabled(false);
    Check1->setEnabled(false);
    bAbrirBuscarProveedores->setEnabled(false);
    bAbirCalendario->setEnabled(false);
    Calendario->hide();
}

// ---- header ----

void fCompras::txt_Change(int index)
{
    auto v = [this](int i) { return Val(BoxText(txt[i])); };
    switch (index) {
    case 1:
        gSQL = QStringLiteral("Select nombre_prov,telefono_prov From Proveedores Where codigo_prov = ") + SqlStr(BoxText(txt[1]));
        if (!AbrirRecordset(gSQL)) {
            tNombre_prov->clear();
            tTelefono_prov->clear();
        } else if (gRecordset->RecordCount() > 0) {
            tNombre_prov->setText(gRecordset->Fields(QStringLiteral("nombre_prov")).Text());
            tTelefono_prov->setText(gRecordset->Fields(QStringLiteral("telefono_prov")).Text());
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

void fCompras::cb3_Click() { SetBoxText(txt[3], cb3->currentText()); }

void fCompras::Check1_Click()
{
    if (Check1->isChecked()) {
        txt[15]->setEnabled(true);
    } else {
        txt[15]->setEnabled(false);
        SetBoxText(txt[15], QString());
    }
}

void fCompras::ValidarFecha()
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

void fCompras::CalcularTotales()
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

bool fCompras::FacturaYaRegistrada()
{
    const QString numero = BoxText(txt[0]).trimmed();
    // The number goes into statements as it stands: only a whole number may.
    if (!EsEntero(numero)) {
        MsgBox(QStringLiteral("Verifique el Código de la factura"));
        return true;
    }
    gSQL = QStringLiteral("Select codigo_fac From Compras Where codigo_fac = ") + numero + QStringLiteral(" and codigo_emp = ")
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

bool fCompras::ValidarDatosRequeridos()
{
    if (!BoxText(txt[0]).isEmpty() && !tNombre_prov->text().isEmpty() && !BoxText(txt[2]).isEmpty()
        && !BoxText(txt[3]).isEmpty())
        return true;
    MsgBox(QStringLiteral("Ingrese los datos requeridos marcados con asterisco (*)"), MsgStyle::Exclamation);
    return false;
}

void fCompras::RegistrarAbonoInicial()
{
    gAbono.codigo_fac = BoxText(txt[0]);
    gAbono.num_abono = 1;
    gAbono.valor_abono = Val(BoxText(txt[7]));
    gAbono.fecha_abono = ParseDate(BoxText(txt[2]));
    gAbono.codigo_emp = qint16(gCodigoEmp.toInt());
    InsertarAbono(gAbono, QStringLiteral("Fact_xPagar"));
}

void fCompras::EnviarADisplay(const QString& mensaje) { ::EnviarADisplay(mensaje); }

// ---- line entry ----

void fCompras::txtDetalle_Change(int index)
{
    const qint32 m = detalle_.modo();
    bActualizarArticulo->setEnabled(m == 2 || m == 1);
    if (index == 1) {
        const QString codigo = txtDetalle[1]->currentText();
        encontrado_ = false;
        if (codigo.isEmpty())
            return;
        gSQL = QStringLiteral("select descripcion_art,impuesto,precio_compra,imagen_art From Articulos Where Articulos.CODIGO_ART = ")
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
            const QString costo = rs->Fields(QStringLiteral("precio_compra")).Text();
            txtDetalle[3]->clear();
            txtDetalle[3]->setEditText(costo);
            // The unit cost is taken with its taxes: a purchase line starts
            // at rate 0.
            txtDetalle[4]->setEditText(QStringLiteral("0"));
            txtDetalle[6]->setEditText(costo);
            imagen = rs->Fields(QStringLiteral("imagen_art")).Text();
        });
        if (ok) {
            encontrado_ = true;
            codigoEncontrado_ = codigo;
            if (!CargarImagen(ImgArticulo, imagen))
                Err.Set(481, QStringLiteral("Imagen no válida"));
        }
        if (!ControlErrores())
            MsgBox(QStringLiteral("Error en la rutina txtDetalle_Change en el formulario fCompras"));
    } else if (index >= 2 && index <= 4) {
        const double q = Val(txtDetalle[2]->currentText());
        const double p = Val(txtDetalle[3]->currentText());
        const double r = Val(txtDetalle[4]->currentText());
        txtDetalle[5]->setEditText(NumText(SubTotalLinea(q, p, r)));
    }
}

void fCompras::HabilitarControlesDetalle(qint32 modo)
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

void fCompras::LimpiarCamposDetalle()
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

bool fCompras::LeerDetalleArticulo()
{
    LineaFactura l;
    if (!LeerLinea(txtDetalle[1]->currentText(), tDescripcion_art->text(), txtDetalle[2]->currentText(),
                   txtDetalle[3]->currentText(), txtDetalle[4]->currentText(), txtDetalle[5]->currentText(),
                   txtDetalle[6]->currentText(), l))
        return false;
    detalle_.setLinea(l);
    return true;
}

void fCompras::AgregarArticuloALista()
{
    AgregarLineaALista(lvwFactura, detalle_.linea());
    detalle_.setModo(3);
    EnviarADisplay(TextoLineaDisplay(txtDetalle[5]->currentText(), tDescripcion_art->text()));
    HabilitarControlesDetalle(3);
}

void fCompras::bAdicionarArticulo_Click()
{
    detalle_.setModo(2);
    HabilitarControlesDetalle(2);
    LimpiarCamposDetalle();
}

void fCompras::bActualizarArticulo_Click()
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
    // A code the look-up did not find would take the description and cost
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
    // Quantity, cost, rate: plain numbers that fit, never below zero.
    bool negativo = false;
    for (int i = 2; i <= 6; ++i)
        if (i != 5 && Val(txtDetalle[i]->currentText()) < 0)
            negativo = true;
    if (negativo || !LeerDetalleArticulo()) {
        sinCodigo();
        return;
    }
    gSQL = QStringLiteral("select codigo_art, cantidad, stock_maximo from articulos where Articulos.CODIGO_ART like ") + SqlStr(codigo);
    if (VerificarStockMaximo(gSQL, detalle_.linea().cantidad)) {
        if (MsgBox(QStringLiteral("Desea registrar el pedido de todas formas?"), MsgStyle::Question) == MsgResult::Yes)
            AgregarArticuloALista();
        return;
    }
    AgregarArticuloALista();
}

void fCompras::bOmitir_Click()
{
    if (detalle_.modo() == 1)
        AgregarArticuloALista();
    detalle_.setModo(3);
    HabilitarControlesDetalle(3);
}

void fCompras::lvwFactura_ItemClick(int position)
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

void fCompras::bEditarArticulo_Click()
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

void fCompras::bEliminarArticulo_Click()
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

void fCompras::txtDetalle1_LostFocus()
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

// The line is stored and costed at the unit cost typed.
void fCompras::txtDetalle3_LostFocus() { txtDetalle[6]->setEditText(txtDetalle[3]->currentText()); }

// ---- apply ----

bool fCompras::GuardarCompra(double saldo, bool& consecutivo)
{
    const QString numero = BoxText(txt[0]).trimmed();
    ado::Connection& cn = Conexion();
    Err.Clear();
    return Trap([&] {
        cn.BeginTrans();
        try {
            // The company's row first: the applies of one company run one
            // after the other, whatever articles they touch.
            BloquearEmpresa();
            GuardarEncabezadoFactura(txt, QStringLiteral("Compras"));
            GuardarDetalleFactura(numero, gCodigoEmp, QStringLiteral("Detalles_FacCom"), lvwFactura, EntradaArticulos(),
                                  QStringLiteral("Factura de Compra ") + numero, OrigenMovimiento::Compra);
            if (saldo > 0)
                RegistrarAbonoInicial();
            consecutivo = EscribirConsecutivo(QStringLiteral("consecutivo_compra"), Val(numero));
            cn.CommitTrans();
        } catch (...) {
            cn.RollbackTrans();
            throw;
        }
    });
}

bool fCompras::bAplicar_Click()
{
    fallo_ = false;
    if (!nueva_) {
        MsgBox(QStringLiteral("Esta factura ya fue aplicada; abra una factura nueva desde el listado de compras"), MsgStyle::Exclamation);
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

    bool consecutivo = true;
    if (!GuardarCompra(saldo, consecutivo)) {
        fallo_ = true;
        detener();
        ControlErrores();
        MsgBox(kErrorAplicar);
        return false;
    }
    EnviarADisplay(TextoTotalDisplay(BoxText(txt[9])));
    if (!consecutivo)
        MsgBox(QStringLiteral("Verifique inmediatamente el consecutivo de la Factura a través de la sección 'Opciones y Parámetros'"));

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

void fCompras::bAceptar_Click()
{
    bAplicar_Click();
    if (fallo_)
        return;
    if (MsgBox(QStringLiteral("Cerrar la ventana?"), MsgStyle::Question) == MsgResult::Yes)
        CerrarVentana(this);
}

bool fCompras::bAnular_Click()
{
    if (numero_.isEmpty() || !EsEntero(numero_))
        return false;
    if (MsgBox(QStringLiteral("Desea Digitar en el campo Notas alguna otra información?"), MsgStyle::Question) == MsgResult::Yes) {
        txt[10]->setFocus();
        return false;
    }
    if (MsgBox(QStringLiteral("Esta operación es irreversible, si continua, los artículos pedidos se extraerán del inventario. Desea continuar?"),
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
            rs.Open(QStringLiteral("Select * from Compras Where codigo_fac = ") + n + donde + QStringLiteral(" FOR UPDATE"), cn);
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
            AnularDetalleFactura(QStringLiteral("Select * from Detalles_FacCom where codigo_fac = ") + n + donde, SalidaArticulos(),
                                 QStringLiteral("Factura de Compra Anulada ") + n, OrigenMovimiento::CompraAnulada);
            cn.CommitTrans();
        } catch (...) {
            cn.RollbackTrans();
            throw;
        }
    });
    if (!ok) {
        ControlErrores();
        MsgBox(QStringLiteral("Error en el evento Click del comando bAnular del formulario fCompras"));
        return false;
    }
    if (!existe) {
        MsgBox(QStringLiteral("La factura ") + n + QStringLiteral(" ya no existe"), MsgStyle::Exclamation);
        bAnular->setEnabled(false);
        return false;
    }
    if (yaAnulada)
        MsgBox(QStringLiteral("La factura ") + n + QStringLiteral(" ya estaba anulada: no se extrajo nada del inventario"),
               MsgStyle::Exclamation);
    setModo(0);
    SetBoxText(txt[11], QStringLiteral("Anulada"));
    return !yaAnulada;
}

void fCompras::bCancelar_Click() { CerrarVentana(this); }
