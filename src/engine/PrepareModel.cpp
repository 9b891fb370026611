// PrepareModel: adds the logical columns, puts rows and columns into the
// order the factorization and the simplex rely on, and inverts the logical
// starting basis.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/BoundTightening.h"
#include "engine/EngineHostMessages.h"
#include "engine/Reinvert.h"
#include "engine/search/Perturbation.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

namespace {

// Marks the structural columns without either bound as free and checks the
// model's size; returns the number of stored entries.
long long MarkFreeColumnsAndCount(EngineModel& M) {
  for (int j = 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.kind == kStructural && c.lower < -kInfiniteBound && c.upper > kInfiniteBound) {
      c.kind = kFreeStructural;
      M.freeColumns = true;
    }
  }
  long long nnz = 0;
  for (int j = 1; j <= M.n; ++j) nnz += M.Col(j).Count();
  M.memoryEstimate = 24 * (M.m + nnz);
  if (M.n + M.m > kMaxColumnNumber) {
    M.host.MessageBox("FATAL ERROR\n\rMAXcolumn TOO SMALL");
    M.ClearModel();
    throw EngineFatalError("MAXcolumn TOO SMALL");
  }
  for (int j = 1; j <= M.n; ++j)
    if (M.Col(j).name.find(' ') != std::string::npos) M.host.MessageBox("Var " + M.Col(j).name + " Has Spaces");
  return nnz;
}

// Counts of the row types, for the model line.
struct RowCounts {
  int G = 0, E = 0, L = 0;
};

// One logical column per row, named like the row (a row whose name a
// structural column already has is renamed with a leading \xFF), with its
// bounds from the row type and the ranges; the logicals then take positions
// 1..m.
RowCounts AddLogicalColumns(EngineModel& M) {
  const int m = M.m;
  std::vector<double> range(static_cast<size_t>(m) + 1, 0.0);
  for (const auto& e : M.Col(-1).entries) range[e.row] = e.value;
  const int structural = M.n;
  bool renamed = false;
  RowCounts counts;
  for (int i = 1; i <= m; ++i) {
    RowRecord& row = M.Row(i);
    uint8_t kind;
    double coefficient = 1;
    switch (row.type) {
      case kRowL: kind = kSlack; ++counts.L; break;
      case kRowE: kind = kArtificial; ++counts.E; break;
      case kRowG: kind = kSurplus; coefficient = -1; ++counts.G; break;
      default: kind = kObjectiveLogical; break;
    }
    const int before = M.n;
    int j = M.FindColumn(row.name, kind);
    if (M.n == before) {
      const std::string newName = EngineModel::Cut("\xFF" + row.name);
      if (row.type == kRowN && row.name == M.objectiveRowName) M.objectiveRowName = newName;
      row.name = newName;
      renamed = true;
      j = M.FindColumn(newName, kind);
    }
    M.PutEntry(i, j, coefficient);
    ColumnRecord& c = M.Col(j);
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
  if (renamed) M.RebuildNameTables();
  for (int i = 1; i <= m; ++i) M.SwapColumns(i, structural + i);
  return counts;
}

// N rows to the bottom, the objective row last.
void OrderRows(EngineModel& M) {
  const int m = M.m;
  int last = m;
  for (int i = m; i >= 1; --i)
    if (M.Row(i).type == kRowN) {
      M.SwapRows(i, last);
      --last;
    }
  const int r = M.FindRow(M.objectiveRowName);
  if (r > 0 && r != m) M.SwapRows(r, m);
}

// A free column starts basic in place of the logical of its first row.
void FreeColumnsIntoTheBasis(EngineModel& M) {
  const int m = M.m;
  for (int j = m + 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.kind != kFreeStructural) continue;
    int r = m;
    for (const auto& e : c.entries) r = std::min(r, e.row);
    // The logicals still stand in the order the rows were defined, so the
    // objective's own logical is recognised by its row, not its position.
    if (r == m || M.Row(r).type == kRowN) continue;
    const int logical = M.FindColumnNumber(M.Row(r).name);
    if (logical > 0 && logical < m) M.SwapColumns(j, logical);
  }
}

void ReportModelLine(EngineModel& M, long long nnz, const RowCounts& counts) {
  if (!ConsoleOn(M)) return;
  const int m = M.m, n = M.n;
  char density[32];
  std::snprintf(density, sizeof density, "%5.2f", n > 0 && m > 0 ? 100.0 * nnz / m / n : 0.0);
  ConsoleLine(M, "R " + std::to_string(m) + " C " + std::to_string(n - m) + " <>0 " + std::to_string(nnz) + " " +
                     density + " %  > " + std::to_string(counts.G) + " = " + std::to_string(counts.E) + " < " +
                     std::to_string(counts.L));
}

}  // namespace

void EngineModel::PrepareModel() {
  if (prepared) return;
  if (parameters.BooleanValue(host, "TIGHT")) CompressMatrix(*this);
  pricing = 30000;
  CheckColumnBounds();
  const long long nnz = MarkFreeColumnsAndCount(*this);
  const RowCounts counts = AddLogicalColumns(*this);
  OrderRows(*this);
  if (freeColumns) FreeColumnsIntoTheBasis(*this);
  for (int j = 1; j <= m; ++j) Col(j).status = ColumnStatus::kWithin;
  for (int j = m + 1; j <= n; ++j) Col(j).status = ColumnStatus::kAtLower;
  ReportModelLine(*this, nnz, counts);

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
