// Filling the article list with 100,000 articles through LlenarListView,
// against the plain read of the same rows in the same run: time, ratio and
// peak memory. SQLite always; MariaDB too when TARVIK_MARIADB_HOST/PORT name
// a server. Aim: the fill under one second and within 2x the plain read.
#include "BenchStores.h"
#include "ListView.h"
#include "StatusBar.h"
#include "mFunciones.h"
#include "mSubRutinas.h"
#include "msgbox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace {

const char* const kSql = "Select codigo_art,descripcion_art,precio_venta1,Precio_venta2,precio_venta3,Cantidad,"
                         "stock_minimo,imagen_art from Articulos";
// The plain read names the table as the server stores it (MariaDB table
// names are case-sensitive; the data layer maps them itself).
const char* const kRawSql = "Select codigo_art,descripcion_art,precio_venta1,Precio_venta2,precio_venta3,Cantidad,"
                            "stock_minimo,imagen_art from ARTICULOS";
const int kArticles = 100000;
const int kRuns = 3;

using bench::check;
using bench::rssKb;
using bench::seedArticles;

void run(const QString& engine, QSqlDatabase raw)
{
    seedArticles(raw, kArticles);

    // The article list as a window shows it.
    QWidget window;
    auto* lay = new QVBoxLayout(&window);
    auto* lvw = new ListView;
    auto* sb = new StatusBar;
    lvw->setColumns({"Código", "Descripción", "Precio 1", "Precio 2", "Precio 3", "Cantidad", "Mínimo", "Imagen"},
                    {1500, 4000, 1200, 1200, 1200, 1000, 1000, 2500});
    lay->addWidget(lvw);
    lay->addWidget(sb);
    window.resize(1000, 600);
    window.show();
    QApplication::processEvents();

    double plainBest = 1e18, fillBest = 1e18, paintBest = 1e18;
    long plainRise = 0, fillRise = 0;
    for (int r = 0; r < kRuns; ++r) {
        // Plain read: every value of the statement's rows as text.
        const long before = rssKb("VmRSS:");
        QElapsedTimer t;
        t.start();
        {
            QSqlQuery q(raw);
            q.setForwardOnly(true);
            check(q, q.exec(kRawSql));
            QVector<QStringList> rows;
            while (q.next()) {
                QStringList cells;
                cells.reserve(8);
                for (int i = 0; i < 8; ++i)
                    cells.append(q.value(i).toString());
                rows.append(std::move(cells));
            }
            if (rows.size() != kArticles) {
                std::fprintf(stderr, "plain read gave %lld rows\n", qlonglong(rows.size()));
                std::exit(1);
            }
            plainRise = std::max(plainRise, rssKb("VmRSS:") - before);
        }
        plainBest = std::min(plainBest, t.nsecsElapsed() / 1e6);

        lvw->clear();
        gRecordset.reset();
        const long before2 = rssKb("VmRSS:");
        t.restart();
        LlenarListView(kSql, lvw, sb);
        const double fill = t.nsecsElapsed() / 1e6;
        // Usable: the list is on screen and answers.
        t.restart();
        lvw->viewport()->repaint();
        lvw->scrollToBottom();
        lvw->viewport()->repaint();
        lvw->scrollToTop();
        const double paint = t.nsecsElapsed() / 1e6;
        fillRise = std::max(fillRise, rssKb("VmRSS:") - before2);
        if (lvw->count() != kArticles || sb->text() != QString("%1 elemento(s) encontrado(s)").arg(kArticles)) {
            std::fprintf(stderr, "fill gave %d rows, status \"%s\"\n", lvw->count(), qPrintable(sb->text()));
            std::exit(1);
        }
        fillBest = std::min(fillBest, fill);
        paintBest = std::min(paintBest, paint);
    }
    gRecordset.reset();

    std::printf("%-8s LlenarListView of %d articles: %.1f ms (aim < 1000), plain read %.1f ms, ratio %.2f (aim <= 2.0); "
                "first paint and scroll %.1f ms\n",
                qPrintable(engine), kArticles, fillBest, plainBest, fillBest / plainBest, paintBest);
    std::printf("%-8s memory: the fill (list and shared query) raised RSS %ld MiB, the plain read %ld MiB; peak %ld MiB\n",
                qPrintable(engine), fillRise / 1024, plainRise / 1024, rssKb("VmHWM:") / 1024);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    msgtest::install();  // a failure prints, no box
    return bench::runOnStores("Inventario_bench_lista", {"PRAGMA journal_mode=WAL"},
                              [](const QString& engine, QSqlDatabase raw) { run(engine, raw); });
}
