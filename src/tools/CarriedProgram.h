#pragma once
// The calculator and clock travel inside Mirven.exe as resources of type
// "EXE". They are written to the user's own program folder, never to the
// system's, rewritten only when missing or different (a running copy is
// left alone and started again), and started from there.
#include <string>

namespace tools {

// %LOCALAPPDATA%\Mirven, created when missing; empty when there is none.
std::string CarriedProgramFolder();

// Writes resource `id` as `fileName` there and starts it; every failure is
// told to the user. True when the program was started.
bool StartCarriedProgram(int id, const std::string& fileName);

}  // namespace tools
