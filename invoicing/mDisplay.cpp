#include "Dinero.h"
#include "mDisplay.h"

#include "SerialPort.h"
#include "mPuertos.h"
#include "textfmt.h"

QByteArray BytesDisplay(const QString& mensaje)
{
    const QChar limpiar(12);
    const QString texto = limpiar + QString(40, QLatin1Char(' ')) + QStringLiteral("\r\n") + limpiar + mensaje
                          + QStringLiteral("\r\n");
    return serialport::SingleByte(texto);
}

void EnviarADisplay(const QString& mensaje) { EscribirEnPuerto(Aparato::Visor, BytesDisplay(mensaje)); }

QString TextoLineaDisplay(const QString& subTotal, const QString& descripcion)
{
    return QStringLiteral("$ ") + Dinero::De(Val(subTotal)).Texto() + QLatin1Char(' ') + descripcion.left(30);
}

QString TextoTotalDisplay(const QString& total) { return QStringLiteral("TOTAL $ ") + Dinero::De(Val(total)).Texto(); }
