// Window and GDI handles as the program's 32-bit values. Windows keeps
// handles within 32 bits even in 64-bit processes.
#pragma once

#include "platform/win32/windows_api.h"

#include <cstdint>

#include "app/basic_types.h"

namespace win32 {

template <class H>
app::Long toLong(H handle) {
  return static_cast<app::Long>(reinterpret_cast<std::intptr_t>(handle));
}

template <class H>
H fromLong(app::Long value) {
  return reinterpret_cast<H>(static_cast<std::intptr_t>(value));
}

}  // namespace win32
