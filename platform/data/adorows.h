// The rows of a result, held once and compactly: a 64-bit word and a kind
// byte per cell, texts in one pool of UTF-16 blocks, and the rare value of
// another kind in a side list. A recordset and the list views that show its
// rows share one store; values are turned into text only when asked for.
#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <QVector>
#include <memory>
#include <vector>

namespace ado {

// A value as a list or a field shows it: "" for Null, "dd/MM/yyyy" dates,
// plain numbers, texts as they are.
QString cellText(const QVariant& v);

class RowStore {
public:
    explicit RowStore(int columns = 0) : columns_(columns) {}
    RowStore(const RowStore& o);
    RowStore(RowStore&&) = default;
    RowStore& operator=(const RowStore&) = delete;
    RowStore& operator=(RowStore&&) = default;

    int columns() const { return columns_; }
    qsizetype size() const { return rows_; }
    bool isEmpty() const { return rows_ == 0; }

    // Adds the cells of one new row, column by column in order.
    void add(const QVariant& v);
    void addNull() { put(Null, 0); }
    void addText(QStringView s);
    void addLatin1(QLatin1StringView s);  // a text of Latin-1 characters
    void addDouble(double d);
    void addInteger(qint64 n);
    void addDate(qint64 julianDay);
    void appendRow(const QVector<QVariant>& row);

    QVariant value(qsizetype row, int column) const;
    QVector<QVariant> row(qsizetype row) const;
    QString text(qsizetype row, int column) const;  // cellText of the value
    // Whether the cell's text begins with prefix, without building it when
    // the cell holds a text.
    bool textStartsWith(qsizetype row, int column, QStringView prefix) const;

    void set(qsizetype row, int column, const QVariant& v);
    void removeRow(qsizetype row);

private:
    enum Tag : quint8 { Null, Text, Double, Integer, Date, Other };
    static constexpr int kChunkRows = 4096;
    static constexpr qsizetype kBlockChars = qsizetype(1) << 20;
    static constexpr int kLengthBits = 24;

    struct Chunk {
        std::vector<quint64> words;
        std::vector<quint8> tags;
    };

    void put(Tag tag, quint64 word);
    static bool encodable(const QVariant& v, Tag* tag);
    quint64 word(const QVariant& v, Tag tag);
    char16_t* room(qsizetype n, quint64* word);
    quint64 pooled(QStringView s);
    QStringView pooledText(quint64 w) const;
    quint8 tagAt(qsizetype row, int column) const;
    quint64 wordAt(qsizetype row, int column) const;

    int columns_ = 0;
    qsizetype rows_ = 0;
    int filled_ = 0;  // cells of the row being added
    std::vector<Chunk> chunks_;
    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    qsizetype blockUsed_ = 0;  // chars used in the last block
    QVector<QVariant> others_;
};

using RowStorePtr = std::shared_ptr<const RowStore>;

}  // namespace ado
