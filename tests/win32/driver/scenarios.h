// The end-to-end scenarios; each starts the program afresh.
#pragma once
#include <span>

#include "session.h"
#include "stored_layouts.h"

namespace driver {

// Started with the window style, in the system folder, as the system's
// cmd.exe, with the line.
void checkRecorded(const Recorded& r, const std::wstring& style, const std::wstring& line);
// Centred on the screen, to a pixel.
bool centred(HWND hwnd);
// Tab pressed once for each stop, the focus then on that stop.
void tabThrough(HWND form, std::span<const wchar_t* const> stops);

// Chooses a skin in the chooser and confirms; with failingFile, expects
// the error box naming it. Returns with the chooser closed.
void chooseSkin(const Paths& paths, DWORD pid, HWND main, const std::wstring& option,
                const std::wstring& failingFile, bool hint = false);

void startupAndLayout(const Paths& paths);
// These begin at main's window, after the splash; extra is the scenario's
// last argument: the browser stand-in's record, the pictures' folder, the
// countdown's seconds, the photo.
using AtMain = void(const Paths& paths, const Program& program, HWND main,
                    const std::wstring& extra);
AtMain commands, trayAndClose, menus, realInterpreter, pictures;
// Run with the prefix's display density set to dpi.
void dpiLayout(const Paths& paths, int dpi);

// The minimise button and its notice, whileOpen run before it is
// answered; what the shell posts for a double-click on the tray icon
// (callback 0x200).
void minimise(DWORD pid, HWND main, const std::function<void()>& whileOpen = {});
void doubleClickTray(HWND main);

// Benchmarks: print figures only.
void benchStartup(const Paths& paths, const std::wstring& minimal);
AtMain benchCountdown, benchMemory;

}  // namespace driver
