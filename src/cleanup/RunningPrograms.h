#pragma once
// Which programs of this user are running, for the rule that a browser
// running is left alone (ProgramRunning in CleanItems.h). Behind a seam so
// tests can substitute it.
#include <string>
#include <vector>

namespace cleanup {

class RunningPrograms {
 public:
  virtual ~RunningPrograms() = default;
  // The image names ("msedge.exe") of the processes of this user in this
  // session. A process whose user cannot be read counts as this user's
  // when it runs in this session: a browser is then left alone rather than
  // cleaned while it may run.
  virtual std::vector<std::string> ProcessNames();
};

RunningPrograms& runningPrograms();
RunningPrograms* SetRunningPrograms(RunningPrograms* programs);

}  // namespace cleanup
