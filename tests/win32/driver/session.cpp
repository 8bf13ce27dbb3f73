#include "session.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "accessibility.h"
#include "checks.h"

namespace driver {

int& failures() {
  static int count = 0;
  return count;
}

namespace {

std::wstring wide(const std::string& text) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

// Under emulation everything takes longer: every wait stretches by
// TAVIMO_WAIT_FACTOR, what is expected at its end stays the same. Pauses
// do not: the program's own timers (the splash's second) run in real time.
DWORD scaled(DWORD ms) {
  static const DWORD factor = [] {
    wchar_t value[16] = {};
    const DWORD n = GetEnvironmentVariableW(L"TAVIMO_WAIT_FACTOR", value, 16);
    const int f = n > 0 && n < 16 ? _wtoi(value) : 1;
    return static_cast<DWORD>(f > 1 ? f : 1);
  }();
  return ms * factor;
}

// Waits while serving the driver's own windows (the backdrop).
void serveFor(DWORD ms) {
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

template <class F>
bool waitFor(DWORD ms, F done) {
  const ULONGLONG end = GetTickCount64() + scaled(ms);
  for (;;) {
    if (done())
      return true;
    if (GetTickCount64() >= end)
      return false;
    serveFor(20);
  }
}

}  // namespace

void pause(DWORD ms) {
  serveFor(ms);
}

Program::Program(const Paths& paths) {
  SetEnvironmentVariableW(L"TAVIMO_COMMAND_LOG", paths.log.c_str());
  std::wstring folder = paths.exe.substr(0, paths.exe.find_last_of(L'\\'));
  std::wstring line = L"\"" + paths.exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(paths.exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process_))
    process_ = {};
}

Program::~Program() {
  if (process_.hProcess == nullptr)
    return;
  if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

namespace {
int held = 0;
}  // namespace

Held::Held(const Program& program) : thread_(program.thread()) {
  SuspendThread(thread_);
  ++held;
}

Held::~Held() {
  --held;
  ResumeThread(thread_);
}

bool Program::exitedWithin(DWORD ms) const {
  return WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
}

namespace {

struct WindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == s->pid)
    s->found.push_back(hwnd);
  return TRUE;
}

struct ControlSearch {
  const std::wstring& windowClass;
  const std::wstring& text;
  HWND found;
};

BOOL CALLBACK matchControl(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<ControlSearch*>(param);
  if (_wcsicmp(classOf(hwnd).c_str(), s->windowClass.c_str()) == 0 && textOf(hwnd) == s->text) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> windowsOf(DWORD pid) {
  WindowSearch search{pid, {}};
  EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring textOf(HWND hwnd) {
  wchar_t buffer[1024] = {};
  if (held > 0)
    return std::wstring(buffer, static_cast<std::size_t>(GetWindowTextW(hwnd, buffer, 1024)));
  DWORD_PTR length = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                      scaled(2000), &length);
  return std::wstring(buffer, length);
}

std::wstring classOf(HWND hwnd) {
  wchar_t buffer[256] = {};
  const int n = GetClassNameW(hwnd, buffer, 256);
  return std::wstring(buffer, static_cast<std::size_t>(n));
}

HWND findForm(DWORD pid, const std::wstring& caption) {
  for (HWND hwnd : windowsOf(pid))
    if (classOf(hwnd) == L"TavimoForm" && textOf(hwnd) == caption)
      return hwnd;
  return nullptr;
}

HWND waitForm(DWORD pid, const std::wstring& caption, DWORD ms) {
  HWND found = nullptr;
  waitFor(ms, [&] {
    found = findForm(pid, caption);
    return found != nullptr && IsWindowVisible(found);
  });
  return found;
}

bool waitGone(HWND hwnd, DWORD ms) {
  return waitFor(ms, [&] { return !IsWindow(hwnd); });
}

bool waitVisible(HWND hwnd, bool visible, DWORD ms) {
  return waitFor(ms, [&] { return (IsWindowVisible(hwnd) != FALSE) == visible; });
}

HWND findControl(HWND parent, const std::wstring& windowClass, const std::wstring& text) {
  ControlSearch search{windowClass, text, nullptr};
  EnumChildWindows(parent, matchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

SIZE clientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

RECT placeInParent(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void click(HWND control) {
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}

void key(WORD vk, bool shift) {
  INPUT input[4] = {};
  for (INPUT& i : input) i.type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[3].ki.wVk = VK_SHIFT;
  input[1].ki.wVk = input[2].ki.wVk = vk;
  input[2].ki.dwFlags = input[3].ki.dwFlags = KEYEVENTF_KEYUP;
  if (shift)
    SendInput(4, input, sizeof(INPUT));
  else
    SendInput(2, input + 1, sizeof(INPUT));
  Sleep(scaled(100));
}

HWND focusIn(HWND form) {
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gui);
  return gui.hwndFocus;
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
  DWORD_PTR result = 0;
  SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                      scaled(5000), &result);
}

bool checked(HWND option) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(option, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, scaled(2000), &result);
  return result == BST_CHECKED;
}

namespace {

// The box's icon as drawn on screen against the system icons drawn here:
// the closest one names it.
BOOL CALLBACK findIconControl(HWND hwnd, LPARAM param) {
  if (_wcsicmp(classOf(hwnd).c_str(), L"Static") == 0 &&
      (GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(hwnd) &&
      SendMessageW(hwnd, STM_GETICON, 0, 0) != 0) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

int iconOf(HWND box) {
  // Windows and Wine give the icon control different ids; its style tells.
  HWND iconControl = nullptr;
  EnumChildWindows(box, findIconControl, reinterpret_cast<LPARAM>(&iconControl));
  if (iconControl == nullptr)
    return 0;
  RECT r{};
  GetWindowRect(iconControl, &r);
  const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
  HDC screen = GetDC(nullptr);
  HDC shown = CreateCompatibleDC(screen);
  HDC drawn = CreateCompatibleDC(screen);
  HBITMAP shownBits = CreateCompatibleBitmap(screen, w, h);
  HBITMAP drawnBits = CreateCompatibleBitmap(screen, w, h);
  SelectObject(shown, shownBits);
  SelectObject(drawn, drawnBits);
  BitBlt(shown, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  const COLORREF ground = GetPixel(screen, r.left, r.top);
  struct Candidate {
    const wchar_t* id;
    int style;
  } candidates[] = {{IDI_ERROR, 16}, {IDI_QUESTION, 32}, {IDI_WARNING, 48}, {IDI_INFORMATION, 64}};
  int best = 0;
  long bestDistance = -1;
  for (const auto& c : candidates) {
    HBRUSH brush = CreateSolidBrush(ground);
    RECT all{0, 0, w, h};
    FillRect(drawn, &all, brush);
    DeleteObject(brush);
    DrawIconEx(drawn, 0, 0, LoadIconW(nullptr, c.id), w, h, 0, nullptr, DI_NORMAL);
    long distance = 0;
    for (int y = 0; y < h; y += 2)
      for (int x = 0; x < w; x += 2) {
        const COLORREF a = GetPixel(shown, x, y), b = GetPixel(drawn, x, y);
        distance += std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                    std::abs(GetBValue(a) - GetBValue(b));
      }
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = c.style;
    }
  }
  DeleteDC(shown);
  DeleteDC(drawn);
  DeleteObject(shownBits);
  DeleteObject(drawnBits);
  ReleaseDC(nullptr, screen);
  return best;
}

HWND openBox(DWORD pid) {
  for (HWND hwnd : windowsOf(pid))
    if (classOf(hwnd) == L"#32770" && IsWindowVisible(hwnd))
      return hwnd;
  return nullptr;
}

}  // namespace

std::optional<MessageBoxSeen> waitMessageBox(DWORD pid, DWORD ms) {
  HWND box = nullptr;
  if (!waitFor(ms, [&] { return (box = openBox(pid)) != nullptr; }))
    return std::nullopt;
  Sleep(scaled(300));  // let it paint before its icon is read from the screen
  MessageBoxSeen seen;
  seen.hwnd = box;
  // Title and text as a screen reader hears them.
  seen.title = heard(box).name;
  if (HWND text = GetDlgItem(box, 0xFFFF))
    seen.text = heard(text).name;
  seen.icon = iconOf(box);
  return seen;
}

void answer(const MessageBoxSeen& box) {
  PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.hwnd, IDOK)));
  waitGone(box.hwnd, 3000);
}

bool noMessageBoxFor(DWORD pid, DWORD ms) {
  return !waitFor(ms, [&] { return openBox(pid) != nullptr; });
}

std::vector<Recorded> readLog(const std::wstring& log) {
  std::vector<Recorded> lines;
  HANDLE file = CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return lines;
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    Recorded r;
    std::wstring fields[4];
    std::wstring w = wide(line);
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
      const std::size_t tab = w.find(L'\t', start);
      fields[i] = w.substr(start, tab - start);
      start = tab == std::wstring::npos ? w.size() : tab + 1;
    }
    fields[3] = w.substr(start);
    lines.push_back({fields[0], fields[1], fields[2], fields[3]});
  }
  return lines;
}

