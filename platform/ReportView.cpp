#include "ReportView.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kMargin = 8;
constexpr int kPad = 4;
constexpr int kTableWidth = 650;  // the width the pages ask of their listings

QFont makeFont(int size, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    // Pixel sizes, so the sheet is the screen scaled.
    f.setPixelSize(size == 2 ? 20 : size == 3 ? 16 : size < 0 ? 10 : 13);
    f.setBold(bold || size > 0);
    return f;
}

// The few fonts of a page and their metrics, made once.
struct Face {
    QFont font;
    QFontMetrics metrics;
    Face(int size, bool bold) : font(makeFont(size, bold)), metrics(font) {}
};
const Face& face(int size, bool bold)
{
    static const Face faces[4][2] = {{{-1, false}, {-1, true}}, {{0, false}, {0, true}}, {{2, true}, {2, true}}, {{3, true}, {3, true}}};
    const int row = size < 0 ? 0 : size == 0 ? 1 : size == 2 ? 2 : 3;
    return faces[row][bold ? 1 : 0];
}

// A piece of a packed text as a string, without a copy.
QString piece(QStringView s) { return QString::fromRawData(s.data(), s.size()); }

int lineHeight(int size)
{
    const int h = face(size, false).metrics.height();
    return size > 0 ? h + 10 : h + 2;
}

int runsWidth(const QVector<ReportPage::Run>& runs, int size)
{
    int w = 0;
    for (const ReportPage::Run& r : runs)
        w += face(size, r.bold).metrics.horizontalAdvance(r.text);
    return w;
}

int length(const ReportPage::Cell& c)
{
    int n = 0;
    for (const ReportPage::Run& r : c.runs)
        n += int(r.text.size());
    return n;
}

void drawRuns(QPainter& p, const QVector<ReportPage::Run>& runs, int size, int x, int y, int h)
{
    for (const ReportPage::Run& r : runs) {
        const Face& f = face(size, r.bold);
        p.setFont(f.font);
        const QFontMetrics& fm = f.metrics;
        p.drawText(x, y + (h + fm.ascent() - fm.descent()) / 2, r.text);
        x += fm.horizontalAdvance(r.text);
    }
}

// The width of a plain text as its characters' widths side by side,
// rounded up: never less than the text's measured width.
int guessWidth(QStringView t)
{
    static const QFontMetricsF metrics(face(0, false).font);
    static const auto advances = [] {
        std::array<qreal, 256> a;
        for (int c = 0; c < 256; ++c)
            a[c] = metrics.horizontalAdvance(QChar(char16_t(c)));
        return a;
    }();
    qreal w = 0;
    for (QChar c : t)
        w += c.unicode() < 256 ? advances[c.unicode()] : metrics.horizontalAdvance(c);
    return int(std::ceil(w));
}

bool blank(QChar c) { return c.isSpace() && c != QChar(0xA0); }

QString joined(const QVector<ReportPage::Run>& runs)
{
    QString s;
    for (const ReportPage::Run& r : runs)
        s += r.text;
    return s;
}

}  // namespace

// ---- the page ----

QString ReportPage::simplified(const QString& text)
{
    bool plain = text.isEmpty() || (!blank(text.front()) && !blank(text.back()));
    for (qsizetype i = 0; plain && i < text.size(); ++i)
        if (blank(text[i]) && (text[i] != QLatin1Char(' ') || blank(text[i + 1])))
            plain = false;
    if (plain)
        return text;
    QString out;
    out.reserve(text.size());
    bool owed = false;
    for (QChar c : text) {
        if (blank(c)) {
            owed = !out.isEmpty();
            continue;
        }
        if (owed)
            out += QLatin1Char(' ');
        owed = false;
        out += c;
    }
    return out;
}

quint8 ReportPage::colourIndex(const QColor& c)
{
    // Rows take turns between two colours.
    const qsizetype at = colours_.indexOf(c);
    if (at >= 0)
        return quint8(at);
    if (colours_.size() >= 255)
        return 0;
    colours_.append(c);
    return quint8(colours_.size() - 1);
}

void ReportPage::addLine(const QVector<Run>& runs, int size)
{
    QVector<Run> kept;
    for (const Run& r : runs)
        if (!r.text.isEmpty())
            kept.append(r);
    if (kept.isEmpty())
        return;
    entries_.append({qint32(lines_.size()), -1, Line, qint8(size), 0});
    lines_.append(std::move(kept));
}

void ReportPage::beginTable(const QVector<bool>& right) { right_.append(right); }

