#include "fFacturaBase.h"

#include "ListView.h"
#include "Twips.h"
#include "MonthView.h"
#include "KeyFilter.h"
#include "mCatalogos.h"
#include "mDestinoBusqueda.h"
#include "Dinero.h"
#include "mDisplay.h"
#include "mFuncionesCajas.h"
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
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace factura;

namespace factura {

QLabel* Etiqueta(QWidget* padre, const QString& texto, int left, int top, bool negrita)
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

QPushButton* Boton(QWidget* padre, const char* nombre, const QString& texto, int left, int top, int width, int height)
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
    // A locked box is no Tab stop; a click still reaches it, to copy from.
    box->setFocusPolicy(bloqueado ? Qt::ClickFocus : Qt::StrongFocus);
}

int TeclaDinero(int code)
{
    if ((code >= '0' && code <= '9') || code == '.')
        return code;
    return 0;
}

bool EsEntero(const QString& t) { return IsPlainNumber(t.trimmed(), false) && !t.contains(QLatin1Char('.')); }

}  // namespace factura

fFacturaBase::fFacturaBase(DatosFactura datos) : datos_(std::move(datos)) {}

fFacturaBase::~fFacturaBase() { FormUnload(); }

// ---- building ----

QLineEdit* fFacturaBase::CrearFranja(const PosFranja& p)
{
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    ColocarTw(Frame2, 60, 0, p.ancho, 420);
    Etiqueta(Frame2, QStringLiteral("Empresa :"), 120, 60, true);
    lEmpresaSeleccionada = new QLabel(QStringLiteral("nombreempresa"), Frame2);
    lEmpresaSeleccionada->setObjectName(QStringLiteral("lEmpresaSeleccionada"));
    ColocarTw(lEmpresaSeleccionada, p.empresa, 60, p.anchoEmpresa, 300);
    Etiqueta(Frame2, QStringLiteral("Usuario :"), 4800, 60, true);
    auto* usuario = new QLineEdit(Frame2);
    ColocarTw(usuario, p.usuario, 45, p.anchoUsuario, 300);
    txt[14] = usuario;
    lUsuarioOperador = new QLabel(QStringLiteral("usuarioactual"), Frame2);
    lUsuarioOperador->setObjectName(QStringLiteral("lUsuarioOperador"));
    ColocarTw(lUsuarioOperador, p.operador, 60, p.anchoOperador, 300);
    return usuario;
}

QLineEdit* fFacturaBase::Caja(int i, int left, int top, int width)
{
    auto* e = new QLineEdit(Frame1);
    ColocarTw(e, left, top, width, 315);
    txt[i] = e;
    return e;
}

QLineEdit* fFacturaBase::CrearEstado()
{
    auto* estado = Caja(11, 120, 220, 2700);
    QFont fe = estado->font();
    fe.setBold(true);
    fe.setPointSize(fe.pointSize() + 4);
    estado->setFont(fe);
    QPalette p = estado->palette();
    p.setColor(QPalette::Text, Qt::red);
    estado->setPalette(p);
    estado->setAlignment(Qt::AlignCenter);
    ColocarTw(estado, 120, 220, 2700, 400);
    estado->setText(QStringLiteral("Nuevo"));
    return estado;
}

