// An invoice as plain values, and what is done with it: the totals, the
// apply of a sale or a purchase, and the annulment. Nothing here touches a
// widget; the windows read their boxes and list into a Factura, call these,
// and show the result.
//
// The store functions raise ado::Error on failure and show nothing, except
// the Aplicar/Anular ones, which run their own unit and say how it ended.
#pragma once

#include "mFunciones.h"
#include "mInventario.h"
#include "msgbox.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

struct Factura {
    // Header column i as box i holds it; an absent box has no value.
    ValoresCajas encabezado;
    // The lines as values, in list order: code, description, quantity,
    // unit value, rate, subtotal and purchase price.
    QVector<LineaFactura> lineas;

    // Box i's text, "" when there is no such box.
    QString campo(int i) const;
};

// ---- lines ----

// Subtotal of a line, tax included, rounded to whole units (half to even):
// round((r / 100 + 1) * (p * q)).
double SubTotalLinea(double cantidad, double valorUnitario, double impuesto);



// An entry row as a line record; false when a number does not fit (a code
// that was not looked up, a quantity or rate outside 16 bits).
bool LeerLinea(const QString& codigo, const QString& descripcion, const QString& cantidad, const QString& valor,
               const QString& impuesto, const QString& subTotal, const QString& precioCompra, LineaFactura& linea);



// The texts of a list row as a line: the numbers a line entry or a stored
// line wrote read back exactly; any other text reads as its leading number,
// as the totals have always read the list.
LineaFactura LineaDeTextos(const QString& codigo, const QString& descripcion, const QString& cantidad, const QString& valor,
                           const QString& impuesto, const QString& subTotal, const QString& precioCompra);



// ---- totals ----

// Net and tax of the lines from quantity, unit value and rate, from the
// top: the net is summed as it is, the running tax is rounded after every
// line.
struct TotalesFactura {
    double neto = 0;
    double impuesto = 0;
};
TotalesFactura CalcularTotales(const QVector<LineaFactura>& lineas);
// The running tax after one more line of q units at p with rate r (a
// percentage): whole units, halves to even. What a line adds to its
// invoice's tax is the difference it makes here.
double SumarImpuesto(double acumulado, double q, double p, double r);

// The totals boxes as the window shows them once its lines change: net
// and tax of the lines (none with no line), discount and payment back to
// "000", balance and total the net plus the tax.
struct CajasTotales {
    QString neto, impuesto, descuento, abono, saldo, total;
};
CajasTotales MostrarTotales(const QVector<LineaFactura>& lineas);

// Total and balance as they follow the discount or the payment while it is
// typed: the total is net + tax - discount, the balance the total less the
// payment, each as the box shows it.
struct CajasSaldo {
    QString total, saldo;
};
CajasSaldo SeguirDescuento(const QString& neto, const QString& impuesto, const QString& descuento,
                           const QString& abono);
QString SeguirAbono(const QString& total, const QString& abono);

// Where the window stands when "Aplicar" is pressed.
struct EstadoAplicar {
    bool nueva = true;     // not stored yet
    int modoVentana = 2;   // 2 while the window enters a new invoice
    int modoDetalle = 3;   // 3 when no line is being added or edited
    int lineas = 0;        // lines in the list
};
// What stops an apply before its money is read: the warning to show, with
// listado the list the clerk opens a new invoice from; none when it may go.
struct AvisoAplicar {
    QString texto;
    MsgStyle estilo = MsgStyle::Exclamation;
};
std::optional<AvisoAplicar> RevisarEstadoAplicar(const EstadoAplicar& e, const QString& listado);

// The money of an apply from the texts of net, tax, discount and amount
// paid, everything in cents so that the balance is exactly the total less
// what was paid.
struct CuentaAplicar {
    enum class Falla { Ninguna, Dinero, SaldoNegativo };
    Falla falla = Falla::Ninguna;
    int caja = 0;  // the box of the money that does not read (6 or 7)
    double neto = 0, impuesto = 0, total = 0, saldo = 0;
    // The state the invoice is stored with.
    QString estado() const;
};
CuentaAplicar CalcularAplicar(const QString& neto, const QString& impuesto, const QString& descuento,
                              const QString& abono);

