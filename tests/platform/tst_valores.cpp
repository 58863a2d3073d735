// The layer's values between the engines, the callers and the columns,
// without a store.
#include "adoerror.h"
#include "adovalues.h"

#include <QDate>
#include <QtTest>

using namespace ado;

namespace {

// The error number a conversion throws, 0 when it throws none.
template <class F>
long errorOf(F&& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.number;
    }
    return 0;
}

}  // namespace

class TstValores : public QObject {
    Q_OBJECT
private slots:
    // What the engines hand back, in the one form a kind is read in.
    void normalise_data()
    {
        QTest::addColumn<QVariant>("leido");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("valor");
        QTest::newRow("fecha del archivo") << QVariant("2024-03-05") << int(Kind::Date) << QVariant(QDate(2024, 3, 5));
        QTest::newRow("fecha y hora") << QVariant(QDateTime(QDate(2024, 3, 5), QTime(10, 0))) << int(Kind::Date)
                                      << QVariant(QDate(2024, 3, 5));
        QTest::newRow("fecha que no lo es") << QVariant("mañana") << int(Kind::Date) << QVariant("mañana");
        QTest::newRow("dinero en texto") << QVariant("12.5") << int(Kind::Money) << QVariant(12.5);
        QTest::newRow("entero como double") << QVariant(7.0) << int(Kind::Integer) << QVariant(qint64(7));
        QTest::newRow("entero con decimales") << QVariant(7.5) << int(Kind::Integer) << QVariant(7.5);
        QTest::newRow("entero de 32 bits") << QVariant(int(9)) << int(Kind::Integer) << QVariant(qint64(9));
        QTest::newRow("número en texto") << QVariant(0.1 + 0.2) << int(Kind::Text) << QVariant("0.3");
        QTest::newRow("nulo") << QVariant() << int(Kind::Money) << QVariant();
    }
    void normalise()
    {
        QFETCH(QVariant, leido);
        QFETCH(int, kind);
        QFETCH(QVariant, valor);
        const QVariant v = values::normalise(leido, Kind(kind));
        QCOMPARE(v.typeId(), valor.typeId());
        QCOMPARE(v, valor);
    }

    // Digits make an exact whole number and one division rounds it, as the
    // general parse does.
    void plainNumber_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("valor");
        QTest::newRow("décima") << "0.1" << 0.1;
        QTest::newRow("quince cifras") << "123456789012.345" << 123456789012.345;
        QTest::newRow("negativo") << "-2.5" << -2.5;
        QTest::newRow("con signo") << "+40" << 40.0;
        QTest::newRow("más de quince cifras") << "1234567890123456.7" << 1234567890123456.7;
    }
    void plainNumber()
    {
        QFETCH(QString, texto);
        QFETCH(double, valor);
        QCOMPARE(values::plainNumber(texto), valor);
        QCOMPARE(values::plainNumber(texto), texto.toDouble());
    }

    // What a caller writes, as the column stores it, or the refusal.
    void convertForColumn_data()
    {
        QTest::addColumn<QVariant>("dado");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QVariant>("guardado");
        QTest::addColumn<long>("error");
        const QVariant nada;
        QTest::newRow("fecha en texto") << QVariant(QDate(2024, 3, 5)) << int(Kind::Text) << QVariant("05/03/2024") << 0L;
        QTest::newRow("número en texto") << QVariant(12.5) << int(Kind::Text) << QVariant("12.5") << 0L;
        QTest::newRow("medio a par") << QVariant("12.5") << int(Kind::Integer) << QVariant(qint64(12)) << 0L;
        QTest::newRow("medio a par arriba") << QVariant("13.5") << int(Kind::Integer) << QVariant(qint64(14)) << 0L;
        QTest::newRow("entero con blancos") << QVariant(" 42 ") << int(Kind::Integer) << QVariant(qint64(42)) << 0L;
        QTest::newRow("entero que no es") << QVariant("4a") << int(Kind::Integer) << nada << long(err::TypeMismatch);
        QTest::newRow("más de 32 bits") << QVariant("3000000000") << int(Kind::Integer) << nada << long(err::Overflow);
        QTest::newRow("dinero") << QVariant("0.1") << int(Kind::Money) << QVariant(0.1) << 0L;
        QTest::newRow("dinero con coma") << QVariant("1,5") << int(Kind::Money) << nada << long(err::TypeMismatch);
        QTest::newRow("dinero vacío") << QVariant("") << int(Kind::Money) << nada << long(err::TypeMismatch);
        QTest::newRow("fecha vacía") << QVariant(" ") << int(Kind::Date) << nada << 0L;
        QTest::newRow("fecha") << QVariant("05/03/2024") << int(Kind::Date) << QVariant(QDate(2024, 3, 5)) << 0L;
        QTest::newRow("fecha imposible") << QVariant("31/02/2024") << int(Kind::Date) << nada << long(err::TypeMismatch);
        QTest::newRow("numerada") << QVariant("5") << int(Kind::AutoNumber) << nada << long(err::AutoNumbered);
        QTest::newRow("nulo") << nada << int(Kind::Integer) << nada << 0L;
    }
    void convertForColumn()
    {
        QFETCH(QVariant, dado);
        QFETCH(int, kind);
        QFETCH(QVariant, guardado);
        QFETCH(long, error);
        QVariant v;
        QCOMPARE(errorOf([&] { v = values::convertForColumn(dado, Kind(kind), QStringLiteral("c")); }), error);
        if (error)
            return;
        QCOMPARE(v.typeId(), guardado.typeId());
        QCOMPARE(v, guardado);
    }

    // Both stores count a character beyond the first plane as one.
    void checkTextLength_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("caracteres");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("cabe");
        const QString emoji = QString::fromUtf8("\U0001F600");
        QTest::newRow("justo") << "abc" << 3 << 0 << true;
        QTest::newRow("uno de más") << "abcd" << 3 << 0 << false;
        QTest::newRow("emojis hasta el límite") << emoji.repeated(3) << 3 << 0 << true;
        QTest::newRow("emojis de más") << emoji.repeated(4) << 3 << 0 << false;
        QTest::newRow("mitad suelta") << QString(QChar(0xD83D)).repeated(4) << 3 << 0 << false;
        QTest::newRow("bytes justos") << QString::fromUtf8("ññ") << 0 << 4 << true;
        QTest::newRow("bytes de más") << QString::fromUtf8("ñññ") << 0 << 4 << false;
    }
    void checkTextLength()
    {
        QFETCH(QString, texto);
        QFETCH(int, caracteres);
        QFETCH(int, bytes);
        QFETCH(bool, cabe);
        ColumnInfo c{QStringLiteral("nombre"), Kind::Text, caracteres, bytes};
        QCOMPARE(errorOf([&] { values::checkTextLength(QVariant(texto), c); }), cabe ? 0L : long(err::TooLong));
    }

    void bindable()
    {
        const QVariant nulo = values::bindable(QVariant(), true);
        QVERIFY(nulo.isNull());
        QCOMPARE(nulo.typeId(), int(QMetaType::QString));
        QCOMPARE(values::bindable(QDate(2024, 3, 5), true), QVariant("2024-03-05"));
        QCOMPARE(values::bindable(QDate(987, 1, 2), true), QVariant("0987-01-02"));
        QCOMPARE(values::bindable(QDate(2024, 3, 5), false), QVariant(QDate(2024, 3, 5)));
        QCOMPARE(values::bindable(12.5, true), QVariant(12.5));
    }
};

QTEST_GUILESS_MAIN(TstValores)
#include "tst_valores.moc"
