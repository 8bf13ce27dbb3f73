// Driving the program from outside: starting it, finding its windows and
// controls, clicking, typing, answering message boxes, reading the log of
// the recording cmd.exe and taking screenshots.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driver {

struct Paths {
  std::wstring exe;          // the program, in a throwaway folder
  std::wstring log;          // written by the recording cmd.exe
  std::wstring screenshots;  // folder for the screenshots
  std::wstring folder() const { return exe.substr(0, exe.find_last_of(L'\\')); }
};

// Waits until done() holds, as long as ms stretched by TAVIMO_WAIT_FACTOR.
bool waitUntil(DWORD ms, const std::function<bool()>& done);

class Program {
 public:
  explicit Program(const Paths& paths);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD id() const { return process_.dwProcessId; }
  bool exitedWithin(DWORD ms) const;
  HANDLE thread() const { return process_.hThread; }

 private:
  PROCESS_INFORMATION process_{};
};

// Holds the program's main thread while a window it shows for a moment
// (the splash's real-time second) is looked at: under emulation the
// program shows it late in that second. Texts are then read from the
// window manager's copy, which a held thread need not answer for.
using Held = std::unique_ptr<void, void (*)(void*)>;
Held hold(const Program& program);

// Top-level windows of the process (visible or not).
std::vector<HWND> windowsOf(DWORD pid);
// Whether the process has loaded a module of that file name.
bool hasModule(DWORD pid, const std::wstring& name);
std::vector<HWND> formsOf(DWORD pid, const std::wstring& caption);
HWND waitForm(DWORD pid, const std::wstring& caption, DWORD ms = 5000);
bool waitGone(HWND hwnd, DWORD ms = 5000);
bool waitVisible(HWND hwnd, bool visible, DWORD ms = 5000);

// A descendant of parent by window class and text.
HWND findControl(HWND parent, const std::wstring& windowClass, const std::wstring& text);
std::wstring textOf(HWND hwnd);
std::wstring classOf(HWND hwnd);

void click(HWND control);
// A left click at a point of the screen, through the system's input.
void clickAt(POINT at);
void clickMenu(HWND form, int position);
// A key pressed and let go through the system's input, as a user types.
void key(WORD vk, bool shift = false);
// The control with the keyboard focus in the form's thread.
HWND focusIn(HWND form);
void type(HWND edit, const std::wstring& text);  // WM_SETTEXT, as a user edit
bool checked(HWND option);
// A message sent to the program, given up after ms (stretched) if unanswered.
LRESULT ask(HWND hwnd, UINT message, WPARAM w = 0, LPARAM l = 0, DWORD ms = 2000);

struct MessageBoxSeen {
  HWND hwnd = nullptr;
  std::wstring title;
  std::wstring text;
  int icon = 0;  // 0 none, 16 error, 48 warning, 32 question, 64 information
};
std::optional<MessageBoxSeen> waitMessageBox(DWORD pid, DWORD ms = 5000);
void answer(const MessageBoxSeen& box);
// Waits for a box, checks its title, text and icon, runs whileOpen and
// answers it, still open.
void expectBox(DWORD pid, const std::wstring& title, const std::wstring& text, int icon,
               const std::function<void()>& whileOpen = {});

struct Recorded {
  std::wstring style, directory, image, commandLine;
  bool operator==(const Recorded&) const = default;
  std::wstring line() const { return style + L" " + directory + L" " + image + L" " + commandLine; }
};
std::vector<Recorded> readLog(const std::wstring& log);
// Waits until the log holds at least count lines.
std::vector<Recorded> waitLog(const std::wstring& log, std::size_t count, DWORD ms = 5000);

// The colour on screen at a point of the window's client area.
COLORREF clientPixel(HWND hwnd, int x, int y);

// The window as it is on screen once painted, saved as name.ppm among the
// screenshots.
void screenshot(const Paths& paths, HWND hwnd, const std::wstring& name);
// The screen's pixels in r (screen coordinates), row by row from the top.
std::vector<COLORREF> screenPixels(const RECT& r);

void pause(DWORD ms);

}  // namespace driver
