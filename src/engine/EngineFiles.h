#pragma once
// The engine's files beside the model: basis file "BSS", pseudo-cost file
// "PSE" and infeasibility file "INF", all named by the model name up to its
// first "." and kept in the host's working folder.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EngineModel.h"

namespace vesk::engine {

std::filesystem::path EngineFileName(EngineModel& model, std::string_view extension);
// Model-name prefix of the engine's files: up to and including the first ".".
std::string EngineFilePrefix(std::string_view modelName);

void SaveBasis(EngineModel& model);  // the basis file is not written
// Reads the basis file and reinverts. Returns false when that cleared the model.
bool LoadBasis(EngineModel& model);

// A basis by column names, in the words of the basis file: tag 'X' makes a
// column basic, tag 'U' puts a nonbasic column at its upper bound. Later
// entries override earlier ones for the same column.
struct BasisEntry {
  char tag;
  std::string name;
};
using BasisList = std::vector<BasisEntry>;
// Makes the listed basis the current one of a prepared model and reinverts;
// names the model lacks are passed over, and the reinversion repairs a basis
// that is singular or has the wrong size. Returns false when it cleared the model.
bool ApplyBasisList(EngineModel& model, const BasisList& basis);
// The current basis of a prepared model: every basic column, then every
// nonbasic column at its upper bound.
BasisList CurrentBasisList(const EngineModel& model);
void SavePseudoCosts(EngineModel& model);  // the pseudo-cost file is not written
void LoadPseudoCosts(EngineModel& model);
void DeleteInfFile(EngineModel& model);
// Saves the basis when BASIS-INTERVALL iterations have passed since the last save.
void PeriodicBasisSave(EngineModel& model);

}  // namespace vesk::engine
