#pragma once
// The optional reduction of a model before its first preparation (parameter
// TIGHT): explicit zero entries are removed, rows with a single structural
// entry become column bounds, fixed columns are substituted into the
// right-hand side, integer bounds are rounded inward and column bounds are
// tightened from the activity bounds of the rows. Every change is logged in
// the "CMP" file; a run that changes nothing leaves no file.
#include "engine/EngineModel.h"

namespace vesk::engine {

// The whole reduction. Runs on a model without logical columns.
void CompressMatrix(EngineModel& model);

// Removes row i: its entries in every column -1..n, its record and its
// name-table slot (the tables must be rebuilt before names are looked up).
void DeleteRow(EngineModel& model, int i);

class CompressionLog;
// Both return true when nothing changed.
bool SubstituteFixedColumns(EngineModel& model, CompressionLog& log);
bool TightenBounds(EngineModel& model, CompressionLog& log);

}  // namespace vesk::engine
