#include "engine/EngineFiles.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/Reinvert.h"
#include "engine/search/Perturbation.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

std::string EngineFilePrefix(std::string_view modelName) {
  const size_t dot = modelName.find('.');
  if (dot == std::string_view::npos) return std::string();
  return std::string(modelName.substr(0, dot + 1));
}

std::filesystem::path EngineFileName(EngineModel& M, std::string_view extension) {
  return M.host.WorkingFolder() / (EngineFilePrefix(M.modelName) + std::string(extension));
}

void SaveBasis(EngineModel&) {}
void SavePseudoCosts(EngineModel&) {}

void PeriodicBasisSave(EngineModel& M) {
  if (M.basisInterval > 0 && M.iterationCount - M.lastBasisSave > M.basisInterval) {
    SaveBasis(M);
    M.lastBasisSave = M.iterationCount;
  }
}

bool LoadBasis(EngineModel& M) {
  if (!M.modelPresent) return true;
  const auto path = EngineFileName(M, "BSS");
  std::ifstream in(path);
  if (!in) {
    ConsoleLine(M, "BASIS FILE " + path.filename().string() + " NOT FOUND");
    return true;
  }
  SetPerturbation(M, 0);
  ConsoleLine(M, "LOADING BASIS " + path.filename().string());
  BasisList basis;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] != ' ') continue;
    std::istringstream words(line);
    std::string tag, name;
    while (words >> tag >> name) {
      if (tag == "X") basis.push_back({'X', name});
      else if (tag == "U") basis.push_back({'U', name});
    }
  }
  return ApplyBasisList(M, basis);
}

bool ApplyBasisList(EngineModel& M, const BasisList& basis) {
  if (!M.modelPresent) return true;
  SetPerturbation(M, 0);
  int k = 0;
  for (int j = 1; j <= M.n; ++j) M.Col(j).status = ColumnStatus::kAtLower;
  for (int j = 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.kind == kObjectiveLogical || c.kind == kFreeStructural) {
      ++k;
      M.SwapColumns(j, k);
      M.Col(k).status = ColumnStatus::kWithin;
    }
  }
  M.iterationCount = 0;
  for (const BasisEntry& entry : basis) {
    const int j = M.FindColumnNumber(entry.name);
    if (j <= 0) continue;
    ColumnRecord& c = M.Col(j);
    if (entry.tag == 'X' && j > k) c.status = ColumnStatus::kWithin;  // marked for the basis
    else if (entry.tag == 'U' && c.upper < kInfiniteBound) c.status = ColumnStatus::kAtUpper;
  }
  for (int j = M.n; j > k;) {
    if (M.Col(j).status == ColumnStatus::kWithin) {
      M.SwapColumns(j, k + 1);
      ++k;
    } else {
      --j;
    }
  }
  for (int j = M.m + 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.status == ColumnStatus::kAtUpper && c.upper > kLargeBound) c.status = ColumnStatus::kAtLower;
    else if (c.status != ColumnStatus::kAtUpper && c.lower < -kLargeBound) c.status = ColumnStatus::kAtUpper;
    if (c.kind == kFreeStructural) {
      if (c.status != ColumnStatus::kAtUpper) {
        c.lower = 0;
        c.upper = kEngineInfinity;
      } else {
        c.lower = -kEngineInfinity;
        c.upper = 0;
      }
    }
  }
  if (!Reinvert(M)) return false;
  if (M.infeasCount > 0) SetPerturbation(M, 1);
  return true;
}

BasisList CurrentBasisList(const EngineModel& M) {
  BasisList basis;
  basis.reserve(static_cast<size_t>(std::max(0, M.m)));
  for (int j = 1; j <= M.m && j <= M.n; ++j) basis.push_back({'X', M.Col(j).name});
  for (int j = M.m + 1; j <= M.n; ++j)
    if (M.Col(j).status == ColumnStatus::kAtUpper) basis.push_back({'U', M.Col(j).name});
  return basis;
}

void LoadPseudoCosts(EngineModel& M) {
  std::ifstream in(EngineFileName(M, "PSE"));
  if (!in) return;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string name, down, up;
    if (!(words >> name >> down >> up)) continue;
    const int j = M.FindColumnNumber(name);
    if (j <= 0) continue;
    double d = 0, u = 0;
    if (!ParseEngineNumber(down, d) || !ParseEngineNumber(up, u)) continue;
    M.Col(j).downPseudoCost = static_cast<float>(d);
    M.Col(j).upPseudoCost = static_cast<float>(u);
  }
}

void DeleteInfFile(EngineModel& M) {
  std::error_code ec;
  std::filesystem::remove(EngineFileName(M, "INF"), ec);
}

}  // namespace vesk::engine
