// The scan walk and the folder size over a listing interface: an in-memory
// tree for the exact cases, the POSIX lister for real folders: links, a
// chain of folders as deep as paths allow, a folder swapped for a link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <thread>
#include <vector>

#include "base/PosixLister.h"
#include "cleanup/ScanWalk.h"

namespace cleanup {
namespace {

// Folders by path; each holds entries in listing order.
class FakeLister : public DirectoryLister {
 public:
  std::map<std::string, std::vector<DirEntry>> folders;
  std::set<std::string> unreadable;
  std::vector<std::string> listed;

  void File(const std::string& folder, const std::string& name, uint64_t size) {
    folders[folder].push_back(DirEntry{name, false, false, size, 7});
  }
  void Folder(const std::string& folder, const std::string& name, bool reparse = false) {
    folders[folder].push_back(DirEntry{name, true, reparse, 0, 0});
    folders[JoinPath(folder, name, '\\')];
  }
  ListResult Read(const std::string& folder, uint64_t, std::vector<DirEntry>& entries) override {
    listed.push_back(folder);
    auto it = folders.find(folder);
    if (it == folders.end() || unreadable.count(folder)) return ListResult::kUnreadable;
    entries = it->second;
    return ListResult::kListed;
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
  l.File("C:\\r\\sub", "b.OLD", 1536);     // 1 KB, truncated
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
  FakeLister full = Tree();
  ScanControl fullControl;
  ScanWalk whole(full, patterns, fullControl);
  Seen all;
  ASSERT_TRUE(whole.Run("C:\\r", Record(all)));
  ASSERT_EQ(all.files.size(), 4u);

  // A stop while a file is handed over: nothing after it is visited.
  for (size_t stopAt = 0; stopAt < all.files.size(); ++stopAt) {
    FakeLister l = Tree();
    ScanControl control;
    ScanWalk walk(l, patterns, control);
    Seen s;
    EXPECT_FALSE(walk.Run("C:\\r", [&](const std::string& p, const DirEntry& e, bool j) {
      Record(s)(p, e, j);
      if (s.files.size() == stopAt + 1) control.Stop();
    })) << stopAt;
    ASSERT_EQ(s.files.size(), stopAt + 1) << stopAt;
    EXPECT_TRUE(std::equal(s.files.begin(), s.files.end(), all.files.begin())) << stopAt;
    EXPECT_EQ(walk.junkCount(), s.junk.size()) << stopAt;
    EXPECT_EQ(walk.files(), stopAt + 1) << stopAt;
  }
}

TEST(ScanWalk, PauseHoldsTheWalkUntilResumedAndStopEndsAPause) {
  FakeLister l = Tree();
  ScanControl control;
  JunkPatterns patterns = JunkPatterns::Defaults();
  ScanWalk walk(l, patterns, control);
  control.Pause();
  std::atomic<int> files{0};
  std::thread t(
      [&] { walk.Run("C:\\r", [&](const std::string&, const DirEntry&, bool) { ++files; }); });
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
  std::thread t2(
      [&] { result = walk2.Run("C:\\r", [](const std::string&, const DirEntry&, bool) {}); });
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
  base::PosixLister lister;
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

// Runs `body` on a thread with a 256 KiB stack while the process may hold
// no more than 64 files open.
void OnSmallThread(const std::function<void()>& body) {
  rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
  rlimit few = old;
  few.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 * 1024);
  pthread_t thread;
  auto run = [](void* p) -> void* {
    (*static_cast<const std::function<void()>*>(p))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  setrlimit(RLIMIT_NOFILE, &old);
}

TEST_F(TempTree, AChainOfFoldersAsDeepAsPathsAllowIsWalkedToTheBottom) {
  // Folders named "d" down to near the path limit, made one level at a time.
  const int depth = 1900;
  ASSERT_LT(root_.size() + 2 * depth + 8, size_t{PATH_MAX});
  int fd = open(root_.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < depth && fd >= 0; ++level) {
    ASSERT_EQ(mkdirat(fd, "d", 0700), 0);
    int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
  }
  ASSERT_GE(fd, 0);
  int file = openat(fd, "x.tmp", O_WRONLY | O_CREAT, 0600);
  ASSERT_EQ(write(file, std::string(4096, 'x').data(), 4096), 4096);
  close(file);
  close(fd);

  std::vector<std::string> junk;
  WalkCounts counts, sizeCounts;
  uint64_t sizeKB = 0;
  OnSmallThread([&] {
    base::PosixLister lister;
    ScanControl control;
    JunkPatterns patterns = JunkPatterns::Defaults();
    ScanWalk walk(lister, patterns, control);
    walk.Run(root_, [&](const std::string& p, const DirEntry&, bool j) {
      if (j) junk.push_back(p);
    });
    counts = walk.Counts();
    base::PosixLister sizes;
    sizeKB = FolderSizeKB(sizes, root_, nullptr, &sizeCounts);
  });
  ASSERT_EQ(junk.size(), 1u);
  EXPECT_EQ(junk[0].size(), root_.size() + 2 * depth + 6);
  EXPECT_EQ(counts.files, 1u);
  EXPECT_EQ(counts.unreadableFolders, 0u);
  EXPECT_EQ(sizeKB, 4u);
  EXPECT_EQ(sizeCounts.unreadableFolders, 0u);
}

TEST_F(TempTree, AFolderSwappedForALinkNeverLeadsOutsideTheRoot) {
  // Outside: the same shape as inside, with files that must never show.
  for (const std::string& base : {root_ + "/s", outside_}) {
    ASSERT_EQ(mkdir(base.c_str(), 0700) == 0 || errno == EEXIST, true);
    ASSERT_EQ(mkdir((base + "/t").c_str(), 0700), 0);
  }
  Write(root_ + "/s/in.tmp", 10);
  Write(root_ + "/s/t/in.tmp", 10);
  Write(outside_ + "/secret.tmp", 10);
  Write(outside_ + "/t/secret.tmp", 10);
  const std::string folder = root_ + "/s", away = root_ + "/away";
  std::atomic<bool> done{false};
  std::thread swapper([&] {
    for (int i = 0; i < 2000; ++i) {
      if (rename(folder.c_str(), away.c_str()) != 0) break;
      if (symlink(outside_.c_str(), folder.c_str()) != 0) break;
      std::this_thread::yield();
      unlink(folder.c_str());
      if (rename(away.c_str(), folder.c_str()) != 0) break;
    }
    done = true;
  });
  int walks = 0;
  std::vector<std::string> outside;
  uint64_t skipped = 0;
  while (!done) {
    base::PosixLister lister;
    ScanControl control;
    JunkPatterns patterns = JunkPatterns::Defaults();
    ScanWalk walk(lister, patterns, control);
    walk.Run(root_, [&](const std::string& p, const DirEntry&, bool) {
      if (p.find("secret") != std::string::npos) outside.push_back(p);
    });
    skipped += walk.reparsePointsSkipped();
    ++walks;
  }
  swapper.join();
  EXPECT_TRUE(outside.empty()) << outside.size() << " of " << walks << " walks, e.g. "
                               << outside[0];
  EXPECT_GT(skipped, 0u);  // the link was met
}

}  // namespace
}  // namespace cleanup
