// The scan walk and the folder size over a listing interface: an in-memory
// tree for the exact cases, the POSIX lister for a real folder with a link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "cleanup/PosixLister.h"
#include "cleanup/ScanWalk.h"

namespace cleanup {
namespace {

// Folders by path; each holds entries in listing order.
class FakeLister : public DirectoryLister {
 public:
  std::map<std::string, std::vector<DirEntry>> folders;
  std::set<std::string> unreadable;
  std::vector<std::string> listed;
  std::function<void(const DirEntry&)> onEntry;

  void File(const std::string& folder, const std::string& name, uint64_t size) {
    folders[folder].push_back(DirEntry{name, false, false, size, 7});
  }
  void Folder(const std::string& folder, const std::string& name, bool reparse = false) {
    folders[folder].push_back(DirEntry{name, true, reparse, 0, 0});
    folders[JoinPath(folder, name, '\\')];
  }
  bool List(const std::string& folder, const std::function<bool(const DirEntry&)>& visit) override {
    listed.push_back(folder);
    auto it = folders.find(folder);
    if (it == folders.end() || unreadable.count(folder)) return false;
    for (const DirEntry& e : it->second) {
      if (onEntry) onEntry(e);
      if (!visit(e)) break;
    }
    return true;
  }
  char Separator() const override { return '\\'; }
};

struct Seen {
  std::vector<std::string> files, junk;
};

ScanWalk::FileVisitor Record(Seen& s) {
  return [&s](const std::string& path, const DirEntry&, bool junk) {
    s.files.push_back(path);
    if (junk) s.junk.push_back(path);
  };
}

FakeLister Tree() {
  FakeLister l;
  l.File("C:\\r", "a.tmp", 2048);
  l.Folder("C:\\r", "sub");
  l.File("C:\\r\\sub", "b.OLD", 1536);    // 1 KB, truncated
  l.File("C:\\r\\sub", "keep.txt", 5000);  // 4 KB
  l.Folder("C:\\r", "link", true);
  l.File("C:\\r\\link", "c.tmp", 1 << 20);  // behind a reparse point
  l.Folder("C:\\r", "locked");
  l.unreadable.insert("C:\\r\\locked");
  l.File("C:\\r", "tmp", 4096);  // no extension
  return l;
}

TEST(ScanWalk, CountsFilesListsJunkAndSkipsReparsePointsAndUnreadableFolders) {
  FakeLister l = Tree();
  ScanControl control;
  JunkPatterns patterns = JunkPatterns::Defaults();
  ScanWalk walk(l, patterns, control);
  Seen s;
  EXPECT_TRUE(walk.Run("C:\\r", Record(s)));
  EXPECT_EQ(s.files, (std::vector<std::string>{"C:\\r\\a.tmp", "C:\\r\\sub\\b.OLD",
                                               "C:\\r\\sub\\keep.txt", "C:\\r\\tmp"}));
  EXPECT_EQ(s.junk, (std::vector<std::string>{"C:\\r\\a.tmp", "C:\\r\\sub\\b.OLD"}));
  EXPECT_EQ(walk.junkCount(), 2u);
  EXPECT_EQ(walk.junkKB(), 3u);
  EXPECT_EQ(walk.scannedKB(), 2u + 1u + 4u + 4u);
  EXPECT_EQ(walk.reparsePointsSkipped(), 1u);
  EXPECT_EQ(walk.unreadableFolders(), 1u);
  for (const std::string& f : l.listed) EXPECT_EQ(f.find("link"), std::string::npos) << f;
  EXPECT_EQ(FolderSizeKB(l, "C:\\r"), 11u);
}

TEST(ScanWalk, RootWithTrailingSeparatorAndEmptyRoot) {
  FakeLister l;
  l.File("D:\\", "x.gid", 0);
  ScanControl control;
  JunkPatterns patterns = JunkPatterns::Defaults();
  ScanWalk walk(l, patterns, control);
  Seen s;
  walk.Run("D:\\", Record(s));
  EXPECT_EQ(s.junk, std::vector<std::string>{"D:\\x.gid"});
  Seen none;
  walk.Run("", Record(none));
  EXPECT_TRUE(none.files.empty());
  EXPECT_EQ(walk.junkCount(), 0u);
  EXPECT_EQ(FolderSizeKB(l, ""), 0u);
}

TEST(ScanWalk, WithoutPatternsTheWalkStillCounts) {
  FakeLister l = Tree();
  ScanControl control;
  JunkPatterns none;
  ScanWalk walk(l, none, control);
  Seen s;
  walk.Run("C:\\r", Record(s));
  EXPECT_EQ(s.files.size(), 4u);
  EXPECT_TRUE(s.junk.empty());
  EXPECT_EQ(walk.scannedKB(), 11u);
}

TEST(ScanWalk, StopsAtAnyEntryAndCountsOnlyWhatCameBefore) {
  JunkPatterns patterns = JunkPatterns::Defaults();
  // The full walk: how many files had been visited when each entry came.
  FakeLister full = Tree();
  ScanControl fullControl;
  ScanWalk whole(full, patterns, fullControl);
  Seen all;
  std::vector<size_t> filesBefore;
  full.onEntry = [&](const DirEntry&) { filesBefore.push_back(all.files.size()); };
  ASSERT_TRUE(whole.Run("C:\\r", Record(all)));
  ASSERT_EQ(filesBefore.size(), 7u);

  for (size_t stopAt = 0; stopAt < filesBefore.size(); ++stopAt) {
    FakeLister l = Tree();
    ScanControl control;
    size_t handed = 0;
    l.onEntry = [&](const DirEntry&) {
      if (handed++ == stopAt) control.Stop();
    };
    ScanWalk walk(l, patterns, control);
    Seen s;
    EXPECT_FALSE(walk.Run("C:\\r", Record(s))) << stopAt;
    // The entry during which the stop came is not visited, nothing after it is listed.
    EXPECT_EQ(handed, stopAt + 1) << stopAt;
    ASSERT_EQ(s.files.size(), filesBefore[stopAt]) << stopAt;
    EXPECT_TRUE(std::equal(s.files.begin(), s.files.end(), all.files.begin())) << stopAt;
    EXPECT_EQ(walk.junkCount(), s.junk.size()) << stopAt;
  }
}

TEST(ScanWalk, PauseHoldsTheWalkUntilResumedAndStopEndsAPause) {
  FakeLister l = Tree();
  ScanControl control;
  JunkPatterns patterns = JunkPatterns::Defaults();
  ScanWalk walk(l, patterns, control);
  control.Pause();
  std::atomic<int> files{0};
  std::thread t([&] { walk.Run("C:\\r", [&](const std::string&, const DirEntry&, bool) { ++files; }); });
  // Nothing is visited while paused; give the walk the chance to misbehave.
  for (int i = 0; i < 50; ++i) std::this_thread::yield();
  EXPECT_EQ(files.load(), 0);
  control.Resume();
  t.join();
  EXPECT_EQ(files.load(), 4);

  ScanControl paused;
  ScanWalk walk2(l, patterns, paused);
  paused.Pause();
  bool result = true;
  std::thread t2([&] { result = walk2.Run("C:\\r", [](const std::string&, const DirEntry&, bool) {}); });
  paused.Stop();  // a stop while paused ends the walk without a resume
  t2.join();
  EXPECT_FALSE(result);
  EXPECT_EQ(walk2.files(), 0u);
}

TEST(ScanWalk, FolderSizeIsSixtyFourBitAndStoppable) {
  FakeLister l;
  l.File("C:\\big", "a.iso", uint64_t{5} << 30);
  l.File("C:\\big", "b.iso", (uint64_t{4} << 30) + 1023);
  EXPECT_EQ(FolderSizeKB(l, "C:\\big"), (uint64_t{9} << 20));
  ScanControl stopped;
  stopped.Stop();
  EXPECT_EQ(FolderSizeKB(l, "C:\\big", &stopped), 0u);
}

class TempTree : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/mirven-scan-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root_ = tmpl;
    outside_ = root_ + "-outside";
    ASSERT_EQ(mkdir(outside_.c_str(), 0700), 0);
  }
  void TearDown() override {
    std::string cmd = "rm -rf '" + root_ + "' '" + outside_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  static void Write(const std::string& path, size_t bytes) {
    std::ofstream(path) << std::string(bytes, 'x');
  }
  std::string root_, outside_;
};

TEST_F(TempTree, PosixListerFindsJunkAndDoesNotFollowLinks) {
  ASSERT_EQ(mkdir((root_ + "/d").c_str(), 0700), 0);
  Write(root_ + "/d/x.TMP", 3000);
  Write(root_ + "/keep.txt", 100);
  Write(outside_ + "/secret.tmp", 100);
  ASSERT_EQ(symlink(outside_.c_str(), (root_ + "/out").c_str()), 0);
  ASSERT_EQ(symlink((outside_ + "/secret.tmp").c_str(), (root_ + "/file.tmp").c_str()), 0);
  ASSERT_EQ(mkdir((root_ + "/closed").c_str(), 0), 0);
  PosixLister lister;
  ScanControl control;
  JunkPatterns patterns = JunkPatterns::Defaults();
  ScanWalk walk(lister, patterns, control);
  std::vector<std::string> junk;
  std::map<std::string, DirEntry> entries;
  walk.Run(root_, [&](const std::string& p, const DirEntry& e, bool j) {
    entries[p] = e;
    if (j) junk.push_back(p);
  });
  EXPECT_EQ(junk, std::vector<std::string>{root_ + "/d/x.TMP"});
  EXPECT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[root_ + "/d/x.TMP"].size, 3000u);
  EXPECT_NE(entries[root_ + "/d/x.TMP"].lastWrite, 0u);
  EXPECT_EQ(walk.reparsePointsSkipped(), 2u);
  if (geteuid() != 0) {
    EXPECT_EQ(walk.unreadableFolders(), 1u);
  }
  EXPECT_EQ(FolderSizeKB(lister, root_), 2u);
  chmod((root_ + "/closed").c_str(), 0700);
}

}  // namespace
}  // namespace cleanup
