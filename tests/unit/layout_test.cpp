// The stored layouts hold the designed places, captions and tab indexes.
#include <gtest/gtest.h>

#include <ostream>

#include "forms/Form1.h"
#include "forms/GY.h"
#include "forms/HY.h"
#include "forms/main.h"

namespace {

struct Placed {
  std::string_view form, control, container, caption;
  int left, top, width, height, tabIndex;
  bool operator==(const Placed&) const = default;
};

void PrintTo(const Placed& p, std::ostream* out) {
  *out << p.container << " \"" << p.caption << "\" " << p.left << ", " << p.top << ", " << p.width
       << ", " << p.height << " tab " << p.tabIndex;
}

const app::FormLayout& layoutOf(std::string_view form) {
  if (form == "HY")
    return forms::HY::storedLayout();
  if (form == "GY")
    return forms::GY::storedLayout();
  return form == "Form1" ? forms::Form1::storedLayout() : forms::main::storedLayout();
}

TEST(Layout, ControlsSitWhereTheyWereDesigned) {
  const Placed designed[] = {
      {"HY", "Label3", "HY", "绿色免安装版", 0, 240, 1575, 255, 2},
      {"HY", "Label1", "HY", "关机工具V3.6.0", 5760, 2640, 1575, 255, 0},
      {"GY", "Command1", "GY", "确定", 6720, 2400, 1455, 375, 1},
      {"GY", "Label2", "GY", "绿色免安装版", 0, 0, 1935, 255, 2},
      {"GY", "Label1", "GY",
       "V3.6.0版本更新：增加皮肤替换功能！（仅测试中。。。）预计接下来两次更新会将换肤功能完善，"
       "感谢您的支持！",
       6720, 240, 1575, 2295, 0},
      {"Form1", "Frame1", "Form1", "皮肤", 120, 120, 2895, 1815, 0},
      {"Form1", "Option1", "Frame1", "星空主题", 240, 360, 2415, 375, 1},
      {"Form1", "Option2", "Frame1", "大海主题", 240, 840, 2175, 375, 2},
      {"Form1", "Option3", "Frame1", "天空主题", 240, 1440, 2415, 255, 3},
      {"Form1", "Command1", "Form1", "确定", 120, 2040, 2895, 495, 4},
      {"Form1", "Label1", "Form1", "想要自定义皮肤的点这里。", 120, 2640, 3015, 255, 5},
      {"main", "Frame2", "main", "选择模式", 2160, 120, 1335, 975, 4},
      {"main", "Option2", "Frame2", "重启", 120, 480, 975, 375, 6},
      {"main", "Text1", "Frame1", "60", 120, 360, 1695, 270, 1},
      // The contact line is the program's own; only its place is given.
      {"HY", "Label2", "HY", {}, 0, 0, 1575, 255, 1},
  };
  for (const Placed& p : designed) {
    const app::ControlLayout* c = layoutOf(p.form).find(p.control);
    ASSERT_NE(c, nullptr) << p.form << "." << p.control;
    EXPECT_EQ((Placed{p.form, c->name, c->container, p.caption.data() ? c->caption : p.caption,
                      c->left, c->top, c->width, c->height, c->tabIndex}),
              p)
        << p.form << "." << p.control;
  }
}

TEST(Layout, ClientAreasAndMenuBar) {
  const std::vector<std::pair<std::string_view, std::pair<int, int>>> sizes{
      {"HY", {7545, 3000}}, {"main", {3570, 4110}}, {"GY", {8640, 2955}}, {"Form1", {3165, 2970}}};
  for (const auto& [form, size] : sizes) {
    EXPECT_EQ(std::pair(layoutOf(form).clientWidth, layoutOf(form).clientHeight), size) << form;
  }
  std::vector<std::string_view> menu;
  for (const auto& c : forms::main::storedLayout().controls)
    if (c.kind == app::ControlKind::MenuItem)
      menu.push_back(c.caption);
  EXPECT_EQ(menu, (std::vector<std::string_view>{"说明", "关于", "贴吧求喜欢", "换肤"}));
}

}  // namespace
