// Kept apart from TestStore.cpp so that tests of the raw store link without
// the data layer.
#include "TestStore.h"

#include "adodb.h"
#include "mVblesGlobales.h"

#include <exception>

namespace teststore {

void openOn(ado::Connection& cn, const Target& t)
{
    try {
        if (!t.sqlitePath.isEmpty()) {
            cn.Provider = t.provider;
            cn.Open(t.sqlitePath);
        } else {
            cn.ConnectionString = t.connectionString;
            cn.CursorLocation = 3;  // client-side cursor, as the sign-in sets it
            cn.Open();
        }
    } catch (const ado::Error& e) {
        fail(QStringLiteral("Store not opened (%1): %2").arg(e.number).arg(e.description));
    } catch (const std::exception& e) {
        fail(QStringLiteral("Store not opened: ") + QString::fromLocal8Bit(e.what()));
    }
}

Target openFresh()
{
    ReiniciarVariablesGlobales();
    const Target t = fresh();
    if (QTest::currentTestFailed() || (t.sqlitePath.isEmpty() && t.database.isEmpty()))
        return t;
    openOn(Conexion(), t);
    return t;
}

}  // namespace teststore
