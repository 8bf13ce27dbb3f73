#include "session.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "accessibility.h"
#include "checks.h"
// After <windows.h>, which session.h brings.
#include <tlhelp32.h>
#include "platform/win32/text.h"

namespace driver {

int& failures() {
  static int count = 0;
  return count;
}

bool fail(const char* file, int line, const char* condition, const std::wstring& what) {
  ++failures();
  std::printf("FAIL %s:%d: %s (%s)\n", file, line, condition, win32::narrow(what).c_str());
  return false;
}

namespace {

// Under emulation everything takes longer: every wait stretches by
// TAVIMO_WAIT_FACTOR, what is expected at its end stays the same. Pauses
// do not: the program's own timers (the splash's second) run in real time.
DWORD scaled(DWORD ms) {
  static const char* factor = std::getenv("TAVIMO_WAIT_FACTOR");
  return ms * static_cast<DWORD>(std::max(1, factor ? std::atoi(factor) : 1));
}

// Held objects alive.
int held = 0;

BOOL CALLBACK collect(HWND hwnd, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
  return TRUE;
}

// Every window below parent, as EnumChildWindows lists them.
std::vector<HWND> descendantsOf(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&found));
  return found;
}

// What draw paints on a w × h bitmap, row by row from the top.
std::vector<COLORREF> painted(int w, int h, const std::function<void(HDC)>& draw) {
  if (w <= 0 || h <= 0)
    return {};
  HDC memory = CreateCompatibleDC(nullptr);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SelectObject(memory, bitmap);
  draw(memory);
  GdiFlush();
  // The bitmap holds 0x00RRGGBB.
  const auto* first = static_cast<const DWORD*>(bits);
  std::vector<COLORREF> pixels(static_cast<std::size_t>(w * h));
  std::transform(first, first + pixels.size(), pixels.begin(),
                 [](DWORD p) { return RGB(p >> 16, p >> 8, p); });
  DeleteDC(memory);  // first, so the bitmap is no longer selected
  DeleteObject(bitmap);
  return pixels;
}

