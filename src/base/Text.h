#pragma once
// UTF-8 inside the program, UTF-16 only at the Win32 call.
#include <string>
#include <string_view>

namespace base {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

}  // namespace base
