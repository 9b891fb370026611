#pragma once
// Undo and redo of the changes to a problem. The history keeps snapshots of
// the four input tables, the counts and DataModified: a step is the problem
// as it stood before one change. The window calls Record after anything that
// may have changed the problem; a change of the tables or counts since the
// last recorded state becomes one step, however many keys or commands it
// took, so a cell typed key by key is one step once its edit ends.
#include <cstddef>
#include <vector>

#include "core/problem/Grid.h"
#include "core/problem/Problem.h"

namespace vesk::core {

struct ProblemSnapshot {
  Grid AGrid, FGrid, BGrid, CGrid;
  int NumCriteria = 0, NumActions = 0, NumCategories = 0, NumConstraints = 0;
  bool DataModified = false;

  static ProblemSnapshot Of(const Problem& problem);
  void RestoreInto(Problem& problem) const;
  // The tables and counts are equal (DataModified aside).
  bool SameContents(const ProblemSnapshot& other) const;
};

class EditHistory {
 public:
  // Steps kept on the undo side; the oldest go first.
  static constexpr std::size_t kMaxSteps = 100;

  // Forgets every step: `problem` (just opened or created) is the start.
  void Reset(const Problem& problem);

  // Takes in what changed since the last recorded state. A change of the
  // tables or counts is one step (and clears the redo side); true then.
  // Otherwise only DataModified is taken in: when it went off (the problem
  // was saved), every stored state is modified unless it equals the saved one.
  bool Record(const Problem& problem);

  // The problem's tables or counts differ from the last recorded state: a
  // change that Record (or Undo) would make a step of.
  bool Pending(const Problem& problem) const { return !ProblemSnapshot::Of(problem).SameContents(current_); }

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }

  // Records what is pending, then puts the problem back to the state before
  // the last step (Undo) or forward again (Redo): tables, counts and
  // DataModified, and resets the results. False when there is nothing to do.
  bool Undo(Problem& problem);
  bool Redo(Problem& problem);

 private:
  ProblemSnapshot current_;  // the problem as last recorded
  std::vector<ProblemSnapshot> undo_;
  std::vector<ProblemSnapshot> redo_;
};

}  // namespace vesk::core