// The payment type: its combo and, beside it, box 3 that holds it.
void fFacturaBase::CrearTipo(const QString& etiqueta, int leftEtiqueta, int leftCombo, int widthCombo, int leftForma, int widthForma)
{
    QWidget* f = Frame1;
    // Box 3 shows its longest type whole: it grows to the left, into the
    // combo, when the font needs it.
    const int necesita = PixelsToTwipsX(QFontMetrics(f->font()).horizontalAdvance(QStringLiteral("CONTADO")) + 14);
    if (widthForma < necesita) {
        leftForma -= necesita - widthForma;
        widthForma = necesita;
        widthCombo = qMin(widthCombo, leftForma - 30 - leftCombo);
    }
    Etiqueta(f, etiqueta, leftEtiqueta, 1140);
    cb3 = new QComboBox(f);
    cb3->setObjectName(QStringLiteral("cb3"));
    cb3->setEditable(true);
    cb3->addItems({QStringLiteral("CONTADO"), QStringLiteral("CREDITO"), QStringLiteral("CHEQUE"), QStringLiteral("OTROS")});
    cb3->setCurrentIndex(0);
    ColocarTw(cb3, leftCombo, 1125, widthCombo, 330);
    auto* forma = Caja(3, leftForma, 1140, widthForma);
    forma->setText(QStringLiteral("CONTADO"));
    forma->setReadOnly(true);
    QPalette p = forma->palette();
    p.setColor(QPalette::Base, QColor(0xd4, 0xd0, 0xc8));
    forma->setPalette(p);
}

void fFacturaBase::CrearTotales(const PosTotales& p)
{
    QWidget* f = Frame1;
    Etiqueta(f, QStringLiteral("Notas :"), 120, 5160);
    auto* notas = new QPlainTextEdit(f);
    notas->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ColocarTw(notas, 120, p.notasTop, p.notasAncho, p.notasAlto);
    txt[10] = notas;
    Etiqueta(f, QStringLiteral("Valor Neto $:"), p.etiqueta1, 5160);
    Caja(4, p.caja1, 5160, p.ancho1)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Impuesto Total $:"), p.etiqueta1, p.fila2);
    Caja(5, p.caja1, p.fila2, p.ancho1)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Descuento $:"), p.etiqueta1, p.fila3);
    Caja(6, p.caja1, p.fila3, p.ancho1);
    Etiqueta(f, QStringLiteral("Abono $:"), p.etiqueta2, 5160);
    Caja(7, p.caja2, 5160, p.ancho2);
    Etiqueta(f, QStringLiteral("Saldo $:"), p.etiqueta2, p.fila2);
    Caja(8, p.caja2, p.fila2, p.ancho2)->setReadOnly(true);
    Etiqueta(f, QStringLiteral("Total $:"), p.etiqueta2, p.etiquetaTotal, true);
    auto* total = Caja(9, p.caja2, p.totalTop, p.ancho2);
    total->setReadOnly(true);
    QFont ft = total->font();
    ft.setBold(true);
    ft.setPointSize(ft.pointSize() + 3);
    total->setFont(ft);
    ColocarTw(total, p.caja2, p.totalTop, p.ancho2, p.totalAlto);
    for (int i : {4, 5, 6, 7, 8, 9})
        static_cast<QLineEdit*>(txt[i])->setAlignment(Qt::AlignRight);
}

void fFacturaBase::CrearBotonesPie(int top, int height)
{
    QWidget* f = Frame1;
    bAnular = Boton(f, "bAnular", QStringLiteral("Anular"), 3900, top, 1150, height);
    bAnular->hide();
    bAceptar = Boton(f, "bAceptar", QStringLiteral("Aceptar"), 5200, top, 1150, height);
    bCancelar = Boton(f, "bCancelar", QStringLiteral("Cancelar"), 6450, top, 1150, height);
    bAplicar = Boton(f, "bAplicar", QStringLiteral("Aplicar"), 7750, top, 1150, height);
}

QComboBox* fFacturaBase::CrearDetalle(int i, int left, int top, int width)
{
    auto* c = new QComboBox(fraArticulo);
    c->setObjectName(QStringLiteral("txtDetalle%1").arg(i));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    ColocarTw(c, left, top, width, 330);
    txtDetalle[i] = c;
    return c;
}

void fFacturaBase::CrearBuscarArticulo(int left, int top, int leftDescripcion, int widthDescripcion)
{
    bAbrirAdmArt = Boton(fraArticulo, "bAbrirAdmArt", QStringLiteral("..."), left, top - 5, 330);
    bAbrirAdmArt->setToolTip(QStringLiteral("Buscar Artículo"));
    tDescripcion_art = new QLineEdit(fraArticulo);
    tDescripcion_art->setObjectName(QStringLiteral("tDescripcion_art"));
    ColocarTw(tDescripcion_art, leftDescripcion, top, widthDescripcion, 330);
}

