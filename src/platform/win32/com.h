// COM on the program's one thread. ole32, and the libraries it brings, are
// loaded when first needed rather than at start-up: the splash uses no COM,
// and loading them delays its showing.
#pragma once

#include "platform/win32/windows_api.h"

namespace win32 {

// Joins the thread to a single-threaded apartment, once; false without COM.
bool enterApartment();
// A new object of an in-process server, made in that apartment.
HRESULT createInstance(REFCLSID clsid, REFIID iid, void** object);

}  // namespace win32
