#include "app/form.h"

#include <utility>

#include "app/application.h"
#include "app/runtime_error.h"
#include "app/twips.h"

namespace app {

Form::Form(const FormLayout& layout) : layout_(&layout) {
  Application::current().registerForm(*this);
}

Form::~Form() {
  Application::current().forgetForm(*this);
}

void Form::Load() {
  if (loaded_ || loading_)
    return;
  loading_ = true;
  Platform& platform = Application::current().platform();
  controls_.clear();
  controls_.reserve(layout_->controls.size());
  for (const auto& c : layout_->controls) controls_.emplace_back(*this, c);
  enabled_ = true;
  visible_ = false;
  backColor_ = layout_->backColor;
  picture_ = layout_->picture.empty() ? nullptr : platform.builtinPicture(layout_->picture);
  icon_ = layout_->icon.empty() ? nullptr : platform.builtinPicture(layout_->icon);
  peer_ = platform.createWindow(*this);
  loaded_ = true;
  loading_ = false;
  platform.timersChanged();

  Event load{EventKind::Load, {}};
  raise(load);
}

void Form::Show() {
  Load();
  visible_ = true;
  peer_->show();
}

// A hidden window with a taskbar button can be reached again only from a
// tray icon; without one it goes to the taskbar instead.
void Form::Hide() {
  Load();
  visible_ = false;
  if (layout_->showInTaskbar &&
      !(inTray() && Application::current().platform().entries().showsTrayIcons()))
    peer_->minimize();
  else
    peer_->hide();
}

bool Form::Unload(Integer unloadMode) {
  if (!loaded_)
    return true;
  Application& app = Application::current();
  Event query{EventKind::QueryUnload, {}};
  query.unloadMode = unloadMode;
  raise(query);
  if (query.cancel != 0 || !loaded_)
    return false;
  Event unload{EventKind::Unload, {}};
  raise(unload);
  if (unload.cancel != 0 || !loaded_)
    return false;

  peer_.reset();
  askedSize_.reset();
  controls_.clear();
  picture_.reset();
  icon_.reset();
  loaded_ = false;
  visible_ = false;
  app.platform().timersChanged();
  return true;
}

Boolean Form::Enabled() {
  Load();
  return toBoolean(enabled_);
}

void Form::setEnabled(Boolean enabled) {
  Load();
  enabled_ = enabled != False;
  peer_->setEnabled(enabled_);
}

Single Form::twipsPerPixel() const {
  return peer_ ? peer_->twipsPerPixel() : kDefaultTwipsPerPixel;
}

Single Form::Width() {
  Load();
  return toTwips(peer_->outerWidth(), twipsPerPixel());
}

Single Form::Height() {
  Load();
  return toTwips(peer_->outerHeight(), twipsPerPixel());
}

void Form::setWidth(Single width) {
  Load();
  askSize(width, std::nullopt);
}

void Form::setHeight(Single height) {
  Load();
  askSize(std::nullopt, height);
}

// Kept in twips: the window may move to a display of another scale
// between two steps.
void Form::askSize(std::optional<Single> width, std::optional<Single> height) {
  const auto [askedWidth, askedHeight] = askedSize_.value_or(std::pair{Width(), Height()});
  askedSize_ = {width.value_or(askedWidth), height.value_or(askedHeight)};
  const Single tpp = twipsPerPixel();
  peer_->setOuterSize(toPixels(askedSize_->first, tpp), toPixels(askedSize_->second, tpp));
}

Picture Form::picture() {
  Load();
  return picture_;
}

void Form::setPicture(Picture picture) {
  Load();
  picture_ = std::move(picture);
  peer_->setPicture(picture_);
}

Colour Form::BackColor() {
  Load();
  return backColor_;
}

void Form::setBackColor(Colour colour) {
  Load();
  backColor_ = colour;
  peer_->setBackColor(colour);
}

Long Form::hWnd() {
  Load();
  return peer_->handle();
}

Picture Form::Icon() {
  Load();
  return icon_;
}

Control& Form::control(std::string_view name) {
  Load();
  for (auto& c : controls_)
    if (c.name() == name)
      return c;
  throw RuntimeError::invalidCall();
}

Control* Form::findLoaded(std::string_view name) {
  for (auto& c : controls_)
    if (c.name() == name)
      return &c;
  return nullptr;
}

}  // namespace app
