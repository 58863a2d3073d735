#include "mEnganches.h"

#include <QHash>

namespace {
QHash<QString, std::any>& tabla()
{
    static QHash<QString, std::any> t;
    return t;
}
}  // namespace

void enganches::poner(const QString& nombre, std::any valor)
{
    if (valor.has_value())
        tabla().insert(nombre, std::move(valor));
    else
        tabla().remove(nombre);
}

const std::any* enganches::buscar(const QString& nombre)
{
    auto it = tabla().constFind(nombre);
    return it == tabla().constEnd() ? nullptr : &it.value();
}
