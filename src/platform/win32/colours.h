// The program's colours (RGB or &H800000xx system colours) as COLORREFs.
#pragma once

#include "platform/win32/windows_api.h"

#include "app/basic_types.h"

namespace win32 {

inline COLORREF toColorRef(app::Colour colour) {
  if (app::isSystemColour(colour))
    return GetSysColor(static_cast<int>(colour & 0xFF));
  return static_cast<COLORREF>(colour & 0xFFFFFF);
}

}  // namespace win32
