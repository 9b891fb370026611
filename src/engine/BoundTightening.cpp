#include "engine/BoundTightening.h"

#include <cmath>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "engine/EngineFiles.h"
#include "engine/Paraunit.h"
#include "engine/Tolerances.h"
#include "engine/search/SolverConsole.h"

namespace vesk::engine {

class CompressionLog {
 public:
  explicit CompressionLog(EngineModel& model) : path_(EngineFileName(model, "CMP")), out_(path_) {}
  void Line(const std::string& text) {
    ++changes_;
    if (out_) out_ << text << '\n';
  }
  // Closes the file; deletes it when nothing was logged.
  void Close() {
    out_.close();
    if (changes_ == 0) {
      std::error_code ec;
      std::filesystem::remove(path_, ec);
    }
  }
  long long Changes() const { return changes_; }

 private:
  std::filesystem::path path_;
  std::ofstream out_;
  long long changes_ = 0;
};

namespace {

constexpr int kMaxPasses = 50;  // bounds the passes of the reduction
constexpr int kMaxSweeps = 20;  // bounds the sweeps of one tightening

std::string Num(double x) { return ShortNumber(x); }

// Integer rounding of a computed bound, forgiving the rounding error of the
// arithmetic that produced it.
double RoundDown(double v) { return std::floor(v + kIntegralRounding * std::max(1.0, std::fabs(v))); }
double RoundUp(double v) { return std::ceil(v - kIntegralRounding * std::max(1.0, std::fabs(v))); }

bool Infinite(double bound) { return std::fabs(bound) > kInfiniteBound; }

int ObjectiveRowNumber(const EngineModel& M, const RowRecord* objective) {
  for (int i = 1; i <= M.m; ++i)
    if (&M.Row(i) == objective) return i;
  return 0;
}

double RowValue(const EngineModel& M, int column, int row) {
  for (const auto& e : M.Col(column).entries)
    if (e.row == row) return e.value;
  return 0;
}

void RemoveEntry(ColumnRecord& c, int row) {
  for (size_t k = 0; k < c.entries.size(); ++k)
    if (c.entries[k].row == row) {
      c.entries[k] = c.entries.back();
      c.entries.pop_back();
      return;
    }
}

// Rows with exactly one entry among the structural columns become bounds.
bool ReplaceSingletonRows(EngineModel& M, CompressionLog& log, const RowRecord* objective) {
  std::vector<int> count(static_cast<size_t>(M.m) + 1, 0), column(static_cast<size_t>(M.m) + 1, 0);
  for (int j = 1; j <= M.n; ++j)
    for (const auto& e : M.Col(j).entries) {
      ++count[static_cast<size_t>(e.row)];
      column[static_cast<size_t>(e.row)] = j;
    }
  bool changed = false;
  for (int i = M.m; i >= 1; --i) {
    const RowRecord& row = M.Row(i);
    if (row.type == kRowN || &row == objective || count[static_cast<size_t>(i)] != 1) continue;
    const int j = column[static_cast<size_t>(i)];
    ColumnRecord& c = M.Col(j);
    const double a = RowValue(M, j, i), b = RowValue(M, 0, i), range = std::fabs(RowValue(M, -1, i));
    // The row's interval lo <= a x <= hi; a range keeps both sides.
    double lo = -kEngineInfinity, hi = kEngineInfinity;
    if (row.type == kRowE) lo = hi = b;
    else if (row.type == kRowL) hi = b, lo = range != 0 ? b - range : -kEngineInfinity;
    else lo = b, hi = range != 0 ? b + range : kEngineInfinity;
    double newLower = -kEngineInfinity, newUpper = kEngineInfinity;
    if (a > 0) {
      if (!Infinite(lo)) newLower = lo / a;
      if (!Infinite(hi)) newUpper = hi / a;
    } else {
      if (!Infinite(hi)) newLower = hi / a;
      if (!Infinite(lo)) newUpper = lo / a;
    }
    if (!Infinite(newUpper)) {
      c.upper = std::min(c.upper, newUpper);
      log.Line("REPLACE ROW " + row.name + " By a UP Bound on Column " + c.name + " " + Num(c.upper));
    }
    if (!Infinite(newLower)) {
      c.lower = std::max(c.lower, newLower);
      log.Line("REPLACE ROW " + row.name + " By a LO Bound on Column " + c.name + " " + Num(c.lower));
    }
    DeleteRow(M, i);
    changed = true;
  }
  return changed;
}

bool RoundIntegerBounds(EngineModel& M, CompressionLog& log, std::vector<char>& reported) {
  bool changed = false;
  for (int j = 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (!c.isInteger) continue;
    const size_t key = static_cast<size_t>(j);
    if (c.upper > kInfiniteBound) {
      if (!(reported[key] & 1)) M.host.MessageBox("INTEGER VARIABLE " + c.name + " HAS NO UPPER BOUND");
      reported[key] |= 1;
      continue;
    }
    if (c.upper != std::floor(c.upper)) {
      const double old = c.upper;
      c.upper = RoundDown(c.upper);
      log.Line("REPLACE UP Bound on Column " + c.name + " from " + Num(old) + " by " + Num(c.upper));
      changed = true;
    }
    if (c.lower < -kInfiniteBound) {
      if (!(reported[key] & 2)) M.host.MessageBox("INTEGER VARIABLE " + c.name + " HAS NO LOWER BOUND");
      reported[key] |= 2;
    } else if (c.lower != std::floor(c.lower)) {
      const double old = c.lower;
      c.lower = RoundUp(c.lower);
      log.Line("REPLACE LO Bound on Column " + c.name + " from " + Num(old) + " by " + Num(c.lower));
      changed = true;
    }
  }
  return changed;
}

}  // namespace

void DeleteRow(EngineModel& M, int i) {
  for (int j = -1; j <= M.n; ++j) RemoveEntry(M.Col(j), i);
  M.SwapRows(i, M.m);
  M.rowTable.Set(M.Row(M.m).hashSlot, 0);
  M.rows.pop_back();
  --M.m;
}

bool SubstituteFixedColumns(EngineModel& M, CompressionLog& log) {
  ConsoleLine(M, "Checking bounds");
  const RowRecord* objective = nullptr;
  if (const int r = M.FindRow(M.objectiveRowName); r > 0) objective = &M.Row(r);
  bool changed = false;
  for (int j = 1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    if (c.upper - c.lower >= kZeroRange) continue;
    bool any = false;
    for (size_t k = 0; k < c.entries.size();) {
      const MatrixEntry e = c.entries[k];
      if (&M.Row(e.row) == objective) {
        ++k;
        continue;
      }
      c.entries[k] = c.entries.back();
      c.entries.pop_back();
      const double b = RowValue(M, 0, e.row) - e.value * c.lower;
      ColumnRecord& rhs = M.Col(0);
      RemoveEntry(rhs, e.row);
      if (std::fabs(b) > kDroppedEntry) {
        rhs.entries.push_back({e.row, b});
        rhs.maxRow = std::max(rhs.maxRow, e.row);
      }
      any = true;
    }
    if (any) {
      log.Line("COLUMN " + c.name + " has a fixed bound of " + Num(c.lower));
      changed = true;
    }
  }
  return !changed;
}

bool TightenBounds(EngineModel& M, CompressionLog& log) {
  ConsoleLine(M, "Tighten");
  const int m = M.m;
  const RowRecord* objective = nullptr;
  if (const int r = M.FindRow(M.objectiveRowName); r > 0) objective = &M.Row(r);
  struct Entry {
    int column;
    double value;
  };
  std::vector<std::vector<Entry>> rows(static_cast<size_t>(m) + 1);
  for (int j = 1; j <= M.n; ++j)
    for (const auto& e : M.Col(j).entries) rows[static_cast<size_t>(e.row)].push_back({j, e.value});
  for (int i = 1; i <= m; ++i)
    if (M.Row(i).type != kRowN && &M.Row(i) != objective && 16 * rows[static_cast<size_t>(i)].size() > 524287) {
      M.host.MessageBox("TIGHTENING OF LP-RELAXATION NOT POSSIBLE BECAUSE OF MEMORY PROBLEM");
      return true;
    }
  std::vector<double> rhs(static_cast<size_t>(m) + 1, 0.0);
  for (const auto& e : M.Col(0).entries) rhs[static_cast<size_t>(e.row)] = e.value;

  bool changedAny = false;
  for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
    bool changed = false;
    for (int i = 1; i <= m; ++i) {
      const RowRecord& row = M.Row(i);
      if (row.type == kRowN || &row == objective) continue;
      const auto& list = rows[static_cast<size_t>(i)];
      const double b = rhs[static_cast<size_t>(i)];
      for (int rule = 0; rule < 2; ++rule) {
        // Rule 0 (L and E rows) bounds a.x from below by the others' least
        // activity; rule 1 (G and E rows) from above by their greatest.
        if (rule == 0 && row.type == kRowG) continue;
        if (rule == 1 && row.type == kRowL) continue;
        double finite = 0;
        int infinite = 0;
        auto contribution = [&](const Entry& e, bool& isInfinite) {
          const ColumnRecord& c = M.Col(e.column);
          const bool useLower = rule == 0 ? e.value > 0 : e.value < 0;
          const double bound = useLower ? c.lower : c.upper;
          isInfinite = Infinite(bound);
          return isInfinite ? 0.0 : e.value * bound;
        };
        for (const Entry& e : list) {
          bool inf;
          finite += contribution(e, inf);
          infinite += inf ? 1 : 0;
        }
        for (const Entry& e : list) {
          ColumnRecord& c = M.Col(e.column);
          if (c.kind != kStructural) continue;
          bool inf;
          const double own = contribution(e, inf);
          if (infinite - (inf ? 1 : 0) > 0) continue;
          const double r = b - (finite - own);
          const double a = e.value;
          const double t = r / a;
          const bool before = changed;
          changed = false;
          if (rule == 0) {
            if (a > 0) {
              double v = std::max(std::min(t, c.upper), c.lower);
              if (c.isInteger) v = std::max(RoundDown(v), c.lower);
              if (c.upper - v > kTighteningStep) {
                log.Line(c.name + " UP BOUND reduced from " + Num(c.upper) + " to " + Num(v));
                c.upper = v;
                changed = true;
              }
            } else {
              double v = std::min(std::max(t, c.lower), c.upper);
              if (c.isInteger) v = std::min(RoundUp(v), c.upper);
              if (v - c.lower > kTighteningStep) {
                log.Line(c.name + " LO BOUND increased from " + Num(c.lower) + " to " + Num(v));
                c.lower = v;
                changed = true;
              }
            }
          } else {
            if (a >= 0) {
              double v = std::min(std::max(t, c.lower), c.upper);
              if (c.isInteger) v = std::min(RoundUp(v), c.upper);
              if (v - c.lower > kTighteningStep) {
                log.Line(c.name + " LO BOUND changed from " + Num(c.lower) + " to " + Num(v));
                c.lower = v;
                changed = true;
              }
            } else {
              double v = std::max(std::min(t, c.upper), c.lower);
              if (c.isInteger) v = std::max(RoundDown(v), c.lower);
              if (c.upper - v > kTighteningStep) {
                log.Line(c.name + " UP BOUND changed from " + Num(c.upper) + " to " + Num(v));
                c.upper = v;
                changed = true;
              }
            }
          }
          // Later entries of this row see the new bound.
          const bool moved = changed;
          changed = changed || before;
          if (moved) {
            finite = 0;
            infinite = 0;
            for (const Entry& f : list) {
              bool fi;
              finite += contribution(f, fi);
              infinite += fi ? 1 : 0;
            }
          }
        }
      }
    }
    if (!changed) break;
    changedAny = true;
  }
  return !changedAny;
}

