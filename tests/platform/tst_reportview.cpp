// The view of long report pages: what it reads from a page, how rows show,
// and printing and saving through the report window's browser.
#include "ReportView.h"
#include "WebBrowser.h"

#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A page of the period report's form with n invoice rows.
QString pagina(int n)
{
    QString s = QStringLiteral("<HTML><HEAD><META NAME='GENERATOR' Content='x'></HEAD><BODY><FONT face='Arial'><h2>PEREZ &amp; HIJOS "
                               "&lt;SRL&gt;</h2><table><tr><td><h3> REPORTE DE VENTAS (01/09/2010 - 30/09/2010) </h3> <STRONG>Estado: "
                               "</STRONG>CANCELADA<br><br>    <TABLE align=left border=0 cellPadding=1 cellSpacing=1 style='WIDTH: 650px' "
                               "width='90%'> <tr><td><strong>No. Factura</strong></td><td><P align=right><FONT face='Arial'><strong>Total"
                               "</strong></FONT></P></td></tr>");
    for (int i = 0; i < n; ++i)
        s += QStringLiteral(" <tr bgcolor=%1><td>%2</td><td><P align=right><FONT face='Arial'>$%3.00</FONT></P></td></tr>")
                 .arg(i % 2 == 0 ? QStringLiteral("BBBBBB") : QStringLiteral("white"))
                 .arg(i + 1)
                 .arg(i * 10);
    s += QStringLiteral("</TABLE><br><Br></td></tr><tr><td><br><Br><h3>TOTALES</h3><table><tr><td><strong>Totales:</strong></td>"
                        "<td><P align=right><FONT face='Arial'>$1,392.58</FONT></P></td></tr></tr></table></td></tr></table></FONT><br>"
                        "<FONT face='Arial' size='1'>Tarvik 1.0 <br> www.ejemplo.com</FONT></BODY></HTML>");
    return s;
}

}  // namespace

class TstReportView : public QObject {
    Q_OBJECT
private slots:
    // Headings, the bold label, the rows with their colours and alignment,
    // the totals and the footer, in the page's order.
    void readsThePage()
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
                                                  "Tarvik 1.0\n"
                                                  "www.ejemplo.com"));
        const auto& it = v.items();
        QCOMPARE(it[0].size, 2);
        QCOMPARE(it[1].size, 3);
        QCOMPARE(it[2].runs.size(), 2);
        QVERIFY(it[2].runs[0].bold && !it[2].runs[1].bold);
        QVERIFY(it[3].cells[0].runs[0].bold && !it[3].cells[0].right && it[3].cells[1].right);
        QCOMPARE(it[4].background, QColor("#bbbbbb"));
        QCOMPARE(it[5].background, QColor(Qt::white));
        QVERIFY(!it[4].cells[0].runs[0].bold && it[4].cells[1].right);
        QCOMPARE(it[4].table, it[3].table);
        QVERIFY(it[8].table != it[4].table);
        QCOMPARE(it[9].size, -1);
        v.setPage(QString());
        QVERIFY(v.plainText().isEmpty());
    }

    // 50,000 rows show grey then white from the top, and the totals at
    // the end of the scroll.
    void longPageOnScreen()
    {
        ReportView v;
        v.resize(700, 400);
        v.setPage(pagina(50000));
        QCOMPARE(v.items().size(), 50000 + 8);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        const QImage top = v.viewport()->grab().toImage();
        const int x = 10;  // inside the row, left of its text
        QVector<QColor> seen;
        for (int y = 0; y < top.height(); ++y) {
            const QColor c = top.pixelColor(x, y);
            if (seen.isEmpty() || seen.last() != c)
                seen << c;
        }
        const int grey = int(seen.indexOf(QColor("#bbbbbb")));
        QVERIFY(grey >= 0);
        QCOMPARE(seen.value(grey + 1), QColor(Qt::white));
        QCOMPARE(seen.value(grey + 2), QColor("#bbbbbb"));
        QVERIFY(v.verticalScrollBar()->maximum() > 50000 * 10);
        v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum());
        QVERIFY(v.plainText().endsWith("TOTALES\nTotales:\t$1,392.58\nTarvik 1.0\nwww.ejemplo.com"));
    }

    // Through the report window's browser: the print covers every row over
    // several sheets; save-as writes the page's bytes.
    void printAndSave()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath("ReporteVentas.htm");
        {
            QFile f(page);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(pagina(400).toLatin1());
        }
        const QString pdf = dir.filePath("reporte.pdf");
        const QString copia = dir.filePath("copia.htm");
        webtest::install([&](const webtest::Call&) { return copia; }, pdf);
        WebBrowser w;
        w.ShowRowsFast();
        w.resize(600, 400);
        w.Navigate(page);
        QVERIFY(w.PageText().contains("400\t$3,990.00") || w.PageText().contains("400\t$3990.00"));
        w.Print(true);
        w.SaveAs();
        webtest::uninstall();
        QFile out(pdf);
        QVERIFY(out.open(QIODevice::ReadOnly));
        const QByteArray bytes = out.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY2(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page ") + bytes.count("/Type /Page>")
                     > 3,
                 "too few sheets");
        QFile a(page), b(copia);
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(b.readAll(), a.readAll());
    }
};

QTEST_MAIN(TstReportView)
#include "tst_reportview.moc"
