// The article list: the family of fAdmBase, with the stock card.
#pragma once

#include "fAdmBase.h"

#include <functional>

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

    // The article search dialog (fBuscarArticulos) comes with its own
    // window and hooks in here.
    static std::function<void()> abrirBusqueda;
};
