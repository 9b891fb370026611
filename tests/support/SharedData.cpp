#include "SharedData.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

namespace vesk::test {

std::vector<ReferenceInstance> ReadReferenceTable(const std::filesystem::path& dir) {
  std::ifstream tsv(dir / "reference.tsv");
  std::vector<ReferenceInstance> rows;
  std::string line;
  std::getline(tsv, line);  // the header
  while (std::getline(tsv, line)) {
    std::istringstream fields(line);
    ReferenceInstance in;
    fields >> in.name >> in.kind >> in.rows >> in.columns >> in.nonzeros >> in.integerColumns >> in.objective;
    if (fields) rows.push_back(std::move(in));
  }
  return rows;
}

std::optional<ExampleProblem> ReadExample(const std::filesystem::path& dir, const std::string& name) {
  std::ifstream in(dir / (name + ".expected.json"));
  if (!in) return std::nullopt;
  return ExampleProblem{name, dir / (name + ".tri"), nlohmann::json::parse(in)};
}

std::vector<ExampleProblem> ReadExamples(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
    if (entry.path().extension() == ".tri") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  std::vector<ExampleProblem> examples;
  for (const auto& name : names)
    if (auto example = ReadExample(dir, name)) examples.push_back(std::move(*example));
  return examples;
}

}  // namespace vesk::test
