#pragma once
// EngineModel: the engine's one linear or mixed-integer program, addressed by
// name in the vocabulary of the MPS format, with everything the simplex and
// the factorization keep between calls. The model always maximises.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/EngineFatalError.h"
#include "engine/EngineHost.h"
#include "engine/EtaFile.h"
#include "engine/ModelRecords.h"
#include "engine/NameTable.h"
#include "engine/Paraunit.h"

namespace vesk::engine {

// Why a run ended before a verdict; any value but kNone makes the status an
// unfinished text.
enum class StopReason { kNone, kIterationLimit, kTimeLimit, kNumericalTrouble, kWholeMatrixSearched, kModelError };

// How a run of the simplex ended.
enum class SimplexOutcome {
  kNotRun,            // no prepared model, or the driver stopped before the run
  kOptimal,           // reported: feasible, no column improves the objective
  kInfeasible,        // reported: no column reduces the infeasibility
  kUnbounded,         // a column can move without limit (the basis may be infeasible)
  kStopped,           // an iteration or time limit, or a cancel (stopReason says which)
  kNumericalTrouble,  // the run gave up on small pivots or endless stalling
  kModelCleared,      // a reinversion found no repair and cleared the model
};

class EngineModel {
 public:
  explicit EngineModel(EngineHost& host);  // ConstructEngine
  ~EngineModel();
  EngineModel(const EngineModel&) = delete;
  EngineModel& operator=(const EngineModel&) = delete;

  void ClearModel();
  void SetModelName(std::string_view name) { modelName = std::string(name); }
  void SetModelPresent(bool present) { modelPresent = present; }
  void SetObjectiveRowName(std::string_view name) { objectiveRowName = Cut(name); }
  bool DefineRow(std::string_view name, char type);
  void SetCoefficient(std::string_view column, std::string_view row, double value);
  void SetRhs(std::string_view row, double value);
  void SetBound(std::string_view type, std::string_view column, double value);
  bool ErrorFlag() const { return errorFlag; }

  bool HasParameter(std::string_view name) const;
  bool SetParameter(std::string_view name, std::string_view value, std::string& error);

  double ColumnValue(std::string_view column) const;
  double IntegerColumnValue(std::string_view column) const;
  double ObjectiveValue() const { return objectiveValue; }
  long long IterationCount() const { return iterationCount; }
  double ElapsedSeconds() const;
  long long NodeCount() const { return nodeCount; }

  // ---- Model store and model input ----------------------------------------
  static std::string Cut(std::string_view name) {
    return std::string(name.substr(0, std::min(name.size(), kNameLength)));
  }
  ColumnRecord& Col(int j) { return *column[static_cast<size_t>(j + 1)]; }
  const ColumnRecord& Col(int j) const { return *column[static_cast<size_t>(j + 1)]; }
  RowRecord& Row(int i) { return *rows[static_cast<size_t>(i)]; }
  const RowRecord& Row(int i) const { return *rows[static_cast<size_t>(i)]; }

  int FindColumn(std::string_view name, uint8_t kind);
  int FindColumnNumber(std::string_view name) const;  // 0 when absent (never creates)
  int FindRow(std::string_view name) const;
  void PutEntry(int row, int col, double value);
  void SwapColumns(int j, int k);
  void SwapRows(int i, int k);
  void LoadObjective();
  void CheckColumnBounds();
  void PrepareModel();
  void RebuildNameTables();
  // Applies a row permutation: the row now numbered newOf[i] was row i.
  void RenumberRows(const std::vector<int>& newOf);
  void CopyParameters();

  // ---- State -----------------------------------------------------------------
  EngineHost& host;
  ParameterTable parameters;

  NameTable columnTable;  // slot -> serial of the column record (1-based)
  std::vector<std::unique_ptr<ColumnRecord>> columnStore;  // by serial - 1
  std::vector<ColumnRecord*> column;                       // by number + 1
  int n = -2;
  NameTable rowTable;  // slot -> row number
  std::vector<std::unique_ptr<RowRecord>> rows;  // by row number; [0] unused
  int m = 0;

  std::string objectiveRowName;
  std::string modelName;

  bool modelPresent = false;
  bool errorFlag = false;
  bool freeColumns = false;
  bool maximize = false;
  bool prepared = false;
  bool quiet = false;
  bool integerFound = false;
  bool boundsCrossed = false;
  bool freshSolution = false;  // basic values computed from scratch since the last step
  bool running = false;        // inside a driver call
  StopReason stopReason = StopReason::kNone;
  // The outcome of the drivers' run of the continuous program (the relaxation
  // of an integer program); the status texts are read from it.
  SimplexOutcome relaxationOutcome = SimplexOutcome::kNotRun;

  // Factorization and simplex counters (the fixed tolerances are in
  // Tolerances.h).
  double smallestPivot = 1e30;  // of the last inversion and the pivots since
  double objectiveValue = 0;
  int inversionCount = 0;
  int pivotsSinceInversion = 0;
  long long iterationCount = 0;
  int candidateCount = 0;
  long long lastBasisSave = 0;
  double startTime = 0;
  double accumulatedTime = 0;
  // Time and duration of the last inversion; the reinversion trigger counts
  // operations instead, so that a model gives the same pivots on any machine.
  double lastInversionTime = 0;
  double inversionDuration = 0;
  long long etaNonzerosAtInversion = 0;
  long long memoryEstimate = 0;
  long long nodeCount = 0;
  double searchUpper = 1e30;
  double searchLower = -1e30;

  int infeasCount = 0;
  double infeasSum = 0;
  std::vector<int> infeasibleList;

  EtaFile etaFile;
  std::vector<double> duals, pivotColumn, basicValues;  // 1-based by row

  // Pricing and stall control.
  double djHistory[11] = {};
  double acceptThreshold = 0;
  double bestEligibleDj = 0;
  int perturbMode = 0;
  long long lastProgressIteration = 0;
  int stallPeriods = 0;
  int perturbSwitches = 0;

  // Points along the ray where an infeasible basic column reaches its bound
  // (work space of the ratio test, kept to avoid an allocation per step).
  struct Breakpoint {
    double t;         // step length at which the bound is reached
    double absAlpha;  // |alpha_i|
    double drop;      // decrease of the merit's slope when the point is passed
    int row;
    bool atLower;     // the bound reached is the column's lower bound
  };
  std::vector<Breakpoint> breakpoints;

  // Parameters copied from the table (at construction and on every change).
  long long iterLog = 0, basisInterval = 0, minNodes = 0, maxIter = 0, maxTime = 0;
  long long pricing = 0, strat1 = 0, strat2 = 0;
  double djMin = 0, loLimit = 0, upLimit = 0, integerCrit = 0, maxMemoryMB = 0;
  bool restart = false, pse = false, logFile = false, assessPse = false;
  struct Printer {
    std::string kind = "LASER", port = "LPT1", format;
    int pitch = 10, linesPerInch = 6, linesPerPage = 66, margin = 0;
    std::string control;
  } printer;

 private:
  void CreateRangeAndRhs();
  void ReleaseAll();
};

}  // namespace vesk::engine