// ---- the store ----

// The checks of an apply against the store, before any question: the
// invoice date (box 2) and a due date typed (box 12) read as dates, the
// party (box 1) is in terceros under codigoTercero, the user (box 14) is
// one of the signed-in company, which box 13 holds, and every line's
// article is still stored. Store: the failure was shown already.
struct RevisionAplicar {
    enum class Falla { Ninguna, Fecha, SinTercero, TerceroAusente, UsuarioAusente, ArticuloAusente, Store };
    Falla falla = Falla::Ninguna;
    int caja = 0;  // the date box that does not read
    QString tercero, usuario;  // as checked
    QString articulo;          // a line's article that is not stored
};
RevisionAplicar RevisarAplicar(const Factura& f, const QString& terceros, const QString& codigoTercero);

// A typed NCF against the company's sales. Store: the failure was shown.
enum class NcfTecleado { Libre, Repetido, Store };
NcfTecleado RevisarNcfTecleado(const QString& ncf);

// Adds the header row of a new invoice to tabla: column i = encabezado[i],
// or cambios[i] when given.
void GuardarEncabezado(const Factura& f, const QString& tabla, const QHash<int, QString>& cambios = {});

// Writes one row of tabla per line, in order, and moves each line's stock
// with concepto. The row is stored first and stays the current row of
// gRecordset while its stock moves (the movement reads the article there).
// Returns the code of the first line whose article is not stored (its
// stock moved nowhere), "" when every line moved its stock; an apply's unit
// then gives the whole invoice up.
QString GuardarDetalle(const QString& numero, const QString& empresa, const QString& tabla,
                       const QVector<LineaFactura>& lineas, const QString& movimiento, const QString& concepto,
                       OrigenMovimiento origen);

// The first line's article that is not stored, "" when every one is.
QString ArticuloAusente(const QVector<LineaFactura>& lineas);

// Inside an apply's unit, once the company is locked: numero when no
// invoice of the company empresa in tabla holds it, else the next number
// none holds.
QString NumeroLibre(const QString& tabla, const QString& numero, const QString& empresa);

// Payment number 1 of invoice numero into tabla: the amount of box 7 on the
// date of box 2.
void RegistrarAbonoInicial(const Factura& f, const QString& numero, const QString& tabla, const QString& empresa);

// How an apply ended, with the number and NCF it was stored under and
// whether the counters could be written.
struct ResultadoAplicar {
    enum class Estado { Guardada, Fallo, NcfTomado, NcfAgotado, NcfManualRepetido, ArticuloAusente };
    Estado estado = Estado::Guardada;
    QString numero, ncf;
    QString articulo;  // ArticuloAusente: the line's article another workstation removed
    bool consecutivo = true, consecutivoNcf = true;
};

// The apply of a sale in one unit: the company locked, the number (box 0)
// and NCF (box 15) given way to the next free ones, header, lines and stock,
// the initial payment when saldo > 0, and the counters. idNcf is the range
// chosen and deRango whether the NCF is one of it. Fallo leaves the error
// in Err.
ResultadoAplicar AplicarVenta(const Factura& f, double saldo, qint16 idNcf, bool deRango);

// The same for a purchase, which has no NCF range.
ResultadoAplicar AplicarCompra(const Factura& f, double saldo);

// Where an annulment reads and writes.
struct TablasAnular {
    QString facturas;  // header table
    QString detalles;  // line table
    QString stock;     // stock column the annulment moves
    QString concepto;  // concept of that movement, before the number
    OrigenMovimiento origen = OrigenMovimiento::VentaAnulada;
};

struct ResultadoAnular {
    bool ok = false;  // false: the unit failed, the error is in Err
    bool existe = true;
    bool yaAnulada = false;
};

// Annuls invoice numero of the company in one unit: the header, read again
// under lock, gets notas and "Anulada", and every line's stock moves back.
// Nothing is written when the invoice is gone or annulled already.
ResultadoAnular AnularFactura(const TablasAnular& t, const QString& numero, const QString& notas);

// Moves the stock of every stored line that sql selects back with concepto.
void AnularDetalleFactura(const QString& sql, const QString& movimiento, const QString& concepto,
                          OrigenMovimiento origen);