std::vector<Recorded> waitLog(const std::wstring& log, std::size_t count, DWORD ms) {
  std::vector<Recorded> lines;
  waitFor(ms, [&] { return (lines = readLog(log)).size() >= count; });
  return lines;
}

COLORREF clientPixel(HWND hwnd, int x, int y) {
  POINT at{x, y};
  ClientToScreen(hwnd, &at);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

bool screenshot(HWND hwnd, const std::wstring& file) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0)
    return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) / 4) * 4;
  const DWORD size = stride * static_cast<DWORD>(h);
  BITMAPFILEHEADER header{
      0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
      sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  bool done = false;
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    done = WriteFile(out, &header, sizeof header, &written, nullptr) &&
           WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
           WriteFile(out, bits, size, &written, nullptr);
    CloseHandle(out);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return done;
}

std::vector<COLORREF> screenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<COLORREF> pixels;
  if (w <= 0 || h <= 0)
    return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const auto* row = static_cast<const DWORD*>(bits);
  for (int i = 0; i < w * h; ++i)  // 0x00RRGGBB in a DIB
    pixels.push_back(RGB((row[i] >> 16) & 0xFF, (row[i] >> 8) & 0xFF, row[i] & 0xFF));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

Backdrop::Backdrop(COLORREF colour) : brush_(CreateSolidBrush(colour)) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = brush_;
  wc.lpszClassName = L"DriverBackdrop";
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  RegisterClassW(&wc);
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                          nullptr, wc.hInstance, nullptr);
  UpdateWindow(hwnd_);
  pause(200);
}

Backdrop::~Backdrop() {
  DestroyWindow(hwnd_);
  DeleteObject(brush_);
}

}  // namespace driver
