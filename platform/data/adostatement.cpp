#include "adostatement.h"

#include <QDate>
#include <QRegularExpression>

namespace ado::sql {

namespace {

QString jetDate(const QString& inner)
{
    // #MM/dd/yyyy#, month first.
    const QStringList p = inner.trimmed().split(QLatin1Char('/'));
    if (p.size() != 3)
        return QString();
    QDate d(p[2].toInt(), p[0].toInt(), p[1].toInt());
    if (!d.isValid())
        return QString();
    return QLatin1Char('\'') + d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
}

// Whether column (maybe qualified) is text in every table that has it.
bool isTextColumn(const QString& column, const Catalog& cat)
{
    const int dot = column.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0) {
        const TableInfo* t = cat.table(column.left(dot));
        const int i = t ? t->columnIndex(column.mid(dot + 1)) : -1;
        return i >= 0 && t->columns[i].kind == Kind::Text;
    }
    bool found = false;
    for (const TableInfo& t : cat.tables) {
        const int i = t.columnIndex(column);
        if (i < 0)
            continue;
        if (t.columns[i].kind != Kind::Text)
            return false;
        found = true;
    }
    return found;
}

}  // namespace

int closingQuote(const QString& s, int i)
{
    int j = i + 1;
    while (j < s.size()) {
        if (s[j] == QLatin1Char('\'')) {
            if (j + 1 < s.size() && s[j + 1] == QLatin1Char('\''))
                j += 2;
            else
                break;
        } else {
            ++j;
        }
    }
    return j;
}

QVector<Token> tokenize(const QString& s)
{
    QVector<Token> out;
    int depth = 0;
    for (int i = 0; i < s.size();) {
        QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('\'')) {
            const int j = closingQuote(s, i);
            out.append({Token::String, s.mid(i, j - i + 1), i, depth});
            i = j + 1;
        } else if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
            int j = i;
            while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_') || s[j] == QLatin1Char('.')))
                ++j;
            out.append({Token::Word, s.mid(i, j - i), i, depth});
            i = j;
        } else {
            if (c == QLatin1Char(')'))
                --depth;
            out.append({Token::Punct, QString(c), i, depth});
            if (c == QLatin1Char('('))
                ++depth;
            ++i;
        }
    }
    return out;
}

