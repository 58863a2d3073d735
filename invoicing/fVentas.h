// The sales invoice window.
//
// Controls by objectName: header boxes "txt0".."txt15" (box i is column i
// of Ventas; txt10, the notes, is multi-line), the payment-type combo "cb3",
// "ComboNcf", "Label25", "tNombre_cli", "tTelefono_cli",
// "bAbrirBuscarClientes", "bAbirCalendario", "Calendario", "Frame1",
// "Frame2", "lEmpresaSeleccionada", "lUsuarioOperador"; the line entry
// "fraArticulo", combo boxes "txtDetalle1".."txtDetalle6",
// "tDescripcion_art", "bAbrirAdmArt", "ImgArticulo", "bAdicionarArticulo",
// "bActualizarArticulo", "bOmitir", "bEditarArticulo", "bEliminarArticulo",
// "optModoManual", "optModoPOS", the list "lvwFactura"; the buttons
// "bFactura", "bRecibo", "bAnular", "bAceptar", "bCancelar", "bAplicar".
//
// The window keeps its own mode and line entry and mirrors them in
// gModoFormulario and gModoDetalle/gLineaFactura for the windows that read
// them. Everything but the widgets' own reactions is callable without
// showing the window.
#pragma once

#include "boxes.h"
#include "mSubRutinas_facturas.h"

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

class fVentas : public QWidget {
    Q_OBJECT
public:
    fVentas();
    ~fVentas() override;

    BoxArray txt;
    QComboBox* cb3 = nullptr;
    QComboBox* ComboNcf = nullptr;
    QLabel* Label25 = nullptr;
    QLineEdit* tNombre_cli = nullptr;
    QLineEdit* tTelefono_cli = nullptr;
    QPushButton* bAbrirBuscarClientes = nullptr;
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

    QPushButton* bFactura = nullptr;
    QPushButton* bRecibo = nullptr;
    QPushButton* bAnular = nullptr;
    QPushButton* bAceptar = nullptr;
    QPushButton* bCancelar = nullptr;
    QPushButton* bAplicar = nullptr;

    // Windows of other parts of the program hook in here: the client and
    // article search dialogs (unset: the catalogs' own), and the invoice and
    // receipt previews (with the invoice number; unset, their buttons do
    // nothing).
    static std::function<void()> abrirBuscarClientes;
    static std::function<void()> abrirBuscarArticulos;
    static std::function<void(const QString&)> abrirVistaFactura;
    static std::function<void(const QString&)> abrirVistaRecibo;

    // A new invoice: mode 2, today's dates, company, user and the next
    // number (which loads the NCF types with "Manual" chosen).
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
    void txt_Change(int index);
    void cb3_Click();
    void CargarComboNcf();
    void ComboNcf_Click();
    void CalcularTotales();
    bool FacturaYaRegistrada();
    bool ValidarDatosRequeridos();
    void RegistrarAbonoInicial();
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
    bool bAplicar_Click();
    void bAceptar_Click();
    bool bAnular_Click();
    void bCancelar_Click();
    void bFactura_Click();
    void bRecibo_Click();

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    enum class Resultado { Guardada, Fallo, NcfTomado, NcfAgotado, NcfManualRepetido };
    Resultado GuardarVenta(double saldo);
    void setModo(qint32 m);
    void BloquearEncabezado();
    void FormUnload();
    void ValidarFecha();
    qint16 IdNcfElegido() const;

    qint32 modo_ = 0;
    bool nueva_ = false;
    QString numero_;
    EntradaDetalle detalle_;
    bool encontrado_ = false;  // the last look-up found the code in box 1
    QString codigoEncontrado_;
    bool enAuto_ = false;
    bool validandoFecha_ = false;
    bool descargada_ = false;
};
