#include "core/problem/InputChecks.h"

#include <optional>
#include <string>

#include "core/problem/Numbers.h"
#include "core/problem/ParameterNames.h"
#include "core/problem/Text.h"

namespace vesk::core {
namespace {

bool Blank(const std::string& text) { return Trim(text).empty(); }

// ". Column 2 is k1 (cost).": which parameter BGrid column c holds.
std::string ColumnIs(const Problem& p, int c) {
  return ". Column " + std::to_string(c) + " is " + ParameterWithCriterion(p, c - 1) + ".";
}

}  // namespace

bool CheckBounds(Problem& p, UserDialogs& dialogs) {
  if (!p.TablesShown) return false;
  bool ok = true;
  for (int c = 1; c <= p.NumCriteria + 1; ++c) {
    const std::string column = std::to_string(c);
    std::optional<double> lower = ParseReal(p.BGrid.Cell(1, c));
    if (!lower) {
      dialogs.Error("Invalid lower bound in column " + column);
      ok = false;
    } else if (*lower < 0) {
      dialogs.Error("Lower bound in column " + column + " was <0: changed it to 0" + ColumnIs(p, c));
      p.BGrid.SetCell(1, c, "0.0");
      p.DataModified = true;
      lower = 0.0;
    }
    std::optional<double> upper = ParseReal(p.BGrid.Cell(2, c));
    if (!upper) {
      dialogs.Error("Invalid upper bound in column " + column);
      ok = false;
    } else if (*upper > 1) {
      dialogs.Error("Upper bound in column " + column + " was >1: changed it to 1" + ColumnIs(p, c));
      p.BGrid.SetCell(2, c, "1.0");
      p.DataModified = true;
      upper = 1.0;
    }
    // Compared after the clamping, so that no bound outside [0, 1] and no
    // empty interval passes.
    if (lower && upper && *lower > *upper) {
      dialogs.Error("Lower bound exceeds upper bound in column " + column);
      ok = false;
    }
  }
  return ok;
}

bool CheckConstraintRHS(Problem& p, UserDialogs& dialogs) {
  if (!p.TablesShown) return false;
  bool ok = true;
  const int rhs = p.RhsColumn();
  for (int r = 2; r < p.CGrid.RowCount(); ++r) {
    const std::string number = std::to_string(r - 1);
    if (Blank(p.CGrid.Cell(r, rhs))) {
      p.CGrid.SetCell(r, rhs, "0");
      p.DataModified = true;
      continue;
    }
    const auto value = ParseReal(p.CGrid.Cell(r, rhs));
    if (!value) {
      dialogs.Error("Invalid RHS is row " + number);
      ok = false;
    } else if (*value < 0) {
      dialogs.Error("Negative RHS is row " + number);
      ok = false;
    }
  }
  return ok;
}

bool CheckConstraintSigns(const Problem& p, UserDialogs& dialogs) {
  bool ok = true;
  for (int r = 2; r < p.CGrid.RowCount(); ++r) {
    const std::string& sign = p.CGrid.CellOrEmpty(r, p.SignColumn());
    if (!sign.empty() && (sign[0] == '<' || sign[0] == '=' || sign[0] == '>')) continue;
    const std::string& label = p.CGrid.CellOrEmpty(r, 0);
    dialogs.Error("Constraint " + label + " (row " + std::to_string(r - 1) + ") has no sign: choose <, = or >");
    ok = false;
  }
  return ok;
}

}  // namespace vesk::core
