// The Windows lister under Wine on a chain of folders deeper than the
// recursive walk could go: walked to the bottom, without a crash.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/Paths.h"
#include "base/WinLister.h"
#include "cleanup/ScanWalk.h"
#include "cleanup/TempTree.h"
#include "base/Text.h"

namespace {

bool Move(const std::string& from, const std::string& to) {
  return MoveFileExW(base::Wide(base::ExtendedPath(from)).c_str(),
                     base::Wide(base::ExtendedPath(to)).c_str(), 0) != FALSE;
}

struct DeepWalk {
  std::string root;
  std::vector<std::string> junk;
  cleanup::WalkCounts counts;
};

DWORD WINAPI RunWalk(LPVOID p) {
  auto* w = static_cast<DeepWalk*>(p);
  base::WinLister lister;
  cleanup::ScanControl control;
  cleanup::JunkPatterns patterns = cleanup::JunkPatterns::Defaults();
  cleanup::ScanWalk walk(lister, patterns, control);
  walk.Run(w->root, [&](const std::string& path, const base::DirEntry&, bool junk) {
    if (junk) w->junk.push_back(path);
  });
  w->counts = walk.Counts();
  return 0;
}

TEST(WinLister, AChainOfFoldersDeeperThanTheOldWalkCouldGoIsWalkedToTheBottom) {
  // The recursive walk took about 1 KB of stack per level and ended the
  // process at about 1,500 levels. Wine's cost of opening a folder grows
  // with the square of its depth, so the chain here is shorter and the
  // walk runs on a 256 KiB stack, which the recursion overflowed at about
  // 250 levels. The chain is built and taken apart at the top, by moving
  // it into a new folder, for the same reason.
  constexpr int kDepth = 800;
  cleanuptest::TempTree tree("deep");
  const std::string top = tree.Path("d"), next = tree.Path("n");
  tree.Write("d\\x.tmp", 4096);
  for (int level = 1; level < kDepth; ++level) {
    tree.MakeFolder("n");
    ASSERT_TRUE(Move(top, next + "\\d")) << level;
    ASSERT_TRUE(Move(next, top)) << level;
  }
  std::string bottom = tree.Root();
  for (int level = 0; level < kDepth; ++level) bottom += "\\d";

  DeepWalk w{tree.Root(), {}, {}};
  HANDLE thread =
      CreateThread(nullptr, 256 * 1024, RunWalk, &w, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ASSERT_NE(thread, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  EXPECT_EQ(w.junk, std::vector<std::string>{bottom + "\\x.tmp"});
  EXPECT_EQ(w.counts.scannedKB, 4u);
  EXPECT_EQ(w.counts.unreadableFolders, 0u);
  EXPECT_EQ(w.counts.reparsePointsSkipped, 0u);

  for (int level = 1; level < kDepth; ++level) {
    ASSERT_TRUE(Move(top + "\\d", next)) << level;
    RemoveDirectoryW(base::Wide(base::ExtendedPath(top)).c_str());
    ASSERT_TRUE(Move(next, top)) << level;
  }
}

}  // namespace
