#include "fVentas.h"

#include "fRecibirDinero.h"
#include "mCatalogos.h"
#include "mDestinoBusqueda.h"
#include "mDisplay.h"
#include "mFuncionesCajas.h"
#include "mNumeracionNCF.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>


namespace {

const QString kCaption = QStringLiteral("Factura de Venta");
const QString kErrorAplicar = QStringLiteral("Error en el evento Click del comando bAplicar del formulario fVentas");

DatosFactura DatosVentas()
{
    DatosFactura d;
    d.formulario = QStringLiteral("fVentas");
    d.caption = kCaption;
    d.tabla = QStringLiteral("Ventas");
    d.tablaVista = QStringLiteral("VENTAS");
    d.terceros = QStringLiteral("CLIENTES");
    d.codigoTercero = QStringLiteral("codigo_cli");
    d.nombreTercero = QStringLiteral("cliente");
    d.detalles = QStringLiteral("Detalles_FacVen");
    d.abonos = QStringLiteral("Fact_xCobrar");
    d.consecutivo = QStringLiteral("consecutivo_venta");
    d.listado = QStringLiteral("ventas");
    d.confirmarAnular = QStringLiteral("Esta operación es irreversible, si continua se retornarán los articulos al inventario. Desea continuar?");
    d.stockAnular = EntradaArticulos();
    d.conceptoAnular = QStringLiteral("Factura De Venta Anulada ");
    d.origenAnular = OrigenMovimiento::VentaAnulada;
    d.yaAnulada = QStringLiteral(" ya estaba anulada: no se retornó nada al inventario");
    d.modoGlobal = &gModoFormulario;
    return d;
}

QString NcfRepetido(const QString& ncf)
{
    return QStringLiteral("El NCF ") + ncf + QStringLiteral(" ya está registrado en otra factura; la factura no se guardó.");
}

}  // namespace

using namespace factura;