bool isWord(const Token& t, const char* w)
{
    return t.type == Token::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

// SQLite: "column LIKE 'text'" with no wildcard in the text compares as
// equality in the same folding collation, which lets the store use the
// column's index (its own like() cannot). Only where = binds the operands
// as LIKE does: a plain column, a whole condition.
QString likeAsEquality(const QString& sql, const Catalog& cat)
{
    if (!sql.contains(QLatin1String("like"), Qt::CaseInsensitive))
        return sql;
    const QVector<Token> tk = tokenize(sql);
    auto opens = [](const Token& t) {
        return (t.type == Token::Punct && t.text == QLatin1String("(")) || isWord(t, "WHERE") || isWord(t, "AND")
               || isWord(t, "OR") || isWord(t, "NOT") || isWord(t, "ON") || isWord(t, "HAVING");
    };
    auto closes = [](const Token& t) {
        return (t.type == Token::Punct && (t.text == QLatin1String(")") || t.text == QLatin1String(";"))) || isWord(t, "AND")
               || isWord(t, "OR") || isWord(t, "ORDER") || isWord(t, "GROUP") || isWord(t, "FOR") || isWord(t, "LIMIT")
               || isWord(t, "UNION");
    };
    QString out;
    int copied = 0;
    for (int i = 2; i + 1 < tk.size(); ++i) {
        const Token& lit = tk[i + 1];
        if (!isWord(tk[i], "LIKE") || tk[i - 1].type != Token::Word || lit.type != Token::String || !opens(tk[i - 2]))
            continue;
        if (lit.text.contains(QLatin1Char('%')) || lit.text.contains(QLatin1Char('_')))
            continue;
        if ((i + 2 < tk.size() && !closes(tk[i + 2])) || !isTextColumn(tk[i - 1].text, cat))
            continue;
        out += QStringView(sql).mid(copied, tk[i].pos - copied);
        out += QStringLiteral("= ") + lit.text + QStringLiteral(" COLLATE NOCASE");
        copied = lit.pos + lit.text.size();
    }
    if (copied == 0)
        return sql;
    out += QStringView(sql).mid(copied);
    return out;
}

QString rewrite(const QString& sqlIn, const Catalog& cat, bool escapeLikeBackslash)
{
    const QString& s = sqlIn;
    QString out;
    out.reserve(s.size() + 16);
    // The server's LIKE takes a backslash as its escape even with
    // NO_BACKSLASH_ESCAPES; doubled, it matches itself as on the local store.
    bool patron = false;  // the next literal follows LIKE
    auto literal = [&](QString lit, int after) {
        if (patron && escapeLikeBackslash) {
            int k = after;
            while (k < s.size() && s[k].isSpace())
                ++k;
            if (s.mid(k, 6).compare(QLatin1String("ESCAPE"), Qt::CaseInsensitive) != 0)
                lit.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        }
        patron = false;
        out += lit;
    };
    for (int i = 0; i < s.size();) {
        const QChar c = s[i];
        if (c == QLatin1Char('\'')) {
            const int j = closingQuote(s, i);
            literal(s.mid(i, j - i + 1), j + 1);
            i = j + 1;
        } else if (c == QLatin1Char('"')) {
            // A double-quoted text literal becomes a single-quoted one.
            int j = s.indexOf(QLatin1Char('"'), i + 1);
            if (j < 0)
                j = s.size();
            QString inner = s.mid(i + 1, j - i - 1);
            inner.replace(QLatin1Char('\''), QLatin1String("''"));
            literal(QLatin1Char('\'') + inner + QLatin1Char('\''), j + 1);
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            int j = s.indexOf(QLatin1Char('#'), i + 1);
            QString lit = j > i ? jetDate(s.mid(i + 1, j - i - 1)) : QString();
            if (lit.isEmpty()) {
                out += c;
                ++i;
            } else {
                out += lit;
                i = j + 1;
            }
        } else if (c == QLatin1Char('[')) {
            int j = s.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) {
                out += c;
                ++i;
                continue;
            }
            QString name = s.mid(i + 1, j - i - 1);
            if (const TableInfo* t = cat.table(name))
                name = t->name;
            out += name;
            i = j + 1;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i;
            while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_')))
                ++j;
            const QString word = s.mid(i, j - i);
            patron = word.compare(QLatin1String("LIKE"), Qt::CaseInsensitive) == 0;
            if (const TableInfo* t = cat.table(word))
                out += t->name;
            else
                out += word;
            i = j;
        } else if (c.isDigit()) {
            patron = false;
            int j = i;
            while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_') || s[j] == QLatin1Char('.')))
                ++j;
            out += s.mid(i, j - i);
            i = j;
        } else {
            patron = patron && c.isSpace();
            out += c;
            ++i;
        }
    }
    QString t = out.trimmed();
    while (t.endsWith(QLatin1Char(';')))
        t.chop(1);
    // A bare table name opens every row of the table.
    if (cat.table(t))
        return QStringLiteral("SELECT * FROM ") + cat.table(t)->name;
    static const QRegularExpression bareName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (bareName.match(t).hasMatch() && t.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("SELECT * FROM ") + t;  // fails as a table the store does not hold
    static const QRegularExpression deleteStar(QStringLiteral("^DELETE\\s+\\*\\s+FROM\\b"), QRegularExpression::CaseInsensitiveOption);
    t.replace(deleteStar, QStringLiteral("DELETE FROM"));
    return t;
}

QString dropLockClause(const QString& sql)
{
    static const QRegularExpression forUpdate(QStringLiteral("\\s+FOR\\s+UPDATE\\s*$"), QRegularExpression::CaseInsensitiveOption);
    QString t = sql;
    t.remove(forUpdate);
    return t;
}

SelectShape analyse(const QString& sql, const Catalog& cat)
{
    SelectShape sh;
    const QVector<Token> tk = tokenize(sql);
    if (tk.isEmpty() || !isWord(tk[0], "SELECT"))
        return sh;
    sh.select = true;
    int from = -1;
    for (int i = 1; i < tk.size(); ++i)
        if (tk[i].depth == 0 && isWord(tk[i], "FROM")) {
            from = i;
            break;
        }
    if (from < 0)
        return sh;
    sh.fromPos = tk[from].pos;
    int end = tk.size();
    bool grouped = false;
    for (int i = from + 1; i < tk.size(); ++i) {
        if (tk[i].type == Token::Word && cat.table(tk[i].text))
            sh.fromTables << cat.table(tk[i].text)->name;
        if (tk[i].depth == 0 && end == tk.size()
            && (isWord(tk[i], "WHERE") || isWord(tk[i], "ORDER") || isWord(tk[i], "GROUP") || isWord(tk[i], "HAVING")
                || isWord(tk[i], "FOR") || isWord(tk[i], "LIMIT") || isWord(tk[i], "UNION")))
            end = i;
        if (tk[i].depth == 0 && (isWord(tk[i], "GROUP") || isWord(tk[i], "HAVING") || isWord(tk[i], "UNION")))
            grouped = true;
    }
    // Words inside the select list may name tables too (qualified columns).
    if (grouped)
        return sh;
    sh.none = end + 4 == tk.size() && isWord(tk[end], "WHERE") && tk[end + 1].text == QLatin1String("1")
              && tk[end + 2].text == QLatin1String("=") && tk[end + 3].text == QLatin1String("0");
    if (isWord(tk[1], "DISTINCT") || isWord(tk[1], "TOP") || isWord(tk[1], "DISTINCTROW"))
        return sh;
    const int fromLen = end - from - 1;
    if (fromLen < 1 || fromLen > 2 || tk[from + 1].type != Token::Word)
        return sh;
    if (fromLen == 2 && tk[from + 2].type != Token::Word)
        return sh;
    const TableInfo* t = cat.table(tk[from + 1].text);
    if (!t)
        return sh;
    // The select list: * or plain (possibly qualified) column names.
    QStringList items;
    bool expectItem = true;
    for (int i = 1; i < from; ++i) {
        const Token& x = tk[i];
        if (expectItem) {
            if (x.type == Token::Punct && x.text == QLatin1String("*")) {
                sh.star = true;
                items << QStringLiteral("*");
            } else if (x.type == Token::Word) {
                QString name = x.text.section(QLatin1Char('.'), -1);
                if (t->columnIndex(name) < 0)
                    return sh;
                items << name;
            } else {
                return sh;
            }
            expectItem = false;
        } else {
            if (x.type == Token::Punct && x.text == QLatin1String(","))
                expectItem = true;
            else
                return sh;
        }
    }
    if (expectItem || items.isEmpty())
        return sh;
    if (sh.star && items.size() > 1)
        return sh;
    sh.updatable = true;
    sh.table = t->name;
    sh.info = t;
    sh.items = items;
    return sh;
}

}  // namespace ado::sql
