// The `lp` command as a program: its output forms and exit codes.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CliRun.h"
#include "TestPaths.h"

namespace {

namespace fs = std::filesystem;

using LpRun = vesk::test::CliRun;

class CmdLp : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(vesk::test::CliPath())) GTEST_SKIP() << "vesk-cli not built";
    dir_ = vesk::test::FreshTempDir("cmdlp");
  }
  void TearDown() override {
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  fs::path Write(const std::string& name, const std::string& text) {
    fs::path p = dir_ / name;
    std::ofstream(p) << text;
    return p;
  }

  // Runs "vesk-cli lp ARGS..." with each argument quoted for the shell.
  LpRun Lp(std::initializer_list<std::string> args) {
    std::string arguments = "lp";
    for (const auto& a : args) {
      arguments += ' ';
      arguments += vesk::test::ShellQuote(a);
    }
    return vesk::test::RunCli(arguments);
  }

  fs::path dir_;
};

// A fixed-format data line (fields at columns 2, 5, 15, 25-36, 40, 50-61).
std::string Fx(std::string f1, std::string f2, std::string f3, std::string f4, std::string f5 = "",
               std::string f6 = "") {
  std::string line(61, ' ');
  line.replace(1, f1.size(), f1);
  line.replace(4, f2.size(), f2);
  line.replace(14, f3.size(), f3);
  line.replace(36 - f4.size(), f4.size(), f4);
  line.replace(39, f5.size(), f5);
  if (!f6.empty()) line.replace(61 - f6.size(), f6.size(), f6);
  return line + "\n";
}

// max 3 x + 2 y  s.t. x + y <= 4, x + 3 y <= 6, x <= 3 (names with blanks).
const std::string kSmall = "NAME small\nROWS\n N  profit\n L  cap 1\n L  cap 2\nCOLUMNS\n" +
                           Fx("", "x", "profit", "3.", "cap 1", "1.") + Fx("", "x", "cap 2", "1.") +
                           Fx("", "y y", "profit", "2.", "cap 1", "1.") + Fx("", "y y", "cap 2", "3.") + "RHS\n" +
                           Fx("", "RHS", "cap 1", "4.", "cap 2", "6.") + "BOUNDS\n" + Fx("UP", "BND", "x", "3.") +
                           "ENDATA\n";

TEST_F(CmdLp, JsonCarriesStatusObjectiveAndColumns) {
  fs::path f = Write("small.mps", kSmall);
  LpRun r = Lp({"--max", "--json", "--solution", f.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["status"], "OPTIMAL SOLUTION");
  EXPECT_NEAR(j["objective"].get<double>(), 11, 1e-9);
  EXPECT_TRUE(j["iterations"].is_number_integer());
  EXPECT_TRUE(j["seconds"].is_number());
  EXPECT_FALSE(j.contains("nodes"));  // not an integer model
  EXPECT_NEAR(j["columns"]["x"].get<double>(), 3, 1e-9);
  EXPECT_NEAR(j["columns"]["y y"].get<double>(), 1, 1e-9);

  LpRun text = Lp({f.string()});  // minimised: 0 at the origin
  ASSERT_EQ(text.code, 0) << text.err;
  EXPECT_NE(text.out.find("Status:     OPTIMAL SOLUTION"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Objective:  0\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Iterations: "), std::string::npos);
  EXPECT_NE(text.out.find("Seconds:    "), std::string::npos);
}

TEST_F(CmdLp, VerdictsProblemsAndUsageHaveTheirExitCodes) {
  fs::path small = Write("small.mps", kSmall);
  fs::path infeasible = Write("inf.mps", "NAME\nROWS\n N o\n G g\nCOLUMNS\n x o 1 g 1\nRHS\n r g 5\n"
                                         "BOUNDS\n UP b x 1\nENDATA\n");
  fs::path broken = Write("bad.mps", "NAME\nROWS\n N o\n L r\nCOLUMNS\n x r one\nENDATA\n");

  LpRun inf = Lp({"--json", "--solution", infeasible.string()});
  EXPECT_EQ(inf.code, 0) << inf.err;
  auto j = nlohmann::json::parse(inf.out);
  EXPECT_NE(j["status"].get<std::string>().find("INFEASIBLE"), std::string::npos);
  EXPECT_TRUE(j["objective"].is_null());
  EXPECT_TRUE(j["columns"].is_null());

  LpRun stopped = Lp({"--json", "--param", "MAXITER=0", small.string(), "--max"});
  EXPECT_EQ(stopped.code, 1);
  EXPECT_NE(nlohmann::json::parse(stopped.out)["status"].get<std::string>().find("UNFINISHED"), std::string::npos);
  EXPECT_NE(stopped.err.find("without a verdict"), std::string::npos) << stopped.err;

  LpRun bad = Lp({broken.string()});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("line 6: malformed coefficient 'one'"), std::string::npos) << bad.err;

  LpRun missing = Lp({(dir_ / "absent.mps").string()});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;

  LpRun unknown = Lp({"--param", "NO-SUCH=1", small.string()});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_NE(unknown.err.find("unknown engine parameter NO-SUCH"), std::string::npos) << unknown.err;

  LpRun noValue = Lp({"--param", "MAXITER", small.string()});
  EXPECT_EQ(noValue.code, 2) << noValue.err;

  EXPECT_EQ(Lp({}).code, 2);
  EXPECT_EQ(Lp({"--no-such-option", small.string()}).code, 2);
}

}  // namespace
