// The shared open, save and error-check procedures.
#pragma once

#include "mVblesGlobales.h"
#include "vbrt.h"
#include <QString>
#include <QVector>
#include <functional>
#include <optional>

// Opens source (a statement or a bare table name) as the new gRecordset.
bool AbrirRecordset(const QString& source);

// The texts of a window's boxes as values: value i is box i's text, none
// for a box that does not exist (mFuncionesCajas.h reads them).
using ValoresCajas = QVector<std::optional<QString>>;

// A stored row as a window loaded it: column i as read, or none for a
// column the window takes as stored at the save (a value that other
// workstations move, such as a stock or a counter).
using FilaCargada = QVector<std::optional<QVariant>>;
// The current row of rs, every column; empty when there is none.
FilaCargada LeerFila(ado::Recordset& rs);

// Writes the values into the first row of source (modo 1), a new row (2),
// or fields 10 and 11 only (0), and stores it. In modo 1 an empty value
// leaves a column that holds no value (Null) as it is. Any other mode
// writes nothing and is reported as a failed save. A value that is none
// fails the save as a missing box does.
//
// With cargada in modo 1 the row must still hold what the window loaded: a
// row another workstation changed since is not written, and the error
// check says so.
bool DatosActualizados(const ValoresCajas& valores, const QString& source, qint32 modo,
                       const FilaCargada& cargada = {});

// The save as a part of a unit: opens source as the new gRecordset and
// writes the values as DatosActualizados does, showing nothing; a failure
// throws ado::Error. False, with nothing written, for a mode that writes
// nothing. etapa says how far it got: a failure at Abrir is the source's,
// at Escribir the row's.
enum class EtapaGuardar { Antes, Abrir, Escribir, Despues };
bool GuardarFila(const ValoresCajas& valores, const QString& source, qint32 modo, const FilaCargada& cargada = {},
                 EtapaGuardar* etapa = nullptr);

// A save in one unit of work with what must hold until it is stored: antes
// runs first (locks and checks; it may adjust the values; false gives the
// unit up, and its caller tells why), then the save, then despues. The
// messages come once the unit has ended: the error check's, and the save's
// own line when the row itself was refused.
enum class Guardado { Si, Rechazado, Fallo };
using AntesDeGuardar = std::function<bool(ado::Connection&, ValoresCajas&)>;
using DespuesDeGuardar = std::function<void(ado::Connection&)>;
Guardado GuardarEnUnidad(const ValoresCajas& valores, const QString& source, qint32 modo, const FilaCargada& cargada,
                         const AntesDeGuardar& antes, const DespuesDeGuardar& despues = {});



// Shows the message of the current error (Err) and clears it; true when
// there was none. Ends the program on ado::err::NoTable, MissingFile and
// NoDriver.
bool ControlErrores();
