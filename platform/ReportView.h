// A view for report pages with long tables: the page's text lines and table
// rows, each laid out once in a line of its own and painted only while on
// screen, so hundreds of thousands of rows show at once. Rows keep their
// background colour; headings, bold text and the cells' alignment show as
// the page sets them.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QString>
#include <QVector>

#include <initializer_list>

class QPainter;
class QPrinter;

// What a report shows, in page order: text lines, and tables whose rows
// share their columns. The long listings keep their cells packed in one
// text, so a row costs little more than its characters.
class ReportPage {
public:
    struct Run {
        QString text;
        bool bold = false;
    };
    struct Cell {
        QVector<Run> runs;
        bool right = false;
    };
    // Line sizes: the two headings, plain and small text.
    enum Size { Small = -1, Plain = 0, Title = 2, Heading = 3 };

    // A text line; blanks run together as on a page, a line without text
    // is left out.
    void addLine(const QVector<Run>& runs, int size = Plain);
    // A table: the rows added after it are its own. right says which
    // columns of its plain rows are aligned right.
    void beginTable(const QVector<bool>& right = {});
    // A row of cells with their own bold text and alignment (column heads,
    // totals).
    void addRow(const QVector<Cell>& cells, const QColor& background = QColor());
    // A row of plain texts, aligned as the table says.
    void addTexts(std::initializer_list<QStringView> cells, const QColor& background = QColor());

    bool isEmpty() const { return entries_.isEmpty(); }
    // One line per text line or row, cells apart by tabs.
    QString plainText() const;

    // Text as a page shows it: blanks (not the no-break space) run together
    // into one, none at either end.
    static QString simplified(const QString& text);

private:
    friend class ReportView;
    enum Kind : quint8 { Line, Row, Texts };
    struct Entry {
        qint32 index;  // into lines_, rows_ or starts_
        qint32 table;  // -1 for a text line
        Kind kind;
        qint8 size;
        quint8 colour;  // into colours_
    };
    quint8 colourIndex(const QColor& c);
    // The cells of plain row i, in order.
    template <class F>
    void forCells(qint32 i, F&& f) const;

    QVector<Entry> entries_;
    QVector<QVector<Run>> lines_;
    QVector<QVector<Cell>> rows_;
    QString texts_;              // the plain rows' cells, each ended by kEnd
    QVector<qsizetype> starts_;  // where each plain row begins in texts_
    QVector<QColor> colours_{QColor()};
    QVector<QVector<bool>> right_;  // per table
    static constexpr char16_t kEnd = 0x1F;
};

class ReportView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReportView(QWidget* parent = nullptr);

    // Shows page; an empty one empties the view.
    void setPage(ReportPage page);
    const ReportPage& page() const { return page_; }
    // The page's text: one line per text line or row, cells apart by tabs.
    QString plainText() const { return page_.plainText(); }
    // The page over as many sheets as it takes, rows never cut in two.
    void print(QPrinter& printer) const;

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent*) override;
    void scrollContentsBy(int, int) override;

private:
    void layoutItems();
    void paintItem(QPainter& p, int index, int y) const;
    void adjustScrollBars();
    int itemAt(int y) const;

    ReportPage page_;
    QVector<int> tops_;               // y of each entry, then the total height
    QVector<QVector<int>> columns_;   // per table: the left edge of each column, then its right end
    int width_ = 0;
};
