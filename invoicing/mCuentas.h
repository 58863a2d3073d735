// Receivables and payables: the list fillers of their windows and the
// hooks that open them from the main window and the lists.
#pragma once

#include <QString>

class ListView;

// Each appends one row per record of sql, reading the columns by name, and
// selects the first row. A failed query (its message shown) adds nothing.
// Parties: codigo, nombre, identificacion, telefono, fax (_cli / _prov);
// none gives "No existen facturas pendientes".
void verclientespendientes(ListView* lvw, const QString& sql);
void verproveedorespendientes(ListView* lvw, const QString& sql);
// Invoices: codigo_fac, total, abono, saldo, fecha, fecha_vencimiento; none
// gives "No existen facturas pendientes con el código relacionado".
void verfacturaspendientes(ListView* lvw, const QString& sql);
// Payments: num_abono, valor_abono, fecha_abono; no message when empty.
void verabonos(ListView* lvw, const QString& sql);

// The windows, with or without a party code written into their code box.
void AbrirFact_xCobrar();
void AbrirFact_xPagar();
void AbrirPorCobrar(const QString& codigo);  // the code first, then shown
void AbrirPorPagar(const QString& codigo);   // shown first, then the code

// Registers the openers of the main window's items "cobrar" and "pagar"
// and the account buttons of the client, supplier, sales and purchase
// lists. Once, at start, before or after the main window exists.
void RegistrarMenusCuentas();
