// The forms' designed layouts as windows, in twips; the scenarios expect
// round(twips × dpi ÷ 1440) pixels on screen.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/text.h"
#include "support/designed_layouts.h"

namespace driver {

// What a screen reader hears each kind of control as.
inline constexpr long kPush = ROLE_SYSTEM_PUSHBUTTON, kOption = ROLE_SYSTEM_RADIOBUTTON,
                      kFrame = ROLE_SYSTEM_GROUPING, kEdit = ROLE_SYSTEM_TEXT,
                      kLabel = ROLE_SYSTEM_STATICTEXT;

struct PlacedControl {
  const wchar_t* windowClass;
  long role;  // what a screen reader hears it as
  std::wstring text;
  int left, top, width, height;
  std::wstring container;  // caption of the parent, when not the form
};

// The form by its caption, and the size of its client area.
struct FormClient {
  std::wstring caption;
  int clientWidth, clientHeight;
};
struct StoredForm : FormClient {
  std::vector<PlacedControl> controls;
  std::wstring parentOf(const PlacedControl& c) const {
    return c.container.empty() ? caption : c.container;
  }
};

// What a form of the designed layouts looks like as windows: each control
// by its window class and text, its container by its caption.
inline StoredForm stored(const designed::Form& form) {
  using K = designed::Kind;
  using win32::widen;
  StoredForm out{{widen(form.caption), form.clientWidth, form.clientHeight}, {}};
  for (const designed::Control& c : form.controls) {
    const auto container = std::find_if(form.controls.begin(), form.controls.end(),
                                        [&](const auto& f) { return f.name == c.container; });
    const auto [windowClass, role] = c.kind == K::Button    ? std::pair{L"Button", kPush}
                                     : c.kind == K::Option  ? std::pair{L"Button", kOption}
                                     : c.kind == K::Frame   ? std::pair{L"TavimoFrame", kFrame}
                                     : c.kind == K::TextBox ? std::pair{L"Edit", kEdit}
                                                            : std::pair{L"TavimoLabel", kLabel};
    out.controls.push_back({windowClass, role, widen(c.caption), c.left, c.top, c.width, c.height,
                            container == form.controls.end() ? L"" : widen(container->caption)});
  }
  return out;
}

inline const StoredForm kSplash = stored(designed::kSplash), kMain = stored(designed::kMain),
                        kAbout = stored(designed::kAbout), kChooser = stored(designed::kChooser);

// The splash's banner picture, 500 × 200 pixels at 96 dpi.
inline constexpr int kBannerWidth = 7500, kBannerHeight = 3000;

}  // namespace driver
