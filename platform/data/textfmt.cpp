#include "textfmt.h"

#include <QLocale>

#include <cfenv>
#include <cmath>

double RoundHalfEven(double x, int decimals)
{
    if (!std::isfinite(x))
        return x;
    const double scale = std::pow(10.0, decimals);
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    double r = std::nearbyint(x * scale) / scale;
    std::fesetround(saved);
    if (r == 0)
        r = 0;  // no "-0"
    return r;
}

static QString trimZeros(QString s)
{
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    return s;
}

QString NumText(double x)
{
    if (!std::isfinite(x))
        return QStringLiteral("0");
    if (x == 0)
        return QStringLiteral("0");
    // QString::number writes the fixed C forms; the C library's printf
    // would follow the process locale and write "12,5".
    QString s = QString::number(x, 'g', 15);
    if (s.contains(QLatin1Char('e'))) {
        // Write it out in full at 15 significant digits.
        const int exp10 = int(std::floor(std::log10(std::fabs(x))));
        const int decimals = std::max(0, 14 - exp10);
        s = QString::number(x, 'f', decimals);
    }
    s = trimZeros(s);
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

QString NumText(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
        return QString::number(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return NumText(v.toDouble());
    default:
        return v.toString();
    }
}

QString FormatDate(const QDate& d)
{
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

QDate ParseDate(const QString& text)
{
    // The common "dd/MM/yyyy" without splitting.
    if (text.size() == 10 && text[2] == QLatin1Char('/') && text[5] == QLatin1Char('/')) {
        int v[8];
        const int at[8] = {0, 1, 3, 4, 6, 7, 8, 9};
        bool digits = true;
        for (int i = 0; i < 8 && digits; ++i) {
            v[i] = text[at[i]].unicode() - '0';
            digits = v[i] >= 0 && v[i] <= 9;
        }
        if (digits)
            return QDate(v[4] * 1000 + v[5] * 100 + v[6] * 10 + v[7], v[2] * 10 + v[3], v[0] * 10 + v[1]);
    }
    const QString t = text.trimmed();
    const QStringList parts = t.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return QDate();
    bool ok1, ok2, ok3;
    int d = parts[0].toInt(&ok1), m = parts[1].toInt(&ok2), y = parts[2].toInt(&ok3);
    if (!ok1 || !ok2 || !ok3 || parts[2].size() != 4)
        return QDate();
    return QDate(y, m, d);  // invalid for 31/02/2024
}

double Val(const QString& text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && text[i].isSpace())
        ++i;
    QString num;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        num += text[i++];
    bool digits = false, point = false;
    while (i < n) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            num += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            num += c;
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digits)
        return 0;
    // An exponent only counts when digits follow it.
    if (i + 1 < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        int j = i + 1;
        QString e = QStringLiteral("e");
        if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
            e += text[j++];
        bool ed = false;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            e += text[j++];
            ed = true;
        }
        if (ed)
            num += e;
    }
    return num.toDouble();
}

bool IsPlainNumber(const QString& text, bool allowSign)
{
    const QString t = text.trimmed();
    int i = 0;
    if (allowSign && i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        ++i;
    bool digits = false, point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128)
            digits = true;
        else if (c == QLatin1Char('.') && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

QString SqlStr(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}
