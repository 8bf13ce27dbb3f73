// Each window at the display density the prefix is set to: places and
// sizes scaled from twips, one menu row, the splash's colour key, the
// tray's double-click, the close sequence, and screenshots at 144 dpi.
// At 96 the windows are also moved to a 144-dpi monitor and back.
#include <array>
#include <cstdlib>
#include <tuple>

#include "checks.h"
#include "scenarios.h"
#include "stored_layouts.h"

namespace driver {

namespace {

constexpr int kAboutMenu = 1, kSkinsMenu = 3;  // menu positions
constexpr COLORREF kBackdropColour = RGB(0, 200, 0);

// A place on screen against its twips, left, top, width and height: each
// within a pixel of twips × dpi ÷ 1440, to the pixel where that is whole.
bool placedAt(const RECT& r, const std::array<int, 4>& twips, int dpi) {
  const std::array<long, 4> shown{r.left, r.top, r.right - r.left, r.bottom - r.top};
  for (std::size_t i = 0; i < 4; ++i)
    if (std::abs(shown[i] * 1440 - twips[i] * dpi) >= 1440)
      return false;
  return true;
}

std::wstring str(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
         std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top);
}

std::wstring at(int dpi) {
  return L" at " + std::to_wstring(dpi) + L" dpi";
}

// The non-client height of a window whose menu bar is one row.
void checkMenuOneRow(HWND form, int dpi) {
  RECT outer{}, oneRow{};
  GetWindowRect(form, &outer);
  GetClientRect(form, &oneRow);
  AdjustWindowRectExForDpi(&oneRow, static_cast<DWORD>(GetWindowLongW(form, GWL_STYLE)), TRUE,
                           static_cast<DWORD>(GetWindowLongW(form, GWL_EXSTYLE)),
                           static_cast<UINT>(dpi));
  const long extra = (outer.bottom - outer.top) - (oneRow.bottom - oneRow.top);
  CHECK(std::abs(extra) < GetSystemMetricsForDpi(SM_CYMENU, static_cast<UINT>(dpi)) / 2,
        L"menu bar in one row" + at(dpi) + L", " + std::to_wstring(extra) + L" px more");
}

// A full-screen window of one colour, under whatever the program shows.
HWND showBackdrop() {
  const WNDCLASSW wc{.lpfnWndProc = DefWindowProcW,
                     .hInstance = GetModuleHandleW(nullptr),
                     .hbrBackground = CreateSolidBrush(kBackdropColour),
                     .lpszClassName = L"DriverBackdrop"};
  RegisterClassW(&wc);
  HWND backdrop = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0,
                                  0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                  nullptr, nullptr, wc.hInstance, nullptr);
  UpdateWindow(backdrop);
  pause(200);
  return backdrop;
}

// Splash pixels keyed wrong: in the banner those the backdrop shows
// through, in the strip beside it those it does not; -1 when nothing was
// captured.
std::pair<int, int> keyFaults(HWND splash, int dpi) {
  RECT r{};
  GetClientRect(splash, &r);
  MapWindowPoints(splash, nullptr, reinterpret_cast<POINT*>(&r), 2);
  const std::vector<COLORREF> shown = screenPixels(r);
  if (shown.empty())
    return {-1, -1};
  std::pair<int, int> faults{0, 0};
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const long x = static_cast<long>(i) % (r.right - r.left),
               y = static_cast<long>(i) / (r.right - r.left);
    const bool backdrop = shown[i] == kBackdropColour;
    if (x < MulDiv(kBannerWidth, dpi, 1440))
      faults.first += y < MulDiv(kBannerHeight, dpi, 1440) && backdrop;
    else
      faults.second += !backdrop;
  }
  return faults;
}

// The form's client area and its controls' places, scaled to dpi.
void checkPlaces(HWND form, const StoredForm& stored, int dpi) {
  RECT client{};
  GetClientRect(form, &client);
  CHECK(placedAt(client, {0, 0, stored.clientWidth, stored.clientHeight}, dpi),
        stored.caption + L" client " + str(client) + at(dpi));
  for (const auto& c : stored.controls) {
    HWND control = findControl(form, c.windowClass, c.text);
    if (!CHECK(control != nullptr, c.text))
      continue;
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    CHECK(textOf(GetParent(control)) == stored.parentOf(c) &&
              placedAt(r, {c.left, c.top, c.width, c.height}, dpi) && IsWindowVisible(control) &&
              IsWindowEnabled(control),
          c.text + (L" in " + textOf(GetParent(control))) + L" at " + str(r) + at(dpi));
  }
}

// The form's places; at 144 dpi a screenshot too.
void checkShown(HWND form, const StoredForm& stored, const Paths& paths, const std::wstring& name,
                int dpi) {
  checkPlaces(form, stored, dpi);
  if (dpi == 144)
    screenshot(paths, form, name + L"-144dpi");
}

