#include "app/conversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "app/runtime_error.h"

namespace {

using app::parseNumber;

TEST(ParseNumber, DecimalsWithBlanksSignsAndTheFullWidthFormsAnInputMethodTypes) {
  const std::pair<const char*, double> cases[] = {
      {"60", 60},   {"  -12 ", -12},    {"\t5\t", 5}, {"+7", 7},
      {"- 5", -5},  {"2.5", 2.5},       {".5", 0.5},  {"5.", 5},
      {"00", 0},    {"0.0", 0},         {"-0", 0},    {"9999999", 9999999},
      {"６０", 60}, {"－３．５", -3.5}, {"＋１", 1},  {"\u3000０\u3000", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(parseNumber(text), value) << '"' << text << '"';
}

TEST(ParseNumber, RejectsWhatIsNoNumber) {
  for (const char* text : {"", " ", "-", "+", ".", "-.", "1.2.3", "1e3", "0x10", "1,000", "abc",
                           "12a", "--1", "+-1", "1 2", "\xFF", "∞",
                           // Overlong forms of "0" and "0.5" are no digits.
                           "\xC0\xB0", "\xE0\x80\xB0\xC0\xAE\xC0\xB5"})
    EXPECT_EQ(parseNumber(text), std::nullopt) << '"' << text << '"';
}

TEST(CStr, PlainDecimalOfFifteenSignificantDigitsWithoutExponent) {
  const std::pair<double, const char*> cases[] = {{59.0, "59"},
                                                  {0.0, "0"},
                                                  {-0.0, "0"},
                                                  {-1.0, "-1"},
                                                  {1.5, "1.5"},
                                                  {-0.5, "-0.5"},
                                                  {-1000000.0, "-1000000"},
                                                  {9999998.0, "9999998"},
                                                  {0.1 - 1.0, "-0.9"},
                                                  {0.3 - 1.0, "-0.7"},
                                                  {1.0 / 3.0, "0.333333333333333"},
                                                  {1e20, "100000000000000000000"},
                                                  {1.5e-7, "0.00000015"},
                                                  {123456789012345678.0, "123456789012346000"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(app::CStr(value), text) << text;
  EXPECT_EQ(app::CStr(app::Integer{60}), "60");
}

TEST(CStr, RoundTripsEveryCountdownStep) {
  // The countdown writes n - 1 back as text and reads it again every tick.
  double n = 2.5;
  for (int i = 0; i < 50; ++i) {
    auto again = parseNumber(app::CStr(n - 1));
    ASSERT_TRUE(again);
    EXPECT_EQ(*again, n - 1);
    n = *again;
  }
}

TEST(CLng, RoundsHalvesToEvenAndOverflowsOutOfRange) {
  const std::pair<double, app::Long> cases[] = {{514.5, 514}, {515.5, 516},
                                                {515.0, 515}, {-2.5, -2},
                                                {0.4999, 0},  {2147483647.0, 2147483647}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(app::CLng(value), rounded) << value;
  for (double v : {2147483648.0, -2147483649.0, std::nan("")}) {
    try {
      app::CLng(v);
      FAIL() << v;
    } catch (const app::RuntimeError& e) {
      EXPECT_EQ(e.number(), 6);
    }
  }
}

TEST(Len, CountsUtf16CodeUnits) {
  // Malformed: one U+FFFD for each piece that could still have begun a
  // character (an overlong form, a surrogate, past U+10FFFF, cut short).
  const std::pair<const char*, std::size_t> cases[] = {
      {"", 0},
      {"1234567", 7},
      {"关机工具", 4},
      {"１２３４５６７８", 8},
      {"😀", 2},  // outside the basic plane: a surrogate pair
      {"\xC0\xB0", 2},
      {"\xE0\x80\xB0", 3},
      {"\xED\xA0\x80", 3},
      {"\xF4\x90\x80\x80", 4},
      {"\xF4\x8F\xBF\xBF", 2},  // U+10FFFF itself
      {"\xE5\x85", 1},
      {"\xE5\x85\x31", 2}};  // cut short before a "1"
  for (const auto& [text, units] : cases) EXPECT_EQ(app::Len(text), units) << '"' << text << '"';
}

TEST(Conversions, IgnoreALocaleWithACommaForDecimalPoint) {
  // A toolkit may set the C locale from the environment at start.
  const char* german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  if (german == nullptr)
    german = std::setlocale(LC_NUMERIC, "German");
  if (german == nullptr)
    GTEST_SKIP() << "no locale with a decimal comma here";
  EXPECT_EQ(parseNumber("2.5"), 2.5);
  EXPECT_EQ(parseNumber("2,5"), std::nullopt);
  EXPECT_EQ(app::CStr(1.5), "1.5");
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
