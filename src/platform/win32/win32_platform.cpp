#include "platform/win32/win32_platform.h"

#include <algorithm>
#include <utility>

#include "app/application.h"
#include "app/runtime_error.h"
#include "app/twips.h"
#include "platform/win32/form_window.h"
#include "platform/win32/pictures.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {
// A thread timer, not a window's: every message loop dispatches its
// WM_TIMER, message boxes' and menus' included, so ticks go on behind them.
UINT_PTR armed = 0;

std::wstring systemDirectory() {
  std::wstring directory(GetSystemDirectoryW(nullptr, 0), L'\0');
  directory.resize(GetSystemDirectoryW(directory.data(), static_cast<UINT>(directory.size())));
  return directory;
}
}  // namespace

Platform::Platform(HINSTANCE instance) {
  QueryPerformanceFrequency(&frequency_);
  FormWindow::registerClass(instance);
}

Platform::~Platform() {
  if (armed != 0)
    KillTimer(nullptr, armed);
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
  if (armed != 0)
    KillTimer(nullptr, std::exchange(armed, 0));
  const auto left = app::Application::current().timeToNextTick();
  if (!left)
    return;
  const auto delay =
      static_cast<UINT>(std::clamp<long long>(left->count(), USER_TIMER_MINIMUM, 0x7FFFFFFF));
  armed = SetTimer(nullptr, 0, delay, tick);
}

void Platform::end() {
  ExitProcess(0);
}

void CALLBACK Platform::tick(HWND, UINT, UINT_PTR id, DWORD) {
  if (id != armed)
    return;  // killed after this WM_TIMER was queued
  KillTimer(nullptr, std::exchange(armed, 0));
  app::Application::current().wake();
}

}  // namespace win32
