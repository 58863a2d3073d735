// Reading 100,000 articles and writing 10,000 stock-card rows through the
// data layer, against plain Qt SQL in the same run. Prints its figures.
// SQLite always; MariaDB too when TARVIK_MARIADB_HOST/PORT name a server.
#include "BenchStores.h"
#include "mFunciones.h"
#include "msgbox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <cstdio>

namespace {

using bench::check;
using bench::rssKb;
using bench::seedArticles;

void run(const QString& engine, ado::Connection& cn, QSqlDatabase raw)
{
    const int articles = 100000;
    seedArticles(raw, articles);

    // Plain forward-only read of every value.
    const long hwm0 = rssKb("VmHWM:");
    QElapsedTimer t;
    t.start();
    long long cells = 0;
    {
        QSqlQuery q(raw);
        q.setForwardOnly(true);
        check(q, q.exec("SELECT * FROM ARTICULOS"));
        QVector<QVector<QVariant>> rows;
        while (q.next()) {
            QVector<QVariant> r(18);
            for (int i = 0; i < 18; ++i)
                r[i] = q.value(i);
            rows.append(std::move(r));
            cells += 18;
        }
    }
    const double plainMs = t.nsecsElapsed() / 1e6;
    const long hwm1 = rssKb("VmHWM:");

    t.restart();
    if (!AbrirRecordset("Select * From ARTICULOS") || gRecordset->RecordCount() != articles) {
        std::fprintf(stderr, "layer read failed\n");
        std::exit(1);
    }
    const double layerMs = t.nsecsElapsed() / 1e6;
    const long hwm2 = rssKb("VmHWM:");
    gRecordset.reset();

    std::printf("%-8s read %d articles: layer %.1f ms, plain %.1f ms, ratio %.2f (aim <= 1.5); peak memory %ld MiB "
                "(plain read raised it %ld MiB, layer %ld MiB)\n",
                qPrintable(engine), articles, layerMs, plainMs, layerMs / plainMs, hwm2 / 1024, (hwm1 - hwm0) / 1024,
                (hwm2 - hwm1) / 1024);
    Q_UNUSED(cells);

    // 10,000 stock-card rows in one unit.
    const int moves = 10000;
    t.restart();
    cn.BeginTrans();
    {
        ado::Recordset rs;
        rs.Open("Kardex", cn);
        for (int i = 0; i < moves; ++i) {
            rs.AddNew();
            rs.Fields("codigo_art").setValue(QString::number(7500000000000LL + i % articles));
            rs.Fields("fecha").setValue(QString("05/01/2024"));
            rs.Fields("concepto").setValue(QString("Entrada de Inventario"));
            rs.Fields("unidades_entrantes").setValue(QString("1"));
            rs.Fields("unidades_salientes").setValue(QString("-"));
            rs.Fields("saldo").setValue(QString::number(i));
            rs.Fields("precio_compra").setValue(QString("12.5"));
            rs.Update();
        }
    }
    cn.CommitTrans();
    const double layerW = t.nsecsElapsed() / 1e6;

    t.restart();
    raw.transaction();
    {
        QSqlQuery q(raw);
        check(q, q.prepare("INSERT INTO Kardex (codigo_art, fecha, concepto, unidades_entrantes, unidades_salientes, saldo, "
                           "precio_compra) VALUES (?,?,?,?,?,?,?)"));
        for (int i = 0; i < moves; ++i) {
            q.addBindValue(QString::number(7500000000000LL + i % articles));
            q.addBindValue(QString("2024-01-05"));
            q.addBindValue(QString("Entrada de Inventario"));
            q.addBindValue(QString("1"));
            q.addBindValue(QString("-"));
            q.addBindValue(i);
            q.addBindValue(12.5);
            check(q, q.exec());
        }
    }
    raw.commit();
    const double plainW = t.nsecsElapsed() / 1e6;
    std::printf("%-8s write %d stock-card rows in one unit: layer %.1f ms, plain %.1f ms, ratio %.2f (aim <= 1.5)\n",
                qPrintable(engine), moves, layerW, plainW, layerW / plainW);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    msgtest::install();  // a failure prints, no box
    return bench::runOnStores("Inventario_bench", {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"},
                              [](const QString& engine, QSqlDatabase raw) { run(engine, Conexion(), raw); });
}
