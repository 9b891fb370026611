// vesk-cli suggest: the conflicting example's run as JSON and as a table, and
// the refusals.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "CliRun.h"
#include "TestPaths.h"

namespace {

using vesk::test::CliRun;

CliRun RunSuggest(const std::string& arguments) { return vesk::test::RunCli("suggest " + arguments); }

std::string Quoted(const std::filesystem::path& path) { return vesk::test::ShellQuote(path.string()); }

TEST(SuggestCli, ConflictingExamplesGiveTwoSingleDrops) {
  auto dir = vesk::test::ExamplesDir();
  if (!dir) GTEST_SKIP() << "example problems not found";
  const CliRun run = RunSuggest(Quoted(*dir / "conflict.tri") + " --json");
  ASSERT_EQ(run.code, 0) << run.out;
  const auto j = nlohmann::json::parse(run.out);
  ASSERT_EQ(j["suggestions"].size(), 2u);
  std::set<std::vector<int>> sets;
  const std::map<int, std::string> said = {{4, "action 6 in C2"}, {6, "action 8 in C1"}};
  for (const auto& s : j["suggestions"]) {
    EXPECT_EQ(s["count"], 1);
    sets.insert(s["constraints"].get<std::vector<int>>());
    ASSERT_EQ(s["descriptions"].size(), 1u);
    EXPECT_EQ(s["descriptions"][0], said.at(s["constraints"][0].get<int>()));
  }
  EXPECT_EQ(sets, (std::set<std::vector<int>>{{4}, {6}}));
  EXPECT_EQ(j["no_need"], false);
  std::vector<std::pair<std::string, std::string>> messages;
  for (const auto& m : j["messages"]) messages.emplace_back(m["kind"], m["text"]);
  EXPECT_EQ(messages, (std::vector<std::pair<std::string, std::string>>{
                          {"warning", "Inconsistent information!"},
                          {"information", "There are no more alternatives"}}));

  // The table names the constraints it lists.
  const CliRun table = RunSuggest(Quoted(*dir / "conflict.tri"));
  EXPECT_EQ(table.code, 0);
  EXPECT_NE(table.out.find("C(action 6)>=2"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("C(action 8)<=1  (action 8 in C1)"), std::string::npos) << table.out;
}

TEST(SuggestCli, Refusals) {
  EXPECT_EQ(RunSuggest("x.tri --max 2").code, 2);
  EXPECT_EQ(RunSuggest("x.tri --max 31").code, 2);
  const CliRun missing = RunSuggest("/nonexistent/problem.tri --json");
  EXPECT_EQ(missing.code, 1);
  const auto j = nlohmann::json::parse(missing.out);
  EXPECT_TRUE(j["suggestions"].empty());
  ASSERT_FALSE(j["messages"].empty());
  EXPECT_EQ(j["messages"][0]["kind"], "error");
}

}  // namespace
