// Conversions between text and numbers as the runtime performs them.
// Text is UTF-8; lengths are counted in UTF-16 code units, as the
// platforms' text boxes count them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/basic_types.h"

namespace app {

// Blanks, an optional sign, digits with at most one decimal point, blanks.
// Full-width digits, signs, point and the ideographic space count too.
// Nothing else converts: no exponents, no hex, no separators.
std::optional<double> parseNumber(std::string_view text);

// Plain decimal, at most 15 significant digits, no leading blank and no
// point for whole numbers (59.0 gives "59").
std::string CStr(double value);
std::string CStr(Integer value);

// Nearest integer, ties to the even one; out of range is an overflow.
Long CLng(double value);

// Length in UTF-16 code units.
std::size_t Len(std::string_view text);

}  // namespace app
