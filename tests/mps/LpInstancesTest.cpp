// Every LP instance of the shared data set, solved in process through the MPS
// front end and the engine, reaches its reference optimum, and the values it
// returns satisfy the file's rows and bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "SharedData.h"
#include "TestPaths.h"
#include "cli/mps/MpsReader.h"
#include "cli/mps/MpsToEngine.h"
#include "engine/ScratchEngineHost.h"

namespace vesk::mps {
namespace {

struct Instance {
  std::string name;
  std::string kind;
  double objective = 0;
  bool scale = false;
};

void PrintTo(const Instance& in, std::ostream* os) { *os << in.name << (in.scale ? " scaled" : ""); }

// The lp rows of reference.tsv, each unscaled and scaled; one placeholder
// when the data folder is absent, so that the suite reports a skip.
std::vector<Instance> LpInstances() {
  std::vector<Instance> out;
  if (auto dir = vesk::test::LpDataDir()) {
    for (const auto& row : vesk::test::ReadReferenceTable(*dir)) {
      if (row.kind != "lp") continue;  // the mip rows need the integer search
      out.push_back(Instance{row.name, row.kind, row.objective, false});
      out.push_back(Instance{row.name, row.kind, row.objective, true});
    }
  }
  if (out.empty()) out.push_back(Instance{"data_absent", "lp", 0, false});
  return out;
}

class LpInstance : public ::testing::TestWithParam<Instance> {};

TEST_P(LpInstance, ReachesTheReferenceOptimum) {
  const Instance& in = GetParam();
  auto dir = vesk::test::LpDataDir();
  if (!dir) GTEST_SKIP() << "LP data folder absent";
  MpsModel model = ReadMpsFile(*dir / (in.name + ".mps"));
  SolveOptions options;
  options.scale = in.scale;
  engine::ScratchEngineHost host;
  SolveResult r = SolveMps(model, options, host);
  ASSERT_EQ(r.status, "OPTIMAL SOLUTION");
  const double tolerance = std::max(1e-6 * std::fabs(in.objective), 1e-9);
  EXPECT_LE(std::fabs(r.objective - in.objective), tolerance)
      << "objective " << r.objective << ", reference " << in.objective;

  // The values: within their bounds, rows within their intervals, and they
  // give the reported objective. Tolerances are relative to the magnitudes.
  double cx = model.ObjectiveConstant();
  std::vector<double> activity(model.rows.size(), 0), size(model.rows.size(), 1);
  for (std::size_t j = 0; j < model.columns.size(); ++j) {
    const MpsColumn& c = model.columns[j];
    const double x = r.values[j];
    ASSERT_TRUE(std::isfinite(x)) << c.name;
    EXPECT_GE(x, c.lower - 1e-6 * std::max(1.0, std::fabs(c.lower))) << c.name;
    EXPECT_LE(x, c.upper + 1e-6 * std::max(1.0, std::fabs(c.upper))) << c.name;
    cx += c.cost * x;
    for (const auto& e : c.entries) {
      activity[static_cast<std::size_t>(e.row)] += e.value * x;
      size[static_cast<std::size_t>(e.row)] += std::fabs(e.value * x);
    }
  }
  EXPECT_LE(std::fabs(cx - r.objective), tolerance) << "c'x " << cx << " against " << r.objective;
  for (std::size_t i = 0; i < model.rows.size(); ++i) {
    const MpsRow& row = model.rows[i];
    EngineRow er = EngineRowFor(row);
    double lo = er.type == 'L' ? (er.range ? er.rhs - er.range : -kInfinity) : er.rhs;
    double hi = er.type == 'G' ? (er.range ? er.rhs + er.range : kInfinity) : er.rhs;
    double slack = 1e-6 * std::max(size[i], std::fabs(row.rhs));
    EXPECT_GE(activity[i], lo - slack) << row.name;
    EXPECT_LE(activity[i], hi + slack) << row.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Reference, LpInstance, ::testing::ValuesIn(LpInstances()),
                         [](const ::testing::TestParamInfo<Instance>& info) {
                           return info.param.name + (info.param.scale ? "_scaled" : "");
                         });

}  // namespace
}  // namespace vesk::mps
