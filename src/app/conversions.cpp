#include "app/conversions.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "app/runtime_error.h"

namespace app {

namespace {

constexpr char32_t kFullWidthZero = U'\uFF10';

bool isBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\u3000';
}

// Folds a full-width form an input method types onto its ASCII twin.
char32_t foldWidth(char32_t c) {
  if (c >= kFullWidthZero && c <= kFullWidthZero + 9)
    return U'0' + (c - kFullWidthZero);
  if (c == U'\uFF0B')
    return U'+';
  if (c == U'\uFF0D')
    return U'-';
  if (c == U'\uFF0E')
    return U'.';
  return c;
}

std::string stripTrailingZeros(std::string digits) {
  auto point = digits.find('.');
  if (point == std::string::npos)
    return digits;
  while (digits.back() == '0') digits.pop_back();
  if (digits.back() == '.')
    digits.pop_back();
  return digits;
}

// strtod and printf use the C locale's decimal point, which a toolkit may
// have set from the environment. (Their charconv twins are locale-free but
// add a quarter megabyte to a static Windows executable.)
char localePoint() {
  return *std::localeconv()->decimal_point;
}

void replaceAll(std::string& text, char from, char to) {
  for (char& c : text)
    if (c == from)
      c = to;
}

// The code points of a UTF-8 text. The lead byte fixes the length and the
// range of the second byte (Unicode's table of well-formed sequences), which
// shuts out overlong forms, surrogates and values past U+10FFFF; each
// malformed piece, as far as it could still have begun a character, becomes
// one U+FFFD.
std::u32string decodeUtf8(std::string_view text) {
  std::u32string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    unsigned low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      low = lead == 0xE0 ? 0xA0 : low;
      high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      low = lead == 0xF0 ? 0x90 : low;
      high = lead == 0xF4 ? 0x8F : high;
    } else if (lead >= 0x80) {
      out.push_back(U'\uFFFD');
      ++i;
      continue;
    }
    char32_t c = lead & (0x7F >> extra);
    std::size_t n = 1;
    for (; n <= extra && i + n < text.size(); ++n) {
      const auto next = static_cast<unsigned char>(text[i + n]);
      if (next < (n == 1 ? low : 0x80) || next > (n == 1 ? high : 0xBF))
        break;
      c = (c << 6) | (next & 0x3F);
    }
    out.push_back(n == extra + 1 ? c : U'\uFFFD');
    i += n;
  }
  return out;
}

}  // namespace

std::size_t Len(std::string_view text) {
  std::size_t units = 0;
  for (char32_t c : decodeUtf8(text)) units += c > 0xFFFF ? 2 : 1;
  return units;
}

std::optional<double> parseNumber(std::string_view text) {
  std::u32string chars = decodeUtf8(text);
  std::size_t i = 0, end = chars.size();
  while (i < end && isBlank(chars[i])) ++i;
  while (end > i && isBlank(chars[end - 1])) --end;

  std::string ascii;
  if (i < end && (foldWidth(chars[i]) == U'+' || foldWidth(chars[i]) == U'-')) {
    if (foldWidth(chars[i]) == U'-')
      ascii.push_back('-');
    ++i;
    while (i < end && isBlank(chars[i])) ++i;
  }
  bool digit = false, point = false;
  for (; i < end; ++i) {
    char32_t c = foldWidth(chars[i]);
    if (c >= U'0' && c <= U'9') {
      digit = true;
      ascii.push_back(static_cast<char>(c));
    } else if (c == U'.' && !point) {
      point = true;
      ascii.push_back('.');
    } else {
      return std::nullopt;
    }
  }
  if (!digit)
    return std::nullopt;

  replaceAll(ascii, '.', localePoint());
  char* stop = nullptr;
  double value = std::strtod(ascii.c_str(), &stop);
  if (stop != ascii.c_str() + ascii.size())
    return std::nullopt;
  return value;
}

std::string CStr(double value) {
  if (!std::isfinite(value))
    throw RuntimeError::overflow();
  if (value == 0)
    return "0";

  // Scientific form with 15 significant digits, then written out plainly.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
  std::string sci(buf);
  replaceAll(sci, localePoint(), '.');
  auto e = sci.find('e');
  int exponent = std::atoi(sci.c_str() + e + 1);
  std::string digits = sci.substr(0, 1) + sci.substr(2, e - 2);  // 15 digits, no point

  std::string plain;
  if (exponent < 0) {
    plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (exponent + 1 >= static_cast<int>(digits.size())) {
    plain = digits + std::string(static_cast<std::size_t>(exponent + 1) - digits.size(), '0');
  } else {
    plain = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
            digits.substr(static_cast<std::size_t>(exponent + 1));
  }
  plain = stripTrailingZeros(plain);
  return value < 0 ? "-" + plain : plain;
}

std::string CStr(Integer value) {
  return std::to_string(value);
}

Long CLng(double value) {
  if (std::isnan(value))
    throw RuntimeError::overflow();
  double rounded = std::nearbyint(value);  // the default mode rounds ties to even
  if (rounded < std::numeric_limits<Long>::min() || rounded > std::numeric_limits<Long>::max())
    throw RuntimeError::overflow();
  return static_cast<Long>(rounded);
}

}  // namespace app
