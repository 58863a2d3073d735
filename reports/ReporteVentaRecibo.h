// The narrow cash receipt of one sales invoice, written to
// "ReporteVentaRecibo.htm". "Im&primir" prints without a dialog on the
// default printer, then opens the cash drawer and cuts the paper through the
// receipt printer's port (gPuertoLPT).
#pragma once

#include "fReporteBase.h"

#include <QByteArray>

class QLabel;

class ReporteVentaRecibo : public fReporteBase {
    Q_OBJECT
public:
    ReporteVentaRecibo();

    QLabel* lpuertolpt = nullptr;
    QLabel* lpuertocom = nullptr;

    void InicializarReporte(const QString& numero);
    void bImprimir_Click() override;

    // The drawer pulse and then the full cut, each with its line end.
    static QByteArray CodigosImpresora();
};
