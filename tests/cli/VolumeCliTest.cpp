// vesk-cli volume: the seeded run of an example problem, the JSON keys, and
// the refusals (missing file, precision out of range).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <string>

#include "CliRun.h"
#include "TestPaths.h"

namespace {

using vesk::test::CliRun;
using vesk::test::RunCli;

TEST(VolumeCli, SeededJsonRunOfTheHandExample) {
  auto dir = vesk::test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  std::string arguments = "volume '";
  arguments += (*dir / "volume2.tri").string();
  arguments += "' --seed 0 --json";
  const CliRun run = RunCli(arguments);
  ASSERT_EQ(run.code, 0) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["dimension"], 2);
  EXPECT_EQ(j["samples"], 600000);
  EXPECT_EQ(j["hits"], 89492);
  EXPECT_EQ(j["inside_bounds"], 399823);
  EXPECT_NEAR(j["absolute"].get<double>(), 0.044746, 1e-12);
  EXPECT_NEAR(j["relative"].get<double>(), 89492.0 / 399823.0, 1e-12);
  // Binomial standard error of the hit share, times the box 0.3.
  const double share = 89492.0 / 600000.0;
  EXPECT_NEAR(j["stderr"].get<double>(), 0.3 * std::sqrt(share * (1 - share) / 600000.0), 1e-15);
  EXPECT_TRUE(j["messages"].is_array() && j["messages"].empty());
}

TEST(VolumeCli, Refusals) {
  struct Case {
    std::string arguments;
    int exitCode;
  };
  const Case cases[] = {
      {"volume /nonexistent/problem.tri --json", 1},
      {"volume x.tri --precision 6", 2},
      {"volume x.tri --precision 1", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(RunCli(c.arguments).code, c.exitCode) << c.arguments;
  const CliRun missing = RunCli("volume /nonexistent/problem.tri --json");
  const auto j = nlohmann::json::parse(missing.out);
  EXPECT_TRUE(j["samples"].is_null());
  ASSERT_FALSE(j["messages"].empty());
  EXPECT_EQ(j["messages"][0]["kind"], "error");
}

}  // namespace
