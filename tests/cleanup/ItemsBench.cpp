// Not a test: times the cleaning items under Wine. Run by
// scripts/bench-items.sh (suite ItemsBench, which CTest does not run).
//  1. Sizing a browser's caches during a scan against the bare walk of the
//     same folders.
//  2. Cleaning the caches of a profile of 20,000 cache files against
//     DeleteFileW over the same files, each on its own copy of one tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "base/Text.h"
#include "base/WinLister.h"
#include "cleanup/ItemEngine.h"
#include "cleanup/KeepList.h"
#include "cleanup/ScanWalk.h"
#include "cleanup/TempTree.h"

namespace {

constexpr int kRuns = 3;
const char kProfile[] = "Local\\Microsoft\\Edge\\User Data\\Default\\";

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// A Chromium cache as the browser lays it out: one flat Cache_Data folder,
// the code cache by hash folders, service-worker caches. Returns the files'
// paths below the tree.
std::vector<std::string> LayOutCache(const cleanuptest::TempTree& tree, int files) {
  std::vector<std::string> paths;
  for (int i = 0; i < files; ++i) {
    std::string rel;
    switch (i % 4) {
      case 0:
      case 1: rel = "Cache\\Cache_Data\\f_" + std::to_string(i); break;
      case 2: rel = "Code Cache\\js\\" + std::to_string(i % 50) + "\\c_" + std::to_string(i); break;
      default:
        rel = "Service Worker\\CacheStorage\\h" + std::to_string(i % 20) + "\\" + std::to_string(i);
    }
    tree.Write(kProfile + rel, 512);
    paths.push_back(kProfile + rel);
  }
  return paths;
}

cleanup::ItemContext Context(const cleanuptest::TempTree& tree, const cleanup::KeepList& keep) {
  cleanup::ItemContext context;
  context.folders.localAppData = tree.Path("Local");
  cleanup::UseKeepList(context, keep);
  return context;
}

// One profile of 20,000 cache files, written once through Wine; each clean
// gets a copy made by Linux' cp.
class ItemsBench : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    tree_ = new cleanuptest::TempTree("items-bench");
    paths_ = new std::vector<std::string>(LayOutCache(*tree_, 20000));
  }
  static void TearDownTestSuite() {
    cleanuptest::RemoveLinuxTree(tree_->Root());
    delete tree_;
    delete paths_;
  }
  static cleanuptest::TempTree* tree_;
  static std::vector<std::string>* paths_;
};
cleanuptest::TempTree* ItemsBench::tree_ = nullptr;
std::vector<std::string>* ItemsBench::paths_ = nullptr;

TEST_F(ItemsBench, SizingAgainstBareWalk) {
  const cleanuptest::TempTree& tree = *tree_;
  cleanup::KeepList keep;
  keep.Add("C:\\Users\\someone\\Documents\\kept");
  cleanup::WinItemSystem system;
  const cleanup::ItemContext context = Context(tree, keep);
  const cleanup::CleanItem& cache = *cleanup::FindCleanItem("edge-cache");
  std::vector<double> bare, items;
  for (int run = 0; run < kRuns + 1; ++run) {
    auto start = std::chrono::steady_clock::now();
    base::WinLister lister;
    uint64_t kb = 0;
    for (const char* folder : {"Cache", "Code Cache", "GPUCache", "Service Worker\\CacheStorage"})
      kb += cleanup::FolderSizeKB(lister, tree.Path(std::string(kProfile) + folder));
    const double b = Seconds(std::chrono::steady_clock::now() - start);
    start = std::chrono::steady_clock::now();
    cleanup::ItemScan scan = cleanup::ScanItem(cache, system, context);
    const double s = Seconds(std::chrono::steady_clock::now() - start);
    ASSERT_EQ(scan.files, 20000u);
    ASSERT_EQ(kb, 0u);       // 512-byte files count as 0 KB each in the bare walk's totals
    if (run == 0) continue;  // warms the cache
    bare.push_back(b);
    items.push_back(s);
  }
  const double b = *std::min_element(bare.begin(), bare.end());
  const double s = *std::min_element(items.begin(), items.end());
  std::printf("sizing: bare walk of the cache folders: %.3f s (best of %d)\n", b, kRuns);
  std::printf("sizing: edge-cache item scan:          %.3f s\n", s);
  std::printf("ratio sizing / bare walk:              %.2f (goal at most 1.2)\n", s / b);
}

TEST_F(ItemsBench, CleanAgainstDeleteFileW) {
  cleanup::KeepList keep;
  keep.Add("C:\\Users\\someone\\Documents\\kept");
  cleanup::WinItemSystem system;
  const cleanup::CleanItem& cache = *cleanup::FindCleanItem("edge-cache");
  std::vector<double> reference, cleaned;
  for (int run = 0; run < kRuns; ++run) {
    cleanuptest::TempTree bare("items-delete"), items("items-clean");
    ASSERT_TRUE(cleanuptest::CopyLinuxTree(tree_->Root(), bare.Root()));
    ASSERT_TRUE(cleanuptest::CopyLinuxTree(tree_->Root(), items.Root()));
    const cleanup::ItemContext context = Context(items, keep);
    cleanup::ItemScan scan = cleanup::ScanItem(cache, system, context);
    ASSERT_EQ(scan.files, paths_->size());
    // Each side goes first every other round.
    for (int side = 0; side < 2; ++side) {
      auto start = std::chrono::steady_clock::now();
      if ((side + run) % 2 == 0) {
        size_t deleted = 0;
        for (const std::string& p : *paths_)
          deleted += DeleteFileW(base::Wide(bare.Path(p)).c_str()) != FALSE;
        reference.push_back(Seconds(std::chrono::steady_clock::now() - start));
        ASSERT_EQ(deleted, paths_->size());
      } else {
        cleanup::ItemResult result = cleanup::CleanScanned(scan, system, context);
        cleaned.push_back(Seconds(std::chrono::steady_clock::now() - start));
        ASSERT_EQ(result.files, paths_->size());
      }
    }
  }
  const double r = *std::min_element(reference.begin(), reference.end());
  const double c = *std::min_element(cleaned.begin(), cleaned.end());
  std::printf("clean: DeleteFileW over 20,000 cache files: %.3f s (best of %d)\n", r, kRuns);
  std::printf("clean: edge-cache item clean:               %.3f s\n", c);
  std::printf("ratio clean / DeleteFileW:                  %.2f (goal at most 1.2)\n", c / r);
}

}  // namespace
