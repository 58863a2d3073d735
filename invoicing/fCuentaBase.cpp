#include "fCuentaBase.h"

#include "ListView.h"
#include "mCatalogos.h"
#include "mCuentas.h"
#include "Dinero.h"
#include "mFuncionesCajas.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>

namespace {

const QString kValorAbonar = QStringLiteral("Valor a abonar a la Factura");

QLabel* Rotulo(QWidget* padre, const QString& nombre, const QString& texto, int left, int top)
{
    auto* l = new QLabel(texto, padre);
    l->setObjectName(nombre);
    l->adjustSize();
    l->move(Tw(left), Tw(top));
    return l;
}

QLineEdit* Caja(QWidget* padre, const QString& nombre, int left, int top, int width, int height, bool bloqueada = false)
{
    auto* e = new QLineEdit(padre);
    e->setObjectName(nombre);
    // What the window fills in is neither typed over nor a Tab stop.
    e->setReadOnly(bloqueada);
    if (bloqueada)
        e->setFocusPolicy(Qt::ClickFocus);
    ColocarTw(e, left, top, width, height);
    return e;
}

ListView* Lista(QWidget* padre, const QString& nombre, int left, int top, int width, int height, const QStringList& columnas,
                const QVector<int>& anchos)
{
    auto* l = new ListView(padre);
    l->setObjectName(nombre);
    l->setColumns(columnas, anchos);
    ColocarTw(l, left, top, width, height);
    return l;
}

QPushButton* Boton(QWidget* padre, const QString& nombre, const QString& texto, int left, int top, int width, int height)
{
    auto* b = new QPushButton(texto, padre);
    b->setObjectName(nombre);
    b->setAutoDefault(false);
    ColocarTw(b, left, top, width, height);
    return b;
}

// Ends a label just before its box (the screen font may be wider than the
// one the layout was drawn for), never left of desde.
void Junto(QLabel* l, QWidget* caja, int desde)
{
    l->adjustSize();
    const int x = qMax(desde, caja->x() - l->width() - 4);
    l->setGeometry(x, caja->y() + (caja->height() - l->height()) / 2, caja->x() - 4 - x, l->height());
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

bool EsNumeroFactura(const QString& texto)
{
    static const QRegularExpression re(QStringLiteral("^[0-9]{1,9}$"));
    return re.match(texto).hasMatch();
}

}  // namespace

fCuentaBase::fCuentaBase(const Diseno& d) : d_(d)
{
    setObjectName(d.nombre);
    setWindowTitle(d.caption);
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    diseno_ = QSize(Tw(8730), Tw(d.altoTw));
    setFixedSize(diseno_);

    fraTitulo = new QGroupBox(this);
    fraTitulo->setObjectName(QStringLiteral("fraTitulo"));
    ColocarTw(fraTitulo, 30, 90, 8700, 6030);
    QWidget* m = fraTitulo;

    lbl[0] = Rotulo(m, QStringLiteral("lbl0"), d.etiquetaCodigo, 1260, 375);
    tCodigo = Caja(m, d.codigo, 5055, 255, 3555, 310);
    lvwTerceros = Lista(m, d.lista, 60, 600, 8580, 1260,
                        {QStringLiteral("codigo"), QStringLiteral("Nombres"), QStringLiteral("Documento"),
                         QStringLiteral("Teléfono"), QStringLiteral("Fax")},
                        {700, 1700, 1700, 1440, 1700});
    lbl[1] = Rotulo(m, QStringLiteral("lbl1"), QStringLiteral("Facturas :"), 120, 1905);
    lvwFacturas = Lista(m, QStringLiteral("lvwFacturas"), 60, 2160, 8595, 930,
                        {QStringLiteral("Nro. Factura"), QStringLiteral("Total de la Factura"), QStringLiteral("Total Abonos"),
                         QStringLiteral("Saldo"), d.columnaFecha, QStringLiteral("Vencimiento")},
                        {1370, 1650, 1370, 1050, 1750, 1200});
    lbl[2] = Rotulo(m, QStringLiteral("lbl2"), QStringLiteral("Abonos a la Factura"), 135, 3300);
    txt[0] = Caja(m, QStringLiteral("txt0"), 1635, 3255, 1995, 300, true);
    lvwAbonos = Lista(m, QStringLiteral("lvwAbonos"), 60, 3600, 8580, 990,
                      {QStringLiteral("Nro. Abono"), QStringLiteral("Valor Abonado"), QStringLiteral("Fecha Abono")},
                      {1440, 1440, 1440});
    Label1 = new QLabel(QStringLiteral("Adicionar Abono a la Factura"), m);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ColocarTw(Label1, 210, 4605, 8280, 240);
    lbl[4] = Rotulo(m, QStringLiteral("lbl4"), d.etiquetaFecha, 1260, 4905);
    txt[4] = Caja(m, QStringLiteral("txt4"), 2610, 4785, 1680, 310);
    lbl[3] = Rotulo(m, QStringLiteral("lbl3"), QStringLiteral("Próxima Fecha de Vencimiento :"), 4560, 4905);
    txtFecha_vencimiento = Caja(m, QStringLiteral("txtFecha_vencimiento"), 6870, 4785, 1680, 310);
    lcodigo_fac = Rotulo(m, QStringLiteral("lcodigo_fac"), kValorAbonar, 2040, 5310);
    // A little narrower than drawn: "Saldo Actual :" needs the room in wider fonts.
    txt[2] = Caja(m, QStringLiteral("txt2"), 4035, 5190, 1590, 310);
    lbl[5] = Rotulo(m, QStringLiteral("lbl5"), QStringLiteral("Saldo Actual :"), 5850, 5310);
    txt[3] = Caja(m, QStringLiteral("txt3"), 6870, 5190, 1665, 310, true);
    bAdicionarAbono = Boton(m, QStringLiteral("bAdicionarAbono"), QStringLiteral("Adicionar Abono"), 5010, 5625, 1770, 330);
    bEliminarAbono = Boton(m, QStringLiteral("bEliminarAbono"), QStringLiteral("Eliminar Ultimo Abono"), 6840, 5625, 1770, 330);
    Junto(lbl[0], tCodigo, Tw(60));
    Junto(lbl[4], txt[4], Tw(60));
    Junto(lbl[3], txtFecha_vencimiento, txt[4]->geometry().right() + 6);
    // Room on the left for the invoice number that the caption takes on.
    Junto(lcodigo_fac, txt[2], Tw(60));
    lcodigo_fac->setGeometry(Tw(60), lcodigo_fac->y(), txt[2]->x() - 4 - Tw(60), lcodigo_fac->height());
    Junto(lbl[5], txt[3], txt[2]->geometry().right() + 6);
    bCerrar = Boton(this, QStringLiteral("bCerrar"), QStringLiteral("Cerrar"), 7545, 6105, 1170, 345);

    // No key filter: the code reaches the statements through SqlStr.
    connect(tCodigo, &QLineEdit::textChanged, this, [this] { tCodigo_Change(); });
    // The list tells a click before its selection follows it: the clicked
    // row is selected first, so that the row chosen is the one shown.
    connect(lvwTerceros, &ListView::itemClick, this, [this](int fila) {
        lvwTerceros->select(fila);
        lvwTerceros_Click();
    });
    connect(lvwFacturas, &ListView::itemClick, this, [this](int fila) {
        lvwFacturas->select(fila);
        lvwFacturas_Click();
    });
    connect(bAdicionarAbono, &QPushButton::clicked, this, [this] { bAdicionarAbono_Click(); });
    connect(bEliminarAbono, &QPushButton::clicked, this, [this] { bEliminarAbono_Click(); });
    connect(bCerrar, &QPushButton::clicked, this, [this] { CerrarVentana(this); });
    TeclasDeVentana(this, nullptr, d.cerrarCancela ? bCerrar : nullptr);

    // Load.
    cargarPendientes();
    fraTitulo->setTitle(d.marco + gNombreEmp);
}

void fCuentaBase::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // A fixed border without minimise or maximise buttons.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        const Qt::WindowFlags f = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                  | Qt::WindowCloseButtonHint;
        if (sub->windowFlags() != f) {
            sub->setWindowFlags(f);
            sub->setFixedSize(sub->sizeHint());
        }
    }
}

