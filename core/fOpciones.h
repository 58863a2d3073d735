// The options window, the one door to the administration: companies, users
// and NCF ranges (fEmpresasUsuarios) and the removal of invoices
// (fRetiroRegistros). Both doors, and every delete behind them, pass the
// administrator gate.
#pragma once

#include "mEnganches.h"

#include <QDialog>

class QLabel;
class QPushButton;

// Registers the opener of the item "params" (menu "Configuración", toolbar
// key "config", fMenu and the sign-in's costing warning): fOpciones, modal.
// Once, at start.
void RegistrarMenusAdministracion();

// The administrator gate: level 0 ("Administrador") and the signed-in
// user's own password typed again, compared exactly. False after the
// refusal's message ("No tiene los privilegios para ejecurtar la acción" or
// "Clave incorrecta"); nothing else is done.
bool PuertaAdministrador();

class fOpciones : public QDialog {
    Q_OBJECT
public:
    explicit fOpciones(QWidget* parent = nullptr);

    QPushButton* bAbrirEmpresasUsuarios;
    QLabel* Label1;
    QPushButton* bAbrirRetiroRegistros;
    QLabel* Label2;

    // The gate, then the window, modal; returns when it is closed.
    void bAbrirEmpresasUsuarios_Click();
    void bAbrirRetiroRegistros_Click();

    // Shows the single instance modally over the active window; returns
    // when it is closed. A second call while it is open does nothing.
    static void Mostrar();
    // Tests: called with the window once it is up (inside its modal loop).
    static inline const Enganche<void(fOpciones&)> alMostrar;
};
