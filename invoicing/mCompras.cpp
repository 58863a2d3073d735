#include "mCompras.h"

#include "fAdmCompras.h"
#include "fAdmVentas.h"
#include "frmContenedor.h"
#include "mVentanas.h"

void AbrirAdmCompras() { MostrarHija(&Ventana<fAdmCompras>()); }

void RegistrarMenusCompras()
{
    RegistrarAbridor(QStringLiteral("compra"), [] { AbrirAdmCompras(); });
    Enganchar(fAdmVentas::comprasAbierta, ComprasAbierta);
    Enganchar(fAdmVentas::cerrarCompras, CerrarCompras);
}
