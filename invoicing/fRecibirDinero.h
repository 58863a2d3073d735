// The cash-received dialog: shows the change and closes only once the cash
// typed covers the amount due. Controls by objectName: Label3, tEfectivo,
// tTotal, tCambio, bCerrar.
#pragma once

#include "mEnganches.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class fRecibirDinero : public QDialog {
    Q_OBJECT
public:
    fRecibirDinero(QWidget* parent = nullptr);

    QLabel* Label3 = nullptr;
    QLineEdit* tEfectivo = nullptr;
    QLineEdit* tTotal = nullptr;
    QLineEdit* tCambio = nullptr;
    QPushButton* bCerrar = nullptr;

    // A fresh dialog with monto in tTotal, shown modally until it closes.
    static void Mostrar(const QString& monto, QWidget* parent = nullptr);
    // Tests: called with each dialog Mostrar opens, once it is up.
    static inline const Enganche<void(fRecibirDinero&)> alMostrar;

    // Leaving the cash box: the change, or "Efectivo Insuficiente".
    void tEfectivo_LostFocus();
    // Any request to close (button, Escape, close box, all through done);
    // false (after the exclamation) while short.
    bool PuedeCerrar();

    void done(int r) override;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};
