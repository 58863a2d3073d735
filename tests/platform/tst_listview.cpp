#include "ListView.h"
#include "Twips.h"
#include "adorows.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

namespace {
QStringList texts(const ListView& l)
{
    QStringList t;
    for (int i = 1; i <= l.count(); ++i)
        t << l.text(i);
    return t;
}
void fill(ListView& l, const QStringList& items)
{
    l.clear();
    for (const QString& s : items)
        l.add(0, s);
}
QStringList row(const ListView& l, int position)
{
    QStringList r{l.text(position)};
    for (int j = 1; j <= l.subItemCount(position); ++j)
        r << l.subItem(position, j);
    return r;
}
QPoint centre(ListView& l, int position)
{
    return l.visualRect(l.model()->index(position - 1, 0)).center();
}
}  // namespace

class TstListView : public QObject {
    Q_OBJECT
private slots:
    void positionsStayNumberedWithoutGaps()
    {
        ListView l;
        fill(l, {"a", "b", "c"});
        QCOMPARE(l.add(1, "z"), 1);
        QCOMPARE(l.add(3, "m"), 3);
        QCOMPARE(l.add(0, "end"), 6);
        QCOMPARE(l.add(99, "past"), 7);
        QCOMPARE(texts(l), QStringList({"z", "a", "m", "b", "c", "end", "past"}));

        fill(l, {"1", "2", "3", "4", "5"});
        l.remove(3);
        QCOMPARE(texts(l), QStringList({"1", "2", "4", "5"}));
        QCOMPARE(l.count(), 4);
        l.remove(0);
        l.remove(5);
        QCOMPARE(l.count(), 4);
        l.clear();
        QCOMPARE(l.count(), 0);
        QCOMPARE(l.text(1), QString());
    }

    void subItemsFollowTheItemText()
    {
        ListView l;
        l.add(0, "A1");
        l.addSubItem(1, "uno");
        l.addSubItem(1, "dos");
        l.add(1, "B2");  // the first row moves down with its sub-items
        QCOMPARE(l.subItemCount(1), 0);
        QCOMPARE(l.subItemCount(2), 2);
        QCOMPARE(l.subItem(2, 1), QString("uno"));
        QCOMPARE(l.subItem(2, 2), QString("dos"));
        QCOMPARE(l.subItem(2, 3), QString());
        l.setSubItem(2, 1, "UNO");
        l.setText(2, "A9");
        // What the view shows: item text in column 1, sub-item j in column j+1.
        QCOMPARE(l.model()->data(l.model()->index(1, 0)).toString(), QString("A9"));
        QCOMPARE(l.model()->data(l.model()->index(1, 1)).toString(), QString("UNO"));
        QCOMPARE(l.model()->columnCount(), 3);
    }

    void columnsAndWidthsInTwips()
    {
        ListView l;
        l.setColumns({"Código", "Descripción"}, {1500, 3000});
        QCOMPARE(l.columnTitles(), QStringList({"Código", "Descripción"}));
        QCOMPARE(l.model()->columnCount(), 2);
        QCOMPARE(l.model()->headerData(1, Qt::Horizontal).toString(), QString("Descripción"));
        QCOMPARE(l.header()->sectionSize(0), TwipsToPixelsX(1500));
        QCOMPARE(l.header()->sectionSize(1), TwipsToPixelsX(3000));
        // Sub-items beyond the titled columns are kept, not shown.
        l.add(0, "X");
        for (int j = 0; j < 4; ++j)
            l.addSubItem(1, QString::number(j));
        QCOMPARE(l.model()->columnCount(), 2);
        QCOMPARE(l.subItem(1, 4), QString("3"));
    }

    // A list shown from a result's rows: texts as a field gives them, the
    // columns after the shown ones left out. A row changed by hand keeps
    // what it showed, and the result itself stays as it was.
    void rowsOfAResult()
    {
        auto rows = std::make_shared<ado::RowStore>(4);
        rows->appendRow({QString("A1"), 12.5, QDate(2024, 1, 5), QString("oculto")});
        rows->appendRow({QString("B2"), QVariant(), qint64(7), QString("oculto")});
        rows->appendRow({QString("B20"), 100.0, QString(""), QVariant()});
        ListView l;
        l.setRows(rows, 3);
        QCOMPARE(l.count(), 3);
        QCOMPARE(l.selectedIndex(), 1);
        QCOMPARE(row(l, 1), QStringList({"A1", "12.5", "05/01/2024"}));
        QCOMPARE(row(l, 2), QStringList({"B2", "", "7"}));
        QCOMPARE(row(l, 3), QStringList({"B20", "100", ""}));
        QCOMPARE(l.subItem(1, 3), QString());
        QCOMPARE(l.model()->data(l.model()->index(0, 2)).toString(), QString("05/01/2024"));
        QCOMPARE(l.model()->columnCount(), 3);
        QCOMPARE(l.find("B"), 2);
        QCOMPARE(l.find("B20"), 3);
        QCOMPARE(l.find("C"), 0);

        l.setSubItem(2, 1, "X");
        l.addSubItem(1, "extra");
        QCOMPARE(row(l, 2), QStringList({"B2", "X", "7"}));
        QCOMPARE(row(l, 1), QStringList({"A1", "12.5", "05/01/2024", "extra"}));
        l.remove(1);
        l.add(1, "NUEVO");
        l.setText(3, "C3");
        QCOMPARE(texts(l), QStringList({"NUEVO", "B2", "C3"}));
        QCOMPARE(row(l, 2), QStringList({"B2", "X", "7"}));
        QCOMPARE(row(l, 3), QStringList({"C3", "100", ""}));
        QCOMPARE(l.find("B2"), 2);
        QCOMPARE(rows->text(1, 1), QString());
        QCOMPARE(rows->text(2, 0), QString("B20"));
        l.clear();
        QCOMPARE(l.count(), 0);
    }

