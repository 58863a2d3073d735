#include "mInventario.h"

#include "mFunciones.h"
#include "mUnidad.h"
#include "msgbox.h"
#include "textfmt.h"

#include <QDate>
#include <algorithm>

namespace {

bool HayFilaActual(const ado::RecordsetPtr& rs)
{
    return rs && rs->isOpen() && !rs->Eof() && !rs->Bof();
}

}  // namespace

bool MoverArticulo(const QString& codigo, qint16 cantidad, double precio, const QString& movimiento,
                   const QString& concepto, OrigenMovimiento origen)
{
    bool movido = false;
    EnUnidad([&](ado::Connection& cn) {
        // The lock keeps other workstations off this article until the unit
        // ends, so the stock read here is the one the movement changes.
        // Every line of an invoice books one movement: the statements are
        // bound, so they are compiled once.
        ado::Recordset art;
        art.Open(QStringLiteral("Select precio_compra,cantidad From ARTICULOS Where ARTICULOS.codigo_art = ? FOR UPDATE"), cn,
                 {codigo});
        if (art.RecordCount() < 1)
            return true;

        const bool inicial = origen == OrigenMovimiento::InventarioInicial;
        const bool entrada = movimiento == EntradaArticulos();
        const bool salida = movimiento == SalidaArticulos();
        const qint64 existencia = art.Fields(QStringLiteral("cantidad")).Value().toLongLong();
        qint64 nueva = existencia;
        if (!inicial) {
            if (salida)
                nueva -= cantidad;
            else if (entrada)
                nueva += cantidad;
            if (origen == OrigenMovimiento::Compra || origen == OrigenMovimiento::CompraAnulada) {
                const double costo = art.Fields(QStringLiteral("precio_compra")).toDouble();
                const double nuevoCosto = CalcularCostoInventario(qint32(std::clamp<qint64>(existencia, INT32_MIN, INT32_MAX)),
                                                                  costo, cantidad, precio, origen);
                if (nuevoCosto != costo) {
                    art.Fields(QStringLiteral("precio_compra")).setValue(nuevoCosto);
                    art.Update();
                }
            }
        }
        art.Close();

        ado::Recordset kardex;
        kardex.Open(QStringLiteral("Select * From Kardex Where 1 = 0"), cn);
        kardex.AddNew();
        kardex.Fields(QStringLiteral("codigo_art")).setValue(codigo);
        kardex.Fields(QStringLiteral("fecha")).setValue(QDate::currentDate());
        kardex.Fields(QStringLiteral("concepto")).setValue(concepto);
        if (entrada) {
            kardex.Fields(QStringLiteral("unidades_entrantes")).setValue(QString::number(cantidad));
            kardex.Fields(QStringLiteral("unidades_salientes")).setValue(QStringLiteral("-"));
        } else if (salida) {
            kardex.Fields(QStringLiteral("unidades_entrantes")).setValue(QStringLiteral("-"));
            kardex.Fields(QStringLiteral("unidades_salientes")).setValue(QString::number(cantidad));
        }
        kardex.Fields(QStringLiteral("saldo")).setValue(inicial ? qint64(cantidad) : nueva);
        kardex.Fields(QStringLiteral("precio_compra")).setValue(precio);
        kardex.Update();
        kardex.Close();

        if (!inicial && nueva != existencia) {
            ado::Recordset upd;
            upd.Open(QStringLiteral("Update ARTICULOS Set cantidad = ? Where ARTICULOS.codigo_art = ?"), cn, {nueva, codigo});
        }
        movido = true;
        return true;
    });
    return movido;
}

bool ActualizarInventario(qint16 cantidad, double precio, const QString& movimiento, const QString& concepto,
                          OrigenMovimiento origen)
{
    if (!HayFilaActual(gRecordset))
        return true;
    const QString codigo = gRecordset->Fields(QStringLiteral("codigo_art")).Text();
    if (EnTransaccion([&](ado::Connection&) {
            MoverArticulo(codigo, cantidad, precio, movimiento, concepto, origen);
            return true;
        }))
        return true;
    ControlErrores();
    return false;
}

