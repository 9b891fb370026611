#include "core/problem/Text.h"

#include <gtest/gtest.h>

namespace vesk::core {
namespace {

TEST(Text, TrimDropsTheSetAtTheEndsOnly) {
  struct Case {
    std::string_view text, set, trimmed, right;
  } cases[] = {
      {" \ta b\t ", kBlanks, "a b", " \ta b"}, {"   ", kBlanks, "", ""}, {"", kBlanks, "", ""},
      {"x\r\n", kBlanks, "x\r\n", "x\r\n"},    {"\v 1e3\r\n", kWhiteSpace, "1e3", "\v 1e3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Trim(c.text, c.set), c.trimmed) << '"' << c.text << '"';
    EXPECT_EQ(TrimRight(c.text, c.set), c.right) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace vesk::core
