#include "mFunciones.h"

#include "BusyCursor.h"
#include "mUnidad.h"
#include "msgbox.h"


bool AbrirRecordset(const QString& source)
{
    Err.Clear();
    // The previous result is released here; a caller that kept its own
    // pointer to it still has it.
    gRecordset = std::make_shared<ado::Recordset>();
    {
        // A lock on another workstation or a slow server may hold it.
        const BusyCursor espera;
        Trap([&] { gRecordset->Open(source, Conexion()); });
    }
    return ControlErrores();
}

namespace {
const QString kUpdateFallido = QStringLiteral("Error en Update de la Función DatosActualizados en el módulo 'mFunciones'");
}

FilaCargada LeerFila(ado::Recordset& rs)
{
    FilaCargada fila;
    if (rs.Eof() || rs.Bof())
        return fila;
    for (int i = 0; i < rs.FieldCount(); ++i)
        fila.append(rs.Fields(i).Value());
    return fila;
}

namespace {
// Whether the first row of rs still holds what the window loaded.
bool ComoSeCargo(ado::Recordset& rs, const FilaCargada& cargada)
{
    if (rs.RecordCount() < 1)
        return true;  // no row: the save fails as it always has
    rs.MoveFirst();
    for (int i = 0; i < cargada.size() && i < rs.FieldCount(); ++i) {
        if (!cargada[i])
            continue;
        const QVariant ahora = rs.Fields(i).Value();
        const QVariant& antes = *cargada[i];
        const bool nulo = !ahora.isValid() || ahora.isNull(), eraNulo = !antes.isValid() || antes.isNull();
        if (nulo != eraNulo || (!nulo && ahora != antes))
            return false;
    }
    return true;
}
}  // namespace

bool GuardarFila(const ValoresCajas& txt, const QString& source, qint32 modo, const FilaCargada& cargada,
                 EtapaGuardar* etapa)
{
    EtapaGuardar local;
    EtapaGuardar& e = etapa ? *etapa : local;
    e = EtapaGuardar::Abrir;
    // The previous result is released here, as AbrirRecordset does.
    gRecordset = std::make_shared<ado::Recordset>();
    ado::Recordset& rs = *gRecordset;
    rs.Open(source, Conexion());
    e = EtapaGuardar::Escribir;
    // The row as read here is what the write below must still find, so the
    // check and the write together see any change made since the load.
    if (modo == 1 && !cargada.isEmpty() && !ComoSeCargo(rs, cargada))
        throw ado::Error{ado::err::Conflict, QStringLiteral("El registro cambió desde que se cargó"), ado::Fault::Changed};
    // A mode that writes nothing is no save: the caller must not take it
    // for one.
    if (modo < 0 || modo > 2)
        return false;
    auto box = [&](int i) -> QString {
        if (i < 0 || i >= txt.size() || !txt[i])
            throw ado::Error{ado::err::NoControl, QStringLiteral("El elemento %1 de la matriz de controles no existe").arg(i)};
        return *txt[i];
    };
    try {
        switch (modo) {
        case 2:
            rs.AddNew();
            for (gIndice = 0; gIndice <= rs.FieldCount() - 1; ++gIndice)
                rs.Fields(int(gIndice)).setValue(box(int(gIndice)));
            break;
        case 1:
            for (gIndice = 1; gIndice <= rs.FieldCount() - 1; ++gIndice) {
                const QString t = box(int(gIndice));
                // A column stored without a value, still shown empty, stays
                // so: an empty text is no number or date to write.
                if (t.isEmpty() && rs.Fields(int(gIndice)).IsNull())
                    continue;
                rs.Fields(int(gIndice)).setValue(t);
            }
            break;
        case 0:
            rs.Fields(10).setValue(box(10));
            rs.Fields(11).setValue(box(11));
            break;
        }
        rs.Update();
    } catch (...) {
        rs.CancelUpdate();
        throw;
    }
    return true;
}

