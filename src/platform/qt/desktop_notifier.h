// Desktop notifications on the session bus: Linux desktops do not announce
// a scheduled shutdown themselves.
#pragma once

#include <QString>

namespace qtui {

class DesktopNotifier {
 public:
  // The "urgency" hint as notification daemons read it.
  enum class Urgency : unsigned char { Normal = 1, Critical = 2 };

  // Fire and forget: no notification daemon is no reason to fail.
  void notify(const QString& body, Urgency urgency = Urgency::Normal);
};

}  // namespace qtui
