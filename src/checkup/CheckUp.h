#pragma once
// The check-up of the check-up page: its texts, the states of its second
// button, and the run itself (measure the four folders, walk them with
// progress, read the computer profile), written over the cleanup page's
// walks so that both pages walk folders with one piece of code.
#include <chrono>
#include <cstdint>
#include <string>

#include "base/DirectoryLister.h"
#include "checkup/SystemProfile.h"
#include "cleanup/ScanWalk.h"

namespace checkup {

extern const char kHeadline[];  // " 开始体检您的电脑，全面检测电脑的软硬件信息！"
extern const char kChecking[];      // "检测中......"
extern const char kHardwareDone[];  // "电脑硬件检测完毕！"
extern const char kNoProblems[];    // "您的电脑没有垃圾冗余等问题，无需清理！"
extern const char kStopCaption[];   // "停止"
extern const char kCleanCaption[];  // "立即清理"
extern const char kAgainCaption[];  // "重新体检"

// The four folders, in the order they are walked.
enum FolderIndex : int {
  kProfile = 0,
  kInternetCache = 1,
  kCookies = 2,
  kHistory = 3,
  kFolderCount = 4
};
// The headline while folder `stage` is walked; stage 4 is the hardware.
std::string StageText(int stage);
// The line for a folder that holds something ("" for the profile).
const char* FolderLine(int folder);

// Progress in KB scaled down so that the range fits a progress bar's
// 32-bit signed range however large the total.
class ProgressScale {
 public:
  explicit ProgressScale(uint64_t totalKB);
  int Range() const { return Units(total_); }
  int Position(uint64_t doneKB) const { return Units(doneKB < total_ ? doneKB : total_); }

 private:
  int Units(uint64_t kb) const { return static_cast<int>(kb >> shift_); }
  uint64_t total_;
  int shift_ = 0;
};

// The second button (1084) and what a click on it does.
class CheckUpFlow {
 public:
  enum class State { kFresh, kChecking, kDoneClean, kDoneJunk, kStopped };
  enum class Action { kNone, kStart, kStop, kGoClean };

  State Current() const { return state_; }
  bool Running() const { return state_ == State::kChecking; }
  // What a click on the button means now.
  Action ClickAction() const;
  // "" while hidden, then "停止", "立即清理" or "重新体检".
  std::string Caption() const;

  // False while a check-up runs (the start is then ignored).
  bool Start();
  void Finish(bool junkFound);
  // A stop, or the hand-over to the cleanup page; the list is emptied.
  void Stop();

 private:
  State state_ = State::kFresh;
  bool stopped_ = false;
};

// What the run tells the page, on the run's thread.
class CheckUpListener {
 public:
  virtual ~CheckUpListener() = default;
  virtual void Stage(int stage) = 0;
  virtual void Range(uint64_t totalKB) = 0;
  virtual void Progress(uint64_t doneKB) = 0;
  virtual void Line(const std::string& line) = 0;
  virtual void ProfileRead(const Profile& profile) = 0;
};

struct CheckUpFolders {
  std::string path[kFolderCount];
};

struct CheckUpResult {
  uint64_t folderKB[kFolderCount] = {};
  uint64_t totalKB = 0, doneKB = 0;
  bool junkFound = false;
  bool stopped = false;
};

// Measures the folders, walks them in order with their lines, reads the
// profile and adds the closing lines. A stop ends the walks at once; the
// profile is still read. The profile folder holds the other three, so their
// files count twice, as the page always counted them.
CheckUpResult RunCheckUp(base::DirectoryLister& lister, const CheckUpFolders& folders,
                         cleanup::ScanControl& control, SystemProbe& probe,
                         CheckUpListener& listener,
                         std::chrono::milliseconds progressPeriod = std::chrono::milliseconds(50));

}  // namespace checkup