double CalcularCostoInventario(qint32 existencia, double costo, qint16 cantidad, double precio,
                               OrigenMovimiento origen)
{
    const bool compra = origen == OrigenMovimiento::Compra;
    const bool anulada = origen == OrigenMovimiento::CompraAnulada;
    if (!compra && !anulada)
        return costo;
    switch (gCosteoInventario) {
    case 0: {  // PromedioPonderado
        const qint64 divisor = compra ? qint64(existencia) + cantidad : qint64(existencia) - cantidad;
        if (divisor <= 0)
            return costo;
        const double valor = compra ? double(existencia) * costo + double(cantidad) * precio
                                    : double(existencia) * costo - double(cantidad) * precio;
        const double promedio = valor / double(divisor);
        if (promedio < 0)
            return costo;
        return RoundHalfEven(promedio);
    }
    case 1:  // PromedioSimple
        return RoundHalfEven((costo + precio) / 2);
    case 2:  // UltimoPrecio
        return precio;
    default:
        return costo;
    }
}

namespace {

// Reads the row of the article codigo among those the stock check's query
// found: a LIKE pattern such as 1_2 finds 102 as well. False when the open
// failed or the article is not among them.
bool FilaDeVerificacion(const QString& sql, const QString& asked, QString& codigo, qint64& existencia, qint64& limite,
                        const QString& columna)
{
    if (!AbrirRecordset(sql))
        return false;
    bool hallada = false;
    bool ok = Trap([&] {
        for (gRecordset->MoveFirst(); !gRecordset->Eof(); gRecordset->MoveNext()) {
            codigo = gRecordset->Fields(QStringLiteral("CODIGO_ART")).Text();
            if (codigo.compare(asked, Qt::CaseInsensitive) != 0)
                continue;
            existencia = gRecordset->Fields(QStringLiteral("CANTIDAD")).Value().toLongLong();
            limite = gRecordset->Fields(columna).Value().toLongLong();
            hallada = true;
            return;
        }
    });
    if (!ok) {
        ControlErrores();
        return false;
    }
    return hallada;
}

}  // namespace

bool VerificarStockMinimo(const QString& sql, qint16 cantidad, const QString& articulo)
{
    QString codigo;
    qint64 existencia = 0, minimo = 0;
    if (!FilaDeVerificacion(sql, articulo, codigo, existencia, minimo, QStringLiteral("STOCK_MINIMO")))
        return false;
    const qint64 queda = existencia - cantidad;
    if (minimo > queda)
        MsgBox(QStringLiteral("El artículo ") + codigo + QStringLiteral(" se encuentra por debajo del stock mínimo el cual es de ")
                   + QString::number(minimo) + QStringLiteral(" Artículos."),
               MsgStyle::Exclamation);
    return queda < 0;
}

bool VerificarStockMaximo(const QString& sql, qint16 cantidad, const QString& articulo)
{
    QString codigo;
    qint64 existencia = 0, maximo = 0;
    if (!FilaDeVerificacion(sql, articulo, codigo, existencia, maximo, QStringLiteral("STOCK_MAXIMO")))
        return false;
    if (maximo < existencia + cantidad) {
        MsgBox(QStringLiteral("El artículo ") + codigo + QStringLiteral(" ha sobrepasado el máximo permitido de artículos el cual es de ")
                   + QString::number(maximo) + QStringLiteral(" Artículos. "),
               MsgStyle::Exclamation);
        return true;
    }
    return false;
}

bool CantidadTecleada(const QString& text, qint16& cantidad)
{
    const QString t = text.trimmed();
    if (!IsPlainNumber(t))
        return false;
    const double v = RoundHalfEven(Val(t));
    if (v < -32768 || v > 32767)
        return false;
    cantidad = qint16(v);
    return true;
}
