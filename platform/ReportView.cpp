#include "ReportView.h"

#include <QFontMetrics>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

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

QString decode(QStringView s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] != QLatin1Char('&')) {
            out += s[i];
            continue;
        }
        const qsizetype semi = s.indexOf(QLatin1Char(';'), i);
        if (semi < 0 || semi - i > 10) {
            out += s[i];
            continue;
        }
        const QStringView name = s.mid(i + 1, semi - i - 1);
        if (name == QLatin1String("amp"))
            out += QLatin1Char('&');
        else if (name == QLatin1String("lt"))
            out += QLatin1Char('<');
        else if (name == QLatin1String("gt"))
            out += QLatin1Char('>');
        else if (name == QLatin1String("quot"))
            out += QLatin1Char('"');
        else if (name == QLatin1String("nbsp"))
            out += QChar(0xA0);
        else if (name.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            const uint c = name.mid(1).toUInt(&ok);
            if (!ok) {
                out += s[i];
                continue;
            }
            out += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
        } else {
            out += s[i];
            continue;
        }
        i = semi;
    }
    return out;
}

// The value of attribute name in a tag's text, "" when absent.
QString attribute(QStringView tag, QLatin1String name)
{
    qsizetype at = 0;
    while ((at = tag.indexOf(name, at, Qt::CaseInsensitive)) >= 0) {
        qsizetype i = at + name.size();
        const bool starts = at > 0 && tag[at - 1].isSpace();
        while (i < tag.size() && tag[i].isSpace())
            ++i;
        if (!starts || i >= tag.size() || tag[i] != QLatin1Char('=')) {
            at = i;
            continue;
        }
        ++i;
        while (i < tag.size() && tag[i].isSpace())
            ++i;
        QChar quote;
        if (i < tag.size() && (tag[i] == QLatin1Char('\'') || tag[i] == QLatin1Char('"')))
            quote = tag[i++];
        qsizetype j = i;
        while (j < tag.size() && (quote.isNull() ? !tag[j].isSpace() && tag[j] != QLatin1Char('>') : tag[j] != quote))
            ++j;
        return tag.mid(i, j - i).toString();
    }
    return QString();
}

QColor parseColour(const QString& v);

QColor colour(const QString& v)
{
    if (v.isEmpty())
        return QColor();
    // Rows take turns between two colours: parse each once.
    static QHash<QString, QColor> seen;
    if (auto it = seen.constFind(v); it != seen.constEnd())
        return it.value();
    if (seen.size() > 64)
        seen.clear();
    return seen[v] = parseColour(v);
}

QColor parseColour(const QString& v)
{
    // Pages write bare hex (BBBBBB) as well as names.
    if (v.size() == 6 && !v.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        v.toUInt(&ok, 16);
        if (ok)
            return QColor(QLatin1Char('#') + v);
    }
    return QColor(v);
}

// Turns the page into text lines and rows; a cell that holds a table is not
// a row: its text becomes lines and the inner table's rows follow.
class Parser {
public:
    QVector<ReportView::Item> items;

    void run(const QString& html)
    {
        const QStringView s(html);
        qsizetype i = 0;
        while (i < s.size()) {
            if (s[i] == QLatin1Char('<')) {
                const qsizetype end = s.indexOf(QLatin1Char('>'), i);
                if (end < 0)
                    break;
                tag(s.mid(i + 1, end - i - 1));
                i = end + 1;
            } else {
                qsizetype end = s.indexOf(QLatin1Char('<'), i);
                if (end < 0)
                    end = s.size();
                if (!inHead_)
                    text(s.mid(i, end - i));
                i = end;
            }
        }
        flush();
    }

private:
    struct Frame {
        int table = 0;
        bool inRow = false, inCell = false, container = false;
        QColor background;
        QVector<ReportView::Cell> cells;
        QVector<ReportView::Item> cellLines;
    };
    QVector<Frame> frames_;
    ReportView::Item line_;
    bool space_ = false;  // a blank is owed before the next word
    int bold_ = 0, heading_ = 0, tables_ = 0;
    QVector<bool> fonts_;  // per open font tag: whether it made the text small
    bool inHead_ = false;

    Frame* top() { return frames_.isEmpty() ? nullptr : &frames_.last(); }
    bool inCell()
    {
        const Frame* f = top();
        return f && f->inCell && !f->container;
    }
    QVector<ReportView::Item>& sink() { return inCell() ? top()->cellLines : items; }
    int size() const
    {
        if (heading_)
            return heading_;
        return std::count(fonts_.begin(), fonts_.end(), true) ? -1 : 0;
    }

    void flush()
    {
        if (!line_.runs.isEmpty())
            sink().append(line_);
        line_ = ReportView::Item();
        space_ = false;
    }

