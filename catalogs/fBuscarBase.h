// What the three search dialogs share: a menu with "Acerca de ...", the
// criteria frame, the buttons "Buscar Ahora", "Restaurar Todo" and
// "Cerrar" (Esc), the result list above a status bar with the row count,
// and the resize rule of list windows.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <QWidget>

class ListView;
class QAction;
class QGroupBox;
class QMenuBar;
class QPushButton;
class StatusBar;

class fBuscarBase : public QWidget {
    Q_OBJECT
public:
    // Controls by objectName: "Frame1", "bBuscar", "bRestaurar", "bCerrar",
    // "lvw", "sb", the menu item "mnuAcercaDe".
    QMenuBar* menu = nullptr;
    QAction* mnuAcercaDe = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* bBuscar = nullptr;
    QPushButton* bRestaurar = nullptr;
    QPushButton* bCerrar = nullptr;
    ListView* lvw = nullptr;
    StatusBar* sb = nullptr;

    virtual void bBuscar_Click() = 0;
    virtual void bRestaurar_Click() = 0;
    void bCerrar_Click();
    // Double-click on the list (on a row or on its blank part).
    virtual void lvw_DblClick() = 0;

    // The selected row's code; empty when none.
    QString CodigoSeleccionado() const;

protected:
    fBuscarBase(const QString& nombre, const QString& caption, int anchoTw, int altoTw);
    // Parent of the controls, below the menu bar; twip positions count from
    // its corner.
    QWidget* cuerpo() const { return cuerpo_; }
    void Botones(int left, int width, int topBuscar, int topRestaurar, int topCerrar);
    void Lista(int left, int top, int width, int height, const QStringList& titulos, const QVector<int>& anchos);
    // The label above a criterion box, in the frame. Once every box stands,
    // AjustarEtiquetas shrinks the font of a label that runs into the next
    // box of its row or past the frame (the layout was drawn for a more
    // compact screen font).
    void Etiqueta(const QString& texto, QWidget* caja);
    void AjustarEtiquetas();

    // A numeric criterion goes into the statement only as a plain number.
    // Otherwise the search is refused with the error check's message and
    // false comes back; nombre names the criterion in that message.
    static bool Numero(const QString& texto, const QString& nombre, QString& numero);
    // The refusal of a pick with no row selected; true when there is one.
    bool HaySeleccion();
    // Ends the dialog after a hand-back: the next opening starts empty.
    void Cerrar();

    void resizeEvent(QResizeEvent* e) override;
    QSize sizeHint() const override { return diseno_; }

private:
    QWidget* cuerpo_ = nullptr;
    QVector<QPair<class QLabel*, QWidget*>> etiquetas_;
    QSize diseno_;
};
