#include "platform/win32/form_window.h"

#include <algorithm>

#include "app/application.h"
#include "app/twips.h"
#include "platform/win32/canvas.h"
#include "platform/win32/colours.h"
#include "platform/win32/display_density.h"
#include "platform/win32/form_controls.h"
#include "platform/win32/handles.h"
#include "platform/win32/library_entry.h"
#include "platform/win32/pictures.h"
#include "platform/win32/system_entries.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

struct Styles {
  DWORD style;
  DWORD exStyle;
};

// Fixed single borders have no minimise or maximise box; a form without
// a control box has no system menu (and so no close box) either.
Styles stylesOf(const app::FormLayout& layout) {
  const DWORD exStyle = layout.showInTaskbar ? DWORD{WS_EX_APPWINDOW} : DWORD{WS_EX_TOOLWINDOW};
  if (layout.border == app::Border::None)
    return {WS_POPUP | WS_CLIPCHILDREN, exStyle};
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
  if (layout.controlBox)
    style |= WS_SYSMENU;
  return {style, exStyle};
}

HMENU createMenuBar(const app::FormLayout& layout) {
  HMENU menu = nullptr;
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    const auto& c = layout.controls[i];
    if (c.kind != app::ControlKind::MenuItem)
      continue;
    if (menu == nullptr)
      menu = CreateMenu();
    AppendMenuW(menu, MF_STRING, kFirstControlId + i, widen(c.caption).c_str());
  }
  return menu;
}

const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

// The colour nearest the key that is not the key.
COLORREF besideKey(COLORREF key) {
  return key ^ 0x010000;
}

