// Stored layouts: each window's fixed description, kept as data.
// Positions and sizes are twips in the client area of the container.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "app/basic_types.h"

namespace app {

enum class ControlKind { Button, TextBox, OptionButton, Frame, Label, Line, Timer, MenuItem };
enum class Border { None, FixedSingle };

struct FontSpec {
  std::string_view face;
  int points = 9;
  bool bold = false;
  int charset = 1;
};

struct ControlLayout {
  std::string_view name;
  ControlKind kind = ControlKind::Label;
  std::string_view container;  // the form's or a frame's name
  std::string_view caption;    // caption, or a text box's initial text
  int left = 0, top = 0, width = 0, height = 0;
  int tabIndex = -1;  // -1: the control has none
  std::optional<Colour> foreColor;
  std::optional<Colour> backColor;
  bool transparent = false;  // labels drawn over a picture
  bool wordWrap = false;
  std::optional<FontSpec> font;
  // Timers.
  bool enabled = true;
  int interval = 0;
  // Lines: from (x1, y1) to (x2, y2).
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct FormLayout {
  std::string_view name;
  std::string_view caption;
  Border border = Border::FixedSingle;
  bool controlBox = true;  // system menu and close box
  bool showInTaskbar = true;
  int clientWidth = 0, clientHeight = 0;
  Colour backColor = SystemColour::ButtonFace;
  std::string_view picture;             // a built-in picture, or empty
  std::string_view icon;                // a built-in icon
  std::vector<ControlLayout> controls;  // in stored order; menu items last

  const ControlLayout* find(std::string_view control) const {
    for (const auto& c : controls)
      if (c.name == control)
        return &c;
    return nullptr;
  }
};

}  // namespace app
