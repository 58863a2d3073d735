#include "msgbox.h"

#include "BusyCursor.h"

#include <QCoreApplication>
#include <QEvent>
#include <cstdio>

namespace {
struct Responder {
    bool on = false;
    std::function<MsgResult(const msgtest::Call&)> answer;
    std::function<QString(const msgtest::Call&)> input;
    QVector<msgtest::Call> calls;
};
Responder& responder()
{
    static Responder r;
    return r;
}
bool isQuestion(MsgStyle s)
{
    return s == MsgStyle::Question || s == MsgStyle::ExclamationQuestion || s == MsgStyle::QuestionNoDefault;
}

bool contado = false;  // this action has told its failure
quint64 numero = 0;    // the action now
int abiertas = 0;      // boxes on the screen now

// Every press of a mouse button or a key outside a box begins an action.
class Presiones : public QObject {
protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (abiertas == 0 && o->isWidgetType()
            && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::KeyPress))
            accion::Nueva();
        return false;
    }
};

// A box shown for real: the presses that answer it belong to the action
// that showed it.
struct EnPantalla {
    EnPantalla() { ++abiertas; }
    ~EnPantalla() { --abiertas; }
};
}  // namespace

namespace accion {
void Nueva()
{
    contado = false;
    ++numero;
}
quint64 Numero() { return numero; }
void Contado() { contado = true; }
bool YaContado() { return contado; }
void Vigilar()
{
    static Presiones* filtro = nullptr;
    if (!filtro && QCoreApplication::instance()) {
        filtro = new Presiones;
        filtro->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(filtro);
    }
}
}  // namespace accion

QString AppTitle() { return QStringLiteral("Tarvik"); }

MsgResult MsgBox(const QString& text, MsgStyle style, const QString& title)
{
    // The action told its failure already: what follows adds nothing.
    if (contado && !isQuestion(style))
        return MsgResult::Ok;
    const BusyCursor::Lift lift;
    const QString shownTitle = title.isEmpty() ? AppTitle() : title;
    Responder& r = responder();
    if (r.on) {
        msgtest::Call c{false, style, shownTitle, text};
        r.calls.append(c);
        MsgResult res = r.answer ? r.answer(c) : MsgResult::Yes;
        if (!isQuestion(style))
            return MsgResult::Ok;
        return res == MsgResult::No ? MsgResult::No : MsgResult::Yes;
    }
    const EnPantalla enPantalla;
    if (const auto mostrar = cuadros::presentador().mensaje)
        return mostrar(text, style, shownTitle);
    // No screen to show it on: said where somebody may read it, and
    // nothing is agreed to.
    std::fprintf(stderr, "%s: %s\n", qPrintable(shownTitle), qPrintable(text));
    return isQuestion(style) ? MsgResult::No : MsgResult::Ok;
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, InputEcho echo)
{
    const BusyCursor::Lift lift;
    const QString shownTitle = title.isEmpty() ? AppTitle() : title;
    const bool masked = echo == InputEcho::Masked;
    Responder& r = responder();
    if (r.on) {
        msgtest::Call c{true, MsgStyle::Plain, shownTitle, prompt, masked};
        r.calls.append(c);
        return r.input ? r.input(c) : QString();
    }
    const EnPantalla enPantalla;
    if (const auto pedir = cuadros::presentador().entrada)
        return pedir(prompt, shownTitle, defaultText, echo);
    std::fprintf(stderr, "%s: %s\n", qPrintable(shownTitle), qPrintable(prompt));
    return QString();
}

namespace cuadros {
Presentador& presentador()
{
    static Presentador p;
    return p;
}
}  // namespace cuadros

namespace msgtest {
void install(std::function<MsgResult(const Call&)> answer, std::function<QString(const Call&)> input)
{
    Responder& r = responder();
    r.on = true;
    r.answer = std::move(answer);
    r.input = std::move(input);
    r.calls.clear();
    accion::Vigilar();
    accion::Nueva();
}
void uninstall()
{
    Responder& r = responder();
    r.on = false;
    r.answer = nullptr;
    r.input = nullptr;
}
bool installed() { return responder().on; }
const QVector<Call>& calls() { return responder().calls; }
QStringList texts()
{
    QStringList t;
    for (const auto& c : responder().calls)
        t << c.text;
    return t;
}
void clear()
{
    responder().calls.clear();
    accion::Nueva();
}
}  // namespace msgtest
