// The window components other windows build on: file dialog, calendar,
// status panel and the ports of the display and the receipt printer.
#include "FileDialog.h"
#include "MonthView.h"
#include "SerialPort.h"
#include "StatusBar.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

class TstComponentes : public QObject {
    Q_OBJECT
private slots:
    void fileDialogKeepsPathOnCancel()
    {
        QStringList dirs;
        QString answer;
        CommonDialog::setResponderForTest([&](const QString& initDir) {
            dirs << initDir;
            return answer;
        });
        CommonDialog cd;
        cd.InitDir = "/tmp/Imagenes/Articulos";
        cd.ShowOpen();
        QCOMPARE(cd.FileName, QString());  // cancelled: still empty
        answer = "/tmp/Imagenes/Articulos/../Articulos/foto.jpg";
        cd.ShowOpen();
        QCOMPARE(cd.FileName, QString("/tmp/Imagenes/Articulos/foto.jpg"));
        answer.clear();
        cd.ShowOpen();
        QCOMPARE(cd.FileName, QString("/tmp/Imagenes/Articulos/foto.jpg"));
        QCOMPARE(dirs, QStringList(3, "/tmp/Imagenes/Articulos"));
        CommonDialog::setResponderForTest({});
    }

    void calendarReportsTheClickedDay()
    {
        QWidget w;
        auto* cal = new MonthView(&w);
        QVERIFY(!cal->isVisibleTo(&w));
        cal->setValue(QDate(2024, 3, 10));
        QCOMPARE(cal->value(), QDate(2024, 3, 10));
        QSignalSpy clicks(cal, &MonthView::dateClick);
        QWidget* grid = cal->findChild<QTableView*>();
        QVERIFY(grid);
        QTest::keyClick(grid, Qt::Key_Right);  // moving around is not a pick
        QCOMPARE(clicks.count(), 0);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.takeFirst().at(0).toDate(), QDate(2024, 3, 11));
        emit cal->clicked(QDate(2024, 3, 20));
        QCOMPARE(clicks.count(), 1);
    }

    void statusPanelOnAnyStatusBar()
    {
        QStatusBar plain;
        QCOMPARE(StatusText(&plain), QString());
        SetStatusText(&plain, "3 elemento(s) encontrado(s)");
        plain.showMessage("tip");  // a status tip does not wipe the panel
        plain.clearMessage();
        QCOMPARE(StatusText(&plain), QString("3 elemento(s) encontrado(s)"));
        SetStatusPanelWidth(&plain, 9000);
        QCOMPARE(StatusPanelWidth(&plain), 9000);
        QCOMPARE(plain.findChildren<QLabel*>("Panel1").size(), 1);
    }

    void deviceNames_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("asNumber");
        QTest::addColumn<QString>("device");
        QTest::newRow("1") << "1" << true << "/dev/ttyS0";
        QTest::newRow("4") << "4" << true << "/dev/ttyS3";
        QTest::newRow("blanks") << " 2 " << true << "/dev/ttyS1";
        QTest::newRow("0") << "0" << true << "";
        QTest::newRow("text") << "COM1" << true << "";
        QTest::newRow("empty") << "" << true << "";
        QTest::newRow("path") << "/dev/ttyUSB0" << true << "/dev/ttyUSB0";
        QTest::newRow("COM1") << "COM1" << false << "/dev/ttyS0";
        QTest::newRow("COM + path") << "COM/dev/ttyUSB1" << false << "/dev/ttyUSB1";
        QTest::newRow("COM + nothing") << "COM" << false << "";
        QTest::newRow("LPT1") << "LPT1" << false << "/dev/lp0";
        QTest::newRow("lpt2") << "lpt2" << false << "/dev/lp1";
        QTest::newRow("other") << "PRN" << false << "";
    }
    void deviceNames()
    {
        QFETCH(QString, port);
        QFETCH(bool, asNumber);
        QFETCH(QString, device);
        QCOMPARE(asNumber ? serialport::DeviceForCom(port) : serialport::DeviceForName(port), device);
    }

    void overridesPointPortsElsewhere()
    {
        serialport::SetPortOverrideForTest("COM2", "/dev/pts/77");
        serialport::SetPortOverrideForTest("LPT1", "/tmp/printer");
        QCOMPARE(serialport::DeviceForCom("2"), QString("/dev/pts/77"));
        QCOMPARE(serialport::DeviceForName("COM2"), QString("/dev/pts/77"));
        QCOMPARE(serialport::DeviceForName("LPT1"), QString("/tmp/printer"));
        QCOMPARE(serialport::DeviceForCom("1"), QString("/dev/ttyS0"));
        serialport::SetPortOverrideForTest("COM2", QString());
        serialport::SetPortOverrideForTest("LPT1", QString());
        QCOMPARE(serialport::DeviceForCom("2"), QString("/dev/ttyS1"));
    }

    void singleByteText()
    {
        QCOMPARE(serialport::SingleByte(QString::fromUtf8("Facturación ñ$")), QByteArray("Facturaci\xf3n \xf1$"));
        QCOMPARE(serialport::SingleByte(QString::fromUtf8("€")), QByteArray("?"));
    }

    // A text line written to the port as a file reaches the display as it
    // stands: no end-of-line translation on a terminal line.
    void fileWriteToATerminalIsRaw()
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(ptsname(master));
        const QByteArray text = QByteArray("\x0c") + "$ 1,180.00 CEMENTO\r\n";
        QVERIFY(serialport::WriteFile(slave, text));
        QByteArray got;
        while (got.size() < text.size()) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0)
                break;
            char buf[128];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            got.append(buf, int(n));
        }
        ::close(master);
        QCOMPARE(got, text);
        QVERIFY(!serialport::WriteFile("/dev/no-such-port", text));
        QVERIFY(!serialport::WriteSerial("/dev/no-such-port", text));
        QVERIFY(!serialport::WriteFile(QString(), text));
    }
};

QTEST_MAIN(TstComponentes)
#include "tst_componentes.moc"
