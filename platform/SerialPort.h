// Ports of the customer pole display and the receipt printer.
//
// A port is named as the user typed it at sign-in: the display's port is a
// number n (COM n, the serial device /dev/ttyS(n-1)) and the printer's a
// name such as "LPT1" (/dev/lp0); a device path ("/dev/ttyUSB0") is used as
// it is, for USB devices. Every write opens the port, writes and closes it
// again, and reports failure only by its result. Only a character device or
// a FIFO is ever written: a port that names a file (the store's, say), a
// folder or nothing at all is left as it is, and the write says what the
// port names.
#pragma once

#include <QByteArray>
#include <QString>

namespace serialport {

// What a port's path names, as far as writing to it goes.
enum class PortKind {
    Usable,       // a character device (terminal, serial or USB line, printer) or a FIFO
    Missing,      // nothing there, or nothing this user can reach
    RegularFile,  // a file such as the store
    Folder,
    Other,  // a socket, a block device, or a name that means no port
};

// What device names now, links followed.
PortKind KindOf(const QString& device);

// Device of the display port typed as a number ("1" -> /dev/ttyS0) or a
// path; "" when the text is neither.
QString DeviceForCom(const QString& number);
// Device of a port name: "COM1", "LPT1", "COM" + a path, or a path; "" when
// the name means no port.
QString DeviceForName(const QString& name);

// Tests point a port ("COM1", "LPT1") at a device of their own, such as a
// pseudo-terminal; an empty path removes the override.
void SetPortOverrideForTest(const QString& port, const QString& devicePath);

// Text as the display and the printer take it: one byte per character in
// the single-byte Western code page ("ó" is 0xF3); characters outside it
// become "?".
QByteArray SingleByte(const QString& text);

// Opens the device as a serial line with the given speed and word length
// (no parity, one stop bit), writes the bytes, waits until they left and
// closes the port. *kind, when given, is what the device names; anything
// but a usable one is not opened.
bool WriteSerial(const QString& device, const QByteArray& bytes, int baud = 9600, int dataBits = 8, PortKind* kind = nullptr);

// Opens the device for output, with the line's current speed, writes the
// bytes and closes it. A terminal line is switched to raw output so that no
// end-of-line translation changes the bytes. Nothing is created or
// truncated, and what was opened is written only when it is a usable kind;
// *kind, when given, is that kind.
bool WriteFile(const QString& device, const QByteArray& bytes, PortKind* kind = nullptr);

}  // namespace serialport
