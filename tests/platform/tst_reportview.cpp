// The view of long report pages: what it shows of a page, how rows show,
// and printing and saving through the report window's browser.
#include "ReportView.h"
#include "WebBrowser.h"

#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

namespace {

// A page of the period report's form with n invoice rows.
ReportPage pagina(int n)
{
    ReportPage p;
    p.addLine({{ReportPage::simplified(QStringLiteral("  PEREZ  & HIJOS\t<SRL> "))}}, ReportPage::Title);
    p.addLine({{QStringLiteral("REPORTE DE VENTAS (01/09/2010 - 30/09/2010)")}}, ReportPage::Heading);
    p.addLine({{QStringLiteral("Estado:"), true}, {QStringLiteral(" CANCELADA")}});
    p.beginTable({false, true});
    p.addRow({{{{QStringLiteral("No. Factura"), true}}}, {{{QStringLiteral("Total"), true}}, true}});
    for (int i = 0; i < n; ++i)
        p.addTexts({QString::number(i + 1), QStringLiteral("$%1.00").arg(i * 10)}, i % 2 == 0 ? QColor("#bbbbbb") : QColor(Qt::white));
    p.addLine({{QStringLiteral("TOTALES")}}, ReportPage::Heading);
    p.beginTable();
    p.addRow({{{{QStringLiteral("Totales:"), true}}}, {{{QStringLiteral("$1,392.58")}}, true}});
    p.addLine({{QStringLiteral("Tarvik 1.0")}}, ReportPage::Small);
    p.addLine({{QString()}}, ReportPage::Small);  // no address: no line
    return p;
}

// The colours down the first rows, at x.
QVector<QColor> colores(const QImage& img, int x)
{
    QVector<QColor> seen;
    for (int y = 0; y < img.height(); ++y) {
        const QColor c = img.pixelColor(x, y);
        if (seen.isEmpty() || seen.last() != c)
            seen << c;
    }
    return seen;
}

}  // namespace

class TstReportView : public QObject {
    Q_OBJECT
private slots:
    // Headings, the bold label, the rows and the totals in the page's
    // order; a text's blanks run together as on a page.
    void showsThePage()
    {
        ReportView v;
        v.setPage(pagina(3));
        QCOMPARE(v.plainText(), QString::fromUtf8("PEREZ & HIJOS <SRL>\n"
                                                  "REPORTE DE VENTAS (01/09/2010 - 30/09/2010)\n"
                                                  "Estado: CANCELADA\n"
                                                  "No. Factura\tTotal\n"
                                                  "1\t$0.00\n"
                                                  "2\t$10.00\n"
                                                  "3\t$20.00\n"
                                                  "TOTALES\n"
                                                  "Totales:\t$1,392.58\n"
                                                  "Tarvik 1.0"));
        QCOMPARE(ReportPage::simplified(QString::fromUtf8("a\xc2\xa0\xc2\xa0"
                                                          "b")),
                 QString::fromUtf8("a\xc2\xa0\xc2\xa0"
                                   "b"));
        ReportPage marca;
        marca.addTexts({QString(QChar(0x1F)) + "x"});
        QCOMPARE(marca.plainText(), QString(" x"));
        v.setPage(ReportPage());
        QVERIFY(v.plainText().isEmpty());
    }

    // 500,000 rows show grey then white from the top, the right column's
    // amounts end at one edge, and the totals come at the end of the scroll.
    void longPageOnScreen()
    {
        ReportView v;
        v.resize(700, 400);
        v.setPage(pagina(500000));
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        const QImage top = v.viewport()->grab().toImage();
        const QVector<QColor> seen = colores(top, 10);  // inside the row, left of its text
        const int grey = int(seen.indexOf(QColor("#bbbbbb")));
        QVERIFY(grey >= 0);
        QCOMPARE(seen.value(grey + 1), QColor(Qt::white));
        QCOMPARE(seen.value(grey + 2), QColor("#bbbbbb"));
        // The amounts' right ends line up: the rightmost dark pixel of each
        // grey row lies within a glyph's edge of the others' (left-aligned
        // amounts would differ by a digit).
        QVector<int> ends;
        int last = -1;
        for (int y = 0; y <= top.height(); ++y) {
            if (y == top.height() || top.pixelColor(10, y) != QColor("#bbbbbb")) {
                if (last > 0)
                    ends << last;  // a grey row ended
                last = -1;
                continue;
            }
            for (int x = 0; x < top.width(); ++x)
                if (qGray(top.pixel(x, y)) < 100)
                    last = std::max(last, x);
        }
        QVERIFY(ends.size() > 3);
        QVERIFY2(*std::max_element(ends.begin(), ends.end()) - *std::min_element(ends.begin(), ends.end()) <= 3,
                 qPrintable(QString::number(ends.size())));
        QVERIFY(v.verticalScrollBar()->maximum() > 500000 * 10);
        v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum());
        QVERIFY(v.plainText().endsWith("500000\t$4999990.00\nTOTALES\nTotales:\t$1,392.58\nTarvik 1.0"));
    }

    // Through the report window's browser: the print covers every row over
    // several sheets; save-as copies the file shown, even once a later run
    // has put another in its place.
    void printAndSave()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath("ReporteVentas.htm");
        auto escribir = [&](const QByteArray& bytes) {
            QSaveFile f(page);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
            QVERIFY(f.commit());
        };
        const QByteArray mostrada("<HTML><BODY>el reporte mostrado</BODY></HTML>");
        escribir(mostrada);
        const QString pdf = dir.filePath("reporte.pdf");
        const QString copia = dir.filePath("copia.htm");
        webtest::install([&](const webtest::Call&) { return copia; }, pdf);
        WebBrowser w;
        w.ShowRowsFast();
        w.resize(600, 400);
        w.Navigate(page, pagina(400));
        QCOMPARE(w.LocationURL(), page);
        QVERIFY(w.PageText().contains("400\t$3990.00"));
        escribir("<HTML><BODY>otro</BODY></HTML>");
        w.Print(true);
        w.SaveAs();
        // A page whose file is gone shows nothing.
        w.Navigate(dir.filePath("no-existe.htm"), pagina(1));
        QCOMPARE(w.LocationURL(), QString());
        QVERIFY(w.PageText().isEmpty());
        webtest::uninstall();
        QFile out(pdf);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY2(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page ") + bytes.count("/Type /Page>")
                     > 3,
                 "too few sheets");
        QFile b(copia);
        QVERIFY(b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), mostrada);
    }
};

QTEST_MAIN(TstReportView)
#include "tst_reportview.moc"
