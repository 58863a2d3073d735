// The invoice windows' boxes and list as invoice values, and the
// line-entry pieces both invoice windows share.
#pragma once

#include "Factura.h"
#include "boxes.h"
#include "mInventario.h"
#include "mUnidad.h"
#include "mVblesGlobales.h"

#include <QHash>
#include <QString>
#include <functional>

class ListView;

// ---- the store ----

// The boxes and the list as an invoice value: header column i = box i as
// it holds the text, the lines in list order.
Factura FacturaDe(const BoxArray& txt, ListView* lvw);
QVector<LineaFactura> LineasDeLista(ListView* lvw);

// Adds the header row of a new invoice to tabla ("Ventas", "Compras"):
// column i = box i, as the boxes hold the text, or cambios[i] when given.
void GuardarEncabezadoFactura(const BoxArray& txt, const QString& tabla, const QHash<int, QString>& cambios = {});

// Writes one row of tabla ("Detalles_FacVen", "Detalles_FacCom") per list
// item, in list order, and moves each line's stock with concepto. The row
// is stored first and stays the current row of gRecordset while its stock
// moves (the movement reads the article from there); within the unit the
// order does not show.
void GuardarDetalleFactura(const QString& numero, const QString& empresa, const QString& tabla, ListView* lvw,
                           const QString& movimiento, const QString& concepto, OrigenMovimiento origen);

// Fills the list from the stored lines that sql selects (codigo_art,
// descripcion_art, cantidad, valor_unitario, impuesto, SubTotal,
// precio_compra_det, by name); a failed query or no row leaves the list.
void CargarDetalleFactura(ListView* lvw, const QString& sql);

// True when an item text of the list equals codigo, ignoring case.
bool ExisteEnListView(ListView* lvw, const QString& codigo);

// ---- line entry ----

// CalcularTotales of the listed lines.
TotalesFactura CalcularTotalesLista(ListView* lvw);

// Inserts the line at the top of the list.
void AgregarLineaALista(ListView* lvw, const LineaFactura& linea);

// The line entry of one invoice window: its mode (3 idle, 2 adding, 1
// editing) and the line being entered. Each window keeps its own; the
// shared gModoDetalle and gLineaFactura mirror the window that changed them
// last, for readers outside, and are cleared only by that window.
class EntradaDetalle {
public:
    EntradaDetalle() = default;
    ~EntradaDetalle() { Soltar(); }
    EntradaDetalle(const EntradaDetalle&) = delete;
    EntradaDetalle& operator=(const EntradaDetalle&) = delete;

    qint32 modo() const { return modo_; }
    const LineaFactura& linea() const { return linea_; }
    void setModo(qint32 m);
    void setLinea(const LineaFactura& l);
    // The window closes: the shared values go to 0 unless another window
    // has taken them over since.
    void Soltar();

private:
    void Reflejar();
    qint32 modo_ = 3;
    LineaFactura linea_;
};