void fFacturaBase::CrearImagenYModos(const QRect& imagen, const QRect& manual, const QRect& automatico)
{
    QWidget* d = fraArticulo;
    ImgArticulo = new QLabel(d);
    ImgArticulo->setObjectName(QStringLiteral("ImgArticulo"));
    ImgArticulo->setFrameShape(QFrame::StyledPanel);
    ImgArticulo->setScaledContents(true);
    ColocarTw(ImgArticulo, imagen.x(), imagen.y(), imagen.width(), imagen.height());
    optModoManual = new QRadioButton(QStringLiteral("Ingreso Modo Manual"), d);
    optModoManual->setObjectName(QStringLiteral("optModoManual"));
    optModoManual->setToolTip(QStringLiteral("Modalidad de Ingreso de Artículos"));
    optModoManual->setChecked(true);
    ColocarTw(optModoManual, manual.x(), manual.y(), manual.width(), manual.height());
    optModoPOS = new QRadioButton(QStringLiteral("Ingreso Modo Auto"), d);
    optModoPOS->setObjectName(QStringLiteral("optModoPOS"));
    ColocarTw(optModoPOS, automatico.x(), automatico.y(), automatico.width(), automatico.height());
}

void fFacturaBase::CrearBotonesDetalle(int top)
{
    QWidget* d = fraArticulo;
    bAdicionarArticulo = Boton(d, "bAdicionarArticulo", QStringLiteral("A&dicionar"), 120, top, 1200);
    bActualizarArticulo = Boton(d, "bActualizarArticulo", QStringLiteral("&Actualizar"), 1380, top, 1200);
    bOmitir = Boton(d, "bOmitir", QStringLiteral("&Omitir"), 2640, top, 1200);
    bEditarArticulo = Boton(d, "bEditarArticulo", QStringLiteral("&Editar"), 3900, top, 1200);
    bEliminarArticulo = Boton(d, "bEliminarArticulo", QStringLiteral("E&liminar"), 5160, top, 1200);
    bActualizarArticulo->setEnabled(false);
    bOmitir->setEnabled(false);
    bEditarArticulo->setEnabled(false);
    bEliminarArticulo->setEnabled(false);
}

void fFacturaBase::CrearLista(int left, int top, int width, int height)
{
    lvwFactura = new ListView(fraArticulo);
    lvwFactura->setObjectName(QStringLiteral("lvwFactura"));
    lvwFactura->setColumns({QStringLiteral("Cód. Artículo"), QStringLiteral("Descripción"), QStringLiteral("Cantidad"),
                            QStringLiteral("Valor Unitario"), QStringLiteral("Impuesto %"), QStringLiteral("SubTotal"),
                            QStringLiteral("Precio Compra")},
                           {1120, 3000, 850, 1440, 1050, 1440, 1000});
    ColocarTw(lvwFactura, left, top, width, height);
}

void fFacturaBase::CrearCalendario()
{
    Calendario = new MonthView(this);
    Calendario->setObjectName(QStringLiteral("Calendario"));
    Calendario->hide();
    Calendario->move(Tw(2000), Tw(2000));
    Calendario->resize(Calendario->sizeHint());
}

