#include "platform/win32/win32_platform.h"

#include <algorithm>

#include "app/application.h"
#include "app/runtime_error.h"
#include "app/twips.h"
#include "platform/win32/form_window.h"
#include "platform/win32/pictures.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {
constexpr wchar_t kTimerClass[] = L"TavimoTimer";
constexpr UINT_PTR kTimerId = 1;

std::wstring systemDirectory() {
  wchar_t buffer[MAX_PATH];
  const UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
  return std::wstring(buffer, n < MAX_PATH ? n : 0);
}
}  // namespace

Platform::Platform(HINSTANCE instance) {
  QueryPerformanceFrequency(&frequency_);
  FormWindow::registerClass(instance);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = timerProc;
  wc.hInstance = instance;
  wc.lpszClassName = kTimerClass;
  RegisterClassExW(&wc);
  // A message-only window: its WM_TIMER is dispatched by every message
  // loop, message boxes' included, so ticks go on behind them.
  timerWindow_ =
      CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

Platform::~Platform() {
  DestroyWindow(timerWindow_);
}

std::unique_ptr<app::WindowPeer> Platform::createWindow(app::Form& form) {
  return std::make_unique<FormWindow>(form, entries_);
}

void Platform::messageBox(const std::string& text, int style, const std::string& title) {
  // By app::MessageIcon: none, error, question, warning, information.
  constexpr UINT icons[] = {0, MB_ICONERROR, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONINFORMATION};
  UINT type = MB_OK | icons[static_cast<int>(app::messageIcon(style))];
  // A tick handler may be the caller: arm the timer for the next deadline
  // so ticks go on while the box is open.
  timersChanged();
  // Behind a hidden or inactive window there is no owner; the box must
  // still keep the program's windows from taking input while it is open.
  HWND owner = GetActiveWindow();
  if (owner == nullptr)
    type |= MB_TASKMODAL | MB_SETFOREGROUND;
  MessageBoxW(owner, widen(text).c_str(), widen(title).c_str(), type);
}

// The interpreter is named by its full path and started in the system
// directory: a bare cmd.exe would be looked up beside the program first,
// and cmd.exe looks for shutdown in its current directory first.
double Platform::run(const app::CommandLine& command, app::WindowStyle style) {
  const std::wstring directory = systemDirectory();
  const std::wstring interpreter = directory + L"\\cmd.exe";
  std::wstring line = widen(command.text());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(style);
  PROCESS_INFORMATION process{};
  if (directory.empty() ||
      !CreateProcessW(interpreter.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.c_str(), &startup, &process))
    throw app::RuntimeError::cannotRun(command.text());
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<double>(process.dwProcessId);
}

app::Picture Platform::loadPicture(const std::string& path) {
  return loadPictureFile(path);
}

app::Picture Platform::builtinPicture(std::string_view name) {
  return win32::builtinPicture(name);
}

std::string Platform::applicationDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  path.resize(path.find_last_of(L"\\/") + 1);
  return narrow(path);
}

std::chrono::nanoseconds Platform::now() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  const auto seconds = counter.QuadPart / frequency_.QuadPart;
  const auto rest = counter.QuadPart % frequency_.QuadPart;
  return std::chrono::seconds(seconds) +
         std::chrono::nanoseconds(rest * 1'000'000'000LL / frequency_.QuadPart);
}

// One timer for all: armed for the next deadline, rounded up so that it
// never fires early; the deadlines themselves do not drift.
void Platform::timersChanged() {
  const auto left = app::Application::current().timeToNextTick();
  if (!left) {
    KillTimer(timerWindow_, kTimerId);
    return;
  }
  const auto delay =
      static_cast<UINT>(std::clamp<long long>(left->count(), USER_TIMER_MINIMUM, 0x7FFFFFFF));
  SetTimer(timerWindow_, kTimerId, delay, nullptr);
}

void Platform::end() {
  ExitProcess(0);
}

LRESULT CALLBACK Platform::timerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    KillTimer(hwnd, kTimerId);
    app::Application::current().wake();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace win32
