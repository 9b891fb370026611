// vesk-cli suggest: the conflicting example's run as JSON and as a table, and
// the refusals.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <set>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "TestPaths.h"

namespace {

struct SuggestRun {
  int exitCode = -1;
  std::string out;
};

SuggestRun RunSuggest(const std::string& arguments) {
  SuggestRun run;
  std::string command = "'";
  command += vesk::test::CliPath().string();
  command += "' suggest ";
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

std::string Quoted(const std::filesystem::path& path) {
  std::string text = "'";
  text += path.string();
  text += "'";
  return text;
}

TEST(SuggestCli, ConflictingExamplesGiveTwoSingleDrops) {
  auto dir = vesk::test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  const SuggestRun run = RunSuggest(Quoted(*dir / "conflict.tri") + " --json");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  ASSERT_EQ(j["suggestions"].size(), 2u);
  std::set<std::vector<int>> sets;
  for (const auto& s : j["suggestions"]) {
    EXPECT_EQ(s["count"], 1);
    sets.insert(s["constraints"].get<std::vector<int>>());
  }
  EXPECT_EQ(sets, (std::set<std::vector<int>>{{4}, {6}}));
  EXPECT_EQ(j["no_need"], false);
  std::vector<std::pair<std::string, std::string>> messages;
  for (const auto& m : j["messages"]) messages.emplace_back(m["kind"], m["text"]);
  EXPECT_EQ(messages, (std::vector<std::pair<std::string, std::string>>{
                          {"warning", "Inconsistent information!"},
                          {"information", "There are no more alternatives"}}));

  // The table names the constraints it lists.
  const SuggestRun table = RunSuggest(Quoted(*dir / "conflict.tri"));
  EXPECT_EQ(table.exitCode, 0);
  EXPECT_NE(table.out.find("C(action 6)>=2"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("C(action 8)<=1"), std::string::npos) << table.out;
}

TEST(SuggestCli, Refusals) {
  EXPECT_EQ(RunSuggest("x.tri --max 2").exitCode, 2);
  EXPECT_EQ(RunSuggest("x.tri --max 31").exitCode, 2);
  const SuggestRun missing = RunSuggest("/nonexistent/problem.tri --json");
  EXPECT_EQ(missing.exitCode, 1);
  const auto j = nlohmann::json::parse(missing.out);
  EXPECT_TRUE(j["suggestions"].empty());
  ASSERT_FALSE(j["messages"].empty());
  EXPECT_EQ(j["messages"][0]["kind"], "error");
}

}  // namespace
