// Desktop notifications on the session bus: Linux desktops do not announce
// a scheduled shutdown themselves.
#pragma once

#include <QString>

namespace qtui {

class DesktopNotifier {
 public:
  // Fire and forget: no notification daemon is no reason to fail.
  void notify(const QString& body);
};

}  // namespace qtui
