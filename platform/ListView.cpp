#include "ListView.h"

#include "Twips.h"
#include "adorows.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QEvent>
#include <QStyle>

// The rows shown: those of a shared result (store, its first storeColumns
// columns, turned into text as they are shown), and rows added or changed
// one by one (own; cells[0] is the item text, cells[j] sub-item j). order
// says which row is which: k >= 0 row k of the store, -1 - k own row k;
// plain while the list shows the store's rows as they came.
class ListViewModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    QStringList titles;
    ado::RowStorePtr store;
    int storeColumns = 0;
    bool plain = false;
    QVector<qint32> order;
    QVector<QStringList> own;
    int widest = 0;  // most cells of any row, for lists without titles
    bool quiet = false;     // the program, not the user, moves the selection
    int rowAtPress = -1;    // selected row when the mouse went down

    int rows() const { return plain ? int(store->size()) : int(order.size()); }
    qint32 at(int row) const { return plain ? row : order.at(row); }
    int cells(int row) const
    {
        const qint32 k = at(row);
        return k >= 0 ? storeColumns : int(own.at(-1 - k).size());
    }
    QString cell(int row, int column) const
    {
        const qint32 k = at(row);
        if (k >= 0)
            return column < storeColumns ? store->text(k, column) : QString();
        return own.at(-1 - k).value(column);
    }
    bool itemStartsWith(int row, const QString& text) const
    {
        const qint32 k = at(row);
        if (k >= 0)
            return storeColumns > 0 ? store->textStartsWith(k, 0, text) : QString().startsWith(text);
        return own.at(-1 - k).value(0).startsWith(text);
    }
    // The row's cells to change: a row of the store becomes an own row
    // holding the texts it showed.
    QStringList& editable(int row)
    {
        unplain();
        qint32& k = order[row];
        if (k >= 0) {
            QStringList texts;
            texts.reserve(storeColumns);
            for (int c = 0; c < storeColumns; ++c)
                texts.append(store->text(k, c));
            own.append(std::move(texts));
            k = -qint32(own.size());
        }
        return own[-1 - k];
    }
    void unplain()
    {
        if (!plain)
            return;
        order.resize(store->size());
        for (qint32 i = 0; i < order.size(); ++i)
            order[i] = i;
        plain = false;
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows(); }
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
        return cell(index.row(), index.column());
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
        store.reset();
        storeColumns = 0;
        plain = false;
        own = std::move(r);
        order.resize(own.size());
        for (qint32 i = 0; i < order.size(); ++i)
            order[i] = -1 - i;
        widest = widestRow;
        endResetModel();
    }
    void showStore(ado::RowStorePtr rows, int columns)
    {
        beginResetModel();
        store = std::move(rows);
        storeColumns = columns;
        plain = true;
        order.clear();
        own.clear();
        widest = columns;
        endResetModel();
    }
    void insertAt(int row, const QString& text)
    {
        unplain();
        beginInsertRows(QModelIndex(), row, row);
        own.append(QStringList{text});
        order.insert(row, -qint32(own.size()));
        endInsertRows();
    }
    void removeAt(int row)
    {
        unplain();
        beginRemoveRows(QModelIndex(), row, row);
        order.removeAt(row);
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

int ListView::count() const { return model_->rows(); }

void ListView::clear()
{
    if (model_->rows() == 0 && !model_->store)
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
    return model_->cell(position - 1, 0);
}

void ListView::setText(int position, const QString& text)
{
    if (position < 1 || position > count())
        return;
    QStringList& r = model_->editable(position - 1);
    if (r.isEmpty())
        r.append(text);
    else
        r[0] = text;
    model_->changed(position - 1, 0);
}

void ListView::addSubItem(int position, const QString& text)
{
    if (position < 1 || position > count())
        return;
    QStringList& r = model_->editable(position - 1);
    r.append(text);
    model_->grow(int(r.size()));
    model_->changed(position - 1, int(r.size()) - 1);
}

QString ListView::subItem(int position, int j) const
{
    if (position < 1 || position > count() || j < 1)
        return QString();
    return model_->cell(position - 1, j);
}

void ListView::setSubItem(int position, int j, const QString& text)
{
    if (position < 1 || position > count() || j < 1)
        return;
    QStringList& r = model_->editable(position - 1);
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
    return model_->cells(position - 1) - 1;
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
    const int n = model_->rows();
    for (int i = 0; i < n; ++i)
        if (model_->itemStartsWith(i, text))
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

void ListView::setRows(ado::RowStorePtr rows, int columns)
{
    model_->quiet = true;
    model_->showStore(std::move(rows), columns);
    model_->quiet = false;
    select(1);
    scrollToTop();
}
