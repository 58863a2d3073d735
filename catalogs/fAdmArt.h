// The article list: the family of fAdmBase, with the stock card.
#pragma once

#include "fAdmBase.h"

class fAdmArt : public fAdmBase {
    Q_OBJECT
public:
    fAdmArt();
    void cargarListView() override;
    void Despachar(const QString& caption) override;

    void Nuevo();
    void Propiedades();
    void Eliminar();
    void Kardex();
};