void fCuentaBase::cargarPendientes()
{
    lvwTerceros->clear();
    gSQL = d_.sqlPendientes + gCodigoEmp;
    if (d_.proveedores)
        verproveedorespendientes(lvwTerceros, gSQL);
    else
        verclientespendientes(lvwTerceros, gSQL);
}

void fCuentaBase::cargarFacturas()
{
    lvwFacturas->clear();
    gSQL = d_.sqlFacturas + SqlStr(tCodigo->text()) + QStringLiteral(" AND codigo_emp = ") + gCodigoEmp
           + QStringLiteral(" AND Estado = 'Sin Cancelar' Order By fecha DESC");
    verfacturaspendientes(lvwFacturas, gSQL);
    cargarAbonos();
    SeleccionarFactura();
}

void fCuentaBase::cargarAbonos()
{
    lvwAbonos->clear();
    const QString numero = txt[0]->text();
    if (numero.isEmpty() || !EsNumeroFactura(numero))
        return;
    gSQL = d_.sqlAbonos + QStringLiteral(" Where codigo_fac = ") + numero + QStringLiteral(" And codigo_emp = ") + gCodigoEmp
           + QStringLiteral(" Order By num_abono DESC");
    verabonos(lvwAbonos, gSQL);
}

void fCuentaBase::OlvidarFactura()
{
    txt[0]->clear();
    txt[2]->clear();
    txt[3]->clear();
    lcodigo_fac->setText(kValorAbonar);
    lvwAbonos->clear();
}

