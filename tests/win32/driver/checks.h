// Checks that report and count failures and let the scenario go on.
#pragma once

#include <cstdio>
#include <string>

#include "platform/win32/text.h"

namespace driver {

int& failures();

#define CHECK(condition, what)                                             \
  do {                                                                     \
    if (!(condition)) {                                                    \
      ++::driver::failures();                                              \
      std::printf("FAIL %s:%d: %s (%s)\n", __FILE__, __LINE__, #condition, \
                  ::win32::narrow(what).c_str());                          \
    }                                                                      \
  } while (0)

// Stops the scenario when what follows cannot run without it.
#define REQUIRE(condition, what) \
  do {                           \
    CHECK(condition, what);      \
    if (!(condition))            \
      return;                    \
  } while (0)

}  // namespace driver
