// Number, money and date texts, each written in one place.
#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// Rounds halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double x, int decimals = 0);

// Plain number text: at most 15 significant digits, no exponent, no grouping,
// a point as decimal sign ("12.5", "100000", "139.93").
QString NumText(double x);
QString NumText(const QVariant& v);

// "dd/MM/yyyy".
QString FormatDate(const QDate& d);
// Parses "dd/MM/yyyy" (also d/M/yyyy); an invalid date when impossible.
QDate ParseDate(const QString& text);

// The leading number of a text, as a box is read: blanks skipped, sign,
// digits, one point; "" or non-numeric reads 0 ("12abc" -> 12).
double Val(const QString& text);

// True for a plain number: optional sign, digits, optional point and digits.
bool IsPlainNumber(const QString& text, bool allowSign = true);

// A text as a quoted SQL literal, apostrophes doubled: O'Brien -> 'O''Brien'.
QString SqlStr(const QString& text);
