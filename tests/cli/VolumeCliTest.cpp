// vesk-cli volume: the seeded run of an example problem, the JSON keys, and
// the refusals (missing file, precision out of range).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>
#include <sys/wait.h>

#include "TestPaths.h"

namespace {

struct CliRun {
  int exitCode = -1;
  std::string out;
};

CliRun RunCli(const std::string& arguments) {
  CliRun run;
  std::string command = "'";
  command += vesk::test::CliPath().string();
  command += "' ";
  command += arguments;
  command += " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, got);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(VolumeCli, SeededJsonRunOfTheHandExample) {
  auto dir = vesk::test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  std::string arguments = "volume '";
  arguments += (*dir / "volume2.tri").string();
  arguments += "' --seed 0 --json";
  const CliRun run = RunCli(arguments);
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  EXPECT_EQ(j["dimension"], 2);
  EXPECT_EQ(j["samples"], 600000);
  EXPECT_EQ(j["hits"], 89492);
  EXPECT_EQ(j["inside_bounds"], 399823);
  EXPECT_NEAR(j["absolute"].get<double>(), 0.044746, 1e-12);
  EXPECT_NEAR(j["relative"].get<double>(), 89492.0 / 399823.0, 1e-12);
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
  for (const auto& c : cases) EXPECT_EQ(RunCli(c.arguments).exitCode, c.exitCode) << c.arguments;
  const CliRun missing = RunCli("volume /nonexistent/problem.tri --json");
  const auto j = nlohmann::json::parse(missing.out);
  EXPECT_TRUE(j["samples"].is_null());
  ASSERT_FALSE(j["messages"].empty());
  EXPECT_EQ(j["messages"][0]["kind"], "error");
}

}  // namespace
