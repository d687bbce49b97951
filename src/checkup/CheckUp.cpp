#include "checkup/CheckUp.h"

#include <climits>

#include "cleanup/CleanupText.h"

namespace checkup {

const char kHeadline[] = " 开始体检您的电脑，全面检测电脑的软硬件信息！";
const char kChecking[] = "检测中......";
const char kHardwareDone[] = "电脑硬件检测完毕！";
const char kNoProblems[] = "您的电脑没有垃圾冗余等问题，无需清理！";
const char kStopCaption[] = "停止";
const char kCleanCaption[] = "立即清理";
const char kAgainCaption[] = "重新体检";

std::string StageText(int stage) {
  static const char* const steps[] = {"用户目录", "垃圾文件", "Cookies", "上网历史信息",
                                      "电脑硬件信息"};
  std::string text = "正在体检：";
  for (int k = 0; k <= stage && k < 5; ++k) {
    if (k) text += "-->";
    text += steps[k];
  }
  return text;
}

const char* FolderLine(int folder) {
  switch (folder) {
    case kInternetCache: return "存在垃圾文件";
    case kCookies: return "存在Cookie文件";
    case kHistory: return "存在上网历史记录等信息";
    default: return "";
  }
}

ProgressScale::ProgressScale(uint64_t totalKB) : total_(totalKB) {
  while ((total_ >> shift_) > static_cast<uint64_t>(INT_MAX)) ++shift_;
}

CheckUpFlow::Action CheckUpFlow::ClickAction() const {
  switch (state_) {
    case State::kChecking: return Action::kStop;
    case State::kDoneJunk: return Action::kGoClean;
    case State::kDoneClean:
    case State::kStopped: return Action::kStart;
    default: return Action::kNone;
  }
}

std::string CheckUpFlow::Caption() const {
  switch (state_) {
    case State::kFresh: return "";
    case State::kDoneJunk: return kCleanCaption;
    case State::kStopped: return kAgainCaption;
    default: return kStopCaption;
  }
}

bool CheckUpFlow::Start() {
  if (state_ == State::kChecking) return false;
  state_ = State::kChecking;
  return true;
}

void CheckUpFlow::Finish(bool junkFound) {
  if (state_ == State::kChecking) state_ = junkFound ? State::kDoneJunk : State::kDoneClean;
}

void CheckUpFlow::Stop() { state_ = State::kStopped; }

CheckUpResult RunCheckUp(base::DirectoryLister& lister, const CheckUpFolders& folders,
                         cleanup::ScanControl& control, SystemProbe& probe,
                         CheckUpListener& listener, std::chrono::milliseconds progressPeriod) {
  using Clock = std::chrono::steady_clock;
  CheckUpResult r;
  listener.Stage(kProfile);
  for (int k = 0; k < kFolderCount; ++k) {
    r.folderKB[k] = cleanup::FolderSizeKB(lister, folders.path[k], &control);
    r.totalKB += r.folderKB[k];
  }
  listener.Range(r.totalKB);

  static const cleanup::JunkPatterns kNoPatterns;
  Clock::time_point last = Clock::now();
  unsigned files = 0;
  for (int k = 0; k < kFolderCount; ++k) {
    if (k) listener.Stage(k);
    if (!control.Stopped() && !folders.path[k].empty()) {
      cleanup::ScanWalk walk(lister, kNoPatterns, control);
      uint64_t before = r.doneKB;
      walk.Run(folders.path[k], [&](const std::string&, const base::DirEntry& e, bool) {
        r.doneKB += cleanup::SizeKB(e.size);
        // The clock is asked every few files only: it is not free everywhere.
        if (++files % 16) return;
        Clock::time_point now = Clock::now();
        if (now - last >= progressPeriod) {
          last = now;
          listener.Progress(r.doneKB);
        }
      });
      r.doneKB = before + walk.scannedKB();
      listener.Progress(r.doneKB);
    }
    if (k != kProfile && r.folderKB[k] != 0) listener.Line(FolderLine(k));
  }
  r.stopped = control.Stopped();

  listener.Stage(4);
  listener.ProfileRead(ReadProfile(probe));
  listener.Line(kHardwareDone);
  r.junkFound = r.folderKB[kInternetCache] || r.folderKB[kCookies] || r.folderKB[kHistory];
  if (!r.junkFound) listener.Line(kNoProblems);
  return r;
}

}  // namespace checkup
