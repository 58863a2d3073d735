#include "adorows.h"

#include "textfmt.h"

#include <QDate>
#include <algorithm>
#include <bit>
#include <cstring>

namespace ado {

QString cellText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return FormatDate(v.toDate());
    if (v.typeId() == QMetaType::QString)
        return v.toString();
    return NumText(v);
}

RowStore::RowStore(const RowStore& o)
    : columns_(o.columns_), rows_(o.rows_), filled_(o.filled_), chunks_(o.chunks_), blockUsed_(o.blockUsed_), others_(o.others_)
{
    blocks_.reserve(o.blocks_.size());
    for (size_t b = 0; b < o.blocks_.size(); ++b) {
        const qsizetype used = b + 1 == o.blocks_.size() ? o.blockUsed_ : kBlockChars;
        blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(kBlockChars));
        std::memcpy(blocks_.back().get(), o.blocks_[b].get(), size_t(used) * sizeof(char16_t));
    }
}

// A cell holds a value by itself only when reading it back gives the same
// value of the same type; anything else goes to the side list.
bool RowStore::encodable(const QVariant& v, Tag* tag)
{
    if (!v.isValid() || v.isNull()) {
        *tag = Null;
        return true;
    }
    switch (v.typeId()) {
    case QMetaType::QString: {
        const QString& s = *static_cast<const QString*>(v.constData());
        *tag = Text;
        return !s.isNull() && s.size() < 65536;
    }
    case QMetaType::Double:
        *tag = Double;
        return true;
    case QMetaType::LongLong:
        *tag = Integer;
        return true;
    case QMetaType::QDate:
        *tag = Date;
        return static_cast<const QDate*>(v.constData())->isValid();
    default:
        return false;
    }
}

// Room for a text of n characters in the pool; word is the cell's word for it.
char16_t* RowStore::room(qsizetype n, quint64* word)
{
    if (blocks_.empty() || blockUsed_ + n > kBlockChars) {
        blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(kBlockChars));
        blockUsed_ = 0;
    }
    const quint64 offset = quint64(blocks_.size() - 1) * kBlockChars + blockUsed_;
    *word = offset << kLengthBits | quint64(n);
    char16_t* at = blocks_.back().get() + blockUsed_;
    blockUsed_ += n;
    return at;
}

quint64 RowStore::pooled(QStringView s)
{
    quint64 w = 0;
    std::memcpy(room(s.size(), &w), s.utf16(), size_t(s.size()) * sizeof(char16_t));
    return w;
}

QStringView RowStore::pooledText(quint64 w) const
{
    const quint64 offset = w >> kLengthBits;
    const qsizetype length = qsizetype(w & ((quint64(1) << kLengthBits) - 1));
    return QStringView(blocks_[offset / kBlockChars].get() + offset % kBlockChars, length);
}

quint64 RowStore::word(const QVariant& v, Tag tag)
{
    switch (tag) {
    case Null:
        return 0;
    case Text:
        return pooled(*static_cast<const QString*>(v.constData()));
    case Double:
        return std::bit_cast<quint64>(v.toDouble());
    case Integer:
        return quint64(v.toLongLong());
    case Date:
        return quint64(static_cast<const QDate*>(v.constData())->toJulianDay());
    case Other:
        break;
    }
    others_.append(v);
    return quint64(others_.size() - 1);
}

void RowStore::put(Tag tag, quint64 w)
{
    const qsizetype cell = (rows_ % kChunkRows) * columns_ + filled_;
    if (cell == 0) {
        chunks_.emplace_back();
        chunks_.back().words.resize(size_t(kChunkRows) * columns_);
        chunks_.back().tags.resize(size_t(kChunkRows) * columns_);
    }
    Chunk& c = chunks_.back();
    c.words[size_t(cell)] = w;
    c.tags[size_t(cell)] = tag;
    if (++filled_ == columns_) {
        filled_ = 0;
        ++rows_;
    }
}

void RowStore::add(const QVariant& v)
{
    Tag tag = Other;
    if (!encodable(v, &tag))
        tag = Other;
    put(tag, word(v, tag));
}

