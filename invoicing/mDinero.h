// Money as the invoices and accounts read and store it: whole cents.
#pragma once

#include <QString>

// A money text: digits with at most two decimals after a point ("118",
// "117.5", "0.99", ".5"); blanks around it are allowed, a sign, a comma, an
// exponent or a third decimal are not. valor gets the amount, exact to the
// cent. False, valor untouched, for anything else.
bool LeerDinero(const QString& texto, double& valor);

// An amount rounded to cents, halves to even; never "-0".
double EnCentavos(double x);
