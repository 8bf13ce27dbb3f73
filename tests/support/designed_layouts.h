// The forms as designed, in twips: each window's caption and client area,
// each control's container, place, caption and tab index. The unit tests
// hold the stored layouts to it, the platform suites their windows.
#pragma once

#include <string_view>
#include <vector>

namespace designed {

enum class Kind { Button, Option, Frame, TextBox, Label };

struct Control {
  std::string_view name, container;
  Kind kind;
  std::string_view caption;
  int left, top, width, height, tabIndex;
};

struct Form {
  std::string_view name, caption;
  int clientWidth, clientHeight;
  std::vector<Control> controls;
};

using K = Kind;

// The contact line (Label2) is the program's own text.
inline const Form kSplash{"HY",
                          "",
                          7545,
                          3000,
                          {{"Label3", "HY", K::Label, "绿色免安装版", 0, 240, 1575, 255, 2},
                           {"Label2", "HY", K::Label, "作者：Tavimo", 0, 0, 1575, 255, 1},
                           {"Label1", "HY", K::Label, "关机工具V3.6.0", 5760, 2640, 1575, 255, 0}}};

inline const Form kMain{
    "main",
    "<Tavimo> 关机工具 ",
    3570,
    4110,
    {{"Command9", "main", K::Button, "5小时关机", 1920, 2040, 1455, 375, 14},
     {"Command8", "main", K::Button, "2小时关机", 1920, 1560, 1455, 375, 13},
     {"Command7", "main", K::Button, "30分钟关机", 1920, 1080, 1455, 375, 12},
     {"Command6", "main", K::Button, "取消快捷按钮关机", 120, 2520, 3255, 375, 11},
     {"Command5", "main", K::Button, "最小化到任务栏", 2400, 2880, 1095, 495, 10},
     {"Command4", "main", K::Button, "3小时关机", 120, 2040, 1455, 375, 9},
     {"Command3", "main", K::Button, "1小时关机", 120, 1560, 1455, 375, 8},
     {"Command2", "main", K::Button, "六十秒关机", 120, 1080, 1455, 375, 7},
     {"Frame2", "main", K::Frame, "选择模式", 2160, 120, 1335, 975, 4},
     {"Option2", "Frame2", K::Option, "重启", 120, 480, 975, 375, 6},
     {"Option1", "Frame2", K::Option, "关机", 120, 240, 1095, 255, 5},
     {"Command1", "main", K::Button, "开始计时", 120, 2880, 2175, 495, 3},
     {"Frame1", "main", K::Frame, "时间设定（秒）", 120, 120, 1935, 975, 0},
     {"Text1", "Frame1", K::TextBox, "60", 120, 360, 1695, 270, 1},
     {"Label1", "main", K::Label, "V3.6.0更新说明：图标更新，同时贴吧求喜欢。开始测试换肤功能", 120,
      3600, 3375, 495, 2}}};

inline const Form kAbout{"GY",
                         "关于",
                         8640,
                         2955,
                         {{"Command1", "GY", K::Button, "确定", 6720, 2400, 1455, 375, 1},
                          {"Label2", "GY", K::Label, "绿色免安装版", 0, 0, 1935, 255, 2},
                          {"Label1", "GY", K::Label,
                           "V3.6.0版本更新：增加皮肤替换功能！（仅测试中。。。）"
                           "预计接下来两次更新会将换肤功能完善，感谢您的支持！",
                           6720, 240, 1575, 2295, 0}}};

inline const Form kChooser{
    "Form1",
    "换肤（测试中）",
    3165,
    2970,
    {{"Frame1", "Form1", K::Frame, "皮肤", 120, 120, 2895, 1815, 0},
     {"Option1", "Frame1", K::Option, "星空主题", 240, 360, 2415, 375, 1},
     {"Option2", "Frame1", K::Option, "大海主题", 240, 840, 2175, 375, 2},
     {"Option3", "Frame1", K::Option, "天空主题", 240, 1440, 2415, 255, 3},
     {"Command1", "Form1", K::Button, "确定", 120, 2040, 2895, 495, 4},
     {"Label1", "Form1", K::Label, "想要自定义皮肤的点这里。", 120, 2640, 3015, 255, 5}}};

inline const Form* const kForms[] = {&kSplash, &kMain, &kAbout, &kChooser};

}  // namespace designed
