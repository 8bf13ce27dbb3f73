// An entry of a system library, found at run time: for entries that older
// systems lack, and for libraries that only some runs need, so start-up
// does not load them. Null where the library or the entry is missing.
#pragma once

#include "platform/win32/windows_api.h"

namespace win32 {

template <class F>
F libraryEntry(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (module == nullptr)
    module = LoadLibraryW(library);
  if (module == nullptr)
    return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace win32
