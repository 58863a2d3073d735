// The stock card of one article: header, picture, every Kardex row of the
// code in tCodigo_art, and receipts and withdrawals by hand. The buttons
// bRecibir_Retirar(0) "Recibir" and (1) "Retirar" are named
// "bRecibir_Retirar0" and "bRecibir_Retirar1".
#pragma once

#include "mCatalogos.h"

#include <QWidget>

class ListView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class StatusBar;

class fKardex : public QWidget, public VentanaActivable {
    Q_OBJECT
public:
    fKardex();

    QGroupBox* Frame1 = nullptr;
    QLineEdit* tCodigo_art = nullptr;
    QLineEdit* tDescripcion_art = nullptr;
    QLineEdit* tPrecio_compra = nullptr;
    QLineEdit* tPrecio_venta1 = nullptr;
    QLineEdit* tStock_minimo = nullptr;
    QLineEdit* tStock_maximo = nullptr;
    QLineEdit* tCantidad = nullptr;
    QLabel* Imagen_art = nullptr;
    QPushButton* bRecibir_Retirar[2] = {};
    QLineEdit* tCantidadArticulos = nullptr;
    QLineEdit* tConcepto = nullptr;
    ListView* lvw = nullptr;
    StatusBar* sb = nullptr;
    QMenuBar* menu = nullptr;

    void CargarKardex();
    void LimpiarArticulo();
    // The load of the card: movements, header and picture of the code.
    void CambioCodigo();
    void RecibirRetirar(int index);

    void alActivar() override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    QSize sizeHint() const override { return diseno_; }

private:
    QSize diseno_;
    bool mostrada_ = false;
};

// True while the article window is open and shown, minimised included.
bool ArticulosVisible();
