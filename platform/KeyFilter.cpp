#include "KeyFilter.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QValidator>

#include <algorithm>

namespace {

bool printable(QChar c) { return c.unicode() >= 32 && c.unicode() != 127; }

// The marks that turn or isolate the direction of the text around them:
// a name holding one reads otherwise than it is stored.
bool direction(QChar c)
{
    return (c.unicode() >= 0x202A && c.unicode() <= 0x202E) || (c.unicode() >= 0x2066 && c.unicode() <= 0x2069);
}

// Control characters never enter a box (a NUL cuts a statement short);
// a multi-line box keeps its line breaks.
bool control(QChar c) { return !printable(c) || (c.unicode() >= 0x80 && c.unicode() < 0xA0) || direction(c); }
bool lineBreak(QChar c) { return c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator; }

QString mapText(const KeyMap& map, const QString& in, int* pos = nullptr)
{
    QString out;
    out.reserve(in.size());
    int newPos = pos ? *pos : 0;
    for (int i = 0; i < in.size(); ++i) {
        const QChar c = in.at(i);
        const int r = control(c) ? 0 : map(c.unicode());
        if (r == 0) {
            if (pos && i < *pos)
                --newPos;
            continue;
        }
        out.append(QChar(char16_t(r)));
    }
    if (pos)
        *pos = qBound(0, newPos, int(out.size()));
    return out;
}

// A line box cuts at its limit in UTF-16 units, which can leave half of a
// character beyond the first plane (an emoji); the half goes too.
void keepWholeCharacters(QString& s, int& pos)
{
    if (std::none_of(s.cbegin(), s.cend(), [](QChar c) { return c.isSurrogate(); }))
        return;
    QString out;
    out.reserve(s.size());
    int newPos = pos;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
            out.append(c).append(s.at(++i));
        } else if (c.isSurrogate()) {
            if (i < pos)
                --newPos;
        } else {
            out.append(c);
        }
    }
    s = out;
    pos = qBound(0, newPos, int(s.size()));
}

// Set while a user event that can insert text is being handled by the box.
struct UserFlag {
    bool active = false;
};

class MapValidator : public QValidator {
public:
    MapValidator(KeyMap map, UserFlag* flag, QObject* parent) : QValidator(parent), map_(std::move(map)), flag_(flag) {}
    State validate(QString& input, int& pos) const override
    {
        if (flag_->active)
            input = mapText(map_, input, &pos);
        // Text the program sets is cut at the limit too.
        keepWholeCharacters(input, pos);
        return Acceptable;
    }

private:
    KeyMap map_;
    UserFlag* flag_;
};

class Filter : public QObject {
public:
    Filter(QWidget* box, KeyMap map) : QObject(box), box_(box), map_(std::move(map))
    {
        setObjectName(QLatin1String(kName));
    }
    static constexpr const char* kName = "filtroDeTeclas";

    UserFlag flag;

    // Text edits have no validator: what a user event inserted is mapped in
    // place right after the document reports it.
    void watchDocument(QTextDocument* doc)
    {
        connect(doc, &QTextDocument::contentsChange, this, [this, doc](int from, int, int added) {
            if (!flag.active || busy_ || added <= 0)
                return;
            busy_ = true;
            QTextCursor c(doc);
            c.setPosition(from);
            c.setPosition(qMin(from + added, doc->characterCount() - 1), QTextCursor::KeepAnchor);
            const QString raw = c.selectedText();
            QString mapped;
            for (QChar ch : raw)
                mapped += lineBreak(ch) ? QString(ch) : mapText(map_, QString(ch));
            if (mapped != raw) {
                mapped.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
                c.insertText(mapped);
            }
            busy_ = false;
        });
    }

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (dispatching_)
            return false;
        switch (ev->type()) {
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(ev);
            if (k->matches(QKeySequence::Paste))
                return redeliver(obj, ev);
            const QString t = k->text();
            if (t.size() != 1 || !printable(t.at(0)) || (k->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
                return false;  // control keys and shortcuts pass untouched
            const int r = control(t.at(0)) ? 0 : map_(t.at(0).unicode());
            if (r == 0) {
                ev->accept();
                return true;
            }
            if (r == t.at(0).unicode())
                return redeliver(obj, ev);
            QKeyEvent mapped(k->type(), k->key(), k->modifiers(), QString(QChar(char16_t(r))), k->isAutoRepeat(),
                             ushort(k->count()));
            return redeliver(obj, &mapped, ev);
        }
        case QEvent::ContextMenu:
            return contextMenu(obj, static_cast<QContextMenuEvent*>(ev));
        case QEvent::InputMethod:
        case QEvent::Drop:
            return redeliver(obj, ev);
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(ev)->button() == Qt::MiddleButton)
                return redeliver(obj, ev);
            return false;
        default:
            return false;
        }
    }

