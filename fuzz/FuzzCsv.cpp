// Feeds arbitrary bytes to the CSV performance reader. A text it accepts must
// make a sound problem whose names and performances survive the problem file:
// written, read back, they are the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/problem/CsvPerformances.h"
#include "core/problem/Numbers.h"
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
  std::fprintf(stderr, "csv fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CsvError error;
  const auto records = ParseCsv(bytes, error);
  const auto table = ReadCsvPerformances(bytes, error);
  if (!table) {
    if (error.line < 1 || error.column < 1 || error.message.empty()) Broken("an error without its place");
    return 0;
  }
  if (!records) Broken("performances read from text that does not parse");
  const int n = table->NumCriteria(), m = table->NumActions();
  if (n < 1 || n > kMaxCriteria || m < 1) Broken("counts out of range");
  if (static_cast<int>(table->values.size()) != m) Broken("rows lost");
  for (const auto& row : table->values) {
    if (static_cast<int>(row.size()) != n) Broken("a ragged row accepted");
    for (const auto& cell : row)
      if (!ParseReal(cell)) Broken("a cell kept that is no number");
  }

  Problem p;
  if (!ApplyCsvPerformances(p, *table, CsvTarget::NewProblem)) Broken("a read table does not apply");
  if (p.AGrid.RowCount() != 1 + m || p.AGrid.ColCount() != 3 + n || p.FGrid.ColCount() != 1 + n)
    Broken("table shape");
  SilentDialogs dialogs;
  const auto text = ProblemFileText(p, dialogs);
  if (!text) Broken("an imported problem cannot be saved");
  Problem back;
  if (!ReadProblemData(back, dialogs, *text, "fuzz.tri")) Broken("an imported problem does not read back");
  for (int i = 1; i <= m; ++i) {
    if (back.AGrid.Cell(i, 0) != p.AGrid.Cell(i, 0)) Broken("an action name changed");
    for (int j = 1; j <= n; ++j)
      if (back.AGrid.Cell(i, 2 + j) != p.AGrid.Cell(i, 2 + j))
        Broken("a performance changed");
  }
  for (int j = 1; j <= n; ++j)
    if (back.FGrid.Cell(0, j) != p.FGrid.Cell(0, j)) Broken("a criterion name changed");
  return 0;
}
