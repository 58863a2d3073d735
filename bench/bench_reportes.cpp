// The period sales report and the tax report over 5,000, 50,000 and
// 200,000 invoices of one period (one line each): the time to write the
// report file, the time until the report window has painted the page, and
// the peak memory of the run. Each run is a process of its own, so its
// peak is its own. Prints the figures and the aims. SQLite always; MariaDB
// too when TARVIK_MARIADB_HOST/PORT name a server.
#include "AppPath.h"
#include "BenchStores.h"
#include "ReportView.h"
#include "TestStore.h"
#include "WebBrowser.h"
#include "frmRepImpuestos.h"
#include "frmRepVentas.h"
#include "mFunciones.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using bench::check;
using bench::rssKb;

// Adds invoices from+1 .. to, all in September 2010, unpaid, one line each.
void llenar(QSqlDatabase db, int from, int to)
{
    db.transaction();
    QSqlQuery v(db), d(db);
    check(v, v.prepare("INSERT INTO Ventas VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    check(d, d.prepare("INSERT INTO Detalles_FacVen VALUES (?,?,?,?,?,?,?,?,?)"));
    for (int i = from + 1; i <= to; ++i) {
        const QDate f(2010, 9, 1 + i % 30);
        const double neto = 100 + i % 900 + (i % 7) * 0.25;
        for (const QVariant& x : QVariantList{i, "0", f, "CREDITO", neto, neto * 0.18, 0.0, 10.0, neto * 1.18 - 10, neto * 1.18, "",
                                              "Sin Cancelar", f, 1, "1", QString()})
            v.addBindValue(x);
        check(v, v.exec());
        for (const QVariant& x : QVariantList{i, 1, "A1", QString("ARTICULO %1").arg(i % 500), 2, neto / 2, 18, neto * 1.18, 40.0})
            d.addBindValue(x);
        check(d, d.exec());
    }
    db.commit();
}

// Runs the report of September 2010 in w, times the file and the first
// paint of the page in the window shown.
template <class W>
void medir(const char* nombre, int facturas, double aimFile)
{
    W& w = Ventana<W>();
    w.ComboEstado->setCurrentIndex(0);
    w.show();
    QApplication::processEvents();
    const long antes = rssKb("VmRSS:");
    bool pintado = false;
    auto* vista = w.web->template findChild<ReportView*>();
    struct Vigia : QObject {
        bool* flag;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                *flag = true;
            return false;
        }
    } vigia;
    vigia.flag = &pintado;
    vista->viewport()->installEventFilter(&vigia);

    QElapsedTimer reloj;
    reloj.start();
    w.InicializarReporte(QDate(2010, 9, 1), QDate(2010, 9, 30));
    const double hecho = reloj.nsecsElapsed() / 1e6;
    vista->viewport()->update();
    while (!pintado)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const double mostrado = reloj.nsecsElapsed() / 1e6;
    vista->viewport()->removeEventFilter(&vigia);
    const long pico = rssKb("VmHWM:");

    // The page read into the view by itself, to tell the file's part.
    reloj.restart();
    w.web->Navigate(w.web->LocationURL());
    const double lectura = reloj.nsecsElapsed() / 1e6;
    const double archivo = hecho - lectura;
    const bool cumple = archivo < aimFile && mostrado < (facturas <= 5000 ? 500 : 3000) && pico < 400 * 1024;
    std::printf("%-8s %-7s %6d invoices: file %.0f ms, shown %.0f ms (page read %.0f ms), peak memory %ld MiB (%ld MiB before) %s\n",
                qPrintable(teststore::engine()),
                nombre, facturas, archivo, mostrado, lectura, pico / 1024, antes / 1024,
                facturas > 50000 ? "(no aim)" : cumple ? "met" : "NOT MET");
    CerrarVentana(&w);
    QApplication::processEvents();
}

// One run: a fresh store on the engine of TARVIK_TEST_ENGINE with n
// invoices, and one report over them.
void correr(int n, bool impuestos)
{
    const teststore::Target t = teststore::openFresh();
    gCodigoEmp = "1";
    gCodigoUsu = "1";
    gNombreEmp = "FERRETERIA LA LLAVE";
    QSqlQuery q(Conexion().database());
    check(q, q.exec("INSERT INTO ARTICULOS (codigo_art, descripcion_art) VALUES ('A1', 'ARTICULO')"));
    llenar(Conexion().database(), 0, n);
    if (impuestos)
        medir<frmRepImpuestos>("tax", n, 1000);
    else
        medir<frmRepVentas>("sales", n, 1000);
    Conexion().Close();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    msgtest::install();
    QTemporaryDir dir;
    SetAppPath(dir.path());
    const QStringList args = app.arguments();
    if (args.size() == 3) {
        correr(args[1].toInt(), args[2] == "tax");
        return 0;
    }
    std::printf("aims: file under 1 s, shown under 3 s (0.5 s at 5,000), peak memory under 400 MiB\n");
    std::fflush(stdout);
    QStringList motores{"sqlite"};
    if (!teststore::serverHost().isEmpty())
        motores << "mariadb";
    else
        std::printf("mariadb  skipped: TARVIK_MARIADB_HOST/PORT not set\n");
    for (const QString& motor : motores)
        for (const char* n : {"5000", "50000", "200000"})
            for (const char* informe : {"sales", "tax"}) {
                QProcess p;
                QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
                env.insert("TARVIK_TEST_ENGINE", motor);
                p.setProcessEnvironment(env);
                p.setProcessChannelMode(QProcess::ForwardedChannels);
                p.start(args[0], {n, informe});
                p.waitForFinished(-1);
                if (p.exitCode() != 0)
                    return 1;
            }
    return 0;
}
