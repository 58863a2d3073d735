// What the sales and purchase invoice windows have in common: the header
// boxes and totals, the line entry and its list, opening, loading, the
// checks before an apply, the annulment and the shutting of the window.
// Each window builds its own widgets (their places differ), fills in a
// DatosFactura with its tables, counters and messages, and supplies the
// pieces that differ: the party and article look-ups, the stock check on a
// line, and the storing of an apply.
#pragma once

#include "boxes.h"
#include "mSubRutinas_facturas.h"

#include <QRect>
#include <QWidget>
#include <functional>

class ListView;
class MonthView;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ado {
class Recordset;
}

enum class FacturaDestino;

// The names and texts that tell one invoice window from the other.
struct DatosFactura {
    QString formulario;       // "fVentas", in the error messages
    QString caption;
    QString tabla;            // header table in the number check
    QString tablaVista;       // header table when loading and annulling
    QString terceros;         // party table joined when loading
    QString codigoTercero;    // its key column
    QString nombreTercero;    // "cliente", in the messages
    QString detalles;         // line table
    QString abonos;           // where the initial payment goes
    QString consecutivo;      // the invoice number counter
    QString listado;          // "ventas": the list to open a new one from
    QString confirmarAnular;  // the question before an annulment
    QString stockAnular;      // stock column an annulment moves
    QString conceptoAnular;   // concept of that movement, before the number
    OrigenMovimiento origenAnular = OrigenMovimiento::VentaAnulada;
    QString yaAnulada;        // after "La factura <n>" when already annulled
    qint32* modoGlobal = nullptr;  // the shared value mirroring the mode
    bool olvidarNuevaAlCerrar = false;
};

class fFacturaBase : public QWidget {
    Q_OBJECT
public:
    ~fFacturaBase() override;

    BoxArray txt;
    QComboBox* cb3 = nullptr;
    QPushButton* bAbirCalendario = nullptr;
    MonthView* Calendario = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QLabel* lEmpresaSeleccionada = nullptr;
    QLabel* lUsuarioOperador = nullptr;

    QGroupBox* fraArticulo = nullptr;
    QComboBox* txtDetalle[7] = {};  // 1 to 6
    QLineEdit* tDescripcion_art = nullptr;
    QPushButton* bAbrirAdmArt = nullptr;
    QLabel* ImgArticulo = nullptr;
    QPushButton* bAdicionarArticulo = nullptr;
    QPushButton* bActualizarArticulo = nullptr;
    QPushButton* bOmitir = nullptr;
    QPushButton* bEditarArticulo = nullptr;
    QPushButton* bEliminarArticulo = nullptr;
    QRadioButton* optModoManual = nullptr;
    QRadioButton* optModoPOS = nullptr;
    ListView* lvwFactura = nullptr;

    QPushButton* bAnular = nullptr;
    QPushButton* bAceptar = nullptr;
    QPushButton* bCancelar = nullptr;
    QPushButton* bAplicar = nullptr;

    // A new invoice: mode 2, today's dates, company, user and the next
    // number.
    void AbrirNueva();
    // A stored invoice of the company, by number, for viewing (mode 3); the
    // header stays editable only in its notes.
    void MostrarFactura(const QString& numero);

    // The window's mode (2 new, 3 viewing or applied, 0 annulled or closed).
    qint32 modo() const { return modo_; }
    // True while the window holds a new invoice not yet applied.
    bool nuevaSinAplicar() const { return nueva_; }
    const EntradaDetalle& detalle() const { return detalle_; }
    // The number the invoice was stored or loaded under; "" for none.
    QString numeroGuardado() const { return numero_; }

    // Header.
    virtual void txt_Change(int index);
    void cb3_Click();
    void CalcularTotales();
    bool FacturaYaRegistrada();
    bool ValidarDatosRequeridos();
    // Payment number 1 of invoice numero, the amount of box 7.
    void RegistrarAbonoInicial(const QString& numero);
    // The boxes and the list as they stand.
    Factura LeerFactura() const;
    void EnviarADisplay(const QString& mensaje);

    // Line entry.
    void txtDetalle_Change(int index);
    void txtDetalle1_LostFocus();
    void HabilitarControlesDetalle(qint32 modo);
    void LimpiarCamposDetalle();
    bool LeerDetalleArticulo();
    void AgregarArticuloALista();
    void bAdicionarArticulo_Click();
    void bActualizarArticulo_Click();
    void bOmitir_Click();
    void bEditarArticulo_Click();
    void bEliminarArticulo_Click();
    void lvwFactura_ItemClick(int position);

    // Bottom buttons. bAplicar_Click returns true when the invoice was
    // stored; bAnular_Click when it was annulled.
    virtual bool bAplicar_Click() = 0;
    void bAceptar_Click();
    bool bAnular_Click();
    void bCancelar_Click();

protected:
    explicit fFacturaBase(DatosFactura datos);

    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

