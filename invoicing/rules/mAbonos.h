// Later payments on sales and purchase invoices, in the store.
//
// Adding or taking back a payment is one unit of work: the invoice row is
// locked and read again first, so two workstations paying the same invoice
// never lose a payment and the balance never goes below zero. Nothing here
// shows a message: the caller does, after the unit has ended.
#pragma once

#include "mVblesGlobales.h"

#include <QDate>
#include <QString>
#include <QtGlobal>

// The tables of one side: "Ventas" with "Fact_xCobrar", "Compras" with
// "Fact_xPagar".
struct TablasCuenta {
    QString facturas;
    QString abonos;
};
const TablasCuenta& TablasPorCobrar();
const TablasCuenta& TablasPorPagar();

enum class EstadoAbono {
    Hecho,              // stored; the invoice stays open
    Cancelada,          // stored; the balance reached zero and the invoice closed
    ValorInvalido,      // not a positive amount
    NoExiste,           // no such invoice of the company
    Anulada,            // the invoice is annulled
    YaCancelada,        // the invoice was closed already
    SaldoInsuficiente,  // the amount is above the stored balance
    AbonoNoExiste,      // taking back: no such payment (or another amount)
    PrimerAbono,        // taking back payment number 1
    Error,              // the store failed; Err holds the failure, nothing stored
};

struct ResultadoAbono {
    EstadoAbono estado = EstadoAbono::Error;
    qint16 num_abono = 0;  // the payment's number
    double saldo = 0;      // the stored balance after the unit (as it stands when refused)
};

// Two money amounts equal once rounded to cents.
bool MismoValor(double a, double b);

// Adds payment max + 1 of valor to invoice numero of the signed-in company,
// recomputes its abono (sum of its payments) and saldo (total - abono),
// writes the next due date and, when the balance is zero to the cent, closes
// it as "Cancelada" and removes its payment rows.
ResultadoAbono AbonarFactura(const TablasCuenta& t, const QString& numero, double valor, const QDate& fecha,
                             const QDate& vencimiento);

// Takes payment num_abono (never number 1) back from invoice numero: removes
// its row and gives its amount back to the balance. valor is the amount the
// user confirmed; a stored payment of another amount is not taken back.
ResultadoAbono QuitarAbonoFactura(const TablasCuenta& t, const QString& numero, qint16 num_abono, double valor);

// Adds one payment row to tabla ("Fact_xCobrar", "Fact_xPagar"), columns 0
// to 4 by position.
void InsertarAbono(const Abono& abono, const QString& tabla);


