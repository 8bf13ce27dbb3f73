// A loaded form's top-level window: its controls, menu bar, background
// picture and the user actions it reports to the Application.
#pragma once

#include "platform/win32/windows_api.h"

#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "app/form.h"
#include "app/platform.h"
#include "platform/win32/handles.h"

namespace win32 {

class Canvas;
class IconPicture;
class SystemEntries;

inline constexpr wchar_t kFormClass[] = L"TavimoForm";

class FormWindow : public app::WindowPeer {
 public:
  FormWindow(app::Form& form, SystemEntries& entries);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  static void registerClass(HINSTANCE instance);

  app::Long handle() const override;
  app::Single twipsPerPixel() const override;
  void show() override;
  void hide() override;
  void minimize() override;
  void setEnabled(bool enabled) override;
  void setOuterSize(int width, int height) override;
  int outerWidth() const override;
  int outerHeight() const override;
  void setPicture(const app::Picture& picture) override;
  void setBackColor(app::Colour colour) override;
  void controlChanged(const app::Control& control) override;

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void createControls();
  // Sizes the window for its client area at its density, keeping its
  // centre at (centreX, centreY).
  void fitClientArea(int centreX, int centreY);
  void densityChanged(UINT dpi, const RECT& suggested);
  void markOptionStops();
  // The control with the focus, kept while the window is inactive or
  // disabled and given back after; false when there is none.
  void keepFocus();
  bool giveFocusBack();
  void setIcon();
  // The form's background, picture and lines, drawn with the client area's
  // origin at (-originX, -originY) of dc: also under transparent labels.
  void paintBackground(HDC dc, int originX, int originY);
  // The picture at its natural size scaled to the density, in pixels.
  SIZE pictureSize() const;
  // No pixel of the picture or of a label may turn see-through by
  // matching a colour key.
  void keepOffColourKey(Canvas& canvas, int originX, int originY) const;
  void paint();
  void drawLabel(const DRAWITEMSTRUCT& item);
  LRESULT controlColours(HDC dc, HWND control);
  HBRUSH brush(app::Colour colour);
  const app::Control* controlOf(HWND hwnd) const;
  void command(int id, int code);
  void mouseMoved(WPARAM wParam, LPARAM lParam);

  app::Form& form_;
  SystemEntries& entries_;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  app::Colour backColor_;
  app::Picture picture_;
  std::map<std::string_view, HWND> windows_;                    // controls that have one
  std::map<std::string_view, std::vector<HWND>> optionGroups_;  // by container, in tab order
  std::map<app::Colour, GdiObject<HBRUSH>> brushes_;
  std::unique_ptr<IconPicture> densityIcons_;  // on a monitor of another density
  HWND focus_ = nullptr;
  bool shown_ = false;
  bool settingState_ = false;  // a change from the program, not the user
};

}  // namespace win32
