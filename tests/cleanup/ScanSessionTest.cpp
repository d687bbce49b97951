// One scan as the page runs it, without a window: the walk on a thread of
// its own, slices taken meanwhile, pause and stop at any point, a new scan
// while the old one unwinds; and deleting what was found. Also built with
// ThreadSanitizer.
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "cleanup/CleanAll.h"
#include "cleanup/CleanupText.h"
#include "cleanup/ScanSession.h"

namespace cleanup {
namespace {

// `folders` folders below "R" of `files` files each, every other one junk
// of 2 KB. `onRead` runs before each folder is read, with its number.
class GridLister : public DirectoryLister {
 public:
  GridLister(int folders, int files) : folders_(folders), files_(files) {}
  std::function<void(int)> onRead;
  std::string root = "R";

  ListResult Read(const std::string& folder, uint64_t, std::vector<DirEntry>& entries) override {
    if (onRead) onRead(reads_++);
    entries.clear();
    if (folder == root) {
      for (int d = 0; d < folders_; ++d) entries.push_back(DirEntry{"d" + std::to_string(d), true});
      return ListResult::kListed;
    }
    for (int f = 0; f < files_; ++f)
      entries.push_back(
          DirEntry{"f" + std::to_string(f) + (f % 2 ? ".txt" : ".tmp"), false, false, 2048});
    return ListResult::kListed;
  }
  char Separator() const override { return '\\'; }

