#pragma once
// The crash basis and the engine's files beside the model: basis file "BSS",
// pseudo-cost file "PSE" and infeasibility file "INF", all named by the model
// name up to its first "." and kept in the host's working folder.
#include <filesystem>
#include <string_view>

#include "engine/EngineModel.h"

namespace vesk::engine {

std::filesystem::path EngineFileName(EngineModel& model, std::string_view extension);
// Model-name prefix of the engine's files: up to and including the first ".".
std::string EngineFilePrefix(std::string_view modelName);

// Replaces logical basic columns by sparse structural ones, then reinverts.
// Returns false when the reinversion cleared the model.
bool CrashBasis(EngineModel& model);
void SaveBasis(EngineModel& model);  // the basis file is not written
// Reads the basis file and reinverts. Returns false when that cleared the model.
bool LoadBasis(EngineModel& model);
void SavePseudoCosts(EngineModel& model);  // the pseudo-cost file is not written
void LoadPseudoCosts(EngineModel& model);
void DeleteInfFile(EngineModel& model);
// Saves the basis when BASIS-INTERVALL iterations have passed since the last save.
void PeriodicBasisSave(EngineModel& model);

}  // namespace vesk::engine
