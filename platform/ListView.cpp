#include "ListView.h"

#include "Twips.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QEvent>
#include <QStyle>

// Rows as plain strings: cells[0] is the item text, cells[j] sub-item j.
class ListViewModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    QStringList titles;
    QVector<QStringList> rows;
    int widest = 0;  // most cells of any row, for lists without titles
    bool quiet = false;     // the program, not the user, moves the selection
    int rowAtPress = -1;    // selected row when the mouse went down

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        if (parent.isValid())
            return 0;
        return titles.isEmpty() ? qMax(1, widest) : int(titles.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return QVariant();
        const QStringList& r = rows.at(index.row());
        return index.column() < r.size() ? r.at(index.column()) : QString();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (o != Qt::Horizontal || role != Qt::DisplayRole)
            return QVariant();
        return section < titles.size() ? titles.at(section) : QString();
    }

    // A list without titles shows as many columns as its widest row.
    void grow(int cells)
    {
        if (!titles.isEmpty() || cells <= widest)
            return;
        const int before = columnCount();
        if (cells > before) {
            beginInsertColumns(QModelIndex(), before, cells - 1);
            widest = cells;
            endInsertColumns();
        } else {
            widest = cells;
        }
    }
    void setTitles(const QStringList& t)
    {
        beginResetModel();
        titles = t;
        endResetModel();
    }
    void replaceRows(QVector<QStringList>&& r, int widestRow)
    {
        beginResetModel();
        rows = std::move(r);
        widest = widestRow;
        endResetModel();
    }
    void insertAt(int row, const QString& text)
    {
        beginInsertRows(QModelIndex(), row, row);
        rows.insert(row, QStringList{text});
        endInsertRows();
    }
    void removeAt(int row)
    {
        beginRemoveRows(QModelIndex(), row, row);
        rows.removeAt(row);
        endRemoveRows();
    }
    void changed(int row, int column)
    {
        if (column < columnCount())
            emit dataChanged(index(row, column), index(row, column));
    }
};

namespace {
// Notes which row was selected before a mouse press changes it.
class PressWatch : public QObject {
public:
    PressWatch(ListView* view, ListViewModel* model) : QObject(view), view_(view), model_(model) {}
protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
            model_->rowAtPress = view_->selectedIndex() - 1;
        return false;
    }
private:
    ListView* view_;
    ListViewModel* model_;
};
}  // namespace

ListView::ListView(QWidget* parent) : QTreeView(parent), model_(new ListViewModel(this))
{
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // rows are never measured one by one
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);

    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (model_->quiet || !current.isValid())
                    return;
                emit itemClick(current.row() + 1);
            });
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        // A click on the row that already was current changes nothing, but
        // the user still clicked an item.
        if (index.isValid() && index.row() == model_->rowAtPress)
            emit itemClick(index.row() + 1);
    });
    viewport()->installEventFilter(new PressWatch(this, model_));
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit itemDblClick(index.row() + 1);
    });
}


void ListView::setColumns(const QStringList& titles, const QVector<int>& widthsTwips)
{
    model_->setTitles(titles);
    // A title always shows whole: its column is never narrower than it.
    const QFontMetrics fm(header()->font());
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header()) + 2;
    for (int i = 0; i < widthsTwips.size() && i < titles.size(); ++i) {
        const int whole = titles[i].isEmpty() || widthsTwips[i] <= 0 ? 0 : fm.horizontalAdvance(titles[i]) + margin;
        header()->resizeSection(i, qMax(TwipsToPixelsX(widthsTwips[i]), whole));
    }
    if (count() > 0 && selectedIndex() == 0)
        select(1);
}

QStringList ListView::columnTitles() const { return model_->titles; }

int ListView::count() const { return int(model_->rows.size()); }

void ListView::clear()
{
    if (model_->rows.isEmpty())
        return;
    model_->quiet = true;
    model_->replaceRows({}, 0);
    model_->quiet = false;
}

int ListView::add(int position, const QString& text)
{
    const int n = count();
    int row = (position <= 0 || position > n) ? n : position - 1;
    model_->quiet = true;
    model_->insertAt(row, text);
    model_->quiet = false;
    if (n == 0)
        select(1);
    return row + 1;
}

void ListView::remove(int position)
{
    if (position < 1 || position > count())
        return;
    model_->quiet = true;
    model_->removeAt(position - 1);
    model_->quiet = false;
}

QString ListView::text(int position) const
{
    if (position < 1 || position > count())
        return QString();
    return model_->rows.at(position - 1).value(0);
}

void ListView::setText(int position, const QString& text)
{
    if (position < 1 || position > count())
        return;
    model_->rows[position - 1][0] = text;
    model_->changed(position - 1, 0);
}

void ListView::addSubItem(int position, const QString& text)
{
    if (position < 1 || position > count())
        return;
    QStringList& r = model_->rows[position - 1];
    r.append(text);
    model_->grow(int(r.size()));
    model_->changed(position - 1, int(r.size()) - 1);
}

QString ListView::subItem(int position, int j) const
{
    if (position < 1 || position > count() || j < 1)
        return QString();
    return model_->rows.at(position - 1).value(j);
}

void ListView::setSubItem(int position, int j, const QString& text)
{
    if (position < 1 || position > count() || j < 1)
        return;
    QStringList& r = model_->rows[position - 1];
    while (r.size() <= j)
        r.append(QString());
    r[j] = text;
    model_->grow(int(r.size()));
    model_->changed(position - 1, j);
}

int ListView::subItemCount(int position) const
{
    if (position < 1 || position > count())
        return 0;
    return int(model_->rows.at(position - 1).size()) - 1;
}

int ListView::selectedIndex() const
{
    const QModelIndex cur = currentIndex();
    if (cur.isValid() && selectionModel()->isRowSelected(cur.row(), QModelIndex()))
        return cur.row() + 1;
    const QModelIndexList sel = selectionModel()->selectedRows();
    return sel.isEmpty() ? 0 : sel.first().row() + 1;
}

void ListView::select(int position)
{
    if (position < 1 || position > count())
        return;
    model_->quiet = true;
    const QModelIndex idx = model_->index(position - 1, 0);
    selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    model_->quiet = false;
}

int ListView::find(const QString& text) const
{
    const auto& rows = model_->rows;
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).value(0).startsWith(text))
            return i + 1;
    return 0;
}

void ListView::setRows(QVector<QStringList>&& rows)
{
    int widest = 0;
    if (model_->titles.isEmpty())
        for (const QStringList& r : rows)
            widest = qMax(widest, int(r.size()));
    model_->quiet = true;
    model_->replaceRows(std::move(rows), widest);
    model_->quiet = false;
    select(1);
    scrollToTop();
}
