#include "mUnidad.h"

#include "BusyCursor.h"
#include "mVblesGlobales.h"
#include "vbrt.h"

#include <QRandomGenerator>
#include <QThread>
#include <algorithm>

namespace {

std::function<int(int)> pausaFijada;

// Another workstation won the same rows; it will be done in a moment. A
// pause of random length, longer after each loss, keeps two losers apart.
int Pausa(int intento)
{
    return pausaFijada ? pausaFijada(intento) : QRandomGenerator::global()->bounded(1, 10 << std::min(intento, 6));
}

}  // namespace

void FijarPausaUnidad(std::function<int(int)> pausa) { pausaFijada = std::move(pausa); }

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
    // Only a unit of its own runs again: inside another, the outer unit as
    // a whole is given up and its caller decides.
    const int intentos = Conexion().transactionDepth() == 0 ? kIntentosUnidad : 1;
    for (int intento = 1;; ++intento) {
        Err.Clear();
        if (Trap([&] { EnUnidad(cuerpo); }))
            return true;
        if (intento >= intentos || Err.Number != ado::err::Deadlock)
            return false;
        QThread::msleep(Pausa(intento));
    }
}
