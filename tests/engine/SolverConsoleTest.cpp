#include <gtest/gtest.h>

#include "engine/search/SolverConsole.h"

namespace vesk::engine {
namespace {

TEST(SolverConsole, ElapsedText) {
  const std::pair<double, const char*> cases[] = {
      {75.5, "1'15.5\""},
      {3661, " 1h 1' 1.0\""},
      {5, "0' 5.0\""},
      {0.04, "0' 0.0\""},
      {86400 + 7200 + 180 + 4.25, "1d 2h 3' 4.2\""},
      {86400 + 65, "1d1' 5.0\""},
  };
  for (const auto& [t, text] : cases) EXPECT_EQ(ElapsedText(t), text) << t;
}

}  // namespace
}  // namespace vesk::engine
