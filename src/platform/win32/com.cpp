#include "platform/win32/com.h"

#include <objbase.h>

#include "platform/win32/library_entry.h"

namespace win32 {

bool enterApartment() {
  static const bool entered = [] {
    const auto initialize =
        libraryEntry<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    // No OLE 1 DDE window: it only costs time.
    return initialize != nullptr &&
           SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }();
  return entered;
}

HRESULT createInstance(REFCLSID clsid, REFIID iid, void** object) {
  *object = nullptr;
  if (!enterApartment())
    return CO_E_NOTINITIALIZED;
  static const auto create =
      libraryEntry<decltype(&::CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
  return create != nullptr ? create(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object)
                           : CO_E_NOTINITIALIZED;
}

}  // namespace win32