void fFacturaBase::ConectarComun()
{
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
    AjustarCajas(txt, datos_.tabla);
    // What the program fills in is not typed over: a user code typed here
    // would only fail in the store once the cash was taken.
    for (int i : {3, 4, 5, 8, 9, 11, 13, 14})
        Bloquear(txt[i], true);
    connect(cb3, &QComboBox::activated, this, [this] { cb3_Click(); });
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
        KeepControlsOut(txtDetalle[i]);
    }
    txtDetalle[1]->installEventFilter(this);
    connect(bAdicionarArticulo, &QPushButton::clicked, this, &fFacturaBase::bAdicionarArticulo_Click);
    connect(bActualizarArticulo, &QPushButton::clicked, this, &fFacturaBase::bActualizarArticulo_Click);
    connect(bOmitir, &QPushButton::clicked, this, &fFacturaBase::bOmitir_Click);
    connect(bEditarArticulo, &QPushButton::clicked, this, &fFacturaBase::bEditarArticulo_Click);
    connect(bEliminarArticulo, &QPushButton::clicked, this, &fFacturaBase::bEliminarArticulo_Click);
    connect(lvwFactura, &ListView::itemClick, this, &fFacturaBase::lvwFactura_ItemClick);

    connect(bAplicar, &QPushButton::clicked, this, [this] { bAplicar_Click(); });
    connect(bAceptar, &QPushButton::clicked, this, &fFacturaBase::bAceptar_Click);
    connect(bAnular, &QPushButton::clicked, this, [this] { bAnular_Click(); });
    connect(bCancelar, &QPushButton::clicked, this, &fFacturaBase::bCancelar_Click);
}

void fFacturaBase::RegistrarDestino(FacturaDestino f, std::function<bool()> enCaptura)
{
    DestinoBusqueda destino;
    destino.ventana = this;
    destino.enCaptura = std::move(enCaptura);
    destino.ponerTercero = [this](const QString& c) {
        SetBoxText(txt[1], c);
        txt[1]->setFocus();
    };
    destino.ponerArticulo = [this](const QString& c) {
        txtDetalle[1]->setEditText(c);
        txtDetalle[1]->setFocus();
    };
    RegistrarDestinoBusqueda(f, destino);
}

// ---- mode and closing ----

void fFacturaBase::setModo(qint32 m)
{
    modo_ = m;
    *datos_.modoGlobal = m;
}

void fFacturaBase::FormUnload()
{
    if (descargada_)
        return;
    descargada_ = true;
    if (datos_.olvidarNuevaAlCerrar)
        nueva_ = false;
    setModo(0);
    detalle_.Soltar();
}

void fFacturaBase::closeEvent(QCloseEvent* e)
{
    FormUnload();
    QWidget::closeEvent(e);
}

bool fFacturaBase::eventFilter(QObject* o, QEvent* e)
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

void fFacturaBase::AbrirNueva()
{
    setModo(2);
    detalle_.setModo(3);
    nueva_ = true;
    numero_.clear();
    PrepararNueva();
    const QString hoy = FormatDate(QDate::currentDate());
    SetBoxText(txt[2], hoy);
    SetBoxText(txt[12], hoy);
    SetBoxText(txt[13], gCodigoEmp);
    SetBoxText(txt[14], gCodigoUsu);
    SetBoxText(txt[0], NumText(ObtenerConsecutivo(datos_.consecutivo)));
    txt[1]->setFocus();
}

void fFacturaBase::MostrarFactura(const QString& numero)
{
    nueva_ = false;
    numero_.clear();
    PrepararVista();
    const QString n = NumText(RoundHalfEven(Val(numero)));
    const QString& f = datos_.tablaVista;
    const QString& t = datos_.terceros;
    const QString& c = datos_.codigoTercero;
    gSQL = QStringLiteral("Select ") + f + QStringLiteral(".*, ") + t + QLatin1Char('.') + c + QStringLiteral(" ")
           + QStringLiteral(" From ") + t + QStringLiteral(", ") + f + QStringLiteral(" Where ") + t + QLatin1Char('.') + c
           + QStringLiteral(" = ") + f + QLatin1Char('.') + c + QStringLiteral(" And ") + f + QStringLiteral(".codigo_fac = ") + n
           + QStringLiteral(" And ") + f + QStringLiteral(".codigo_emp = ") + gCodigoEmp;
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
                             + QStringLiteral("From ") + datos_.detalles + QStringLiteral(" Where codigo_fac = ") + n
                             + QStringLiteral(" And codigo_emp = ") + gCodigoEmp);
}

