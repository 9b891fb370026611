#include "core/problem/StructuralEdits.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <string_view>

#include "core/problem/Numbers.h"

namespace vesk::core {
namespace {

// prefix followed by the decimal value ("k3", "ad2").
std::string Numbered(std::string prefix, long long value) {
  prefix += std::to_string(value);
  return prefix;
}

// Marks a completed edit.
void Edited(Problem& p) {
  p.DataModified = true;
  p.ResetResults();
}

// Copies the five rows of profile block `from` onto block `to`, data columns
// only (the labels in column 0 stay).
void CopyProfileBlock(Problem& p, int from, int to) {
  const int source = p.ProfileRow(from), target = p.ProfileRow(to);
  for (int r = 0; r < 5; ++r)
    for (int j = 1; j <= p.NumCriteria; ++j) p.FGrid.SetCell(target + r, j, p.FGrid.Cell(source + r, j));
}

void LabelProfileBlock(Problem& p, int h) {
  const int r = p.ProfileRow(h);
  const std::string s = std::to_string(h);
  p.FGrid.SetCell(r, 0, std::string("g(b").append(s).append(")"));
  p.FGrid.SetCell(r + 1, 0, "q" + s);
  p.FGrid.SetCell(r + 2, 0, "p" + s);
  p.FGrid.SetCell(r + 3, 0, "u" + s);
  p.FGrid.SetCell(r + 4, 0, "v" + s);
}

void CopyRow(Grid& g, int from, int to, int firstColumn) {
  for (int c = firstColumn; c < g.ColCount(); ++c) g.SetCell(to, c, g.Cell(from, c));
}

// Moves every column right of `column` one place left in rows
// firstRow..last and drops the last column.
void RemoveColumn(Grid& g, int column, int firstRow) {
  for (int r = firstRow; r < g.RowCount(); ++r)
    for (int c = column; c + 1 < g.ColCount(); ++c) g.SetCell(r, c, g.Cell(r, c + 1));
  g.Resize(g.RowCount(), g.ColCount() - 1);
}

// Applies `change` to the ELow and EHigh of every action whose cells read as
// integers (they always do in a problem built by this program).
template <typename Change>
void ForEachExample(Problem& p, Change change) {
  for (int i = 1; i <= p.NumActions; ++i) {
    auto low = ParseInt(p.AGrid.Cell(i, 1));
    auto high = ParseInt(p.AGrid.Cell(i, 2));
    if (!low || !high) continue;
    change(*low, *high);
    p.AGrid.SetCell(i, 1, std::to_string(*low));
    p.AGrid.SetCell(i, 2, std::to_string(*high));
  }
}

// The name of an appended action.
std::string NextActionName(const Problem& p) {
  if (p.NumActions > 0) {
    if (auto previous = ParseInt(p.AGrid.Cell(p.NumActions, 0)))
      return std::to_string(static_cast<long long>(*previous) + 1);
  }
  std::optional<long long> largest;
  for (int i = 1; i <= p.NumActions; ++i)
    if (auto name = ParseInt(p.AGrid.Cell(i, 0))) largest = std::max(largest.value_or(LLONG_MIN), static_cast<long long>(*name));
  return std::to_string(largest ? *largest + 1 : 0);
}

// The prompt line of a number prompt: the question with the numbers allowed
// ("Split category No. (1-3):").
std::string RangePrompt(std::string_view question, int low, int high) {
  while (!question.empty() && (question.back() == ':' || question.back() == ' ')) question.remove_suffix(1);
  return std::string(question) + " (" + std::to_string(low) + "-" + std::to_string(high) + "):";
}

// The number offered as a prompt's answer: `offered` when it is allowed.
std::string Offered(int offered, int low, int high) {
  return offered >= low && offered <= high ? std::to_string(offered) : std::string();
}

}  // namespace

int CriterionOfColumn(const Problem& p, InputTable table, int column) {
  int j = 0;
  switch (table) {
    case InputTable::AGrid: j = column - 2; break;
    case InputTable::FGrid: j = column; break;
    case InputTable::BGrid:
    case InputTable::CGrid: j = column - 1; break;
  }
  return j >= 1 && j <= p.NumCriteria ? j : 0;
}

int ConstraintOfRow(const Problem& p, int row) { return row >= 2 && row < 1 + p.NumConstraints ? row - 1 : 0; }

bool StructuralCommandEnabled(const Problem& p, StructuralCommand command) {
  switch (command) {
    case StructuralCommand::EraseExamples: return true;
    case StructuralCommand::MergeCategories: return p.TablesShown && p.NumCategories > 2;
    case StructuralCommand::DeleteCriterion: return p.TablesShown && p.NumCriteria > 2;
    case StructuralCommand::DeleteAction: return p.TablesShown && p.NumActions > 0;
    case StructuralCommand::DeleteConstraint: return p.TablesShown && p.NumConstraints > 1;
    case StructuralCommand::SplitCategory:
    case StructuralCommand::InsertCriterion:
    case StructuralCommand::InsertAction:
    case StructuralCommand::InsertConstraint: return p.TablesShown;
  }
  return false;
}

bool SplitCategory(Problem& p, UserDialogs& dialogs) {
  if (!p.TablesShown) return false;
  const int K = p.NumCategories;
  const auto k = dialogs.PromptInteger("Split category No.:", RangePrompt("Split category No.:", 1, K), 1, K);
  if (!k) return false;

  // One more block; the direction row, label included, becomes the new last row.
  const int oldDirection = p.DirectionRow();
  p.FGrid.Resize(p.FGrid.RowCount() + 5, p.FGrid.ColCount());
  CopyRow(p.FGrid, oldDirection, p.FGrid.RowCount() - 1, 0);
  for (int h = K - 1; h >= std::max(*k - 1, 1); --h) CopyProfileBlock(p, h, h + 1);
  LabelProfileBlock(p, K);

  ForEachExample(p, [&](int& low, int& high) {
    if (low > *k) ++low;
    if (high >= *k) ++high;
  });
  p.NumCategories = K + 1;
  Edited(p);
  return true;
}

bool MergeCategories(Problem& p, UserDialogs& dialogs) {
  if (!p.TablesShown || p.NumCategories <= 2) return false;
  if (!dialogs.Confirm("Are you sure you want to merge two categories?")) return false;
  const int K = p.NumCategories;
  const auto k = dialogs.PromptInteger("Merge the categories from No. :",
                                       RangePrompt("Merge the categories from No. :", 1, K - 1), 1, K - 1);
  if (!k) return false;

  for (int h = *k + 1; h <= K - 1; ++h) CopyProfileBlock(p, h, h - 1);
  CopyRow(p.FGrid, p.DirectionRow(), p.ProfileRow(K - 1), 0);
  p.FGrid.Resize(p.FGrid.RowCount() - 5, p.FGrid.ColCount());

  ForEachExample(p, [&](int& low, int& high) {
    if (low > *k) --low;
    if (high > *k) --high;
  });
  p.NumCategories = K - 1;
  Edited(p);
  return true;
}

bool InsertCriterion(Problem& p, UserDialogs& dialogs) {
  if (!p.TablesShown) return false;
  if (p.NumCriteria >= kMaxCriteria) {
    dialogs.Error("Maximum number of criteria exceeded");
    return false;
  }
  Edited(p);
  const int n = ++p.NumCriteria;
  const std::string name = Numbered("g", n);
  const std::string weight = Numbered("k", n);

  p.FGrid.Resize(p.FGrid.RowCount(), 1 + n);
  p.FGrid.SetCell(0, n, name);
  for (int r = 1; r < p.DirectionRow(); ++r) p.FGrid.SetCell(r, n, "0");
  p.FGrid.SetCell(p.DirectionRow(), n, "1");

  p.AGrid.Resize(p.AGrid.RowCount(), 3 + n);
  p.AGrid.SetCell(0, 2 + n, name);
  for (int i = 1; i <= p.NumActions; ++i) p.AGrid.SetCell(i, 2 + n, "0");

  p.BGrid.Resize(3, 2 + n);
  p.BGrid.SetCell(0, 1 + n, weight);
  p.BGrid.SetCell(1, 1 + n, "0");
  p.BGrid.SetCell(2, 1 + n, "0");

  // The new k_n column takes the place of the sign column; sign and RHS move right.
  Grid& c = p.CGrid;
  c.Resize(c.RowCount(), n + 4);
  for (int r = 0; r < c.RowCount(); ++r) {
    c.SetCell(r, n + 3, c.Cell(r, n + 2));
    c.SetCell(r, n + 2, c.Cell(r, n + 1));
    c.SetCell(r, n + 1, "0");
  }
  c.SetCell(0, n + 1, weight);
  c.SetCell(1, n + 1, "1");
  return true;
}

bool DeleteCriterion(Problem& p, UserDialogs& dialogs) { return DeleteCriterion(p, dialogs, 0); }

bool DeleteCriterion(Problem& p, UserDialogs& dialogs, int offered) {
  if (!p.TablesShown || p.NumCriteria <= 1) return false;
  const int n = p.NumCriteria;
  const auto k = dialogs.PromptInteger("Delete criterion No.:", RangePrompt("Delete criterion No.:", 1, n), 1, n,
                                       Offered(offered, 1, n));
  if (!k) return false;

  // Names move with their columns in FGrid and AGrid; BGrid and CGrid keep
  // their positional headers.
  RemoveColumn(p.FGrid, *k, 0);
  RemoveColumn(p.AGrid, 2 + *k, 0);
  RemoveColumn(p.BGrid, 1 + *k, 1);
  RemoveColumn(p.CGrid, 1 + *k, 1);
  --p.NumCriteria;
  p.CGrid.SetCell(0, p.SignColumn(), "<,=,>");
  p.CGrid.SetCell(0, p.RhsColumn(), "RHS");
  Edited(p);
  return true;
}

bool InsertAction(Problem& p, UserDialogs&) {
  if (!p.TablesShown) return false;
  const std::string name = NextActionName(p);
  const int m = ++p.NumActions;
  p.AGrid.Resize(1 + m, p.AGrid.ColCount());
  p.AGrid.SetCell(m, 0, name);
  p.AGrid.SetCell(m, 1, "1");
  p.AGrid.SetCell(m, 2, std::to_string(p.NumCategories));
  for (int j = 1; j <= p.NumCriteria; ++j) p.AGrid.SetCell(m, 2 + j, "0");
  Edited(p);
  return true;
}

bool DeleteAction(Problem& p, UserDialogs& dialogs) { return DeleteAction(p, dialogs, 0); }

bool DeleteAction(Problem& p, UserDialogs& dialogs, int offered) {
  if (!p.TablesShown || p.NumActions < 1) return false;
  const auto answer = dialogs.PromptText("Delete action No.:",
                                         "Delete action (1-" + std::to_string(p.NumActions) + " or name):",
                                         Offered(offered, 1, p.NumActions));
  if (!answer) return false;
  const int row = ActionNamed(p, *answer);
  if (row == 0) {
    dialogs.Error("Action " + *answer + " not found");
    return false;
  }
  for (int i = row; i < p.NumActions; ++i) CopyRow(p.AGrid, i + 1, i, 0);
  --p.NumActions;
  p.AGrid.Resize(1 + p.NumActions, p.AGrid.ColCount());
  Edited(p);
  return true;
}

bool EraseExamples(Problem& p, UserDialogs& dialogs) {
  if (!p.TablesShown) return false;
  if (!dialogs.Confirm("Do you really want to erase all assignment examples?")) return false;
  for (int i = 1; i <= p.NumActions; ++i) {
    p.AGrid.SetCell(i, 1, "1");
    p.AGrid.SetCell(i, 2, std::to_string(p.NumCategories));
  }
  Edited(p);
  return true;
}

bool InsertConstraint(Problem& p, UserDialogs&) {
  if (!p.TablesShown) return false;
  const int r = ++p.NumConstraints;
  p.CGrid.Resize(1 + r, p.CGrid.ColCount());
  p.CGrid.SetCell(r, 0, Numbered("ad", r));
  for (int c = 1; c <= p.NumCriteria + 1; ++c) p.CGrid.SetCell(r, c, "0");
  p.CGrid.SetCell(r, p.SignColumn(), "<=");
  p.CGrid.SetCell(r, p.RhsColumn(), "0");
  Edited(p);
  return true;
}

bool DeleteConstraint(Problem& p, UserDialogs& dialogs) { return DeleteConstraint(p, dialogs, 0); }

bool DeleteConstraint(Problem& p, UserDialogs& dialogs, int offered) {
  if (!p.TablesShown || p.NumConstraints <= 1) return false;
  const int last = p.NumConstraints - 1;
  const auto t = dialogs.PromptInteger("Delete Constraint", RangePrompt("Delete constraint No.:", 1, last), 1, last,
                                       Offered(offered, 1, last));
  if (!t) return false;
  for (int r = *t + 1; r < p.NumConstraints; ++r) CopyRow(p.CGrid, r + 1, r, 1);
  --p.NumConstraints;
  p.CGrid.Resize(1 + p.NumConstraints, p.CGrid.ColCount());
  Edited(p);
  return true;
}

}  // namespace vesk::core