void ReportPage::addRow(const QVector<Cell>& cells, const QColor& background)
{
    if (right_.isEmpty())
        beginTable();
    entries_.append({qint32(rows_.size()), qint32(right_.size() - 1), Row, 0, colourIndex(background)});
    rows_.append(cells);
}

void ReportPage::addTexts(std::initializer_list<QStringView> cells, const QColor& background)
{
    if (right_.isEmpty())
        beginTable();
    entries_.append({qint32(starts_.size()), qint32(right_.size() - 1), Texts, 0, colourIndex(background)});
    starts_.append(texts_.size());
    for (QStringView c : cells) {
        const qsizetype at = texts_.size();
        texts_ += c;
        // The mark that ends a cell never comes in a text shown.
        for (qsizetype i = at; i < texts_.size(); ++i)
            if (texts_[i] == QChar(kEnd))
                texts_[i] = QLatin1Char(' ');
        texts_ += QChar(kEnd);
    }
}

template <class F>
void ReportPage::forCells(qint32 i, F&& f) const
{
    const qsizetype end = i + 1 < starts_.size() ? starts_[i + 1] : texts_.size();
    qsizetype from = starts_[i];
    for (int c = 0; from < end; ++c) {
        const qsizetype to = texts_.indexOf(QChar(kEnd), from);
        f(c, QStringView(texts_).mid(from, to - from));
        from = to + 1;
    }
}

QString ReportPage::plainText() const
{
    QStringList lines;
    for (const Entry& e : entries_) {
        QStringList cells;
        switch (e.kind) {
        case Line:
            lines << joined(lines_[e.index]);
            continue;
        case Row:
            for (const Cell& c : rows_[e.index])
                cells << joined(c.runs);
            break;
        case Texts:
            forCells(e.index, [&](int, QStringView t) { cells << t.toString(); });
            break;
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

// ---- the view ----

ReportView::ReportView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("ReportView"));
    viewport()->setAutoFillBackground(true);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);
}

