#pragma once
// Small sorting problems whose ranges can be worked out by hand.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/problem/Problem.h"

namespace vesk::core::test {

struct ActionRow {
  std::string name;
  std::vector<std::string> performances;
  int low = 1, high = 0;  // high 0: K
};

// n criteria to maximise, K categories; profile b_h at `profiles[h-1]` on every
// criterion with q = p = 0 (a step), veto off; lambda in [0.5, 1], weights in
// [0, 1]; no added constraint.
inline Problem StepProblem(int n, int K, const std::vector<double>& profiles, const std::vector<ActionRow>& actions) {
  Problem p;
  LayoutTables(p, n, static_cast<int>(actions.size()), K, true);
  p.UsevjDown = false;
  for (int h = 1; h <= K - 1; ++h)
    for (int j = 1; j <= n; ++j) p.FGrid.SetCell(p.ProfileRow(h), j, std::to_string(profiles[h - 1]));
  for (int j = 1; j <= n; ++j) p.BGrid.SetCell(2, 1 + j, "1");
  for (std::size_t i = 0; i < actions.size(); ++i) {
    const int a = static_cast<int>(i) + 1;
    p.AGrid.SetCell(a, 0, actions[i].name);
    p.AGrid.SetCell(a, 1, std::to_string(actions[i].low));
    p.AGrid.SetCell(a, 2, std::to_string(actions[i].high == 0 ? K : actions[i].high));
    for (int j = 1; j <= n; ++j) p.AGrid.SetCell(a, 2 + j, actions[i].performances[j - 1]);
  }
  return p;
}

// Appends an added constraint "ad<t>" with the given coefficients (lambda
// first), sign and right-hand side.
inline void AddConstraint(Problem& p, const std::vector<std::string>& coefficients, const std::string& sign,
                          const std::string& rhs) {
  const int r = p.CGrid.RowCount();
  p.CGrid.Resize(r + 1, p.CGrid.ColCount());
  p.CGrid.SetCell(r, 0, "ad" + std::to_string(r - 1));
  for (std::size_t c = 0; c < coefficients.size(); ++c) p.CGrid.SetCell(r, 1 + static_cast<int>(c), coefficients[c]);
  p.CGrid.SetCell(r, p.SignColumn(), sign);
  p.CGrid.SetCell(r, p.RhsColumn(), rhs);
  ++p.NumConstraints;
}

// Two criteria, three categories, b_1 at 50 and b_2 at 70:
//   "A" (60, 40): sigma(b_1) = k1, sigma(b_2) = 0     -> range [1, 2]
//   "B" (80, 80): sigma = 1 on both profiles           -> always 3
//   "C" (60, 60): sigma(b_1) = 1, sigma(b_2) = 0       -> always 2
inline Problem ThreeActions() {
  return StepProblem(2, 3, {50, 70}, {{"A", {"60", "40"}}, {"B", {"80", "80"}}, {"C", {"60", "60"}}});
}

// Every file of a folder (names relative to it) with its bytes.
inline std::map<std::string, std::string> FolderContents(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[std::filesystem::relative(entry.path(), folder).string()] = bytes.str();
  }
  return files;
}

}  // namespace vesk::core::test
