#pragma once
// Mirven.exe with arguments: a run without any window, message box or
// update check, for scripts, schedules and many PCs.
namespace cli {

// Whether the command line carries arguments after the program's name.
bool HasArguments(const wchar_t* commandLine);
// Runs the command line; returns the exit code.
int RunCommandLine(const wchar_t* commandLine);

}  // namespace cli
