// Checks that report and count failures and let the scenario go on.
#pragma once

#include <string>

namespace driver {

int& failures();
// Counts and prints a failed check; false.
bool fail(const char* file, int line, const char* condition, const std::wstring& what);

// The condition is evaluated once (it may copy or move a file), what only
// when it fails.
#define CHECK(condition, what) \
  ((condition) ? true : ::driver::fail(__FILE__, __LINE__, #condition, what))

// Stops the scenario when what follows cannot run without it.
#define REQUIRE(condition, what) \
  do {                           \
    if (!CHECK(condition, what)) \
      return;                    \
  } while (0)

}  // namespace driver
