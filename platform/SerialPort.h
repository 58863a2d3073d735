// Ports of the customer pole display and the receipt printer.
//
// A port is named as the user typed it at sign-in: the display's port is a
// number n (COM n, the serial device /dev/ttyS(n-1)) and the printer's a
// name such as "LPT1" (/dev/lp0); a device path ("/dev/ttyUSB0") is used as
// it is, for USB devices. Every write opens the port, writes and closes it
// again, and reports failure only by its result.
#pragma once

#include <QByteArray>
#include <QString>

namespace serialport {

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
// closes the port.
bool WriteSerial(const QString& device, const QByteArray& bytes, int baud = 9600, int dataBits = 8);

// Opens the device for output as a file that starts empty, with the line's
// current speed, writes the bytes and closes it. A terminal line is switched to raw output
// so that no end-of-line translation changes the bytes.
bool WriteFile(const QString& device, const QByteArray& bytes);

}  // namespace serialport
