#include "cli/mps/MpsToEngine.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "engine/EngineModel.h"
#include "engine/search/Drivers.h"

namespace vesk::mps {
namespace {

using engine::EngineModel;

constexpr double kEngineInfinity = engine::kEngineInfinity;
constexpr double kInfiniteBound = engine::kInfiniteBound;  // above: no bound
constexpr double kIntegerUpperCap = 300000;                // the engine's cap on "UI"
constexpr const char* kObjectiveName = "OBJ";

std::string NumberedName(char prefix, std::size_t k) {
  std::string name(1, prefix);
  name += std::to_string(k + 1);
  return name;
}
std::string RowName(std::size_t i) { return NumberedName('R', i); }
std::string ColumnName(std::size_t j) { return NumberedName('C', j); }

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

bool IsInfiniteLower(double v) { return v < -kInfiniteBound; }
bool IsInfiniteUpper(double v) { return v > kInfiniteBound; }

void CheckCapacity(const MpsModel& model) {
  // Rows: the constraints and the objective. Columns: the structural ones and
  // one logical per row must stay below the engine's column number limit.
  std::size_t m = model.rows.size() + 1;
  if (m > static_cast<std::size_t>(engine::kMaxRows))
    throw ModelRefused("the model has " + std::to_string(model.rows.size()) +
                       " rows; the engine holds at most " + std::to_string(engine::kMaxRows - 1));
  if (model.columns.size() + m >= static_cast<std::size_t>(engine::kMaxColumnNumber))
    throw ModelRefused("the model has " + std::to_string(model.columns.size()) + " columns and " +
                       std::to_string(model.rows.size()) + " rows; the engine holds at most " +
                       std::to_string(engine::kMaxColumnNumber - 1) + " columns and rows together");
}

void ApplyParameters(EngineModel& engine, const std::vector<std::pair<std::string, std::string>>& parameters) {
  for (const auto& [rawName, value] : parameters) {
    std::string name = rawName;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!engine.HasParameter(name)) throw ParameterError("unknown engine parameter " + rawName);
    std::string error;
    if (!engine.SetParameter(name, value, error))
      throw ParameterError("parameter " + rawName + "=" + value + ": " + error);
  }
}

void CheckInput(const EngineModel& engine, const char* step) {
  if (engine.ErrorFlag()) throw ModelRefused(std::string("the engine refused the model while ") + step);
}

}  // namespace

EngineRow EngineRowFor(const MpsRow& row) {
  double b = row.rhs;
  double r = row.range.value_or(0);
  if (!row.range) return EngineRow{row.type, b, 0};
  // A zero range leaves a single point: [b - 0, b] or [b, b + 0].
  if (r == 0) return EngineRow{'E', b, 0};
  switch (row.type) {
    case 'L': return EngineRow{'L', b, std::fabs(r)};    // [b - |R|, b]
    case 'G': return EngineRow{'G', b, std::fabs(r)};    // [b, b + |R|]
    default: return r > 0 ? EngineRow{'G', b, r}         // [b, b + R]
                          : EngineRow{'L', b, -r};       // [b + R, b]
  }
}

