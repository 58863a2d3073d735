#include "mDestinoBusqueda.h"

#include "fAdmArt.h"
#include "fAdmTerceros.h"
#include "fBuscarArticulos.h"
#include "fBuscarClientes.h"
#include "fBuscarProveedores.h"
#include "frmContenedor.h"
#include "mEnganches.h"
#include "mVentanas.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// The invoice window's registration, as hooks.
struct Ganchos {
    Enganche<bool()> enCaptura;
    Enganche<void(const QString&)> ponerTercero;
    Enganche<void(const QString&)> ponerArticulo;
};

const Ganchos& ganchos(FacturaDestino f)
{
    static const Ganchos venta, compra;
    return f == FacturaDestino::Venta ? venta : compra;
}

void AlFrente(QWidget* w)
{
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(p)) {
            if (QMdiArea* area = sub->mdiArea())
                area->setActiveSubWindow(sub);
            return;
        }
    w->raise();
    w->activateWindow();
}

// The window, when it still exists, comes to the front before the write.
std::function<void(const QString&)> AlFrenteY(const QPointer<QWidget>& ventana, std::function<void(const QString&)> poner)
{
    if (!poner)
        return {};
    return [ventana, poner](const QString& codigo) {
        if (ventana)
            AlFrente(ventana);
        poner(codigo);
    };
}

bool Entregar(FacturaDestino f, const QString& codigo, Enganche<void(const QString&)> Ganchos::*poner)
{
    if (!FacturaEnCaptura(f))
        return false;
    return Llamar(ganchos(f).*poner, codigo);
}

}  // namespace

void RegistrarDestinoBusqueda(FacturaDestino f, const DestinoBusqueda& d)
{
    const Ganchos& g = ganchos(f);
    const QPointer<QWidget> ventana = d.ventana;
    // A window given at registration ends it when it goes.
    const bool vigilada = !ventana.isNull();
    std::function<bool()> enCaptura;
    if (d.enCaptura)
        enCaptura = [ventana, vigilada, en = d.enCaptura] { return !(vigilada && ventana.isNull()) && en(); };
    Enganchar(g.enCaptura, enCaptura);
    Enganchar(g.ponerTercero, AlFrenteY(ventana, d.ponerTercero));
    Enganchar(g.ponerArticulo, AlFrenteY(ventana, d.ponerArticulo));
}

void QuitarDestinoBusqueda(FacturaDestino f)
{
    const Ganchos& g = ganchos(f);
    Enganchar(g.enCaptura, {});
    Enganchar(g.ponerTercero, {});
    Enganchar(g.ponerArticulo, {});
}

bool FacturaEnCaptura(FacturaDestino f)
{
    const auto enCaptura = Enganchado(ganchos(f).enCaptura);
    return enCaptura && enCaptura();
}

bool EntregarTercero(FacturaDestino f, const QString& codigo) { return Entregar(f, codigo, &Ganchos::ponerTercero); }
bool EntregarArticulo(FacturaDestino f, const QString& codigo) { return Entregar(f, codigo, &Ganchos::ponerArticulo); }

void AbrirBuscarArticulos() { MostrarHija(&Ventana<fBuscarArticulos>()); }
void AbrirBuscarClientes() { MostrarHija(&Ventana<fBuscarClientes>()); }
void AbrirBuscarProveedores() { MostrarHija(&Ventana<fBuscarProveedores>()); }

void RegistrarBusquedas()
{
    RegistrarAbridor(QStringLiteral("buscar_articulos"), AbrirBuscarArticulos);
    RegistrarAbridor(QStringLiteral("buscar_clientes"), AbrirBuscarClientes);
    RegistrarAbridor(QStringLiteral("buscar_proveedores"), AbrirBuscarProveedores);
}
