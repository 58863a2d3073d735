// Hooks: how a library reaches code above it without naming it. The caller
// declares the hook beside itself, with its signature:
//   static inline const Enganche<void(const QString&)> abrirPorCobrar;
// the library above sets it once at start, in its RegistrarMenus*:
//   Enganchar(fAdmCli::abrirPorCobrar, AbrirPorCobrar);
// and the caller runs it with Llamar (nothing happens while it is unset).
// The hook holds its function itself, so one of another signature does not
// compile.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>

// Assigning to a hook sets it (an empty function unsets it; the last
// setting stands), testing it says whether it is set, calling it runs it
// (nothing happens while it is unset). It may be set from a const
// declaration: the hook is the function it holds, not the object.
template <class Sig>
class Enganche {
public:
    Enganche() = default;
    Enganche(const Enganche&) = delete;
    Enganche& operator=(const Enganche&) = delete;

    void operator=(std::type_identity_t<std::function<Sig>> f) const { f_ = std::move(f); }
    explicit operator bool() const { return static_cast<bool>(f_); }
    template <class... A>
    void operator()(A&&... a) const
    {
        // A copy: the hook may set itself again while it runs.
        if (const std::function<Sig> f = f_)
            f(std::forward<A>(a)...);
    }
    // A copy of what it holds; empty when unset.
    std::function<Sig> funcion() const { return f_; }

private:
    mutable std::function<Sig> f_;
};

template <class Sig>
void Enganchar(const Enganche<Sig>& e, std::type_identity_t<std::function<Sig>> f)
{
    e = std::move(f);
}

template <class Sig>
std::function<Sig> Enganchado(const Enganche<Sig>& e)
{
    return e.funcion();
}

// Runs the hook; false when it is unset.
template <class Sig, class... A>
bool Llamar(const Enganche<Sig>& e, A&&... a)
{
    const std::function<Sig> f = e.funcion();
    if (!f)
        return false;
    f(std::forward<A>(a)...);
    return true;
}
