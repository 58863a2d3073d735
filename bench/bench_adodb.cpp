// Reading 100,000 articles and writing 10,000 stock-card rows through the
// data layer, against plain Qt SQL in the same run, each pair taking turns
// at going first. Prints the medians and the aims; the writes also by the
// processor time they took, which the disk's wait does not blur.
// SQLite always; MariaDB too when TARVIK_MARIADB_HOST/PORT name a server.
#include "BenchStores.h"
#include "mFuncionesCajas.h"
#include "msgbox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

using bench::check;
using bench::rssKb;
using bench::seedArticles;

// Milliseconds of processor time this process used so far.
double cpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Wall and processor time of one write.
struct Took {
    double wall, cpu;
};

Took timed(const std::function<void()>& write)
{
    QElapsedTimer t;
    t.start();
    const double c0 = cpuMs();
    write();
    return {t.nsecsElapsed() / 1e6, cpuMs() - c0};
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median of each round's pair, which ran back to back: a slow moment
// of the machine weighs on both sides of it.
double pairRatio(const QVector<double>& layer, const QVector<double>& plain)
{
    QVector<double> r;
    for (int i = 0; i < layer.size(); ++i)
        r << layer[i] / plain[i];
    return median(r);
}

// Plain forward-only read of every value.
double plainRead(QSqlDatabase raw)
{
    QElapsedTimer t;
    t.start();
    QSqlQuery q(raw);
    q.setForwardOnly(true);
    check(q, q.exec("SELECT * FROM ARTICULOS"));
    QVector<QVector<QVariant>> rows;
    while (q.next()) {
        QVector<QVariant> r(18);
        for (int i = 0; i < 18; ++i)
            r[i] = q.value(i);
        rows.append(std::move(r));
    }
    return t.nsecsElapsed() / 1e6;
}

double layerRead(int articles)
{
    QElapsedTimer t;
    t.start();
    if (!AbrirRecordset("Select * From ARTICULOS") || gRecordset->RecordCount() != articles) {
        std::fprintf(stderr, "layer read failed\n");
        std::exit(1);
    }
    const double ms = t.nsecsElapsed() / 1e6;
    gRecordset.reset();
    return ms;
}

void layerWrite(ado::Connection& cn, int moves, int articles, int round)
{
    cn.BeginTrans();
    {
        ado::Recordset rs;
        rs.Open("Select * From Kardex Where 1 = 0", cn);  // as the stock movement opens it
        for (int i = 0; i < moves; ++i) {
            // Named and given values as the stock movement does.
            rs.AddNew();
            rs.Fields(QStringLiteral("codigo_art")).setValue(QString::number(7500000000000LL + (i + round * moves) % articles));
            rs.Fields(QStringLiteral("fecha")).setValue(QDate(2024, 1, 5));
            rs.Fields(QStringLiteral("concepto")).setValue(QStringLiteral("Entrada de Inventario"));
            rs.Fields(QStringLiteral("unidades_entrantes")).setValue(QString::number(1));
            rs.Fields(QStringLiteral("unidades_salientes")).setValue(QStringLiteral("-"));
            rs.Fields(QStringLiteral("saldo")).setValue(qint64(i));
            rs.Fields(QStringLiteral("precio_compra")).setValue(12.5);
            rs.Update();
        }
    }
    cn.CommitTrans();
}

void plainWrite(QSqlDatabase raw, int moves, int articles, int round)
{
    raw.transaction();
    {
        QSqlQuery q(raw);
        check(q, q.prepare("INSERT INTO Kardex (codigo_art, fecha, concepto, unidades_entrantes, unidades_salientes, saldo, "
                           "precio_compra) VALUES (?,?,?,?,?,?,?)"));
        for (int i = 0; i < moves; ++i) {
            q.addBindValue(QString::number(7500000000000LL + (i + round * moves) % articles));
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
}

void run(const QString& engine, ado::Connection& cn, QSqlDatabase raw)
{
    const int articles = 100000;
    const int rounds = 7;
    seedArticles(raw, articles);

    // Which read runs first takes turns, so neither always meets a cold
    // cache.
    const long hwm0 = rssKb("VmHWM:");
    QVector<double> layer, plain;
    for (int r = 0; r < rounds; ++r) {
        if (r % 2 == 0) {
            plain << plainRead(raw);
            layer << layerRead(articles);
        } else {
            layer << layerRead(articles);
            plain << plainRead(raw);
        }
    }
    const double layerMs = median(layer), plainMs = median(plain), ratio = pairRatio(layer, plain);
    std::printf("%-8s read %d articles (median of %d, taking turns): layer %.1f ms, plain %.1f ms, ratio %.2f (aim <= 1.5) %s; "
                "peak memory %ld MiB (raised %ld MiB)\n",
                qPrintable(engine), articles, rounds, layerMs, plainMs, ratio, ratio <= 1.5 ? "met" : "NOT MET",
                rssKb("VmHWM:") / 1024, (rssKb("VmHWM:") - hwm0) / 1024);

    // 10,000 stock-card rows in one unit, the two writers taking turns.
    const int moves = 10000;
    QVector<double> layerW, plainW, layerC, plainC;
    for (int r = 0; r < rounds; ++r) {
        auto plain = [&](int round) {
            const Took k = timed([&] { plainWrite(raw, moves, articles, round); });
            plainW << k.wall;
            plainC << k.cpu;
        };
        auto layer = [&](int round) {
            const Took k = timed([&] { layerWrite(cn, moves, articles, round); });
            layerW << k.wall;
            layerC << k.cpu;
        };
        if (r % 2 == 0) {
            plain(2 * r);
            layer(2 * r + 1);
        } else {
            layer(2 * r);
            plain(2 * r + 1);
        }
    }
    const double wr = pairRatio(layerW, plainW), cr = pairRatio(layerC, plainC);
    std::printf("%-8s write %d stock-card rows in one unit (median of %d, taking turns): layer %.1f ms, plain %.1f ms, ratio %.2f; "
                "processor time layer %.1f ms, plain %.1f ms, ratio %.2f (aim <= 1.3) %s\n",
                qPrintable(engine), moves, rounds, median(layerW), median(plainW), wr, median(layerC), median(plainC), cr,
                cr <= 1.3 ? "met" : "NOT MET");
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    msgtest::install();  // a failure prints, no box
    return bench::runOnStores("Inventario_bench", {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "PRAGMA foreign_keys=ON"},
                              [](const QString& engine, QSqlDatabase raw) { run(engine, Conexion(), raw); });
}
