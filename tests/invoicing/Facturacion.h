// Fixtures of the invoicing tests: a signed-in company, stored articles and
// NCF ranges written directly, a cash-dialog responder, and the store read
// back as text for before/after comparisons.
#pragma once

#include "TestStore.h"
#include "fRecibirDinero.h"
#include "fVentas.h"
#include "mVblesGlobales.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace fac {

// Company 1, user 1, no pole display.
inline void firmar()
{
    gCodigoEmp = QStringLiteral("1");
    gCodigoUsu = QStringLiteral("1");
    gPuertoCOM.clear();
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

// Every row of the tables an apply or an annulment touches, as text.
inline QStringList volcado(const teststore::Target& t)
{
    QStringList out;
    for (const char* tabla : {"Ventas", "Detalles_FacVen", "Fact_xCobrar", "Kardex", "ARTICULOS", "empresas", "ncfs"}) {
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

// The cash dialog answered with the amount due (or efectivo) and closed.
inline void pagarCon(const QString& efectivo = QString())
{
    fRecibirDinero::alMostrar = [efectivo](fRecibirDinero& d) {
        d.tEfectivo->setText(efectivo.isEmpty() ? d.tTotal->text() : efectivo);
        d.tEfectivo_LostFocus();
        d.bCerrar->click();
    };
}

// One line entered by hand: "Adicionar", code, quantity, price level
// (0-based item of the unit-value box), "Actualizar".
inline void linea(fVentas& w, const QString& codigo, const QString& cantidad = QStringLiteral("1"), int nivel = 0)
{
    w.bAdicionarArticulo->click();
    w.txtDetalle[1]->setEditText(codigo);
    w.txtDetalle[2]->setEditText(cantidad);
    if (nivel > 0)
        w.txtDetalle[3]->setCurrentIndex(nivel);
    w.bActualizarArticulo->click();
}

inline void elegirNcf(fVentas& w, int indice)
{
    w.ComboNcf->setCurrentIndex(indice);
    w.ComboNcf_Click();
}

inline QString caja(fVentas& w, int i) { return BoxText(w.txt[i]); }
inline void escribir(fVentas& w, int i, const QString& texto) { SetBoxText(w.txt[i], texto); }

}  // namespace fac
