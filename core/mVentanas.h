// Every window is a single default instance, created on first use and
// forgotten when it is destroyed, so the next use gets a fresh one.
#pragma once

#include <QPointer>
#include <QWidget>
#include <typeindex>

namespace ventanas {
QWidget* find(std::type_index t);
void remember(std::type_index t, QWidget* w);
// The main window's workspace, when it exists (child windows go into it).
void setWorkspace(QWidget* mdiArea);
QWidget* workspace();
}  // namespace ventanas

// The instance of W, created when there is none.
template <class W>
W& Ventana()
{
    if (auto* w = ventanas::find(typeid(W)))
        return *static_cast<W*>(w);
    auto* w = new W();
    ventanas::remember(typeid(W), w);
    return *w;
}

// The instance of W if one exists, else nullptr (never creates).
template <class W>
W* VentanaAbierta()
{
    return static_cast<W*>(ventanas::find(typeid(W)));
}

// Shows a child window in the main window's workspace (or on its own when
// there is no main window) and brings it to the front.
void MostrarHija(QWidget* w);

// Destroys the window (the next Ventana<W>() makes a new one).
void CerrarVentana(QWidget* w);

// The program's own icon, set on the application before the first window so
// that every window shows it, the child windows of the workspace included.
void PonerIconoDelPrograma();
