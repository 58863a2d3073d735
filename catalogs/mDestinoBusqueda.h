// Where the search dialogs hand a picked code. The sales and purchase
// invoice windows register themselves here (as named hooks, mEnganches.h),
// so the dialogs need none of their headers; a dialog asks only through the
// calls below.
//
// An invoice window registers once it exists (its constructor is a good
// place) and may register again at any time; the last registration stands:
//
//   DestinoBusqueda d;
//   d.ventana = this;
//   d.enCaptura = [this] { return gModoFormulario == 2 && !aplicada_; };
//   d.ponerTercero = [this](const QString& c) { SetBoxText(txt[1], c); txt[1]->setFocus(); };
//   d.ponerArticulo = [this](const QString& c) { SetBoxText(txtDetalle[1], c); txtDetalle[1]->setFocus(); };
//   RegistrarDestinoBusqueda(FacturaDestino::Venta, d);
//
// The dialogs also open from the invoice windows' buttons through
// AbrirBuscarArticulos / AbrirBuscarClientes / AbrirBuscarProveedores, or
// Abrir("buscar_articulos" | "buscar_clientes" | "buscar_proveedores").
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

enum class FacturaDestino { Venta, Compra };

struct DestinoBusqueda {
    // The invoice window. Once it is destroyed the registration counts as
    // gone; before a code is written it is brought to the front.
    QPointer<QWidget> ventana;
    // True while the window is open on a new invoice not yet applied.
    std::function<bool()> enCaptura;
    // Write the code into the party box (txt(1)) or the line entry's
    // article box (txtDetalle(1)) so that the box's change handler runs the
    // look-up, and give that box the focus.
    std::function<void(const QString&)> ponerTercero;
    std::function<void(const QString&)> ponerArticulo;
};

void RegistrarDestinoBusqueda(FacturaDestino f, const DestinoBusqueda& d);
void QuitarDestinoBusqueda(FacturaDestino f);

// True when f's window is registered, still exists and is entering a new
// invoice.
bool FacturaEnCaptura(FacturaDestino f);

// Write the code into f's box when f is being entered; false (nothing
// written) otherwise.
bool EntregarTercero(FacturaDestino f, const QString& codigo);
bool EntregarArticulo(FacturaDestino f, const QString& codigo);

// Opening the search dialogs (modeless, in the main window's workspace).
void AbrirBuscarArticulos();
void AbrirBuscarClientes();
void AbrirBuscarProveedores();

// Hooks the dialogs to the lists' "Buscar" buttons and registers the
// openers "buscar_articulos", "buscar_clientes", "buscar_proveedores". Once,
// at start, beside RegistrarMenusCatalogos.
void RegistrarBusquedas();
