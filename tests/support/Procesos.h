// Tests that run workstations at once start copies of their own executable
// on the same store: "<exe> --<opcion> <store> <extra...>", where <store> is
// the four fields of a teststore::Target. Their main(), PROCESOS_MAIN, hands
// such a command line to the child's routine, which reads the store back
// with DestinoDeArgumentos; the extras start at argument 6. Ejecutar runs a
// command of the system.
#pragma once

#include "TestStore.h"

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#endif
#include <QCoreApplication>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QtTest/QTest>

namespace procesos {

inline teststore::Target DestinoDeArgumentos(const QStringList& args)
{
    teststore::Target t;
    t.provider = args.value(2);
    t.connectionString = args.value(3);
    t.sqlitePath = args.value(4);
    t.database = args.value(5);
    return t;
}

// Starts n children at once, child i with argumentos(i) after the store, and
// waits for them all; each must end normally with code 0, then goes to
// terminado (its output is still there to read). A failure fails the
// running test (check QTest::currentTestFailed()).
template <class Argumentos, class Terminado = void (*)(QProcess&)>
void CorrerHijos(QObject* padre, int n, const QString& opcion, const teststore::Target& t, Argumentos argumentos,
                 int esperaMs, Terminado terminado = [](QProcess&) {})
{
    QList<QProcess*> hijos;
    for (int i = 0; i < n; ++i) {
        auto* p = new QProcess(padre);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        hijos << p;
    }
    for (int i = 0; i < hijos.size(); ++i)
        hijos[i]->start(QCoreApplication::applicationFilePath(),
                        QStringList{opcion, t.provider, t.connectionString, t.sqlitePath, t.database} + argumentos(i));
    for (QProcess* p : hijos) {
        QVERIFY(p->waitForFinished(esperaMs));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        terminado(*p);
        if (QTest::currentTestFailed())
            return;
    }
}

// Runs a command to its end (two minutes at most); its output, trimmed.
// ok tells whether it ended normally with code 0.
inline QString Ejecutar(const QString& programa, const QStringList& argumentos, bool* ok = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    const bool terminado = p.waitForFinished(120000);
    if (ok)
        *ok = terminado && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromLocal8Bit(p.readAll()).trimmed();
}

}  // namespace procesos

// The application object of the test: a test of the rules links no widget
// (and its sources say QTEST_GUILESS_MAIN or PROCESOS_GUILESS_MAIN).
#ifdef QT_WIDGETS_LIB
#define PROCESOS_APLICACION QApplication
#else
#define PROCESOS_APLICACION QCoreApplication
#endif
#define PROCESOS_GUILESS_MAIN PROCESOS_MAIN

// QTEST_MAIN for such a test: a command line "<exe> --<opcion> ..." goes to
// hijo(args) and its code ends the child, any other runs the tests of Clase.
#define PROCESOS_MAIN(Clase, opcion, hijo)          \
    int main(int argc, char** argv)                 \
    {                                               \
        PROCESOS_APLICACION app(argc, argv);        \
        const QStringList args = app.arguments();   \
        if (args.value(1) == QLatin1String(opcion)) \
            return hijo(args);                      \
        Clase t;                                    \
        QTEST_SET_MAIN_SOURCE_PATH                  \
        return QTest::qExec(&t, argc, argv);        \
    }
