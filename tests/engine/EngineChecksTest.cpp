#include <gtest/gtest.h>

#include <functional>

#include "EngineFixtures.h"
#include "engine/EngineChecks.h"

namespace vesk::engine::test {
namespace {

// The invariant checks stop on a corrupted basis or eta file and on a step
// that breaks its preconditions; they exist only in the checked build of the
// engine (and in debug builds).
TEST(EngineChecks, StopOnACorruptedBasisOrEtaFile) {
#ifndef VESK_ENGINE_CHECKS
  GTEST_SKIP() << "the checks are compiled only into the checked build of the engine";
#else
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char* label;
    std::function<void(EngineModel&)> corrupt;
    const char* message;
  };
  const Case cases[] = {
      {"a basic column with a nonbasic status", [](EngineModel& M) { M.Col(1).status = ColumnStatus::kAtUpper; },
       "column status"},
      {"a nonbasic column with a basic status", [](EngineModel& M) { M.Col(M.m + 1).status = ColumnStatus::kWithin; },
       "column status"},
      {"an infeasible basic column missing from the list",
       [](EngineModel& M) {
         M.Col(1).status = ColumnStatus::kBelow;
         M.basicValues[1] = M.Col(1).lower - 1;
       },
       "not listed"},
      {"a position holding a column numbered otherwise", [](EngineModel& M) { M.Col(2).number = 1; },
       "basis heading"},
      {"an eta pivoting outside the rows",
       [](EngineModel& M) { M.etaFile.entries[static_cast<size_t>(M.etaFile.start[0])].row = M.m + 1; }, "eta file"},
      {"a step entering a basic column", [](EngineModel& M) { CheckStepStart(M, 1, 0); }, "step"},
      {"a step leaving the objective row", [](EngineModel& M) { CheckStepStart(M, M.m + 1, M.m); }, "step"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    RecordingHost host;
    // Two G rows give surplus etas, so that the eta file is not empty.
    auto model = State(host, {{{"G1", 'G'}, {"G2", 'G'}, {"L1", 'L'}},
                              {{"X", "OBJ", 1}, {"X", "G1", 1}, {"X", "G2", 1}, {"X", "L1", 1}, {"Y", "G2", 2}},
                              {{"L1", 4}},
                              {}});
    PrepareForSolve(*model);
    ASSERT_TRUE(model->prepared);
    ASSERT_GT(model->etaFile.count, 0);
    CheckBasis(*model);  // sound as prepared
    CheckEtaFile(*model);
    EXPECT_DEATH(
        {
          c.corrupt(*model);
          CheckBasis(*model);
          CheckEtaFile(*model);
        },
        c.message);
  }
#endif
}

}  // namespace
}  // namespace vesk::engine::test