    void text(QStringView raw)
    {
        QString decoded;
        const QStringView t = raw.contains(QLatin1Char('&')) ? QStringView(decoded = decode(raw)) : raw;
        QStringView word;
        auto put = [&] {
            if (word.isEmpty())
                return;
            const bool bold = bold_ > 0;
            if (line_.runs.isEmpty())
                line_.size = size();
            const bool blank = space_ && !line_.runs.isEmpty();
            if (line_.runs.isEmpty() || line_.runs.last().bold != bold)
                line_.runs.append({QString(), bold});
            QString& text = line_.runs.last().text;
            if (blank)
                text += QLatin1Char(' ');
            text += word;
            space_ = false;
            word = QStringView();
        };
        qsizetype start = -1;
        for (qsizetype i = 0; i <= t.size(); ++i) {
            const bool blank = i == t.size() || (t[i].isSpace() && t[i] != QChar(0xA0));
            if (!blank) {
                if (start < 0)
                    start = i;
                continue;
            }
            if (start >= 0) {
                word = t.mid(start, i - start);
                put();
                start = -1;
            }
            if (i < t.size())
                space_ = true;
        }
    }

    void tag(QStringView t)
    {
        const bool closing = t.startsWith(QLatin1Char('/'));
        QStringView body = closing ? t.mid(1) : t;
        qsizetype n = 0;
        while (n < body.size() && body[n].isLetterOrNumber())
            ++n;
        const QStringView tagName = body.left(n);
        auto is = [&](const char* w) { return tagName.compare(QLatin1String(w), Qt::CaseInsensitive) == 0; };
        if (is("head")) {
            inHead_ = !closing;
        } else if (is("br")) {
            flush();
        } else if (is("h1") || is("h2") || is("h3")) {
            flush();
            heading_ = closing ? 0 : (is("h3") ? 3 : 2);
        } else if (is("strong") || is("b")) {
            bold_ = std::max(0, bold_ + (closing ? -1 : 1));
        } else if (is("font")) {
            if (closing) {
                if (!fonts_.isEmpty())
                    fonts_.removeLast();
            } else {
                fonts_.append(attribute(body, QLatin1String("size")) == QLatin1String("1"));
            }
        } else if (is("p")) {
            if (!closing && inCell() && attribute(body, QLatin1String("align")).compare(QLatin1String("right"), Qt::CaseInsensitive) == 0)
                top()->cells.last().right = true;
        } else if (is("table")) {
            flush();
            if (closing) {
                if (!frames_.isEmpty())
                    frames_.removeLast();
                return;
            }
            if (inCell()) {
                // The cell is a container: what it said so far is text.
                Frame* f = top();
                items += f->cellLines;
                f->cellLines.clear();
                f->container = true;
            }
            Frame f;
            f.table = tables_++;
            frames_.append(f);
        } else if (is("tr")) {
            Frame* f = top();
            if (!f)
                return;
            flush();
            if (!closing) {
                f->inRow = true;
                f->container = false;
                f->cells.clear();
                f->background = colour(attribute(body, QLatin1String("bgcolor")));
                return;
            }
            if (f->inRow && !f->container && !f->cells.isEmpty()) {
                ReportView::Item row;
                row.cells = f->cells;
                row.background = f->background;
                row.table = f->table;
                items.append(row);
            }
            f->inRow = f->container = false;
            f->cells.clear();
        } else if (is("td") || is("th")) {
            Frame* f = top();
            if (!f || !f->inRow)
                return;
            if (closing && inCell() && f->cellLines.isEmpty() && !f->cells.isEmpty()) {
                // A one-line cell, the common case: its runs as they are.
                f->cells.last().runs = std::move(line_.runs);
                line_ = ReportView::Item();
                space_ = false;
                f->inCell = false;
                return;
            }
            flush();
            if (!closing) {
                f->inCell = true;
                if (!f->container) {
                    f->cells.append(ReportView::Cell());
                    f->cellLines.clear();
                }
                return;
            }
            if (!f->container && !f->cells.isEmpty()) {
                ReportView::Cell& c = f->cells.last();
                for (const ReportView::Item& l : f->cellLines)
                    for (const ReportView::Run& r : l.runs) {
                        if (!c.runs.isEmpty() && !r.text.startsWith(QLatin1Char(' ')))
                            c.runs.append({QStringLiteral(" "), false});
                        c.runs.append(r);
                    }
                f->cellLines.clear();
            }
            f->inCell = false;
        }
    }
};

int lineHeight(int size)
{
    const int h = face(size, false).metrics.height();
    return size > 0 ? h + 10 : h + 2;
}

int runsWidth(const QVector<ReportView::Run>& runs, int size)
{
    int w = 0;
    for (const ReportView::Run& r : runs)
        w += face(size, r.bold).metrics.horizontalAdvance(r.text);
    return w;
}

int length(const ReportView::Cell& c)
{
    int n = 0;
    for (const ReportView::Run& r : c.runs)
        n += int(r.text.size());
    return n;
}

