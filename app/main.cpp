#include "Cuadros.h"
#include "Idioma.h"
#include "KeyFilter.h"
#include "Twips.h"
#include "frmIntro.h"
#include "fOpciones.h"
#include "mCatalogos.h"
#include "mCompras.h"
#include "mCuentas.h"
#include "mDestinoBusqueda.h"
#include "mFacturacion.h"
#include "mReportes.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    // The application object takes the C library's locale from the
    // environment; numbers in the boxes, statements and files keep the
    // point whatever the shop's machine is set to.
    std::setlocale(LC_NUMERIC, "C");
    twips::fitToFont();

    // Qt's own dialogs, calendars and file lists in Spanish, and the
    // program's icon on every window.
    idioma::UsarEspanol();
    PonerIconoDelPrograma();

    // No box takes a NUL or another control character, however it came.
    KeepControlsOutOfEveryBox();
    // Boxes and the wait cursor on the screen.
    InstalarCuadros();
    // Each click or key is one action, which tells a failure once.
    accion::Vigilar();

    // The main window's items reach the windows of the other subsystems
    // through their openers (frmContenedor.h).
    RegistrarMenusCatalogos();
    RegistrarBusquedas();
    RegistrarMenusFacturacion();
    RegistrarMenusCompras();
    RegistrarMenusCuentas();
    RegistrarMenusReportes();
    RegistrarMenusAdministracion();

    Ventana<frmIntro>().show();
    return app.exec();
}
