// The stored layouts hold the designed places, captions and tab indexes.
#include <gtest/gtest.h>

#include <tuple>

#include "forms/Form1.h"
#include "forms/GY.h"
#include "forms/HY.h"
#include "forms/main.h"
#include "support/designed_layouts.h"

namespace {

const app::FormLayout& layoutOf(std::string_view form) {
  if (form == "HY")
    return forms::HY::storedLayout();
  if (form == "GY")
    return forms::GY::storedLayout();
  return form == "Form1" ? forms::Form1::storedLayout() : forms::main::storedLayout();
}

TEST(Layout, ControlsSitWhereTheyWereDesigned) {
  using Placed = std::tuple<std::string_view, std::string_view, int, int, int, int, int>;
  for (const designed::Form* form : designed::kForms) {
    const app::FormLayout& layout = layoutOf(form->name);
    EXPECT_EQ(layout.caption, form->caption);
    EXPECT_EQ(std::pair(layout.clientWidth, layout.clientHeight),
              std::pair(form->clientWidth, form->clientHeight))
        << form->name;
    for (const designed::Control& d : form->controls) {
      const app::ControlLayout* c = layout.find(d.name);
      ASSERT_NE(c, nullptr) << form->name << "." << d.name;
      EXPECT_EQ(Placed(c->container, c->caption, c->left, c->top, c->width, c->height, c->tabIndex),
                Placed(d.container, d.caption, d.left, d.top, d.width, d.height, d.tabIndex))
          << form->name << "." << d.name;
    }
  }
}

TEST(Layout, MainsMenuBar) {
  std::vector<std::string_view> menu;
  for (const auto& c : forms::main::storedLayout().controls)
    if (c.kind == app::ControlKind::MenuItem)
      menu.push_back(c.caption);
  EXPECT_EQ(menu, (std::vector<std::string_view>{"说明", "关于", "贴吧求喜欢", "换肤"}));
}

}  // namespace
