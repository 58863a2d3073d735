#include "mUnidad.h"

#include "BusyCursor.h"
#include "mVblesGlobales.h"
#include "vbrt.h"

bool EnUnidad(const std::function<bool(ado::Connection&)>& cuerpo)
{
    ado::Connection& cn = Conexion();
    cn.BeginTrans();
    try {
        if (cuerpo(cn)) {
            cn.CommitTrans();
            return true;
        }
        cn.RollbackTrans();
        return false;
    } catch (...) {
        cn.RollbackTrans();
        throw;
    }
}

bool EnTransaccion(const std::function<bool(ado::Connection&)>& cuerpo)
{
    const BusyCursor espera;
    Err.Clear();
    return Trap([&] { EnUnidad(cuerpo); });
}
