// The purchase invoice list.
#pragma once

#include "fAdmFacturas.h"

#include "mEnganches.h"

class fCompras;

class fAdmCompras : public fAdmFacturas {
    Q_OBJECT
public:
    fAdmCompras();

    // The payables window hooks in here: opening the payables of a
    // supplier code. Unset, "Por Pagar" does nothing.
    static inline const Enganche<void(const QString&)> abrirPorPagar;

    void NuevaFactura() override;

protected:
    void CerrarOtraVentana() override;
    void VerFactura(const QString& numero) override;
    void Cuenta(const QString& codigo) override;
};

// The purchase window, fresh: an open one is closed first, whatever it holds.
fCompras& VentanaComprasNueva();

// Whether the purchase window is open, and closing it without a question
// (what the sales list does before a new sale).
bool ComprasAbierta();
void CerrarCompras();
