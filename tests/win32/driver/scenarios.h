// The end-to-end scenarios; each starts the program afresh.
#pragma once

#include "session.h"
#include "stored_layouts.h"

namespace driver {

inline const std::wstring kMainCaption = L"<Tavimo> 关机工具 ";
inline const std::wstring kSplashCaption;

// Starts the program and waits for main after the splash.
HWND startToMain(const Program& program);
std::wstring systemDirectory();
// Centred on the screen, to a pixel.
bool centred(HWND hwnd);

// Chooses a skin in the chooser and confirms; with failingFile, expects
// the error box naming it. Returns with the chooser closed.
void chooseSkin(const Paths& paths, DWORD pid, HWND main, const std::wstring& option,
                const std::wstring& failingFile, bool hint = false);

void startupAndLayout(const Paths& paths);
void commands(const Paths& paths);
void trayAndClose(const Paths& paths);
void menus(const Paths& paths);
void realInterpreter(const Paths& paths, const std::wstring& browserRecord);
void pictures(const Paths& paths, const std::wstring& pictureFolder);
// Run with the prefix's display density set to dpi.
void dpiLayout(const Paths& paths, int dpi);

// The form's client area and its controls' places, scaled to dpi.
void checkPlaces(HWND form, const StoredForm& stored, int dpi);
// The minimise button and its notice; what the shell posts for a
// double-click on the tray icon (callback 0x200).
void minimise(DWORD pid, HWND main);
void doubleClickTray(HWND main);

// Benchmarks: print figures only.
void benchStartup(const Paths& paths, const std::wstring& minimal);
void benchCountdown(const Paths& paths, int seconds);
void benchMemory(const Paths& paths, const std::wstring& photo);

}  // namespace driver
