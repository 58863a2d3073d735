// Fixtures of the invoicing tests on the store, without a window: a
// signed-in company, stored articles and NCF ranges written directly,
// invoices as values, and the store read back as text for before/after
// comparisons.
#pragma once

#include "Factura.h"
#include "TestStore.h"
#include "mVblesGlobales.h"
#include "textfmt.h"

#include <QDate>
#include <QStringList>
#include <QtTest>
#include <cmath>
#include <initializer_list>

namespace fac {

// Company 1, user 1, no pole display, the given costing method.
inline void firmar(qint32 costeo = 0)
{
    gCodigoEmp = QStringLiteral("1");
    gCodigoUsu = QStringLiteral("1");
    gPuertoCOM.clear();
    gCosteoInventario = costeo;
}

inline void articulo(const teststore::Target& t, const QString& codigo, int cantidad, double p1, double p2, double p3,
                     int impuesto, double costo, int minimo = 0)
{
    teststore::execRaw(t, QStringLiteral("INSERT INTO ARTICULOS (codigo_art, descripcion_art, precio_compra, impuesto, "
                                         "precio_venta1, precio_venta2, precio_venta3, cantidad, stock_minimo, stock_maximo, "
                                         "tipo_art, imagen_art) VALUES ('%1', 'ARTICULO %1', %2, %3, %4, %5, %6, %7, %8, 0, 'FISICO', '')")
                              .arg(codigo)
                              .arg(costo, 0, 'g', 17)
                              .arg(impuesto)
                              .arg(p1, 0, 'g', 17)
                              .arg(p2, 0, 'g', 17)
                              .arg(p3, 0, 'g', 17)
                              .arg(cantidad)
                              .arg(minimo));
}

inline int rango(const teststore::Target& t, const QString& descripcion, const QString& prefijo, int desde, qint64 hasta,
                 qint64 consecutivo, const QString& sucursal = QStringLiteral("1"))
{
    teststore::execRaw(t, QStringLiteral("INSERT INTO ncfs (descripcion, prefijo, desde, hasta, consecutivo, id_sucursal) "
                                         "VALUES ('%1', '%2', %3, %4, %5, '%6')")
                              .arg(descripcion, prefijo)
                              .arg(desde)
                              .arg(hasta)
                              .arg(consecutivo)
                              .arg(sucursal));
    return teststore::scalarRaw(t, QStringLiteral("SELECT MAX(ID) FROM ncfs")).toInt();
}

inline int stock(const teststore::Target& t, const QString& codigo)
{
    return teststore::scalarRaw(t, QStringLiteral("SELECT cantidad FROM ARTICULOS WHERE codigo_art = '%1'").arg(codigo)).toInt();
}
inline int filas(const teststore::Target& t, const QString& tabla)
{
    return teststore::scalarRaw(t, QStringLiteral("SELECT COUNT(*) FROM ") + tabla).toInt();
}
inline QVariant consecutivo(const teststore::Target& t, const QString& columna)
{
    return teststore::scalarRaw(t, QStringLiteral("SELECT %1 FROM empresas WHERE codigo_emp = 1").arg(columna));
}

// A line as the invoice list holds it, with the subtotal the line entry
// works out.
inline LineaFactura linea(const QString& codigo, const QString& cantidad, const QString& valor, const QString& impuesto,
                          const QString& costo = QStringLiteral("0"))
{
    return LineaDeTextos(codigo, QStringLiteral("ARTICULO ") + codigo, cantidad, valor, impuesto,
                         NumText(SubTotalLinea(Val(cantidad), Val(valor), Val(impuesto))), costo);
}

// A new invoice of company 1 and user 1 as the boxes hold it once the apply
// has checked and totalled it, lines in list order.
inline Factura aplicable(const QString& numero, const QString& tercero, const QVector<LineaFactura>& lineas, const QString& abono,
                         const QString& ncf = QString(), const QDate& fecha = QDate(2026, 12, 10))
{
    const TotalesFactura t = CalcularTotales(lineas);
    const CuentaAplicar c = CalcularAplicar(NumText(t.neto), NumText(t.impuesto), QStringLiteral("0"), abono);
    Factura f;
    f.encabezado = {numero,
                    tercero,
                    FormatDate(fecha),
                    c.saldo == 0 ? QStringLiteral("CONTADO") : QStringLiteral("CREDITO"),
                    NumText(c.neto),
                    NumText(c.impuesto),
                    QStringLiteral("0"),
                    abono,
                    NumText(c.saldo),
                    NumText(c.total),
                    QString(),
                    c.estado(),
                    QString(),
                    QStringLiteral("1"),
                    QStringLiteral("1"),
                    ncf};
    f.lineas = lineas;
    return f;
}

// Every row of the tables a sale's apply or annulment touches, as text.
inline QStringList volcado(const teststore::Target& t,
                           std::initializer_list<const char*> tablas = {"Ventas", "Detalles_FacVen", "Fact_xCobrar", "Kardex",
                                                                        "ARTICULOS", "empresas", "ncfs"})
{
    QStringList out;
    for (const char* tabla : tablas) {
        QStringList filas;
        for (const QVariantList& r : teststore::queryRaw(t, QStringLiteral("SELECT * FROM ") + QString::fromLatin1(tabla))) {
            QStringList c;
            for (const QVariant& v : r)
                c << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            filas << c.join(QLatin1Char('|'));
        }
        filas.sort();
        out << QString::fromLatin1(tabla) + QStringLiteral(": ") + filas.join(QStringLiteral(" / "));
    }
    return out;
}

// An amount as whole cents; fails the test when the stored double is not
// the one of its cents (64.00999999999999 is not 64.01).
inline qint64 centavos(const QVariant& v)
{
    const double r = std::nearbyint(v.toDouble() * 100);
    if (v.toDouble() != r / 100)
        QTest::qFail(qPrintable("no es un valor en centavos: " + v.toString()), __FILE__, __LINE__);
    return qint64(r);
}

// Every invoice of facturas: its money in cents, its total paid the sum of
// its payments in abonos, its balance the total less them, and its state
// following the balance. A closed one keeps no payment rows and was paid in
// full.
inline void cuadran(const teststore::Target& t, const QString& facturas, const QString& abonos)
{
    for (const teststore::Row& f : teststore::rowsRaw(t, "SELECT codigo_fac, total, abono, saldo, Estado, valor_neto, "
                                                         "impuesto_total, descuento FROM " + facturas)) {
        const QString n = f["codigo_fac"].toString();
        qint64 pagado = 0;
        for (const QVariantList& p : teststore::queryRaw(t, "SELECT valor_abono FROM " + abonos + " WHERE codigo_fac = " + n))
            pagado += centavos(p[0]);
        const qint64 total = centavos(f["total"]), abono = centavos(f["abono"]), saldo = centavos(f["saldo"]);
        QCOMPARE(total, centavos(f["valor_neto"]) + centavos(f["impuesto_total"]) - centavos(f["descuento"]));
        if (f["Estado"].toString() == "Cancelada") {
            QCOMPARE(saldo, 0);
            QCOMPARE(abono, total);
            QCOMPARE(pagado, 0);
        } else {
            QCOMPARE(f["Estado"].toString(), QString("Sin Cancelar"));
            QCOMPARE(abono, pagado);
            QCOMPARE(saldo, total - pagado);
            QVERIFY(saldo > 0);
        }
    }
}

}  // namespace fac
