// The values the layer reads and writes, converted between what the
// engines hand back, what callers give and what the columns hold. A pure
// unit: no store, no connection.
#pragma once

#include "adocatalog.h"

#include <QString>
#include <QVariant>

namespace ado::values {

// A value read from a column of kind k in its one form: dates as QDate,
// money as double, whole numbers as qint64, text as QString; Null as an
// invalid QVariant. A value of another form is kept as it is.
QVariant normalise(const QVariant& v, Kind k);

// A plain number's text (digits, an optional sign and point) as a double,
// exact up to 15 digits.
double plainNumber(const QString& s);

// v as column (of kind) stores it: text read by the column's kind, numbers
// and dates written as text for a text column, whole numbers rounded half
// to even. Throws ado::Error: a text that is no number or date
// (err::TypeMismatch), a whole number beyond 32 bits (err::Overflow), a
// column the store numbers itself (err::AutoNumbered).
QVariant convertForColumn(const QVariant& v, Kind kind, const QString& column);

// Throws err::TooLong when a text is longer than its column holds, in
// characters (one for a character beyond the first plane) or in bytes.
void checkTextLength(const QVariant& v, const ColumnInfo& c);

// v as a statement binds it: Null as a null text; with datesAsText a date
// as 'yyyy-MM-dd'.
QVariant bindable(const QVariant& v, bool datesAsText);

}  // namespace ado::values