Scaling ComputeScaling(const MpsModel& model) {
  const std::size_t rows = model.rows.size(), cols = model.columns.size();
  std::vector<double> e(rows, 0), f(cols, 0);  // log2 of the factors
  std::vector<std::vector<double>> logs(cols);
  for (std::size_t j = 0; j < cols; ++j)
    for (const auto& entry : model.columns[j].entries) logs[j].push_back(std::log2(std::fabs(entry.value)));
  std::vector<double> lo(rows), hi(rows);
  for (int pass = 0; pass < 8; ++pass) {
    std::fill(lo.begin(), lo.end(), HUGE_VAL);
    std::fill(hi.begin(), hi.end(), -HUGE_VAL);
    for (std::size_t j = 0; j < cols; ++j) {
      const auto& entries = model.columns[j].entries;
      for (std::size_t k = 0; k < entries.size(); ++k) {
        auto i = static_cast<std::size_t>(entries[k].row);
        double v = logs[j][k] + f[j];
        lo[i] = std::min(lo[i], v);
        hi[i] = std::max(hi[i], v);
      }
    }
    for (std::size_t i = 0; i < rows; ++i) e[i] = lo[i] <= hi[i] ? -(lo[i] + hi[i]) / 2 : 0;
    for (std::size_t j = 0; j < cols; ++j) {
      if (model.columns[j].integer) continue;
      double clo = HUGE_VAL, chi = -HUGE_VAL;
      const auto& entries = model.columns[j].entries;
      for (std::size_t k = 0; k < entries.size(); ++k) {
        double v = logs[j][k] + e[static_cast<std::size_t>(entries[k].row)];
        clo = std::min(clo, v);
        chi = std::max(chi, v);
      }
      f[j] = clo <= chi ? -(clo + chi) / 2 : 0;
    }
  }
  // Powers of two keep every scaled number exact; the exponents are kept
  // moderate so that no finite bound or right-hand side reaches the engine's
  // infinity.
  static constexpr long kMaxExponent = 20;
  auto power = [](double x) { return static_cast<int>(std::clamp(std::lround(x), -kMaxExponent, kMaxExponent)); };
  Scaling s;
  s.row.resize(rows);
  s.column.resize(cols);
  for (std::size_t i = 0; i < rows; ++i) {
    s.row[i] = std::ldexp(1.0, power(e[i]));
    const auto& r = model.rows[i];
    double biggest = std::max(std::fabs(r.rhs), std::fabs(r.range.value_or(0)));
    if (biggest * s.row[i] > kInfiniteBound / 16) s.row[i] = 1;
  }
  for (std::size_t j = 0; j < cols; ++j) {
    const auto& c = model.columns[j];
    s.column[j] = c.integer ? 1.0 : std::ldexp(1.0, power(f[j]));
    for (double b : {c.lower, c.upper})
      if (std::isfinite(b) && std::fabs(b) <= kInfiniteBound && std::fabs(b) / s.column[j] > kInfiniteBound / 16)
        s.column[j] = 1;
  }
  return s;
}

