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
// showing the window. A new invoice's number loads the NCF types with
// "Manual" chosen.
#pragma once

#include "fFacturaBase.h"
#include "mEnganches.h"

class fVentas : public fFacturaBase {
    Q_OBJECT
public:
    fVentas();

    QComboBox* ComboNcf = nullptr;
    QLabel* Label25 = nullptr;
    QLineEdit* tNombre_cli = nullptr;
    QLineEdit* tTelefono_cli = nullptr;
    QPushButton* bAbrirBuscarClientes = nullptr;
    QPushButton* bFactura = nullptr;
    QPushButton* bRecibo = nullptr;

    // The reports hook in here the invoice and receipt previews (with the
    // invoice number; unset, their buttons do nothing).
    static inline const Enganche<void(const QString&)> abrirVistaFactura;
    static inline const Enganche<void(const QString&)> abrirVistaRecibo;

    // Header.
    void txt_Change(int index) override;
    void CargarComboNcf();
    void ComboNcf_Click();

    bool bAplicar_Click() override;
    void bFactura_Click();
    void bRecibo_Click();

protected:
    void showEvent(QShowEvent* e) override;
    void PrepararNueva() override;
    void PrepararVista() override;
    void BloquearPropios() override;
    QLineEdit* NombreTercero() const override { return tNombre_cli; }
    QString SqlArticulo() const override;
    void PonerArticulo(ado::Recordset& rs) override;
    bool StockAdmite(const QString& codigo) override;
    bool AdmiteAplicar() override;

private:
    using Resultado = ResultadoAplicar::Estado;
    ResultadoAplicar GuardarVenta(double saldo);
    qint16 IdNcfElegido() const;
    // A range is chosen and box 15 ends in its eight-digit sequence.
    bool NcfDeRango() const;
};