// What Windows sends a window dragged to a monitor of another density: the
// density and the place it suggests, the window's scaled about its centre.
// The rectangle lies in the program's memory, as the system's would.
void moveToDensity(DWORD pid, HWND form, int from, int to) {
  RECT r{};
  GetWindowRect(form, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  const long w = (r.right - r.left) * to / from, h = (r.bottom - r.top) * to / from;
  const RECT suggested{centre.x - w / 2, centre.y - h / 2, centre.x + w - w / 2,
                       centre.y + h - h / 2};
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  void* there = VirtualAllocEx(process, nullptr, sizeof suggested, MEM_COMMIT, PAGE_READWRITE);
  CHECK(
      there != nullptr && WriteProcessMemory(process, there, &suggested, sizeof suggested, nullptr),
      L"the suggested place written");
  ask(form, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(there), 5000);
  VirtualFreeEx(process, there, 0, MEM_RELEASE);
  CloseHandle(process);
  GetWindowRect(form, &r);
  CHECK(std::abs((r.left + r.right) / 2 - centre.x) <= 1 &&
            std::abs((r.top + r.bottom) / 2 - centre.y) <= 1,
        L"laid out about the suggested place" + at(to));
}

// Each tick takes 100 twips off the width read back at the density the
// window has now: at 144 dpi 10 pixels (a tick the sampling missed counts
// twice). The last step may be Wine's narrowest window.
void checkShrinkAt144(HWND main) {
  std::vector<long> widths;
  for (int i = 0; i < 5000 && IsWindow(main); ++i) {
    RECT r{};
    GetWindowRect(main, &r);
    if (IsWindow(main) && (widths.empty() || widths.back() != r.right - r.left))
      widths.push_back(r.right - r.left);
    Sleep(1);
  }
  int regular = 0;
  for (std::size_t i = 1; i + 1 < widths.size(); ++i) {
    const long drop = widths[i - 1] - widths[i], ticks = (drop + 5) / 10;
    regular += ticks >= 1 && std::abs(drop - 10 * ticks) <= ticks ? 1 : 0;
  }
  CHECK(widths.size() > 10 && regular + 2 == static_cast<int>(widths.size()),
        std::to_wstring(regular) + L" of " + std::to_wstring(widths.size()) +
            L" widths 10 pixels apart at 144 dpi");
}

}  // namespace

void dpiLayout(const Paths& paths, int dpi) {
  REQUIRE(GetDpiForSystem() == static_cast<UINT>(dpi), L"the prefix is" + at(dpi));
  HWND backdrop = showBackdrop();
  Program program(paths);
  REQUIRE(program.started(), paths.exe);
  const DWORD pid = program.id();
  HWND splash = waitForm(pid, kSplash.caption, 10000);
  REQUIRE(splash != nullptr, L"splash shown");
  {
    // Under emulation the banner is drawn late in its one real-time
    // second: the program is held once nothing shows through it.
    Held held = hold(program);
    auto [banner, strip] = keyFaults(splash, dpi);
    for (int tries = 0; tries < 250 && banner != 0 && IsWindow(splash); ++tries) {
      held.reset();
      pause(20);
      held = hold(program);
      if (const auto now = keyFaults(splash, dpi); now.first >= 0)
        std::tie(banner, strip) = now;  // the last the splash showed
    }
    checkShown(splash, kSplash, paths, L"splash", dpi);
    CHECK(banner == 0 && strip == 0, std::to_wstring(banner) + L" see-through banner and " +
                                         std::to_wstring(strip) + L" opaque strip pixels" +
                                         at(dpi));
  }

  HWND main = waitForm(pid, kMain.caption, 5000);
  REQUIRE(main != nullptr, L"main shown after the splash");
  DestroyWindow(backdrop);
  checkShown(main, kMain, paths, L"main", dpi);
  checkMenuOneRow(main, dpi);

  // The about box closes by its button, the chooser by its close box;
  // at 96 dpi the chooser and main are moved to 144 dpi and back first.
  for (const auto& [menu, stored, name] :
       {std::tuple{kAboutMenu, &kAbout, L"about"}, std::tuple{kSkinsMenu, &kChooser, L"skins"}}) {
    clickMenu(main, menu);
    HWND form = waitForm(pid, stored->caption);
    REQUIRE(form != nullptr, stored->caption + L" shown");
    checkShown(form, *stored, paths, name, dpi);
    // Each laid out anew from its twips.
    for (const auto& [from, to] : {std::pair{96, 144}, std::pair{144, 96}})
      if (menu == kSkinsMenu && dpi == 96) {
        moveToDensity(pid, main, from, to);
        moveToDensity(pid, form, from, to);
        checkPlaces(main, kMain, to);
        checkPlaces(form, kChooser, to);
      }
    if (menu == kAboutMenu)
      click(findControl(form, L"Button", L"确定"));
    else
      PostMessageW(form, WM_CLOSE, 0, 0);
    CHECK(waitGone(form), stored->caption + L" closed");
  }

  minimise(pid, main);
  doubleClickTray(main);
  CHECK(waitVisible(main, true, 2000), L"the tray's double-click restores main" + at(dpi));

  if (dpi == 96)
    moveToDensity(pid, main, 96, 144);
  PostMessageW(main, WM_CLOSE, 0, 0);
  if (dpi == 96)
    checkShrinkAt144(main);
  CHECK(program.exitedWithin(10000), L"the close sequence ends the program" + at(dpi));
}

}  // namespace driver
