// The full-page preview of one sales invoice of the signed-in company,
// written to "ReporteVentaFactura.htm".
#pragma once

#include "fReporteBase.h"

class ReporteVentaFactura : public fReporteBase {
    Q_OBJECT
public:
    ReporteVentaFactura();
    // Builds the preview of that invoice and loads it into the view; every
    // failure is shown here and leaves the view empty.
    void InicializarReporte(const QString& numero);
};
