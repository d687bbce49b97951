// Sizing the cleaning items of a laid-out profile (a browser's caches in two
// profiles, 20,000 files in all) against the bare walk of the same folders,
// with a keep-list in force (NOKEEP=1: an empty one). Prints the processor
// times and their ratio.
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cleanup/ItemScan.h"
#include "cleanup/KeepList.h"
#include "cleanup/PosixItemSystem.h"
#include "cleanup/ScanWalk.h"

namespace {

constexpr int kFilesPerProfile = 10000;
constexpr int kRuns = 15;
const char* const kProfiles[] = {"Default", "Profile 1"};
const char* const kFolders[] = {"Cache", "Code Cache", "GPUCache", "Service Worker/CacheStorage"};

// Processor time (user and system) of this process: the machine the
// benchmarks run on is shared, and both sides are bound by it.
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void MakeFolders(const std::string& path) {
  for (size_t cut = path.find('/', 1); cut != std::string::npos; cut = path.find('/', cut + 1))
    mkdir(path.substr(0, cut).c_str(), 0700);
  mkdir(path.c_str(), 0700);
}

void Write(const std::string& path) {
  if (FILE* out = std::fopen(path.c_str(), "w")) {
    std::fputs("cache entry", out);
    std::fclose(out);
  }
}

// A Chromium cache as the browser lays it out: one flat Cache_Data folder,
// the code cache by hash folders, service-worker caches.
void LayOut(const std::string& userData) {
  for (const char* profile : kProfiles) {
    const std::string p = userData + "/" + profile + "/";
    MakeFolders(p + "Cache/Cache_Data");
    MakeFolders(p + "GPUCache");
    for (int i = 0; i < kFilesPerProfile; ++i) {
      std::string folder;
      switch (i % 4) {
        case 0:
        case 1: folder = p + "Cache/Cache_Data"; break;
        case 2: folder = p + "Code Cache/js/" + std::to_string(i % 50); break;
        default: folder = p + "Service Worker/CacheStorage/h" + std::to_string(i % 20);
      }
      if (i < 200) folder = p + "GPUCache";
      MakeFolders(folder);
      Write(folder + "/f_" + std::to_string(i));
    }
    Write(p + "Bookmarks");
    Write(p + "Preferences");
  }
}

}  // namespace

int main() {
  char tmpl[] = "/tmp/mirven-bench-items-XXXXXX";
  if (!mkdtemp(tmpl)) return 1;
  const std::string root = tmpl;
  const std::string userData = root + "/Local/Microsoft/Edge/User Data";
  std::printf("making %d cache files in 2 profiles under %s\n", 2 * kFilesPerProfile, root.c_str());
  LayOut(userData);

  cleanup::PosixItemSystem system;
  cleanup::KeepList keep;
  if (!std::getenv("NOKEEP")) keep.Add("C:\\Users\\someone\\Documents\\kept");
  cleanup::ItemContext context;
  context.folders.localAppData = root + "/Local";
  cleanup::UseKeepList(context, keep);
  const cleanup::CleanItem& cache = *cleanup::FindCleanItem("edge-cache");

  std::vector<double> bare, items;
  uint64_t files = 0, walked = 0;
  for (int run = 0; run <= kRuns; ++run) {
    double start = CpuSeconds();
    cleanup::WalkCounts total;
    for (const char* profile : kProfiles)
      for (const char* folder : kFolders) {
        cleanup::WalkCounts counts;
        cleanup::FolderSizeKB(system.Lister(), userData + "/" + profile + "/" + folder, nullptr,
                              &counts);
        total.files += counts.files;
      }
    const double b = CpuSeconds() - start;
    start = CpuSeconds();
    cleanup::ItemScan scan = cleanup::ScanItem(cache, system, context);
    const double s = CpuSeconds() - start;
    files = scan.files;
    walked = total.files;
    if (run == 0) continue;  // warms the cache
    bare.push_back(b);
    items.push_back(s);
  }
  const double b = *std::min_element(bare.begin(), bare.end());
  const double s = *std::min_element(items.begin(), items.end());
  std::printf("files: item %llu, bare walk %llu\n", static_cast<unsigned long long>(files),
              static_cast<unsigned long long>(walked));
  std::printf("bare walk of the cache folders: %.4f s processor time (best of %d)\n", b, kRuns);
  std::printf("edge-cache item scan:           %.4f s\n", s);
  std::printf("ratio item scan / bare walk:    %.2f (goal at most 1.2)\n", s / b);
  const std::string rm = "rm -rf '" + root + "'";
  return std::system(rm.c_str()) == 0 ? 0 : 1;
}
