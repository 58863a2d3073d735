#include "adocatalog.h"

namespace ado {

int TableInfo::columnIndex(const QString& n) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(n, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const TableInfo* Catalog::table(const QString& name) const
{
    auto it = tables.constFind(name.toLower());
    return it == tables.constEnd() ? nullptr : &it.value();
}

bool Catalog::isDateColumn(const QString& column) const { return dateColumns.value(column.toLower(), false); }

}  // namespace ado
