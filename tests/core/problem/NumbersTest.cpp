#include "core/problem/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>

namespace vesk::core {
namespace {

TEST(Numbers, ParseRealAcceptsNumbersOnly) {
  struct Case {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"0.5", 0.5}, {" -2 ", -2.0}, {"+3", 3.0}, {".5", 0.5}, {"1.", 1.0}, {"1e-3", 0.001}, {"-1.5E+2", -150.0},
      {"", std::nullopt}, {"-", std::nullopt}, {".", std::nullopt}, {"1,5", std::nullopt}, {"abc", std::nullopt},
      {"1.2.3", std::nullopt}, {"inf", std::nullopt}, {"nan", std::nullopt}, {"0x10", std::nullopt},
      {"+-1", std::nullopt}, {"1e999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseReal(c.text), c.value) << '"' << c.text << '"';
}

TEST(Numbers, ParseIntRejectsFractionsAndOverflow) {
  EXPECT_EQ(ParseInt(" 12 "), 12);
  EXPECT_EQ(ParseInt("-3"), -3);
  EXPECT_EQ(ParseInt("2.0"), std::nullopt);
  EXPECT_EQ(ParseInt("99999999999"), std::nullopt);
  EXPECT_EQ(ParseInt(""), std::nullopt);
}

TEST(Numbers, GeneralFormatIsShortestFixedWithinFifteenDigits) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {0.5, "0.5"}, {2.0, "2"}, {40.0, "40"}, {-0.0, "0"}, {0.1 + 0.2, "0.3"}, {1.0 / 3, "0.333333333333333"},
      {0.0001, "0.0001"}, {1e-7, "1e-07"}, {1e8, "100000000"}, {1e15, "1e+15"}, {-1234.5678, "-1234.5678"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text) << c.value;
}

// "%.*g" and "%.*f" as printf writes them, without a negative zero.
TEST(Numbers, SignificantAndFixedFormatsMatchPrintf) {
  struct Case {
    double value;
    int digits;
    const char* significant;
  } significant[] = {
      {0.123456, 5, "0.12346"}, {123456.0, 5, "1.2346e+05"}, {-0.0, 5, "0"}, {0.5, 5, "0.5"},
      {0.7000100000001, 6, "0.70001"}, {0.123456789, 6, "0.123457"}, {1e-7, 6, "1e-07"}, {2, 6, "2"},
      {0.0447461, 3, "0.0447"}, {-2.5e-12, 2, "-2.5e-12"},
  };
  for (const auto& c : significant) EXPECT_EQ(FormatSignificant(c.value, c.digits), c.significant) << c.value;
  struct Fixed {
    double value;
    int decimals;
    const char* fixed;
  } fixed[] = {
      {2.5, 3, "2.500"}, {-1.5, 3, "-1.500"}, {-0.0004, 3, "0.000"}, {-0.0, 1, "0.0"}, {-60.04, 1, "-60.0"},
  };
  for (const auto& c : fixed) EXPECT_EQ(FormatFixed(c.value, c.decimals), c.fixed) << c.value;
  // The largest doubles have 309 digits before the point.
  const std::string huge = FormatFixed(1.5e308, 1);
  EXPECT_EQ(huge.size(), 311u);
  EXPECT_EQ(huge.substr(0, 3), "150");
}

TEST(Numbers, ShortenedNumbersKeepTheirMagnitude) {
  const struct {
    const char* cell;
    std::size_t room;  // characters the cell has
    std::optional<std::string> shown;
  } cases[] = {
      {"1.1102230246251565e-16", 7, "1.1e-16"},
      {"1.1102230246251565e-16", 5, "1e-16"},
      {"0.000000123456", 8, "1.23e-07"},
      {"123456789", 7, "1.2e+08"},
      {"-2.5e+20", 8, "-2.5e+20"},
      {"0.3333333333333333", 6, "0.3333"},
      {"123456789", 3, "#"},
      {"Supplier with a long name", 3, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto shown = ShortenedNumber(c.cell, [&](std::string_view text) { return text.size() <= c.room; });
    EXPECT_EQ(shown, c.shown) << c.cell << " in " << c.room;
  }
}

TEST(Numbers, IgnoreTheProcessLocale) {
  // A desktop process runs under the person's locale; "," must never become
  // the separator.
  const char* previous = std::setlocale(LC_ALL, nullptr);
  std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no German locale installed";
  EXPECT_EQ(FormatGeneral(0.5), "0.5");
  EXPECT_EQ(ParseReal("0.5"), 0.5);
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace vesk::core
