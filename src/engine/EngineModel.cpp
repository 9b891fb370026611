// Construction, clearing and destruction of the engine model, its parameters
// and the reading of results.
#include "engine/EngineModel.h"

#include <cmath>

#include "engine/search/SolverConsole.h"

namespace vesk::engine {

EngineModel::EngineModel(EngineHost& h) : host(h) {
  parameters.FillFromLines(host, BuiltInParameterLines());
  CopyParameters();
  smallestPivot = 1e30;
  n = -2;
  CreateRangeAndRhs();
}

EngineModel::~EngineModel() { ReleaseAll(); }

void EngineModel::CreateRangeAndRhs() {
  FindColumn("RANGE", kStructural);
  FindColumn("RHS", kStructural);
}

void EngineModel::ReleaseAll() {
  column.clear();
  columnStore.clear();
  rows.clear();
  etaFile = EtaFile{};
  duals.clear();
  pivotColumn.clear();
  basicValues.clear();
  infeasibleList.clear();
}

void EngineModel::ClearModel() {
  ReleaseAll();
  columnTable.Clear();
  rowTable.Clear();
  n = -2;
  m = 0;
  modelPresent = errorFlag = freeColumns = prepared = false;
  integerFound = boundsCrossed = freshSolution = false;
  maximize = false;
  stopReason = StopReason::kNone;
  relaxationOutcome = SimplexOutcome::kNotRun;
  objectiveRowName.clear();
  inversionCount = 0;
  pivotsSinceInversion = 0;
  iterationCount = 0;
  candidateCount = 0;
  nodeCount = 0;
  infeasCount = 0;
  infeasSum = 0;
  perturbMode = 0;
  searchUpper = 1e30;
  searchLower = -1e30;
  CreateRangeAndRhs();
}

void EngineModel::CopyParameters() {
  EngineHost& h = host;
  const ParameterTable& p = parameters;
  iterLog = p.IntegerValue(h, "ITERLOG");
  basisInterval = p.IntegerValue(h, "BASIS-INTERVALL");
  minNodes = p.IntegerValue(h, "MIN-NODES");
  maxIter = p.IntegerValue(h, "MAXITER");
  maxTime = p.IntegerValue(h, "MAXTIME");
  pricing = p.IntegerValue(h, "PRICING");
  strat1 = p.IntegerValue(h, "STRAT-1");
  strat2 = p.IntegerValue(h, "STRAT-2");
  djMin = p.RealValue(h, "DJ-MIN");
  loLimit = p.RealValue(h, "LO-LIMIT");
  upLimit = p.RealValue(h, "UP-LIMIT");
  integerCrit = p.RealValue(h, "INTEGER-CRIT");
  maxMemoryMB = p.RealValue(h, "MAXMEMORY[MB]");
  restart = p.BooleanValue(h, "RESTART");
  pse = p.BooleanValue(h, "PSE");
  logFile = p.BooleanValue(h, "LOGFILE");
  assessPse = p.BooleanValue(h, "ASSESS-PSE");
  if (maximize) {
    searchUpper = objectiveValue;
    searchLower = loLimit;
  } else {
    searchUpper = upLimit;
    searchLower = objectiveValue;
  }
  printer.kind = p.TextValue(h, "DRUCKER").substr(0, 20);
  printer.port = p.TextValue(h, "DESTINATION").substr(0, 20);
  printer.format = p.TextValue(h, "FORMAT").substr(0, 20);
  printer.margin = static_cast<int>(p.IntegerValue(h, "RAND")) & 0xFF;
  printer.pitch = static_cast<int>(p.IntegerValue(h, "PITCH")) & 0xFF;
  printer.linesPerPage = static_cast<int>(p.IntegerValue(h, "LINES-PER-PAGE")) & 0xFF;
  printer.linesPerInch = static_cast<int>(p.IntegerValue(h, "LINES-PER-INCH")) & 0xFF;
  // Nothing prints with it; kept for a printer that may be attached one day.
  printer.control = printer.kind + " " + std::to_string(printer.pitch) + "CPI " +
                    std::to_string(printer.linesPerInch) + "LPI";
}

bool EngineModel::HasParameter(std::string_view name) const {
  return parameters.Lookup(UpperCaseEngine(name)) >= 0;
}

bool EngineModel::SetParameter(std::string_view name, std::string_view value, std::string& error) {
  const std::string key = UpperCaseEngine(name);
  const int index = parameters.Lookup(key);
  if (index < 0) {
    error = "Parameter " + key + " not found";
    return false;
  }
  if (!parameters.SetValue(index, value, error)) return false;
  CopyParameters();
  return true;
}

double EngineModel::ColumnValue(std::string_view name) const {
  const int j = FindColumnNumber(name);
  if (j <= 0) return 0;
  return Col(j).value;
}

double EngineModel::IntegerColumnValue(std::string_view name) const {
  const int j = FindColumnNumber(name);
  if (j <= 0) return 0;
  return std::nearbyint(static_cast<double>(Col(j).integerValue));
}

double EngineModel::ElapsedSeconds() const {
  if (running) return host.ClockSeconds() - startTime + accumulatedTime;
  return accumulatedTime;
}

}  // namespace vesk::engine
