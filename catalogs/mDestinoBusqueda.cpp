#include "mDestinoBusqueda.h"

#include "fAdmArt.h"
#include "fAdmTerceros.h"
#include "fBuscarArticulos.h"
#include "fBuscarClientes.h"
#include "fBuscarProveedores.h"
#include "frmContenedor.h"
#include "mVentanas.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

struct Registro {
    DestinoBusqueda d;
    bool registrado = false;
    bool vigilada = false;  // d.ventana was given, so its end ends the registration
};

Registro& registro(FacturaDestino f)
{
    static Registro venta, compra;
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

bool Entregar(FacturaDestino f, const QString& codigo, std::function<void(const QString&)> DestinoBusqueda::*poner)
{
    if (!FacturaEnCaptura(f))
        return false;
    const DestinoBusqueda& d = registro(f).d;
    if (!(d.*poner))
        return false;
    if (d.ventana)
        AlFrente(d.ventana);
    // A copy: the change handler the write runs may register again.
    const auto escribir = d.*poner;
    escribir(codigo);
    return true;
}

}  // namespace

void RegistrarDestinoBusqueda(FacturaDestino f, const DestinoBusqueda& d)
{
    Registro& r = registro(f);
    r.d = d;
    r.registrado = true;
    r.vigilada = !d.ventana.isNull();
}

void QuitarDestinoBusqueda(FacturaDestino f) { registro(f) = Registro{}; }

bool FacturaEnCaptura(FacturaDestino f)
{
    const Registro& r = registro(f);
    if (!r.registrado || (r.vigilada && r.d.ventana.isNull()) || !r.d.enCaptura)
        return false;
    return r.d.enCaptura();
}

bool EntregarTercero(FacturaDestino f, const QString& codigo) { return Entregar(f, codigo, &DestinoBusqueda::ponerTercero); }
bool EntregarArticulo(FacturaDestino f, const QString& codigo) { return Entregar(f, codigo, &DestinoBusqueda::ponerArticulo); }

void AbrirBuscarArticulos() { MostrarHija(&Ventana<fBuscarArticulos>()); }
void AbrirBuscarClientes() { MostrarHija(&Ventana<fBuscarClientes>()); }
void AbrirBuscarProveedores() { MostrarHija(&Ventana<fBuscarProveedores>()); }

void RegistrarBusquedas()
{
    fAdmArt::abrirBusqueda = AbrirBuscarArticulos;
    fAdmCli::abrirBusqueda = AbrirBuscarClientes;
    fAdmProv::abrirBusqueda = AbrirBuscarProveedores;
    RegistrarAbridor(QStringLiteral("buscar_articulos"), AbrirBuscarArticulos);
    RegistrarAbridor(QStringLiteral("buscar_clientes"), AbrirBuscarClientes);
    RegistrarAbridor(QStringLiteral("buscar_proveedores"), AbrirBuscarProveedores);
}
