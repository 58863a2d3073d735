// Key filters (the procedures and the boxes that use them) and the resize
// rule of list windows.
#include "KeyFilter.h"
#include "ListView.h"
#include "StatusBar.h"
#include "Twips.h"
#include "boxes.h"
#include "mFunciones_listas.h"
#include "mSubRutinas.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

namespace {
// Types text as a keyboard would, accented letters included; a character
// beyond the first plane (an emoji) comes whole in one key.
void teclear(QWidget* w, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) {
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, text.mid(i++, 2), Qt::NoModifier);
            continue;
        }
        const QChar c = text.at(i);
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
}
// A text with the NULs and other controls the literal holds.
template <size_t N>
QString con(const char16_t (&s)[N])
{
    return QString(reinterpret_cast<const QChar*>(s), qsizetype(N - 1));
}

// Pastes through the box's own context menu, as a mouse user would.
bool pegarConMenu(QWidget* box)
{
    bool pegado = false;
    QTimer buscar;
    buscar.setInterval(10);
    QObject::connect(&buscar, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        // The paste entry carries the paste shortcut after a tab.
        const QString atajo = QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* a : menu->actions())
            if (a->text().endsWith(atajo)) {
                a->trigger();
                pegado = true;
            }
        menu->close();
        buscar.stop();
    });
    buscar.start();
    auto* plain = qobject_cast<QPlainTextEdit*>(box);
    QWidget* receptor = plain ? plain->viewport() : box;
    QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(5, 5), receptor->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(receptor, &ev);
    return QTest::qWaitFor([&] { return pegado; }, 2000);
}

// Two boxes in a window, the second under the first; the test filters them
// before it shows the window, as a window's own code does.
struct DosCajas {
    QWidget w;
    QLineEdit* const arriba = new QLineEdit(&w);
    QLineEdit* const abajo = new QLineEdit(&w);
    DosCajas() { abajo->move(0, 40); }
    bool mostrar()
    {
        w.show();
        return QTest::qWaitForWindowExposed(&w);
    }
};

}  // namespace

