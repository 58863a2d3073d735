// The receivables window over stores of 1,000 to 1,000,000 sales invoices
// of one company, a thousand clients, one invoice in 97 unpaid:
//   a client's unpaid invoices (a client with four unpaid and four paid),
//   the clients with something unpaid (the window's first list).
// Each figure is the median of 15 runs of the window's own statement
// through the data layer, then of the window's whole step (statement and
// list). The store grows in one run; before each size the program closes
// the store and signs in again, as after a day's work. SQLite always;
// MariaDB too when TARVIK_MARIADB_HOST/PORT name a server.
// Aims at 1,000,000 invoices: a client's invoices under 5 ms, and about as
// fast as at 1,000; the clients with something unpaid under 30 ms.
#include "BenchStores.h"
#include "ListView.h"
#include "TestStore.h"
#include "fFact_xCobrar.h"
#include "mFuncionesCajas.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using bench::check;

const int kClients = 1000;
const int kUnpaidEvery = 97;  // prime: the unpaid invoices spread over every client
const int kRuns = 15;

double medianMs(const std::function<void()>& step)
{
    QVector<double> v;
    for (int r = 0; r < kRuns; ++r) {
        QElapsedTimer t;
        t.start();
        step();
        v << t.nsecsElapsed() / 1e6;
    }
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void statement(const QString& sql, long rows)
{
    if (!AbrirRecordset(sql) || gRecordset->RecordCount() != rows) {
        std::fprintf(stderr, "%s gave %ld rows, not %ld\n", qPrintable(sql), gRecordset ? gRecordset->RecordCount() : -1L, rows);
        std::exit(1);
    }
}

void run()
{
    const teststore::Target t = teststore::openFresh();
    gCodigoEmp = "1";
    gCodigoUsu = "1";
    gNombreEmp = "EMPRESA PRINCIPAL";
    QSqlQuery q(Conexion().database());
    bench::seedClients(Conexion().database(), kClients);
    // The client measured: four unpaid invoices and four paid ones.
    check(q, q.exec("INSERT INTO CLIENTES (codigo_cli, nombre_cli) VALUES ('MEDIDO', 'CLIENTE MEDIDO')"));
    for (int i = 0; i < 8; ++i)
        check(q, q.exec(QString("INSERT INTO Ventas (codigo_fac, codigo_cli, fecha, total, abono, saldo, Estado, codigo_emp, "
                                "codigo_usu) VALUES (%1, 'MEDIDO', '2015-0%2-01', 500, 100, 400, '%3', 1, '1')")
                            .arg(5000000 + i)
                            .arg(1 + i)
                            .arg(i % 2 ? "Sin Cancelar" : "Cancelada")));
    q.finish();

    int have = 0;
    for (int n : {1000, 10000, 100000, 1000000}) {
        bench::seedInvoices(Conexion().database(), have, n, kClients, kUnpaidEvery);
        have = n;
        // The program closes the store; the next sign-in opens it again.
        Conexion().Close();
        teststore::openOn(Conexion(), t);

        fFact_xCobrar& w = Ventana<fFact_xCobrar>();
        const int deudores = std::min(kClients, n / kUnpaidEvery) + 1;
        w.cargarPendientes();
        const QString sqlPendientes = gSQL;
        w.tCodigo_cli->setText("MEDIDO");
        w.cargarFacturas();
        const QString sqlFacturas = gSQL;
        if (w.lvwClientes->count() != deudores || w.lvwFacturas->count() != 4) {
            std::fprintf(stderr, "the window listed %d clients and %d invoices\n", w.lvwClientes->count(), w.lvwFacturas->count());
            std::exit(1);
        }
        const double facturas = medianMs([&] { statement(sqlFacturas, 4); });
        const double facturasVentana = medianMs([&] { w.cargarFacturas(); });
        const double pendientes = medianMs([&] { statement(sqlPendientes, deudores); });
        const double pendientesVentana = medianMs([&] { w.cargarPendientes(); });
        std::printf("%-8s %7d invoices: a client's unpaid invoices %.2f ms (window %.2f ms); clients with something unpaid "
                    "(%d) %.2f ms (window %.2f ms)%s\n",
                    qPrintable(teststore::engine()), n, facturas, facturasVentana, deudores, pendientes, pendientesVentana,
                    n < 1000000                       ? ""
                    : facturas < 5 && pendientes < 30 ? " met"
                                                      : " NOT MET");
        CerrarVentana(&w);
        QApplication::processEvents();
    }
    gRecordset.reset();
    Conexion().Close();
}

}  // namespace

int main(int argc, char** argv)
{
    const bench::WindowsBench b(argc, argv);
    if (b.app.arguments().size() == 2) {
        run();
        return 0;
    }
    return bench::eachEngineApart({"run"});
}
