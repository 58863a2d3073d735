// Properties of one article: boxes txt0..txt17 are the eighteen columns of
// ARTICULOS by position; txt10 (observaciones_art) is multi-line. Indexed
// controls carry their index in the name: tPrecioConImpuesto4..6,
// cbNombre_prov14..16, oTipo_Art0..2.
#pragma once

#include "boxes.h"
#include "mFuncionesCajas.h"

#include <QComboBox>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// A look-up combo: refilled from the store every time its list drops down,
// and dropped down as soon as it gets the focus from the keyboard.
class ComboConsulta : public QComboBox {
    Q_OBJECT
public:
    ComboConsulta(const QString& sql, bool entradaVacia, QWidget* parent);
    void showPopup() override;
    void Rellenar();
protected:
    void focusInEvent(QFocusEvent* e) override;
private:
    QString sql_;
    bool entradaVacia_;
};

class fArticulos : public QWidget {
    Q_OBJECT
public:
    fArticulos();

    BoxArray txt;
    QLineEdit* tPrecioConImpuesto[7] = {};  // 4 to 6
    ComboConsulta* cbNombre_prov[17] = {};  // 14 to 16
    ComboConsulta* cbUbicacion = nullptr;
    ComboConsulta* cbTipo_art = nullptr;
    QRadioButton* oTipo_Art[3] = {};
    QLabel* Imagen_art = nullptr;
    QPushButton* bBuscarImagen = nullptr;
    QPushButton* bAceptar = nullptr;
    QPushButton* bCancelar = nullptr;

    // A new article: mode 2, today's date into txt11, shown; the other
    // boxes keep what they hold.
    void Nuevo();
    // A stored article: shown, its row copied into the boxes, mode 1 (also
    // when the query failed or found nothing).
    void Editar(const QString& codigo);

    // Aceptar: saves, books the opening stock of a new article in the same
    // unit, and closes; false when nothing was stored.
    bool Guardar();

private:
    void Previsualizar(int i);
    void ElegirTipo(const QString& tipo);
    void BuscarImagen();
    void RecordarCargado();
    bool Cambiado(int i) const;

    class QButtonGroup* grupoTipo_ = nullptr;
    QString cargado_[18];  // the boxes as the record was loaded
    FilaCargada fila_;     // the row as it was loaded; empty for a new article
};