void fFacturaBase::BloquearEncabezado()
{
    for (int i = 0; i < 16; ++i)
        Bloquear(txt[i], i != 10);
    cb3->setEnabled(false);
    BloquearPropios();
    bAbirCalendario->setEnabled(false);
    Calendario->hide();
}

// ---- header ----

void fFacturaBase::txt_Change(int index)
{
    switch (index) {
    case 3:
        cb3->setEditText(BoxText(txt[3]));
        break;
    case 6: {
        const CajasSaldo c = SeguirDescuento(BoxText(txt[4]), BoxText(txt[5]), BoxText(txt[6]), BoxText(txt[7]));
        SetBoxText(txt[9], c.total);
        SetBoxText(txt[8], c.saldo);
        break;
    }
    case 7:
        SetBoxText(txt[8], SeguirAbono(BoxText(txt[9]), BoxText(txt[7])));
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

void fFacturaBase::cb3_Click() { SetBoxText(txt[3], cb3->currentText()); }

void fFacturaBase::ValidarFecha()
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

void fFacturaBase::CalcularTotales()
{
    LimpiarCamposDetalle();
    const CajasTotales c = MostrarTotales(LineasDeLista(lvwFactura));
    if (lvwFactura->count() > 0) {
        SetBoxText(txt[4], c.neto);
        SetBoxText(txt[5], c.impuesto);
    }
    SetBoxText(txt[6], c.descuento);
    SetBoxText(txt[7], c.abono);
    SetBoxText(txt[8], c.saldo);
    SetBoxText(txt[9], c.total);
}

bool fFacturaBase::FacturaYaRegistrada()
{
    const QString numero = BoxText(txt[0]).trimmed();
    // The number goes into statements as it stands: only a whole number may.
    if (!EsEntero(numero)) {
        MsgBox(QStringLiteral("Verifique el Código de la factura"));
        return true;
    }
    gSQL = QStringLiteral("Select codigo_fac From ") + datos_.tabla + QStringLiteral(" Where codigo_fac = ") + numero
           + QStringLiteral(" and codigo_emp = ") + gCodigoEmp;
    if (!AbrirRecordset(gSQL))
        return false;
    if (gRecordset->RecordCount() < 1) {
        txtDetalle[1]->setFocus();
        return false;
    }
    if (MsgBox(QStringLiteral("El número de factura ") + BoxText(txt[0])
                   + QStringLiteral("  ya esta registrado en el inventario, Desea intentar el siguiente número disponible?"),
               MsgStyle::ExclamationQuestion, datos_.caption)
        == MsgResult::Yes) {
        SetBoxText(txt[0], NumText(Val(numero) + 1));
        txtDetalle[1]->setFocus();
        return true;
    }
    return false;
}

bool fFacturaBase::ValidarDatosRequeridos()
{
    if (!BoxText(txt[0]).isEmpty() && !NombreTercero()->text().isEmpty() && !BoxText(txt[2]).isEmpty()
        && !BoxText(txt[3]).isEmpty())
        return true;
    MsgBox(QStringLiteral("Ingrese los datos requeridos marcados con asterisco (*)"), MsgStyle::Exclamation);
    return false;
}

void fFacturaBase::RegistrarAbonoInicial(const QString& numero)
{
    ::RegistrarAbonoInicial(FacturaDe(txt, nullptr), numero, datos_.abonos, gCodigoEmp);
}

Factura fFacturaBase::LeerFactura() const { return FacturaDe(txt, lvwFactura); }

void fFacturaBase::EnviarADisplay(const QString& mensaje) { ::EnviarADisplay(mensaje); }

// ---- line entry ----

void fFacturaBase::txtDetalle_Change(int index)
{
    const qint32 m = detalle_.modo();
    bActualizarArticulo->setEnabled(m == 2 || m == 1);
    if (index == 1) {
        const QString codigo = txtDetalle[1]->currentText();
        encontrado_ = false;
        if (codigo.isEmpty())
            return;
        gSQL = SqlArticulo() + SqlStr(codigo);
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
            PonerArticulo(*rs);
            imagen = rs->Fields(QStringLiteral("imagen_art")).Text();
        });
        if (ok) {
            encontrado_ = true;
            codigoEncontrado_ = codigo;
            if (!CargarImagen(ImgArticulo, imagen))
                Err.Set(481, QStringLiteral("Imagen no válida"));
        }
        if (!ControlErrores())
            MsgBox(QStringLiteral("Error en la rutina txtDetalle_Change en el formulario ") + datos_.formulario);
    } else if (index >= 2 && index <= 4) {
        const double q = Val(txtDetalle[2]->currentText());
        const double p = Val(txtDetalle[3]->currentText());
        const double r = Val(txtDetalle[4]->currentText());
        txtDetalle[5]->setEditText(NumText(SubTotalLinea(q, p, r)));
    }
}

