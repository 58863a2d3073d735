// Fixtures shared by the catalog tests on the store: stored articles,
// clients and suppliers written directly, and the Kardex rows read back.
// The windows' fixtures are in Escritorio.h.
#pragma once

#include "TestStore.h"

#include <QtTest>

namespace fx {

inline void articulo(const teststore::Target& t, const QString& codigo, int cantidad, double costo, int minimo = 0,
                     int maximo = 0, const QString& imagen = QString())
{
    teststore::execRaw(t, QStringLiteral("INSERT INTO ARTICULOS (codigo_art, descripcion_art, precio_compra, impuesto, "
                                         "precio_venta1, precio_venta2, precio_venta3, cantidad, stock_minimo, stock_maximo, "
                                         "tipo_art, imagen_art, fecha_ingreso_art) VALUES ('%1', 'ART %1', %2, 16, 20, 19, 18, %3, %4, %5, 'FISICO', '%6', "
                                         "'2024-03-05')")
                              .arg(codigo)
                              .arg(costo, 0, 'g', 17)
                              .arg(cantidad)
                              .arg(minimo)
                              .arg(maximo)
                              .arg(imagen));
}

inline QVariant campo(const teststore::Target& t, const QString& codigo, const QString& columna)
{
    return teststore::scalarRaw(t, QStringLiteral("SELECT %1 FROM ARTICULOS WHERE codigo_art = '%2'").arg(columna, codigo));
}
inline int cantidad(const teststore::Target& t, const QString& codigo) { return campo(t, codigo, "cantidad").toInt(); }
inline double costo(const teststore::Target& t, const QString& codigo) { return campo(t, codigo, "precio_compra").toDouble(); }
// The stored article by column name, for COMPARE_ROW; with no such article
// it has no columns, and the check fails.
inline teststore::Row guardado(const teststore::Target& t, const QString& codigo)
{
    const QList<teststore::Row> r =
        teststore::rowsRaw(t, QStringLiteral("SELECT * FROM ARTICULOS WHERE codigo_art = '%1'").arg(codigo));
    return r.isEmpty() ? teststore::Row({}, {}) : r.first();
}

// concepto, unidades_entrantes, unidades_salientes, saldo, precio_compra
inline QList<teststore::Row> kardex(const teststore::Target& t, const QString& codigo)
{
    return teststore::rowsRaw(t, QStringLiteral("SELECT concepto, unidades_entrantes, unidades_salientes, saldo, precio_compra "
                                                "FROM Kardex WHERE codigo_art = '%1'")
                                     .arg(codigo));
}
inline int filas(const teststore::Target& t, const QString& tabla)
{
    return teststore::scalarRaw(t, QStringLiteral("SELECT COUNT(*) FROM ") + tabla).toInt();
}

}  // namespace fx
