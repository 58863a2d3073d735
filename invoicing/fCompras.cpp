#include "fCompras.h"

#include "mCatalogos.h"
#include "mDestinoBusqueda.h"
#include "mDisplay.h"
#include "mFuncionesCajas.h"
#include "mNumeracionNCF.h"
#include "mVentanas.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kCaption = QStringLiteral("Factura de Compra");
const QString kErrorAplicar = QStringLiteral("Error en el evento Click del comando bAplicar del formulario fCompras");

DatosFactura DatosCompras()
{
    DatosFactura d;
    d.formulario = QStringLiteral("fCompras");
    d.caption = kCaption;
    d.tabla = QStringLiteral("Compras");
    d.tablaVista = QStringLiteral("Compras");
    d.terceros = QStringLiteral("Proveedores");
    d.codigoTercero = QStringLiteral("codigo_prov");
    d.nombreTercero = QStringLiteral("proveedor");
    d.detalles = QStringLiteral("Detalles_FacCom");
    d.abonos = QStringLiteral("Fact_xPagar");
    d.consecutivo = QStringLiteral("consecutivo_compra");
    d.listado = QStringLiteral("compras");
    d.confirmarAnular = QStringLiteral("Esta operación es irreversible, si continua, los artículos pedidos se extraerán del inventario. Desea continuar?");
    d.stockAnular = SalidaArticulos();
    d.conceptoAnular = QStringLiteral("Factura de Compra Anulada ");
    d.origenAnular = OrigenMovimiento::CompraAnulada;
    d.yaAnulada = QStringLiteral(" ya estaba anulada: no se extrajo nada del inventario");
    d.modoGlobal = &gModoCompras;
    d.olvidarNuevaAlCerrar = true;
    return d;
}

}  // namespace

using namespace factura;

fCompras::fCompras() : fFacturaBase(DatosCompras())
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
    auto* usuario = CrearFranja({.ancho = 9090, .empresa = 1020, .anchoEmpresa = 3600, .usuario = 5900, .anchoUsuario = 600,
                                 .operador = 6600, .anchoOperador = 2400});
    usuario->setReadOnly(true);
    {
        QFont fu = usuario->font();
        fu.setBold(true);
        usuario->setFont(fu);
    }

    // ---- header ----
    Frame1 = new QGroupBox(QStringLiteral("Compra"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ColocarTw(Frame1, 60, 450, 9090, 6630);
    QWidget* f = Frame1;

    CrearEstado()->setReadOnly(true);
    Etiqueta(f, QStringLiteral("* Nro. factura :"), 4600, 270);
    auto* empresa = Caja(13, 5900, 270, 600);
    empresa->setAlignment(Qt::AlignCenter);
    empresa->setReadOnly(true);
    Etiqueta(f, QStringLiteral("-"), 6540, 270);
    Caja(0, 6680, 270, 1500)->setAlignment(Qt::AlignCenter);

    Etiqueta(f, QStringLiteral("* Proveedor :"), 120, 720);
    Caja(1, 1380, 720, 900)->setText(QStringLiteral("0"));
    bAbrirBuscarProveedores = Boton(f, "bAbrirBuscarProveedores", QStringLiteral("..."), 2300, 705, 330);
    bAbrirBuscarProveedores->setToolTip(QStringLiteral("Seleccione el Proveedor haciendo clic aquí"));
    tNombre_prov = new QLineEdit(QStringLiteral("PROVEEDOR GENERICO"), f);
    tNombre_prov->setObjectName(QStringLiteral("tNombre_prov"));
    Bloquear(tNombre_prov, true);
    ColocarTw(tNombre_prov, 2700, 720, 3400, 315);
    Etiqueta(f, QStringLiteral("Tel :"), 6200, 720);
    tTelefono_prov = new QLineEdit(f);
    tTelefono_prov->setObjectName(QStringLiteral("tTelefono_prov"));
    Bloquear(tTelefono_prov, true);
    ColocarTw(tTelefono_prov, 6700, 720, 2200, 315);

    Etiqueta(f, QStringLiteral("* Fecha :"), 120, 1140);
    Caja(2, 1380, 1140, 1300);
    Etiqueta(f, QStringLiteral("* Vencimiento :"), 2800, 1140);
    Caja(12, 4000, 1140, 1300);
    bAbirCalendario = Boton(f, "bAbirCalendario", QStringLiteral("..."), 5320, 1125, 330);
    CrearTipo(QStringLiteral("* Tipo Compra :"), 5700, 6900, 1350, 8680, 330);

    Etiqueta(f, QStringLiteral("* NCF:"), 120, 1560);
    Caja(15, 1380, 1560, 3000)->setEnabled(false);
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
    CrearDetalle(1, 120, 480, 1700);
    CrearBuscarArticulo(1850, 480, 2300, 4000);
    CrearDetalle(2, 6400, 480, 900);
    CrearDetalle(3, 120, 1080, 1500);
    CrearDetalle(4, 1700, 1080, 700)->setToolTip(QStringLiteral("% Impuesto"));
    CrearDetalle(5, 3700, 1080, 1200);
    auto* precio = CrearDetalle(6, 4950, 1080, 1750);
    precio->setEditText(QStringLiteral("Precio de Compra"));
    {
        QPalette p = precio->palette();
        p.setColor(QPalette::Base, QColor(0xd4, 0xd0, 0xc8));
        precio->setPalette(p);
    }
    CrearImagenYModos({8200, 240, 680, 680}, {6750, 960, 2150, 250}, {6750, 1230, 2150, 250});

    CrearBotonesDetalle(1500);
    CrearLista(120, 1900, 8730, 1180);

    // ---- totals and notes ----
    CrearTotales({.notasTop = 5400, .notasAncho = 3900, .notasAlto = 720,
                  .etiqueta1 = 4100, .caja1 = 5900, .ancho1 = 1000,
                  .etiqueta2 = 7000, .caja2 = 7900, .ancho2 = 1050,
                  .fila2 = 5500, .fila3 = 5840, .etiquetaTotal = 5860, .totalTop = 5820, .totalAlto = 400});

    CrearBotonesPie(6220, 345);

    CrearCalendario();

    // ---- wiring ----
    ConectarComun();
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    connect(bAbrirBuscarProveedores, &QPushButton::clicked, this, [] { AbrirBuscarProveedores(); });
    connect(bAbrirAdmArt, &QPushButton::clicked, this, [] { AbrirBuscarArticulos(); });
    txtDetalle[3]->installEventFilter(this);
    TeclasDeVentana(this, nullptr, bCancelar);

    // The search dialogs hand codes here only while a new purchase is
    // being entered.
    RegistrarDestino(FacturaDestino::Compra, [this] { return nueva_ && !descargada_; });
}

bool fCompras::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::FocusOut && o == txtDetalle[3]) {
        txtDetalle3_LostFocus();
        return QWidget::eventFilter(o, e);
    }
    return fFacturaBase::eventFilter(o, e);
}

