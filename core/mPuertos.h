// The ports typed at sign-in for the customer display (gPuertoCOM) and the
// receipt printer (gPuertoLPT). A port that names no device is never
// written; the clerk hears of it once per port text in the session.
#pragma once

#include "SerialPort.h"

#include <QByteArray>
#include <QString>

enum class Aparato { Visor, Impresora };

// The device the port typed for a leads to; "" when the text means no port.
QString DispositivoDe(Aparato a);

// Writes bytes to the port typed for a. An empty port means there is no
// such device: nothing is written and nothing said. A device that does not
// take the bytes is ignored.
void EscribirEnPuerto(Aparato a, const QByteArray& bytes);

// Tells the clerk why the port typed for a cannot be used, once per port
// text; a usable kind says nothing, whether the bytes went out or not, and
// neither does an empty port.
void AvisarPuerto(Aparato a, serialport::PortKind kind);

// What was told is forgotten: a new session, or the ports typed again.
void OlvidarAvisosPuertos();
