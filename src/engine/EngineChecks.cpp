#include "engine/EngineChecks.h"

#ifdef VESK_ENGINE_CHECKS

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Tolerances.h"

namespace vesk::engine {

namespace {

[[noreturn]] void Fail(const char* check, const std::string& detail) {
  std::fprintf(stderr, "engine check failed: %s: %s\n", check, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

void Expect(bool holds, const char* check, const std::string& detail) {
  if (!holds) Fail(check, detail);
}

std::string At(int j) { return "position " + std::to_string(j); }

}  // namespace

void CheckBasisHeading(const EngineModel& M) {
  const char* check = "basis heading";
  const int m = M.m, n = M.n;
  Expect(m >= 0 && n >= m, check, "m " + std::to_string(m) + ", n " + std::to_string(n));
  Expect(static_cast<int>(M.column.size()) == n + 2, check, "column array of the wrong size");
  for (int j = -1; j <= n; ++j) {
    const ColumnRecord* c = M.column[static_cast<size_t>(j + 1)];
    Expect(c != nullptr && c->number == j, check, At(j) + " holds a column numbered otherwise");
    const uint32_t serial = M.columnTable.Get(c->hashSlot);
    Expect(serial >= 1 && serial <= M.columnStore.size() && M.columnStore[serial - 1].get() == c, check,
           At(j) + ": its name-table slot names another column");
  }
  Expect(static_cast<int>(M.rows.size()) == m + 1 || (m == 0 && M.rows.empty()), check, "row array of the wrong size");
  for (int i = 1; i <= m; ++i)
    Expect(static_cast<int>(M.rowTable.Get(M.Row(i).hashSlot)) == i, check,
           "row " + std::to_string(i) + ": its name-table slot names another row");
  Expect(m == 0 || M.Row(m).name == M.objectiveRowName, check, "the objective row is not last");
  Expect(static_cast<int>(M.basicValues.size()) == m + 1 && static_cast<int>(M.duals.size()) == m + 1 &&
             static_cast<int>(M.pivotColumn.size()) == m + 1,
         check, "work vectors of the wrong size");
}

void CheckColumnStatuses(const EngineModel& M) {
  const char* check = "column status";
  const int m = M.m, n = M.n;
  std::vector<char> listed(static_cast<size_t>(m) + 1, 0);
  for (int i : M.infeasibleList) {
    Expect(i >= 1 && i <= m - 1 && !listed[static_cast<size_t>(i)], check,
           "infeasible list holds row " + std::to_string(i) + " twice or out of range");
    listed[static_cast<size_t>(i)] = 1;
  }
  Expect(M.infeasCount == static_cast<int>(M.infeasibleList.size()), check, "infeasible count differs from the list");
  for (int j = 1; j <= m; ++j) {
    const ColumnRecord& c = M.Col(j);
    const double x = M.basicValues[static_cast<size_t>(j)];
    switch (c.status) {
      case ColumnStatus::kWithin:
        Expect(!listed[static_cast<size_t>(j)], check, At(j) + " is listed infeasible but within its bounds");
        break;
      case ColumnStatus::kBelow:
      case ColumnStatus::kAbove: {
        const bool below = c.status == ColumnStatus::kBelow;
        Expect(c.kind < kObjectiveLogical && j < m, check, At(j) + ": an unbounded basic column is infeasible");
        Expect(listed[static_cast<size_t>(j)], check, At(j) + " is infeasible but not listed");
        Expect(below ? x < c.lower : x > c.upper, check, At(j) + ": its value is not beyond the bound its status names");
        break;
      }
      case ColumnStatus::kAtLower:
      case ColumnStatus::kAtUpper:
        Fail(check, At(j) + " is basic with a nonbasic status");
    }
  }
  for (int j = m + 1; j <= n; ++j) {
    const ColumnRecord& c = M.Col(j);
    Expect(IsNonbasicStatus(c.status), check, At(j) + " is nonbasic with a basic status");
    if (c.status == ColumnStatus::kAtUpper)
      Expect(c.upper <= kInfiniteBound, check, At(j) + " stands at an infinite upper bound");
  }
}

void CheckEtaFile(const EngineModel& M) {
  const char* check = "eta file";
  const EtaFile& F = M.etaFile;
  const int m = M.m;
  const size_t count = static_cast<size_t>(F.count);
  Expect(F.count >= 0 && F.count <= F.capacity, check, "count " + std::to_string(F.count) + " beyond the capacity");
  Expect(F.start.size() == count + 1 && F.denseStart.size() == count + 1 && F.nonzerosUpTo.size() == count + 1,
         check, "index arrays disagree with the count");
  Expect(F.start.front() == 0 && F.start.back() == static_cast<int64_t>(F.entries.size()), check,
         "entry index does not span the entries");
  Expect(F.denseStart.front() == 0 && F.denseStart.back() == static_cast<int64_t>(F.dense.size()), check,
         "dense index does not span the dense values");
  Expect(F.nonzerosUpTo.back() == F.nonzeros, check, "nonzero total differs from its running count");
  for (size_t k = 1; k <= count; ++k) {
    const std::string eta = "eta " + std::to_string(k);
    const int64_t b = F.start[k - 1], e = F.start[k];
    Expect(e > b, check, eta + " is empty");
    Expect(F.nonzerosUpTo[k] >= F.nonzerosUpTo[k - 1], check, eta + ": running nonzero count falls");
    const int64_t len = F.denseStart[k] - F.denseStart[k - 1];
    Expect(len == 0 || len == m, check, eta + ": dense copy does not span the rows");
    const EtaEntry& pivot = F.entries[static_cast<size_t>(b)];
    Expect(pivot.row >= 1 && pivot.row <= m, check, eta + ": pivot row out of range");
    Expect(std::isfinite(pivot.value) && pivot.value != 0.0, check, eta + ": pivot not finite and nonzero");
    for (int64_t q = b + 1; q < e; ++q) {
      const EtaEntry& entry = F.entries[static_cast<size_t>(q)];
      Expect(entry.row >= 1 && entry.row <= m && entry.row != pivot.row, check, eta + ": entry row out of range");
    }
  }
}

void CheckBasis(const EngineModel& M) {
  CheckBasisHeading(M);
  CheckColumnStatuses(M);
}

void CheckStepStart(const EngineModel& M, int q, int leavingRow) {
  const char* check = "step";
  Expect(q > M.m && q <= M.n && IsNonbasicStatus(M.Col(q).status), check,
         "the entering " + At(q) + " is not nonbasic at a bound");
  if (leavingRow == 0) return;
  Expect(leavingRow >= 1 && leavingRow < M.m && M.Col(leavingRow).kind < kObjectiveLogical, check,
         "leaving row " + std::to_string(leavingRow) + " holds no bounded basic column");
}

}  // namespace vesk::engine

#endif  // VESK_ENGINE_CHECKS
