// The problem commands of vesk-cli, run as a person would: exit codes, what
// goes to standard output and the messages on standard error.
#include <gtest/gtest.h>

#include <fstream>

#include "CliRun.h"
#include "TestPaths.h"
#include "core/problem/ProblemFile.h"
#include "core/problem/ScriptedDialogs.h"

namespace vesk::cli {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

class ProblemCommands : public testing::Test {
 protected:
  void SetUp() override { dir_ = test::FreshTempDir("cli"); }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs vesk-cli with `args` (already quoted for the shell).
  CliRun Cli(const std::string& args) { return test::RunCli(args); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::string Quoted(const char* name) const { return test::ShellQuote(Path(name)); }

  fs::path dir_;
};

TEST_F(ProblemCommands, HelpAndUsage) {
  CliRun help = Cli("--help");
  EXPECT_EQ(help.code, 0);
  for (const char* command : {"check", "convert", "new"}) EXPECT_NE(help.out.find(command), std::string::npos);
  EXPECT_EQ(Cli("").code, 2);
  EXPECT_EQ(Cli("no-such-command").code, 2);
  EXPECT_EQ(Cli("check").code, 2);
  EXPECT_EQ(Cli("convert " + Quoted("a.tri")).code, 2);
  EXPECT_EQ(Cli("new --criteria 3 " + Quoted("x.tri")).code, 2);
}

TEST_F(ProblemCommands, NewWritesAProblemThatChecks) {
  CliRun made = Cli("new --criteria 3 --actions 5 --categories 4 " + Quoted("made"));
  ASSERT_EQ(made.code, 0) << made.err;
  EXPECT_EQ(made.err, "");
  EXPECT_EQ(made.out, "wrote " + Path("made.tri") + "\n");

  core::Problem p;
  core::ScriptedDialogs d;
  ASSERT_TRUE(core::ReadProblemFile(p, d, Path("made.tri")));
  EXPECT_EQ(p.NumCriteria, 3);
  EXPECT_EQ(p.NumActions, 5);
  EXPECT_EQ(p.NumCategories, 4);

  CliRun check = Cli("check " + Quoted("made.tri"));
  EXPECT_EQ(check.code, 0) << check.err;
  EXPECT_EQ(check.err, "");
  for (const char* line : {"criteria: 3\n", "  2  \"g2\"  max\n", "categories: 4\n", "actions: 5\n", "  5  \"4\"\n",
                           "assignment examples: 0\n", "added constraints: 0\n", "bounds: valid\n",
                           "right-hand sides: valid\n"})
    EXPECT_NE(check.out.find(line), std::string::npos) << line << " in\n" << check.out;
}

TEST_F(ProblemCommands, NewRefusesBadSizes) {
  struct Case {
    const char* options;
    const char* message;
  } cases[] = {
      {"--criteria 13 --actions 5 --categories 3", "error: Number is too high: at most 12\n"},
      {"--criteria 3 --actions 1 --categories 3", "error: Number is too low\n"},
      {"--criteria 3 --actions 5 --categories x", "error: Invalid number\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    CliRun run = Cli(std::string("new ") + c.options + " " + Quoted("bad.tri"));
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Path("bad.tri")));
  }
}

TEST_F(ProblemCommands, CheckReportsEveryFault) {
  ASSERT_EQ(Cli("new --criteria 2 --actions 2 --categories 2 " + Quoted("p")).code, 0);
  std::string text = test::ReadFileText(Path("p.tri"));
  // A lower bound that is not a number and a negative right-hand side: both
  // checks run and report.
  text.replace(text.find("K I 2\t0"), 7, "K I 2\tzz");
  text.replace(text.find("K N 0\r\n"), 7, "K N 1\r\nK g\t0\t1\t0\t-0.5\r\n");
  std::ofstream(Path("faulty.tri"), std::ios::binary) << text;
  CliRun run = Cli("check " + Quoted("faulty.tri"));
  // "zz" stops the reader first.
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.err, "error: Error on reading reading bound 3\n");
  EXPECT_EQ(run.out, "");

  text.replace(text.find("K I 2\tzz"), 8, "K I 2\t0.7");
  std::ofstream(Path("faulty.tri"), std::ios::binary) << text;
  run = Cli("check " + Quoted("faulty.tri"));
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("error: Lower bound exceeds upper bound in column 3\n"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("bounds: invalid\n"), std::string::npos);
  EXPECT_NE(run.out.find("added constraints: 1\n"), std::string::npos);
  EXPECT_NE(run.out.find("right-hand sides: valid\n"), std::string::npos);  // -0.5 read as a "<=" row with 0.5

  CliRun missing = Cli("check " + Quoted("missing.tri"));
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "error: Error on reading : Could not open file\n");
}

TEST_F(ProblemCommands, ConvertWritesVersionTwo) {
  // A version-1 file written by hand: no version line, q and p only, no names.
  std::ofstream(Path("old.tri"), std::ios::binary)
      << "c Size of the problem:\r\nt 2\t2\t2\r\nd\t1\t-1\r\np 1\t5\t5\r\ns 1\t1\t1\t2\r\ns 1\t2\t1\t2\r\n"
         "a 0\t1\t9\t1\t2\r\na 1\t9\t1\t2\t2\r\nK S 1\t0.5\r\nK S 2\t0.5\r\nK I 1\t0\r\nK I 2\t0\r\nK N 0\r\n"
         "L M 1\r\nL m 0.5\r\n";
  CliRun run = Cli("convert " + Quoted("old.tri") + " " + Quoted("new.TRI"));
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "wrote " + Path("new.TRI.tri") + "\n");
  const std::string written = test::ReadFileText(Path("new.TRI.tri"));
  EXPECT_EQ(written.rfind("c version 2\r\n", 0), 0u);
  EXPECT_NE(written.find("s 1\t2\t1\t2\t0\t0\r\nc Actions:\r\n"), std::string::npos);
  EXPECT_NE(written.find("a 1\t9\t1\t2\t2\t1\r\n"), std::string::npos);
  EXPECT_NE(written.find("n name of criteria:\r\ng1\r\ng2\r\n"), std::string::npos);

  // Converting the result again changes nothing.
  ASSERT_EQ(Cli("convert " + Quoted("new.TRI.tri") + " " + Quoted("again.tri")).code, 0);
  EXPECT_EQ(test::ReadFileText(Path("again.tri")), written);

  CliRun broken = Cli("convert " + Quoted("missing.tri") + " " + Quoted("out.tri"));
  EXPECT_EQ(broken.code, 1);
  EXPECT_FALSE(fs::exists(Path("out.tri")));
  CliRun unwritable = Cli("convert " + Quoted("old.tri") + " " + Quoted("no/such/dir/out.tri"));
  EXPECT_EQ(unwritable.code, 1);
  EXPECT_EQ(unwritable.err, "error: Disk write error: check permissions and available size\n");
}

TEST_F(ProblemCommands, SharedExamplesCheck) {
  auto examples = test::ExamplesDir();
  if (!examples) GTEST_SKIP() << "examples folder absent";
  for (const char* name : {"conflict.tri", "imprecise_holes.tri", "ordinal.tri", "version1.tri", "volume2.tri"}) {
    SCOPED_TRACE(name);
    CliRun run = Cli("check '" + (*examples / name).string() + "'");
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "");
  }
  CliRun run = Cli("check '" + (*examples / "volume2.tri").string() + "'");
  EXPECT_NE(run.out.find("  1  \"strong on price\"  example [2, 2]\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("  2  \"looks\"  max\n"), std::string::npos);
}

}  // namespace
}  // namespace vesk::cli
