// Hooks the purchase windows into the main window and the sales list.
#pragma once

// Registers the opener of the main window's item "compra" (menu
// "Facturas") and tells the sales list how to find and close the purchase
// window. Once, at start, beside RegistrarMenusFacturacion.
void RegistrarMenusCompras();

// Opens the purchase list, for the main window and for tests.
void AbrirAdmCompras();
