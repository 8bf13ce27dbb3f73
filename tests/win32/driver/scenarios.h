// The end-to-end scenarios; each starts the program afresh.
#pragma once

#include "session.h"

namespace driver {

inline const std::wstring kMainCaption = L"<Tavimo> 关机工具 ";
inline const std::wstring kSplashCaption;

// Starts the program and waits for main after the splash.
HWND startToMain(const Program& program);
std::wstring systemDirectory();

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

// Benchmarks: print figures only.
void benchStartup(const Paths& paths, const std::wstring& minimal);
void benchCountdown(const Paths& paths, int seconds);
void benchMemory(const Paths& paths, const std::wstring& photo);

}  // namespace driver
