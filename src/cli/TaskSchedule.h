#pragma once
// Registers or removes the user's one scheduled clean through the Task
// Scheduler's COM interface, from the task's XML: no command line to quote
// for schtasks.exe and no length limit on the program's path.
#include <string>

namespace cli {

// "" when done, else the reason in Chinese. An empty `xml` removes the
// task (a task that is not there is removed already).
std::string ApplySchedule(const std::string& taskName, const std::string& xml);

}  // namespace cli