void fFacturaBase::HabilitarControlesDetalle(qint32 modo)
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

void fFacturaBase::LimpiarCamposDetalle()
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

bool fFacturaBase::LeerDetalleArticulo()
{
    LineaFactura l;
    if (!LeerLinea(txtDetalle[1]->currentText(), tDescripcion_art->text(), txtDetalle[2]->currentText(),
                   txtDetalle[3]->currentText(), txtDetalle[4]->currentText(), txtDetalle[5]->currentText(),
                   txtDetalle[6]->currentText(), l))
        return false;
    detalle_.setLinea(l);
    return true;
}

void fFacturaBase::AgregarArticuloALista()
{
    AgregarLineaALista(lvwFactura, detalle_.linea());
    detalle_.setModo(3);
    EnviarADisplay(TextoLineaDisplay(txtDetalle[5]->currentText(), tDescripcion_art->text()));
    HabilitarControlesDetalle(3);
}

void fFacturaBase::bAdicionarArticulo_Click()
{
    detalle_.setModo(2);
    HabilitarControlesDetalle(2);
    LimpiarCamposDetalle();
    // The button just disabled itself; without this the focus would fall on
    // the next enabled box (the notes) and the code typed would land there.
    if (!enAuto_)
        txtDetalle[1]->setFocus();
}

void fFacturaBase::bActualizarArticulo_Click()
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
    // left in the row by another article. A look-up the store failed is
    // tried again, with the quantity the clerk typed meanwhile.
    const auto buscado = [&] { return encontrado_ && codigo.compare(codigoEncontrado_, Qt::CaseInsensitive) == 0; };
    if (!buscado()) {
        const QString cantidad = txtDetalle[2]->currentText();
        txtDetalle_Change(1);
        if (buscado())
            txtDetalle[2]->setEditText(cantidad);
    }
    if (!buscado()) {
        sinCodigo();
        return;
    }
    if (!ValidarDatosRequeridos())
        return;
    const qint32 m = detalle_.modo();
    if (optModoManual->isChecked() && ExisteEnListView(lvwFactura, codigo) && m == 2) {
        MsgBox(QStringLiteral("El Artículo ya está registrado en el pedido, seleccione 'Ingreso Modo Auto' para no recibir este mensaje"),
               MsgStyle::Plain, datos_.caption);
        return;
    }
    if (m != 2 && m != 1)
        return;
    if (!LineaAdmitida() || !LeerDetalleArticulo()) {
        sinCodigo();
        return;
    }
    if (StockAdmite(codigo))
        AgregarArticuloALista();
}

void fFacturaBase::bOmitir_Click()
{
    if (detalle_.modo() == 1)
        AgregarArticuloALista();
    detalle_.setModo(3);
    HabilitarControlesDetalle(3);
}

void fFacturaBase::lvwFactura_ItemClick(int position)
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

void fFacturaBase::bEditarArticulo_Click()
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

void fFacturaBase::bEliminarArticulo_Click()
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

void fFacturaBase::txtDetalle1_LostFocus()
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

bool fFacturaBase::Detener()
{
    SetBoxText(txt[11], QStringLiteral("Nuevo"));
    return false;
}

