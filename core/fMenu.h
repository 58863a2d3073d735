// Button panel with the same openers as the main window's menus. Nothing in
// the program opens it.
#pragma once

#include <QWidget>

class QPushButton;

class fMenu : public QWidget {
    Q_OBJECT
public:
    explicit fMenu(QWidget* parent = nullptr);

    QPushButton* bAbrirfAdmArt;
    QPushButton* bAbrirfAdmCli;
    QPushButton* bAbrirfAdmProv;
    QPushButton* bAbrirfAdmVentas;
    QPushButton* bAbrirfAdmCompras;
    QPushButton* bAbrirfFact_xCobrar;
    QPushButton* bAbrirfFact_xPagar;
    QPushButton* bAbrirfKardex;
    QPushButton* bOpciones;
    QPushButton* bSalir;

protected:
    // Asks "Está Seguro?": Yes ends the program, No keeps the panel.
    void closeEvent(QCloseEvent* e) override;
};
