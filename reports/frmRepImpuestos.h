// The tax report of a period: every line of the signed-in company's sales
// and purchase invoices dated in the period and in the chosen state, with
// what each line added to its invoice's tax (rounded to whole units line by
// line, as the invoice was), the two totals, which are those of the
// invoices, and their difference, written to
// "ReporteImpuestos.htm". Each statement is left in Text1 (never shown)
// before it runs.
#pragma once

#include "frmRepBase.h"

class frmRepImpuestos : public frmRepBase {
    Q_OBJECT
public:
    frmRepImpuestos();
    QLineEdit* Text1 = nullptr;
    void InicializarReporte(const QDate& desde, const QDate& hasta) override;
};
