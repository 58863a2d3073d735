#include "frmRepCompras.h"

frmRepCompras::frmRepCompras()
    : frmRepBase(QStringLiteral("frmRepCompras"), QStringLiteral("Reporte de Compras"), 10530, 7695, 240, 480, 720, 7260)
{
    Form_Load();
}

void frmRepCompras::InicializarReporte(const QDate& desde, const QDate& hasta)
{
    InformeFacturas(desde, hasta,
                    {QStringLiteral("compras"), QStringLiteral("ReporteCompras.htm"), QStringLiteral("REPORTE DE COMPRAS"),
                     QStringLiteral(") </h3>  <STRONG>Estado: </STRONG>")});
}
