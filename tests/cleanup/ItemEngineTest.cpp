// The Windows engine of the cleaning items under Wine: this user's running
// programs, and a browser's cache cleaned through the real lister and
// folders: a file in use stays, a link inside the cache or a folder swapped
// for one after the scan is not followed, the user's own files and the
// cache folder itself stay.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/Handles.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "cleanup/ItemEngine.h"
#include "cleanup/RunningPrograms.h"
#include "cleanup/TempTree.h"

namespace {

using cleanuptest::Exists;

TEST(ItemEngine, RunningProgramsSeesThisProcess) {
  std::wstring exe(MAX_PATH, L'\0');
  exe.resize(GetModuleFileNameW(nullptr, exe.data(), MAX_PATH));
  const std::string self = base::LeafName(base::Utf8(exe));
  const std::vector<std::string> names = cleanup::runningPrograms().ProcessNames();
  EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const std::string& n) {
    return base::CompareNoCaseAscii(n, self) == 0;
  })) << self;
  const cleanup::UserFolders folders = cleanup::ThisUsersFolders();
  EXPECT_FALSE(folders.localAppData.empty());
  EXPECT_FALSE(folders.temp.empty());
  EXPECT_NE(folders.temp.back(), '\\');
}

TEST(ItemEngine, CacheCleanedThroughTheWindowsEngine) {
  cleanuptest::TempTree tree("items");
  cleanuptest::TempTree outside("outside");
  const std::string profile = "Local\\Microsoft\\Edge\\User Data\\Default\\";
  for (const char* f : {"Cache\\Cache_Data\\data_0", "Cache\\Cache_Data\\data_1",
                        "Code Cache\\js\\index", "Code Cache\\wasm\\index", "Bookmarks",
                        "Preferences"})
    tree.Write(profile + f, 100);
  outside.Write("precious.txt", 10);
  outside.Write("index", 10);
  const bool linked =
      cleanuptest::MakeLinuxSymlink(outside.Root(), tree.Path(profile + "Cache\\link"));
  cleanup::WinItemSystem system;
  cleanup::ItemContext context;
  context.folders.localAppData = tree.Path("Local");
  const cleanup::CleanItem& cache = *cleanup::FindCleanItem("edge-cache");
  cleanup::ItemScan scan = cleanup::ScanItem(cache, system, context);
  EXPECT_EQ(scan.files, 4u);
  EXPECT_EQ(scan.bytes, 400u);
  EXPECT_EQ(scan.profiles, 1u);
  // After the scan a folder is swapped for a link to one holding the same name.
  const std::string wasm = tree.Path(profile + "Code Cache\\wasm");
  ASSERT_TRUE(MoveFileW(base::Wide(wasm).c_str(), base::Wide(wasm + ".old").c_str()));
  const bool swapped = cleanuptest::MakeLinuxSymlink(outside.Root(), wasm);

  // A file the browser still holds open stays, and is counted.
  base::FileHandle held(
      CreateFileW(base::Wide(tree.Path(profile + "Cache\\Cache_Data\\data_1")).c_str(),
                  GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  cleanup::ItemResult result = cleanup::CleanScanned(scan, system, context);
  held.Reset();
  EXPECT_EQ(result.outcome, cleanup::ItemOutcome::kDone);
  EXPECT_EQ(result.files, 2u);
  EXPECT_EQ(result.inUse, 1u);
  EXPECT_FALSE(Exists(tree.Path(profile + "Cache\\Cache_Data\\data_0")));
  EXPECT_TRUE(Exists(tree.Path(profile + "Cache\\Cache_Data\\data_1")));
  EXPECT_FALSE(Exists(tree.Path(profile + "Code Cache\\js")));
  EXPECT_TRUE(Exists(tree.Path(profile + "Code Cache")));
  EXPECT_TRUE(Exists(tree.Path(profile + "Bookmarks")));
  EXPECT_TRUE(Exists(tree.Path(profile + "Preferences")));
  EXPECT_TRUE(Exists(outside.Path("precious.txt")));
  EXPECT_TRUE(Exists(outside.Path("index")));
  EXPECT_TRUE(Exists(wasm + ".old\\index"));
  if (linked) {
    EXPECT_TRUE(Exists(tree.Path(profile + "Cache\\link")));
  }
  if (swapped) {
    EXPECT_TRUE(Exists(wasm));
  }
  // Wine's RemoveDirectoryW leaves Linux links to folders in place.
  cleanuptest::RemoveLinuxTree(tree.Root());
}

}  // namespace