void fCuentaBase::BuscarCodigo()
{
    gSQL = d_.sqlBuscar + SqlStr(tCodigo->text());
    if (!AbrirRecordset(gSQL)) {
        lvwFacturas->clear();
        OlvidarFactura();
        return;
    }
    if (gRecordset->RecordCount() < 1)
        return;
    // Another party: no invoice of the previous one stays chosen.
    lvwFacturas->clear();
    OlvidarFactura();
    cargarFacturas();
}

void fCuentaBase::tCodigo_Change()
{
    const QString codigo = tCodigo->text();
    if (lvwTerceros->count() < 1 || codigo.isEmpty())
        return;
    const int fila = lvwTerceros->find(codigo);
    if (fila < 1)
        return;
    lvwTerceros->select(fila);
    BuscarCodigo();
}

void fCuentaBase::lvwTerceros_Click()
{
    const int fila = lvwTerceros->selectedIndex();
    if (fila < 1)
        return;
    const QString codigo = lvwTerceros->text(fila);
    // The party shown again: its invoices as stored now, none chosen.
    if (tCodigo->text() == codigo)
        tCodigo_Change();
    else
        tCodigo->setText(codigo);
    lvwAbonos->clear();
    txt[2]->clear();
    txt[3]->clear();
}

void fCuentaBase::lvwFacturas_Click()
{
    const int fila = lvwFacturas->selectedIndex();
    if (fila < 1)
        return;
    const QString numero = lvwFacturas->text(fila);
    txt[0]->setText(numero);
    lcodigo_fac->setText(kValorAbonar + QLatin1Char(' ') + numero);
    cargarAbonos();
    if (!EsNumeroFactura(numero)) {
        txt[3]->clear();
        return;
    }
    gSQL = d_.sqlSaldo + numero + QStringLiteral(" And codigo_emp = ") + gCodigoEmp;
    if (AbrirRecordset(gSQL)) {
        if (gRecordset->RecordCount() > 0)
            txt[3]->setText(gRecordset->Fields(QStringLiteral("saldo")).Text());
        else
            txt[3]->clear();
    }
}