namespace {
// After a save that did not store: the error check's message, and the
// save's own line when the save itself failed (not its open, nor what ran
// before or after it).
void AvisarNoGuardado(bool sinError, EtapaGuardar etapa)
{
    if (!sinError)
        ControlErrores();
    if (etapa == EtapaGuardar::Escribir)
        MsgBox(kUpdateFallido);
}
}  // namespace

bool DatosActualizados(const ValoresCajas& txt, const QString& source, qint32 modo, const FilaCargada& cargada)
{
    const BusyCursor espera;
    EtapaGuardar etapa = EtapaGuardar::Abrir;
    bool escrito = false;
    Err.Clear();
    const bool sinError = Trap([&] { escrito = GuardarFila(txt, source, modo, cargada, &etapa); });
    if (sinError && escrito)
        return true;
    AvisarNoGuardado(sinError, etapa);
    return false;
}

Guardado GuardarEnUnidad(const ValoresCajas& valores, const QString& source, qint32 modo, const FilaCargada& cargada,
                         const AntesDeGuardar& antes, const DespuesDeGuardar& despues)
{
    EtapaGuardar etapa = EtapaGuardar::Antes;
    bool rechazado = false, escrito = false;
    const bool sinError = EnTransaccion([&](ado::Connection& cn) {
        // A unit may run again: each run starts from the values as given.
        etapa = EtapaGuardar::Antes;
        rechazado = escrito = false;
        ValoresCajas v = valores;
        if (antes && !antes(cn, v)) {
            rechazado = true;
            return false;
        }
        escrito = GuardarFila(v, source, modo, cargada, &etapa);
        if (!escrito)
            return false;
        etapa = EtapaGuardar::Despues;
        if (despues)
            despues(cn);
        return true;
    });
    if (sinError && rechazado)
        return Guardado::Rechazado;
    if (sinError && escrito)
        return Guardado::Si;
    AvisarNoGuardado(sinError, etapa);
    return Guardado::Fallo;
}

namespace {

// Failures a clerk meets in ordinary work, in words the clerk can act on;
// the engine's number is kept. False when the failure is none of them.
bool MensajeDeFalla(ado::Fault falla, long n, const QString& descripcion)
{
    QString texto;
    MsgStyle estilo = MsgStyle::Exclamation;
    // What the clerk can only wait out or repeat is told once per action.
    bool unaVez = false;
    switch (falla) {
    case ado::Fault::None:
        return false;
    case ado::Fault::ConnectionLost:
        texto = QStringLiteral("Se perdió la conexión con el servidor de la base de datos y el trabajo no se guardó. "
                               "Verifique que el servidor esté en marcha e inténtelo de nuevo");
        unaVez = true;
        break;
    case ado::Fault::Unreachable:
        texto = QStringLiteral("No se pudo conectar con el servidor de la base de datos. Verifique que el servidor esté en "
                               "marcha y que esta estación llegue a él por la red, e inténtelo de nuevo");
        unaVez = true;
        break;
    case ado::Fault::NoAnswer:
        texto = QStringLiteral("El servidor de la base de datos no respondió a tiempo y el trabajo no se guardó. "
                               "Verifique que el servidor esté en marcha y que esta estación llegue a él por la red, "
                               "e inténtelo de nuevo");
        unaVez = true;
        break;
    case ado::Fault::Unconfirmed:
        texto = QStringLiteral("El servidor de la base de datos no confirmó que guardara el trabajo, y no se sabe si quedó "
                               "guardado. Cuando el servidor vuelva a responder, busque el trabajo (la factura en su lista, "
                               "por ejemplo) antes de repetirlo, para no guardarlo dos veces");
        unaVez = true;
        break;
    case ado::Fault::Busy:
        // A unit that kept losing the same rows to other workstations.
        texto = n == ado::err::Deadlock
                    ? QStringLiteral("Otra estación de trabajo está usando los mismos datos en este momento y el trabajo no "
                                     "se guardó. Presione de nuevo para repetirlo")
                    : QStringLiteral("La base de datos está ocupada por otra estación de trabajo y el trabajo no se guardó. "
                                     "Espere unos momentos e inténtelo de nuevo");
        unaVez = true;
        break;
    case ado::Fault::Changed:
        texto = QStringLiteral("Otra estación de trabajo cambió o eliminó este registro después de que usted lo abrió, "
                               "y sus cambios no se guardaron para no borrar los de ella. "
                               "Abra el registro de nuevo y repita sus cambios");
        unaVez = true;
        break;
    case ado::Fault::DiskFull:
        texto = QStringLiteral("El disco de la base de datos está lleno y el trabajo no se guardó. "
                               "Libere espacio en el disco e inténtelo de nuevo");
        estilo = MsgStyle::Critical;
        break;
    case ado::Fault::ReadOnly:
        texto = QStringLiteral("La base de datos es de solo lectura y no se puede guardar en ella ningún trabajo. "
                               "Revise los permisos del archivo y de su carpeta, o los del usuario del servidor");
        estilo = MsgStyle::Critical;
        break;
    case ado::Fault::MissingRelated:
        texto = QStringLiteral("El registro se refiere a otro que ya no existe (un cliente, un proveedor, un artículo, "
                               "una empresa o una factura) y el trabajo no se guardó");
        break;
    case ado::Fault::TooLong:
        texto = QStringLiteral("Un texto es más largo de lo que admite su campo y el trabajo no se guardó. "
                               "Acórtelo e inténtelo de nuevo");
        break;
    case ado::Fault::Damaged:
        texto = descripcion;  // the layer's words name the file
        estilo = MsgStyle::Critical;
        break;
    }
    MsgBox(QStringLiteral("Error No: ") + QString::number(n) + QStringLiteral(". ") + texto, estilo);
    if (unaVez)
        accion::Contado();
    return true;
}

}  // namespace

