// A report-style list: rows numbered from 1, item text in column 1 and
// sub-items after it. Rows live in one model, not in per-row widgets; a
// list filled from a result shows the result's own rows, held once and
// turned into text only as they are painted, so a list of a million rows
// fills quickly and holds little.
#pragma once

#include "adorows.h"

#include <QStringList>
#include <QTreeView>
#include <QVector>

class ListViewModel;

class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    // Column titles and widths in twips (converted with the screen's dpi).
    void setColumns(const QStringList& titles, const QVector<int>& widthsTwips = {});
    QStringList columnTitles() const;

    int count() const;
    void clear();
    // Inserts a row at position (1-based; 0 or count()+1 appends) with the
    // item text; returns its position.
    int add(int position, const QString& text);
    void remove(int position);
    QString text(int position) const;
    void setText(int position, const QString& text);
    // Sub-items: j from 1.
    void addSubItem(int position, const QString& text);
    QString subItem(int position, int j) const;
    void setSubItem(int position, int j, const QString& text);
    int subItemCount(int position) const;

    // 0 when none.
    int selectedIndex() const;
    void select(int position);
    // First row from 1 whose item text begins with text; 0 when none.
    int find(const QString& text) const;

    // Replaces every row at once (cells[0] is the item text) and selects
    // the first row.
    void setRows(QVector<QStringList>&& rows);
    // The same with the rows of a result: the first columns of each row,
    // column 0 the item text, the others sub-items; shown as cellText shows
    // a value.
    void setRows(ado::RowStorePtr rows, int columns);

signals:
    // A change of the selected row by mouse or keyboard.
    void itemClick(int position);
    void itemDblClick(int position);

private:
    ListViewModel* model_;
};
