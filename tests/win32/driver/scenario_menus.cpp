// The menu commands: notes, the about box, the skin chooser (with a skin
// file gone) and the forum page run hidden.
#include "accessibility.h"
#include "checks.h"
#include "scenarios.h"

namespace driver {

namespace {

enum Menu { Notes = 0, About = 1, Forum = 2, Skins = 3 };

// The forum page: its notice, then what log records, within ms.
std::vector<Recorded> forum(DWORD pid, HWND main, const std::wstring& log, DWORD ms) {
  clickMenu(main, Forum);
  expectBox(pid, L"Tavimo关机工具", L"希望你能添加喜欢这个吧", 0);
  return waitLog(log, 1, ms);
}

// Loaded anew from its description each time: centred again, wherever
// it was moved.
void aboutBox(const Paths& paths, DWORD pid, HWND main) {
  for (const bool first : {true, false}) {
    clickMenu(main, About);
    HWND about = waitForm(pid, kAbout.caption);
    REQUIRE(about != nullptr, L"about box shown");
    CHECK(centred(about), L"about box centred");
    if (first) {
      const LONG style = GetWindowLongW(about, GWL_STYLE);
      CHECK((style & (WS_CAPTION | WS_SYSMENU)) == WS_CAPTION, L"no system menu or close box");
      checkHeard(about, kAbout, L"确定");
      screenshot(paths, about, L"about");
      clickMenu(main, About);
      pause(500);
      CHECK(formsOf(pid, kAbout.caption).size() == 1, L"opened twice, one window");
      SetWindowPos(about, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    // Enter on the button that has the focus; then a click on the button's
    // top edge, where it lies over Label1.
    RECT ok{};
    GetWindowRect(findControl(about, L"Button", L"确定"), &ok);
    first ? key(VK_RETURN) : clickAt({(ok.left + ok.right) / 2, ok.top + 2});
    CHECK(waitGone(about), first ? L"Enter presses 确定" : L"a click on 确定's top edge closes it");
  }
}

}  // namespace

void chooseSkin(const Paths& paths, DWORD pid, HWND main, const std::wstring& option,
                const std::wstring& missing, bool hint) {
  // The focus moved within main since it was last active comes back.
  SetForegroundWindow(main);
  key(VK_TAB);
  const HWND focus = focusIn(main);
  CHECK(focus != nullptr && IsChild(main, focus), L"Tab moved the focus within main");
  clickMenu(main, Skins);
  HWND chooser = waitForm(pid, kChooser.caption);
  REQUIRE(chooser != nullptr, L"skin chooser shown");
  CHECK(!IsWindowEnabled(main), L"main disabled while choosing");
  HWND choice = findControl(chooser, L"Button", option);
  REQUIRE(choice != nullptr, option);
  for (const wchar_t* o : {L"星空主题", L"大海主题", L"天空主题"})
    CHECK(!checked(findControl(chooser, L"Button", o)), std::wstring(o) + L" not selected");
  if (hint) {
    // Closed as the taskbar would close it, main, disabled, stays as it is.
    RECT before{}, after{};
    GetWindowRect(main, &before);
    PostMessageW(main, WM_CLOSE, 0, 0);
    checkHeard(chooser, kChooser, L"星空主题");
    // The label's own press, as the mouse gives it.
    HWND label = findControl(chooser, L"TavimoLabel", L"想要自定义皮肤的点这里。");
    PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    expectBox(pid, L"自定义换肤",
              L"如果你想使用自己的图片作为皮肤，那么可以将自己的皮肤替换成同个文件夹下的图片", 64);
    screenshot(paths, chooser, L"skins");
    // The group with none selected is one stop, at its first option.
    const wchar_t* stops[] = {L"确定", L"星空主题"};
    tabThrough(chooser, stops);
    key(VK_DOWN);
    CHECK(checked(findControl(chooser, L"Button", L"大海主题")), L"Down selects 大海主题");
    CHECK(GetWindowRect(main, &after) && EqualRect(&before, &after), L"main, disabled, not closed");
  }
  click(choice);
  pause(200);
  CHECK(checked(choice), option + L" selected");
  click(findControl(chooser, L"Button", L"确定"));
  expectBox(pid, L"提示", L"测试期间重新加载会重置皮肤！！", 0);
  if (!missing.empty()) {
    auto box = waitMessageBox(pid);
    REQUIRE(box.has_value(), L"missing skin reported");
    CHECK(box->icon == 16 && box->text.find(missing) != std::wstring::npos,
          L"an error naming the file: " + box->text);
    answer(*box);
  }
  // A skin near the largest side allowed (16000 pixels) takes seconds to
  // decode: the chooser closes once it has been read, not before.
  CHECK(waitGone(chooser, 30000), L"chooser closed");
  CHECK(IsWindowEnabled(main), L"main enabled again");
  pause(200);
  CHECK(focusIn(main) == focus, L"the focus back on " + textOf(focus));
}

void menus(const Paths& paths, const Program& program, HWND main, const std::wstring&) {
  const DWORD pid = program.id();

  clickMenu(main, Notes);
  expectBox(pid, L"说明", L"说明：因为系统重装，源码没有备份，这是重做后的，或许有BUG。", 64);

  aboutBox(paths, pid, main);

  chooseSkin(paths, pid, main, L"大海主题", L"", true);
  screenshot(paths, main, L"main-skin");

  const std::wstring folder = paths.folder();
  // A skin smaller than main (100x80, run-scenario.sh writes it): the rest
  // of the client area shows main's own background colour.
  const std::wstring stars = folder + L"\\星空.jpg";
  REQUIRE(CopyFileW((folder + L"\\small.jpg").c_str(), stars.c_str(), FALSE), L"small skin");
  chooseSkin(paths, pid, main, L"星空主题", L"");
  pause(300);
  CHECK(clientPixel(main, 3, 20) == RGB(255, 0, 0) &&
            clientPixel(main, 3, 200) == GetSysColor(COLOR_BTNFACE),
        L"a small skin, main's background beside it");

  const std::wstring sky = folder + L"\\天空.jpg";
  REQUIRE(MoveFileW(sky.c_str(), (sky + L".away").c_str()), L"skin moved away");
  chooseSkin(paths, pid, main, L"天空主题", L"天空.jpg");
  MoveFileW((sky + L".away").c_str(), sky.c_str());

  const auto lines = forum(pid, main, paths.log, 5000);
  REQUIRE(lines.size() == 1, L"one command for the forum");
  checkRecorded(lines[0], L"0",
                L"cmd.exe /c start http://tieba.baidu.com/f?ie=utf-8^&kw=%^E5%^85%^B3%^E6%^9C%^BA"
                L"%^E5%^B7%^A5%^E5%^85%^B7");
}

void realInterpreter(const Paths&, const Program& program, HWND main,
                     const std::wstring& browserRecord) {
  // The stand-in records only its arguments.
  const auto opened = forum(program.id(), main, browserRecord, 20000);
  CHECK(opened == (std::vector<Recorded>{{L"-", L"-", L"-",
                                          L"http://tieba.baidu.com/f?ie=utf-8&kw=%E5%85%B3%E6%9C%BA"
                                          L"%E5%B7%A5%E5%85%B7"}}),
        L"the browser stand-in started once, with " +
            (opened.empty() ? L"nothing" : opened[0].line()));
}

}  // namespace driver
