// Money as whole cents: one rounding rule, the typed forms, the printed one.
#include "Dinero.h"

#include <QtTest>

class TstCentavos : public QObject {
    Q_OBJECT
private slots:
    // The rule: to the cent as the decimal text reads, halves away from
    // zero, whatever the double's binary digits say.
    void redondeo_data()
    {
        QTest::addColumn<double>("valor");
        QTest::addColumn<qint64>("centavos");
        QTest::newRow("medio centavo arriba") << 1.005 << qint64(101);
        QTest::newRow("binario bajo el medio") << 2.675 << qint64(268);
        QTest::newRow("medio exacto") << 0.125 << qint64(13);
        QTest::newRow("medio negativo") << -0.025 << qint64(-3);
        QTest::newRow("suma binaria") << 0.1 + 0.2 << qint64(30);
        QTest::newRow("bajo el medio") << 0.124 << qint64(12);
        QTest::newRow("cero negativo") << -0.004 << qint64(0);
        QTest::newRow("no es número") << std::numeric_limits<double>::infinity() << qint64(0);
        QTest::newRow("billones") << 5000000000000.5 << qint64(500000000000050);
    }
    void redondeo()
    {
        QFETCH(double, valor);
        QFETCH(qint64, centavos);
        QCOMPARE(Dinero::De(valor).centavos(), centavos);
        QCOMPARE(EnCentavos(valor), double(centavos) / 100);
    }

    void leer_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<qint64>("centavos");  // -1: refused
        QTest::newRow("entero") << "118" << qint64(11800);
        QTest::newRow("un decimal") << "117.5" << qint64(11750);
        QTest::newRow("dos decimales") << " 0.99 " << qint64(99);
        QTest::newRow("sin enteros") << ".5" << qint64(50);
        QTest::newRow("punto final") << "5." << qint64(500);
        QTest::newRow("doce cifras") << "999999999999.99" << qint64(99999999999999);
        QTest::newRow("trece cifras") << "1000000000000" << qint64(-1);
        QTest::newRow("tercer decimal") << "0.005" << qint64(-1);
        QTest::newRow("signo") << "-5" << qint64(-1);
        QTest::newRow("coma") << "54,01" << qint64(-1);
        QTest::newRow("exponente") << "1e1" << qint64(-1);
        QTest::newRow("solo punto") << "." << qint64(-1);
        QTest::newRow("vacío") << "" << qint64(-1);
        QTest::newRow("cifra árabe") << QString::fromUtf8("\u0661") << qint64(-1);
    }
    void leer()
    {
        QFETCH(QString, texto);
        QFETCH(qint64, centavos);
        const std::optional<Dinero> d = Dinero::Leer(texto);
        QCOMPARE(d ? d->centavos() : -1, centavos);
    }

    void texto_data()
    {
        QTest::addColumn<qint64>("centavos");
        QTest::addColumn<QString>("texto");
        QTest::newRow("cero") << qint64(0) << "0.00";
        QTest::newRow("miles") << qint64(123450) << "1,234.50";
        QTest::newRow("negativo") << qint64(-3) << "-0.03";
        QTest::newRow("millones") << qint64(123456789) << "1,234,567.89";
        QTest::newRow("el más bajo") << std::numeric_limits<qint64>::min() << "-92,233,720,368,547,758.08";
    }
    void texto()
    {
        QFETCH(qint64, centavos);
        QFETCH(QString, texto);
        QCOMPARE(Dinero::DeCentavos(centavos).Texto(), texto);
    }

    // Sums of cents stay exact where sums of doubles drift.
    void sumas()
    {
        Dinero total;
        for (int i = 0; i < 1000; ++i)
            total += Dinero::De(0.1);
        QCOMPARE(total.centavos(), qint64(10000));
        QCOMPARE((total - Dinero::De(100)).valor(), 0.0);
        QVERIFY(!std::signbit((Dinero::De(0.01) - Dinero::De(0.01)).valor()));
    }
};

QTEST_GUILESS_MAIN(TstCentavos)
#include "tst_centavos.moc"