BOOL CALLBACK tellColoursChanged(HWND child, LPARAM) {
  SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

POINT centreOf(const RECT& r) {
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

void FormWindow::registerClass(HINSTANCE instance) {
  registerWindowClass(instance, windowProc, kFormClass);
  registerControlClasses(instance);
}

FormWindow::FormWindow(app::Form& form, SystemEntries& entries)
    : form_(form), entries_(entries), backColor_(form.BackColor()), picture_(form.picture()) {
  const app::FormLayout& layout = form.layout();
  const Styles s = stylesOf(layout);
  HMENU menu = createMenuBar(layout);
  // Made on the primary monitor, whose density sizes it; centred there.
  hwnd_ = CreateWindowExW(s.exStyle, kFormClass, widen(layout.caption).c_str(), s.style, 0, 0, 0, 0,
                          nullptr, menu, GetModuleHandleW(nullptr), this);
  // Run elevated, the program hears a restarted taskbar only if it lets
  // the message in (Windows 7 and later).
  static const auto allow = libraryEntry<decltype(&::ChangeWindowMessageFilterEx)>(
      L"user32.dll", "ChangeWindowMessageFilterEx");
  if (allow != nullptr)
    allow(hwnd_, taskbarCreated, MSGFLT_ALLOW, nullptr);
  dpi_ = dpiOf(hwnd_);
  fitClientArea(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
  setIcon();
  createControls();
}

FormWindow::~FormWindow() {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

// The stored client area at the window's density. A menu bar that wraps,
// or a theme's borders, can leave the client area off that size; the
// outer size is corrected by the difference.
void FormWindow::fitClientArea(int centreX, int centreY) {
  const app::FormLayout& layout = form_.layout();
  const app::Single tpp = twipsPerPixel();
  const int width = app::toPixels(layout.clientWidth, tpp);
  const int height = app::toPixels(layout.clientHeight, tpp);
  const auto style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
  RECT outer = outerRect(width, height, style, GetMenu(hwnd_) != nullptr, exStyle, dpi_);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    SetWindowPos(hwnd_, nullptr, centreX - w / 2, centreY - h / 2, w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(hwnd_, &client);
    const int dx = width - client.right, dy = height - client.bottom;
    if (dx == 0 && dy == 0)
      return;
    outer.right += dx;
    outer.bottom += dy;
  }
}

// The window moved to a monitor of another density: everything is laid
// out anew for it, around the place the system suggests.
void FormWindow::densityChanged(UINT dpi, const RECT& suggested) {
  dpi_ = dpi;
  const app::Single tpp = twipsPerPixel();
  for (const auto& [name, hwnd] : windows_)
    if (const auto* layout = form_.layout().find(name))
      placeControl(hwnd, *layout, tpp);
  const POINT centre = centreOf(suggested);
  fitClientArea(centre.x, centre.y);
  setIcon();
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The form's icon is made at the system's density (the tray's); on a
// monitor of another the caption and Alt+Tab get it drawn anew for that.
void FormWindow::setIcon() {
  auto icon = std::dynamic_pointer_cast<const IconPicture>(form_.Icon());
  if (!icon)
    return;
  auto own = dpi_ != systemDpi() ? std::make_unique<IconPicture>(icon->group(), dpi_) : nullptr;
  const IconPicture& shown = own ? *own : *icon;
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(shown.small()));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shown.large()));
  densityIcons_ = std::move(own);  // those it replaced go once they are no longer shown
}

// Created in tab order, so the window order is the tab order. Each
// container's options form a group; every other control is one of its own.
void FormWindow::createControls() {
  const app::FormLayout& layout = form_.layout();
  for (const app::ControlLayout* l : app::tabOrder(layout)) {
    const auto i = static_cast<std::size_t>(l - layout.controls.data());
    const app::Control& c = form_.controls()[i];
    auto container = windows_.find(c.layout().container);
    HWND parent = container != windows_.end() ? container->second : hwnd_;
    HWND child =
        createControlWindow(c, parent, kFirstControlId + static_cast<int>(i), twipsPerPixel());
    if (child == nullptr)
      continue;
    windows_.emplace(c.name(), child);
    const bool option = l->kind == app::ControlKind::OptionButton;
    if (!option || !optionGroups_.contains(l->container))
      SetWindowLongW(child, GWL_STYLE, GetWindowLongW(child, GWL_STYLE) | WS_GROUP);
    if (option)
      optionGroups_[l->container].push_back(child);
  }
  // Labels lie beneath the other controls, as the runtime's windowless
  // labels do: a button over a label's corner takes the clicks there. They
  // are no tab stops, so the tab order stays.
  for (const app::ControlLayout* l : app::tabOrder(layout))
    if (l->kind == app::ControlKind::Label && windows_.contains(l->name))
      SetWindowPos(windows_.at(l->name), HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  markOptionStops();
}

// One tab stop per group: its checked option, else its first.
void FormWindow::markOptionStops() {
  for (const auto& [container, options] : optionGroups_) {
    HWND stop = options.front();
    for (HWND option : options)
      if (SendMessageW(option, BM_GETCHECK, 0, 0) == BST_CHECKED)
        stop = option;
    for (HWND option : options) {
      const LONG style = GetWindowLongW(option, GWL_STYLE);
      SetWindowLongW(option, GWL_STYLE, option == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
  }
}

app::Long FormWindow::handle() const {
  return toLong(hwnd_);
}

// 1440 ÷ the density of the window's monitor.
app::Single FormWindow::twipsPerPixel() const {
  return 1440.0f / static_cast<app::Single>(dpi_);
}

void FormWindow::show() {
  ShowWindow(hwnd_, IsIconic(hwnd_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
  if (!shown_) {
    shown_ = true;
    // The focus goes to the first control in tab order that takes it.
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first != nullptr) {
      focus_ = first;
      SetFocus(first);
    }
  }
}

void FormWindow::hide() {
  ShowWindow(hwnd_, SW_HIDE);
}

void FormWindow::minimize() {
  ShowWindow(hwnd_, SW_MINIMIZE);
}

// Disabling an active window takes its focus without a deactivation; one
// activated while disabled could not take it back then.
void FormWindow::setEnabled(bool enabled) {
  if (!enabled)
    keepFocus();
  EnableWindow(hwnd_, enabled ? TRUE : FALSE);
  if (enabled && GetActiveWindow() == hwnd_)
    giveFocusBack();
}

void FormWindow::keepFocus() {
  HWND focus = GetFocus();
  if (focus != nullptr && IsChild(hwnd_, focus))
    focus_ = focus;
}

bool FormWindow::giveFocusBack() {
  if (focus_ == nullptr || !IsWindow(focus_))
    return false;
  SetFocus(focus_);
  return true;
}

void FormWindow::setOuterSize(int width, int height) {
  SetWindowPos(hwnd_, nullptr, 0, 0, std::max(width, 0), std::max(height, 0),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int FormWindow::outerWidth() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.right - r.left;
}

int FormWindow::outerHeight() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}

void FormWindow::setPicture(const app::Picture& picture) {
  picture_ = picture;
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::setBackColor(app::Colour colour) {
  backColor_ = colour;
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::controlChanged(const app::Control& control) {
  auto found = windows_.find(control.name());
  if (found == windows_.end())
    return;
  HWND hwnd = found->second;
  settingState_ = true;
  const std::wstring text = widen(control.Text());
  if (text != windowText(hwnd))
    SetWindowTextW(hwnd, text.c_str());
  if (control.kind() == app::ControlKind::OptionButton) {
    SendMessageW(hwnd, BM_SETCHECK, control.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
    markOptionStops();
  }
  EnableWindow(hwnd, control.Enabled() ? TRUE : FALSE);
  settingState_ = false;
}

HBRUSH FormWindow::brush(app::Colour colour) {
  auto found = brushes_.find(colour);
  if (found == brushes_.end())
    found = brushes_.emplace(colour, CreateSolidBrush(toColorRef(colour))).first;
  return found->second.get();
}

const app::Control* FormWindow::controlOf(HWND hwnd) const {
  for (const auto& [name, window] : windows_)
    if (window == hwnd)
      return form_.findLoaded(name);
  return nullptr;
}

SIZE FormWindow::pictureSize() const {
  if (!picture_)
    return {0, 0};
  const app::Single tpp = twipsPerPixel();
  // A picture's pixel is a pixel at 96 dots per inch.
  return {app::toPixels(picture_->widthPixels() * double{app::kDefaultTwipsPerPixel}, tpp),
          app::toPixels(picture_->heightPixels() * double{app::kDefaultTwipsPerPixel}, tpp)};
}

void FormWindow::paintBackground(HDC dc, int originX, int originY) {
  RECT client;
  GetClientRect(hwnd_, &client);
  OffsetRect(&client, -originX, -originY);
  FillRect(dc, &client, brush(backColor_));
  // Drawn once at its natural size, scaled to the density, from the
  // top-left corner, clipped.
  if (auto bitmap = std::dynamic_pointer_cast<const BitmapPicture>(picture_)) {
    const MemoryDc memory(CreateCompatibleDC(dc));
    const Selected selected(memory.get(), bitmap->bitmap());
    const SIZE shown = pictureSize();
    const int width = bitmap->widthPixels(), height = bitmap->heightPixels();
    if (shown.cx == width && shown.cy == height) {
      BitBlt(dc, -originX, -originY, width, height, memory.get(), 0, 0, SRCCOPY);
    } else {
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, -originX, -originY, shown.cx, shown.cy, memory.get(), 0, 0, width, height,
                 SRCCOPY);
    }
  }
  const app::Single tpp = twipsPerPixel();
  // The line's width is one pixel at 96 dots per inch.
  const GdiObject<HPEN> pen(CreatePen(PS_SOLID,
                                      std::max(app::toPixels(app::kDefaultTwipsPerPixel, tpp), 1),
                                      GetSysColor(COLOR_WINDOWTEXT)));
  const Selected selected(dc, pen.get());
  for (const auto& c : form_.layout().controls) {
    if (c.kind != app::ControlKind::Line)
      continue;
    MoveToEx(dc, app::toPixels(c.x1, tpp) - originX, app::toPixels(c.y1, tpp) - originY, nullptr);
    LineTo(dc, app::toPixels(c.x2, tpp) - originX, app::toPixels(c.y2, tpp) - originY);
  }
}

// Only what shows the form's own background may match the key: a pixel of
// the picture (or of a label over it) that does is moved one step off.
void FormWindow::keepOffColourKey(Canvas& canvas, int originX, int originY) const {
  COLORREF key = 0;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(hwnd_, &key, nullptr, &flags) || !(flags & LWA_COLORKEY))
    return;
  const SIZE shown = pictureSize();
  canvas.replace({-originX, -originY, shown.cx - originX, shown.cy - originY}, key, besideKey(key));
}

void FormWindow::paint() {
  const PaintDc dc(hwnd_);
  RECT client;
  GetClientRect(hwnd_, &client);
  Canvas canvas(dc, client.right, client.bottom);
  paintBackground(canvas.dc(), 0, 0);
  keepOffColourKey(canvas, 0, 0);
  canvas.copyTo(dc);
}

// A label: over the picture, the form's background under it, else its
// own colour; then its text.
void FormWindow::drawLabel(const DRAWITEMSTRUCT& item) {
  const app::Control* control = controlOf(item.hwndItem);
  if (control == nullptr)
    return;
  const app::ControlLayout& l = control->layout();
  RECT area = item.rcItem;
  POINT origin{area.left, area.top};
  MapWindowPoints(item.hwndItem, hwnd_, &origin, 1);
  Canvas canvas(item.hDC, area.right - area.left, area.bottom - area.top);
  HDC dc = canvas.dc();
  if (l.transparent) {
    paintBackground(dc, origin.x, origin.y);
  } else {
    const RECT all{0, 0, area.right - area.left, area.bottom - area.top};
    FillRect(dc, &all, reinterpret_cast<HBRUSH>(controlColours(dc, item.hwndItem)));
  }
  {
    const Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetTextColor(dc, !IsWindowEnabled(item.hwndItem) ? GetSysColor(COLOR_GRAYTEXT)
                     : l.foreColor                   ? toColorRef(*l.foreColor)
                                                     : GetSysColor(COLOR_BTNTEXT));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = windowText(item.hwndItem);
    OffsetRect(&area, -area.left, -area.top);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_LEFT | DT_EXPANDTABS | (l.wordWrap ? DT_WORDBREAK : 0));
  }
  keepOffColourKey(canvas, origin.x, origin.y);
  canvas.copyTo(item.hDC);
}

LRESULT FormWindow::controlColours(HDC dc, HWND hwnd) {
  const app::Control* control = controlOf(hwnd);
  if (control == nullptr)
    return reinterpret_cast<LRESULT>(brush(backColor_));
  const app::ControlLayout& l = control->layout();
  // The system's text colours where the layout gives none, as the default
  // handler's: a dark or high-contrast scheme changes them.
  const bool edit = l.kind == app::ControlKind::TextBox;
  SetTextColor(dc, l.foreColor ? toColorRef(*l.foreColor)
                               : GetSysColor(edit ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
  if (edit) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  SetBkMode(dc, TRANSPARENT);
  app::Colour colour = l.backColor.value_or(app::SystemColour::ButtonFace);
  if (!l.backColor && l.kind != app::ControlKind::Frame) {
    // Options and labels take their container's colour.
    if (const auto* container = form_.layout().find(l.container))
      colour = container->backColor.value_or(app::SystemColour::ButtonFace);
  }
  SetBkColor(dc, toColorRef(colour));
  return reinterpret_cast<LRESULT>(brush(colour));
}

LRESULT CALLBACK FormWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<FormWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->handleMessage(message, wParam, lParam);
}

// Calls into the Application come last in each case: a handler may
// unload the form and with it this window.
LRESULT FormWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  app::Application& application = app::Application::current();
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_DRAWITEM:
      drawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_SYSCOLORCHANGE:
      // The system colours' brushes are made anew.
      brushes_.clear();
      // The common controls hear of it only from their top-level window.
      EnumChildWindows(hwnd_, tellColoursChanged, 0);
      RedrawWindow(hwnd_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      return 0;
    case WM_DPICHANGED:
      // The new density comes with the message: the window may not have it yet.
      densityChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return controlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      // Keep the focus on the control that had it, as dialogs do.
      if (LOWORD(wParam) == WA_INACTIVE)
        keepFocus();
      else if (giveFocusBack())
        return 0;
      break;
    case DM_GETDEFID: {
      // No default button: Enter presses the focused push button, as Space does.
      HWND focus = GetFocus();
      const auto code =
          focus != nullptr && IsChild(hwnd_, focus) ? SendMessageW(focus, WM_GETDLGCODE, 0, 0) : 0;
      if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
        return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
      return 0;
    }
    case WM_COMMAND:
      command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEMOVE:
      mouseMoved(wParam, lParam);
      return 0;
    case WM_CLOSE:
      application.closeRequested(form_, app::UnloadMode::ControlMenu);
      return 0;
    case WM_QUERYENDSESSION:
      // Never hold the session up: ending it is the point of the program.
      application.closeRequested(form_, app::UnloadMode::AppWindows);
      return TRUE;
    default:
      if (message == taskbarCreated && taskbarCreated != 0) {
        entries_.restoreTrayIcon(hwnd_);
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void FormWindow::command(int id, int code) {
  const auto& controls = form_.layout().controls;
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(controls.size()))
    return;
  const app::ControlLayout& layout = controls[static_cast<std::size_t>(index)];
  app::Application& application = app::Application::current();
  if (layout.kind == app::ControlKind::TextBox) {
    if (code != EN_CHANGE || settingState_)
      return;
    application.edited(form_, layout.name, narrow(windowText(windows_.at(layout.name))));
  } else if (code == BN_CLICKED &&
             !(layout.kind == app::ControlKind::OptionButton && optionTakingFocus())) {
    // also STN_CLICKED and menu commands
    application.click(form_, layout.name);
  }
}

// The tray's callback arrives as a mouse move whose lParam is the mouse
// message; report it as the X the form would see, in twips.
void FormWindow::mouseMoved(WPARAM wParam, LPARAM lParam) {
  const auto low = static_cast<unsigned>(lParam) & 0xFFFF;
  const auto high = (static_cast<unsigned>(lParam) >> 16) & 0xFFFF;
  const bool fromTray = high == 0 && low >= WM_MOUSEFIRST && low <= WM_MOUSELAST;
  if (fromTray) {
    app::Application::current().mouseMove(
        form_, 0, 0, app::trayCallbackX(static_cast<app::Long>(low), twipsPerPixel()), 0);
    return;
  }
  const app::Integer button =
      app::mouseButtons(wParam & MK_LBUTTON, wParam & MK_RBUTTON, wParam & MK_MBUTTON);
  const app::Integer shift =
      app::shiftKeys(wParam & MK_SHIFT, wParam & MK_CONTROL, GetKeyState(VK_MENU) < 0);
  app::Application::current().mouseMove(form_, button, shift,
                                        app::toTwips(static_cast<short>(low), twipsPerPixel()),
                                        app::toTwips(static_cast<short>(high), twipsPerPixel()));
}

}  // namespace win32
