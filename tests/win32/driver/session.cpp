#include "session.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

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

}  // namespace

bool waitUntil(DWORD ms, const std::function<bool()>& done) {
  const ULONGLONG end = GetTickCount64() + scaled(ms);
  for (;;) {
    if (done())
      return true;
    if (GetTickCount64() >= end)
      return false;
    serveFor(20);
  }
}

void pause(DWORD ms) {
  serveFor(ms);
}

Program::Program(const Paths& paths) {
  SetEnvironmentVariableW(L"TAVIMO_COMMAND_LOG", paths.log.c_str());
  const std::wstring folder = paths.folder();
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
  RECT r{};
  GetWindowRect(iconControl, &r);
  const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
  const std::vector<COLORREF> shown = screenPixels({r.left, r.top, r.left + w, r.top + h});
  if (iconControl == nullptr || shown.empty())
    return 0;
  HDC screen = GetDC(nullptr);
  HDC drawn = CreateCompatibleDC(screen);
  HBITMAP drawnBits = CreateCompatibleBitmap(screen, w, h);
  SelectObject(drawn, drawnBits);
  struct Candidate {
    const wchar_t* id;
    int style;
  } candidates[] = {{IDI_ERROR, 16}, {IDI_QUESTION, 32}, {IDI_WARNING, 48}, {IDI_INFORMATION, 64}};
  int best = 0;
  long bestDistance = -1;
  for (const auto& c : candidates) {
    HBRUSH brush = CreateSolidBrush(shown[0]);
    RECT all{0, 0, w, h};
    FillRect(drawn, &all, brush);
    DeleteObject(brush);
    DrawIconEx(drawn, 0, 0, LoadIconW(nullptr, c.id), w, h, 0, nullptr, DI_NORMAL);
    long distance = 0;
    for (int y = 0; y < h; y += 2)
      for (int x = 0; x < w; x += 2) {
        const COLORREF a = shown[static_cast<std::size_t>(y * w + x)], b = GetPixel(drawn, x, y);
        distance += std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
                    std::abs(GetBValue(a) - GetBValue(b));
      }
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = c.style;
    }
  }
  DeleteDC(drawn);
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
  if (!waitUntil(ms, [&] { return (box = openBox(pid)) != nullptr; }))
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

void expectBox(DWORD pid, const std::wstring& title, const std::wstring& text, int icon) {
  auto box = waitMessageBox(pid);
  CHECK(box.has_value(), L"box " + title);
  if (!box)
    return;
  CHECK(box->title == title, L"title " + box->title);
  CHECK(box->text == text, L"text " + box->text);
  CHECK(box->icon == icon, title + L" icon " + std::to_wstring(box->icon));
  answer(*box);
}

bool noMessageBoxFor(DWORD pid, DWORD ms) {
  return !waitUntil(ms, [&] { return openBox(pid) != nullptr; });
}

std::vector<Recorded> readLog(const std::wstring& log) {
  // The C runtime opens it shared, while the recorder may still write.
  std::ifstream in{std::filesystem::path(log)};
  std::vector<Recorded> lines;
  for (std::string line; std::getline(in, line);) {
    std::wstring fields[4], rest = wide(line);
    for (int i = 0; i < 3; ++i) {
      const std::size_t tab = std::min(rest.find(L'\t'), rest.size());
      fields[i] = rest.substr(0, tab);
      rest.erase(0, std::min(tab + 1, rest.size()));
    }
    lines.push_back({fields[0], fields[1], fields[2], rest});
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

namespace {

// The screen's pixels in r as 0x00RRGGBB, row by row from the top.
std::vector<DWORD> capture(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0)
    return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits),
                            static_cast<const DWORD*>(bits) + static_cast<std::size_t>(w * h));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

}  // namespace

bool screenshot(HWND hwnd, const std::wstring& file) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  std::vector<DWORD> pixels = capture(r);
  if (pixels.empty())
    return false;
  // A top-down 32-bit BMP holds the captured rows as they are; the fourth
  // byte, which GDI leaves undefined, made opaque.
  for (DWORD& p : pixels) p |= 0xFF000000;
  const BITMAPINFOHEADER info{
      sizeof info, r.right - r.left, r.top - r.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD size = static_cast<DWORD>(pixels.size() * sizeof(DWORD));
  const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof info;
  const BITMAPFILEHEADER header{0x4D42, offset + size, 0, 0, offset};
  std::ofstream out{std::filesystem::path(file), std::ios::binary};
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(reinterpret_cast<const char*>(pixels.data()), size);
  return out.good();
}

std::vector<COLORREF> screenPixels(const RECT& r) {
  std::vector<COLORREF> pixels;
  for (const DWORD p : capture(r))
    pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
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