private:
    // The box's own menu only pops up and pastes later, outside the event:
    // the same menu runs here, with the user flag up until it closes.
    bool contextMenu(QObject* obj, QContextMenuEvent* ev)
    {
        QMenu* menu = nullptr;
        if (auto* line = qobject_cast<QLineEdit*>(box_))
            menu = line->createStandardContextMenu();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(box_))
            menu = plain->createStandardContextMenu(plain->viewport()->mapFromGlobal(ev->globalPos()));
        else if (auto* rich = qobject_cast<QTextEdit*>(box_))
            menu = rich->createStandardContextMenu(rich->viewport()->mapFromGlobal(ev->globalPos()));
        if (!menu)
            return redeliver(obj, ev);
        QPointer<QObject> guard(this);
        flag.active = true;
        menu->exec(ev->globalPos());
        delete menu;
        if (guard)
            flag.active = false;
        ev->accept();
        return true;
    }

    // Hands the event to the box with the user flag up, so the validator or
    // the document watch maps what it inserts.
    bool redeliver(QObject* obj, QEvent* ev, QEvent* original = nullptr)
    {
        QPointer<QObject> guard(obj);
        dispatching_ = true;
        flag.active = true;
        QCoreApplication::sendEvent(obj, ev);
        if (!guard)
            return true;
        dispatching_ = false;
        flag.active = false;
        // sendEvent already passed an ignored event on to the parents.
        (original ? original : ev)->accept();
        return true;
    }

    QPointer<QWidget> box_;
    KeyMap map_;
    bool dispatching_ = false;
    bool busy_ = false;
};

}  // namespace

void InstallKeyFilter(QWidget* box, KeyMap map)
{
    if (!box || !map)
        return;
    QLineEdit* line = qobject_cast<QLineEdit*>(box);
    if (auto* combo = qobject_cast<QComboBox*>(box))
        line = combo->lineEdit();
    if (line) {
        auto* f = new Filter(line, map);
        line->installEventFilter(f);
        line->setValidator(new MapValidator(map, &f->flag, f));
        return;
    }
    auto* f = new Filter(box, map);
    box->installEventFilter(f);
    if (auto* pe = qobject_cast<QPlainTextEdit*>(box)) {
        pe->viewport()->installEventFilter(f);
        f->watchDocument(pe->document());
    } else if (auto* te = qobject_cast<QTextEdit*>(box)) {
        te->viewport()->installEventFilter(f);
        f->watchDocument(te->document());
    }
}

void KeepControlsOut(QWidget* box)
{
    QWidget* target = box;
    if (auto* combo = qobject_cast<QComboBox*>(box))
        target = combo->lineEdit();
    if (!target || target->findChild<QObject*>(QLatin1String(Filter::kName), Qt::FindDirectChildrenOnly))
        return;
    if (auto* line = qobject_cast<QLineEdit*>(target); line && line->validator())
        return;
    InstallKeyFilter(box, [](int code) { return code; });
}

namespace {

class ControlGuard : public QObject {
protected:
    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (ev->type() == QEvent::Polish && (qobject_cast<QLineEdit*>(obj) || qobject_cast<QPlainTextEdit*>(obj))) {
            auto* box = static_cast<QWidget*>(obj);
            // A combo box's own line carries the combo's filter.
            if (auto* combo = qobject_cast<QComboBox*>(box->parentWidget()); combo && combo->lineEdit() == box)
                KeepControlsOut(combo);
            else
                KeepControlsOut(box);
        }
        return false;
    }
};

}  // namespace

void KeepControlsOutOfEveryBox()
{
    static QPointer<ControlGuard> guard;
    if (!guard && qApp) {
        guard = new ControlGuard;
        guard->setParent(qApp);
        qApp->installEventFilter(guard);
    }
}
