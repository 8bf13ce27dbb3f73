// An event on its way to a form's handler. Arguments are passed by
// reference: QueryUnload's and Unload's handlers may set cancel.
#pragma once

#include <string_view>

#include "app/basic_types.h"

namespace app {

enum class EventKind { Load, QueryUnload, Unload, MouseMove, Click, Change, Timer };

// Why a form is asked to unload.
namespace UnloadMode {
inline constexpr Integer ControlMenu = 0;  // the close box or the system menu
inline constexpr Integer Code = 1;         // Unload in the program
inline constexpr Integer AppWindows = 2;   // the session is ending
inline constexpr Integer TaskManager = 3;
}  // namespace UnloadMode

struct Event {
  EventKind kind;
  std::string_view control;  // empty for the form's own events
  Integer cancel = 0;
  Integer unloadMode = 0;
  Integer button = 0;
  Integer shift = 0;
  Single x = 0;
  Single y = 0;
};

}  // namespace app
