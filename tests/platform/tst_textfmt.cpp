#include "Dinero.h"
#include "textfmt.h"

#include <QtTest>

#include <clocale>
#include <string>

namespace {

// A C library locale that writes the decimal comma, or nullptr when the
// machine has none.
const char* commaLocale()
{
    static const char* const found = []() -> const char* {
        const std::string saved = std::setlocale(LC_ALL, nullptr);
        const char* hit = nullptr;
        for (const char* name : {"es_ES.UTF-8", "es_ES.utf8", "es_DO.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"})
            if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',') {
                hit = name;
                break;
            }
        std::setlocale(LC_ALL, saved.c_str());
        return hit;
    }();
    return found;
}

// Runs check under the C locale, then again with the process in a
// decimal-comma locale, as a shop's machine may be set up.
template <class F>
void inBothLocales(F check)
{
    check();
    const char* comma = commaLocale();
    if (!comma || QTest::currentTestFailed())
        return;
    std::setlocale(LC_ALL, comma);
    check();
    std::setlocale(LC_ALL, "C");
}

}  // namespace

class TstTextFmt : public QObject {
    Q_OBJECT
private slots:
    void roundHalfEven_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.5") << 2.5 << 0 << 2.0;
        QTest::newRow("3.5") << 3.5 << 0 << 4.0;
        QTest::newRow("-2.5") << -2.5 << 0 << -2.0;
        QTest::newRow("-0.5 no minus zero") << -0.5 << 0 << 0.0;
        QTest::newRow("2.51") << 2.51 << 0 << 3.0;
        QTest::newRow("cents half even") << 0.125 << 2 << 0.12;
        QTest::newRow("cents up") << 0.135 << 2 << 0.14;
        QTest::newRow("big") << 1234567.5 << 0 << 1234568.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, x);
        QFETCH(int, decimals);
        QFETCH(double, expected);
        QCOMPARE(RoundHalfEven(x, decimals), expected);
        QVERIFY(!std::signbit(RoundHalfEven(-0.4)));
    }

    void numText_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("expected");
        QTest::newRow("12.5") << 12.5 << "12.5";
        QTest::newRow("150") << 150.0 << "150";
        QTest::newRow("139.93") << 139.93 << "139.93";
        QTest::newRow("100000 no exponent") << 100000.0 << "100000";
        QTest::newRow("sum noise") << (1.1 + 2.2) << "3.3";
        QTest::newRow("tiny no exponent") << 0.00001 << "0.00001";
        QTest::newRow("huge no exponent") << 1e20 << "100000000000000000000";
        QTest::newRow("negative") << -7.25 << "-7.25";
        QTest::newRow("zero") << 0.0 << "0";
    }
    void numText()
    {
        QFETCH(double, x);
        QFETCH(QString, expected);
        inBothLocales([&] { QCOMPARE(NumText(x), expected); });
    }

    void formatMoney_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<QString>("expected");
        QTest::newRow("grouped") << 1234.5 << "1,234.50";
        QTest::newRow("millions") << 1234567.891 << "1,234,567.89";
        QTest::newRow("zero") << 0.0 << "0.00";
        QTest::newRow("small") << 5.0 << "5.00";
        QTest::newRow("negative") << -1234.5 << "-1,234.50";
        QTest::newRow("negative rounding to zero") << -0.001 << "0.00";
    }
    void formatMoney()
    {
        QFETCH(double, x);
        QFETCH(QString, expected);
        // The group and decimal signs never follow the locale.
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
        inBothLocales([&] { QCOMPARE(Dinero::De(x).Texto(), expected); });
        QLocale::setDefault(QLocale::c());
    }

    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("letters") << "abc" << 0.0;
        QTest::newRow("leading number") << "12abc" << 12.0;
        QTest::newRow("blanks") << "  7.5 " << 7.5;
        QTest::newRow("comma stops") << "1,5" << 1.0;
        QTest::newRow("negative") << "-3" << -3.0;
        QTest::newRow("point first") << ".5" << 0.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("e without digits") << "2e" << 2.0;
    }
    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        inBothLocales([&] { QCOMPARE(Val(text), expected); });
    }

    void datesAndQuoting()
    {
        QCOMPARE(FormatDate(QDate(2024, 1, 5)), QStringLiteral("05/01/2024"));
        QCOMPARE(ParseDate("05/01/2024"), QDate(2024, 1, 5));
        QCOMPARE(ParseDate("5/1/2024"), QDate(2024, 1, 5));
        QVERIFY(!ParseDate("31/02/2024").isValid());
        QVERIFY(!ParseDate("2024-01-05").isValid());
        QVERIFY(!ParseDate("").isValid());
        QCOMPARE(SqlStr("O'Brien"), QStringLiteral("'O''Brien'"));
        QCOMPARE(SqlStr("ABC"), QStringLiteral("'ABC'"));
        QCOMPARE(SqlStr("x' or '1'='1"), QStringLiteral("'x'' or ''1''=''1'"));
        QVERIFY(IsPlainNumber("12.50"));
        QVERIFY(!IsPlainNumber("1,5"));
        QVERIFY(!IsPlainNumber("-1", false));
        QVERIFY(!IsPlainNumber(""));
        QVERIFY(!IsPlainNumber("1e3"));
    }
};

QTEST_APPLESS_MAIN(TstTextFmt)
#include "tst_textfmt.moc"
