// The forms' stored layouts as the program's description gives them, in
// twips; the scenarios expect round(twips × dpi ÷ 1440) pixels on screen.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace driver {

// What a screen reader hears each kind of control as.
inline constexpr long kPush = ROLE_SYSTEM_PUSHBUTTON, kOption = ROLE_SYSTEM_RADIOBUTTON,
                      kFrame = ROLE_SYSTEM_GROUPING, kEdit = ROLE_SYSTEM_TEXT,
                      kLabel = ROLE_SYSTEM_STATICTEXT;

struct PlacedControl {
  const wchar_t* windowClass;
  long role;  // what a screen reader hears it as
  const wchar_t* text;
  int left, top, width, height;
  const wchar_t* container = nullptr;  // caption of the parent, when not the form
};

// The form by its caption, and the size of its client area.
struct FormClient {
  std::wstring caption;
  int clientWidth, clientHeight;
};
struct StoredForm : FormClient {
  std::vector<PlacedControl> controls;
  std::wstring parentOf(const PlacedControl& c) const {
    return c.container ? c.container : caption;
  }
};

inline constexpr wchar_t kMainLabel[] =
    L"V3.6.0更新说明：图标更新，同时贴吧求喜欢。开始测试换肤功能";
inline constexpr wchar_t kAboutLabel[] =
    L"V3.6.0版本更新：增加皮肤替换功能！（仅测试中。。。）预计接下来两次更新会将换肤功能完"
    L"善，感谢您的支持！";

inline const StoredForm kSplash{
    {L"", 7545, 3000},
    {{L"TavimoLabel", kLabel, L"绿色免安装版", 0, 240, 1575, 255},
     {L"TavimoLabel", kLabel, L"作者：Tavimo", 0, 0, 1575, 255},
     {L"TavimoLabel", kLabel, L"关机工具V3.6.0", 5760, 2640, 1575, 255}}};

inline const StoredForm kMain{{L"<Tavimo> 关机工具 ", 3570, 4110},
                              {{L"Button", kPush, L"5小时关机", 1920, 2040, 1455, 375},
                               {L"Button", kPush, L"2小时关机", 1920, 1560, 1455, 375},
                               {L"Button", kPush, L"30分钟关机", 1920, 1080, 1455, 375},
                               {L"Button", kPush, L"取消快捷按钮关机", 120, 2520, 3255, 375},
                               {L"Button", kPush, L"最小化到任务栏", 2400, 2880, 1095, 495},
                               {L"Button", kPush, L"3小时关机", 120, 2040, 1455, 375},
                               {L"Button", kPush, L"1小时关机", 120, 1560, 1455, 375},
                               {L"Button", kPush, L"六十秒关机", 120, 1080, 1455, 375},
                               {L"TavimoFrame", kFrame, L"选择模式", 2160, 120, 1335, 975},
                               {L"Button", kOption, L"重启", 120, 480, 975, 375, L"选择模式"},
                               {L"Button", kOption, L"关机", 120, 240, 1095, 255, L"选择模式"},
                               {L"Button", kPush, L"开始计时", 120, 2880, 2175, 495},
                               {L"TavimoFrame", kFrame, L"时间设定（秒）", 120, 120, 1935, 975},
                               {L"Edit", kEdit, L"60", 120, 360, 1695, 270, L"时间设定（秒）"},
                               {L"TavimoLabel", kLabel, kMainLabel, 120, 3600, 3375, 495}}};

inline const StoredForm kAbout{{L"关于", 8640, 2955},
                               {{L"Button", kPush, L"确定", 6720, 2400, 1455, 375},
                                {L"TavimoLabel", kLabel, L"绿色免安装版", 0, 0, 1935, 255},
                                {L"TavimoLabel", kLabel, kAboutLabel, 6720, 240, 1575, 2295}}};

inline const StoredForm kChooser{
    {L"换肤（测试中）", 3165, 2970},
    {{L"TavimoFrame", kFrame, L"皮肤", 120, 120, 2895, 1815},
     {L"Button", kOption, L"星空主题", 240, 360, 2415, 375, L"皮肤"},
     {L"Button", kOption, L"大海主题", 240, 840, 2175, 375, L"皮肤"},
     {L"Button", kOption, L"天空主题", 240, 1440, 2415, 255, L"皮肤"},
     {L"Button", kPush, L"确定", 120, 2040, 2895, 495},
     {L"TavimoLabel", kLabel, L"想要自定义皮肤的点这里。", 120, 2640, 3015, 255}}};

// The splash's banner picture, 500 × 200 pixels at 96 dpi.
inline constexpr int kBannerWidth = 7500, kBannerHeight = 3000;

}  // namespace driver
