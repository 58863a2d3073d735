// The hooks the libraries call upward through.
#include "mEnganches.h"

#include <QTest>
#include <type_traits>

namespace {
const Enganche<void(const QString&)> conTexto;
const Enganche<bool()> pregunta;
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

    // A function of another signature cannot be set on a hook at all.
    void otraFirmaNoCompila()
    {
        using Pregunta = const Enganche<bool()>&;
        static_assert(std::is_assignable_v<Pregunta, std::function<bool()>>);
        static_assert(!std::is_assignable_v<Pregunta, std::function<void()>>);
        static_assert(!std::is_assignable_v<Pregunta, std::function<bool(const QString&)>>);
        static_assert(!std::is_assignable_v<const Enganche<void(const QString&)>&, std::function<void(int*)>>);
        pregunta = [] { return true; };
        QVERIFY(Enganchado(pregunta)());
    }
};

QTEST_GUILESS_MAIN(TstEnganches)
#include "tst_enganches.moc"
