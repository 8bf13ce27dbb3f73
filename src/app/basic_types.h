// The runtime's value types: 16-bit booleans (-1 true, 0 false), 32-bit
// integers and single-precision twips, as the forms' handlers use them.
#pragma once

#include <cstdint>

namespace app {

using Integer = std::int16_t;
using Long = std::int32_t;
using Single = float;
using Boolean = std::int16_t;
using Colour = std::uint32_t;

inline constexpr Boolean True = -1;
inline constexpr Boolean False = 0;

inline constexpr Boolean toBoolean(bool b) {
  return b ? True : False;
}

// Colours written &H800000xx name a system colour by its index.
namespace SystemColour {
inline constexpr Colour InactiveBorder = 0x8000000B;
inline constexpr Colour ButtonFace = 0x8000000F;
}  // namespace SystemColour

inline constexpr bool isSystemColour(Colour c) {
  return (c & 0x80000000u) != 0;
}

// red + 256 * green + 65536 * blue
inline constexpr Colour RGB(int red, int green, int blue) {
  return static_cast<Colour>(red) + 256u * static_cast<Colour>(green) +
         65536u * static_cast<Colour>(blue);
}

}  // namespace app
