#include "mAdministracion.h"

#include "msgbox.h"
#include "textfmt.h"

bool EsEnteroValido(const QString& texto, qint64 maximo)
{
    if (texto.isEmpty() || texto.size() > 18)
        return false;
    for (QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return texto.toLongLong() <= maximo;
}

bool ValidarEntero(const QString& texto, qint64 maximo, const QString& campo)
{
    if (EsEnteroValido(texto, maximo))
        return true;
    MsgBox(campo + QStringLiteral(" debe ser un número entero entre 0 y ") + QString::number(maximo), MsgStyle::Exclamation);
    return false;
}

bool ValidarNumeroColumna(const QString& texto, qint64 maximo, const QString& campo)
{
    return !IsPlainNumber(texto) || ValidarEntero(texto, maximo, campo);
}
