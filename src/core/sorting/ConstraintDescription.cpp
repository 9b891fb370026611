#include "core/sorting/ConstraintDescription.h"

#include <cmath>

#include "core/problem/Numbers.h"
#include "core/sorting/InferenceProgram.h"

namespace vesk::core {
namespace {

// The action whose example gives example row `row` (1-based), walking the
// actions as the example rows were built.
std::optional<int> ExampleAction(const Problem& p, int row) {
  int count = 0;
  for (int a = 1; a <= p.NumActions; ++a) {
    const auto low = ParseInt(p.AGrid.CellOrEmpty(a, 1));
    const auto high = ParseInt(p.AGrid.CellOrEmpty(a, 2));
    if (!low || !high) continue;
    count += (ExampleHasLowerRow(*low) ? 1 : 0) + (ExampleHasUpperRow(*high, p.NumCategories) ? 1 : 0);
    if (count >= row) return a;
  }
  return std::nullopt;
}

std::string Number(const std::string& cell) {
  const auto value = ParseReal(cell);
  return value ? FormatGeneral(*value) : cell;
}

// "k1 - 0.5 k2 + lambda": the coefficients of CGrid row r, zero ones left out.
std::string Terms(const Problem& p, int r) {
  std::string text;
  for (int v = 0; v <= p.NumCriteria; ++v) {
    const double a = ParseReal(p.CGrid.CellOrEmpty(r, 1 + v)).value_or(0.0);
    if (a == 0.0) continue;
    if (text.empty()) text += a < 0 ? "-" : "";
    else text += a < 0 ? " - " : " + ";
    if (std::fabs(a) != 1.0) text += FormatGeneral(std::fabs(a)) + " ";
    text += ParameterName(v);
  }
  return text.empty() ? "0" : text;
}

}  // namespace

std::optional<ConstraintOrigin> ConstraintRowOrigin(const Problem& p, const SortingState& s, int row) {
  const int n = p.NumCriteria;
  if (s.Generation != p.ResultsGeneration || n < 1 || s.IGrid.ColCount() != n + 5) return std::nullopt;
  if (row < 1 || row >= s.IGrid.RowCount()) return std::nullopt;
  if (row <= s.NumExampleConstraints) {
    const auto action = ExampleAction(p, row);
    if (!action) return std::nullopt;
    return ConstraintOrigin{ConstraintOriginKind::Example, *action};
  }
  const std::string& description = s.IGrid.CellOrEmpty(row, 1);
  for (int r = 2; r < p.CGrid.RowCount(); ++r)
    if (p.CGrid.CellOrEmpty(r, 0) == description) return ConstraintOrigin{ConstraintOriginKind::Added, r};
  for (int v = 0; v <= n; ++v) {
    const std::string& header = p.BGrid.CellOrEmpty(0, 1 + v);
    if (description == "LB " + header) return ConstraintOrigin{ConstraintOriginKind::LowerBound, v};
    if (description == "UB " + header) return ConstraintOrigin{ConstraintOriginKind::UpperBound, v};
  }
  return std::nullopt;
}

std::string DescribeConstraint(const Problem& p, const ConstraintOrigin& origin) {
  switch (origin.kind) {
    case ConstraintOriginKind::Example: {
      const std::string& low = p.AGrid.CellOrEmpty(origin.index, 1);
      const std::string& high = p.AGrid.CellOrEmpty(origin.index, 2);
      std::string text = p.AGrid.CellOrEmpty(origin.index, 0) + " in C" + low;
      if (high != low) text += "..C" + high;
      return text;
    }
    case ConstraintOriginKind::Added: {
      const int r = origin.index;
      return p.CGrid.CellOrEmpty(r, 0) + ": " + Terms(p, r) + " " + p.CGrid.CellOrEmpty(r, p.SignColumn()) + " " +
             Number(p.CGrid.CellOrEmpty(r, p.RhsColumn()));
    }
    case ConstraintOriginKind::LowerBound:
      return ParameterName(origin.index) + " >= " + Number(p.BGrid.CellOrEmpty(1, 1 + origin.index));
    case ConstraintOriginKind::UpperBound:
      return ParameterName(origin.index) + " <= " + Number(p.BGrid.CellOrEmpty(2, 1 + origin.index));
  }
  return {};
}

std::string DescribeConstraintRow(const Problem& p, const SortingState& s, int row) {
  if (const auto origin = ConstraintRowOrigin(p, s, row)) return DescribeConstraint(p, *origin);
  return s.IGrid.CellOrEmpty(row, 1);
}

}  // namespace vesk::core
