// The sales report of a period: one row per invoice of the signed-in
// company dated in the period and in the chosen state, with the six money
// columns and their totals, written to "ReporteVentas.htm".
#pragma once

#include "frmRepBase.h"

class frmRepVentas : public frmRepBase {
    Q_OBJECT
public:
    frmRepVentas();
    void InicializarReporte(const QDate& desde, const QDate& hasta) override;
};
