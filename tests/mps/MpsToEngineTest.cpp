// Stating MPS models to the engine: the conversions the engine cannot express
// directly, names it could not hold, parameters, and reading results back.
#include "cli/mps/MpsToEngine.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/EngineFatalError.h"
#include "engine/ScratchEngineHost.h"

namespace vesk::mps {
namespace {

TEST(EngineRowFor, RangesFollowTheMpsIntervals) {
  struct Case {
    char type;
    double rhs;
    std::optional<double> range;
    EngineRow expected;
  };
  const Case cases[] = {
      {'L', 4, std::nullopt, {'L', 4, 0}},
      {'L', 4, 3, {'L', 4, 3}},     // [1, 4]
      {'L', 4, -3, {'L', 4, 3}},    // |R|
      {'G', 4, 3, {'G', 4, 3}},     // [4, 7]
      {'G', 4, -3, {'G', 4, 3}},
      {'E', 4, 3, {'G', 4, 3}},     // [4, 7]
      {'E', 4, -3, {'L', 4, 3}},    // [1, 4]
      {'E', 4, 0, {'E', 4, 0}},
      {'L', 4, 0, {'E', 4, 0}},     // [4 - 0, 4]
      {'G', -2, 0, {'E', -2, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(1, c.type) + " range " + (c.range ? std::to_string(*c.range) : "none"));
    EngineRow r = EngineRowFor(MpsRow{"r", c.type, c.rhs, c.range});
    EXPECT_EQ(r.type, c.expected.type);
    EXPECT_EQ(r.rhs, c.expected.rhs);
    EXPECT_EQ(r.range, c.expected.range);
  }
}

TEST(ComputeScaling, PowersOfTwoThatEvenOutABadlyScaledMatrix) {
  MpsModel m = ReadMps(
      "NAME\nROWS\n N obj\n L big\n L small\nCOLUMNS\n"
      " x big 1000000 small 0.001\n y big 3000 small 0.000002\n"
      " MARK 'MARKER' 'INTORG'\n k big 5000\n MARK 'MARKER' 'INTEND'\nENDATA\n");
  Scaling s = ComputeScaling(m);
  auto isPowerOfTwo = [](double v) {
    int e;
    return std::frexp(v, &e) == 0.5;
  };
  for (double v : s.row) EXPECT_TRUE(isPowerOfTwo(v)) << v;
  for (double v : s.column) EXPECT_TRUE(isPowerOfTwo(v)) << v;
  EXPECT_EQ(s.column[2], 1.0);  // an integer column is never scaled
  double lo = 1e300, hi = 0;
  for (std::size_t j = 0; j < 2; ++j)
    for (const auto& e : m.columns[j].entries) {
      double a = std::fabs(e.value * s.row[static_cast<std::size_t>(e.row)] * s.column[j]);
      lo = std::min(lo, a);
      hi = std::max(hi, a);
    }
  EXPECT_LT(hi / lo, 1e3);  // 5e11 before scaling
}

SolveResult Solve(const std::string& text, SolveOptions options = {}) {
  engine::ScratchEngineHost host;
  return SolveMps(ReadMps(text), options, host);
}

const std::string kHeader = "NAME test\nROWS\n N obj\n";

struct SolveCase {
  const char* what;
  std::string text;
  bool maximise;
  const char* status;  // part of the engine's status text
  double objective;    // checked for an optimal verdict
};

// Small models whose optimum shows whether a conversion kept the meaning.
TEST(SolveMps, ConversionsKeepTheModelsMeaning) {
  const SolveCase cases[] = {
      {"E row with positive range is [b, b+R]",
       kHeader + " E e\nCOLUMNS\n x obj 1 e 1\nRHS\n rhs e 2\nRANGES\n rng e 3\nBOUNDS\n FR b x\nENDATA\n", true,
       "OPTIMAL", 5},
      {"E row with positive range, minimised",
       kHeader + " E e\nCOLUMNS\n x obj 1 e 1\nRHS\n rhs e 2\nRANGES\n rng e 3\nBOUNDS\n FR b x\nENDATA\n", false,
       "OPTIMAL", 2},
      {"E row with negative range is [b+R, b]",
       kHeader + " E e\nCOLUMNS\n x obj 1 e 1\nRHS\n rhs e 2\nRANGES\n rng e -3\nBOUNDS\n FR b x\nENDATA\n", false,
       "OPTIMAL", -1},
      {"L row range is [b-|R|, b]",
       kHeader + " L l\nCOLUMNS\n x obj 1 l 1\nRHS\n rhs l 4\nRANGES\n rng l -3\nBOUNDS\n FR b x\nENDATA\n", false,
       "OPTIMAL", 1},
      {"G row range is [b, b+|R|]",
       kHeader + " G g\nCOLUMNS\n x obj 1 g 1\nRHS\n rhs g 4\nRANGES\n rng g -3\nENDATA\n", true, "OPTIMAL", 7},
      {"L row with a zero range is an equality",
       kHeader + " L l\nCOLUMNS\n x obj 1 l 1\nRHS\n rhs l 4\nRANGES\n rng l 0\nENDATA\n", false, "OPTIMAL", 4},
      {"MI keeps the upper bound",
       kHeader + " G g\nCOLUMNS\n x obj 1 g 1\nRHS\n rhs g -4\nBOUNDS\n UP b x 3\n MI b x\nENDATA\n", true,
       "OPTIMAL", 3},
      {"MI makes the lower bound infinite",
       kHeader + " G g\nCOLUMNS\n x obj 1 g 1\nRHS\n rhs g -4\nBOUNDS\n UP b x 3\n MI b x\nENDATA\n", false,
       "OPTIMAL", -4},
      {"negative UP with lower 0 frees the lower bound",
       kHeader + " G g\nCOLUMNS\n x obj 1 g 1\nRHS\n rhs g -5\nBOUNDS\n UP b x -2\nENDATA\n", false, "OPTIMAL",
       -5},
      {"PL lifts an upper bound",
       kHeader + " L l\nCOLUMNS\n x obj 1 l 1\nRHS\n rhs l 9\nBOUNDS\n UP b x 2\n PL b x\nENDATA\n", true,
       "OPTIMAL", 9},
      {"FX fixes", kHeader + " L l\nCOLUMNS\n x obj 1 l 1\nRHS\n rhs l 9\nBOUNDS\n FX b x 2.5\nENDATA\n", false,
       "OPTIMAL", 2.5},
      {"RHS on the objective is the negated constant",
       kHeader + " G g\nCOLUMNS\n x obj 2 g 1\nRHS\n rhs g 3 obj -7.5\nENDATA\n", false, "OPTIMAL", 13.5},
      {"names the engine could not hold",
       "NAME n\nROWS\n G RHS\n N RANGE\n L a_row_name_longer_than_twenty_five_1\n"
       " L a_row_name_longer_than_twenty_five_2\nCOLUMNS\n RHS RANGE 1 RHS 1\n"
       " RHS a_row_name_longer_than_twenty_five_1 1\n RANGE RANGE 1 a_row_name_longer_than_twenty_five_2 1\n"
       "RHS\n rhs RHS 2 a_row_name_longer_than_twenty_five_1 5\n rhs a_row_name_longer_than_twenty_five_2 1\n"
       "ENDATA\n",
       true, "OPTIMAL", 6},
      {"infeasible", kHeader + " G g\n L l\nCOLUMNS\n x obj 1 g 1\n x l 1\nRHS\n rhs g 5 l 4\nENDATA\n", false,
       "INFEASIBLE", 0},
      {"crossed bounds", kHeader + " L l\nCOLUMNS\n x obj 1 l 1\nRHS\n rhs l 4\nBOUNDS\n LO b x 3\n UP b x 2\nENDATA\n",
       false, "INFEASIBLE", 0},
      {"unbounded", kHeader + " G g\nCOLUMNS\n x obj 1 g 1\nRHS\n rhs g 1\nENDATA\n", true, "UNBOUNDED", 0},
      {"free column unbounded below", kHeader + " L l\nCOLUMNS\n x obj 1 l 1\nRHS\n rhs l 1\nBOUNDS\n FR b x\nENDATA\n",
       false, "UNBOUNDED", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SolveOptions options;
    options.maximise = c.maximise;
    for (bool scale : {false, true}) {
      SCOPED_TRACE(scale ? "scaled" : "unscaled");
      options.scale = scale;
      SolveResult r;
      ASSERT_NO_THROW(r = Solve(c.text, options));
      EXPECT_NE(r.status.find(c.status), std::string::npos) << r.status;
      EXPECT_TRUE(r.finished);
      EXPECT_EQ(r.hasObjective, std::string(c.status) == "OPTIMAL");
      if (r.hasObjective) {
        EXPECT_NEAR(r.objective, c.objective, 1e-9);
      }
    }
  }
}

TEST(SolveMps, ValuesComeBackUnderTheFilesColumnsAndUnscaled) {
  // min 1000 x + y  s.t. 0.001 x + 1000 y >= 1,  x + y >= 2,  x <= 1.5.
  const std::string text = kHeader +
                           " G a\n G b\nCOLUMNS\n x obj 1000 a 0.001\n x b 1\n y obj 1 a 1000\n y b 1\n"
                           "RHS\n rhs a 1 b 2\nBOUNDS\n UP bnd x 1.5\nENDATA\n";
  for (bool scale : {false, true}) {
    SCOPED_TRACE(scale ? "scaled" : "unscaled");
    SolveOptions options;
    options.scale = scale;
    SolveResult r = Solve(text, options);
    ASSERT_NE(r.status.find("OPTIMAL"), std::string::npos) << r.status;
    ASSERT_EQ(r.values.size(), 2u);
    EXPECT_NEAR(r.values[0], 0, 1e-9);
    EXPECT_NEAR(r.values[1], 2, 1e-9);
    EXPECT_NEAR(r.objective, 2, 1e-9);
  }
}

TEST(SolveMps, ParametersAreCheckedBeforeTheEngineSeesThem) {
  const std::string text = kHeader + " L l\nCOLUMNS\n x obj 1 l 1\nRHS\n rhs l 4\nENDATA\n";
  SolveOptions unknown;
  unknown.parameters = {{"NO-SUCH-PARAMETER", "1"}};
  EXPECT_THROW(Solve(text, unknown), ParameterError);
  SolveOptions malformed;
  malformed.parameters = {{"MAXITER", "many"}};
  EXPECT_THROW(Solve(text, malformed), ParameterError);
  SolveOptions fine;
  fine.maximise = true;
  fine.parameters = {{"maxiter", "1000"}, {"DJ-MIN", "-1E-7"}};  // names in any case
  SolveResult r = Solve(text, fine);
  EXPECT_NE(r.status.find("OPTIMAL"), std::string::npos) << r.status;
  EXPECT_NEAR(r.objective, 4, 1e-9);
}

TEST(SolveMps, IterationLimitIsNotAVerdict) {
  // A dense program that takes many pivots; one iteration cannot finish it.
  const int n = 12;
  std::string text = kHeader;
  for (int i = 0; i < n; ++i) text += " L r" + std::to_string(i) + "\n";
  text += "COLUMNS\n";
  for (int j = 0; j < n; ++j) {
    text += " x" + std::to_string(j) + " obj " + std::to_string(1 + (j * 7) % 5) + "\n";
    for (int i = 0; i < n; ++i)
      text += " x" + std::to_string(j) + " r" + std::to_string(i) + " " + std::to_string(1 + (i * 3 + j * 5) % 11) + "\n";
  }
  text += "RHS\n";
  for (int i = 0; i < n; ++i) text += " rhs r" + std::to_string(i) + " " + std::to_string(10 + i) + "\n";
  text += "ENDATA\n";
  SolveOptions options;
  options.maximise = true;
  SolveResult full = Solve(text, options);
  ASSERT_EQ(full.status, "OPTIMAL SOLUTION");
  ASSERT_GT(full.iterations, 1);
  options.parameters = {{"MAXITER", "1"}};
  SolveResult r = Solve(text, options);
  EXPECT_FALSE(r.finished) << r.status;
  EXPECT_FALSE(r.proven);
  EXPECT_FALSE(r.hasObjective);  // the basis after one pivot is no answer
}

// A host that asks the engine to stop at its first pending-events call.
class CancellingHost : public engine::ScratchEngineHost {
 public:
  void ProcessPendingEvents() override { ++calls; }
  bool CancelRequested() override { return calls > 0; }
  int calls = 0;
};

TEST(SolveMps, ACancelRequestEndsTheRunUnfinishedAtTheNextEventsCall) {
  // Rows each tight on a few columns, so that the optimum needs many pivots.
  const int n = 40;
  std::string text = kHeader;
  for (int i = 0; i < n; ++i) text += " L r" + std::to_string(i) + "\n";
  text += "COLUMNS\n";
  for (int j = 0; j < n; ++j) {
    text += " x" + std::to_string(j) + " obj " + std::to_string(1 + (j * 7) % 5) + "\n";
    for (int i = 0; i < n; ++i)
      text += " x" + std::to_string(j) + " r" + std::to_string(i) + " " +
              std::to_string(i == j ? 1 : ((i * 37 + j * 11) % 13 == 0 ? 3 : 0.01 * ((i + 2 * j) % 7))) + "\n";
  }
  text += "RHS\n";
  for (int i = 0; i < n; ++i) text += " rhs r" + std::to_string(i) + " " + std::to_string(10 + i) + "\n";
  text += "ENDATA\n";
  SolveOptions options;
  options.maximise = true;
  SolveResult full = Solve(text, options);
  ASSERT_EQ(full.status, "OPTIMAL SOLUTION");
  ASSERT_GT(full.iterations, 10);  // the run reaches a pending-events call
  CancellingHost host;
  SolveResult r = SolveMps(ReadMps(text), options, host);
  EXPECT_EQ(host.calls, 1);
  EXPECT_FALSE(r.finished) << r.status;
  EXPECT_FALSE(r.hasObjective);
  EXPECT_LT(r.iterations, full.iterations);
}

TEST(SolveMps, WarnsWhenTheIntegerUpperBoundCapChangesTheModel) {
  struct Case {
    const char* bounds;
    bool warned;
  };
  const Case cases[] = {
      {"", true},  // a marker integer without bounds lies on [0, +inf)
      {" UP b x 500000\n", true},
      {" UP b x 300000\n", false},
      {" UP b x 10\n", false},
      {" BV b x\n", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bounds);
    std::string text = kHeader + " L l\nCOLUMNS\n M 'MARKER' 'INTORG'\n x obj 1 l 1\n M 'MARKER' 'INTEND'\n" +
                       "RHS\n rhs l 4\nBOUNDS\n" + c.bounds + "ENDATA\n";
    SolveResult r = Solve(text);
    EXPECT_TRUE(r.integer);
    bool warned = false;
    for (const auto& w : r.warnings) warned = warned || w.find("capped at 300000") != std::string::npos;
    EXPECT_EQ(warned, c.warned);
  }
}

TEST(SolveMps, ModelsBeyondTheEnginesCapacityAreRefused) {
  MpsModel m;
  m.rows.resize(65535, MpsRow{"r", 'L', 1, std::nullopt});  // plus the objective: one too many
  engine::ScratchEngineHost host;
  EXPECT_THROW(SolveMps(m, {}, host), ModelRefused);
  m.rows.resize(1000);
  m.columns.resize(130100);
  EXPECT_THROW(SolveMps(m, {}, host), ModelRefused);
}

}  // namespace
}  // namespace vesk::mps
