#include "mFacturacion.h"

#include "fAdmVentas.h"
#include "frmContenedor.h"
#include "mVentanas.h"

void AbrirAdmVentas() { MostrarHija(&Ventana<fAdmVentas>()); }

void RegistrarMenusFacturacion() { RegistrarAbridor(QStringLiteral("venta"), [] { AbrirAdmVentas(); }); }
