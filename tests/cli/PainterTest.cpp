// vesk-cli without Qt, and its painter vesk-paint: what the command line
// loads, how the painter is started, and what a person sees when it is
// missing or fails.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>

#include "CliRun.h"
#include "TestPaths.h"

namespace vesk::cli {
namespace {

namespace fs = std::filesystem;

using test::CliRun;
using test::ShellQuote;

// Everything `ldd` says of `program` (the libraries it loads, direct or not).
std::string LoadedLibraries(const fs::path& program, int& status) {
  std::string text;
  FILE* pipe = popen(("ldd " + ShellQuote(program.string()) + " 2>&1").c_str(), "r");
  if (!pipe) return text;
  std::array<char, 4096> buffer{};
  for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) text.append(buffer.data(), got);
  status = pclose(pipe);
  return text;
}

fs::path PainterPath() { return test::CliPath().parent_path() / "vesk-paint"; }

std::string SampleProblem() { return (test::SourceDir() / "examples" / "sample.tri").string(); }

TEST(LeanCommandLine, LinksNoQtLibrary) {
  int status = -1;
  const std::string cli = LoadedLibraries(test::CliPath(), status);
  ASSERT_EQ(status, 0) << cli;
  EXPECT_NE(cli.find("libc.so"), std::string::npos) << cli;
  EXPECT_EQ(cli.find("libQt"), std::string::npos) << cli;
  // The painter is where Qt is loaded.
  if (fs::exists(PainterPath())) {
    EXPECT_NE(LoadedLibraries(PainterPath(), status).find("libQt6Gui"), std::string::npos);
  }
}

class Painter : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(PainterPath())) GTEST_SKIP() << "built without the painter";
    dir_ = test::FreshTempDir("painter");
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  fs::path dir_;
};

// A copy of vesk-cli in a folder of its own, beside a painter or none.
TEST_F(Painter, MissingOrFailingPainterIsToldAndTheResultsStillShown) {
  const fs::path cli = dir_ / "vesk-cli", painter = dir_ / "vesk-paint", out = dir_ / "r.png";
  fs::copy_file(test::CliPath(), cli);
  const struct {
    const char* script;  // the painter, or none
    const char* said;
  } cases[] = {
      {nullptr, "is missing"},
      {"#!/bin/sh\nkill -SEGV $$\n", "was stopped by signal 11"},
      {"#!/bin/sh\nexit 3\n", "ended with status 3"},
  };
  for (const auto& c : cases) {
    fs::remove(painter);
    if (c.script) {
      std::ofstream(painter) << c.script;
      fs::permissions(painter, fs::perms::owner_all);
    }
    const CliRun run =
        test::RunProgram(cli, "robust " + ShellQuote(SampleProblem()) + " --picture " + ShellQuote(out.string()));
    EXPECT_EQ(run.code, 1) << c.said;
    const std::string told = "error: Cannot write " + out.string() + ": the painter " + painter.string() + " ";
    EXPECT_NE(run.err.find(told + c.said), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("GEOMETRIC MEAN"), std::string::npos) << c.said;
    EXPECT_FALSE(fs::exists(out)) << c.said;
  }
  // With --json the message is one of the object's messages.
  fs::remove(painter);
  const CliRun json = test::RunProgram(
      cli, "robust " + ShellQuote(SampleProblem()) + " --json --picture " + ShellQuote(out.string()));
  EXPECT_EQ(json.code, 1);
  EXPECT_NE(json.out.find("\"kind\": \"error\""), std::string::npos) << json.out;
  EXPECT_NE(json.out.find("is missing"), std::string::npos) << json.out;
}

}  // namespace
}  // namespace vesk::cli
