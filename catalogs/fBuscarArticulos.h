// Article search: nine criteria, joined by AND, over ARTICULOS; a
// double-click hands the code to the sale being entered, else to the
// purchase being entered, else opens the article window on it.
#pragma once

#include "fBuscarBase.h"

#include <QComboBox>

// A criterion combo: typed text is the criterion; a combo with a statement
// refills its list from the store every time it drops down (first column of
// every row, in the order returned); one without is typing only.
class ComboCriterio : public QComboBox {
    Q_OBJECT
public:
    ComboCriterio(const QString& sql, QWidget* parent);
    void showPopup() override;
    void Rellenar();
private:
    QString sql_;
};

class fBuscarArticulos : public fBuscarBase {
    Q_OBJECT
public:
    fBuscarArticulos();

    ComboCriterio* cbCodigo_art = nullptr;
    ComboCriterio* cbPrecio_compra = nullptr;
    ComboCriterio* cbPrecio_Venta1 = nullptr;
    ComboCriterio* cbDescripcion_art = nullptr;
    ComboCriterio* cbImpuesto = nullptr;
    ComboCriterio* cbNombre_prov = nullptr;
    ComboCriterio* cbUbicacion = nullptr;
    ComboCriterio* cbTipo_art = nullptr;
    ComboCriterio* cbCantidad = nullptr;

    void bBuscar_Click() override;
    void bRestaurar_Click() override;
    void lvw_DblClick() override;
};
