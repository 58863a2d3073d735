// The main window: a workspace for the child windows, the menus and the
// toolbar.
//
// Hooking a menu item. Every item is a QAction whose objectName is the
// item's name:
//   archivo: salir | adm: articulos, clientes, proveedores
//   fac: compra, venta, cobrar, pagar | reports: rep_ventas, rep_compras, rep_itbis
//   tools: calc | config: params | ayuda: enlinea, sobre
// Code that provides a window registers its opener once, before or after the
// main window exists:
//   RegistrarAbridor("articulos", [] { MostrarHija(&Ventana<fAdmArt>()); });
// The opener runs whenever the item is chosen: from the menu, from the
// toolbar (its four keys trigger the items clientes, articulos, venta and
// params), from fMenu, and for "params" from the sign-in's costing warning.
// Modal windows exec() inside their opener. An item with no opener does
// nothing. Connecting to the QAction's triggered signal also works, but only
// the registry reaches fMenu and the sign-in. An empty opener unregisters
// the name.
// Names used by fMenu beyond the menu items: "kardex" (the stock card).
#pragma once

#include <QMainWindow>
#include <functional>

class QMdiArea;
class QMenu;
class Toolbar;

void RegistrarAbridor(const QString& nombre, std::function<void()> abrir);
// Runs the opener of nombre; false when none is registered.
bool Abrir(const QString& nombre);

class frmContenedor : public QMainWindow {
    Q_OBJECT
public:
    explicit frmContenedor(QWidget* parent = nullptr);
    ~frmContenedor() override;

    QMdiArea* workspace() const { return workspace_; }
    Toolbar* Toolbar1;

    // The menu item (QAction) or first-level menu of that name.
    QAction* item(const QString& nombre) const;
    QMenu* menu(const QString& nombre) const;

    // Handlers.
    void salir_Click();
    void calc_Click();
    void enlinea_Click();
    void sobre_Click();
    void Toolbar1_ButtonClick(const QString& key);
    // Asks "Está Seguro?": Yes ends the program at once, No sets cancel.
    void MDIForm_Unload(bool& cancel);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    QAction* agregar(QMenu* m, const char* nombre, const QString& caption);
    QMdiArea* workspace_;
};

// The help opened by "Ayuda en línea": the README shipped beside the
// program (or above its build folder); empty when there is none.
QUrl PaginaAyuda();
