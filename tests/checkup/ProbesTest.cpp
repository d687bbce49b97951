// The real probes and the real speed-up under Wine: well-formed texts and
// figures from the system as it is.
#include <gtest/gtest.h>

#include <regex>

#include "checkup/CheckUpSystem.h"
#include "memory/MemorySystem.h"

namespace {

TEST(SystemProbes, RealProbesGiveWellFormedTexts) {
  checkup::CheckUpSystem& system = checkup::checkUpSystem();
  checkup::Profile p = checkup::ReadProfile(system);
  EXPECT_TRUE(std::regex_match(p.memory, std::regex("[1-9][0-9]* MB"))) << p.memory;
  EXPECT_TRUE(std::regex_match(p.virtualMemory, std::regex("[1-9][0-9]* MB"))) << p.virtualMemory;
  EXPECT_TRUE(std::regex_match(p.disk, std::regex("[0-9]+GB"))) << p.disk;
  EXPECT_FALSE(p.video.empty());
  EXPECT_NE(p.video, "未检测到显卡型号");
  EXPECT_EQ(p.windows.name.rfind("Windows ", 0), 0u) << p.windows.name;
  EXPECT_EQ(p.windows.bitness, sizeof(void*) == 8 ? "64位" : p.windows.bitness);
  EXPECT_FALSE(p.windows.bitness.empty());

  checkup::VersionFacts v = system.Version();
  EXPECT_TRUE(v.known);
  EXPECT_GE(v.major, 6u);
  // A fixed disk C: is in every prefix, with a size.
  bool fixedC = false;
  for (const checkup::DriveFacts& d : system.Drives())
    if (d.root == "C:\\" && d.type == 3 && d.sized && d.totalBytes > 0) fixedC = true;
  EXPECT_TRUE(fixedC);

  checkup::CheckUpFolders f = system.Folders();
  EXPECT_FALSE(f.path[checkup::kProfile].empty());
  for (int k = 1; k < checkup::kFolderCount; ++k) {
    if (!f.path[k].empty()) {
      EXPECT_EQ(f.path[k].find(':'), 1u) << f.path[k];
    }
  }
}

TEST(SystemProbes, RealMemoryFiguresAndSpeedUp) {
  memory::MemorySystem& m = memory::memorySystem();
  memory::Figures f = m.Read();
  EXPECT_GE(f.percent, 0);
  EXPECT_LE(f.percent, 100);
  EXPECT_GT(f.totalMB, 0);
  EXPECT_GT(f.usedMB, 0);
  EXPECT_LE(f.usedMB, f.totalMB);
  // At least this process can be opened and trimmed; it is still here after.
  EXPECT_GT(m.Optimize(), 0u);
}

}  // namespace
