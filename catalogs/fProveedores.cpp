#include "fProveedores.h"

#include "mVblesGlobales.h"

static fDatosTercero::Diseno DisenoProveedores();

fProveedores::fProveedores() : fDatosTercero(DisenoProveedores(), gModoProveedores) {}

// Positions inside the frame, in twips.
static fDatosTercero::Diseno DisenoProveedores()
{
    fDatosTercero::Diseno d{};
    d.nombre = QStringLiteral("fProveedores");
    d.caption = QStringLiteral("Datos del Proveedor");
    d.frame = QStringLiteral("Proveedor");
    d.tabla = QStringLiteral("PROVEEDORES");
    d.sufijo = QStringLiteral("prov");
    d.imagen = QStringLiteral("Imagen_prov");
    d.carpeta = QStringLiteral("Proveedores");
    const char* etiquetas[9] = {"Código :", "Nombre - Razón Social :", "Número de Identificación :", "Dirección :",
                                "Teléfono :", "Fax :", "Notas :", "Fecha de ingreso :", "Imagen :"};
    const int pos[9][4] = {{270, 1455, 2970, 315}, {2025, 2745, 5595, 315}, {2025, 3165, 5610, 315},
                           {2025, 3600, 5610, 315}, {2025, 4020, 2385, 315}, {5220, 4005, 2415, 315},
                           {135, 4785, 7470, 1275}, {270, 780, 2970, 315},   {270, 2145, 2685, 315}};
    for (int i = 0; i < 9; ++i) {
        d.etiquetas[i] = QString::fromUtf8(etiquetas[i]);
        for (int j = 0; j < 4; ++j)
            d.pos[i][j] = pos[i][j];
    }
    d.imgLeft = 4575;
    d.imgTop = 405;
    const int aceptar[4] = {5460, 6465, 1155, 375}, cancelar[4] = {6705, 6465, 1155, 375};
    for (int j = 0; j < 4; ++j) {
        d.aceptar[j] = aceptar[j];
        d.cancelar[j] = cancelar[j];
    }
    d.anchoTw = 7950;
    d.altoTw = 6930;
    d.cancelarEsDefecto = false;
    return d;
}
