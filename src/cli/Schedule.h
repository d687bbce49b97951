#pragma once
// The one scheduled task per user: its name, the command it runs, when,
// and the Task Scheduler's XML for it.
#include <string>

#include "cli/Args.h"

namespace cli {

struct TaskPlan {
  Repeat repeat = Repeat::kDaily;
  std::string startBoundary;  // StartBoundary
  int dayOfWeek = 0;          // of a weekly run, 0 for Sunday
  std::string program;        // full path of Mirven.exe
  std::string reportPath;     // where the scheduled run writes its report
};

// What the task runs after the program's path: a clean of the junk files
// with a report at `reportPath`.
std::string TaskArguments(const std::string& reportPath);
// One task per user, told apart by the user's SID.
std::string TaskName(const std::string& userSid);
// The trigger's first start, local time: "2026-12-08T03:30:00".
std::string StartBoundary(int year, int month, int day, int hour, int minute);
// The task's definition: runs as the user who registers it, only while
// that user is logged on, without raised rights; a missed run comes as
// soon as the computer is on again.
std::string TaskXml(const TaskPlan& plan);
// What /schedule says when it is done.
std::string ScheduleDoneText(const Options& options, int dayOfWeek);

}  // namespace cli
