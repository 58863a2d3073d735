// The list-window family: buttons dispatched by caption, a finder box that
// selects the first row whose code begins with the typed text, the list
// filled by cargarListView, the row count in the status bar, and a reload
// whenever the window really becomes the active child window.
#pragma once

#include "mCatalogos.h"

#include <QMap>
#include <QWidget>

class ListView;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QToolButton;
class StatusBar;

class fAdmBase : public QWidget, public VentanaActivable {
    Q_OBJECT
public:
    // Controls by objectName: picture buttons "cmd0".."cmd6" (cmd(i)), "lbl", the
    // finder box (its own name), "lvw", "sb"; menu items by their names.
    QMap<int, QToolButton*> cmd;
    QLabel* lbl = nullptr;
    QLineEdit* tCodigo = nullptr;
    ListView* lvw = nullptr;
    StatusBar* sb = nullptr;
    QMenuBar* menu = nullptr;

    virtual void cargarListView() = 0;
    // The button bar: the clicked button's caption, compared exactly.
    virtual void Despachar(const QString& caption) = 0;

    // The selected row's code, empty when none.
    QString CodigoSeleccionado() const;
    void alActivar() override;

protected:
    fAdmBase(const QString& nombre, const QString& caption, int anchoTw, int altoTw);
    QToolButton* Boton(int index, const QString& caption, int left, int top, int width, int height);
    void Buscador(const QString& nombre, const QString& etiqueta, int lblLeft, int left, int width);
    // An "&Archivo"-style menu item named nombre.
    QAction* Item(QMenu* m, const QString& nombre, const QString& texto);
    void MenuAyuda();
    void SinSeleccion(const QString& texto);
    bool HaySeleccion() const;

    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    QSize sizeHint() const override { return diseno_; }

    QToolButton* botonCancelar = nullptr;

private:
    QWidget* cuerpo_ = nullptr;  // everything between the menu and the status bar
    QSize diseno_;
    bool mostrada_ = false;
};