// The box's icon as drawn on screen against the system icons drawn here:
// the closest one names it. Windows and Wine give the icon control
// different ids; its style tells.
int iconOf(HWND box) {
  const std::vector<HWND> controls = descendantsOf(box);
  const auto icon = std::find_if(controls.begin(), controls.end(), [](HWND hwnd) {
    return _wcsicmp(classOf(hwnd).c_str(), L"Static") == 0 &&
           (GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(hwnd) &&
           SendMessageW(hwnd, STM_GETICON, 0, 0) != 0;
  });
  RECT r{};
  if (icon == controls.end() || !GetWindowRect(*icon, &r))
    return 0;
  const RECT all{0, 0, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  const std::vector<COLORREF> shown =
      screenPixels({r.left, r.top, r.left + all.right, r.top + all.bottom});
  if (shown.empty())
    return 0;
  std::pair best{LONG_MAX, 0};  // the distance and the style
  for (const auto& [id, style] : {std::pair{IDI_ERROR, 16}, std::pair{IDI_QUESTION, 32},
                                  std::pair{IDI_WARNING, 48}, std::pair{IDI_INFORMATION, 64}}) {
    const std::vector<COLORREF> candidate = painted(all.right, all.bottom, [&](HDC dc) {
      SetDCBrushColor(dc, shown[0]);
      FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      DrawIconEx(dc, 0, 0, LoadIconW(nullptr, id), all.right, all.bottom, 0, nullptr, DI_NORMAL);
    });
    long distance = 0;
    for (std::size_t i = 0; i < shown.size(); ++i)
      for (const int shift : {0, 8, 16})
        distance += std::abs(static_cast<int>((shown[i] >> shift) & 0xFF) -
                             static_cast<int>((candidate[i] >> shift) & 0xFF));
    best = std::min(best, std::pair{distance, style});
  }
  return best.second;
}

HWND openBox(DWORD pid) {
  for (HWND hwnd : windowsOf(pid))
    if (classOf(hwnd) == L"#32770" && IsWindowVisible(hwnd))
      return hwnd;
  return nullptr;
}

}  // namespace

// Waits while serving the driver's own windows (the backdrop).
void pause(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    const ULONGLONG now = GetTickCount64();
    if (now >= end)
      return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

bool waitUntil(DWORD ms, const std::function<bool()>& done) {
  for (const ULONGLONG end = GetTickCount64() + scaled(ms); !done(); pause(20))
    if (GetTickCount64() >= end)
      return false;
  return true;
}

Program::Program(const Paths& paths) {
  SetEnvironmentVariableW(L"TAVIMO_COMMAND_LOG", paths.log.c_str());
  std::wstring line = L"\"" + paths.exe + L"\"";
  STARTUPINFOW startup{sizeof(STARTUPINFOW)};
  if (!CreateProcessW(paths.exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      paths.folder().c_str(), &startup, &process_))
    process_ = {};
}

Program::~Program() {
  if (process_.hProcess == nullptr)
    return;
  TerminateProcess(process_.hProcess, 1);  // fails harmlessly once it has ended
  WaitForSingleObject(process_.hProcess, 5000);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

Held hold(const Program& program) {
  SuspendThread(program.thread());
  ++held;
  return Held(program.thread(), [](void* thread) {
    --held;
    ResumeThread(thread);
  });
}

bool Program::exitedWithin(DWORD ms) const {
  return WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
}

std::vector<HWND> windowsOf(DWORD pid) {
  std::vector<HWND> found;
  EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
  std::erase_if(found, [pid](HWND hwnd) {
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    return owner != pid;
  });
  return found;
}

bool hasModule(DWORD pid, const std::wstring& name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, pid);
  MODULEENTRY32W module{sizeof(MODULEENTRY32W)};
  bool found = false;
  for (BOOL more = Module32FirstW(snapshot, &module); more && !found;
       more = Module32NextW(snapshot, &module))
    found = _wcsicmp(module.szModule, name.c_str()) == 0;
  CloseHandle(snapshot);
  return found;
}

LRESULT ask(HWND hwnd, UINT message, WPARAM w, LPARAM l, DWORD ms) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(hwnd, message, w, l, SMTO_ABORTIFHUNG, scaled(ms), &result);
  return static_cast<LRESULT>(result);
}

std::wstring textOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  const auto length = held > 0 ? GetWindowTextW(hwnd, buffer, 1024)
                               : ask(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
  return std::wstring(buffer, static_cast<std::size_t>(length));
}

std::wstring classOf(HWND hwnd) {
  wchar_t buffer[256] = {};
  const int n = GetClassNameW(hwnd, buffer, 256);
  return std::wstring(buffer, static_cast<std::size_t>(n));
}

std::vector<HWND> formsOf(DWORD pid, const std::wstring& caption) {
  std::vector<HWND> forms;
  for (HWND hwnd : windowsOf(pid))
    if (classOf(hwnd) == L"TavimoForm" && textOf(hwnd) == caption)
      forms.push_back(hwnd);
  return forms;
}

HWND waitForm(DWORD pid, const std::wstring& caption, DWORD ms) {
  HWND found = nullptr;
  waitUntil(ms, [&] {
    const std::vector<HWND> forms = formsOf(pid, caption);
    found = forms.empty() ? nullptr : forms[0];
    return found != nullptr && IsWindowVisible(found);
  });
  return found;
}

bool waitGone(HWND hwnd, DWORD ms) {
  return waitUntil(ms, [&] { return !IsWindow(hwnd); });
}

bool waitVisible(HWND hwnd, bool visible, DWORD ms) {
  return waitUntil(ms, [&] { return (IsWindowVisible(hwnd) != FALSE) == visible; });
}

HWND findControl(HWND parent, const std::wstring& windowClass, const std::wstring& text) {
  for (HWND hwnd : descendantsOf(parent))
    if (_wcsicmp(classOf(hwnd).c_str(), windowClass.c_str()) == 0 && textOf(hwnd) == text)
      return hwnd;
  return nullptr;
}

void click(HWND control) {
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}

void clickAt(POINT at) {
  SetCursorPos(at.x, at.y);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

HWND focusIn(HWND form) {
  GUITHREADINFO gui{sizeof(GUITHREADINFO)};
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gui);
  return gui.hwndFocus;
}

void key(WORD vk, bool shift) {
  INPUT input[4] = {};
  for (INPUT& i : input) i.type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[3].ki.wVk = VK_SHIFT;
  input[1].ki.wVk = input[2].ki.wVk = vk;
  input[2].ki.dwFlags = input[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(shift ? 4 : 2, shift ? input : input + 1, sizeof(INPUT));
  Sleep(scaled(100));
}

// Another process's menu cannot be read or its ids looked up, so the
// menu bar is worked as a user would: Alt, arrows, Enter.
void clickMenu(HWND form, int position) {
  SetForegroundWindow(form);
  Sleep(scaled(200));
  key(VK_MENU);
  for (int i = 0; i < position; ++i) key(VK_RIGHT);
  key(VK_RETURN);
}

void type(HWND edit, const std::wstring& text) {
  ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 5000);
}

bool checked(HWND option) {
  return ask(option, BM_GETCHECK) == BST_CHECKED;
}

std::optional<MessageBoxSeen> waitMessageBox(DWORD pid, DWORD ms) {
  HWND box = nullptr;
  if (!waitUntil(ms, [&] { return (box = openBox(pid)) != nullptr; }))
    return std::nullopt;
  Sleep(scaled(300));  // let it paint before its icon is read from the screen
  // Title and text as a screen reader hears them.
  HWND text = GetDlgItem(box, 0xFFFF);
  return MessageBoxSeen{box, heard(box).name, text ? heard(text).name : L"", iconOf(box)};
}

void answer(const MessageBoxSeen& box) {
  PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.hwnd, IDOK)));
  waitGone(box.hwnd, 3000);
}

