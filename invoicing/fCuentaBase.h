// The receivables and payables windows: the parties with unpaid invoices,
// the chosen party's unpaid invoices, the chosen invoice's payments, and
// adding and taking back payments. fFact_xCobrar and fFact_xPagar are twins
// that differ in their Diseno.
//
// Controls by objectName: "fraTitulo", "lbl0".."lbl5" (lbl(i)), the code box
// ("tCodigo_cli" / "tCodigo_prov"), the parties list ("lvwClientes" /
// "lvwProveedores"), "lvwFacturas", "lvwAbonos", "txt0", "txt2", "txt3",
// "txt4" (txt(i); index 1 unused), "txtFecha_vencimiento", "Label1",
// "lcodigo_fac", "bAdicionarAbono", "bEliminarAbono", "bCerrar".
#pragma once

#include "mAbonos.h"

#include <QWidget>

class ListView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class fCuentaBase : public QWidget {
    Q_OBJECT
public:
    struct Diseno {
        QString nombre, caption;
        int altoTw = 0;                 // client area height
        QString marco;                  // frame caption, before the company name
        QString codigo, etiquetaCodigo; // code box name and its label
        QString lista;                  // parties list name
        bool proveedores = false;       // which filler lists the parties
        QString sqlPendientes;          // parties, up to the company code
        QString sqlBuscar;              // party look-up, up to the quoted code
        QString sqlFacturas;            // up to "WHERE codigo_x = "
        QString sqlAbonos;              // up to " Where codigo_fac = "
        QString sqlSaldo;               // up to the invoice number
        QString columnaFecha;           // header of the invoices' date column
        QString etiquetaFecha;          // label of txt(4)
        QString sinTercero;             // first check's message
        QString formulario;             // window name in error messages
        bool cerrarCancela = false;     // Esc presses "Cerrar"
        TablasCuenta tablas;
    };

    QGroupBox* fraTitulo = nullptr;
    QLabel* lbl[6] = {};
    QLineEdit* tCodigo = nullptr;      // tCodigo_cli / tCodigo_prov
    ListView* lvwTerceros = nullptr;   // lvwClientes / lvwProveedores
    ListView* lvwFacturas = nullptr;
    ListView* lvwAbonos = nullptr;
    QLineEdit* txt[5] = {};            // txt[1] stays null
    QLineEdit* txtFecha_vencimiento = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lcodigo_fac = nullptr;
    QPushButton* bAdicionarAbono = nullptr;
    QPushButton* bEliminarAbono = nullptr;
    QPushButton* bCerrar = nullptr;

    void cargarPendientes();
    void cargarFacturas();
    void cargarAbonos();
    void BuscarCodigo();

    // Handlers.
    void tCodigo_Change();
    void lvwTerceros_Click();
    void lvwFacturas_Click();
    void bAdicionarAbono_Click();
    void bEliminarAbono_Click();

    bool ValidarAbono();
    // True when the payment was stored (the invoice may have closed).
    bool GuardarAbono();
    // True when the payment was taken back.
    bool EliminarAbono(qint16 num_abono, double valor);

protected:
    explicit fCuentaBase(const Diseno& d);
    void showEvent(QShowEvent* e) override;
    QSize sizeHint() const override { return diseno_; }

private:
    // The row of lvwFacturas whose number is exactly txt(0); 0 when none.
    int FilaFactura() const;
    // The invoice row of txt(0) selected, or no row at all.
    void SeleccionarFactura();
    // After a payment or its removal: the lists as stored, and the invoice
    // still chosen with its stored balance, or nothing chosen once closed.
    void MostrarGuardado();
    // The label of a date box, for the message that names it.
    QString NombreDeCaja(const QLineEdit* caja) const;
    // The chosen invoice and the payment boxes back to nothing chosen.
    void OlvidarFactura();
    // Says why the store refused or failed; false for those outcomes.
    bool Informar(const ResultadoAbono& r, const QString& numero, const QString& boton);

    Diseno d_;
    QSize diseno_;
};
