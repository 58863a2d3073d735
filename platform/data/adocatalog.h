// The tables and columns of an open store, as the layer reads them.
#pragma once

#include <QHash>
#include <QString>
#include <QVector>

namespace ado {

enum class Kind { Text, Integer, Money, Date, AutoNumber };

struct ColumnInfo {
    QString name;   // as declared in the store
    Kind kind = Kind::Text;
    int maxChars = 0;  // longest text the column holds, 0 when unbounded
    int maxBytes = 0;  // the same in UTF-8 bytes, for long text columns
};

struct TableInfo {
    QString name;               // canonical spelling
    QVector<ColumnInfo> columns;
    QVector<int> key;           // column indexes of the unique key, may be empty
    int autoColumn = -1;
    int columnIndex(const QString& name) const;  // any case; -1 when absent
};

class Catalog {
public:
    QHash<QString, TableInfo> tables;  // keyed by lower-case name
    const TableInfo* table(const QString& name) const;
    bool isDateColumn(const QString& column) const;
private:
    friend class Connection;  // fills dateColumns as it reads the catalogue
    QHash<QString, bool> dateColumns;
};

}  // namespace ado
