#include "core/problem/EditHistory.h"

namespace vesk::core {

ProblemSnapshot ProblemSnapshot::Of(const Problem& p) {
  return {p.AGrid,       p.FGrid,        p.BGrid,          p.CGrid,         p.NumCriteria,
          p.NumActions,  p.NumCategories, p.NumConstraints, p.DataModified};
}

void ProblemSnapshot::RestoreInto(Problem& p) const {
  p.AGrid = AGrid;
  p.FGrid = FGrid;
  p.BGrid = BGrid;
  p.CGrid = CGrid;
  p.NumCriteria = NumCriteria;
  p.NumActions = NumActions;
  p.NumCategories = NumCategories;
  p.NumConstraints = NumConstraints;
  p.DataModified = DataModified;
}

bool ProblemSnapshot::SameContents(const ProblemSnapshot& o) const {
  return NumCriteria == o.NumCriteria && NumActions == o.NumActions && NumCategories == o.NumCategories &&
         NumConstraints == o.NumConstraints && AGrid == o.AGrid && FGrid == o.FGrid && BGrid == o.BGrid &&
         CGrid == o.CGrid;
}

void EditHistory::Reset(const Problem& problem) {
  current_ = ProblemSnapshot::Of(problem);
  undo_.clear();
  redo_.clear();
}

bool EditHistory::Record(const Problem& problem) {
  ProblemSnapshot now = ProblemSnapshot::Of(problem);
  if (!now.SameContents(current_)) {
    undo_.push_back(std::move(current_));
    if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
    redo_.clear();
    current_ = std::move(now);
    return true;
  }
  if (current_.DataModified && !now.DataModified) {
    // Saved: the file now holds these contents, so going back or forward to
    // any other state is a change to save again.
    for (auto* side : {&undo_, &redo_})
      for (ProblemSnapshot& s : *side) s.DataModified = !s.SameContents(now);
  }
  current_.DataModified = now.DataModified;
  return false;
}

bool EditHistory::Undo(Problem& problem) {
  Record(problem);
  if (undo_.empty()) return false;
  redo_.push_back(std::move(current_));
  current_ = std::move(undo_.back());
  undo_.pop_back();
  current_.RestoreInto(problem);
  problem.ResetResults();
  return true;
}

bool EditHistory::Redo(Problem& problem) {
  Record(problem);
  if (redo_.empty()) return false;
  undo_.push_back(std::move(current_));
  current_ = std::move(redo_.back());
  redo_.pop_back();
  current_.RestoreInto(problem);
  problem.ResetResults();
  return true;
}

}  // namespace vesk::core
