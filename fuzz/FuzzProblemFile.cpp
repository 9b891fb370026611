// Feeds arbitrary bytes to the problem-file reader. Beyond surviving them, a
// file that reads must either be refused by the writer or be written so that
// it reads again, and from the second reading on the text no longer changes.
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string_view>

#include "core/problem/ProblemFile.h"

namespace {

using namespace vesk::core;

class SilentDialogs : public UserDialogs {
 public:
  void ShowMessage(MessageKind, std::string_view) override {}
  bool Confirm(std::string_view) override { return false; }
  std::optional<std::string> PromptText(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseOpenFile(std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<std::string> ChooseSaveFile(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
};

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "problem file fuzz: %s\n", what);
  std::abort();
}

void CheckShape(const Problem& p) {
  const int n = p.NumCriteria, m = p.NumActions, K = p.NumCategories;
  if (n < 1 || n > kMaxCriteria || m < 1 || K < 2 || p.NumConstraints < 1) Broken("counts out of range");
  if (p.FGrid.RowCount() != 2 + 5 * (K - 1) || p.FGrid.ColCount() != 1 + n) Broken("FGrid shape");
  if (p.AGrid.RowCount() != 1 + m || p.AGrid.ColCount() != 3 + n) Broken("AGrid shape");
  if (p.BGrid.RowCount() != 3 || p.BGrid.ColCount() != 2 + n) Broken("BGrid shape");
  if (p.CGrid.RowCount() != 1 + p.NumConstraints || p.CGrid.ColCount() != n + 4) Broken("CGrid shape");
  for (int j = 1; j <= n; ++j)
    if (p.FGrid.Cell(0, j) != p.AGrid.Cell(0, 2 + j)) Broken("criterion names differ");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SilentDialogs dialogs;
  Problem first;
  if (!ReadProblemData(first, dialogs, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.tri"))
    return 0;
  CheckShape(first);
  auto text = ProblemFileText(first, dialogs);
  if (!text) return 0;

  Problem second;
  if (!ReadProblemData(second, dialogs, *text, "fuzz.tri")) Broken("a written file does not read");
  CheckShape(second);
  for (int i = 1; i <= first.NumActions; ++i)
    if (second.AGrid.Cell(i, 0) != first.AGrid.Cell(i, 0)) Broken("an action name changed");
  for (int j = 1; j <= first.NumCriteria; ++j)
    if (second.FGrid.Cell(0, j) != first.FGrid.Cell(0, j)) Broken("a criterion name changed");
  auto again = ProblemFileText(second, dialogs);
  if (!again) Broken("a file read back cannot be written");

  Problem third;
  if (!ReadProblemData(third, dialogs, *again, "fuzz.tri")) Broken("a rewritten file does not read");
  auto last = ProblemFileText(third, dialogs);
  if (!last || *last != *again) Broken("the written text is not stable");
  return 0;
}
