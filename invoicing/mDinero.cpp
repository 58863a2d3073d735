#include "mDinero.h"

#include "textfmt.h"

#include <QRegularExpression>

bool LeerDinero(const QString& texto, double& valor)
{
    // Twelve whole digits keep every cent exact in a double.
    static const QRegularExpression re(QStringLiteral("^([0-9]{0,12})(?:\\.([0-9]{0,2}))?$"));
    const QRegularExpressionMatch m = re.match(texto.trimmed());
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(2).isEmpty()))
        return false;
    const qint64 enteros = m.captured(1).isEmpty() ? 0 : m.captured(1).toLongLong();
    const QString d = m.captured(2).leftJustified(2, QLatin1Char('0'));
    valor = double(enteros * 100 + d.toLongLong()) / 100.0;
    return true;
}

double EnCentavos(double x) { return RoundHalfEven(x, 2); }
