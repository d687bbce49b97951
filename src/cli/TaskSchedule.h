#pragma once
// Registers or removes the user's one scheduled clean with the Task
// Scheduler's COM interface: no command line to quote for schtasks.exe,
// and no length limit on the program's path.
#include <string>

#include "cli/Args.h"

namespace cli {

struct ScheduleRequest {
  Options options;          // repeat, hour and minute
  std::string taskName;     // TaskName of the user
  std::string program;      // full path of Mirven.exe
  std::string reportPath;   // where the scheduled run writes its report
  std::string startBoundary;
  int dayOfWeek = 0;  // of a weekly run, 0 for Sunday
};

// "" when done, else the reason in Chinese.
std::string ApplySchedule(const ScheduleRequest& request);

}  // namespace cli
