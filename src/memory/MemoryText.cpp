#include "memory/MemoryText.h"

namespace memory {

Figures MakeFigures(unsigned load, uint64_t totalBytes, uint64_t availBytes) {
  Figures f;
  f.percent = static_cast<int>(load);
  f.totalMB = static_cast<int64_t>(totalBytes >> 20);
  f.usedMB = f.totalMB - static_cast<int64_t>(availBytes >> 20);
  return f;
}

std::string PercentText(int percent) { return std::to_string(percent) + "%"; }

std::string MBText(int64_t mb) { return std::to_string(mb) + "MB"; }

std::string LevelMessage(int percent) {
  if (percent >= 30 && percent < 50) return "您的电脑内存快接近一半啦，试试加速下哦~";
  if (percent >= 50 && percent < 80) return "您的电脑快跑不动啦，赶快清理来加速吧~";
  if (percent >= 80 && percent <= 100) return "你的电脑已经寸步难行啦，赶紧加速下吧~";
  return "快来清理下内存，加速您的电脑哦~";
}

std::string FreedText(int64_t freedMB) {
  return "本次加速为您清理了" + std::to_string(freedMB) + "MB内存哦~";
}

const SpeedUpPanel::Texts& SpeedUpPanel::Refresh(const Figures& now) {
  usedMB_ = now.usedMB;
  texts_.percent = PercentText(now.percent);
  texts_.used = MBText(now.usedMB);
  texts_.total = MBText(now.totalMB);
  texts_.message = LevelMessage(now.percent);
  return texts_;
}

bool SpeedUpPanel::Begin() {
  if (running_) return false;
  running_ = true;
  before_ = usedMB_;
  return true;
}

const SpeedUpPanel::Texts& SpeedUpPanel::Finish(const Figures& after) {
  running_ = false;
  usedMB_ = after.usedMB;
  texts_.percent = PercentText(after.percent);
  texts_.message = FreedText(before_ - after.usedMB);
  return texts_;
}

}  // namespace memory
