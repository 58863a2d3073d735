#include "fClientes.h"

#include "mVblesGlobales.h"

static fDatosTercero::Diseno DisenoClientes();

fClientes::fClientes() : fDatosTercero(DisenoClientes(), gModoClientes) {}

// Positions inside the frame, in twips.
static fDatosTercero::Diseno DisenoClientes()
{
    fDatosTercero::Diseno d{};
    d.nombre = QStringLiteral("fClientes");
    d.caption = QStringLiteral("Datos del cliente");
    d.frame = QStringLiteral("Cliente");
    d.tabla = QStringLiteral("CLIENTES");
    d.sufijo = QStringLiteral("cli");
    d.imagen = QStringLiteral("Imagen_cli");
    d.carpeta = QStringLiteral("Clientes");
    const char* etiquetas[9] = {"Código :", "Nombres :", "Documento:", "Dirección :", "Teléfono :",
                                "Fax :", "Notas :", "Fecha de ingreso :", "Imagen :"};
    const int pos[9][4] = {{345, 1380, 2790, 315}, {1035, 2730, 6630, 315}, {1035, 3135, 6630, 315},
                           {1035, 3540, 6630, 315}, {1035, 3960, 2475, 315}, {5190, 3960, 2475, 315},
                           {135, 4860, 7530, 1200}, {330, 720, 2790, 315},   {360, 2055, 2535, 315}};
    for (int i = 0; i < 9; ++i) {
        d.etiquetas[i] = QString::fromUtf8(etiquetas[i]);
        for (int j = 0; j < 4; ++j)
            d.pos[i][j] = pos[i][j];
    }
    d.imgLeft = 4305;
    d.imgTop = 315;
    const int aceptar[4] = {5400, 6465, 1215, 390}, cancelar[4] = {6690, 6465, 1215, 420};
    for (int j = 0; j < 4; ++j) {
        d.aceptar[j] = aceptar[j];
        d.cancelar[j] = cancelar[j];
    }
    d.anchoTw = 7965;
    d.altoTw = 6930;
    d.cancelarEsDefecto = true;
    return d;
}
