// The Windows headers, included after the core's basic types: <windows.h>
// defines an RGB macro that would otherwise rewrite app::RGB.
#pragma once

// clang-format off
#include "app/basic_types.h"
#include <windows.h>
#include <shellapi.h>
#include <objbase.h>
// clang-format on