void CompressMatrix(EngineModel& M) {
  ConsoleLine(M, "Compressing Matrix");
  CompressionLog log(M);
  const RowRecord* objective = nullptr;
  if (const int r = M.FindRow(M.objectiveRowName); r > 0) objective = &M.Row(r);

  for (int j = -1; j <= M.n; ++j) {
    ColumnRecord& c = M.Col(j);
    for (size_t k = 0; k < c.entries.size();) {
      if (c.entries[k].value == 0) {
        log.Line("IN COLUMN " + c.name + " Entry at row " + M.Row(c.entries[k].row).name + " was 0");
        c.entries[k] = c.entries.back();
        c.entries.pop_back();
      } else {
        ++k;
      }
    }
  }

  const int rowsBefore = M.m;
  std::vector<char> reported(static_cast<size_t>(M.n) + 1, 0);
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    ConsoleLine(M, "Loop");
    bool changed = ReplaceSingletonRows(M, log, objective);
    changed = RoundIntegerBounds(M, log, reported) || changed;
    if (!changed) {
      // Row numbers may have moved; the tightening finds the objective by name.
      if (M.m != rowsBefore) M.RebuildNameTables();
      if (SubstituteFixedColumns(M, log) && TightenBounds(M, log)) break;
    }
  }
  log.Close();
  if (M.m != rowsBefore) M.RebuildNameTables();
  if (const int r = ObjectiveRowNumber(M, objective); r > 0 && r != M.m) M.SwapRows(r, M.m);
}

}  // namespace vesk::engine
