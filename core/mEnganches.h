// Named hooks: how a library reaches code above it without naming it. The
// caller declares the hook beside itself, with its signature:
//   static constexpr Enganche<void(const QString&)> abrirPorCobrar{"fAdmCli.abrirPorCobrar"};
// the library above sets it once at start, in its RegistrarMenus*:
//   Enganchar(fAdmCli::abrirPorCobrar, AbrirPorCobrar);
// and the caller runs it with Llamar (nothing happens while it is unset).
// The main window's openers (RegistrarAbridor) are hooks of this kind.
#pragma once

#include <QString>
#include <any>
#include <functional>
#include <type_traits>

namespace enganches {
// An empty valor removes the hook.
void poner(const QString& nombre, std::any valor);
const std::any* buscar(const QString& nombre);
}  // namespace enganches

// A hook is only its name, so a constant can stand for it: assigning to it
// sets the hook, testing it says whether it is set, calling it runs it
// (nothing happens while it is unset).
template <class Sig>
struct Enganche {
    const char* nombre;

    void operator=(std::type_identity_t<std::function<Sig>> f) const;
    explicit operator bool() const;
    template <class... A>
    void operator()(A&&... a) const;
};

// Sets the hook; an empty function unsets it. The last setting stands.
template <class Sig>
void Enganchar(const QString& nombre, std::type_identity_t<std::function<Sig>> f)
{
    enganches::poner(nombre, f ? std::any(std::move(f)) : std::any());
}
template <class Sig>
void Enganchar(Enganche<Sig> e, std::type_identity_t<std::function<Sig>> f)
{
    Enganchar<Sig>(QLatin1String(e.nombre), std::move(f));
}

// A copy of the hook (it may set itself again while it runs); empty when
// unset.
template <class Sig>
std::function<Sig> Enganchado(const QString& nombre)
{
    if (const std::any* a = enganches::buscar(nombre))
        if (const auto* f = std::any_cast<std::function<Sig>>(a))
            return *f;
    return {};
}
template <class Sig>
std::function<Sig> Enganchado(Enganche<Sig> e)
{
    return Enganchado<Sig>(QLatin1String(e.nombre));
}

// Runs the hook; false when it is unset.
template <class Sig, class... A>
bool Llamar(Enganche<Sig> e, A&&... a)
{
    const std::function<Sig> f = Enganchado(e);
    if (!f)
        return false;
    f(std::forward<A>(a)...);
    return true;
}

template <class Sig>
void Enganche<Sig>::operator=(std::type_identity_t<std::function<Sig>> f) const
{
    Enganchar(*this, std::move(f));
}

template <class Sig>
Enganche<Sig>::operator bool() const
{
    return static_cast<bool>(Enganchado(*this));
}

template <class Sig>
template <class... A>
void Enganche<Sig>::operator()(A&&... a) const
{
    Llamar(*this, std::forward<A>(a)...);
}
