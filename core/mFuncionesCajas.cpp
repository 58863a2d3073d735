#include "mFuncionesCajas.h"

#include "KeyFilter.h"

#include <QLineEdit>

ValoresCajas LeerCajas(const BoxArray& txt)
{
    ValoresCajas v;
    v.reserve(txt.size());
    for (const QWidget* box : txt)
        v.append(box ? std::optional<QString>(BoxText(box)) : std::nullopt);
    return v;
}

bool DatosActualizados(const BoxArray& txt, const QString& source, qint32 modo, const FilaCargada& cargada)
{
    return DatosActualizados(LeerCajas(txt), source, modo, cargada);
}

void AjustarCajas(const BoxArray& cajas, const QString& tabla, int primera)
{
    // What one store accepts the other does too: the limits are the store's.
    const ado::TableInfo* t = gConexion ? gConexion->catalog().table(tabla) : nullptr;
    for (int i = 0; i < cajas.size(); ++i) {
        if (!cajas[i])
            continue;
        KeepControlsOut(cajas[i]);
        auto* linea = qobject_cast<QLineEdit*>(cajas[i]);
        const int c = primera + i;
        if (linea && t && c < t->columns.size() && t->columns[c].maxChars > 0)
            linea->setMaxLength(qMin(linea->maxLength(), t->columns[c].maxChars));
    }
}

