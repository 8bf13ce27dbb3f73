// The windows of the loaded forms by the handles the program sees.
#pragma once

#include <map>

#include "app/basic_types.h"

namespace qtui {

class FormWindow;

class WindowRegistry {
 public:
  app::Long add(FormWindow* window) {
    next_ += 0x10;
    windows_[next_] = window;
    return next_;
  }
  void remove(app::Long handle) { windows_.erase(handle); }
  FormWindow* find(app::Long handle) const {
    auto it = windows_.find(handle);
    return it == windows_.end() ? nullptr : it->second;
  }

 private:
  std::map<app::Long, FormWindow*> windows_;
  app::Long next_ = 0x10000;
};

}  // namespace qtui
