// The skeleton of the five report windows: the HTML view "WebBrowser" with
// the buttons "Configurar", "Guardar como", "Im&primir" (default: Enter
// prints) and "Cerrar" (Escape), a fixed size, shown modally and released
// when closed.
#pragma once

#include "mEnganches.h"

#include <QDialog>

class QPushButton;
class WebBrowser;

class fReporteBase : public QDialog {
    Q_OBJECT
public:
    WebBrowser* web = nullptr;  // objectName "WebBrowser"
    QPushButton* bConfigurar = nullptr;
    QPushButton* bGuardar = nullptr;
    QPushButton* bImprimir = nullptr;
    QPushButton* bCerrar = nullptr;

    void bConfigurar_Click();
    void bGuardar_Click();
    virtual void bImprimir_Click();
    void bCerrar_Click();

    // Shows w modally until it is closed, then releases it, so the next use
    // starts afresh.
    static void MostrarModal(fReporteBase& w);
    // Tests: called with each window MostrarModal shows, once it is up.
    static inline const Enganche<void(fReporteBase&)> alMostrar;

protected:
    fReporteBase(const QString& nombre, const QString& caption, int ancho, int alto, bool ventanaHerramienta = false);
    // The width b needs to show its caption whole at its font.
    static int AnchoBoton(const QPushButton* b);
    // Places the view and the button row (twips).
    void Colocar(int webLeft, int webTop, int webWidth, int webHeight, int top, int lConfigurar, int lGuardar,
                 int wGuardar, int lImprimir, int lCerrar);
};
