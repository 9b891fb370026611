// PrepareModel: adds the logical columns, puts rows and columns into the
// order the factorization and the simplex rely on, and inverts the logical
// starting basis.
#include <cstdio>

#include "engine/BoundTightening.h"
#include "engine/EngineHostMessages.h"
#include "engine/Reinvert.h"
#include "engine/search/Perturbation.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

void EngineModel::PrepareModel() {
  if (prepared) return;
  if (parameters.BooleanValue(host, "TIGHT")) CompressMatrix(*this);
  pricing = 30000;
  CheckColumnBounds();
  // A structural column without either bound is free.
  for (int j = 1; j <= n; ++j) {
    ColumnRecord& c = Col(j);
    if (c.kind == kStructural && c.lower < -kInfiniteBound && c.upper > kInfiniteBound) {
      c.kind = kFreeStructural;
      freeColumns = true;
    }
  }
  long long nnz = 0;
  for (int j = 1; j <= n; ++j) nnz += Col(j).Count();
  memoryEstimate = 24 * (m + nnz);
  if (n + m > kMaxColumnNumber) {
    host.MessageBox("FATAL ERROR\n\rMAXcolumn TOO SMALL");
    ClearModel();
    throw EngineFatalError("MAXcolumn TOO SMALL");
  }
  for (int j = 1; j <= n; ++j)
    if (Col(j).name.find(' ') != std::string::npos) host.MessageBox("Var " + Col(j).name + " Has Spaces");

  // Logical columns, one per row, named like the row.
  std::vector<double> range(static_cast<size_t>(m) + 1, 0.0);
  for (const auto& e : Col(-1).entries) range[e.row] = e.value;
  const int structural = n;
  bool renamed = false;
  int countG = 0, countE = 0, countL = 0;
  for (int i = 1; i <= m; ++i) {
    RowRecord& row = Row(i);
    uint8_t kind;
    double coefficient = 1;
    switch (row.type) {
      case kRowL: kind = kSlack; ++countL; break;
      case kRowE: kind = kArtificial; ++countE; break;
      case kRowG: kind = kSurplus; coefficient = -1; ++countG; break;
      default: kind = kObjectiveLogical; break;
    }
    const int before = n;
    int j = FindColumn(row.name, kind);
    if (n == before) {
      const std::string newName = Cut("\xFF" + row.name);
      if (row.type == kRowN && row.name == objectiveRowName) objectiveRowName = newName;
      row.name = newName;
      renamed = true;
      j = FindColumn(newName, kind);
    }
    PutEntry(i, j, coefficient);
    ColumnRecord& c = Col(j);
    switch (kind) {
      case kSlack:
      case kSurplus:
        if (range[i] != 0) c.upper = range[i];
        break;
      case kArtificial:
        c.upper = 0;
        break;
      case kObjectiveLogical:
        c.lower = -kEngineInfinity;
        break;
    }
  }
  if (renamed) RebuildNameTables();
  for (int i = 1; i <= m; ++i) SwapColumns(i, structural + i);

  // N rows to the bottom, the objective row last.
  int last = m;
  for (int i = m; i >= 1; --i)
    if (Row(i).type == kRowN) {
      SwapRows(i, last);
      --last;
    }
  {
    const int r = FindRow(objectiveRowName);
    if (r > 0 && r != m) SwapRows(r, m);
  }

  // A free column starts basic in place of the logical of its first row.
  if (freeColumns)
    for (int j = m + 1; j <= n; ++j) {
      ColumnRecord& c = Col(j);
      if (c.kind != kFreeStructural) continue;
      int r = m;
      for (const auto& e : c.entries) r = std::min(r, e.row);
      // The logicals still stand in the order the rows were defined, so the
      // objective's own logical is recognised by its row, not its position.
      if (r == m || Row(r).type == kRowN) continue;
      const int logical = FindColumnNumber(Row(r).name);
      if (logical > 0 && logical < m) SwapColumns(j, logical);
    }

  for (int j = 1; j <= m; ++j) Col(j).status = ColumnStatus::kWithin;
  for (int j = m + 1; j <= n; ++j) Col(j).status = ColumnStatus::kAtLower;

  if (ConsoleOn(*this)) {
    char density[32];
    std::snprintf(density, sizeof density, "%5.2f", n > 0 && m > 0 ? 100.0 * nnz / m / n : 0.0);
    ConsoleLine(*this, "R " + std::to_string(m) + " C " + std::to_string(n - m) + " <>0 " + std::to_string(nnz) +
                           " " + density + " %  > " + std::to_string(countG) + " = " + std::to_string(countE) +
                           " < " + std::to_string(countL));
  }

  duals.assign(static_cast<size_t>(m) + 1, 0.0);
  pivotColumn.assign(static_cast<size_t>(m) + 1, 0.0);
  basicValues.assign(static_cast<size_t>(m) + 1, 0.0);
  infeasibleList.reserve(static_cast<size_t>(m));
  SetPerturbation(*this, 1);
  etaFile.Clear();
  etaFile.capacity = std::min(8 * m, 65535);
  if (!Reinvert(*this)) return;
  prepared = true;
}

}  // namespace vesk::engine
