// A test object whose every test answers the message boxes itself and
// leaves the session's shared values as it found them. A test with more to
// undo runs it in its own cleanup before Prueba::cleanup().
#pragma once

#include "mVblesGlobales.h"
#include "msgbox.h"

#include <QObject>
#include <QtTest/QTest>

class Prueba : public QObject {
    Q_OBJECT
protected slots:
    void init() { msgtest::install(); }
    void cleanup()
    {
        msgtest::uninstall();
        ReiniciarVariablesGlobales();
    }
};

// The columns of a test's data table, a type for each name in order:
//   columnas<QString, int>("texto", "caja");
template <class... T, class... N>
void columnas(const N&... nombres)
{
    static_assert(sizeof...(T) == sizeof...(N), "a type for each column");
    (QTest::addColumn<T>(nombres), ...);
}
