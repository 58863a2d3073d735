// One unit of work on the store: what it writes is stored together or not
// at all. Every subsystem's units go through here.
#pragma once

#include "adodb.h"

#include <functional>

// Runs cuerpo in a unit on the program's connection: true from cuerpo
// commits, false rolls back; an error rolls back and is thrown on. Inside
// an open unit it joins it, and a failure gives the whole outer unit up.
// cuerpo shows no message and asks nothing: the unit holds its locks
// until it ends.
bool EnUnidad(const std::function<bool(ado::Connection&)>& cuerpo);

// The same for a caller that reports failures itself: false when an error
// rolled the unit back, which then lands in Err; a cuerpo that gives up
// rolls back and still gives true. The busy cursor shows while it runs.
//
// A unit of its own (none open around it) that meets a deadlock, or on a
// cluster another node's commit of the same rows (err::Deadlock), runs
// again after a short random pause, up to kIntentosUnidad times in all:
// cuerpo must start afresh on each run.
constexpr int kIntentosUnidad = 20;
bool EnTransaccion(const std::function<bool(ado::Connection&)>& cuerpo);

// Test hook: the pause in ms before the run after run intento; empty gives
// the random one back.
void FijarPausaUnidad(std::function<int(int intento)> pausa);
