// The invoice lists: the list-window family over one kind of invoice. The
// sales list (fAdmVentas) and the purchase list are twins that differ in
// their Diseno and in how they open their invoice window.
//
// Controls by objectName: "cmd0".."cmd5", "Label1", "tCodigo_emp", "lbl", the
// finder box "tcodigo_fac", "lvw", "sb"; menu items mnuNuevaFactura,
// mnuPropiedades, mnuEliminar, mnuFact_xCobrar (or mnuFact_xPagar),
// mnuRecargar, mnuSalir, mnuAcercaDe.
#pragma once

#include "fAdmBase.h"

class QLineEdit;
class fFacturaBase;

// Closes an invoice window (none: nothing) without a question and deletes it
// at once, so that its closing cannot touch the shared values after the next
// invoice window has set them.
void CerrarYBorrar(QWidget* w);

class fAdmFacturas : public fAdmBase {
    Q_OBJECT
public:
    struct Diseno {
        QString nombre, caption;
        int anchoTw = 0, altoTw = 0;
        QString cuenta;          // "Por Cobrar" / "Por Pagar"
        QString mnuNuevo, nuevo; // name and caption of the new-invoice item
        QString mnuCuenta, itemCuenta;
        QStringList columnas;
        QString sqlLista;        // up to the company code
        QString sqlEstado;       // "Select ...Estado from T where T.codigo_fac = "
        QString sqlBorrar;       // "Select * From T where codigo_fac = "
        QString tablaDelete;     // "VENTAS" / "Compras", before ".codigo_emp = "
        qint32* modo = nullptr;  // the invoice window's shared mode value
    };

    QLineEdit* tCodigo_emp = nullptr;

    void cargarListView() override;
    void Despachar(const QString& caption) override;

    void Nuevo();          // "Nuevo": closes the other invoice window, then NuevaFactura
    void Propiedades();    // view the selected invoice
    void Eliminar();       // delete the selected invoice, annulled ones only
    void AbrirCuenta();    // receivables / payables of the selected party
    void Salir();          // the invoice window's mode to 3, then closes

    // The new-invoice item: refused while the other invoice window is open.
    virtual void NuevaFactura() = 0;

protected:
    fAdmFacturas(const Diseno& d);
    virtual void CerrarOtraVentana() = 0;
    virtual void VerFactura(const QString& numero) = 0;
    virtual void Cuenta(const QString& codigo) = 0;

    // The invoice window, shown from the list on a new invoice or on a
    // stored one.
    void MostrarNueva(fFacturaBase& w);
    void MostrarGuardada(fFacturaBase& w, const QString& numero);

private:
    Diseno d_;
};
