// The checks of the numbers typed in the administration windows (options,
// companies, users and NCF ranges, invoice removal).
#pragma once

#include <QString>

// Largest numbers the administration boxes take: company codes are 16-bit
// wherever payments carry them, invoice numbers and counters fit a 32-bit
// column, NCF sequence numbers have eight digits.
constexpr qint64 kMaxCodigoEmpresa = 32767;
constexpr qint64 kMaxNumeroFactura = 999999999;
constexpr qint64 kMaxNumeroNCF = 99999999;

// True when texto is a plain whole number (digits only: no sign, blank or
// point) not above maximo.
bool EsEnteroValido(const QString& texto, qint64 maximo);

// The same, and otherwise the refusal "<campo> debe ser un número entero
// entre 0 y <maximo>" in an exclamation box.
bool ValidarEntero(const QString& texto, qint64 maximo, const QString& campo);

// For a box written into a number column: a text the store takes as a number
// must be a whole number up to maximo (ValidarEntero); an empty or other text
// passes, for the store to refuse through the error check.
bool ValidarNumeroColumna(const QString& texto, qint64 maximo, const QString& campo);
