// CrashBasis: brings sparse structural columns into the logical starting
// basis. Each nonbasic column is keyed by the first row holding one of its
// significant entries; per key the column with the fewest entries replaces
// the logical of that row.
#include "engine/CrashBasis.h"

#include <algorithm>

#include "engine/Reinvert.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

bool CrashBasis(EngineModel& M) {
  ConsoleLine(M, "CRASH BASIS");
  ConsoleLine(M, "");
  const int m = M.m, n = M.n;
  std::vector<std::pair<int, ColumnRecord*>> keyed;
  keyed.reserve(static_cast<size_t>(std::max(0, n - m)));
  for (int j = m + 1; j <= n; ++j) {
    ColumnRecord* c = &M.Col(j);
    int key = m + 2;
    if (c->upper - c->lower > kZeroRange)
      for (const auto& e : c->entries)
        if ((e.value > kCrashEntry || e.value < -kCrashEntry) && e.row < key) key = e.row;
    keyed.emplace_back(key, c);
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t t = 0; t < keyed.size(); ++t) {
    const int pos = m + 1 + static_cast<int>(t);
    M.column[static_cast<size_t>(pos + 1)] = keyed[t].second;
    keyed[t].second->number = pos;
  }
  for (size_t a = 0; a < keyed.size();) {
    size_t b = a;
    const int r = keyed[a].first;
    ColumnRecord* chosen = keyed[a].second;
    while (b < keyed.size() && keyed[b].first == r) {
      if (keyed[b].second->Count() < chosen->Count()) chosen = keyed[b].second;
      ++b;
    }
    if (r <= n && M.Col(r).kind < kObjectiveLogical) M.SwapColumns(chosen->number, r);
    a = b;
  }
  for (int j = 1; j <= m; ++j) M.Col(j).status = ColumnStatus::kWithin;
  for (int j = m + 1; j <= n; ++j) {
    ColumnRecord& c = M.Col(j);
    c.status = ColumnStatus::kAtLower;
    if (c.kind == kFreeStructural) {
      c.lower = 0;
      c.upper = kEngineInfinity;
    }
  }
  return Reinvert(M);
}

}  // namespace vesk::engine
