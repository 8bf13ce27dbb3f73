#include "platform/qt/system_entries.h"

#include <QRegion>
#include <array>
#include <string>

#include "app/runtime_error.h"
#include "platform/qt/form_window.h"
#include "platform/qt/title_bar.h"

namespace qtui {

namespace {

struct Entry {
  std::string_view library;
  std::string_view name;
};
constexpr std::array kEntries{
    Entry{"user32", "SetWindowPos"},          Entry{"user32", "GetWindowLongA"},
    Entry{"user32", "SetWindowLongA"},        Entry{"user32", "SetLayeredWindowAttributes"},
    Entry{"shell32.dll", "Shell_NotifyIcon"},
};

void setStaysOnTop(FormWindow& window, bool onTop) {
  if (window.windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
    return;
  const bool visible = window.isVisible();
  window.setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
  if (visible)
    window.show();  // changing the flags hides a window
}

}  // namespace

QtSystemEntries::QtSystemEntries(WindowRegistry& windows, TrayIcons& tray)
    : windows_(windows), tray_(tray) {}

void QtSystemEntries::bind(std::string_view library, std::string_view entry) {
  for (const Entry& e : kEntries)
    if (e.library == library && e.name == entry)
      return;
  throw app::RuntimeError::entryPointNotFound(std::string(entry));
}

app::Long& QtSystemEntries::exStyle(app::Long hWnd) {
  auto it = exStyles_.find(hWnd);
  if (it == exStyles_.end()) {
    FormWindow* window = windows_.find(hWnd);
    const bool taskbar = window && window->form() && window->form()->layout().showInTaskbar;
    it = exStyles_.emplace(hWnd, taskbar ? app::ExStyle::WindowEdge : app::ExStyle::ToolWindow)
             .first;
  }
  return it->second;
}

app::Long QtSystemEntries::SetWindowPos(app::Long hWnd, app::Long insertAfter, app::Long x,
                                        app::Long y, app::Long cx, app::Long cy, app::Long flags) {
  FormWindow* window = windows_.find(hWnd);
  if (window == nullptr)
    return 0;
  if (insertAfter == app::InsertAfter::Topmost || insertAfter == app::InsertAfter::NotTopmost)
    setStaysOnTop(*window, insertAfter == app::InsertAfter::Topmost);
  if (!(flags & app::WindowPos::NoMove) && !onWayland())
    window->move(x, y);
  if (!(flags & app::WindowPos::NoSize))
    window->setOuterSize(QSize(cx, cy));
  return 1;
}

app::Long QtSystemEntries::GetWindowLongA(app::Long hWnd, app::Long index) {
  if (index != app::WindowLong::ExStyle || windows_.find(hWnd) == nullptr)
    return 0;
  return exStyle(hWnd);
}

app::Long QtSystemEntries::SetWindowLongA(app::Long hWnd, app::Long index, app::Long value) {
  if (index != app::WindowLong::ExStyle || windows_.find(hWnd) == nullptr)
    return 0;
  app::Long& style = exStyle(hWnd);
  const app::Long previous = style;
  style = value;
  return previous;
}

app::Long QtSystemEntries::SetLayeredWindowAttributes(app::Long hWnd, app::Long colourKey,
                                                      std::uint8_t, app::Long flags) {
  FormWindow* window = windows_.find(hWnd);
  if (window == nullptr || !(exStyle(hWnd) & app::ExStyle::Layered))
    return 0;
  if (!(flags & app::Layered::ColourKey)) {
    window->clearMask();
    window->clientArea()->setSeeThrough({});
    return 1;
  }
  // Key-coloured pixels become holes, not drawn, and clicks go through them
  // to whatever lies below. Only the form's bare background counts: a
  // pixel of its picture or of a label stays, whatever colour it has.
  const auto key = static_cast<unsigned>(colourKey);
  const QColor keyColour(static_cast<int>(key & 0xFF), static_cast<int>((key >> 8) & 0xFF),
                         static_cast<int>((key >> 16) & 0xFF));
  QRegion shown(window->rect());
  if (window->clientArea()->palette().color(QPalette::Window) == keyColour)
    shown -= window->bareBackground();
  if (onWayland()) {
    // No shapes there: the holes are fully transparent pixels instead,
    // which the compositor also lets clicks through.
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->clientArea()->setSeeThrough(
        (QRegion(window->rect()) - shown).translated(-window->clientArea()->pos()));
  } else {
    window->setMask(shown);
  }
  return 1;
}

app::Long QtSystemEntries::Shell_NotifyIcon(app::Long message, app::NotifyIconData& data) {
  switch (message) {
    case app::NotifyIcon::Add:
      return tray_.add(data) ? 1 : 0;
    case app::NotifyIcon::Delete:
      return tray_.remove(data) ? 1 : 0;
    default:
      return 0;
  }
}

bool QtSystemEntries::showsTrayIcons() {
  return tray_.trayAvailable();
}

}  // namespace qtui
