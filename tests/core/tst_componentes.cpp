// The window components other windows build on: file dialog, calendar,
// status panel and the ports of the display and the receipt printer.
#include "FileDialog.h"
#include "MonthView.h"
#include "Puertos.h"
#include "SerialPort.h"
#include "StatusBar.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

Q_DECLARE_METATYPE(serialport::PortKind)

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
        serialport::SetPortOverrideForTest("LPT1", "/dev/usb/lp0");
        QCOMPARE(serialport::DeviceForCom("2"), QString("/dev/pts/77"));
        QCOMPARE(serialport::DeviceForName("COM2"), QString("/dev/pts/77"));
        QCOMPARE(serialport::DeviceForName("LPT1"), QString("/dev/usb/lp0"));
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
    // stands: no end-of-line translation on a terminal line, also reached
    // through a link (as /dev/serial/by-id/... are).
    void fileWriteToATerminalIsRaw_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("terminal") << false;
        QTest::newRow("link to the terminal") << true;
    }
    void fileWriteToATerminalIsRaw()
    {
        QFETCH(bool, throughLink);
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        QString slave = QString::fromLocal8Bit(ptsname(master));
        QTemporaryDir dir;
        if (throughLink) {
            QVERIFY(QFile::link(slave, dir.filePath("usb-display-if00")));
            slave = dir.filePath("usb-display-if00");
        }
        const QByteArray text = QByteArray("\x0c") + "$ 1,180.00 CEMENTO\r\n";
        serialport::PortKind kind = serialport::PortKind::Other;
        QVERIFY(serialport::WriteFile(slave, text, &kind));
        QCOMPARE(kind, serialport::PortKind::Usable);
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

    // A port that names anything but a character device or a FIFO is left
    // as it was, by either way of writing, and the write says what it is.
    void portsThatNameNoDevice_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<serialport::PortKind>("kind");
        using serialport::PortKind;
        QTest::newRow("store file") << "almacén" << PortKind::RegularFile;
        QTest::newRow("text file") << "archivo" << PortKind::RegularFile;
        QTest::newRow("link to a file") << "enlace" << PortKind::RegularFile;
        QTest::newRow("folder") << "carpeta" << PortKind::Folder;
        QTest::newRow("missing") << "nada" << PortKind::Missing;
        QTest::newRow("socket") << "socket" << PortKind::Other;
        QTest::newRow("no port") << "ninguno" << PortKind::Other;
    }
    void portsThatNameNoDevice()
    {
        QFETCH(QString, tipo);
        QFETCH(serialport::PortKind, kind);
        QTemporaryDir dir;
        QString ruta;
        int sock = -1;
        if (tipo == "enlace") {
            ruta = dir.filePath("enlace");
            QVERIFY(QFile::link(puertos::puertoNoDispositivo("archivo", dir, {}), ruta));
        } else if (tipo == "socket") {
            ruta = dir.filePath("socket");
            sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un a{};
            a.sun_family = AF_UNIX;
            qstrncpy(a.sun_path, QFile::encodeName(ruta).constData(), sizeof a.sun_path);
            QVERIFY(sock >= 0 && ::bind(sock, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0);
        } else if (tipo != "ninguno") {
            ruta = puertos::puertoNoDispositivo(tipo, dir, {});
        }
        if (QTest::currentTestFailed())
            return;
        const QByteArray antes = puertos::huella(ruta);
        const QByteArray codes("\x1bp\x00\x19\xfa\r\n\x1dV0\r\n", 12);
        serialport::PortKind porArchivo = serialport::PortKind::Usable, porLinea = porArchivo;
        const bool escrito = serialport::WriteFile(ruta, codes, &porArchivo);
        const bool enLinea = serialport::WriteSerial(ruta, codes, 9600, 8, &porLinea);
        if (sock >= 0)
            ::close(sock);
        QCOMPARE(puertos::huella(ruta), antes);
        QVERIFY(!escrito && !enLinea);
        QCOMPARE(porArchivo, kind);
        QCOMPARE(porLinea, kind);
        QCOMPARE(serialport::KindOf(ruta), kind);
    }

    // A FIFO takes each write whole, in turn; without a reader, or with one
    // that goes away halfway, the write fails at once and the program goes
    // on.
    void fifoTakesTheBytes()
    {
        QTemporaryDir dir;
        const QByteArray text = QByteArray("\x0c") + "TOTAL $ 1,475.00\r\n";
        serialport::PortKind kind = serialport::PortKind::Other;
        {
            puertos::Fifo fifo(dir);
            QVERIFY(fifo.lector >= 0);
            QVERIFY(serialport::WriteFile(fifo.ruta, text, &kind));
            QCOMPARE(kind, serialport::PortKind::Usable);
            QVERIFY(serialport::WriteFile(fifo.ruta, "x"));
            QCOMPARE(fifo.leer(), text + "x");
        }
        QElapsedTimer reloj;
        reloj.start();
        kind = serialport::PortKind::Other;
        QVERIFY(!serialport::WriteFile(dir.filePath("puerto"), text, &kind));
        QCOMPARE(kind, serialport::PortKind::Usable);
        QVERIFY(reloj.elapsed() < 1000);

        // More than the pipe holds, and the reader leaves after a first part.
        puertos::Fifo fifo(dir, "otro");
        const int lector = fifo.lector;
        fifo.lector = -1;
        std::thread t([lector] {
            char buf[1024];
            pollfd p{lector, POLLIN, 0};
            if (::poll(&p, 1, 2000) > 0)
                (void)::read(lector, buf, sizeof buf);
            ::close(lector);
        });
        QVERIFY(!serialport::WriteFile(fifo.ruta, QByteArray(1 << 20, 'x')));
        t.join();
    }
};

QTEST_MAIN(TstComponentes)
#include "tst_componentes.moc"
