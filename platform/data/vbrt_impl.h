#pragma once
#include "adodb.h"
#include <new>

template <class F>
bool Trap(F&& f)
{
    try {
        f();
        return true;
    } catch (const ado::Error& e) {
        Err.Set(e.number, e.description, e.fault);
    } catch (const std::bad_alloc&) {
        Err.Set(7, QStringLiteral("Memoria insuficiente"));
    }
    return false;
}
