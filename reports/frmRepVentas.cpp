#include "frmRepVentas.h"

frmRepVentas::frmRepVentas()
    : frmRepBase(QStringLiteral("frmRepVentas"), QStringLiteral("Reporte de Ventas"), 10560, 7800, 240, 480, 720, 7260)
{
    Form_Load();
}

void frmRepVentas::InicializarReporte(const QDate& desde, const QDate& hasta)
{
    InformeFacturas(desde, hasta,
                    {QStringLiteral("ventas"), QStringLiteral("ReporteVentas.htm"), QStringLiteral("REPORTE DE VENTAS"),
                     QStringLiteral(") </h3> <STRONG>Estado: </STRONG>")});
}
