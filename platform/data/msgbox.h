// Message boxes and the one-line input prompt. Every box of the program goes
// through here, so that a test can answer them and read what a user saw.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

enum class MsgStyle {
    Plain,                // OK, no icon
    Exclamation,          // OK, exclamation icon
    Critical,             // OK, stop icon
    Information,          // OK, information icon
    Question,             // Yes/No, question icon, Yes default
    ExclamationQuestion,  // Yes/No, exclamation icon, Yes default
    QuestionNoDefault,    // Yes/No, question icon, No default
};

enum class MsgResult { Ok, Yes, No };

// Title of untitled boxes.
QString AppTitle();

MsgResult MsgBox(const QString& text, MsgStyle style = MsgStyle::Plain, const QString& title = QString());

// How the prompt shows what is typed: as typed, or masked for a password.
enum class InputEcho { Normal, Masked };

// Returns the typed text, or "" on Cancel.
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString(),
                 InputEcho echo = InputEcho::Normal);

// A clerk's action (a click, a key) tells a failure that the clerk can only
// wait out or repeat (the connection, a busy store, a record changed on
// another workstation) once: after that message the action's later boxes
// that only report failure are not shown. Questions still are.
namespace accion {
// A new action begins. The program's mouse and key presses do this by
// themselves once Vigilar has run; presses inside a box do not.
void Nueva();
void Vigilar();
// The action's failure has been told.
void Contado();
bool YaContado();
// A number that grows with each action.
quint64 Numero();
}  // namespace accion

// Who shows the boxes on the screen: the widget kit sets it when the
// program starts (InstalarCuadros). Without one a box is written to the
// error output and answered No.
namespace cuadros {
struct Presentador {
    std::function<MsgResult(const QString& texto, MsgStyle estilo, const QString& titulo)> mensaje;
    std::function<QString(const QString& texto, const QString& titulo, const QString& inicial, InputEcho eco)> entrada;
};
Presentador& presentador();
}  // namespace cuadros

namespace msgtest {

struct Call {
    bool input = false;     // true for the input prompt
    MsgStyle style = MsgStyle::Plain;
    QString title;          // as shown (the program's title when untitled)
    QString text;
    bool masked = false;  // the prompt masked the answer
};

// While installed, no box is shown: every call is recorded and answered.
// Unanswered questions get Yes; unanswered prompts get "". Installing and
// clearing begin a new action; boxes an action keeps back are not recorded.
void install(std::function<MsgResult(const Call&)> answer = {},
             std::function<QString(const Call&)> input = {});
void uninstall();
bool installed();
const QVector<Call>& calls();
QStringList texts();
void clear();

}  // namespace msgtest
