#pragma once

namespace base {

// The version this program announces and compares with the server's.
inline constexpr char kVersion[] = "3.0";
inline constexpr char kProgramName[] = "Mirven电脑助手";

}  // namespace base
