// Pieces the catalog windows share: twip geometry, pictures, key filters,
// Enter and Escape, the activation that reloads a list, and the menu hooks.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QLabel;

// Twips to pixels (15 twips a pixel at 96 dpi, scaled with the screen).
int Tw(int twips);
void ColocarTw(QWidget* w, int left, int top, int width, int height = -1);

// Shows the picture file in the label; an empty path clears it. A file that
// cannot be loaded leaves the picture as it was. True when shown or cleared.
bool CargarImagen(QLabel* imagen, const QString& ruta);

// Folder under the program's folder where a picture dialog starts.
QString CarpetaImagenes(const QString& sub);

// Opens the picture dialog at folder; returns the chosen full path, or
// the empty text when it was cancelled.
QString ElegirImagen(QWidget* parent, const QString& carpeta);

// Key filter of a text box: letters upper-cased and ! # ' * ? [ ] |
// refused, also when pasted; soloDigitos keeps digits only (and Backspace).
void FiltrarTeclas(QWidget* box, bool soloDigitos = false);

// Windows that act when they really become the active child window of the
// main window: not when a message box closes over them, only when another
// child window had been active (or none).
class VentanaActivable {
public:
    virtual ~VentanaActivable() = default;
    virtual void alActivar() = 0;
};
// Called by such a window when it is created (before it is shown, so that
// its first activation counts); hooks the workspace once.
void VigilarActivacion(QWidget* ventana);

// Enter and Escape of a record window: Enter in a multi-line box is a line
// break; on a focused button it presses that button; elsewhere it presses
// the default button. Escape presses the cancel button. Installed as an
// event filter on the window and its children.
void TeclasDeVentana(QWidget* ventana, QAbstractButton* porDefecto, QAbstractButton* cancelar);

// Tab order as the window is laid out: block after block, and inside a
// block row by row from the top, left to right (controls whose tops lie
// within 200 twips share a row). Controls takes the controls Tab can reach
// inside a widget, the parts of composite controls and hidden ones left out.
QList<QWidget*> Controles(QWidget* contenedor);
void OrdenDeTabulacion(const QList<QList<QWidget*>>& bloques);

// The refusal of a save whose code belongs to another stored record: the
// duplicate-key message of the error check and the save's failure notice,
// as a duplicate key on saving gives them.
void RechazarCodigoDuplicado();

// The about box, modeless.
void MostrarAcercaDe();

// Registers the openers of the main window's items "articulos", "clientes",
// "proveedores" (menu and toolbar) and "kardex" (fMenu). Once, at start.
void RegistrarMenusCatalogos();

// Opening the lists, for the main window and for tests.
void AbrirAdmArticulos();
void AbrirAdmClientes();
void AbrirAdmProveedores();
void AbrirKardex();
