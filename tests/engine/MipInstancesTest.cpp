// Every MIP instance of the shared data set reaches its reference optimum
// through the command line (MPS front end, relaxation, branch-and-bound),
// within a time limit given to the engine, with and without spilling nodes
// to the node file; a run stopped by a limit is never reported as proven.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "CliRun.h"
#include "SharedData.h"
#include "TestPaths.h"

namespace {

struct Instance {
  std::string name;
  double objective;
  int maxTime;  // seconds, through MAXTIME
};

void PrintTo(const Instance& in, std::ostream* os) { *os << in.name; }

// The mip rows of reference.tsv with their time limits.
std::vector<Instance> MipInstances() {
  const std::vector<std::pair<std::string, int>> limits = {{"p0033", 60},  {"flugpl", 60}, {"egout", 120},
                                                           {"enigma", 120}, {"lseu", 240}, {"mod008", 480}};
  std::vector<Instance> out;
  if (auto dir = vesk::test::LpDataDir()) {
    for (const auto& row : vesk::test::ReadReferenceTable(*dir)) {
      if (row.kind != "mip") continue;
      int limit = 120;
      for (const auto& [n, t] : limits)
        if (n == row.name) limit = t;
      out.push_back({row.name, row.objective, limit});
    }
  }
  if (out.empty()) out.push_back({"data_absent", 0, 0});
  return out;
}

struct CliRun {
  bool ok = false;
  std::string json;
  std::string Text(const std::string& key) const {
    const auto p = json.find("\"" + key + "\":");
    if (p == std::string::npos) return {};
    auto q = p + key.size() + 3;
    auto e = json.find_first_of(",}", q);
    return json.substr(q, e - q);
  }
  double Number(const std::string& key) const { return std::stod(Text(key)); }
};

CliRun RunCli(const std::filesystem::path& mps, const std::vector<std::string>& params) {
  std::string arguments = "lp " + vesk::test::ShellQuote(mps.string()) + " --json";
  for (const auto& p : params) arguments += " --param " + vesk::test::ShellQuote(p);
  const vesk::test::CliRun run = vesk::test::RunCli(arguments);
  CliRun r;
  r.json = run.out;
  r.ok = run.code != -1 && r.json.find('{') != std::string::npos;
  return r;
}

class MipInstance : public ::testing::TestWithParam<Instance> {
 protected:
  void SetUp() override {
    if (!vesk::test::LpDataDir()) GTEST_SKIP() << "LP data folder absent";
    if (!std::filesystem::exists(vesk::test::CliPath())) GTEST_SKIP() << "vesk-cli not built";
  }
  void ExpectOptimum(const std::vector<std::string>& extra) {
    const Instance& in = GetParam();
    std::vector<std::string> params = {"MAXTIME=" + std::to_string(in.maxTime)};
    params.insert(params.end(), extra.begin(), extra.end());
    const CliRun r = RunCli(*vesk::test::LpDataDir() / (in.name + ".mps"), params);
    ASSERT_TRUE(r.ok) << r.json;
    ASSERT_EQ(r.Text("status"), "\"OPTIMAL SOLUTION\"") << r.json;
    EXPECT_EQ(r.Text("proven"), "true") << r.json;
    const double tolerance = std::max(1e-6 * std::fabs(in.objective), 1e-9);
    EXPECT_NEAR(r.Number("objective"), in.objective, tolerance) << r.json;
    EXPECT_GT(r.Number("nodes"), 0) << r.json;
  }
};

TEST_P(MipInstance, ReachesTheReferenceOptimum) { ExpectOptimum({}); }

INSTANTIATE_TEST_SUITE_P(Reference, MipInstance, ::testing::ValuesIn(MipInstances()),
                         [](const auto& info) { return info.param.name; });

// With the memory limit forced to zero the waiting list overflows to the node
// file from the first nodes on; the optimum must not change.
class MipInstanceSpilling : public MipInstance {};
TEST_P(MipInstanceSpilling, ReachesTheReferenceOptimum) { ExpectOptimum({"MAXMEMORY[MB]=0"}); }

std::vector<Instance> Small() {
  std::vector<Instance> out;
  for (const auto& in : MipInstances())
    if (in.name == "p0033" || in.name == "flugpl" || in.name == "egout" || in.name == "data_absent") out.push_back(in);
  return out;
}
INSTANTIATE_TEST_SUITE_P(Reference, MipInstanceSpilling, ::testing::ValuesIn(Small()),
                         [](const auto& info) { return info.param.name; });

TEST(MipLimits, IterationLimitOnP0033IsReportedUnproven) {
  auto dir = vesk::test::LpDataDir();
  if (!dir || !std::filesystem::exists(*dir / "p0033.mps")) GTEST_SKIP() << "p0033 absent";
  if (!std::filesystem::exists(vesk::test::CliPath())) GTEST_SKIP() << "vesk-cli not built";
  const CliRun r = RunCli(*dir / "p0033.mps", {"MAXITER=400"});
  ASSERT_TRUE(r.ok) << r.json;
  EXPECT_EQ(r.Text("proven"), "false") << r.json;
  EXPECT_NE(r.Text("status").find("UNFINISHED"), std::string::npos) << r.json;
  // An incumbent, if any, is a feasible point: never below the minimum.
  if (r.Text("objective") != "null" && !r.Text("objective").empty()) {
    EXPECT_GE(r.Number("objective"), 3089 - 1e-6) << r.json;
  }
}

}  // namespace
