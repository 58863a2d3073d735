// The wait cursor: shown while a guard lives, gone on every way out, and
// lifted while a message box shows.
#include "Cuadros.h"
#include "BusyCursor.h"
#include "msgbox.h"

#include <QApplication>
#include <QtTest>
#include <stdexcept>

namespace {

QString cursor()
{
    const QCursor* c = QApplication::overrideCursor();
    if (!c)
        return QStringLiteral("none");
    return c->shape() == Qt::WaitCursor ? QStringLiteral("wait") : QStringLiteral("other");
}

}  // namespace

class TstBusyCursor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstalarCuadros(); }  // the real boxes and cursor
    void cleanup()
    {
        msgtest::uninstall();
        QVERIFY(!QApplication::overrideCursor());
    }

    void nestsAndGoesOnEveryPath()
    {
        {
            const BusyCursor a;
            QCOMPARE(cursor(), QString("wait"));
            {
                const BusyCursor b;
                QCOMPARE(BusyCursor::depth(), 2);
            }
            QCOMPARE(cursor(), QString("wait"));
        }
        QCOMPARE(cursor(), QString("none"));
        try {
            const BusyCursor a;
            throw std::runtime_error("fallo");
        } catch (const std::exception&) {
        }
        QCOMPARE(cursor(), QString("none"));
        QCOMPARE(BusyCursor::depth(), 0);
    }

    // Boxes and prompts show with the normal cursor; the work's cursor
    // comes back after them.
    void liftedWhileABoxShows()
    {
        QStringList seen;
        msgtest::install(
            [&](const msgtest::Call&) {
                seen << cursor();
                return MsgResult::Yes;
            },
            [&](const msgtest::Call&) {
                seen << cursor();
                return QString();
            });
        {
            const BusyCursor a;
            const BusyCursor b;
            MsgBox("uno", MsgStyle::Critical);
            QCOMPARE(cursor(), QString("wait"));
            InputBox("dos");
            QCOMPARE(cursor(), QString("wait"));
        }
        QCOMPARE(seen, QStringList({"none", "none"}));
        QCOMPARE(cursor(), QString("none"));
    }
};

QTEST_MAIN(TstBusyCursor)
#include "tst_busycursor.moc"
