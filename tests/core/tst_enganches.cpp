// The named hooks the libraries call upward through.
#include "mEnganches.h"

#include <QTest>

namespace {
constexpr Enganche<void(const QString&)> conTexto{"prueba.conTexto"};
constexpr Enganche<bool()> pregunta{"prueba.pregunta"};
}  // namespace

class TstEnganches : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        conTexto = {};
        pregunta = {};
    }

    void laUltimaPuestaVale()
    {
        QStringList vistos;
        QVERIFY(!conTexto);
        QVERIFY(!Llamar(conTexto, QString("a")));
        conTexto = [&](const QString& t) { vistos << "1" + t; };
        conTexto = [&](const QString& t) { vistos << "2" + t; };
        QVERIFY(conTexto);
        conTexto("x");
        QVERIFY(Llamar(conTexto, QString("y")));
        QCOMPARE(vistos, QStringList({"2x", "2y"}));
        conTexto = {};
        QVERIFY(!conTexto);
        conTexto("z");
        QCOMPARE(vistos.size(), 2);
    }

    // A hook may unset itself while it runs; the running one finishes.
    void seQuitaMientrasCorre()
    {
        QStringList vistos;
        conTexto = [&](const QString& t) {
            conTexto = {};
            vistos << t;
        };
        conTexto("a");
        conTexto("b");
        QCOMPARE(vistos, QStringList({"a"}));
    }

    // Asked with another signature, a hook is not there.
    void otraFirmaNoLoEncuentra()
    {
        pregunta = [] { return true; };
        QVERIFY(Enganchado(pregunta)());
        QVERIFY(!Enganchado<void()>(QString("prueba.pregunta")));
        QVERIFY(!Enganchado<void(const QString&)>(QString("prueba.pregunta")));
    }
};

QTEST_MAIN(TstEnganches)
#include "tst_enganches.moc"
