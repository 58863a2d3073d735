// Invoice numbers and fiscal receipt numbers (NCF).
//
// Numbers are proposed when an invoice is opened or a range is chosen and
// written only when the invoice is applied. The procedures that show
// nothing and throw ado::Error (the "Escribir"/"Bloquear" ones) are the ones
// an apply calls inside its unit of work, where no message box may wait.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// The highest sequence an NCF can carry in its eight digits.
constexpr double kSecuenciaMaximaNCF = 99999999;

// Counter of the signed-in company plus 1; 0 when the query fails or finds
// no row. columna: "consecutivo_venta" or "consecutivo_compra".
double ObtenerConsecutivo(const QString& columna);

// Stores valor in that counter; false when the query fails or finds no row.
bool ActualizarConsecutivo(const QString& columna, double valor);

// The next NCF of range id of the signed-in branch: its prefix and the
// largest counter plus 1 in eight digits; "" when the query fails or finds
// no row. secuencia (optional) receives the sequence number itself.
QString GenerarNCF(const QString& columna, qint16 id, double* secuencia = nullptr);

// Stores valor in the range's counter; false when the query fails or finds
// no row.
bool ActualizarConsecutivoNCF(const QString& columna, double valor, qint16 id);

// Range check of a sequence just generated: the below-range and exhausted
// messages (a sequence above 99999999 is exhausted too) and the warning when
// ten or fewer numbers remain. Returns true when the NCF box must be emptied;
// vaciar (optional) empties it before the message is shown.
bool VerificarRangoNCF(double secuencia, qint16 id, const std::function<void()>& vaciar = {});

// Prefix and sequence as an NCF: "B01" and 40 give "B0100000040".
QString TextoNCF(const QString& prefijo, double secuencia);

// ---- inside a unit of work, for the company empresa ----

// Locks the company's row until the unit ends. Every apply takes
// this lock first, so the applies of one company run one after the other
// and never deadlock on the rows they touch later.
void BloquearEmpresa(const QString& empresa);

// Stores valor in a counter of the company or of its range id; false when
// the row is missing. Throws ado::Error when the store fails.
bool EscribirConsecutivo(const QString& columna, double valor, const QString& empresa);
bool EscribirConsecutivoNCF(const QString& columna, double valor, qint16 id, const QString& empresa);

enum class EstadoNCF {
    Libre,      // still the range's next number and held by no other invoice
    Tomado,     // another invoice holds it, or the range has moved past it
    Agotado,    // the range's next number lies beyond its end
    SinRango,   // the range is gone
};

// Locks range id and checks that ncf is still its next number and that no
// invoice of the company in tabla ("Ventas") holds it. secuencia receives
// the range's next sequence. Throws ado::Error when the store fails.
EstadoNCF ReservarNCF(qint16 id, const QString& ncf, const QString& tabla, const QString& empresa, double& secuencia);

// True when an invoice of the company in tabla holds ncf (any case).
// Throws ado::Error when the store fails.
bool NCFRegistrado(const QString& ncf, const QString& tabla, const QString& empresa);