void ReportView::setPage(ReportPage page)
{
    page_ = std::move(page);
    layoutItems();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void ReportView::layoutItems()
{
    // Column widths from the widest cells; a long listing is measured on
    // its longest texts only, which in these pages are the widest.
    const int tables = int(page_.right_.size());
    QVector<QVector<int>> longest(tables), widest(tables);
    auto atLeast = [](QVector<int>& v, int c, int x) {
        if (v.size() <= c)
            v.resize(c + 1);
        v[c] = std::max(v[c], x);
    };
    // Two passes over the rows: the longest text of each column, then the
    // width of the texts that long. A plain text is measured only when its
    // characters side by side could be wider than the widest so far.
    for (int pass = 0; pass < 2; ++pass)
        for (const ReportPage::Entry& e : page_.entries_) {
            if (e.kind == ReportPage::Line)
                continue;
            QVector<int>& lon = longest[e.table];
            QVector<int>& wid = widest[e.table];
            if (e.kind == ReportPage::Row) {
                const QVector<ReportPage::Cell>& cells = page_.rows_[e.index];
                for (int c = 0; c < cells.size(); ++c) {
                    const int n = length(cells[c]);
                    if (pass == 0)
                        atLeast(lon, c, n);
                    else if (n + 1 >= lon[c])
                        atLeast(wid, c, runsWidth(cells[c].runs, 0));
                }
                continue;
            }
            page_.forCells(e.index, [&](int c, QStringView t) {
                const int n = int(t.size());
                if (pass == 0)
                    atLeast(lon, c, n);
                else if (n + 1 >= lon[c] && guessWidth(t) > wid.value(c, -1))
                    atLeast(wid, c, face(0, false).metrics.horizontalAdvance(piece(t)));
            });
        }
    columns_ = QVector<QVector<int>>(tables);
    width_ = 0;
    for (int t = 0; t < tables; ++t) {
        QVector<int>& edges = columns_[t];
        const QVector<int>& w = widest[t];
        if (w.isEmpty())
            continue;
        int total = 0;
        for (int x : w)
            total += x + 2 * kPad;
        const int extra = w.size() >= 3 && total < kTableWidth ? (kTableWidth - total) / int(w.size()) : 0;
        int x = kMargin;
        for (int c : w) {
            edges << x;
            x += c + 2 * kPad + extra;
        }
        edges << x;
        width_ = std::max(width_, x + kMargin);
    }
    tops_.clear();
    tops_.reserve(page_.entries_.size() + 1);
    const int rowHeight = lineHeight(0) + 2;
    int y = kMargin;
    for (const ReportPage::Entry& e : page_.entries_) {
        tops_ << y;
        if (e.kind == ReportPage::Line) {
            y += lineHeight(e.size);
            width_ = std::max(width_, kMargin * 2 + runsWidth(page_.lines_[e.index], e.size));
        } else {
            y += rowHeight;
        }
    }
    tops_ << y + kMargin;
    adjustScrollBars();
}

void ReportView::adjustScrollBars()
{
    const int total = tops_.isEmpty() ? 0 : tops_.last();
    const QSize v = viewport()->size();
    verticalScrollBar()->setRange(0, std::max(0, total - v.height()));
    verticalScrollBar()->setPageStep(v.height());
    verticalScrollBar()->setSingleStep(lineHeight(0) + 2);
    horizontalScrollBar()->setRange(0, std::max(0, width_ - v.width()));
    horizontalScrollBar()->setPageStep(v.width());
    horizontalScrollBar()->setSingleStep(20);
}

int ReportView::itemAt(int y) const
{
    if (page_.entries_.isEmpty())
        return 0;
    auto it = std::upper_bound(tops_.begin(), tops_.end() - 1, y);
    return std::max(0, int(it - tops_.begin()) - 1);
}

void ReportView::paintItem(QPainter& p, int index, int y) const
{
    const ReportPage::Entry& e = page_.entries_[index];
    const int h = tops_[index + 1] - tops_[index];
    if (e.kind == ReportPage::Line) {
        drawRuns(p, page_.lines_[e.index], e.size, kMargin, y, h);
        return;
    }
    const QVector<int>& edges = columns_[e.table];
    const QColor& background = page_.colours_[e.colour];
    if (background.isValid())
        p.fillRect(QRect(edges.first(), y, edges.last() - edges.first(), h - 2), background);
    p.setPen(Qt::black);
    if (e.kind == ReportPage::Row) {
        const QVector<ReportPage::Cell>& cells = page_.rows_[e.index];
        for (int c = 0; c < cells.size() && c + 1 < edges.size(); ++c) {
            const ReportPage::Cell& cell = cells[c];
            const int x = cell.right ? edges[c + 1] - kPad - runsWidth(cell.runs, 0) : edges[c] + kPad;
            drawRuns(p, cell.runs, 0, x, y, h - 2);
        }
        return;
    }
    const Face& f = face(0, false);
    p.setFont(f.font);
    const QVector<bool>& right = page_.right_[e.table];
    const int base = y + (h - 2 + f.metrics.ascent() - f.metrics.descent()) / 2;
    page_.forCells(e.index, [&](int c, QStringView t) {
        if (c + 1 >= edges.size())
            return;
        const QString s = piece(t);
        const int x = c < right.size() && right[c] ? edges[c + 1] - kPad - f.metrics.horizontalAdvance(s) : edges[c] + kPad;
        p.drawText(x, base, s);
    });
}

void ReportView::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const int top = verticalScrollBar()->value();
    const int bottom = top + viewport()->height();
    p.setPen(Qt::black);
    for (int i = itemAt(top); i < page_.entries_.size() && tops_[i] < bottom; ++i)
        paintItem(p, i, tops_[i]);
}

void ReportView::keyPressEvent(QKeyEvent* e)
{
    // The page's start and end, as the rich-text view has them.
    if (e->key() == Qt::Key_Home || e->key() == Qt::Key_End) {
        QScrollBar* v = verticalScrollBar();
        v->setValue(e->key() == Qt::Key_Home ? v->minimum() : v->maximum());
        return;
    }
    QAbstractScrollArea::keyPressEvent(e);
}

void ReportView::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    adjustScrollBars();
}

void ReportView::scrollContentsBy(int, int) { viewport()->update(); }

void ReportView::print(QPrinter& printer) const
{
    QPainter p;
    if (!p.begin(&printer))
        return;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    // The page's width fits the sheet; never larger than on a screen.
    const double scale = std::min(double(page.width()) / std::max(width_, 1), printer.resolution() / 96.0);
    const int sheet = int(page.height() / scale);
    const int n = int(page_.entries_.size());
    int from = 0;
    while (from < n) {
        int to = from;
        while (to < n && (tops_[to + 1] - tops_[from] <= sheet || to == from))
            ++to;
        p.save();
        p.scale(scale, scale);
        p.translate(0, -tops_[from] + kMargin);
        p.setPen(Qt::black);
        for (int i = from; i < to; ++i)
            paintItem(p, i, tops_[i]);
        p.restore();
        from = to;
        if (from < n)
            printer.newPage();
    }
    p.end();
}
