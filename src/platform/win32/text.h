// UTF-8 inside the program, UTF-16 at every Windows call.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace win32
