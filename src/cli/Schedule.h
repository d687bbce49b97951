#pragma once
// The one scheduled task per user: its name, the command it runs and when.
#include <string>

#include "cli/Args.h"

namespace cli {

// What the task runs after the program's path: a clean of the junk files
// with a report at `reportPath`.
std::string TaskArguments(const std::string& reportPath);
// One task per user, told apart by the user's SID.
std::string TaskName(const std::string& userSid);
// The trigger's first start, local time: "2026-12-08T03:30:00".
std::string StartBoundary(int year, int month, int day, int hour, int minute);
// What /schedule says when it is done.
std::string ScheduleDoneText(const Options& options, int dayOfWeek);

}  // namespace cli
