// The shared procedures on a window's boxes: the boxes read as values for
// the save, and the boxes fitted to their columns.
#pragma once

#include "boxes.h"
#include "mFunciones.h"

ValoresCajas LeerCajas(const BoxArray& txt);

// DatosActualizados on the boxes' texts.
bool DatosActualizados(const BoxArray& txt, const QString& source, qint32 modo, const FilaCargada& cargada = {});

// Each line box takes at most what its column of tabla holds (box i is
// column primera + i, as DatosActualizados writes them), and no box takes
// control characters. Needs the store open.
void AjustarCajas(const BoxArray& cajas, const QString& tabla, int primera = 0);