class TstTeclas : public QObject {
    Q_OBJECT
private slots:
    void texto_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("filtrar");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("keyAfter");
        QTest::newRow("a") << int('a') << true << int('A') << int('a');
        QTest::newRow("z") << int('z') << true << int('Z') << int('z');
        QTest::newRow("á") << 0xE1 << true << 0xC1 << 0xE1;
        QTest::newRow("ñ") << 0xF1 << true << 0xD1 << 0xF1;
        QTest::newRow("ü") << 0xFC << true << 0xDC << 0xFC;
        QTest::newRow("A") << int('A') << true << int('A') << int('A');
        QTest::newRow("digit") << int('5') << true << int('5') << int('5');
        QTest::newRow("minus") << int('-') << true << int('-') << int('-');
        QTest::newRow("quote \"") << int('"') << true << int('"') << int('"');
        QTest::newRow("backspace") << 8 << true << 8 << 8;
        QTest::newRow("enter") << 13 << true << 13 << 13;
        for (char c : QByteArray("!#'*?[]|"))
            QTest::newRow(QByteArray("refused ").append(c).constData()) << int(c) << true << 0 << 0;
        QTest::newRow("' unfiltered") << int('\'') << false << int('\'') << int('\'');
        QTest::newRow("a unfiltered") << int('a') << false << int('A') << int('a');
    }
    void texto()
    {
        QFETCH(int, key);
        QFETCH(bool, filtrar);
        QFETCH(int, result);
        QFETCH(int, keyAfter);
        qint16 k = qint16(key);
        QCOMPARE(int(ValidarTeclaTexto(k, filtrar)), result);
        QCOMPARE(int(k), keyAfter);
    }

    void numero_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("soloDigitos");
        QTest::addColumn<int>("result");
        QTest::newRow("5") << int('5') << true << int('5');
        QTest::newRow("0") << int('0') << true << int('0');
        QTest::newRow("9") << int('9') << true << int('9');
        QTest::newRow("backspace") << 8 << true << 8;
        QTest::newRow("minus") << int('-') << true << 0;
        QTest::newRow("point") << int('.') << true << 0;
        QTest::newRow("enter") << 13 << true << 0;
        QTest::newRow("blank") << int(' ') << true << 0;
        QTest::newRow("colon") << int(':') << true << 0;
        QTest::newRow("letter") << int('a') << true << 0;
        QTest::newRow("letter, any from 48") << int('a') << false << int('a');
        QTest::newRow("colon, any from 48") << int(':') << false << int(':');
        QTest::newRow("slash, any from 48") << int('/') << false << 0;
        QTest::newRow("backspace, any from 48") << 8 << false << 8;
    }
    void numero()
    {
        QFETCH(int, key);
        QFETCH(bool, soloDigitos);
        QFETCH(int, result);
        qint16 k = qint16(key);
        QCOMPARE(int(ValidarTeclaNumero(k, soloDigitos)), result);
        QCOMPARE(int(k), result == 0 ? 0 : key);  // passing keys come back unchanged
    }

    void typedTextIsFiltered()
    {
        QWidget w;
        auto* box = new QLineEdit(&w);
        auto* num = new QLineEdit(&w);
        FiltrarTeclasTexto(box);
        FiltrarTeclasNumero(num);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSignalSpy changes(box, &QLineEdit::textChanged);
        teclear(box, QString::fromUtf8("ab'c!ñ#á*?[]|z"));
        QCOMPARE(box->text(), QString::fromUtf8("ABCÑÁZ"));
        QCOMPARE(changes.count(), 6);  // a refused key changes nothing
        QTest::keyClicks(num, "5-.3a 1");
        QCOMPARE(num->text(), QString("531"));
        QTest::keyClick(num, Qt::Key_Backspace);
        QCOMPARE(num->text(), QString("53"));
    }

    void controlKeysAreNeverFiltered()
    {
        DosCajas c;
        QLineEdit* const num = c.arriba;
        QLineEdit* const next = c.abajo;
        FiltrarTeclasNumero(num);
        QVERIFY(c.mostrar());
        num->setFocus();
        QTest::keyClicks(num, "123");
        QTest::keyClick(num, Qt::Key_Home);
        QTest::keyClick(num, Qt::Key_Delete);
        QCOMPARE(num->text(), QString("23"));
        QTest::keyClick(num, Qt::Key_End);
        QTest::keyClick(num, Qt::Key_Left);
        QTest::keyClicks(num, "9");
        QCOMPARE(num->text(), QString("293"));
        // Enter still reaches the box's own handler.
        QSignalSpy enter(num, &QLineEdit::returnPressed);
        QTest::keyClick(num, Qt::Key_Return);
        QCOMPARE(enter.count(), 1);
        QTest::keyClick(num, Qt::Key_Tab);
        QVERIFY(next->hasFocus());
    }

    void pastedAndDroppedTextIsFiltered()
    {
        QWidget w;
        auto* box = new QLineEdit(&w);
        auto* num = new QLineEdit(&w);
        auto* notes = new QPlainTextEdit(&w);
        num->move(0, 40);
        notes->setGeometry(0, 80, 200, 80);
        FiltrarTeclasTexto(box);
        FiltrarTeclasNumero(num);
        FiltrarTeclasTexto(notes);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        QApplication::clipboard()->setText(QString::fromUtf8("o'brien*s ñ"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QString::fromUtf8("OBRIENS Ñ"));
        QApplication::clipboard()->setText("12a-3.4");
        num->setFocus();
        QTest::keyClick(num, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(num->text(), QString("1234"));
        QApplication::clipboard()->setText("una'nota\nsegunda|linea");
        notes->setFocus();
        QTest::keyClicks(notes, "x'");
        QTest::keyClick(notes, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(notes->toPlainText(), QString("XUNANOTA\nSEGUNDALINEA"));

        box->clear();
        QMimeData mime;
        mime.setText("dr'op");
        const QPoint at = box->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &drop);
        QCOMPARE(box->text(), QString("DROP"));
    }

    void menuPasteIsFiltered()
    {
        QWidget w;
        auto* box = new QLineEdit(&w);
        auto* notes = new QPlainTextEdit(&w);
        notes->setGeometry(0, 40, 200, 80);
        FiltrarTeclasTexto(box);
        FiltrarTeclasTexto(notes);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::clipboard()->setText(QString::fromUtf8("o'brien*s ñ"));
        QVERIFY(pegarConMenu(box));
        QCOMPARE(box->text(), QString::fromUtf8("OBRIENS Ñ"));
        QVERIFY(pegarConMenu(notes));
        QCOMPARE(notes->toPlainText(), QString::fromUtf8("OBRIENS Ñ"));
    }

    // Control characters never enter a box, filtered or not; a multi-line
    // box keeps its line breaks.
    void controlCharactersStayOut_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        const QString controls = con(u"a\0b\tc\x07" u"d\x7f" u"e\x85" u"f\r\ng");
        QTest::newRow("filtered line") << "filtered" << controls << "ABCDEFG";
        QTest::newRow("unfiltered line") << "plain" << con(u"o'b\0r") << "o'br";
        QTest::newRow("numeric line") << "numeric" << con(u"1\0002\t3") << "123";
        QTest::newRow("multi-line") << "notes" << controls << "ABCDEF\nG";
        const QString marks = con(u"a\u202Ab\u202Bc\u202Cd\u202De\u202Ef\u2066g\u2067h\u2068i\u2069j");
        QTest::newRow("direction marks, filtered line") << "filtered" << marks << "ABCDEFGHIJ";
        QTest::newRow("direction marks, multi-line") << "notes" << marks + "\nk"
                                                     << "ABCDEFGHIJ\nK";
    }
    void controlCharactersStayOut()
    {
        QFETCH(QString, box);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        QWidget w;
        QWidget* target = box == "notes" ? static_cast<QWidget*>(new QPlainTextEdit(&w)) : new QLineEdit(&w);
        if (box == "filtered" || box == "notes")
            FiltrarTeclasTexto(target);
        else if (box == "numeric")
            FiltrarTeclasNumero(target);
        else
            KeepControlsOut(target);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::clipboard()->setText(pasted);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        const QString got = box == "notes" ? static_cast<QPlainTextEdit*>(target)->toPlainText()
                                           : static_cast<QLineEdit*>(target)->text();
        QCOMPARE(got, expected);
    }

    // A line box cut at its limit keeps whole characters: an emoji that
    // would be split goes whole, however the text came.
    void textIsCutOnWholeCharacters_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("at");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const QString e = QString::fromUtf8("😀");
        struct Case {
            const char* name;
            int limit;
            QString before;
            int at;
            QString input, inserted, set;
        };
        const Case cases[] = {
            {"emoji at the limit", 5, "ABCD", 4, e, "ABCD", "ABCD"},
            {"emoji up to the limit", 6, "", 0, e + e + e, e + e + e, e + e + e},
            {"emoji past the limit", 5, "", 0, e + e + e, e + e, e + e},
            {"emoji between two letters, room for one", 4, "AB", 1, e + e, "A" + e + "B", "A" + e},
        };
        for (const Case& c : cases) {
            for (const char* box : {"filtered", "guarded"})
                for (const char* way : {"typed", "pasted", "set"})
                    QTest::addRow("%s, %s, %s", c.name, box, way)
                        << box << way << c.limit << c.before << c.at << c.input << (qstrcmp(way, "set") == 0 ? c.set : c.inserted);
            const QString bare = "bare", set = "set";
            QTest::addRow("%s, no filter, set as a box's text", c.name)
                << bare << set << c.limit << c.before << c.at << c.input << c.set;
        }
    }
    void textIsCutOnWholeCharacters()
    {
        QFETCH(QString, box);
        QFETCH(QString, way);
        QFETCH(int, limit);
        QFETCH(QString, before);
        QFETCH(int, at);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        DosCajas c;
        QLineEdit* const line = c.arriba;
        if (box == "filtered")
            FiltrarTeclasTexto(line);
        else if (box == "guarded")
            KeepControlsOut(line);
        line->setMaxLength(limit);
        QVERIFY(c.mostrar());
        const QString whole = before.left(at) + input + before.mid(at);
        if (way == "set" && box == "bare") {
            SetBoxText(line, whole);
        } else if (way == "set") {
            line->setText(whole);
        } else {
            line->setText(before);
            line->setFocus();
            line->setCursorPosition(at);
            if (way == "typed") {
                teclear(line, input);
            } else {
                QApplication::clipboard()->setText(input);
                QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier);
            }
        }
        QCOMPARE(line->text(), expected);
    }

    // The marks that turn the direction of the text stay out like control
    // characters; accented letters pass.
    void directionMarksStayOut_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("mark");
        for (int mark : {0x202A, 0x202B, 0x202C, 0x202D, 0x202E, 0x2066, 0x2067, 0x2068, 0x2069})
            for (const char* box : {"line", "notes"})
                for (const char* way : {"typed", "pasted"})
                    QTest::addRow("U+%04X, %s, %s", mark, box, way) << box << way << mark;
    }
    void directionMarksStayOut()
    {
        QFETCH(QString, box);
        QFETCH(QString, way);
        QFETCH(int, mark);
        QWidget w;
        QWidget* target = box == "notes" ? static_cast<QWidget*>(new QPlainTextEdit(&w)) : new QLineEdit(&w);
        KeepControlsOut(target);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        target->setFocus();
        const QString text = QString::fromUtf8("Peña ") + QChar(char16_t(mark)) + QString::fromUtf8("Ángel Müller");
        if (way == "typed") {
            teclear(target, text);
        } else {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        }
        const QString got =
            box == "notes" ? static_cast<QPlainTextEdit*>(target)->toPlainText() : static_cast<QLineEdit*>(target)->text();
        QCOMPARE(got, QString::fromUtf8("Peña Ángel Müller"));
    }

    // Boxes the windows leave unfiltered get the guard when first shown;
    // a filtered box keeps its own filter.
    void everyBoxShownKeepsControlsOut()
    {
        KeepControlsOutOfEveryBox();
        DosCajas c;
        QLineEdit* const plain = c.arriba;
        QLineEdit* const filtered = c.abajo;
        FiltrarTeclasTexto(filtered);
        QVERIFY(c.mostrar());
        for (QLineEdit* box : {plain, filtered}) {
            QApplication::clipboard()->setText(con(u"o'b\0r"));
            box->setFocus();
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(plain->text(), QString("o'br"));
        QCOMPARE(filtered->text(), QString("OBR"));
    }

    void textSetByTheProgramStaysAsItIs()
    {
        QLineEdit box;
        QPlainTextEdit notes;
        FiltrarTeclasTexto(&box);
        FiltrarTeclasTexto(&notes);
        box.setText("o'brien");
        notes.setPlainText("a'b");
        QCOMPARE(box.text(), QString("o'brien"));
        QCOMPARE(notes.toPlainText(), QString("a'b"));
    }

    // 96 dpi on the test platform: 15 twips per pixel.
    void ajustar_data()
    {
        QTest::addColumn<int>("wTw");
        QTest::addColumn<int>("hTw");
        QTest::addColumn<int>("expectWTw");
        QTest::addColumn<int>("expectHTw");
        QTest::newRow("too small springs back") << 4995 << 1995 << 8950 << 3750;  // 5000 x 2000, whole pixels
        QTest::newRow("narrow only") << 6000 << 6000 << 8950 << 6000;
        QTest::newRow("low only") << 12000 << 3000 << 12000 << 3750;
        QTest::newRow("large stays") << 12000 << 6000 << 12000 << 6000;
    }
    void ajustar()
    {
        QFETCH(int, wTw);
        QFETCH(int, hTw);
        QFETCH(int, expectWTw);
        QFETCH(int, expectHTw);
        if (TwipsToPixelsX(1500) != 100 || TwipsToPixelsY(1500) != 100)
            QSKIP("the figures below assume 96 dpi");
        QWidget w;
        auto* lvw = new ListView(&w);
        lvw->move(0, 30);  // 450 twips
        auto* sb = new StatusBar(&w);
        sb->setFixedHeight(20);  // 300 twips
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // The rule works on the outer frame, as the user drags it.
        const QSize borders = w.frameGeometry().size() - w.size();
        w.resize(QSize(wTw / 15, hTw / 15) - borders);
        QTRY_COMPARE(w.frameGeometry().size(), QSize(wTw / 15, hTw / 15));
        AjustarFormulario(sb, &w, lvw);
        QTRY_COMPARE(w.frameGeometry().size(), QSize(TwipsToPixelsX(expectWTw), TwipsToPixelsY(expectHTw)));
        QCOMPARE(sb->panelWidth(), wTw);  // the panel takes the width as it was dragged
        QCOMPARE(lvw->width(), TwipsToPixelsX(expectWTw - 150));
        QCOMPARE(lvw->height(), TwipsToPixelsY(expectHTw - 450 - 300 - 700));
    }

    void ajustarLeavesMinimisedWindowAlone()
    {
        QWidget w;
        auto* lvw = new ListView(&w);
        auto* sb = new StatusBar(&w);
        lvw->resize(50, 40);
        w.resize(TwipsToPixelsX(5000), TwipsToPixelsY(2000));
        w.showMinimized();
        QVERIFY(w.isMinimized());
        AjustarFormulario(sb, &w, lvw);
        QCOMPARE(sb->panelWidth(), PixelsToTwipsX(w.frameGeometry().width()));
        QCOMPARE(w.size(), QSize(TwipsToPixelsX(5000), TwipsToPixelsY(2000)));
        QCOMPARE(lvw->size(), QSize(50, 40));
    }

    void ajustarChildWindowInWorkspace()
    {
        QMdiArea area;
        area.resize(1200, 800);
        auto* w = new QWidget;
        auto* lvw = new ListView(w);
        auto* sb = new StatusBar(w);
        QMdiSubWindow* sub = area.addSubWindow(w);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        sub->resize(TwipsToPixelsX(5000), TwipsToPixelsY(2000));
        AjustarFormulario(sb, w, lvw);
        // The child's outer frame is what springs back.
        QCOMPARE(sub->size(), QSize(TwipsToPixelsX(8950), TwipsToPixelsY(3750)));
        QCOMPARE(lvw->width(), TwipsToPixelsX(8950 - 150));
    }

    void ajustarLeavesLaidOutListToItsLayout()
    {
        QWidget w;
        auto* lay = new QVBoxLayout(&w);
        auto* lvw = new ListView;
        auto* sb = new StatusBar;
        lay->addWidget(lvw);
        lay->addWidget(sb);
        w.resize(TwipsToPixelsX(12000), TwipsToPixelsY(6000));
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QSize before = lvw->size();
        AjustarFormulario(sb, &w, lvw);
        QCOMPARE(lvw->size(), before);
        QCOMPARE(sb->panelWidth(), PixelsToTwipsX(w.frameGeometry().width()));
    }
};

QTEST_MAIN(TstTeclas)
#include "tst_teclas.moc"
