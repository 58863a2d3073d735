// A view for report pages with long tables: the page's text lines and table
// rows, each laid out once in a line of its own and painted only while on
// screen, so tens of thousands of rows show at once. Rows keep their
// background colour; headings, bold cells and the cells' alignment show as
// the page sets them.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <QVector>

class QPainter;
class QPrinter;

class ReportView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReportView(QWidget* parent = nullptr);

    // Shows the page (its markup); "" empties the view.
    void setPage(const QString& html);
    // The page's text: one line per text line or row, cells apart by tabs.
    QString plainText() const;
    // The page over as many sheets as it takes, rows never cut in two.
    void print(QPrinter& printer) const;

    struct Run {
        QString text;
        bool bold = false;
    };
    struct Cell {
        QVector<Run> runs;
        bool right = false;
    };
    struct Item {
        int size = 0;       // text lines: 2 and 3 headings, -1 small, 0 plain
        QVector<Run> runs;  // a text line
        QVector<Cell> cells;  // a row, when not empty
        QColor background;
        int table = -1;     // rows of one table share their columns
    };
    const QVector<Item>& items() const { return items_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent*) override;
    void scrollContentsBy(int, int) override;

private:
    void layoutItems();
    void paintItem(QPainter& p, const Item& it, int y) const;
    void adjustScrollBars();
    int itemAt(int y) const;

    QVector<Item> items_;
    QVector<int> tops_;               // y of each item, then the total height
    QVector<QVector<int>> columns_;   // per table: the left edge of each column, then its right end
    int width_ = 0;
};
