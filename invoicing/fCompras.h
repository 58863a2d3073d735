// The purchase invoice window: an invoice received from a supplier, with
// lines at unit cost; applying it brings the stock in and revalues the cost.
//
// Controls by objectName: header boxes "txt0".."txt15" (box i is column i
// of Compras; txt10, the notes, is multi-line; txt15 is the supplier's NCF,
// enabled only while "Check1" is set), the payment-type combo "cb3",
// "Check1", "tNombre_prov", "tTelefono_prov", "bAbrirBuscarProveedores",
// "bAbirCalendario", "Calendario", "Frame1", "Frame2",
// "lEmpresaSeleccionada", "lUsuarioOperador"; the line entry "fraArticulo",
// combo boxes "txtDetalle1".."txtDetalle6", "tDescripcion_art",
// "bAbrirAdmArt", "ImgArticulo", "bAdicionarArticulo", "bActualizarArticulo",
// "bOmitir", "bEditarArticulo", "bEliminarArticulo", "optModoManual",
// "optModoPOS", the list "lvwFactura"; the buttons "bAnular", "bAceptar",
// "bCancelar", "bAplicar".
//
// The window keeps its own mode and line entry and mirrors them in
// gModoCompras and gModoDetalle/gLineaFactura for the windows that read
// them. Everything but the widgets' own reactions is callable without
// showing the window.
#pragma once

#include "fFacturaBase.h"

class QCheckBox;

class fCompras : public fFacturaBase {
    Q_OBJECT
public:
    fCompras();

    QCheckBox* Check1 = nullptr;
    QLineEdit* tNombre_prov = nullptr;
    QLineEdit* tTelefono_prov = nullptr;
    QPushButton* bAbrirBuscarProveedores = nullptr;

    // Header.
    void txt_Change(int index) override;
    void Check1_Click();

    // Line entry.
    void txtDetalle3_LostFocus();

    bool bAplicar_Click() override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void BloquearPropios() override;
    QLineEdit* NombreTercero() const override { return tNombre_prov; }
    QString SqlArticulo() const override;
    void PonerArticulo(ado::Recordset& rs) override;
    bool LineaAdmitida() override;
    bool StockAdmite(const QString& codigo) override;
};
