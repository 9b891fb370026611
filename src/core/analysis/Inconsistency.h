#pragma once
// Inconsistency analysis: suggestions of smallest constraint sets whose removal
// makes the rest of the information consistent, and acceptance of the vector
// found when nothing needs dropping.
//
// Each suggestion is the optimum of a zero-one program over x = (lambda,
// k_1..k_n) and one zero-one y_r per constraint r of IGrid:
//   A_r x + 999 y_r >= RHS_r + 0.00001     (r = 1..R)
//   k_1 + .. + k_n = 1
//   sum of y_r over an earlier suggestion S <= |S| - 1   (one cut per suggestion)
// maximising -sum y_r.
#include <functional>
#include <string>
#include <vector>

#include "core/problem/Grid.h"
#include "core/problem/Problem.h"
#include "core/problem/UserDialogs.h"
#include "core/sorting/SortingState.h"

namespace vesk::core {

inline constexpr int kMinSuggestions = 3;
inline constexpr int kMaxSuggestions = 30;
inline constexpr double kSuggestionBigM = 999.0;
inline constexpr double kSuggestionShift = 0.00001;
inline constexpr const char* kNoNeedToDrop = "No need to drop restrictions";
inline constexpr const char* kNoMoreAlternatives = "There are no more alternatives";
inline constexpr const char* kAcceptQuestion = "A new solution was found: accept it?";

// The working arrays of one suggestion run: rows of length V + R and their
// right-hand sides. Rows 0..R-1 are the constraints, row R the weight sum,
// later rows the cuts.
struct SuggestionWork {
  int V = 0;  // n+1 variables
  int R = 0;  // constraints of IGrid
  std::vector<std::vector<double>> A;
  std::vector<double> b;
};

// The zero-one program exactly as it is stated through the solver interface
// (1-based there, 0-based here).
struct SuggestionProgram {
  int columns = 0;
  int rows = 0;
  std::vector<char> columnTypes;            // 'C' for x, 'B' for y
  std::vector<double> objective;            // -1 on every y
  std::vector<std::vector<double>> matrix;  // rows x columns
  std::vector<double> rhs;                  // never negative
  std::vector<char> rowTypes;               // '<' '=' '>'
};

// Steps that read IGrid into the working arrays (empty cells count as 0).
// Throws ConversionError for a cell that is no number.
SuggestionWork ReadSuggestionWork(const Problem& problem, const Grid& IGrid);

// The program for the current working arrays: a constraint row with b >= 0 is
// '>' as written, one with b < 0 is '<' with every sign reversed; the weight
// sum '='; cuts '<'.
SuggestionProgram BuildSuggestionProgram(const SuggestionWork& work);

// States `program` through the solver interface (sizing included). Returns 0,
// or -1 when a call was refused.
int StateSuggestionProgram(const SuggestionProgram& program);

// Appends the cut that forbids the constraint set `constraints` (1-based
// constraint numbers) and every set containing it.
void AddSuggestionCut(SuggestionWork& work, const std::vector<int>& constraints, int count);

struct Suggestion {
  int number = 0;                // t
  double count = 0;              // constraints to drop (0: none)
  std::vector<int> constraints;  // 1-based IGrid rows, increasing
  bool operator==(const Suggestion&) const = default;
};

enum class SuggestionEnd { NotRun, NoNeed, NoMoreAlternatives, MaxReached, SolverError };

// The inconsistency window and what it keeps between runs.
struct InconsistencyAnalysis {
  int MaxSuggestions = 5;  // up-down control, 3..30
  Grid SuggestionGrid;     // " # ", " Quant.", " Constraints to remove"
  bool SuggestionGridShown = false;
  std::vector<Suggestion> Suggestions;
  SuggestionEnd End = SuggestionEnd::NotRun;
  bool NewSolutionFound = false;
  std::vector<double> NewSolution;  // lambda, k_1..k_n of the solve that needed no drop
  // The suggestion (its number t) whose constraints "Apply" asked to remove
  // when the window closed; 0 when the window was closed otherwise.
  int ApplyRequested = 0;

  void SetMaxSuggestions(int value);  // clamps to 3..30
  bool operator==(const InconsistencyAnalysis&) const = default;
};

// What the constraints of `suggestion` say, as the person gave them: "6:
// action 8 in C1; 9: k2 <= 0.5" (row number and description of every
// constraint, joined by "; "); "" for a suggestion that drops nothing.
std::string DescribeSuggestion(const Problem& problem, const SortingState& state, const Suggestion& suggestion);

// The "&Inconsistency" command is available: the last robust-assignment
// command found the information inconsistent and the problem has not changed
// since (a structural edit makes IGrid and the per-action arrays stale).
bool InconsistencyCommandEnabled(const Problem& problem, const SortingState& state);

// Opening the window: the suggestion grid is hidden, no solution of an
// earlier run is offered any more and no suggestion is to be applied.
void OpenInconsistencyWindow(InconsistencyAnalysis& analysis);

// The "Suggest" button: one suggestion run over state.IGrid. After every
// suggestion written the progress (suggestions so far of Max. suggestions) is
// reported, so that a window shows the rows found before any closing message
// ("There are no more alternatives"). Returns false
// when the run could not start (IGrid does not belong to the problem) or ended
// with an error message, or was cancelled (the analysis is then as it was and
// "Computation cancelled" is shown).
bool BSuggestClick(const Problem& problem, const SortingState& state, InconsistencyAnalysis& analysis,
                   UserDialogs& dialogs);

// After the window closed: when a run found a solution that drops nothing,
// asks "A new solution was found: accept it?"; on Yes the vector becomes
// InferredParams (DGrid row 2 with "%g"), KeepParameters is set and the
// robust-assignment command runs. Returns true when a solution was accepted.
bool AcceptNewSolution(Problem& problem, SortingState& state, InconsistencyAnalysis& analysis,
                       UserDialogs& dialogs);

// The main window's command: opens the window (`showModal` runs it until it
// closes); then, when "Apply" closed it, removes that suggestion's constraints
// (ApplySuggestion) and runs the robust-assignment command again, else offers
// the solution found. Does nothing when the command is not available.
bool InconsistencyItemClick(Problem& problem, SortingState& state, InconsistencyAnalysis& analysis,
                            UserDialogs& dialogs, const std::function<void()>& showModal);

}  // namespace vesk::core