void RowStore::addText(QStringView s)
{
    if (s.isNull() || s.size() >= 65536) {
        add(s.toString());
        return;
    }
    put(Text, pooled(s));
}

void RowStore::addLatin1(QLatin1StringView s)
{
    if (s.size() >= 65536) {
        add(QString(s));
        return;
    }
    quint64 w = 0;
    char16_t* to = room(s.size(), &w);
    for (qsizetype i = 0; i < s.size(); ++i)
        to[i] = char16_t(uchar(s.data()[i]));
    put(Text, w);
}

void RowStore::addDouble(double d) { put(Double, std::bit_cast<quint64>(d)); }

void RowStore::addInteger(qint64 n) { put(Integer, quint64(n)); }

void RowStore::addDate(qint64 julianDay) { put(Date, quint64(julianDay)); }

void RowStore::appendRow(const QVector<QVariant>& row)
{
    if (columns_ == 0) {
        ++rows_;
        return;
    }
    for (int i = 0; i < columns_; ++i)
        add(i < row.size() ? row[i] : QVariant());
}

quint8 RowStore::tagAt(qsizetype row, int column) const
{
    return chunks_[size_t(row / kChunkRows)].tags[size_t((row % kChunkRows) * columns_ + column)];
}

quint64 RowStore::wordAt(qsizetype row, int column) const
{
    return chunks_[size_t(row / kChunkRows)].words[size_t((row % kChunkRows) * columns_ + column)];
}

QVariant RowStore::value(qsizetype row, int column) const
{
    const quint64 w = wordAt(row, column);
    switch (Tag(tagAt(row, column))) {
    case Null:
        return QVariant();
    case Text: {
        const QStringView s = pooledText(w);
        // An empty text is an empty text, not a missing one.
        return s.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(s.toString());
    }
    case Double:
        return QVariant(std::bit_cast<double>(w));
    case Integer:
        return QVariant(qint64(w));
    case Date:
        return QVariant(QDate::fromJulianDay(qint64(w)));
    case Other:
        break;
    }
    return others_[qsizetype(w)];
}

QVector<QVariant> RowStore::row(qsizetype row) const
{
    QVector<QVariant> r(columns_);
    for (int i = 0; i < columns_; ++i)
        r[i] = value(row, i);
    return r;
}

QString RowStore::text(qsizetype row, int column) const
{
    if (tagAt(row, column) != Text)
        return cellText(value(row, column));
    const QStringView s = pooledText(wordAt(row, column));
    return s.isEmpty() ? QStringLiteral("") : s.toString();
}

bool RowStore::textStartsWith(qsizetype row, int column, QStringView prefix) const
{
    if (tagAt(row, column) == Text)
        return pooledText(wordAt(row, column)).startsWith(prefix);
    return text(row, column).startsWith(prefix);
}

void RowStore::set(qsizetype row, int column, const QVariant& v)
{
    Tag tag = Other;
    if (!encodable(v, &tag))
        tag = Other;
    const quint64 w = word(v, tag);
    Chunk& c = chunks_[size_t(row / kChunkRows)];
    const size_t cell = size_t((row % kChunkRows) * columns_ + column);
    c.words[cell] = w;
    c.tags[cell] = tag;
}

void RowStore::removeRow(qsizetype row)
{
    // Rare (a deleted row): every later row moves up one.
    for (qsizetype r = row; r + 1 < rows_; ++r) {
        Chunk& to = chunks_[size_t(r / kChunkRows)];
        const Chunk& from = chunks_[size_t((r + 1) / kChunkRows)];
        const size_t t = size_t((r % kChunkRows) * columns_), f = size_t(((r + 1) % kChunkRows) * columns_);
        std::copy_n(from.words.begin() + f, columns_, to.words.begin() + t);
        std::copy_n(from.tags.begin() + f, columns_, to.tags.begin() + t);
    }
    --rows_;
    if (columns_ > 0 && rows_ % kChunkRows == 0)
        chunks_.pop_back();
}

}  // namespace ado
