#include "mSubRutinas_facturas.h"

#include "ListView.h"
#include "mFunciones.h"
#include "textfmt.h"

#include <QWidget>

Factura FacturaDe(const BoxArray& txt, ListView* lvw)
{
    Factura f;
    f.encabezado = LeerCajas(txt);
    if (lvw)
        f.lineas = LineasDeLista(lvw);
    return f;
}

QVector<LineaFactura> LineasDeLista(ListView* lvw)
{
    QVector<LineaFactura> lineas;
    const int n = lvw->count();
    lineas.reserve(n);
    for (int i = 1; i <= n; ++i)
        lineas.append(LineaDeTextos(lvw->text(i), lvw->subItem(i, 1), lvw->subItem(i, 2), lvw->subItem(i, 3),
                                    lvw->subItem(i, 4), lvw->subItem(i, 5), lvw->subItem(i, 6)));
    return lineas;
}

void GuardarEncabezadoFactura(const BoxArray& txt, const QString& tabla, const QHash<int, QString>& cambios)
{
    GuardarEncabezado(FacturaDe(txt, nullptr), tabla, cambios);
}

void GuardarDetalleFactura(const QString& numero, const QString& empresa, const QString& tabla, ListView* lvw,
                           const QString& movimiento, const QString& concepto, OrigenMovimiento origen)
{
    GuardarDetalle(numero, empresa, tabla, LineasDeLista(lvw), movimiento, concepto, origen);
}

void CargarDetalleFactura(ListView* lvw, const QString& sql)
{
    if (!AbrirRecordset(sql))
        return;
    ado::Recordset& rs = *gRecordset;
    if (rs.RecordCount() < 1)
        return;
    lvw->clear();
    rs.MoveFirst();
    static const char* const columnas[] = {"descripcion_art", "cantidad", "valor_unitario", "impuesto", "SubTotal",
                                           "precio_compra_det"};
    for (gIndice = 1; !rs.Eof(); ++gIndice) {
        const int i = lvw->add(int(gIndice), rs.Fields(QStringLiteral("codigo_art")).Text());
        for (const char* c : columnas)
            lvw->addSubItem(i, rs.Fields(QString::fromLatin1(c)).Text());
        rs.MoveNext();
    }
}

void AnularDetalleFactura(const QString& sql, const QString& movimiento, const QString& concepto,
                          OrigenMovimiento origen)
{
    // One walk of the lines: the movement reads the article from the
    // current row of gRecordset, the quantity and price come from that row
    // too (a second open need not return the rows in the same order).
    const ado::RecordsetPtr lineas = std::make_shared<ado::Recordset>();
    gRecordset = lineas;
    ado::Recordset& rs = *lineas;
    rs.Open(sql, Conexion());
    while (!rs.Eof()) {
        const double cantidad = RoundHalfEven(rs.Fields(QStringLiteral("cantidad")).toDouble());
        if (cantidad < -32768 || cantidad > 32767)
            throw ado::Error{ado::err::Overflow, QStringLiteral("Desbordamiento")};
        MoverArticulo(rs.Fields(QStringLiteral("codigo_art")).Text(), qint16(cantidad),
                      rs.Fields(QStringLiteral("precio_compra_det")).toDouble(), movimiento, concepto, origen);
        rs.MoveNext();
    }
}

void InsertarAbono(const Abono& abono, const QString& tabla)
{
    ado::Recordset rs;
    rs.Open(QStringLiteral("Select * From ") + tabla + QStringLiteral(" Where 1 = 0"), Conexion());
    rs.AddNew();
    rs.Fields(0).setValue(abono.codigo_fac);
    rs.Fields(1).setValue(abono.num_abono);
    rs.Fields(2).setValue(abono.valor_abono);
    rs.Fields(3).setValue(abono.fecha_abono);
    rs.Fields(4).setValue(abono.codigo_emp);
    rs.Update();
}

bool ExisteEnListView(ListView* lvw, const QString& codigo)
{
    const int n = lvw->count();
    for (int i = 1; i <= n; ++i)
        if (lvw->text(i).compare(codigo, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

double SubTotalLinea(double cantidad, double valorUnitario, double impuesto)
{
    return RoundHalfEven((impuesto / 100 + 1) * (valorUnitario * cantidad));
}

TotalesFactura CalcularTotalesLista(ListView* lvw) { return CalcularTotales(LineasDeLista(lvw)); }

static bool Entero16(const QString& text, qint16& out)
{
    const QString t = text.trimmed();
    if (!IsPlainNumber(t))
        return false;
    const double v = RoundHalfEven(Val(t));
    if (v < -32768 || v > 32767)
        return false;
    out = qint16(v);
    return true;
}

static bool Numero(const QString& text, double& out)
{
    const QString t = text.trimmed();
    if (!IsPlainNumber(t))
        return false;
    out = Val(t);
    return true;
}

bool LeerLinea(const QString& codigo, const QString& descripcion, const QString& cantidad, const QString& valor,
               const QString& impuesto, const QString& subTotal, const QString& precioCompra, LineaFactura& linea)
{
    LineaFactura l;
    l.codigo_art = codigo;
    l.descripcion_art = descripcion;
    if (!Entero16(cantidad, l.cantidad) || !Numero(valor, l.valor_unitario) || !Entero16(impuesto, l.impuesto)
        || !Numero(subTotal, l.SubTotal) || !Numero(precioCompra, l.precio_compra))
        return false;
    linea = l;
    return true;
}

LineaFactura LineaDeTextos(const QString& codigo, const QString& descripcion, const QString& cantidad, const QString& valor,
                           const QString& impuesto, const QString& subTotal, const QString& precioCompra)
{
    LineaFactura l;
    if (LeerLinea(codigo, descripcion, cantidad, valor, impuesto, subTotal, precioCompra, l))
        return l;
    l.codigo_art = codigo;
    l.descripcion_art = descripcion;
    l.cantidad = qint16(qBound(-32768.0, RoundHalfEven(Val(cantidad)), 32767.0));
    l.valor_unitario = Val(valor);
    l.impuesto = qint16(qBound(-32768.0, RoundHalfEven(Val(impuesto)), 32767.0));
    l.SubTotal = Val(subTotal);
    l.precio_compra = Val(precioCompra);
    return l;
}

void AgregarLineaALista(ListView* lvw, const LineaFactura& l)
{
    const int i = lvw->add(1, l.codigo_art);
    lvw->addSubItem(i, l.descripcion_art);
    lvw->addSubItem(i, QString::number(l.cantidad));
    lvw->addSubItem(i, NumText(l.valor_unitario));
    lvw->addSubItem(i, QString::number(l.impuesto));
    lvw->addSubItem(i, NumText(l.SubTotal));
    lvw->addSubItem(i, NumText(l.precio_compra));
}

namespace {
const EntradaDetalle* gDueno = nullptr;
}

void EntradaDetalle::Reflejar()
{
    gDueno = this;
    gModoDetalle = modo_;
    gLineaFactura = linea_;
}

void EntradaDetalle::setModo(qint32 m)
{
    modo_ = m;
    Reflejar();
}

void EntradaDetalle::setLinea(const LineaFactura& l)
{
    linea_ = l;
    Reflejar();
}

void EntradaDetalle::Soltar()
{
    if (gDueno != this)
        return;
    gDueno = nullptr;
    gModoDetalle = 0;
}
