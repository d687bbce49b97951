// The junk list's rows and the page's rules, without a window.
#include "cleanup/CleanupList.h"
#include "cleanup/CleanupFlow.h"
#include "cleanup/CleanupText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

using cleanup::CleanupFlow;
using cleanup::CleanupList;
using cleanup::CleanupRow;
using cleanup::FoundFile;

std::string Key(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<std::string> Shown(const CleanupList& list) {
  std::vector<std::string> v;
  for (size_t k = 0; k < list.Count(); ++k) v.push_back(list.Row(list.IdAt(k))->Text());
  return v;
}

TEST(CleanupList, KeepsRowsSortedByKeyAndFindsThemByIdAfterRemovals) {
  CleanupList list;
  size_t a = list.AddFile(FoundFile{"C:\\b.tmp", {1, 1}, 1}, Key("C:\\b.tmp"));
  CleanupList::RowId b = list.LastId();
  EXPECT_EQ(a, 0u);
  EXPECT_EQ(list.AddFile(FoundFile{"C:\\A.tmp", {}, 0}, Key("C:\\A.tmp")), 0u);
  EXPECT_EQ(list.AddMessage("共删除", Key("共删除")), 2u);
  // Equal keys: the later line goes after the earlier one.
  EXPECT_EQ(list.AddFile(FoundFile{"C:\\B.tmp", {}, 0}, Key("C:\\B.tmp")), 2u);
  CleanupList::RowId upperB = list.LastId();
  EXPECT_EQ(Shown(list),
            (std::vector<std::string>{"C:\\A.tmp", "C:\\b.tmp", "C:\\B.tmp", "共删除"}));
  EXPECT_EQ(list.IndexOf(b), 1u);
  EXPECT_EQ(list.IndexOf(upperB), 2u);

  EXPECT_EQ(list.Remove(b), 1u);
  EXPECT_EQ(list.Row(b), nullptr);
  EXPECT_FALSE(list.Remove(b));
  EXPECT_EQ(list.IndexOf(upperB), 1u);
  EXPECT_EQ(list.Row(upperB)->Text(), "C:\\B.tmp");
  EXPECT_EQ(list.Row(999), nullptr);

  const uint64_t epoch = list.Epoch();
  list.Clear();
  EXPECT_NE(list.Epoch(), epoch);
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.Row(upperB), nullptr);
}

// A slice merged at once lands where one Add after another would put it,
// and inserting its lines by the indices given, in order, rebuilds the view.
TEST(CleanupList, ASliceAddedAtOnceMatchesAddsOneByOneAndKeptRowsLeave) {
  CleanupList one, many;
  std::vector<std::string> view;
  const std::vector<std::vector<std::string>> slices{{"m", "c", "x"}, {"a", "C", "z", "m"}, {}};
  for (const auto& slice : slices) {
    std::vector<FoundFile> files;
    std::vector<std::string> keys;
    for (const std::string& p : slice) {
      one.AddFile(FoundFile{p, {}, 1}, Key(p));
      files.push_back(FoundFile{p, {}, 1});
      keys.push_back(Key(p));
    }
    for (auto [at, id] : many.AddFiles(files, keys))
      view.insert(view.begin() + static_cast<std::ptrdiff_t>(at), many.Row(id)->Text());
    EXPECT_EQ(Shown(many), Shown(one));
    EXPECT_EQ(view, Shown(many));
  }
  cleanup::KeepList keep;
  ASSERT_TRUE(keep.Add("C:\\k"));
  many.AddFiles({FoundFile{"C:\\k\\1.tmp", {}, 1}, FoundFile{"C:\\k2.tmp", {}, 1}}, {"k1", "k2"});
  many.AddMessage("C:\\k\\note", "k0");
  EXPECT_EQ(many.RemoveKept(keep), std::vector<size_t>{4});  // not the message, nor k2
  EXPECT_EQ(many.Count(), 9u);
}

