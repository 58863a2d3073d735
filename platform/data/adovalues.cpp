#include "adovalues.h"

#include "adolayer.h"
#include "adorows.h"
#include "textfmt.h"

#include <cmath>

namespace ado::values {

QVariant normalise(const QVariant& v, Kind k)
{
    if (v.isNull() || !v.isValid())
        return QVariant();
    switch (k) {
    case Kind::Date:
        if (v.typeId() == QMetaType::QDate)
            return v;
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        {
            const QString s = v.toString();
            const QDate d = storedDate(s.utf16(), s.size());
            return d.isValid() ? QVariant(d) : v;
        }
    case Kind::Money:
        if (v.typeId() == QMetaType::Double)
            return v;
        {
            bool ok = false;
            double d = v.toDouble(&ok);
            return ok ? QVariant(d) : v;
        }
    case Kind::Integer:
    case Kind::AutoNumber:
        if (v.typeId() == QMetaType::LongLong)
            return v;
        if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::UInt || v.typeId() == QMetaType::ULongLong)
            return QVariant(v.toLongLong());
        if (v.typeId() == QMetaType::Double) {
            double d = v.toDouble();
            if (d == double(qint64(d)))
                return QVariant(qint64(d));
            return v;
        }
        {
            bool ok = false;
            qlonglong n = v.toLongLong(&ok);
            return ok ? QVariant(n) : v;
        }
    case Kind::Text:
        if (v.typeId() == QMetaType::QString)
            return v;
        if (v.typeId() == QMetaType::Double)
            return NumText(v.toDouble());
        return v.toString();
    }
    return v;
}

// A plain number's text as a double. Up to 15 digits the digits make an
// exact whole number and one division by an exact power of ten rounds as
// the general parse does.
double plainNumber(const QString& s)
{
    if (s.size() > 16)
        return s.toDouble();
    qint64 n = 0;
    int digits = 0, decimals = -1;
    int i = 0;
    const bool neg = s.startsWith(QLatin1Char('-'));
    if (neg || s.startsWith(QLatin1Char('+')))
        i = 1;
    for (; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('.')) {
            decimals = 0;
            continue;
        }
        n = n * 10 + (s[i].unicode() - '0');
        ++digits;
        if (decimals >= 0)
            ++decimals;
    }
    if (digits > 15)
        return s.toDouble();
    static const double tens[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double x = decimals > 0 ? double(n) / tens[decimals] : double(n);
    return neg ? -x : x;
}

QVariant convertForColumn(const QVariant& v, Kind kind, const QString& column)
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    const bool isText = v.typeId() == QMetaType::QString;
    auto mismatch = [&](const QString& what) -> QVariant {
        fail(err::TypeMismatch, QStringLiteral("No coinciden los tipos de datos: '%1' no vale como %2 en el campo %3")
                                .arg(v.toString(), what, column));
    };
    switch (kind) {
    case Kind::Text:
        if (isText)
            return v;
        if (v.typeId() == QMetaType::QDate)
            return FormatDate(v.toDate());
        return NumText(v);
    case Kind::Integer: {
        double d;
        if (isText) {
            const QString s = v.toString().trimmed();
            if (!IsPlainNumber(s))
                return mismatch(QStringLiteral("un número entero"));
            d = plainNumber(s);
        } else {
            bool ok = false;
            d = v.toDouble(&ok);
            if (!ok)
                return mismatch(QStringLiteral("un número entero"));
        }
        if (d != std::trunc(d))
            d = RoundHalfEven(d);
        if (d > 2147483647.0 || d < -2147483648.0)
            fail(err::Overflow, QStringLiteral("Desbordamiento: %1 no cabe en el campo %2").arg(NumText(d), column));
        return QVariant(qint64(d));
    }
    case Kind::Money: {
        if (isText) {
            const QString s = v.toString().trimmed();
            if (!IsPlainNumber(s))
                return mismatch(QStringLiteral("un número"));
            return QVariant(plainNumber(s));
        }
        bool ok = false;
        double d = v.toDouble(&ok);
        if (!ok)
            return mismatch(QStringLiteral("un número"));
        return QVariant(d);
    }
    case Kind::Date: {
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().isValid() ? v : mismatch(QStringLiteral("una fecha"));
        if (v.typeId() == QMetaType::QDateTime)
            return v.toDateTime().date();
        // An empty date box stores no date, so a record kept without one can
        // still be opened and saved.
        if (v.toString().trimmed().isEmpty())
            return QVariant();
        const QDate d = ParseDate(v.toString());
        if (!d.isValid())
            return mismatch(QStringLiteral("una fecha"));
        return d;
    }
    case Kind::AutoNumber:
        fail(err::AutoNumbered, QStringLiteral("No se puede actualizar el campo %1: lo numera la base de datos.").arg(column));
    }
    return v;
}

// Both engines refuse alike a text longer than its column.
void checkTextLength(const QVariant& v, const ColumnInfo& c)
{
    if (c.kind != Kind::Text || (!c.maxChars && !c.maxBytes) || v.typeId() != QMetaType::QString)
        return;
    const QString& s = *static_cast<const QString*>(v.constData());
    // A text no longer in code units than the limit is within it: only a
    // longer one is counted out (every row added passes here). A character
    // beyond the first plane is one, as both stores count it; a half
    // without its other half still counts.
    if (c.maxChars && s.size() > c.maxChars) {
        qsizetype chars = s.size();
        for (qsizetype i = 1; i < s.size(); ++i)
            if (s.at(i).isLowSurrogate() && s.at(i - 1).isHighSurrogate())
                --chars;
        if (chars > c.maxChars)
            throw Error{err::TooLong, QStringLiteral("El campo %1 admite hasta %2 caracteres").arg(c.name).arg(c.maxChars),
                        Fault::TooLong};
    }
    if (c.maxBytes && s.size() * 3 > c.maxBytes && s.toUtf8().size() > c.maxBytes)
        throw Error{err::TooLong, QStringLiteral("El campo %1 admite hasta %2 bytes").arg(c.name).arg(c.maxBytes),
                    Fault::TooLong};
}

QVariant bindable(const QVariant& v, bool datesAsText)
{
    if (v.isNull() || !v.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    if (v.typeId() == QMetaType::QDate && datesAsText) {
        const QDate d = v.toDate();
        // Written by hand: every row added with a date passes here.
        int y = 0, m = 0, dd = 0;
        d.getDate(&y, &m, &dd);
        if (y < 1000 || y > 9999)
            return d.toString(QStringLiteral("yyyy-MM-dd"));
        const char t[10] = {char('0' + y / 1000), char('0' + y / 100 % 10), char('0' + y / 10 % 10), char('0' + y % 10), '-',
                            char('0' + m / 10),   char('0' + m % 10),       '-',                     char('0' + dd / 10), char('0' + dd % 10)};
        return QString::fromLatin1(t, 10);
    }
    return v;
}

}  // namespace ado::values
