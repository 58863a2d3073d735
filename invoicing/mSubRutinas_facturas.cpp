#include "mSubRutinas_facturas.h"

#include "ListView.h"
#include "mFuncionesCajas.h"
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

bool ExisteEnListView(ListView* lvw, const QString& codigo)
{
    const int n = lvw->count();
    for (int i = 1; i <= n; ++i)
        if (lvw->text(i).compare(codigo, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

TotalesFactura CalcularTotalesLista(ListView* lvw) { return CalcularTotales(LineasDeLista(lvw)); }

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
