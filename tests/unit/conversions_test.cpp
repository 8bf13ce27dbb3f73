#include "app/conversions.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "app/runtime_error.h"

namespace {

using app::parseNumber;

TEST(ParseNumber, PlainDecimalsWithBlanksAndSigns) {
  EXPECT_EQ(parseNumber("60"), 60.0);
  EXPECT_EQ(parseNumber("  -12 "), -12.0);
  EXPECT_EQ(parseNumber("\t5\t"), 5.0);
  EXPECT_EQ(parseNumber("+7"), 7.0);
  EXPECT_EQ(parseNumber("- 5"), -5.0);
  EXPECT_EQ(parseNumber("2.5"), 2.5);
  EXPECT_EQ(parseNumber(".5"), 0.5);
  EXPECT_EQ(parseNumber("5."), 5.0);
  EXPECT_EQ(parseNumber("00"), 0.0);
  EXPECT_EQ(parseNumber("0.0"), 0.0);
  EXPECT_EQ(parseNumber("9999999"), 9999999.0);
}

TEST(ParseNumber, FullWidthFormsAnInputMethodTypes) {
  EXPECT_EQ(parseNumber("６０"), 60.0);
  EXPECT_EQ(parseNumber("－３．５"), -3.5);
  EXPECT_EQ(parseNumber("＋１"), 1.0);
  EXPECT_EQ(parseNumber("\u3000０\u3000"), 0.0);
}

TEST(ParseNumber, RejectsWhatIsNoNumber) {
  for (const char* text : {"", " ", "-", "+", ".", "-.", "1.2.3", "1e3", "0x10", "1,000", "abc",
                           "12a", "--1", "+-1", "1 2", "\xFF", "∞",
                           // Overlong forms of "0" and "0.5" are no digits.
                           "\xC0\xB0", "\xE0\x80\xB0\xC0\xAE\xC0\xB5"})
    EXPECT_EQ(parseNumber(text), std::nullopt) << '"' << text << '"';
}

TEST(ParseNumber, NegativeZeroIsZero) {
  auto zero = parseNumber("-0");
  ASSERT_TRUE(zero);
  EXPECT_TRUE(*zero == 0.0);
}

TEST(CStr, PlainDecimalWithoutPointForWholeNumbers) {
  EXPECT_EQ(app::CStr(59.0), "59");
  EXPECT_EQ(app::CStr(0.0), "0");
  EXPECT_EQ(app::CStr(-0.0), "0");
  EXPECT_EQ(app::CStr(-1.0), "-1");
  EXPECT_EQ(app::CStr(1.5), "1.5");
  EXPECT_EQ(app::CStr(-0.5), "-0.5");
  EXPECT_EQ(app::CStr(-1000000.0), "-1000000");
  EXPECT_EQ(app::CStr(9999998.0), "9999998");
  EXPECT_EQ(app::CStr(app::Integer{60}), "60");
}

TEST(CStr, FifteenSignificantDigitsAndNoExponent) {
  EXPECT_EQ(app::CStr(0.1 - 1.0), "-0.9");
  EXPECT_EQ(app::CStr(0.3 - 1.0), "-0.7");
  EXPECT_EQ(app::CStr(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(app::CStr(1e20), "100000000000000000000");
  EXPECT_EQ(app::CStr(1.5e-7), "0.00000015");
  EXPECT_EQ(app::CStr(123456789012345678.0), "123456789012346000");
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

TEST(CLng, RoundsHalvesToEven) {
  EXPECT_EQ(app::CLng(514.5), 514);
  EXPECT_EQ(app::CLng(515.5), 516);
  EXPECT_EQ(app::CLng(515.0), 515);
  EXPECT_EQ(app::CLng(-2.5), -2);
  EXPECT_EQ(app::CLng(0.4999), 0);
  EXPECT_EQ(app::CLng(2147483647.0), 2147483647);
}

TEST(CLng, OutOfRangeOrNotANumberIsAnOverflow) {
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
  EXPECT_EQ(app::Len(""), 0u);
  EXPECT_EQ(app::Len("1234567"), 7u);
  EXPECT_EQ(app::Len("关机工具"), 4u);
  EXPECT_EQ(app::Len("１２３４５６７８"), 8u);
  EXPECT_EQ(app::Len("😀"), 2u);  // outside the basic plane: a surrogate pair
  // Malformed: one U+FFFD for each piece that could still have begun a
  // character (an overlong form, a surrogate, past U+10FFFF, cut short).
  EXPECT_EQ(app::Len("\xC0\xB0"), 2u);
  EXPECT_EQ(app::Len("\xE0\x80\xB0"), 3u);
  EXPECT_EQ(app::Len("\xED\xA0\x80"), 3u);
  EXPECT_EQ(app::Len("\xF4\x90\x80\x80"), 4u);
  EXPECT_EQ(app::Len("\xF4\x8F\xBF\xBF"), 2u);  // U+10FFFF itself
  EXPECT_EQ(app::Len("\xE5\x85"), 1u);
  EXPECT_EQ(app::Len("\xE5\x85\x31"), 2u);  // cut short before a "1"
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
