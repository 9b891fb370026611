#pragma once
// Readers of the shared data set's reference files, for the tests and the
// benchmarks: reference.tsv beside the LP/MIP instances, and NAME.expected.json
// beside each example problem NAME.tri.
#include <cstddef>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace vesk::test {

// One row of reference.tsv: an instance, its sizes and its agreed optimum.
struct ReferenceInstance {
  std::string name;
  std::string kind;  // "lp" or "mip"
  std::size_t rows = 0, columns = 0, nonzeros = 0, integerColumns = 0;
  double objective = 0;
};

// The rows of `dir`/reference.tsv in file order (its header line passed over,
// a row that does not read skipped); empty when the file is absent.
std::vector<ReferenceInstance> ReadReferenceTable(const std::filesystem::path& dir);

// An example problem and the results expected of it.
struct ExampleProblem {
  std::string name;            // "conflict"
  std::filesystem::path file;  // DIR/conflict.tri
  nlohmann::json expected;     // DIR/conflict.expected.json
};

// The example `name` of `dir`; nothing when it has no expected results.
std::optional<ExampleProblem> ReadExample(const std::filesystem::path& dir, const std::string& name);

// Every example of `dir` that has expected results, by name.
std::vector<ExampleProblem> ReadExamples(const std::filesystem::path& dir);

}  // namespace vesk::test