TEST(CleanupList, TickedFilesAreTheTickedFileRowsInDisplayOrder) {
  CleanupList list;
  for (const char* p : {"c", "a", "b", "d"}) list.AddFile(FoundFile{p, {}, 1}, p);
  list.AddMessage("b-report", "b-report");
  CleanupList::RowId message = list.LastId();
  auto id = [&](size_t k) { return list.IdAt(k); };
  // Files start ticked; a message cannot be ticked.
  EXPECT_EQ(list.TickedFiles().files.size(), 4u);
  EXPECT_FALSE(list.Toggle(message));
  EXPECT_FALSE(list.Row(message)->ticked);

  EXPECT_TRUE(list.Toggle(id(1)));  // b
  EXPECT_FALSE(list.Row(id(1))->ticked);
  list.MarkDone(id(0));  // a, cleaned: its line stays, it is no longer offered
  EXPECT_EQ(list.Row(id(0))->kind, CleanupRow::Kind::kDone);
  EXPECT_FALSE(list.SetTicked(id(0), true));

  CleanupList::Ticked t = list.TickedFiles();
  std::vector<std::string> paths;
  for (const FoundFile& f : t.files) paths.push_back(f.path);
  EXPECT_EQ(paths, (std::vector<std::string>{"c", "d"}));
  EXPECT_EQ(t.ids, (std::vector<CleanupList::RowId>{id(3), id(4)}));
  // Unticked files are still files to clean, one by one.
  EXPECT_EQ(list.Files().size(), 3u);
}

TEST(CleanupList, ItemRowsAreTickedAndTheirTicksDecideWhichItemsAClean) {
  CleanupList list;
  const int cache = cleanup::kFirstItem, cookies = cleanup::kFirstItem + 1;
  list.AddFile(FoundFile{"a.tmp", {}, 1}, "a.tmp");
  list.AddItem(cache, "Microsoft Edge 缓存", "m1");
  CleanupList::RowId cacheRow = list.LastId();
  list.AddItem(cookies, "Microsoft Edge Cookies", "m2");
  EXPECT_EQ(list.Tick(cacheRow), 1);
  EXPECT_EQ(list.TickedFiles().files.size(), 1u);  // an item is no file to delete

  // Ticked in the options tab but unticked in the list: not cleaned. An
  // item the scan did not show is not cleaned either; the classic options
  // are as chosen.
  cleanup::OptionSet chosen = cleanup::NoOptions();
  chosen[cleanup::kClipboard] = chosen[cache] = chosen[cookies] = true;
  chosen[cleanup::kFirstItem + 2] = true;
  EXPECT_TRUE(list.Toggle(list.IdAt(*list.IndexOf(cacheRow) + 1)));
  cleanup::OptionSet clean = list.CleanOptions(chosen);
  cleanup::OptionSet expected = cleanup::NoOptions();
  expected[cleanup::kClipboard] = expected[cache] = true;
  EXPECT_EQ(clean, expected);

  ASSERT_EQ(list.ItemRow(cache), cacheRow);
  list.MarkDone(cacheRow);
  EXPECT_EQ(list.Tick(cacheRow), -1);
  EXPECT_FALSE(list.CleanOptions(chosen)[cache]);
}

TEST(CleanupFlow, EnablesTheButtonsByWhatThePageDoes) {
  CleanupFlow flow;
  auto on = [&] {
    auto e = flow.Controls();
    return std::vector<bool>{e.start, e.pause, e.stop, e.tree, e.clean, e.cleanAll};
  };
  EXPECT_EQ(on(), (std::vector<bool>{true, false, false, true, true, true}));
  EXPECT_FALSE(flow.Pause());
  EXPECT_FALSE(flow.FinishScan());

  ASSERT_TRUE(flow.StartScan());
  EXPECT_FALSE(flow.StartScan());
  EXPECT_FALSE(flow.StartClean());
  EXPECT_EQ(on(), (std::vector<bool>{false, true, true, false, true, false}));
  EXPECT_STREQ(flow.PauseCaption(), "暂停");
  ASSERT_TRUE(flow.Pause());
  EXPECT_STREQ(flow.PauseCaption(), "继续");
  EXPECT_TRUE(flow.Scanning());
  EXPECT_EQ(on(), (std::vector<bool>{false, true, true, false, true, false}));
  // A stop while paused ends the pause with the scan.
  ASSERT_TRUE(flow.FinishScan());
  EXPECT_STREQ(flow.PauseCaption(), "暂停");
  EXPECT_EQ(on(), (std::vector<bool>{true, false, false, true, true, true}));

  ASSERT_TRUE(flow.StartClean());
  EXPECT_FALSE(flow.StartClean());
  EXPECT_FALSE(flow.StartScan());
  EXPECT_EQ(on(), (std::vector<bool>{false, false, false, true, false, false}));
  ASSERT_TRUE(flow.FinishClean());
  EXPECT_FALSE(flow.FinishClean());
  EXPECT_EQ(flow.Current(), CleanupFlow::State::kScanned);
}

}  // namespace