SolveResult SolveMps(const MpsModel& model, const SolveOptions& options, engine::EngineHost& host) {
  CheckCapacity(model);
  SolveResult result;
  result.warnings = model.warnings;
  result.integer = model.IntegerColumnCount() > 0;
  const bool maximise = options.maximise.value_or(model.sense == ObjectiveSense::Maximise);
  const double sense = maximise ? 1.0 : -1.0;  // the engine maximises sense * c'x
  const std::size_t rows = model.rows.size(), cols = model.columns.size();
  Scaling scaling;
  if (options.scale) {
    scaling = ComputeScaling(model);
  } else {
    scaling.row.assign(rows, 1.0);
    scaling.column.assign(cols, 1.0);
  }

  EngineModel engine(host);
  engine.ClearModel();
  ApplyParameters(engine, options.parameters);
  engine.SetModelName(EngineModel::Cut(model.name));

  // Rows in file order, the objective at its place among them.
  std::vector<std::string> rowNames(rows);
  std::vector<EngineRow> engineRows(rows);
  auto define = [&engine](const std::string& name, char type) {
    if (!engine.DefineRow(name, type)) throw ModelRefused("the engine refused the model while defining its rows");
  };
  for (std::size_t i = 0; i <= rows; ++i) {
    if (i == model.objectivePosition) define(kObjectiveName, 'N');
    if (i == rows) break;
    rowNames[i] = RowName(i);
    engineRows[i] = EngineRowFor(model.rows[i]);
    define(rowNames[i], engineRows[i].type);
  }

  std::vector<std::string> columnNames(cols);
  for (std::size_t j = 0; j < cols; ++j) {
    const MpsColumn& c = model.columns[j];
    const std::string& name = columnNames[j] = ColumnName(j);
    const double s = scaling.column[j];
    if (c.cost != 0) engine.SetCoefficient(name, kObjectiveName, sense * c.cost * s);
    for (const auto& entry : c.entries) {
      auto i = static_cast<std::size_t>(entry.row);
      engine.SetCoefficient(name, rowNames[i], entry.value * scaling.row[i] * s);
    }
    // Bounds; stating one also creates a column that has no entries.
    double lower = c.lower, upper = c.upper;
    if (c.integer) {
      if (!IsInfiniteLower(lower)) lower = std::ceil(lower);
      if (!IsInfiniteUpper(upper)) upper = std::floor(upper);
      if (lower == 0 && upper == 1) {
        engine.SetBound("BV", name, 1);
      } else {
        if (upper > kIntegerUpperCap)
          result.warnings.push_back("integer column '" + c.name + "': upper bound " +
                                    (IsInfiniteUpper(upper) ? std::string("+infinity") : Number(upper)) +
                                    " is capped at 300000 by the engine");
        engine.SetBound("UI", name, IsInfiniteUpper(upper) ? kEngineInfinity : upper);
        engine.SetBound("LO", name, IsInfiniteLower(lower) ? -kEngineInfinity : lower);
      }
      continue;
    }
    lower /= s;
    upper /= s;
    if (IsInfiniteLower(lower) && IsInfiniteUpper(upper)) {
      engine.SetBound("FR", name, 0);
    } else if (IsInfiniteLower(lower)) {
      engine.SetBound("LO", name, -kEngineInfinity);
      engine.SetBound("UP", name, upper);
    } else if (lower == upper) {
      engine.SetBound("FX", name, lower);
    } else {
      engine.SetBound("LO", name, lower);
      if (!IsInfiniteUpper(upper)) engine.SetBound("UP", name, upper);
    }
  }
  CheckInput(engine, "reading the columns");

  for (std::size_t i = 0; i < rows; ++i) {
    const EngineRow& r = engineRows[i];
    if (r.rhs != 0) engine.SetRhs(rowNames[i], r.rhs * scaling.row[i]);
    if (r.range != 0) engine.SetCoefficient("RANGE", rowNames[i], r.range * scaling.row[i]);
  }
  CheckInput(engine, "reading right-hand sides and ranges");

  engine.SetModelPresent(true);
  engine.SetObjectiveRowName(kObjectiveName);
  engine::PrepareForSolve(engine);
  CheckInput(engine, "preparing it");
  if (result.integer)
    engine::SolveInteger(engine);
  else
    engine::SolveContinuous(engine);

  result.status = result.integer ? engine::IntegerStatus(engine) : engine::ContinuousStatus(engine);
  result.finished = !engine::IsUnfinishedStatus(result.status);
  std::string verdict = result.status;
  for (char& c : verdict) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  bool noSolution = result.finished && (verdict.find("INFEASIBLE") != std::string::npos ||
                                        verdict.find("UNBOUNDED") != std::string::npos);
  // A point to report: an optimum, or for the integer path an incumbent of a
  // stopped search. The last basis of a stopped continuous run proves nothing.
  result.proven = result.finished && !noSolution;
  result.hasObjective = result.proven || (result.integer && !result.finished && engine.integerFound);
  // "+ 0.0" turns a negative zero into zero for printing.
  result.objective = sense * engine.ObjectiveValue() + model.ObjectiveConstant() + 0.0;
  result.iterations = engine.IterationCount();
  result.nodes = engine.NodeCount();
  result.seconds = engine.ElapsedSeconds();
  result.values.resize(cols);
  for (std::size_t j = 0; j < cols; ++j) {
    if (result.integer && model.columns[j].integer)
      result.values[j] = engine.IntegerColumnValue(columnNames[j]) + 0.0;
    else
      result.values[j] = engine.ColumnValue(columnNames[j]) * scaling.column[j] + 0.0;
  }
  return result;
}

}  // namespace vesk::mps