void expectBox(DWORD pid, const std::wstring& title, const std::wstring& text, int icon,
               const std::function<void()>& whileOpen) {
  auto box = waitMessageBox(pid);
  REQUIRE(box.has_value(), L"box " + title);
  CHECK(box->title == title && box->text == text && box->icon == icon,
        box->title + L": " + box->text + L" icon " + std::to_wstring(box->icon));
  if (whileOpen) {
    whileOpen();
    CHECK(IsWindow(box->hwnd), title + L" still open");
  }
  answer(*box);
}

std::vector<Recorded> readLog(const std::wstring& log) {
  // The C runtime opens it shared, while the recorder may still write.
  std::ifstream in{std::filesystem::path(log)};
  std::vector<Recorded> lines;
  for (std::string line; std::getline(in, line);) {
    std::wistringstream fields(win32::widen(line));
    Recorded& r = lines.emplace_back();
    std::getline(std::getline(std::getline(fields, r.style, L'\t'), r.directory, L'\t'), r.image,
                 L'\t');
    std::getline(fields, r.commandLine);
  }
  return lines;
}

std::vector<Recorded> waitLog(const std::wstring& log, std::size_t count, DWORD ms) {
  std::vector<Recorded> lines;
  waitUntil(ms, [&] { return (lines = readLog(log)).size() >= count; });
  return lines;
}

COLORREF clientPixel(HWND hwnd, int x, int y) {
  POINT at{x, y};
  ClientToScreen(hwnd, &at);
  const std::vector<COLORREF> pixel = screenPixels({at.x, at.y, at.x + 1, at.y + 1});
  return pixel.empty() ? CLR_INVALID : pixel[0];
}

void screenshot(const Paths& paths, HWND hwnd, const std::wstring& name) {
  pause(300);
  RECT r{};
  GetWindowRect(hwnd, &r);
  const std::vector<COLORREF> pixels = screenPixels(r);
  REQUIRE(!pixels.empty(), name + L" captured");
  std::ofstream out{std::filesystem::path(paths.screenshots + L"\\" + name + L".ppm"),
                    std::ios::binary};
  out << "P6 " << r.right - r.left << ' ' << r.bottom - r.top << " 255\n";
  for (const COLORREF p : pixels)
    out.put(static_cast<char>(GetRValue(p)))
        .put(static_cast<char>(GetGValue(p)))
        .put(static_cast<char>(GetBValue(p)));
  CHECK(out.good(), name + L" screenshot saved");
}

std::vector<COLORREF> screenPixels(const RECT& r) {
  HDC screen = GetDC(nullptr);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const std::vector<COLORREF> pixels =
      painted(w, h, [&](HDC dc) { BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY); });
  ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace driver