void drawRuns(QPainter& p, const QVector<ReportView::Run>& runs, int size, int x, int y, int h)
{
    for (const ReportView::Run& r : runs) {
        const Face& f = face(size, r.bold);
        p.setFont(f.font);
        const QFontMetrics& fm = f.metrics;
        p.drawText(x, y + (h + fm.ascent() - fm.descent()) / 2, r.text);
        x += fm.horizontalAdvance(r.text);
    }
}

}  // namespace

ReportView::ReportView(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("ReportView"));
    viewport()->setAutoFillBackground(true);
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);
}

void ReportView::setPage(const QString& html)
{
    Parser p;
    p.run(html);
    items_ = std::move(p.items);
    layoutItems();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void ReportView::layoutItems()
{
    // Column widths from the widest cells; a long listing is measured on
    // its longest texts only, which in these pages are the widest.
    int tables = 0;
    for (const Item& it : items_)
        tables = std::max(tables, it.table + 1);
    QVector<QVector<int>> longest(tables), widest(tables);
    // Two passes over the rows: the longest text of each column, then the
    // width of the texts that long.
    for (int pass = 0; pass < 2; ++pass)
        for (const Item& it : items_) {
            if (it.cells.isEmpty())
                continue;
            QVector<int>& v = (pass == 0 ? longest : widest)[it.table];
            if (v.size() < it.cells.size())
                v.resize(it.cells.size());
            for (int c = 0; c < it.cells.size(); ++c) {
                const int n = length(it.cells[c]);
                if (pass == 0)
                    v[c] = std::max(v[c], n);
                else if (n + 1 >= longest[it.table][c])
                    v[c] = std::max(v[c], runsWidth(it.cells[c].runs, 0));
            }
        }
    columns_ = QVector<QVector<int>>(tables);
    width_ = 0;
    for (int t = 0; t < tables; ++t) {
        QVector<int>& edges = columns_[t];
        const QVector<int>& w = widest[t];
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
    tops_.reserve(items_.size() + 1);
    const int rowHeight = lineHeight(0) + 2;
    int y = kMargin;
    for (const Item& it : items_) {
        tops_ << y;
        if (it.cells.isEmpty()) {
            y += lineHeight(it.size);
            width_ = std::max(width_, kMargin * 2 + runsWidth(it.runs, it.size));
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
    if (items_.isEmpty())
        return 0;
    auto it = std::upper_bound(tops_.begin(), tops_.end() - 1, y);
    return std::max(0, int(it - tops_.begin()) - 1);
}

void ReportView::paintItem(QPainter& p, const Item& it, int y) const
{
    const int index = int(&it - items_.data());
    const int h = tops_[index + 1] - tops_[index];
    if (it.cells.isEmpty()) {
        drawRuns(p, it.runs, it.size, kMargin, y, h);
        return;
    }
    const QVector<int>& edges = columns_[it.table];
    if (it.background.isValid())
        p.fillRect(QRect(edges.first(), y, edges.last() - edges.first(), h - 2), it.background);
    p.setPen(Qt::black);
    for (int c = 0; c < it.cells.size() && c + 1 < edges.size(); ++c) {
        const Cell& cell = it.cells[c];
        const int x = cell.right ? edges[c + 1] - kPad - runsWidth(cell.runs, 0) : edges[c] + kPad;
        drawRuns(p, cell.runs, 0, x, y, h - 2);
    }
}

void ReportView::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    const int top = verticalScrollBar()->value();
    const int bottom = top + viewport()->height();
    p.setPen(Qt::black);
    for (int i = itemAt(top); i < items_.size() && tops_[i] < bottom; ++i)
        paintItem(p, items_[i], tops_[i]);
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

QString ReportView::plainText() const
{
    QStringList lines;
    for (const Item& it : items_) {
        auto joined = [](const QVector<Run>& runs) {
            QString s;
            for (const Run& r : runs)
                s += r.text;
            return s;
        };
        if (it.cells.isEmpty()) {
            lines << joined(it.runs);
            continue;
        }
        QStringList cells;
        for (const Cell& c : it.cells)
            cells << joined(c.runs);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

void ReportView::print(QPrinter& printer) const
{
    QPainter p;
    if (!p.begin(&printer))
        return;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    // The page's width fits the sheet; never larger than on a screen.
    const double scale = std::min(double(page.width()) / std::max(width_, 1), printer.resolution() / 96.0);
    const int sheet = int(page.height() / scale);
    int from = 0;
    while (from < items_.size()) {
        int to = from;
        while (to < items_.size() && (tops_[to + 1] - tops_[from] <= sheet || to == from))
            ++to;
        p.save();
        p.scale(scale, scale);
        p.translate(0, -tops_[from] + kMargin);
        p.setPen(Qt::black);
        for (int i = from; i < to; ++i)
            paintItem(p, items_[i], tops_[i]);
        p.restore();
        from = to;
        if (from < items_.size())
            printer.newPage();
    }
    p.end();
}
