// Statement texts: read into tokens, turned from the program's dialect into
// the store's, and analysed for what a result can write back. Pure text
// and the catalogue: no store is needed.
#pragma once

#include "adocatalog.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace ado::sql {

struct Token {
    enum Type { Word, String, Punct } type;
    QString text;
    int pos;
    int depth;
};

// Index of the apostrophe that closes the text literal opening at i ('' is
// an apostrophe inside it), or the end of s.
int closingQuote(const QString& s, int i);
QVector<Token> tokenize(const QString& s);
bool isWord(const Token& t, const char* w);

// The program's dialect in the store's: [names], #MM/dd/yyyy# dates and
// "texts" become plain forms, table names take the catalogue's spelling, a
// bare table name opens the table, DELETE * loses its star. With
// escapeLikeBackslash a backslash in a LIKE pattern matches itself.
QString rewrite(const QString& sql, const Catalog& cat, bool escapeLikeBackslash);

// Removes a trailing FOR UPDATE.
QString dropLockClause(const QString& sql);

// "column LIKE 'text'" with no wildcard in the text, as equality in the
// folding collation.
QString likeAsEquality(const QString& sql, const Catalog& cat);

// What a SELECT reads and whether its rows can be written back.
struct SelectShape {
    bool select = false;
    bool updatable = false;
    QString table;        // the one table, when updatable
    const TableInfo* info = nullptr;  // its catalogue entry
    QStringList fromTables;
    int fromPos = -1;     // position of the top-level FROM keyword
    bool star = false;
    bool none = false;    // "Where 1 = 0": opened to add rows, reads nothing
    QStringList items;    // plain column names of the select list
};

SelectShape analyse(const QString& sql, const Catalog& cat);

}  // namespace ado::sql
