#include "platform/win32/form_window.h"

#include <algorithm>

#include "app/application.h"
#include "app/twips.h"
#include "platform/win32/colours.h"
#include "platform/win32/form_controls.h"
#include "platform/win32/handles.h"
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

}  // namespace

void FormWindow::registerClass(HINSTANCE instance) {
  registerWindowClass(instance, windowProc, kFormClass);
  registerFrameClass(instance);
}

FormWindow::FormWindow(app::Form& form, SystemEntries& entries)
    : form_(form), entries_(entries), backColor_(form.BackColor()), picture_(form.picture()) {
  const app::FormLayout& layout = form.layout();
  const Styles s = stylesOf(layout);
  HMENU menu = createMenuBar(layout);
  RECT r{0, 0, app::toPixels(layout.clientWidth, twipsPerPixel()),
         app::toPixels(layout.clientHeight, twipsPerPixel())};
  AdjustWindowRectEx(&r, s.style, menu != nullptr, s.exStyle);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  hwnd_ = CreateWindowExW(s.exStyle, kFormClass, widen(layout.caption).c_str(), s.style, x, y,
                          width, height, nullptr, menu, GetModuleHandleW(nullptr), this);
  fitClientArea();
  setIcon();
  createControls();
}

FormWindow::~FormWindow() {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
  for (auto& [colour, b] : brushes_) DeleteObject(b);
}

// A menu bar that wraps, or a theme's borders, can leave the client area
// off its stored size; correct the outer size by the difference.
void FormWindow::fitClientArea() {
  const app::FormLayout& layout = form_.layout();
  RECT client, outer;
  GetClientRect(hwnd_, &client);
  GetWindowRect(hwnd_, &outer);
  const int dx = app::toPixels(layout.clientWidth, twipsPerPixel()) - client.right;
  const int dy = app::toPixels(layout.clientHeight, twipsPerPixel()) - client.bottom;
  if (dx == 0 && dy == 0)
    return;
  const int width = outer.right - outer.left + dx;
  const int height = outer.bottom - outer.top + dy;
  SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::setIcon() {
  auto icon = std::dynamic_pointer_cast<const IconPicture>(form_.Icon());
  if (!icon)
    return;
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon->small()));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon->large()));
}

// Created in tab order, so the window order is the tab order.
void FormWindow::createControls() {
  const app::FormLayout& layout = form_.layout();
  for (const app::ControlLayout* l : app::tabOrder(layout)) {
    const auto i = static_cast<std::size_t>(l - layout.controls.data());
    const app::Control& c = form_.controls()[i];
    auto container = windows_.find(c.layout().container);
    HWND parent = container != windows_.end() ? container->second : hwnd_;
    HWND child = createControlWindow(c, parent, kFirstControlId + static_cast<int>(i),
                                     controlFont(c.layout()), twipsPerPixel());
    if (child != nullptr)
      windows_.emplace(c.name(), child);
  }
}

app::Long FormWindow::handle() const {
  return toLong(hwnd_);
}

app::Single FormWindow::twipsPerPixel() const {
  return app::kDefaultTwipsPerPixel;
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

void FormWindow::setEnabled(bool enabled) {
  EnableWindow(hwnd_, enabled ? TRUE : FALSE);
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
  wchar_t current[1024];
  GetWindowTextW(hwnd, current, 1024);
  if (text != current)
    SetWindowTextW(hwnd, text.c_str());
  if (control.kind() == app::ControlKind::OptionButton)
    SendMessageW(hwnd, BM_SETCHECK, control.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
  EnableWindow(hwnd, control.Enabled() ? TRUE : FALSE);
  settingState_ = false;
}

HBRUSH FormWindow::brush(app::Colour colour) {
  auto found = brushes_.find(colour);
  if (found != brushes_.end())
    return found->second;
  HBRUSH b = CreateSolidBrush(toColorRef(colour));
  brushes_.emplace(colour, b);
  return b;
}

const app::Control* FormWindow::controlOf(HWND hwnd) const {
  for (const auto& [name, window] : windows_)
    if (window == hwnd)
      return form_.findLoaded(name);
  return nullptr;
}

void FormWindow::paintBackground(HDC dc, int originX, int originY) {
  RECT client;
  GetClientRect(hwnd_, &client);
  OffsetRect(&client, -originX, -originY);
  FillRect(dc, &client, brush(backColor_));
  // Drawn once at its natural size from the top-left corner, clipped.
  if (auto bitmap = std::dynamic_pointer_cast<const BitmapPicture>(picture_)) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, bitmap->bitmap());
    BitBlt(dc, -originX, -originY, bitmap->widthPixels(), bitmap->heightPixels(), memory, 0, 0,
           SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  for (const auto& c : form_.layout().controls) {
    if (c.kind != app::ControlKind::Line)
      continue;
    const app::Single scale = twipsPerPixel();
    MoveToEx(dc, app::toPixels(c.x1, scale) - originX, app::toPixels(c.y1, scale) - originY,
             nullptr);
    LineTo(dc, app::toPixels(c.x2, scale) - originX, app::toPixels(c.y2, scale) - originY);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

LRESULT FormWindow::controlColours(HDC dc, HWND hwnd) {
  const app::Control* control = controlOf(hwnd);
  if (control == nullptr)
    return reinterpret_cast<LRESULT>(brush(backColor_));
  const app::ControlLayout& l = control->layout();
  if (l.foreColor)
    SetTextColor(dc, toColorRef(*l.foreColor));
  if (l.kind == app::ControlKind::TextBox)
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  if (l.transparent) {
    // The label draws no background: put the form's own under its text.
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    paintBackground(dc, r.left, r.top);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
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
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      paintBackground(dc, 0, 0);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return controlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      // Keep the focus on the control that had it, as dialogs do.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus))
          focus_ = focus;
      } else if (focus_ != nullptr && IsWindow(focus_)) {
        SetFocus(focus_);
        return 0;
      }
      break;
    case WM_COMMAND:
      command(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEMOVE:
      mouseMoved(wParam, lParam);
      return 0;
    case WM_CLOSE:
      application.closeRequested(form_, 0);
      return 0;
    case WM_QUERYENDSESSION:
      // Never hold the session up: ending it is the point of the program.
      application.closeRequested(form_, 2);
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
    HWND edit = windows_.at(layout.name);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    application.edited(form_, layout.name, narrow(text));
  } else if (code == BN_CLICKED) {  // also STN_CLICKED and menu commands
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