    // Building: the pieces laid out alike in both windows, in twips. Header
    // boxes go into Frame1, line-entry boxes into fraArticulo.
    //
    // The company and user strip above the header; returns box 14, the
    // user's code.
    struct PosFranja {
        int ancho, empresa, anchoEmpresa, usuario, anchoUsuario, operador, anchoOperador;
    };
    QLineEdit* CrearFranja(const PosFranja& p);
    QLineEdit* Caja(int i, int left, int top, int width);
    QLineEdit* CrearEstado();
    void CrearTipo(const QString& etiqueta, int leftEtiqueta, int leftCombo, int widthCombo, int leftForma, int widthForma);
    // Places of the notes and totals block; the first rows are at 5160.
    struct PosTotales {
        int notasTop, notasAncho, notasAlto;
        int etiqueta1, caja1, ancho1;  // net, tax, discount
        int etiqueta2, caja2, ancho2;  // paid, balance, total
        int fila2, fila3, etiquetaTotal, totalTop, totalAlto;
    };
    void CrearTotales(const PosTotales& p);
    void CrearBotonesPie(int top, int height);
    QComboBox* CrearDetalle(int i, int left, int top, int width);
    // The article search button and the description box beside box 1.
    void CrearBuscarArticulo(int left, int top, int leftDescripcion, int widthDescripcion);
    // The article's picture and the manual / automatic entry choice.
    void CrearImagenYModos(const QRect& imagen, const QRect& manual, const QRect& automatico);
    void CrearBotonesDetalle(int top);
    void CrearLista(int left, int top, int width, int height);
    void CrearCalendario();
    // The wiring both windows share, once all the widgets exist; the party
    // box and the search dialogs' hand-back land in txt[1].
    void ConectarComun();
    void RegistrarDestino(FacturaDestino f, std::function<bool()> enCaptura);

    // What differs.
    // Steps of AbrirNueva before the dates and number are written.
    virtual void PrepararNueva() {}
    // Steps of MostrarFactura before the stored invoice is read.
    virtual void PrepararVista() {}
    // Disables the window's own header controls with the rest.
    virtual void BloquearPropios() = 0;
    // The party's name box, which must hold a name before a line is taken.
    virtual QLineEdit* NombreTercero() const = 0;
    // The article look-up of box 1 (its code is appended) and the filling of
    // the line from its row, after description and quantity.
    virtual QString SqlArticulo() const = 0;
    virtual void PonerArticulo(ado::Recordset& rs) = 0;
    // Further checks of an apply against the store, before any question or
    // the cash dialog; true to go on.
    virtual bool AdmiteAplicar() { return true; }
    // Further checks of a line before it is read; true to go on.
    virtual bool LineaAdmitida() { return true; }
    // The stock check of a line read; true to add it to the list.
    virtual bool StockAdmite(const QString& codigo) = 0;

    // The checks before an apply, up to the number check; false when the
    // apply stops there. saldo gets the balance rounded to cents.
    bool PrepararAplicar(double& saldo);
    // An apply that stops puts the state back to "Nuevo"; always false.
    bool Detener();
    // A line's article another workstation removed: nothing is stored.
    void AvisarArticuloAusente(const QString& codigo);
    // ::NumeroLibre in the window's header table.
    QString NumeroLibre(const QString& numero) const;
    // After the unit: the boxes show the number and NCF the invoice was
    // stored under, and the clerk is told when they are not the ones shown.
    void MostrarGuardadoCon(const QString& numero, const QString& ncf);
    // The window after a stored apply.
    void MarcarAplicada();

    void setModo(qint32 m);
    void BloquearEncabezado();
    void FormUnload();
    void ValidarFecha();

    DatosFactura datos_;
    qint32 modo_ = 0;
    bool nueva_ = false;
    QString numero_;
    EntradaDetalle detalle_;
    bool encontrado_ = false;  // the last look-up found the code in box 1
    QString codigoEncontrado_;
    bool enAuto_ = false;
    bool validandoFecha_ = false;
    bool descargada_ = false;
    bool fallo_ = false;  // the last apply failed in the store and Aceptar stops
};

// Pieces of the windows' building.
namespace factura {
QLabel* Etiqueta(QWidget* padre, const QString& texto, int left, int top, bool negrita = false);
QPushButton* Boton(QWidget* padre, const char* nombre, const QString& texto, int left, int top, int width, int height = 345);
void Bloquear(QWidget* box, bool bloqueado);
// Discount and amount paid: digits and the decimal point only.
int TeclaDinero(int code);
bool EsEntero(const QString& t);
}  // namespace factura
