// The Windows lister under Wine on a chain of folders deeper than the
// recursive walk could go: walked to the bottom, without a crash.
#include <windows.h>

#include <gtest/gtest.h>

#include "cleanup/ScanWalk.h"
#include "cleanup/TempTree.h"
#include "cleanup/WinLister.h"
#include "controls/TreePaths.h"
#include "ui/Text.h"

namespace {

bool Move(const std::string& from, const std::string& to) {
  return MoveFileExW(ui::Wide(tree::ExtendedPath(from)).c_str(),
                     ui::Wide(tree::ExtendedPath(to)).c_str(), 0) != FALSE;
}

TEST(WinLister, AChainOfFoldersDeeperThanTheOldWalkCouldGoIsWalkedToTheBottom) {
  // The recursive walk ended the process at about 1,500 levels. Wine takes
  // time in proportion to the depth to find a deep path, so the chain is
  // built and taken apart at the top, by moving it into a new folder.
  constexpr int kDepth = 1600;
  cleanuptest::TempTree tree("deep");
  const std::string top = tree.Path("d"), next = tree.Path("n");
  tree.Write("d\\x.tmp", 4096);
  for (int level = 1; level < kDepth; ++level) {
    tree.MakeFolder("n");
    ASSERT_TRUE(Move(top, next + "\\d")) << level;
    ASSERT_TRUE(Move(next, top)) << level;
  }
  std::string bottom = tree.root();
  for (int level = 0; level < kDepth; ++level) bottom += "\\d";

  cleanup::WinLister lister;
  cleanup::ScanControl control;
  cleanup::JunkPatterns patterns = cleanup::JunkPatterns::Defaults();
  cleanup::ScanWalk walk(lister, patterns, control);
  std::vector<std::string> junk;
  EXPECT_TRUE(walk.Run(tree.root(), [&](const std::string& p, const cleanup::DirEntry&, bool j) {
    if (j) junk.push_back(p);
  }));
  EXPECT_EQ(junk, std::vector<std::string>{bottom + "\\x.tmp"});
  EXPECT_EQ(walk.scannedKB(), 4u);
  EXPECT_EQ(walk.unreadableFolders(), 0u);
  EXPECT_EQ(walk.reparsePointsSkipped(), 0u);

  for (int level = 1; level < kDepth; ++level) {
    ASSERT_TRUE(Move(top + "\\d", next)) << level;
    RemoveDirectoryW(ui::Wide(tree::ExtendedPath(top)).c_str());
    ASSERT_TRUE(Move(next, top)) << level;
  }
}

}  // namespace
