// TARVIK_STORE_TEST: the one unit of work: all or nothing, and run again when
// another workstation won the same rows.
#include "Prueba.h"
#include "TestStore.h"
#include "mFunciones.h"
#include "mUnidad.h"

#include <QSqlQuery>
#include <QtTest>

namespace {

const QString kOtraEstacion = "Error No: 1213. Otra estación de trabajo está usando los mismos datos en este momento y el "
                              "trabajo no se guardó. Presione de nuevo para repetirlo";

// The store's answer to the first write of each of the first `veces` runs
// of a unit: the error numero (1213 a deadlock, 1205 a lock waited out).
struct Perdidas {
    int veces, numero, escrituras = 0;
    Perdidas(int v, int n) : veces(v), numero(n)
    {
        ado::Connection::setWriteHook([this](const QString&) {
            if (++escrituras <= veces)
                throw ado::Error{numero, QStringLiteral("Deadlock found when trying to get lock"), ado::Fault::Busy};
        });
    }
    ~Perdidas() { ado::Connection::setWriteHook({}); }
};

int clientes(const teststore::Target& t)
{
    return teststore::scalarRaw(t, "SELECT COUNT(*) FROM CLIENTES WHERE codigo_cli = 'C1'").toInt();
}

// A unit that adds client C1 and counts its runs.
bool AgregarCliente(int& corridas)
{
    return EnTransaccion([&](ado::Connection& cn) {
        ++corridas;
        ado::Recordset rs;
        rs.Open("INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('C1', 'ANA')", cn);
        return true;
    });
}

// A unit that adds clients C1 and C2, and between the two, on the runs
// that the node gives up, ends the transaction on the server without a word
// to the program, as a cluster node does when another node's commit takes
// the same rows.
bool AgregarDosClientes(int& corridas, int abandonadas)
{
    return EnTransaccion([&](ado::Connection& cn) {
        ++corridas;
        ado::Recordset rs;
        rs.Open("INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('C1', 'ANA')", cn);
        if (corridas <= abandonadas)
            QSqlQuery(cn.database()).exec("ROLLBACK");
        rs.Open("INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('C2', 'LUIS')", cn);
        return true;
    });
}

}  // namespace

class TstUnidad : public Prueba {
    Q_OBJECT
private slots:
    void init()
    {
        Prueba::init();
        FijarPausaUnidad([](int) { return 0; });
    }
    void cleanup()
    {
        ado::Connection::setWriteHook({});
        ado::Connection::setClusterUnitsHook(false);
        FijarPausaUnidad({});
        Prueba::cleanup();
    }

    void otraEstacionGana_data()
    {
        columnas<int, int, bool, int>("perdidas", "error", "guardado", "corridas");
        QTest::newRow("gana a la segunda") << 1 << 1213 << true << 2;
        QTest::newRow("gana a la última") << kIntentosUnidad - 1 << 1213 << true << kIntentosUnidad;
        QTest::newRow("pierde siempre") << kIntentosUnidad << 1213 << false << kIntentosUnidad;
        // A lock waited out has taken its time already: told, not tried again.
        QTest::newRow("espera agotada") << 1 << 1205 << false << 1;
    }
    void otraEstacionGana()
    {
        QFETCH(int, perdidas);
        QFETCH(int, error);
        QFETCH(bool, guardado);
        QFETCH(int, corridas);
        TESTSTORE_OPEN_FRESH(t);
        int vistas = 0;
        bool ok = false;
        {
            Perdidas p(perdidas, error);
            ok = AgregarCliente(vistas);
        }
        QCOMPARE(ok, guardado);
        QCOMPARE(vistas, corridas);
        QCOMPARE(clientes(t), guardado ? 1 : 0);
        QCOMPARE(Conexion().transactionDepth(), 0);
        if (guardado) {
            QCOMPARE(msgtest::texts(), QStringList());
            return;
        }
        QCOMPARE(Err.Number, long(error));
        ControlErrores();
        QCOMPARE(msgtest::texts().size(), 1);
        if (error == 1213)
            QCOMPARE(msgtest::texts()[0], kOtraEstacion);
        // The next press works.
        msgtest::clear();
        QVERIFY(AgregarCliente(vistas));
        QCOMPARE(clientes(t), 1);
    }

    // What ran after the node ended the unit is not stored by itself: the
    // whole unit runs again, or nothing of it is stored.
    void elNodoTerminaLaUnidadSinAvisar_data()
    {
        columnas<int, bool, int>("abandonadas", "guardado", "corridas");
        QTest::newRow("una vez") << 1 << true << 2;
        QTest::newRow("siempre") << kIntentosUnidad << false << kIntentosUnidad;
    }
    void elNodoTerminaLaUnidadSinAvisar()
    {
        if (!teststore::mariadb())
            QSKIP("only a server ends a unit unasked");
        QFETCH(int, abandonadas);
        QFETCH(bool, guardado);
        QFETCH(int, corridas);
        ado::Connection::setClusterUnitsHook(true);
        TESTSTORE_OPEN_FRESH(t);
        int vistas = 0;
        QCOMPARE(AgregarDosClientes(vistas, abandonadas), guardado);
        QCOMPARE(vistas, corridas);
        const auto guardados = [&] {
            return teststore::scalarRaw(t, "SELECT COUNT(*) FROM CLIENTES WHERE codigo_cli IN ('C1', 'C2')").toInt();
        };
        QCOMPARE(guardados(), guardado ? 2 : 0);
        if (!guardado) {
            QCOMPARE(Err.Number, long(ado::err::Deadlock));
            ControlErrores();
            QCOMPARE(msgtest::texts(), QStringList{kOtraEstacion});
        }
        // The session commits by itself again outside a unit.
        ado::Recordset rs;
        rs.Open("INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('C3', 'EVA')", Conexion());
        QCOMPARE(teststore::scalarRaw(t, "SELECT COUNT(*) FROM CLIENTES WHERE codigo_cli = 'C3'").toInt(), 1);
    }

    // Inside a unit that is already open the whole outer unit is given up:
    // only its caller may run it again.
    void dentroDeOtraUnidadNoSeRepite()
    {
        TESTSTORE_OPEN_FRESH(t);
        ado::Connection& cn = Conexion();
        int vistas = 0;
        Perdidas p(1, 1213);
        cn.BeginTrans();
        QVERIFY(!AgregarCliente(vistas));
        QCOMPARE(vistas, 1);
        QVERIFY(cn.unitDoomed());
        cn.RollbackTrans();
        QCOMPARE(clientes(t), 0);
    }
};

QTEST_GUILESS_MAIN(TstUnidad)
#include "tst_unidad.moc"
