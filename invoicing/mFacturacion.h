// Hooks the invoicing windows into the main window.
#pragma once

// Registers the opener of the main window's item "venta" (menu "Facturas",
// and the toolbar key "ventas"). Once, at start, before or after the main
// window exists.
void RegistrarMenusFacturacion();

// Opens the sales list, for the main window and for tests.
void AbrirAdmVentas();