 private:
  int folders_, files_, reads_ = 0;
};

struct Calls {
  std::atomic<int> pending{0}, progress{0}, finished{0};
  std::mutex mutex;
  std::vector<std::string> paths;  // of the progress calls
};

ScanSession::Callbacks Count(Calls& c) {
  ScanSession::Callbacks cb;
  cb.pending = [&c] { ++c.pending; };
  cb.progress = [&c](const ScanProgress& p) {
    ++c.progress;
    std::lock_guard<std::mutex> lock(c.mutex);
    c.paths.push_back(p.path);
  };
  cb.finished = [&c] { ++c.finished; };
  return cb;
}

// Takes slices until the session is done; the paths in the order taken.
std::vector<std::string> Drain(ScanSession& s) {
  std::vector<std::string> taken;
  while (!s.Done()) {
    std::vector<FoundFile> slice = s.TakeSlice(7);
    if (slice.empty()) std::this_thread::yield();
    for (FoundFile& f : slice) taken.push_back(f.path);
  }
  return taken;
}

TEST(ScanSession, SlicesTakenWhileTheWalkAddsGetEveryFileOnce) {
  GridLister lister(300, 20);
  Calls calls;
  ScanSession s("R", JunkPatterns::Defaults(), Count(calls));
  std::thread walk([&] { s.Run(lister); });
  std::vector<std::string> taken = Drain(s);
  walk.join();
  EXPECT_EQ(taken.size(), 3000u);
  EXPECT_EQ(std::set<std::string>(taken.begin(), taken.end()).size(), 3000u);
  EXPECT_EQ(taken.front(), "R\\d0\\f0.tmp");
  EXPECT_EQ(s.JunkCount(), 3000u);
  EXPECT_EQ(s.JunkKB(), 6000u);
  EXPECT_EQ(s.Summary(), ScanSummary(3000, 6000));
  EXPECT_EQ(s.Counts().files, 6000u);
  EXPECT_EQ(s.ScannedKB(), 12000u);
  EXPECT_EQ(calls.finished.load(), 1);
  // Told once per time the pending files ran out, not once per file.
  EXPECT_GE(calls.pending.load(), 1);
  EXPECT_LE(calls.pending.load(), 3000);
}

TEST(ScanSession, StopAtAnyPointEndsOnceAndCountsOnlyWhatWasTaken) {
  for (int stopAt = 0; stopAt <= 5; ++stopAt) {  // read 0 is the root
    GridLister lister(5, 4);
    Calls calls;
    ScanSession s("R", JunkPatterns::Defaults(), Count(calls));
    size_t takenBefore = 0;
    lister.onRead = [&](int read) {
      if (read != stopAt) return;
      takenBefore = s.TakeSlice(3).size();  // some listed, the rest dropped
      s.Stop();
    };
    s.Run(lister);
    EXPECT_TRUE(s.WalkEnded()) << stopAt;
    EXPECT_EQ(calls.finished.load(), 1) << stopAt;
    EXPECT_FALSE(s.HasPending()) << stopAt;
    EXPECT_TRUE(s.TakeSlice(100).empty()) << stopAt;
    EXPECT_EQ(s.JunkCount(), takenBefore) << stopAt;
    EXPECT_EQ(s.Counts().files, stopAt < 2 ? 0u : 4u * (stopAt - 1)) << stopAt;
  }
}

TEST(ScanSession, PauseHoldsTheWalkAnywhereAndStopEndsAPause) {
  for (int pauseAt : {0, 3, 5}) {
    GridLister lister(5, 4);
    Calls calls;
    ScanSession s("R", JunkPatterns::Defaults(), Count(calls));
    std::mutex m;
    std::condition_variable cv;
    bool paused = false;
    lister.onRead = [&](int read) {
      if (read != pauseAt) return;
      s.Pause();
      std::lock_guard<std::mutex> lock(m);
      paused = true;
      cv.notify_all();
    };
    std::thread walk([&] { s.Run(lister); });
    {
      std::unique_lock<std::mutex> lock(m);
      cv.wait(lock, [&] { return paused; });
    }
    const uint64_t held = s.ScannedKB();
    for (int i = 0; i < 100; ++i) std::this_thread::yield();
    EXPECT_EQ(s.ScannedKB(), held) << pauseAt;
    EXPECT_FALSE(s.WalkEnded()) << pauseAt;
    if (pauseAt == 5) {
      s.Stop();  // no resume needed
    } else {
      s.Resume();
    }
    walk.join();
    EXPECT_EQ(s.Counts().files, pauseAt == 5 ? 16u : 20u) << pauseAt;
    EXPECT_EQ(calls.finished.load(), 1);
  }
}

TEST(ScanSession, ANewSessionWhileTheOldOneUnwindsSharesNothing) {
  GridLister oldLister(50, 10), newLister(20, 10);
  std::mutex m;
  std::condition_variable cv;
  bool oldBlocked = false, release = false;
  oldLister.onRead = [&](int read) {
    if (read != 5) return;
    std::unique_lock<std::mutex> lock(m);
    oldBlocked = true;
    cv.notify_all();
    cv.wait(lock, [&] { return release; });
  };
  Calls oldCalls, newCalls;
  auto old = std::make_shared<ScanSession>("R", JunkPatterns::Defaults(), Count(oldCalls));
  std::thread oldWalk([old, &oldLister] { old->Run(oldLister); });
  {
    std::unique_lock<std::mutex> lock(m);
    cv.wait(lock, [&] { return oldBlocked; });
  }
  const size_t oldTaken = old->TakeSlice(10).size();
  old->Stop();
  auto next = std::make_shared<ScanSession>("R", JunkPatterns::Defaults(), Count(newCalls));
  EXPECT_GT(next->generation(), old->generation());
  std::thread newWalk([next, &newLister] { next->Run(newLister); });
  {
    std::lock_guard<std::mutex> lock(m);
    release = true;  // the old walk unwinds while the new one runs
    cv.notify_all();
  }
  std::vector<std::string> taken = Drain(*next);
  newWalk.join();
  oldWalk.join();
  EXPECT_EQ(taken.size(), 100u);
  EXPECT_EQ(next->JunkCount(), 100u);
  EXPECT_EQ(next->Counts().files, 200u);
  EXPECT_EQ(old->JunkCount(), oldTaken);
  EXPECT_FALSE(old->HasPending());
  EXPECT_LT(old->Counts().files, 500u);
  EXPECT_EQ(oldCalls.finished.load(), 1);
  EXPECT_EQ(newCalls.finished.load(), 1);
}

TEST(ScanSession, StatusFollowsTheWalkAFewTimesASecondAndNotAtAllWithoutPatterns) {
  // Each look at the clock is 50 ms later: one in three files is shown.
  auto t = std::make_shared<std::chrono::steady_clock::time_point>();
  Throttle::Clock clock = [t] { return *t += std::chrono::milliseconds(50); };
  GridLister lister(3, 4);
  Calls calls;
  ScanSession s("R", JunkPatterns::Defaults(), Count(calls), clock);
  s.Run(lister);
  EXPECT_EQ(calls.progress.load(), 4);  // files 1, 4, 7, 10 of 12
  EXPECT_EQ(calls.paths.front(), "R\\d0\\f0.tmp");

  Calls quiet;
  ScanSession none("R", JunkPatterns(), Count(quiet), clock);
  none.Run(lister);
  EXPECT_EQ(quiet.pending.load(), 0);
  EXPECT_GT(quiet.progress.load(), 0);  // the progress bar still moves
  for (const std::string& p : quiet.paths) EXPECT_EQ(p, "");
  EXPECT_EQ(none.ScannedKB(), 24u);
  EXPECT_EQ(none.Summary(), ScanSummary(0, 0));
}

TEST(ScanSession, KeptFilesAndFilesInKeptFoldersAreNeverListed) {
  GridLister lister(3, 6);
  lister.root = "C:\\R";
  Calls calls;
  ScanSession s(lister.root, JunkPatterns::Defaults(), Count(calls));
  KeepList keep;
  ASSERT_TRUE(keep.Add("c:\\r\\D1\\"));
  ASSERT_TRUE(keep.Add("C:\\R\\d0\\F2.TMP"));
  s.Keep(std::move(keep));
  s.Run(lister);
  std::vector<std::string> listed;
  for (const FoundFile& f : s.TakeSlice(100)) listed.push_back(f.path);
  EXPECT_EQ(listed,
            (std::vector<std::string>{"C:\\R\\d0\\f0.tmp", "C:\\R\\d0\\f4.tmp", "C:\\R\\d2\\f0.tmp",
                                      "C:\\R\\d2\\f2.tmp", "C:\\R\\d2\\f4.tmp"}));
}

// Deletes by a table of results; a file not in it is deleted.
class FakeDeleter : public FileDeleter {
 public:
  std::map<std::string, DeleteResult> results;
  std::vector<std::string> asked;
  std::set<std::string> changed;  // fail the check before recycling
  DeleteResult DeleteIfUnchanged(const std::string& path, const FileIdentity&) override {
    asked.push_back(path);
    auto it = results.find(path);
    return it == results.end() ? DeleteResult::kDeleted : it->second;
  }
  std::optional<DeleteResult> Recheck(const std::string& path, const FileIdentity&) override {
    if (changed.count(path)) return DeleteResult::kChanged;
    return std::nullopt;
  }
};

// A bin on drive C: only, refusing the paths in `refuse`; a call with more
// than one path and a refused one among them stops at it, as the shell may.
class FakeBin : public RecycleBin {
 public:
  std::set<std::string> refuse;
  std::vector<std::vector<std::string>> calls;
  bool HasBin(const std::string& path) override { return path.rfind("C:", 0) == 0; }
  std::vector<bool> Recycle(const std::vector<std::string>& paths) override {
    calls.push_back(paths);
    std::vector<bool> moved(paths.size(), false);
    for (size_t k = 0; k < paths.size() && !refuse.count(paths[k]); ++k) moved[k] = true;
    return moved;
  }
};

// A bin whose shell, at `swapped`, moved what had taken the checked file's
// place: to `inBin`, or somewhere unknown when that is empty. Putting it
// back works unless `stuck`.
class SwappedBin : public FakeBin {
 public:
  std::string swapped, inBin;
  bool stuck = false;
  std::vector<std::string> putBack;  // "from>to"
  std::vector<BinMove> MoveChecked(const std::vector<FoundFile>& files) override {
    std::vector<BinMove> moves = RecycleBin::MoveChecked(files);
    for (size_t k = 0; k < files.size(); ++k)
      if (files[k].path == swapped) moves[k] = BinMove{DeleteResult::kRefused, true, inBin};
    return moves;
  }
  bool PutBack(const std::string& from, const std::string& to) override {
    putBack.push_back(from + ">" + to);
    return !stuck;
  }
};

// Only the checked file stays in the bin: a stranger the shell took from a
// checked file's path goes back, or the report names the path and the bin.
TEST(CleanFiles, WhatTookACheckedFilesPlaceIsPutBackNeverCountedRecycledNorTriedAgain) {
  struct Case {
    std::string inBin;
    bool stuck;
  };
  for (const Case& c : {Case{"C:\\$Recycle.Bin\\S-1\\$R1.tmp", false},
                        Case{"C:\\$Recycle.Bin\\S-1\\$R1.tmp", true}, Case{"", false}}) {
    FakeDeleter d;
    SwappedBin bin;
    bin.swapped = "C:\\000.tmp";
    bin.inBin = c.inBin;
    bin.stuck = c.stuck;
    std::vector<FoundFile> files{{"C:\\000.tmp", {}, 4}, {"C:\\001.tmp", {}, 4}};
    std::vector<DeleteResult> seen;
    CleanTally t = CleanFiles(d, &bin, CleanMode::kRecycle, files, [&](size_t, DeleteResult r) {
      seen.push_back(r);
      return true;
    });
    EXPECT_EQ(seen, (std::vector<DeleteResult>{DeleteResult::kChanged, DeleteResult::kRecycled}));
    EXPECT_EQ(bin.putBack, c.inBin.empty() ? std::vector<std::string>{}
                                           : std::vector<std::string>{c.inBin + ">C:\\000.tmp"});
    EXPECT_EQ(bin.calls.size(), 1u);  // no second try of the swapped path
    EXPECT_TRUE(d.asked.empty());     // nor a deletion for good
    EXPECT_EQ(t.recycled, 1u);
    EXPECT_EQ(t.failed, 1u);
    const bool left = c.stuck || c.inBin.empty();
    EXPECT_EQ(t.leftInBin,
              left ? std::vector<std::string>{"C:\\000.tmp"} : std::vector<std::string>{});
    EXPECT_EQ(
        CleanReport(t).find("“C:\\000.tmp”在检查后被换成了其他文件或文件夹，它已被移入回收站，"
                            "未能放回原处，请从回收站还原。") != std::string::npos,
        left);
  }
}

TEST(CleanFiles, RecyclesInBatchesAndDeletesForGoodOnlyWhatNoBinTakes) {
  FakeDeleter d;
  FakeBin bin;
  bin.refuse = {"C:\\huge.tmp"};
  d.changed = {"C:\\swapped.tmp"};
  std::vector<FoundFile> files;
  for (const char* p : {"C:\\a.tmp", "C:\\huge.tmp", "C:\\b.tmp", "E:\\usb.tmp", "C:\\swapped.tmp",
                        "C:\\c.tmp", "C:\\d.tmp"})
    files.push_back(FoundFile{p, {}, 2048});
  std::vector<DeleteResult> seen(files.size(), DeleteResult::kRefused);
  std::vector<size_t> order;
  CleanTally t = CleanFiles(
      d, &bin, CleanMode::kRecycle, files,
      [&](size_t k, DeleteResult r) {
        seen[k] = r;
        order.push_back(k);
        return true;
      },
      4);
  EXPECT_EQ(order, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(seen, (std::vector<DeleteResult>{DeleteResult::kRecycled, DeleteResult::kNoBin,
                                             DeleteResult::kRecycled, DeleteResult::kNoBin,
                                             DeleteResult::kChanged, DeleteResult::kRecycled,
                                             DeleteResult::kRecycled}));
  // Batches of up to four files; the files left over by a refusal each try alone.
  ASSERT_GE(bin.calls.size(), 4u);
  EXPECT_EQ(bin.calls[0], (std::vector<std::string>{"C:\\a.tmp", "C:\\huge.tmp", "C:\\b.tmp"}));
  EXPECT_EQ(bin.calls[1], std::vector<std::string>{"C:\\huge.tmp"});
  EXPECT_EQ(bin.calls[2], std::vector<std::string>{"C:\\b.tmp"});
  // Deleted for good: only the file without a bin and the one the bin refused.
  EXPECT_EQ(d.asked, (std::vector<std::string>{"E:\\usb.tmp", "C:\\huge.tmp"}));
  EXPECT_EQ(t.recycled, 4u);
  EXPECT_EQ(t.noBin, 2u);
  EXPECT_EQ(CleanReport(t),
            "共将 4 个垃圾文件（8MB）移入回收站，1 个文件未能删除，2 "
            "个文件所在磁盘没有回收站或回收站不接受，已永久删除（释放 4MB 磁盘空间）。");
  EXPECT_EQ(RecycledStatus(t),
            "已将 4 个垃圾文件（8MB）移入回收站，可从回收站还原；清空回收站后释放磁盘空间。");

  // Permanent: no bin asked, every file deleted with its checks.
  d.asked.clear();
  bin.calls.clear();
  CleanTally p = CleanFiles(d, &bin, CleanMode::kPermanent, files);
  EXPECT_TRUE(bin.calls.empty());
  EXPECT_EQ(d.asked.size(), files.size());
  EXPECT_EQ(p.deleted, files.size());
  EXPECT_EQ(CleanReport(p), CleanReport(7, 14336, 0));
  EXPECT_EQ(PermanentQuestion(7), "将永久删除 7 个文件，无法恢复。确定吗？");

  // A stop ends the clean after the batch under way, every file of it told of.
  order.clear();
  CleanFiles(
      d, &bin, CleanMode::kRecycle, files,
      [&](size_t k, DeleteResult) {
        order.push_back(k);
        return k != 0;
      },
      2);
  EXPECT_EQ(order, (std::vector<size_t>{0, 1}));

  CleanOneResult one = CleanOne(d, &bin, CleanMode::kRecycle, files[0]);
  EXPECT_TRUE(one.removeLine);
  EXPECT_FALSE(CleanOne(d, &bin, CleanMode::kRecycle, files[4]).removeLine);
}

TEST(CleanAll, AFileAlreadyGoneIsDoneAndOnlyRealFailuresKeepTheirLines) {
  FakeDeleter d;
  d.results = {
      {"b", DeleteResult::kGone}, {"c", DeleteResult::kRefused}, {"e", DeleteResult::kChanged}};
  std::vector<FoundFile> files;
  for (const char* p : {"a", "b", "c", "d", "e"}) files.push_back(FoundFile{p, {}, 1024});
  std::vector<std::string> done;
  CleanTally t = CleanAll(d, files, [&](const FoundFile& f, DeleteResult r) {
    if (CleanTally::Done(r)) done.push_back(f.path);
    return true;
  });
  EXPECT_EQ(done, (std::vector<std::string>{"a", "b", "d"}));
  EXPECT_EQ(CleanReport(t),
            "共删除 2 个垃圾文件，释放 2MB 磁盘空间，2 个文件未能删除，1 个文件已不存在。");
  EXPECT_EQ(CleanReport(3, 5, 0), "共删除 3 个垃圾文件，释放 5KB 磁盘空间，0 个文件未能删除。");

  d.asked.clear();
  CleanAll(d, files, [](const FoundFile& f, DeleteResult) { return f.path != "b"; });
  EXPECT_EQ(d.asked, (std::vector<std::string>{"a", "b"}));  // stopped after b

  CleanOneResult gone = CleanOne(d, files[1]);
  EXPECT_TRUE(gone.removeLine);
  EXPECT_EQ(gone.status, CleanReport(0, 0, 0, 1));
  CleanOneResult kept = CleanOne(d, files[2]);
  EXPECT_FALSE(kept.removeLine);
  EXPECT_EQ(kept.status, CleanReport(0, 0, 1));
  EXPECT_EQ(CleanOne(d, files[0]).status, CleanReport(1, 1024, 0));
}

}  // namespace
}  // namespace cleanup
