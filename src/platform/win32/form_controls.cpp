#include "platform/win32/form_controls.h"

#include <oleacc.h>

#include <map>
#include <string>

#include "app/twips.h"
#include "platform/win32/colours.h"
#include "platform/win32/handles.h"
#include "platform/win32/role_accessible.h"
#include "platform/win32/text.h"

namespace win32 {

namespace {

// What the program's own control classes share: a font kept as statics
// keep it, drawn again when their text or state changes, and a screen
// reader told the role they stand for.
LRESULT ownClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, AccessibleRole role) {
  switch (message) {
    case WM_SETTEXT:
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_SETFONT:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam))
        InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      forgetRole(hwnd);
      break;
    case WM_NCDESTROY:
      forgetRole(hwnd);
      break;
    case WM_GETOBJECT:
      if (const LRESULT answer = roleAccessible(hwnd, wParam, lParam, role))
        return answer;
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Frames are drawn here and hand their children's notifications up to
// the form, which owns every control's behaviour and colours.
LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const PaintDc paint(hwnd);
      HDC dc = paint;
      RECT r;
      GetClientRect(hwnd, &r);
      // The form answers with the frame's own background brush.
      auto brush = reinterpret_cast<HBRUSH>(
          SendMessageW(GetAncestor(hwnd, GA_ROOT), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(hwnd)));
      FillRect(dc, &r, brush);
      const Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
      const std::wstring caption = windowText(hwnd);
      const int length = static_cast<int>(caption.size());
      SIZE extent{};
      GetTextExtentPoint32W(dc, caption.c_str(), length, &extent);
      RECT edge = r;
      edge.top = extent.cy / 2;
      DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
      if (length > 0) {
        RECT text{7, 0, 7 + extent.cx + 2, extent.cy};
        FillRect(dc, &text, brush);
        SetBkMode(dc, TRANSPARENT);
        TextOutW(dc, 8, 0, caption.c_str(), length);
      }
      return 0;
    }
    default:
      return ownClassProc(hwnd, message, wParam, lParam, {ROLE_SYSTEM_GROUPING, 0});
  }
}

// Labels are drawn by their form, over its picture or in their colours,
// and report a click as statics do. Not the system's static class: that
// would load the common controls before the splash can show.
LRESULT CALLBACK labelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const PaintDc paint(hwnd);
      DRAWITEMSTRUCT item{};
      item.CtlType = ODT_STATIC;
      item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
      item.itemAction = ODA_DRAWENTIRE;
      item.hwndItem = hwnd;
      item.hDC = paint;
      GetClientRect(hwnd, &item.rcItem);
      SendMessageW(GetParent(hwnd), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A double click is one click and a double click, as statics tell it.
      SendMessageW(
          GetParent(hwnd), WM_COMMAND,
          MAKEWPARAM(GetDlgCtrlID(hwnd), message == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK),
          reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    default:
      return ownClassProc(hwnd, message, wParam, lParam,
                          {ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY});
  }
}

bool optionFocusing = false;
WNDPROC buttonProc = nullptr;

// Option buttons as in a dialog: the arrow keys move to the group's next
// option and click it, as the mouse would. The focus alone selects
// nothing, although a button reports it as a click.
LRESULT CALLBACK optionProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return CallWindowProcW(buttonProc, hwnd, message, wParam, lParam) | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_LEFT || wParam == VK_RIGHT) {
        const BOOL previous = wParam == VK_UP || wParam == VK_LEFT;
        HWND next = GetNextDlgGroupItem(GetParent(hwnd), hwnd, previous);
        if (next != nullptr && next != hwnd) {
          SetFocus(next);
          SendMessageW(next, BM_CLICK, 0, 0);
        }
        return 0;
      }
      break;
    case WM_SETFOCUS: {
      optionFocusing = true;
      const LRESULT result = CallWindowProcW(buttonProc, hwnd, message, wParam, lParam);
      optionFocusing = false;
      return result;
    }
    default:
      break;
  }
  return CallWindowProcW(buttonProc, hwnd, message, wParam, lParam);
}

}  // namespace

bool optionTakingFocus() {
  return optionFocusing;
}

void registerWindowClass(HINSTANCE instance, WNDPROC procedure, const wchar_t* name, UINT style) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

void registerControlClasses(HINSTANCE instance) {
  registerWindowClass(instance, frameProc, kFrameClass);
  registerWindowClass(instance, labelProc, kLabelClass, CS_DBLCLKS);
}

std::wstring windowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

HFONT controlFont(const app::ControlLayout& layout, app::Single twipsPerPixel) {
  static std::map<std::wstring, HFONT> fonts;
  const app::FontSpec wanted =
      layout.font.value_or(app::FontSpec{.face = "SimSun", .charset = 134});
  // A point is 20 twips.
  const int height = -app::toPixels(wanted.points * 20.0, twipsPerPixel);
  std::wstring face = widen(wanted.face);
  // std::to_string, unlike std::to_wstring, formats without printf.
  const std::wstring key = face + L'/' + widen(std::to_string(height)) + (wanted.bold ? L"b" : L"");
  auto found = fonts.find(key);
  if (found != fonts.end())
    return found->second;
  HFONT font = CreateFontW(height, 0, 0, 0, wanted.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           static_cast<DWORD>(wanted.charset), OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
  fonts.emplace(key, font);
  return font;
}

void placeControl(HWND hwnd, const app::ControlLayout& layout, app::Single twipsPerPixel) {
  const app::PixelRect r = app::toPixels(layout, twipsPerPixel);
  MoveWindow(hwnd, r.left, r.top, r.width, r.height, TRUE);
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(controlFont(layout, twipsPerPixel)),
               TRUE);
}

HWND createControlWindow(const app::Control& control, HWND parent, int id,
                         app::Single twipsPerPixel) {
  const app::ControlLayout& l = control.layout();
  const wchar_t* windowClass = nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD exStyle = 0;
  switch (l.kind) {
    case app::ControlKind::Button:
      windowClass = L"BUTTON";
      // Captions too wide for a button wrap, as the form designer shows them.
      style |= BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP;
      break;
    case app::ControlKind::OptionButton:
      // The runtime selects options itself; the form sets their stops.
      windowClass = L"BUTTON";
      style |= BS_RADIOBUTTON;
      break;
    case app::ControlKind::TextBox:
      windowClass = L"EDIT";
      style |= ES_AUTOHSCROLL | WS_TABSTOP;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case app::ControlKind::Label:
      // Not painted over the controls that lie on it (its form puts it beneath them).
      windowClass = kLabelClass;
      style |= WS_CLIPSIBLINGS;
      break;
    case app::ControlKind::Frame:
      windowClass = kFrameClass;
      style |= WS_CLIPCHILDREN;
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    case app::ControlKind::Line:
    case app::ControlKind::Timer:
    case app::ControlKind::MenuItem:
      return nullptr;
  }
  HWND hwnd = CreateWindowExW(exStyle, windowClass, widen(control.Text()).c_str(), style, 0, 0, 0,
                              0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
  if (hwnd == nullptr)
    return nullptr;
  if (l.kind == app::ControlKind::OptionButton) {
    const auto previous =
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(optionProc));
    buttonProc = reinterpret_cast<WNDPROC>(previous);
  }
  placeControl(hwnd, l, twipsPerPixel);
  if (!control.Enabled())
    EnableWindow(hwnd, FALSE);
  return hwnd;
}

}  // namespace win32