bool ControlErrores()
{
    const long n = Err.Number;
    const QString d = Err.Description;
    const ado::Fault falla = Err.Fault;
    Err.Clear();
    const QString ns = QString::number(n);
    if (n == 0)
        return true;
    // No lock may wait on the clerk: a unit that failed is undone before its
    // message shows.
    if (gConexion && gConexion->transactionDepth() > 0)
        gConexion->AbortUnit();
    switch (n) {
    case 0:
        return true;
    case ado::err::Related:
        MsgBox(QStringLiteral("No es posible eliminar el registro debido a que está relacionado"), MsgStyle::Exclamation);
        return false;
    case ado::err::Duplicate:
        MsgBox(QStringLiteral("Error No: ") + ns
                   + QStringLiteral(" Código o Descripción no pueden ser duplicados, inserte otros datos e intentelo de nuevo o verifique si otro usuario esta accediendo al registro"),
               MsgStyle::Exclamation);
        return false;
    case ado::err::NoMemory:
        MsgBox(QStringLiteral("Error No: ") + ns
                   + QStringLiteral(" Memoria insuficiente. Libere memoria cerrando las demás aplicaciones e inténtelo de nuevo"),
               MsgStyle::Critical);
        return false;
    case ado::err::NoTable:
        MsgBox(QStringLiteral("Error No: ") + ns + QStringLiteral(". ") + d
                   + QStringLiteral(". Hacer cambios en la base de datos puede dar como resultado fallos irreparables en el programa"),
               MsgStyle::Critical);
        EndProgram();
        return false;
    case ado::err::MissingFile:
        MsgBox(QStringLiteral("Error No: ") + ns + QStringLiteral(". ") + d
                   + QStringLiteral(". Hacer cambios en los archivos del software puede dar como resultado fallos irreparables en el programa"),
               MsgStyle::Critical);
        EndProgram();
        return false;
    case ado::err::NoDriver:
        MsgBox(QStringLiteral("Error No. ") + ns + QStringLiteral(". ") + d
                   + QStringLiteral(". Es posible que la instalación o desinstalación de otra aplicación haya afectado el sistema. Para corregir el problema instale -mdac_typ- (Microsoft Data Access Components)."),
               MsgStyle::Exclamation);
        EndProgram();
        return false;
    default:
        if (MensajeDeFalla(falla, n, d))
            return false;
        MsgBox(QStringLiteral("Error inesperado N° ") + ns + QStringLiteral(". ") + d, MsgStyle::Critical);
        return false;
    }
}
