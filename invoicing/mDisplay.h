// The customer pole display on the serial port "COM" + gPuertoCOM.
#pragma once

#include <QByteArray>
#include <QString>

// Blanks the display, then clears it again and shows mensaje. The port is
// opened raw for output, written within a bounded time and closed; a
// display that is absent or busy is ignored, and a port that names no
// device is told once (EscribirEnPuerto).
void EnviarADisplay(const QString& mensaje);

// The bytes EnviarADisplay writes for mensaje: code 12 and 40 blanks, then
// code 12 and the message, each line ended by CR LF, in single-byte text.
QByteArray BytesDisplay(const QString& mensaje);

// "$ " + subtotal as "##,##0.00" + " " + the first 30 characters of the
// description (the boxes' texts as typed).
QString TextoLineaDisplay(const QString& subTotal, const QString& descripcion);
// "TOTAL $ " + total as "##,##0.00".
QString TextoTotalDisplay(const QString& total);
