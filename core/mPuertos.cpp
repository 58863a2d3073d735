#include "mPuertos.h"

#include "mVblesGlobales.h"
#include "msgbox.h"

#include <QSet>

namespace {

QSet<QString> avisados[2];
quint64 sesionAvisada = 0;

const QString& textoPuerto(Aparato a) { return a == Aparato::Visor ? gPuertoCOM : gPuertoLPT; }

QString razon(serialport::PortKind kind)
{
    using serialport::PortKind;
    switch (kind) {
    case PortKind::RegularFile:
        return QStringLiteral("es un archivo común, no un dispositivo");
    case PortKind::Folder:
        return QStringLiteral("es una carpeta, no un dispositivo");
    case PortKind::Missing:
        return QStringLiteral("no existe");
    default:
        return QStringLiteral("no es un puerto ni un dispositivo de caracteres");
    }
}

}  // namespace

QString DispositivoDe(Aparato a)
{
    return a == Aparato::Visor ? serialport::DeviceForCom(gPuertoCOM) : serialport::DeviceForName(gPuertoLPT);
}

void EscribirEnPuerto(Aparato a, const QByteArray& bytes)
{
    serialport::PortKind kind;
    serialport::WriteFile(DispositivoDe(a), bytes, &kind);
    AvisarPuerto(a, kind);
}

void AvisarPuerto(Aparato a, serialport::PortKind kind)
{
    const QString& puerto = textoPuerto(a);
    if (kind == serialport::PortKind::Usable || puerto.trimmed().isEmpty())
        return;
    if (sesionAvisada != NumeroDeSesion()) {
        OlvidarAvisosPuertos();
        sesionAvisada = NumeroDeSesion();
    }
    QSet<QString>& ya = avisados[int(a)];
    if (ya.contains(puerto))
        return;
    ya.insert(puerto);
    const QString causa = QStringLiteral("el puerto «") + puerto + QStringLiteral("» ") + razon(kind) + QStringLiteral(". ");
    if (a == Aparato::Visor)
        MsgBox(QStringLiteral("El visor de cliente no se puede usar: ") + causa
                   + QStringLiteral("Las ventas y las compras siguen sin visor; para usarlo, escriba el puerto correcto en "
                                    "«Conexión» al iniciar la sesión, o déjelo en blanco si no hay visor."),
               MsgStyle::Exclamation);
    else
        MsgBox(QStringLiteral("La impresora de recibos no se puede usar: ") + causa
                   + QStringLiteral("El recibo se imprimió sin abrir la gaveta ni cortar el papel; para usarla, escriba el "
                                    "puerto correcto en «Conexión» al iniciar la sesión, o déjelo en blanco si no hay "
                                    "impresora de recibos."),
               MsgStyle::Exclamation);
}

void OlvidarAvisosPuertos()
{
    for (QSet<QString>& ya : avisados)
        ya.clear();
}
