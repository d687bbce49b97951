#pragma once
// What the memory speed-up page shows: the three memory figures, the level
// message for the usage percent and the line after a speed-up.
#include <cstdint>
#include <string>

namespace memory {

// Whole numbers, as the page shows them.
struct Figures {
  int percent = 0;  // memory load, 0-100
  int64_t totalMB = 0;
  int64_t usedMB = 0;
};

// Used MB is the difference of the two amounts each rounded down to whole
// MB, not the rounded difference of the byte counts.
Figures MakeFigures(unsigned load, uint64_t totalBytes, uint64_t availBytes);

std::string PercentText(int percent);  // "45%", no leading zero
std::string MBText(int64_t mb);        // "3172MB"
// The message of control 1093 for a usage percent.
std::string LevelMessage(int percent);
// "本次加速为您清理了215MB内存哦~"; negative and zero as they come.
std::string FreedText(int64_t freedMB);

// The texts of the page, kept between refreshes. A speed-up is measured
// from the used MB of the last refresh (or the last speed-up), not from a
// fresh reading, so two quick clicks measure the second from the first.
class SpeedUpPanel {
 public:
  struct Texts {
    std::string percent, used, total, message;
  };

  // The timer's refresh, and the first one: all four texts.
  const Texts& Refresh(const Figures& now);
  // False while a speed-up runs.
  bool Begin();
  // The speed-up is done and `after` was read. The percent and the result
  // line change now; the used and total texts only at the next refresh.
  const Texts& Finish(const Figures& after);

  bool Running() const { return running_; }
  const Texts& texts() const { return texts_; }

 private:
  Texts texts_;
  int64_t usedMB_ = 0;
  int64_t before_ = 0;
  bool running_ = false;
};

}  // namespace memory