int fCuentaBase::FilaFactura() const
{
    const QString numero = txt[0]->text();
    if (numero.isEmpty())
        return 0;
    for (int i = 1; i <= lvwFacturas->count(); ++i)
        if (lvwFacturas->text(i) == numero)
            return i;
    return 0;
}

void fCuentaBase::SeleccionarFactura()
{
    // The exact number: invoice 1 must not select invoice 12. No row looks
    // chosen unless it is, and with no current row left either, a click on
    // any row chooses it.
    if (const int fila = FilaFactura()) {
        lvwFacturas->select(fila);
        return;
    }
    lvwFacturas->setCurrentIndex(QModelIndex());
    lvwFacturas->clearSelection();
}

void fCuentaBase::MostrarGuardado()
{
    cargarFacturas();
    txt[2]->clear();
    if (FilaFactura())
        lvwFacturas_Click();
    else
        OlvidarFactura();
}

QString fCuentaBase::NombreDeCaja(const QLineEdit* caja) const
{
    return (caja == txt[4] ? lbl[4] : lbl[3])->text().remove(QLatin1Char(':')).trimmed();
}

bool fCuentaBase::ValidarAbono()
{
    if (tCodigo->text().isEmpty() || lvwFacturas->count() < 1) {
        MsgBox(d_.sinTercero, MsgStyle::Exclamation);
        return false;
    }
    if (txt[0]->text().isEmpty() || txt[3]->text().isEmpty()) {
        MsgBox(QStringLiteral("Seleccione la factura a aplicar el abono"), MsgStyle::Exclamation);
        return false;
    }
    QStringList sinFecha;
    for (QLineEdit* caja : {txt[4], txtFecha_vencimiento})
        if (!ParseDate(caja->text().trimmed()).isValid())
            sinFecha << QLatin1Char('\'') + NombreDeCaja(caja) + QLatin1Char('\'');
    if (!sinFecha.isEmpty()) {
        MsgBox(QStringLiteral("Ingrese una fecha válida en ") + sinFecha.join(QStringLiteral(" y en ")), MsgStyle::Exclamation);
        const QString hoy = FormatDate(QDate::currentDate());
        txt[4]->setText(hoy);
        txtFecha_vencimiento->setText(hoy);
        return false;
    }
    const QString texto = txt[2]->text().trimmed();
    // A sign is read apart so that "-5" gets the message about the amount.
    if (texto.startsWith(QLatin1Char('-')) && Dinero::Leer(texto.mid(1))) {
        MsgBox(QStringLiteral("El valor del abono debe ser mayor que cero"), MsgStyle::Exclamation);
        return false;
    }
    const std::optional<Dinero> valor = Dinero::Leer(texto);
    if (!valor) {
        MsgBox(QStringLiteral("Verifique el valor del abono"), MsgStyle::Exclamation);
        return false;
    }
    if (valor->centavos() <= 0) {
        MsgBox(QStringLiteral("El valor del abono debe ser mayor que cero"), MsgStyle::Exclamation);
        return false;
    }
    if (Dinero::De(Val(txt[3]->text())) < *valor) {
        MsgBox(QStringLiteral("El valor del Abono no puede ser mayor al Saldo"), MsgStyle::Exclamation);
        return false;
    }
    return true;
}

