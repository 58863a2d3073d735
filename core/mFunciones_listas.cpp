#include "mFunciones_listas.h"

#include "KeyFilter.h"

#include <QChar>

qint16 ValidarTeclaTexto(qint16& KeyAscii, bool filtrar)
{
    const char16_t code = char16_t(quint16(KeyAscii));
    if (filtrar) {
        switch (code) {
        case u'!': case u'#': case u'\'': case u'*': case u'?': case u'[': case u']': case u'|':
            KeyAscii = 0;
            return 0;
        default:
            break;
        }
    }
    return qint16(QChar(code).toUpper().unicode());
}

qint16 ValidarTeclaNumero(qint16& KeyAscii, bool soloDigitos)
{
    const int code = quint16(KeyAscii);
    if (code == 8)
        return KeyAscii;
    if (soloDigitos ? (code >= '0' && code <= '9') : code >= '0')
        return KeyAscii;
    KeyAscii = 0;
    return 0;
}

void FiltrarTeclasTexto(QWidget* box)
{
    InstallKeyFilter(box, [](int code) {
        qint16 k = qint16(code);
        return int(quint16(ValidarTeclaTexto(k, true)));
    });
}

void FiltrarTeclasNumero(QWidget* box)
{
    InstallKeyFilter(box, [](int code) {
        qint16 k = qint16(code);
        return int(quint16(ValidarTeclaNumero(k, true)));
    });
}