fVentas::fVentas() : fFacturaBase(DatosVentas())
{
    setObjectName(QStringLiteral("fVentas"));
    setWindowTitle(kCaption);
    setWindowFlags(windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    setAutoFillBackground(true);
    setFixedSize(Tw(9180), Tw(7440));

    txt.resize(16);

    // ---- company and user strip ----
    CrearFranja({.ancho = 9060, .empresa = 1200, .anchoEmpresa = 3500, .usuario = 5700, .anchoUsuario = 700,
                 .operador = 6480, .anchoOperador = 2500});

    // ---- header ----
    Frame1 = new QGroupBox(QStringLiteral("Venta"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ColocarTw(Frame1, 60, 450, 9060, 6960);
    QWidget* f = Frame1;

    CrearEstado();
    Etiqueta(f, QStringLiteral("* Nro. factura :"), 4600, 270);
    Caja(13, 5900, 270, 600)->setAlignment(Qt::AlignCenter);
    Etiqueta(f, QStringLiteral("-"), 6540, 270);
    Caja(0, 6680, 270, 1500)->setAlignment(Qt::AlignCenter);

    Etiqueta(f, QStringLiteral("* Cliente :"), 120, 720);
    Caja(1, 1380, 720, 900)->setText(QStringLiteral("0"));
    bAbrirBuscarClientes = Boton(f, "bAbrirBuscarClientes", QStringLiteral("..."), 2300, 705, 330);
    bAbrirBuscarClientes->setToolTip(QStringLiteral("Seleccione el Cliente haciendo clic aquí"));
    tNombre_cli = new QLineEdit(QStringLiteral("CLIENTE GENERICO"), f);
    tNombre_cli->setObjectName(QStringLiteral("tNombre_cli"));
    Bloquear(tNombre_cli, true);
    ColocarTw(tNombre_cli, 2700, 720, 3400, 315);
    Etiqueta(f, QStringLiteral("Tel :"), 6200, 720);
    tTelefono_cli = new QLineEdit(f);
    tTelefono_cli->setObjectName(QStringLiteral("tTelefono_cli"));
    Bloquear(tTelefono_cli, true);
    ColocarTw(tTelefono_cli, 6700, 720, 2200, 315);

    Etiqueta(f, QStringLiteral("* Fecha :"), 120, 1140);
    Caja(2, 1380, 1140, 1250);
    Etiqueta(f, QStringLiteral("* Vencimiento :"), 2700, 1140);
    Caja(12, 4000, 1140, 1250);
    bAbirCalendario = Boton(f, "bAbirCalendario", QStringLiteral("..."), 5270, 1125, 330);
    CrearTipo(QStringLiteral("* Tipo Venta :"), 5700, 6800, 1350, 8280, 660);

    Label25 = Etiqueta(f, QStringLiteral("* Tipo: "), 120, 1560);
    Label25->setObjectName(QStringLiteral("Label25"));
    ComboNcf = new QComboBox(f);
    ComboNcf->setObjectName(QStringLiteral("ComboNcf"));
    ColocarTw(ComboNcf, 1380, 1545, 3000, 330);
    Etiqueta(f, QStringLiteral("* NCF :"), 4600, 1560);
    Caja(15, 5400, 1560, 3000);

    // ---- line entry ----
    fraArticulo = new QGroupBox(QStringLiteral("Detalles de la Factura"), f);
    fraArticulo->setObjectName(QStringLiteral("fraArticulo"));
    ColocarTw(fraArticulo, 60, 1950, 8940, 3150);
    QWidget* d = fraArticulo;
    // Each column's caption on one line above its box; the boxes leave
    // room for the widest ones, "Valor Unitario $:" and "Impuesto %:".
    const int encima = 360;
    Etiqueta(d, QStringLiteral("Codigo del Artículo"), 120, encima, true);
    Etiqueta(d, QStringLiteral("Descripción"), 1850, encima);
    Etiqueta(d, QStringLiteral("Cantidad"), 3400, encima, true);
    Etiqueta(d, QStringLiteral("Valor Unitario $:"), 4200, encima);
    Etiqueta(d, QStringLiteral("Impuesto %:"), 5550, encima);
    Etiqueta(d, QStringLiteral("SubTotal $:"), 6550, encima);
    CrearDetalle(1, 120, 620, 1350);
    CrearBuscarArticulo(1480, 620, 1850, 1500);
    CrearDetalle(2, 3400, 620, 750);
    CrearDetalle(3, 4200, 620, 1300);
    CrearDetalle(4, 5550, 620, 950);
    CrearDetalle(5, 6550, 620, 1000);
    CrearDetalle(6, 120, 1020, 2250)->setEditText(QStringLiteral("Precio de Compra Actual"));
    CrearImagenYModos({7700, 300, 1100, 1050}, {2450, 1035, 2300, 300}, {4900, 1035, 2200, 300});
    ImgArticulo->setToolTip(QStringLiteral("Artículo"));

    CrearBotonesDetalle(1420);
    CrearLista(120, 1820, 8700, 1260);

    // ---- totals and notes ----
    CrearTotales({.notasTop = 5420, .notasAncho = 3800, .notasAlto = 900,
                  .etiqueta1 = 4000, .caja1 = 5650, .ancho1 = 1050,
                  .etiqueta2 = 6850, .caja2 = 7700, .ancho2 = 1200,
                  .fila2 = 5520, .fila3 = 5880, .etiquetaTotal = 5900, .totalTop = 5860, .totalAlto = 420});

    bFactura = Boton(f, "bFactura", QStringLiteral("Vista Previa Factura"), 120, 6450, 1750, 400);
    bRecibo = Boton(f, "bRecibo", QStringLiteral("Vista &Previa Recibo"), 1920, 6450, 1750, 400);
    CrearBotonesPie(6450, 400);

    CrearCalendario();

    // ---- wiring ----
    ConectarComun();
    connect(ComboNcf, &QComboBox::activated, this, [this] { ComboNcf_Click(); });
    connect(bAbrirBuscarClientes, &QPushButton::clicked, this, [] { AbrirBuscarClientes(); });
    connect(bAbrirAdmArt, &QPushButton::clicked, this, [] { AbrirBuscarArticulos(); });
    connect(bFactura, &QPushButton::clicked, this, &fVentas::bFactura_Click);
    connect(bRecibo, &QPushButton::clicked, this, &fVentas::bRecibo_Click);
    TeclasDeVentana(this, nullptr, bCancelar);

    // The search dialogs hand their picked codes here while this window
    // holds a new sale not yet applied.
    RegistrarDestino(FacturaDestino::Venta, [this] { return gModoFormulario == 2 && nueva_; });
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

// ---- opening ----

void fVentas::PrepararNueva()
{
    Label25->show();
    ComboNcf->show();
    ComboNcf->setEnabled(true);
    Bloquear(txt[15], false);
}

// Writing box 0 reloads the NCF types, which replaces gRecordset: the
// stored row is read whole before any box is written.
void fVentas::PrepararVista()
{
    Label25->hide();
    ComboNcf->hide();
}

void fVentas::BloquearPropios()
{
    ComboNcf->setEnabled(false);
    bAbrirBuscarClientes->setEnabled(false);
}

// ---- header ----

void fVentas::txt_Change(int index)
{
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
    default:
        fFacturaBase::txt_Change(index);
        break;
    }
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
    if (!gNCF.isEmpty())
        VerificarRangoNCF(secuencia, id, [this] { SetBoxText(txt[15], QString()); });
}

bool fVentas::NcfDeRango() const
{
    const QString ncf = BoxText(txt[15]).trimmed();
    return IdNcfElegido() != 0 && ncf.size() >= 8 && EsEntero(ncf.right(8));
}

// ---- line entry ----

QString fVentas::SqlArticulo() const
{
    return QStringLiteral("select descripcion_art,precio_venta1,precio_venta2,precio_venta3,impuesto,precio_compra,imagen_art From Articulos Where Articulos.CODIGO_ART = ");
}

void fVentas::PonerArticulo(ado::Recordset& rs)
{
    txtDetalle[3]->clear();
    const QString p1 = rs.Fields(QStringLiteral("precio_venta1")).Text();
    txtDetalle[3]->addItems({p1, rs.Fields(QStringLiteral("precio_venta2")).Text(), rs.Fields(QStringLiteral("precio_venta3")).Text()});
    txtDetalle[3]->setEditText(p1);
    txtDetalle[4]->setEditText(rs.Fields(QStringLiteral("impuesto")).Text());
    txtDetalle[6]->setEditText(rs.Fields(QStringLiteral("precio_compra")).Text());
}

bool fVentas::StockAdmite(const QString& codigo)
{
    gSQL = QStringLiteral("select codigo_art, cantidad, stock_minimo from articulos where Articulos.CODIGO_ART like ") + SqlStr(codigo);
    if (VerificarStockMinimo(gSQL, detalle_.linea().cantidad, codigo))
        return MsgBox(QStringLiteral("No existen más Artículos con este Código en el inventario, Desea registrar el pedido de todas formas?"),
                      MsgStyle::Question)
               == MsgResult::Yes;
    return true;
}

// ---- apply ----

bool fVentas::AdmiteAplicar()
{
    // A range's NCF is checked, and replaced when taken, as it is stored;
    // a typed one can only be refused, so before the cash is counted.
    const QString ncf = BoxText(txt[15]).trimmed();
    if (ncf.isEmpty() || NcfDeRango())
        return true;
    switch (RevisarNcfTecleado(ncf)) {
    case NcfTecleado::Libre:
        return true;
    case NcfTecleado::Repetido:
        MsgBox(NcfRepetido(ncf), MsgStyle::Exclamation);
        return false;
    case NcfTecleado::Store:
        break;
    }
    return false;
}

ResultadoAplicar fVentas::GuardarVenta(double saldo)
{
    const ResultadoAplicar a = AplicarVenta(LeerFactura(), saldo, IdNcfElegido(), NcfDeRango());
    if (a.estado != Resultado::Guardada)
        return a;
    MostrarGuardadoCon(a.numero, a.ncf);
    EnviarADisplay(TextoTotalDisplay(BoxText(txt[9])));
    if (!a.consecutivo)
        MsgBox(QStringLiteral("Verifique inmediatamente el consecutivo de la Factura a través de la sección 'Opciones y Parámetros'"));
    if (!a.consecutivoNcf)
        MsgBox(QStringLiteral("Verifique inmediatamente el consecutivo del NCF a través de la sección 'Opciones y Parámetros'"));
    return a;
}

bool fVentas::bAplicar_Click()
{
    fallo_ = false;
    double saldo = 0;
    if (!PrepararAplicar(saldo))
        return false;
    const QString monto = Val(BoxText(txt[9])) > Val(BoxText(txt[7])) ? BoxText(txt[7]) : BoxText(txt[9]);
    fRecibirDinero::Mostrar(monto, this);

    const ResultadoAplicar r = GuardarVenta(saldo);
    switch (r.estado) {
    case Resultado::Guardada:
        break;
    case Resultado::Fallo:
        fallo_ = true;
        Detener();
        ControlErrores();
        MsgBox(kErrorAplicar);
        return false;
    case Resultado::NcfTomado:
        Detener();
        MsgBox(QStringLiteral("El NCF ") + BoxText(txt[15])
                   + QStringLiteral(" fue utilizado por otra estación de trabajo y la factura no se guardó. Se generó el siguiente NCF disponible: presione 'Aplicar' de nuevo."),
               MsgStyle::Exclamation);
        ComboNcf_Click();
        return false;
    case Resultado::NcfAgotado:
        Detener();
        MsgBox(QStringLiteral("NCFs agotados, favor de aumentar el rango."));
        SetBoxText(txt[15], QString());
        return false;
    case Resultado::NcfManualRepetido:
        Detener();
        MsgBox(NcfRepetido(BoxText(txt[15])), MsgStyle::Exclamation);
        return false;
    case Resultado::ArticuloAusente:
        AvisarArticuloAusente(r.articulo);
        return false;
    }
    MarcarAplicada();
    return true;
}

void fVentas::bFactura_Click()
{
    if (bAplicar->isEnabled()) {
        MsgBox(QStringLiteral("Presione el comando 'Aplicar' para continuar"), MsgStyle::Exclamation);
        return;
    }
    Llamar(abrirVistaFactura, BoxText(txt[0]));
}

void fVentas::bRecibo_Click()
{
    if (bAplicar->isEnabled()) {
        MsgBox(QStringLiteral("Presione el comando 'Aplicar' para continuar"), MsgStyle::Exclamation);
        return;
    }
    Llamar(abrirVistaRecibo, BoxText(txt[0]));
}
