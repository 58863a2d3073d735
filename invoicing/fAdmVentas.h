// The sales invoice list.
#pragma once

#include "fAdmFacturas.h"

#include "mEnganches.h"

class fVentas;

class fAdmVentas : public fAdmFacturas {
    Q_OBJECT
public:
    fAdmVentas();

    // The purchase window and the receivables window hook in here: whether
    // the purchase window is open, closing it without a question, and
    // opening the receivables of a client code.
    static inline const Enganche<bool()> comprasAbierta;
    static inline const Enganche<void()> cerrarCompras;
    static inline const Enganche<void(const QString&)> abrirPorCobrar;

    void NuevaFactura() override;

protected:
    void CerrarOtraVentana() override;
    void VerFactura(const QString& numero) override;
    void Cuenta(const QString& codigo) override;
};

// The sales window, fresh: an open one is closed first, whatever it holds.
fVentas& VentanaVentasNueva();
