#include "core/problem/Invariants.h"

#include "core/problem/Numbers.h"

namespace vesk::core {
namespace {

// prefix followed by the decimal value ("k3", "ad2").
std::string Numbered(std::string prefix, long long value) {
  prefix += std::to_string(value);
  return prefix;
}

class Checker {
 public:
  explicit Checker(const Problem& p) : p_(p) {}

  void Expect(bool ok, const std::string& what) {
    if (!ok) broken_.push_back(what);
  }

  void Size(const char* name, const Grid& g, int rows, int columns) {
    Expect(g.RowCount() == rows && g.ColCount() == columns,
           std::string(name) + " is " + std::to_string(g.RowCount()) + " x " + std::to_string(g.ColCount()) +
               ", expected " + std::to_string(rows) + " x " + std::to_string(columns));
  }

  void Text(const char* name, const Grid& g, int row, int column, const std::string& expected) {
    const std::string& actual = g.CellOrEmpty(row, column);
    Expect(actual == expected, std::string(name) + " (" + std::to_string(row) + ", " + std::to_string(column) +
                                   ") is \"" + actual + "\", expected \"" + expected + "\"");
  }

  std::vector<std::string> Run() {
    const int n = p_.NumCriteria, m = p_.NumActions, K = p_.NumCategories;
    if (!p_.TablesShown) {
      Expect(n == 0 && m == 0 && K == 0 && p_.NumConstraints == 0, "counts are not 0 before any problem exists");
      return broken_;
    }
    Expect(n >= 1 && n <= kMaxCriteria, "NumCriteria " + std::to_string(n) + " outside 1..19");
    Expect(K >= 2, "NumCategories " + std::to_string(K) + " below 2");
    Expect(m >= 0, "NumActions " + std::to_string(m) + " negative");
    Expect(p_.NumConstraints >= 1, "NumConstraints " + std::to_string(p_.NumConstraints) + " below 1");
    if (!broken_.empty()) return broken_;

    Size("FGrid", p_.FGrid, 2 + 5 * (K - 1), 1 + n);
    Size("AGrid", p_.AGrid, 1 + m, 3 + n);
    Size("BGrid", p_.BGrid, 3, 2 + n);
    Size("CGrid", p_.CGrid, 1 + p_.NumConstraints, n + 4);
    if (!broken_.empty()) return broken_;

    Headers();
    Norm();
    Examples();
    return broken_;
  }

 private:
  void Headers() {
    const int n = p_.NumCriteria, K = p_.NumCategories;
    Text("AGrid", p_.AGrid, 0, 0, "Action");
    Text("AGrid", p_.AGrid, 0, 1, "ELow");
    Text("AGrid", p_.AGrid, 0, 2, "EHigh");
    for (int j = 1; j <= n; ++j) {
      Expect(p_.FGrid.Cell(0, j) == p_.AGrid.Cell(0, 2 + j),
             "criterion " + std::to_string(j) + " is named \"" + p_.FGrid.Cell(0, j) + "\" in FGrid and \"" +
                 p_.AGrid.Cell(0, 2 + j) + "\" in AGrid");
    }
    for (int h = 1; h <= K - 1; ++h) {
      const int r = p_.ProfileRow(h);
      const std::string s = std::to_string(h);
      Text("FGrid", p_.FGrid, r, 0, std::string("g(b").append(s).append(")"));
      Text("FGrid", p_.FGrid, r + 1, 0, "q" + s);
      Text("FGrid", p_.FGrid, r + 2, 0, "p" + s);
      Text("FGrid", p_.FGrid, r + 3, 0, "u" + s);
      Text("FGrid", p_.FGrid, r + 4, 0, "v" + s);
    }
    Text("FGrid", p_.FGrid, p_.DirectionRow(), 0, "MAX/min?(1/-1)");

    Text("BGrid", p_.BGrid, 0, 1, "lambda");
    Text("BGrid", p_.BGrid, 1, 0, "LB - Lower Bound");
    Text("BGrid", p_.BGrid, 2, 0, "UB - Upper Bound");
    Text("CGrid", p_.CGrid, 0, 1, "lambda");
    for (int j = 1; j <= n; ++j) {
      Text("BGrid", p_.BGrid, 0, 1 + j, Numbered("k", j));
      Text("CGrid", p_.CGrid, 0, 1 + j, Numbered("k", j));
    }
    Text("CGrid", p_.CGrid, 0, p_.SignColumn(), "<,=,>");
    Text("CGrid", p_.CGrid, 0, p_.RhsColumn(), "RHS");
  }

  void Norm() {
    const int n = p_.NumCriteria;
    Text("CGrid", p_.CGrid, 1, 0, "Norm");
    Text("CGrid", p_.CGrid, 1, 1, "0");
    for (int j = 1; j <= n; ++j) Text("CGrid", p_.CGrid, 1, 1 + j, "1");
    Text("CGrid", p_.CGrid, 1, p_.SignColumn(), "=");
    Text("CGrid", p_.CGrid, 1, p_.RhsColumn(), "1");
    for (int r = 2; r < p_.CGrid.RowCount(); ++r) {
      const std::string& label = p_.CGrid.Cell(r, 0);
      Expect(!label.empty() && label.front() == 'a',
             "CGrid row " + std::to_string(r) + " is labelled \"" + label + "\", not an added constraint");
    }
  }

  void Examples() {
    const int K = p_.NumCategories;
    for (int i = 1; i <= p_.NumActions; ++i) {
      const auto low = ParseInt(p_.AGrid.Cell(i, 1));
      const auto high = ParseInt(p_.AGrid.Cell(i, 2));
      Expect(low && high && 1 <= *low && *low <= *high && *high <= K,
             "action row " + std::to_string(i) + " has the example [" + p_.AGrid.Cell(i, 1) + ", " +
                 p_.AGrid.Cell(i, 2) + "] outside 1 <= ELow <= EHigh <= " + std::to_string(K));
    }
  }

  const Problem& p_;
  std::vector<std::string> broken_;
};

}  // namespace

std::vector<std::string> CheckProblemInvariants(const Problem& problem) { return Checker(problem).Run(); }

}  // namespace vesk::core
