#include "solver/LP_Unit_LPSolver.h"

#include <cmath>
#include <memory>
#include <algorithm>
#include <string>
#include <vector>

#include "engine/EngineFiles.h"
#include "engine/EngineModel.h"
#include "engine/ScratchEngineHost.h"
#include "engine/search/Drivers.h"

namespace vesk::solver {

namespace {

struct LpColumn {
  char type = 'C';
  double lower = 0;
  double upper = 1e21;
};

// The one program of the interface.
struct LpModel {
  int RowCount = 0;
  int ColumnCount = 0;
  bool Sized = false;
  std::vector<double> Objective;
  std::vector<double> Matrix;  // row-major, RowCount x ColumnCount
  std::vector<double> Rhs;
  std::vector<char> RowType;
  std::vector<LpColumn> Columns;
  std::vector<double> Solution;
  double ObjectiveValue = 0;
  // The basis of the last optimal continuous solve, valid while nothing but
  // the objective has changed since.
  vesk::engine::BasisList Basis;
  bool BasisValid = false;

  double& A(int i, int j) { return Matrix[static_cast<size_t>(i - 1) * ColumnCount + (j - 1)]; }
};

LpModel g_model;
vesk::engine::EngineHost* g_host = nullptr;
bool g_warmStart = true;

// Stores v in `slot`; a changed value changes the program beyond its objective.
template <class T>
void Change(T& slot, T v) {
  if (slot == v) return;
  slot = v;
  g_model.BasisValid = false;
}

vesk::engine::EngineHost& Host() {
  if (g_host != nullptr) return *g_host;
  static vesk::engine::ScratchEngineHost scratch;
  return scratch;
}

bool ColumnOk(int j) { return g_model.Sized && j >= 1 && j <= g_model.ColumnCount; }
bool RowOk(int i) { return g_model.Sized && i >= 1 && i <= g_model.RowCount; }

std::string Numbered(const char* prefix, int k) { return prefix + std::to_string(k); }

}  // namespace

void LpSetHost(vesk::engine::EngineHost* host) { g_host = host; }

void LpSetWarmStart(bool on) { g_warmStart = on; }

int LpSetSize(int columns, int rows) {
  if (rows < 1 || columns < 1) return -1;
  LpModel& M = g_model;
  M.RowCount = rows;
  M.ColumnCount = columns;
  M.Objective.assign(static_cast<size_t>(columns), 0.0);
  M.Matrix.assign(static_cast<size_t>(rows) * static_cast<size_t>(columns), 0.0);
  M.Rhs.assign(static_cast<size_t>(rows), 0.0);
  M.RowType.assign(static_cast<size_t>(rows), '<');
  M.Columns.assign(static_cast<size_t>(columns), LpColumn{});
  M.Solution.assign(static_cast<size_t>(columns), 0.0);
  M.ObjectiveValue = 0;
  M.Basis.clear();
  M.BasisValid = false;
  M.Sized = true;
  return 0;
}

int LpSetObjective(int j, double v) {
  if (!ColumnOk(j)) return -1;
  g_model.Objective[static_cast<size_t>(j - 1)] = v;
  return 0;
}

int LpSetCoefficient(int i, int j, double v) {
  if (!RowOk(i) || !ColumnOk(j)) return -1;
  Change(g_model.A(i, j), v);
  return 0;
}

int LpSetRhs(int i, double v) {
  if (!RowOk(i) || v < 0) return -1;
  Change(g_model.Rhs[static_cast<size_t>(i - 1)], v);
  return 0;
}

int LpSetRowType(int i, char t) {
  if (!RowOk(i) || (t != '<' && t != '=' && t != '>')) return -1;
  Change(g_model.RowType[static_cast<size_t>(i - 1)], t);
  return 0;
}

int LpSetColumnType(int j, char t) {
  if (!ColumnOk(j) || (t != 'C' && t != 'B' && t != 'I')) return -1;
  Change(g_model.Columns[static_cast<size_t>(j - 1)].type, t);
  return 0;
}

int LpSetLowerBound(int j, double v) {
  if (!ColumnOk(j)) return -1;
  Change(g_model.Columns[static_cast<size_t>(j - 1)].lower, v);
  return 0;
}

int LpSetUpperBound(int j, double v) {
  if (!ColumnOk(j)) return -1;
  Change(g_model.Columns[static_cast<size_t>(j - 1)].upper, v);
  return 0;
}

double LpObjectiveValue() { return g_model.ObjectiveValue; }

double LpColumnValue(int j) {
  if (j < 1 || j > static_cast<int>(g_model.Solution.size())) return 0;
  return g_model.Solution[static_cast<size_t>(j - 1)];
}

int LpRelease() {
  g_model = LpModel{};
  return 0;
}

namespace {

// States the program in a fresh engine, solves it (from `warm` when given,
// else from the crash basis) and maps the status. Returns 0 optimal,
// 2 unbounded, 3 infeasible, -1 refused or unfinished.
int SolveOnce(bool continuous, const vesk::engine::BasisList* warm) {
  using namespace vesk::engine;
  LpModel& L = g_model;
  const int m = L.RowCount, n = L.ColumnCount;
  try {
    EngineModel engine(Host());
    engine.ClearModel();
    engine.SetModelName("MIPSolver");
    if (!engine.DefineRow("OBJ", 'N')) return -1;
    // A defined row takes the next row number.
    std::vector<int> rowNumber(static_cast<size_t>(m) + 1);
    rowNumber[0] = engine.m;
    for (int i = 1; i <= m; ++i) {
      const char t = L.RowType[static_cast<size_t>(i - 1)];
      if (!engine.DefineRow(Numbered("Const", i), t == '<' ? 'L' : (t == '>' ? 'G' : 'E'))) return -1;
      rowNumber[static_cast<size_t>(i)] = engine.m;
    }
    // Entries as SetCoefficient stores them: a column enters the model with
    // its first nonzero coefficient, zeros store nothing.
    for (int j = 1; j <= n; ++j) {
      int count = L.Objective[static_cast<size_t>(j - 1)] != 0;
      for (int i = 1; i <= m; ++i) count += L.A(i, j) != 0;
      if (count == 0) continue;
      const int col = engine.FindColumn(Numbered("Var", j), kStructural);
      engine.Col(col).entries.reserve(static_cast<size_t>(count));
      auto put = [&](int row, double v) {
        if (v != 0) engine.PutEntry(row, col, v);
      };
      put(rowNumber[0], L.Objective[static_cast<size_t>(j - 1)]);
      for (int i = 1; i <= m; ++i) put(rowNumber[static_cast<size_t>(i)], L.A(i, j));
    }
    // As SetRhs by the row's name: zero values store nothing.
    for (int i = 1; i <= m; ++i)
      if (L.Rhs[static_cast<size_t>(i - 1)] != 0)
        engine.PutEntry(rowNumber[static_cast<size_t>(i)], 0, L.Rhs[static_cast<size_t>(i - 1)]);
    for (int j = 1; j <= n; ++j) {
      const LpColumn& c = L.Columns[static_cast<size_t>(j - 1)];
      const std::string name = Numbered("Var", j);
      if (c.type == 'B') {
        engine.SetBound("BV", name, 1);
      } else {
        engine.SetBound(c.type == 'I' ? "UI" : "UP", name, c.upper);
        if (c.lower != 0) engine.SetBound("LO", name, c.lower);
      }
    }
    engine.SetModelPresent(true);
    engine.accumulatedTime = 0;
    engine.SetObjectiveRowName("OBJ");
    PrepareForSolve(engine);
    // A loaded basis is reinverted at once, so the driver skips its crash.
    if (warm != nullptr && engine.modelPresent && engine.prepared && !ApplyBasisList(engine, *warm)) return -1;
    std::string status;
    if (continuous) {
      SolveContinuous(engine);
      status = ContinuousStatus(engine);
    } else {
      SolveInteger(engine);
      status = IntegerStatus(engine);
    }
    int code;
    if (IsUnfinishedStatus(status)) code = -1;
    else if (status == "OPTIMAL SOLUTION") code = 0;
    else if (status == "UNBOUNDED SOLUTION") code = 2;
    else code = 3;
    if (code == 0) {
      double objective = 0;
      for (int j = 1; j <= n; ++j) {
        const std::string name = Numbered("Var", j);
        // A continuous value is read back inside the column's own bounds: the
        // engine's rounding may leave a basic column a hair outside them
        // (-1e-16 for a weight at 0), which callers must not see.
        const LpColumn& c = L.Columns[static_cast<size_t>(j - 1)];
        const double v = c.type == 'C' ? std::clamp(engine.ColumnValue(name), c.lower, c.upper)
                                       : engine.IntegerColumnValue(name);
        L.Solution[static_cast<size_t>(j - 1)] = v;
        objective += L.Objective[static_cast<size_t>(j - 1)] * v;
      }
      L.ObjectiveValue = objective;
      if (continuous) {
        L.Basis = CurrentBasisList(engine);
        L.BasisValid = true;
      }
    }
    return code;
  } catch (const EngineFatalError&) {
    return -1;
  }
}

}  // namespace

int LpSolve() {
  LpModel& L = g_model;
  if (!L.Sized) return -1;
  bool continuous = true;
  for (const LpColumn& c : L.Columns) {
    if (c.lower > c.upper) return -1;
    if (c.type != 'C') continuous = false;
  }
  if (continuous && g_warmStart && L.BasisValid) {
    // The program had an optimum, so only unboundedness is a verdict a new
    // objective can bring; any other outcome from the kept basis is
    // settled again from the crash basis.
    const int code = SolveOnce(true, &L.Basis);
    if (code == 0 || code == 2) return code;
  }
  return SolveOnce(continuous, nullptr);
}

}  // namespace vesk::solver
