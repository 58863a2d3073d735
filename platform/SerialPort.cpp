#include "SerialPort.h"

#include <QHash>
#include <QSerialPort>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace serialport {

static QHash<QString, QString>& overrides()
{
    static QHash<QString, QString> o;
    return o;
}

void SetPortOverrideForTest(const QString& port, const QString& devicePath)
{
    if (devicePath.isEmpty())
        overrides().remove(port.toUpper());
    else
        overrides().insert(port.toUpper(), devicePath);
}

static QString numbered(const QString& prefix, const QString& number, const QString& devicePrefix)
{
    bool ok = false;
    const int n = number.trimmed().toInt(&ok);
    if (!ok || n < 1)
        return QString();
    const QString port = prefix + QString::number(n);
    auto it = overrides().constFind(port);
    if (it != overrides().constEnd())
        return it.value();
    return devicePrefix + QString::number(n - 1);
}

QString DeviceForCom(const QString& number)
{
    const QString t = number.trimmed();
    if (t.startsWith(QLatin1Char('/')))
        return t;
    return numbered(QStringLiteral("COM"), t, QStringLiteral("/dev/ttyS"));
}

QString DeviceForName(const QString& name)
{
    const QString t = name.trimmed();
    if (t.startsWith(QLatin1Char('/')))
        return t;
    const QString up = t.toUpper();
    if (up.startsWith(QLatin1String("COM")))
        return DeviceForCom(t.mid(3));
    if (up.startsWith(QLatin1String("LPT")))
        return numbered(QStringLiteral("LPT"), t.mid(3), QStringLiteral("/dev/lp"));
    return QString();
}

QByteArray SingleByte(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(c.unicode() < 256 ? char(c.unicode()) : '?');
    return out;
}

bool WriteSerial(const QString& device, const QByteArray& bytes, int baud, int dataBits)
{
    if (device.isEmpty())
        return false;
    QSerialPort port;
    port.setPortName(device);
    if (!port.open(QIODevice::WriteOnly))
        return false;
    port.setBaudRate(baud);
    port.setDataBits(QSerialPort::DataBits(dataBits));
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    bool ok = port.write(bytes) == bytes.size();
    // A display that never takes the bytes must not hang the window.
    while (ok && port.bytesToWrite() > 0)
        ok = port.waitForBytesWritten(2000);
    port.close();
    return ok;
}

bool WriteFile(const QString& device, const QByteArray& bytes)
{
    if (device.isEmpty())
        return false;
    // Non-blocking open: a serial line without carrier would otherwise wait.
    // Truncated as an output file starts: a plain file standing for the port
    // holds this write only (devices ignore it).
    const int fd = ::open(device.toLocal8Bit().constData(), O_WRONLY | O_TRUNC | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    termios tio;
    if (::tcgetattr(fd, &tio) == 0) {
        tio.c_oflag &= ~OPOST;
        tio.c_cflag |= CLOCAL;
        tio.c_cflag &= ~CRTSCTS;  // a display without handshake lines still takes text
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    qsizetype done = 0;
    bool ok = true;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 2000) > 0)
                continue;
        }
        ok = false;
        break;
    }
    ::close(fd);
    return ok;
}

}  // namespace serialport
