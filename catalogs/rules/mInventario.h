// Stock movements: every change of an article's stock goes through
// ActualizarInventario, which moves the quantity, revalues the cost of
// purchases and appends the Kardex row, all in one unit of work.
#pragma once

#include <QString>
#include <QtGlobal>

// Who books the movement. The window modes cannot tell this (they stay 2 or
// 0 while a window stays open), so every caller names itself.
enum class OrigenMovimiento {
    InventarioInicial,  // the article window's own booking of a new article
    Kardex,             // receipts and withdrawals by hand on the stock card
    Venta,              // a sales invoice applied
    VentaAnulada,       // a sales invoice annulled
    Compra,             // a purchase invoice applied
    CompraAnulada,      // a purchase invoice annulled
};

// Movement kinds as callers pass them.
inline QString EntradaArticulos() { return QStringLiteral("entrada_articulos"); }
inline QString SalidaArticulos() { return QStringLiteral("salida_articulos"); }

// Books one movement of the article on the current row of gRecordset
// (column codigo_art), which it neither moves nor replaces. No current row,
// or an article that is not stored, books nothing and returns true.
//
// Cost, Kardex row and quantity are stored together or not at all: the
// article row is locked for the whole unit, so the Kardex saldo is the stock
// right after this movement even with other workstations booking the same
// article. When the caller has a transaction open the movement joins it.
//
// Only Compra and CompraAnulada revalue the cost; only InventarioInicial
// leaves the stored quantity alone (the window has just stored it) and
// books the quantity itself as saldo.
//
// On failure the unit is rolled back (with a joined caller, the caller's
// whole unit), the error check's message is shown and false is returned.
bool ActualizarInventario(qint16 cantidad, double precio, const QString& movimiento, const QString& concepto,
                          OrigenMovimiento origen);

// The same movement of the article codigo, for callers that trap and
// report failures themselves: it rolls back and throws ado::Error instead
// of showing a message. False when it booked nothing (the article is not
// stored).
bool MoverArticulo(const QString& codigo, qint16 cantidad, double precio, const QString& movimiento,
                   const QString& concepto, OrigenMovimiento origen);

// New unit cost by the company's costing method (gCosteoInventario) for a
// purchase applied (Compra) or annulled (CompraAnulada). The weighted
// average keeps the current cost when its divisor is zero or below or its
// result would be negative. Any other origin or method keeps the cost.
double CalcularCostoInventario(qint32 existencia, double costo, qint16 cantidad, double precio,
                               OrigenMovimiento origen);

// Opens sql (codigo_art, cantidad, stock_minimo, found by LIKE) through
// AbrirRecordset and reads the row of the article codigo; warns when the
// stock would fall below the minimum and returns true when it would fall
// below zero. No such row: no warning, false.
bool VerificarStockMinimo(const QString& sql, qint16 cantidad, const QString& codigo);

// The same with stock_maximo: warns and returns true when the stock would
// rise above the maximum.
bool VerificarStockMaximo(const QString& sql, qint16 cantidad, const QString& codigo);

// A typed quantity as a movement takes it: the value rounded half to even.
// False when the text is no plain number or lies outside the 16-bit range.
bool CantidadTecleada(const QString& text, qint16& cantidad);
