#include "Dinero.h"

#include "textfmt.h"

#include <charconv>
#include <cmath>

Dinero Dinero::De(double valor)
{
    if (!std::isfinite(valor))
        return Dinero();
    if (std::fabs(valor) < 1e12) {
        // An amount clearly off a half cent rounds the same either way;
        // only the others need the text.
        const double x = valor * 100;
        const double r = std::nearbyint(x);
        if (std::fabs(x - r) < 1e-3)
            return Dinero(qint64(r));
        // (The text's fifteen digits move a value by far less than this.)
        if (std::fabs(std::fabs(x - std::trunc(x)) - 0.5) > std::max(1e-6, std::fabs(x) * 1e-13))
            return Dinero(qint64(std::round(x)));
        // The same fifteen digits NumText writes, without a string.
        char texto[40];
        const char* const fin = std::to_chars(texto, texto + sizeof texto, std::fabs(valor), std::chars_format::general, 15).ptr;
        const char* p = texto;
        qint64 c = 0;
        for (; p < fin && *p != '.'; ++p)
            c = c * 10 + (*p - '0');
        if (p < fin)
            ++p;
        int decimales[3] = {0, 0, 0};
        for (int i = 0; i < 3 && p < fin; ++i, ++p)
            decimales[i] = *p - '0';
        c = c * 100 + decimales[0] * 10 + decimales[1] + (decimales[2] >= 5 ? 1 : 0);
        return Dinero(valor < 0 ? -c : c);
    }
    const QString s = NumText(valor);
    const bool neg = s.startsWith(QLatin1Char('-'));
    const QString digits = neg ? s.mid(1) : s;
    const int point = digits.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? digits : digits.left(point);
    QString frac = point < 0 ? QString() : digits.mid(point + 1);
    if (whole.size() > 15)
        return Dinero(qint64(RoundHalfEven(valor * 100)));
    frac = (frac + QStringLiteral("000")).left(3);
    qint64 c = whole.toLongLong() * 100 + frac.left(2).toLongLong();
    if (frac[2] >= QLatin1Char('5'))
        ++c;
    return Dinero(neg ? -c : c);
}

std::optional<Dinero> Dinero::Leer(const QString& texto)
{
    const QString t = texto.trimmed();
    // Twelve whole digits keep every cent exact in a double.
    qint64 enteros = 0;
    int i = 0, nEnteros = 0;
    for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++nEnteros)
        enteros = enteros * 10 + (t[i].unicode() - '0');
    int nDecimales = 0;
    qint64 decimales = 0;
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        for (++i; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i, ++nDecimales)
            decimales = decimales * 10 + (t[i].unicode() - '0');
    }
    if (i != t.size() || nEnteros > 12 || nDecimales > 2 || nEnteros + nDecimales == 0)
        return std::nullopt;
    if (nDecimales == 1)
        decimales *= 10;
    return Dinero(enteros * 100 + decimales);
}

void Dinero::AgregarA(QString& destino) const
{
    // The digits of the cents themselves, grouped by thousands, written
    // from the right.
    char16_t texto[32];
    char16_t* p = texto + 32;
    const quint64 a = centavos_ < 0 ? 0 - quint64(centavos_) : quint64(centavos_);
    *--p = char16_t('0' + a % 10);
    *--p = char16_t('0' + a / 10 % 10);
    *--p = u'.';
    quint64 enteros = a / 100;
    for (int n = 0; n == 0 || enteros > 0; ++n, enteros /= 10) {
        if (n > 0 && n % 3 == 0)
            *--p = u',';
        *--p = char16_t('0' + enteros % 10);
    }
    if (centavos_ < 0)
        *--p = u'-';
    destino.append(reinterpret_cast<const QChar*>(p), texto + 32 - p);
}

QString Dinero::Texto() const
{
    QString out;
    out.reserve(24);
    AgregarA(out);
    return out;
}
