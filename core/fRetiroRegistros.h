// Removal of purchase or sales invoices of one company by a range of
// invoice numbers, whatever their state. Boxes by objectName:
// tEliminarFactura0 (Desde), tEliminarFactura1 (Hasta), tEliminarFactura2
// (company code); buttons bEliminarFactura0 (purchases), bEliminarFactura1
// (sales), bCerrar (Enter and Esc).
#pragma once

#include "mEnganches.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class fRetiroRegistros : public QDialog {
    Q_OBJECT
public:
    explicit fRetiroRegistros(QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QLineEdit* tEliminarFactura[3];
    QPushButton* bEliminarFactura[2];
    QLabel* lEmpresaActual;
    QPushButton* bCerrar;

    void Form_Load();
    // A box left with a number enables both buttons; anything else is told
    // "digite un código válido".
    void tEliminarFactura_LostFocus(int Index);
    // 0 purchases, 1 sales: the gate, the irreversibility question, then
    // every invoice of the range goes, with its lines and payments, in one
    // unit.
    void bEliminarFactura_Click(int Index);
    void bCerrar_Click();

    // The removal itself, without questions: true when the statement ran.
    // Lines and payments go with their invoices (the store's cascade); a
    // failure leaves every row in place and shows the error check's message.
    static bool EliminarFacturas(bool ventas, const QString& desde, const QString& hasta, const QString& empresa);

    // A fresh window, modal over parent; returns when it is closed.
    static void Mostrar(QWidget* parent = nullptr);
    static inline const Enganche<void(fRetiroRegistros&)> alMostrar;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
};