bool fFacturaBase::PrepararAplicar(double& saldo)
{
    if (const auto aviso = RevisarEstadoAplicar({nueva_, *datos_.modoGlobal, detalle_.modo(), lvwFactura->count()},
                                                datos_.listado)) {
        MsgBox(aviso->texto, aviso->estilo);
        return false;
    }
    const CuentaAplicar c = CalcularAplicar(BoxText(txt[4]), BoxText(txt[5]), BoxText(txt[6]), BoxText(txt[7]));
    if (c.falla == CuentaAplicar::Falla::Dinero) {
        MsgBox(QStringLiteral("El descuento y el abono deben ser cantidades positivas escritas con punto decimal y "
                              "a lo sumo dos decimales"),
               MsgStyle::Exclamation);
        txt[c.caja]->setFocus();
        return false;
    }
    saldo = c.saldo;
    if (c.falla == CuentaAplicar::Falla::SaldoNegativo) {
        MsgBox(QStringLiteral("El saldo no puede dar resultados negativos"), MsgStyle::Exclamation);
        return false;
    }
    if (!BoxText(txt[4]).isEmpty())
        SetBoxText(txt[4], NumText(c.neto));
    if (!BoxText(txt[5]).isEmpty())
        SetBoxText(txt[5], NumText(c.impuesto));
    SetBoxText(txt[9], NumText(c.total));
    SetBoxText(txt[8], NumText(c.saldo));

    // What the store would refuse is refused now, before any question.
    const RevisionAplicar rv = RevisarAplicar(LeerFactura(), datos_.terceros, datos_.codigoTercero);
    switch (rv.falla) {
    case RevisionAplicar::Falla::Ninguna:
        break;
    case RevisionAplicar::Falla::Fecha:
        MsgBox(QStringLiteral("Ingrese una fecha válida"), MsgStyle::Exclamation);
        txt[rv.caja]->setFocus();
        return false;
    case RevisionAplicar::Falla::SinTercero:
        MsgBox(QStringLiteral("Ingrese los datos requeridos marcados con asterisco (*)"), MsgStyle::Exclamation);
        return false;
    case RevisionAplicar::Falla::Store:
        return false;
    case RevisionAplicar::Falla::TerceroAusente:
        MsgBox(QStringLiteral("El ") + datos_.nombreTercero + QStringLiteral(" ") + rv.tercero
                   + QStringLiteral(" no está registrado; elíjalo de la lista de búsqueda"),
               MsgStyle::Exclamation);
        txt[1]->setFocus();
        return false;
    case RevisionAplicar::Falla::UsuarioAusente:
        MsgBox(QStringLiteral("El usuario ") + rv.usuario + QStringLiteral(" no está registrado en la empresa ") + gCodigoEmp,
               MsgStyle::Exclamation);
        return false;
    case RevisionAplicar::Falla::ArticuloAusente:
        AvisarArticuloAusente(rv.articulo);
        return false;
    }
    if (!AdmiteAplicar())
        return false;

    SetBoxText(txt[11], c.estado());
    if (saldo != 0) {
        if (MsgBox(QStringLiteral("Es correcto el abono a la factura por $ ") + BoxText(txt[7]) + QStringLiteral(" ?"),
                   MsgStyle::Question)
            == MsgResult::No)
            return false;  // the state box keeps what the balance made it
    }
    if (FacturaYaRegistrada()) {
        txt[0]->setFocus();
        return Detener();
    }
    return true;
}

void fFacturaBase::AvisarArticuloAusente(const QString& codigo)
{
    SetBoxText(txt[11], QStringLiteral("Nuevo"));
    MsgBox(QStringLiteral("El artículo ") + codigo
               + QStringLiteral(" ya no existe: otra estación de trabajo lo eliminó mientras se ingresaba esta factura, "
                                "y la factura no se guardó. Elimine esa línea de la factura, o registre el artículo de "
                                "nuevo, y presione 'Aplicar' otra vez."),
           MsgStyle::Exclamation);
}

