#include "mCuentas.h"

#include "ListView.h"
#include "fAdmCompras.h"
#include "fAdmTerceros.h"
#include "fAdmVentas.h"
#include "fFact_xCobrar.h"
#include "fFact_xPagar.h"
#include "frmContenedor.h"
#include "mFuncionesCajas.h"
#include "mVentanas.h"
#include "msgbox.h"

#include <QLineEdit>
#include <initializer_list>

namespace {

// Appends the rows of sql to lvw, columns by name. vacio is said when the
// query returns no row; falla follows the error check's message when
// reading the rows fails.
void Llenar(ListView* lvw, const QString& sql, std::initializer_list<const char*> columnas, const QString& vacio,
            const QString& falla = QString())
{
    if (!AbrirRecordset(sql))
        return;
    // Keep the result: nothing below may replace the shared one, but hold it anyway.
    const ado::RecordsetPtr rs = gRecordset;
    if (rs->RecordCount() < 1) {
        if (!vacio.isEmpty())
            MsgBox(vacio, MsgStyle::Information);
        return;
    }
    const bool ok = Trap([&] {
        rs->MoveFirst();
        for (gIndice = 1; !rs->Eof(); ++gIndice) {
            auto c = columnas.begin();
            const int fila = lvw->add(lvw->count() + 1, rs->Fields(QString::fromLatin1(*c)).Text());
            for (++c; c != columnas.end(); ++c)
                lvw->addSubItem(fila, rs->Fields(QString::fromLatin1(*c)).Text());
            rs->MoveNext();
        }
    });
    if (lvw->count() > 0)
        lvw->select(1);
    if (!ok) {
        ControlErrores();
        if (!falla.isEmpty())
            MsgBox(falla);
    }
}

const QString kSinPendientes = QStringLiteral("No existen facturas pendientes");

template <class W>
void AbrirCuenta(const QString& codigo, bool mostrarPrimero)
{
    W& w = Ventana<W>();
    if (mostrarPrimero)
        MostrarHija(&w);
    w.tCodigo->setText(codigo);
    if (!mostrarPrimero)
        MostrarHija(&w);
}

}  // namespace

void verclientespendientes(ListView* lvw, const QString& sql)
{
    Llenar(lvw, sql, {"codigo_cli", "nombre_cli", "identificacion_cli", "telefono_cli", "fax_cli"}, kSinPendientes,
           QStringLiteral("falla en verclientespendientes"));
}

void verproveedorespendientes(ListView* lvw, const QString& sql)
{
    Llenar(lvw, sql, {"codigo_prov", "nombre_prov", "identificacion_prov", "telefono_prov", "fax_prov"}, kSinPendientes);
}

void verfacturaspendientes(ListView* lvw, const QString& sql)
{
    Llenar(lvw, sql, {"codigo_fac", "total", "abono", "saldo", "fecha", "fecha_vencimiento"},
           QStringLiteral("No existen facturas pendientes con el código relacionado"));
}

void verabonos(ListView* lvw, const QString& sql)
{
    Llenar(lvw, sql, {"num_abono", "valor_abono", "fecha_abono"}, QString());
}

void AbrirFact_xCobrar() { MostrarHija(&Ventana<fFact_xCobrar>()); }
void AbrirFact_xPagar() { MostrarHija(&Ventana<fFact_xPagar>()); }
void AbrirPorCobrar(const QString& codigo) { AbrirCuenta<fFact_xCobrar>(codigo, false); }
void AbrirPorPagar(const QString& codigo) { AbrirCuenta<fFact_xPagar>(codigo, true); }

void RegistrarMenusCuentas()
{
    RegistrarAbridor(QStringLiteral("cobrar"), AbrirFact_xCobrar);
    RegistrarAbridor(QStringLiteral("pagar"), AbrirFact_xPagar);
    Enganchar(fAdmCli::abrirPorCobrar, AbrirPorCobrar);
    Enganchar(fAdmProv::abrirPorPagar, AbrirPorPagar);
    // The sales list shows the window before it writes the code.
    Enganchar(fAdmVentas::abrirPorCobrar, [](const QString& codigo) { AbrirCuenta<fFact_xCobrar>(codigo, true); });
    Enganchar(fAdmCompras::abrirPorPagar, AbrirPorPagar);
}