bool fCuentaBase::Informar(const ResultadoAbono& r, const QString& numero, const QString& boton)
{
    const QString factura = QStringLiteral("La factura ") + numero;
    switch (r.estado) {
    case EstadoAbono::Hecho:
    case EstadoAbono::Cancelada:
        return true;
    case EstadoAbono::ValorInvalido:
        MsgBox(QStringLiteral("El valor del abono debe ser mayor que cero"), MsgStyle::Exclamation);
        break;
    case EstadoAbono::NoExiste:
        MsgBox(factura + QStringLiteral(" ya no existe"), MsgStyle::Exclamation);
        break;
    case EstadoAbono::Anulada:
        MsgBox(factura + QStringLiteral(" está anulada y no admite abonos"), MsgStyle::Exclamation);
        break;
    case EstadoAbono::YaCancelada:
        MsgBox(factura + QStringLiteral(" ya está cancelada"), MsgStyle::Exclamation);
        break;
    case EstadoAbono::SaldoInsuficiente:
        MsgBox(QStringLiteral("El valor del Abono no puede ser mayor al Saldo"), MsgStyle::Exclamation);
        break;
    case EstadoAbono::AbonoNoExiste:
        MsgBox(QStringLiteral("El abono ") + QString::number(r.num_abono) + QStringLiteral(" de la factura ") + numero
                   + QStringLiteral(" ya no existe"),
               MsgStyle::Exclamation);
        break;
    case EstadoAbono::PrimerAbono:
        MsgBox(QStringLiteral("No es posible eliminar el primer abono. Anule o elimine la Factura para realizar el procedimiento."),
               MsgStyle::Information);
        break;
    case EstadoAbono::Error:
        ControlErrores();
        MsgBox(QStringLiteral("Error en el evento Click del comando ") + boton + QStringLiteral(" del formulario ")
               + d_.formulario);
        break;
    }
    return false;
}

bool fCuentaBase::GuardarAbono()
{
    const QString numero = txt[0]->text();
    const double valor = Dinero::Leer(txt[2]->text()).value_or(Dinero()).valor();
    const ResultadoAbono r = AbonarFactura(d_.tablas, numero, valor, ParseDate(txt[4]->text().trimmed()),
                                           ParseDate(txtFecha_vencimiento->text().trimmed()));
    if (!Informar(r, numero, QStringLiteral("bAdicionarAbono")))
        return false;
    if (r.estado == EstadoAbono::Cancelada)
        MsgBox(QStringLiteral("La factura ha sido cancelada y será removida del listado de Facturas pendientes"),
               MsgStyle::Information);
    return true;
}

bool fCuentaBase::EliminarAbono(qint16 num_abono, double valor)
{
    const QString numero = txt[0]->text();
    return Informar(QuitarAbonoFactura(d_.tablas, numero, num_abono, valor), numero, QStringLiteral("bEliminarAbono"));
}

void fCuentaBase::bAdicionarAbono_Click()
{
    if (!ValidarAbono())
        return;
    const double valor = Dinero::Leer(txt[2]->text()).value_or(Dinero()).valor();
    const double nuevo = EnCentavos(Val(txt[3]->text()) - valor);
    if (MsgBox(QStringLiteral("Abono = '") + txt[2]->text() + QStringLiteral("' Nuevo Saldo = '") + NumText(nuevo)
                   + QStringLiteral("'. Desea continuar?"),
               MsgStyle::Question)
        != MsgResult::Yes)
        return;
    GuardarAbono();
    MostrarGuardado();
}

void fCuentaBase::bEliminarAbono_Click()
{
    if (lvwAbonos->count() < 1) {
        MsgBox(QStringLiteral("Seleccione la Factura"), MsgStyle::Information);
        return;
    }
    const int fila = qMax(1, lvwAbonos->selectedIndex());
    const QString numText = lvwAbonos->text(fila);
    if (numText == QLatin1String("1")) {
        MsgBox(QStringLiteral("No es posible eliminar el primer abono. Anule o elimine la Factura para realizar el procedimiento."),
               MsgStyle::Information);
        return;
    }
    bool ok = false;
    const int num = numText.toInt(&ok);
    if (!ok || num < 1 || num > 32767)
        return;
    const double valor = Val(lvwAbonos->subItem(fila, 1));
    // The balance of the chosen invoice as listed; the box when it is not.
    const int factura = FilaFactura();
    const double saldo = factura ? Val(lvwFacturas->subItem(factura, 3)) : Val(txt[3]->text());
    const double nuevo = EnCentavos(saldo + valor);
    if (MsgBox(QStringLiteral("Si elimina el abono, el nuevo saldo será igual a '") + NumText(nuevo)
                   + QStringLiteral("'. Desea continuar?"),
               MsgStyle::Question)
        != MsgResult::Yes)
        return;
    EliminarAbono(qint16(num), valor);
    MostrarGuardado();
}