QString fFacturaBase::NumeroLibre(const QString& numero) const { return ::NumeroLibre(datos_.tabla, numero, gCodigoEmp); }

void fFacturaBase::MostrarGuardadoCon(const QString& numero, const QString& ncf)
{
    QStringList cambios;
    if (numero != BoxText(txt[0]).trimmed()) {
        // Box 0's handler would choose "Manual" and empty the NCF shown.
        const QSignalBlocker sin(txt[0]);
        SetBoxText(txt[0], numero);
        cambios << QStringLiteral("el número ") + numero;
    }
    if (ncf != BoxText(txt[15]).trimmed()) {
        SetBoxText(txt[15], ncf);
        cambios << QStringLiteral("el NCF ") + ncf;
    }
    if (!cambios.isEmpty())
        MsgBox(QStringLiteral("Otra estación de trabajo tomó lo propuesto: la factura se guardó con ")
                   + cambios.join(QStringLiteral(" y ")) + QLatin1Char('.'),
               MsgStyle::Information, datos_.caption);
}

void fFacturaBase::MarcarAplicada()
{
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
    for (QPushButton* b : {bAdicionarArticulo, bActualizarArticulo, bOmitir, bEditarArticulo, bEliminarArticulo})
        b->setEnabled(false);
    BloquearEncabezado();
}

void fFacturaBase::bAceptar_Click()
{
    bAplicar_Click();
    if (fallo_)
        return;
    if (MsgBox(QStringLiteral("Cerrar la ventana?"), MsgStyle::Question) == MsgResult::Yes)
        CerrarVentana(this);
}

bool fFacturaBase::bAnular_Click()
{
    if (numero_.isEmpty() || !EsEntero(numero_))
        return false;
    // Annulled here or at another workstation: no question to answer.
    gSQL = QStringLiteral("Select Estado from ") + datos_.tablaVista + QStringLiteral(" Where codigo_fac = ") + numero_
           + QStringLiteral(" and codigo_emp = ") + gCodigoEmp;
    if (BoxText(txt[11]) == QLatin1String("Anulada")
        || (AbrirRecordset(gSQL) && gRecordset->RecordCount() > 0
            && gRecordset->Fields(0).Text() == QLatin1String("Anulada"))) {
        MsgBox(QStringLiteral("La factura ") + numero_ + datos_.yaAnulada, MsgStyle::Exclamation);
        setModo(0);
        SetBoxText(txt[11], QStringLiteral("Anulada"));
        bAnular->setEnabled(false);
        return false;
    }
    if (MsgBox(QStringLiteral("Desea Digitar en el campo Notas alguna otra información?"), MsgStyle::Question) == MsgResult::Yes) {
        txt[10]->setFocus();
        return false;
    }
    if (MsgBox(datos_.confirmarAnular, MsgStyle::Question, datos_.caption) != MsgResult::Yes)
        return false;

    const QString n = numero_;
    const ResultadoAnular r = AnularFactura(
        {datos_.tablaVista, datos_.detalles, datos_.stockAnular, datos_.conceptoAnular, datos_.origenAnular}, n,
        BoxText(txt[10]));
    if (!r.ok) {
        ControlErrores();
        MsgBox(QStringLiteral("Error en el evento Click del comando bAnular del formulario ") + datos_.formulario);
        return false;
    }
    if (!r.existe) {
        MsgBox(QStringLiteral("La factura ") + n + QStringLiteral(" ya no existe"), MsgStyle::Exclamation);
        bAnular->setEnabled(false);
        return false;
    }
    if (r.yaAnulada)
        MsgBox(QStringLiteral("La factura ") + n + datos_.yaAnulada, MsgStyle::Exclamation);
    setModo(0);
    SetBoxText(txt[11], QStringLiteral("Anulada"));
    return !r.yaAnulada;
}

void fFacturaBase::bCancelar_Click() { CerrarVentana(this); }