void fCompras::BloquearPropios()
{
    Check1->setEnabled(false);
    bAbrirBuscarProveedores->setEnabled(false);
}

// ---- header ----

void fCompras::txt_Change(int index)
{
    if (index != 1) {
        fFacturaBase::txt_Change(index);
        return;
    }
    gSQL = QStringLiteral("Select nombre_prov,telefono_prov From Proveedores Where codigo_prov = ") + SqlStr(BoxText(txt[1]));
    if (!AbrirRecordset(gSQL)) {
        tNombre_prov->clear();
        tTelefono_prov->clear();
    } else if (gRecordset->RecordCount() > 0) {
        tNombre_prov->setText(gRecordset->Fields(QStringLiteral("nombre_prov")).Text());
        tTelefono_prov->setText(gRecordset->Fields(QStringLiteral("telefono_prov")).Text());
    }
}

void fCompras::Check1_Click()
{
    if (Check1->isChecked()) {
        txt[15]->setEnabled(true);
    } else {
        txt[15]->setEnabled(false);
        SetBoxText(txt[15], QString());
    }
}

// ---- line entry ----

QString fCompras::SqlArticulo() const
{
    return QStringLiteral("select descripcion_art,impuesto,precio_compra,imagen_art From Articulos Where Articulos.CODIGO_ART = ");
}

void fCompras::PonerArticulo(ado::Recordset& rs)
{
    const QString costo = rs.Fields(QStringLiteral("precio_compra")).Text();
    txtDetalle[3]->clear();
    txtDetalle[3]->setEditText(costo);
    // The unit cost is taken with its taxes: a purchase line starts at
    // rate 0.
    txtDetalle[4]->setEditText(QStringLiteral("0"));
    txtDetalle[6]->setEditText(costo);
}

// Quantity, cost, rate: plain numbers that fit, never below zero.
bool fCompras::LineaAdmitida()
{
    for (int i = 2; i <= 6; ++i)
        if (i != 5 && Val(txtDetalle[i]->currentText()) < 0)
            return false;
    return true;
}

bool fCompras::StockAdmite(const QString& codigo)
{
    gSQL = QStringLiteral("select codigo_art, cantidad, stock_maximo from articulos where Articulos.CODIGO_ART like ") + SqlStr(codigo);
    if (VerificarStockMaximo(gSQL, detalle_.linea().cantidad, codigo))
        return MsgBox(QStringLiteral("Desea registrar el pedido de todas formas?"), MsgStyle::Question) == MsgResult::Yes;
    return true;
}

// The line is stored and costed at the unit cost typed.
void fCompras::txtDetalle3_LostFocus() { txtDetalle[6]->setEditText(txtDetalle[3]->currentText()); }

// ---- apply ----

bool fCompras::bAplicar_Click()
{
    fallo_ = false;
    double saldo = 0;
    if (!PrepararAplicar(saldo))
        return false;

    const ResultadoAplicar a = AplicarCompra(LeerFactura(), saldo);
    switch (a.estado) {
    case ResultadoAplicar::Estado::Guardada:
        break;
    case ResultadoAplicar::Estado::ArticuloAusente:
        AvisarArticuloAusente(a.articulo);
        return false;
    default:
        fallo_ = true;
        Detener();
        ControlErrores();
        MsgBox(kErrorAplicar);
        return false;
    }
    MostrarGuardadoCon(a.numero, a.ncf);
    EnviarADisplay(TextoTotalDisplay(BoxText(txt[9])));
    if (!a.consecutivo)
        MsgBox(QStringLiteral("Verifique inmediatamente el consecutivo de la Factura a través de la sección 'Opciones y Parámetros'"));
    MarcarAplicada();
    return true;
}
