#pragma once
// The entry points that open each tool. Every call opens a further,
// independent window; it frees itself when it is destroyed.
#include <windows.h>

#include <string>

#include "tools/TimeOfDay.h"
#include "ui/Effects.h"

namespace tools {

void OpenShutdown();
void OpenAlarm();
void OpenDefrag();
void OpenTax();
void OpenEmail();
// Write out (when missing or changed) and start the carried programs.
void StartCalculator();
void StartClock();
// What a click on a toolkit tile does (the codes of TilePages.h).
void OpenTool(int code);

// Restart or power off now; a refused request is told to the user.
// True when the system accepted it.
bool RequestPower(HWND owner, ui::PowerAction action);

// The local time of the effects in force.
ClockTime LocalClock();
// Tells the user something from a tool, with the program's caption.
void Tell(HWND owner, const std::string& text, UINT icon = MB_ICONWARNING);

}  // namespace tools