    // Rows over many chunks and texts over many blocks; removing a row moves
    // the later ones up, and a copy changes apart from the original.
    void rowStoreOverManyChunks()
    {
        ado::RowStore empty(1);  // an empty text first of all
        empty.add(QString(""));
        QCOMPARE(empty.value(0, 0), QVariant(QString("")));
        QVERIFY(!empty.text(0, 0).isNull());
        ado::RowStore s(2);
        for (int i = 0; i < 10000; ++i) {
            s.add(i % 250 == 0 ? QString(60000, QChar(u'a' + i % 26)) : QString("T%1").arg(i));
            s.add(qint64(i));
        }
        QCOMPARE(s.size(), 10000);
        s.removeRow(4095);
        QCOMPARE(s.size(), 9999);
        QCOMPARE(s.text(4095, 0), QString("T4096"));
        QCOMPARE(s.value(9998, 1), QVariant(qint64(9999)));
        QCOMPARE(s.text(9749, 0), QString(60000, QChar(u'a' + 9750 % 26)));
        ado::RowStore c(s);
        c.set(0, 0, QString(70000, QChar(u'x')));
        c.removeRow(1);
        QCOMPARE(c.text(0, 0).size(), 70000);
        QCOMPARE(c.text(1, 0), QString("T2"));
        QCOMPARE(s.text(0, 0), QString(60000, QChar(u'a')));
        QCOMPARE(s.text(1, 0), QString("T1"));
        QVERIFY(s.textStartsWith(1, 0, u"T1"));
        QVERIFY(s.textStartsWith(1, 1, u"1"));
    }

    void find_data()
    {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("found");
        QTest::newRow("longer first") << QStringList{"120", "12"} << "12" << 1;
        QTest::newRow("exact first") << QStringList{"12", "120"} << "12" << 1;
        QTest::newRow("later row") << QStringList{"A1", "B7", "B70"} << "B7" << 2;
        QTest::newRow("none begins") << QStringList{"A12", "B12"} << "12" << 0;
        QTest::newRow("longer than item") << QStringList{"12"} << "123" << 0;
        QTest::newRow("empty list") << QStringList{} << "1" << 0;
    }
    void find()
    {
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QFETCH(int, found);
        ListView l;
        fill(l, items);
        QCOMPARE(l.find(text), found);
    }
    void findLooksAtItemTextOnly()
    {
        ListView l;
        l.add(0, "A");
        l.addSubItem(1, "12");
        QCOMPARE(l.find("12"), 0);
    }

    void firstRowSelectedAfterEveryFill()
    {
        ListView l;
        QSignalSpy clicks(&l, &ListView::itemClick);
        QCOMPARE(l.selectedIndex(), 0);
        fill(l, {"a", "b", "c"});
        QCOMPARE(l.selectedIndex(), 1);
        l.select(3);
        QCOMPARE(l.selectedIndex(), 3);
        l.setRows({{"x"}, {"y"}});
        QCOMPARE(l.selectedIndex(), 1);
        l.clear();
        QCOMPARE(l.selectedIndex(), 0);
        l.setRows({});
        QCOMPARE(l.selectedIndex(), 0);
        fill(l, {"p", "q"});
        QCOMPARE(l.selectedIndex(), 1);
        // Rows added in front keep the selected item selected.
        l.add(1, "new");
        QCOMPARE(l.selectedIndex(), 2);
        // None of this was the user's doing.
        QCOMPARE(clicks.count(), 0);
    }

    void userSelectionRaisesItemClick()
    {
        ListView l;
        l.resize(300, 200);
        l.show();
        QVERIFY(QTest::qWaitForWindowExposed(&l));
        l.setRows({{"a"}, {"b"}, {"c"}});
        QSignalSpy clicks(&l, &ListView::itemClick);
        QSignalSpy dbl(&l, &ListView::itemDblClick);

        l.setFocus();
        QTest::keyClick(&l, Qt::Key_Down);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.takeFirst().at(0).toInt(), 2);
        QCOMPARE(l.selectedIndex(), 2);

        QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, centre(l, 3));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.takeFirst().at(0).toInt(), 3);
        // Clicking the selected row again is still a click, reported once.
        QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, centre(l, 3));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.takeFirst().at(0).toInt(), 3);

        QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, centre(l, 1));
        QTest::mouseDClick(l.viewport(), Qt::LeftButton, {}, centre(l, 1));
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(dbl.takeFirst().at(0).toInt(), 1);
        QCOMPARE(l.selectedIndex(), 1);

        // Refilling after the user's choice selects the first row again.
        clicks.clear();
        l.setRows({{"d"}, {"e"}});
        QCOMPARE(l.selectedIndex(), 1);
        QCOMPARE(clicks.count(), 0);
    }
};

QTEST_MAIN(TstListView)
#include "tst_listview.moc"
