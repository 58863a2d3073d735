#include "SerialPort.h"

#include <QFile>
#include <QHash>
#include <QSerialPort>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
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

static PortKind kindOfMode(mode_t mode)
{
    if (S_ISCHR(mode) || S_ISFIFO(mode))
        return PortKind::Usable;
    if (S_ISREG(mode))
        return PortKind::RegularFile;
    if (S_ISDIR(mode))
        return PortKind::Folder;
    return PortKind::Other;
}

PortKind KindOf(const QString& device)
{
    if (device.isEmpty())
        return PortKind::Other;
    struct stat st;
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return PortKind::Missing;
    return kindOfMode(st.st_mode);
}

bool WriteSerial(const QString& device, const QByteArray& bytes, int baud, int dataBits, PortKind* kind)
{
    // QSerialPort opens by name: checked here first. Should the path change
    // in between, it still neither creates nor truncates, and gives up on
    // what is not a terminal before it writes.
    const PortKind k = KindOf(device);
    if (kind)
        *kind = k;
    if (k != PortKind::Usable)
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

// Writes all of bytes to fd within a bounded wait. A FIFO whose reader went
// away fails the write instead of ending the program.
static bool writeAll(int fd, const QByteArray& bytes)
{
    sigset_t pipe, old;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &old);
    qsizetype done = 0;
    bool ok = true;
    bool broken = false;
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
        broken = n < 0 && errno == EPIPE;
        ok = false;
        break;
    }
    if (broken) {
        // The signal this write raised, taken before it is unblocked.
        const timespec now{0, 0};
        sigtimedwait(&pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    return ok;
}

bool WriteFile(const QString& device, const QByteArray& bytes, PortKind* kind)
{
    PortKind k = KindOf(device);
    if (kind)
        *kind = k;
    if (k != PortKind::Usable)
        return false;
    // Neither created nor truncated: a device needs neither. Non-blocking: a
    // serial line without carrier or a FIFO without a reader would otherwise
    // wait.
    const int fd = ::open(QFile::encodeName(device).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // What was opened, not what the path named a moment ago.
    struct stat st;
    k = ::fstat(fd, &st) == 0 ? kindOfMode(st.st_mode) : PortKind::Other;
    if (kind)
        *kind = k;
    if (k != PortKind::Usable) {
        ::close(fd);
        return false;
    }
    termios tio;
    if (::tcgetattr(fd, &tio) == 0) {
        tio.c_oflag &= ~OPOST;
        tio.c_cflag |= CLOCAL;
        tio.c_cflag &= ~CRTSCTS;  // a display without handshake lines still takes text
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    const bool ok = writeAll(fd, bytes);
    ::close(fd);
    return ok;
}

}  // namespace serialport
