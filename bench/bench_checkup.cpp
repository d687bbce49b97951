// The check-up's walk against the cleanup page's walk over the same tree in
// the same run: each measures the folder and then walks it. Prints the
// times and their ratio (goal: at most 1.1).
//   bench_checkup [ROOT]   without ROOT a tree of 100,000 files in 10,000
//                          folders is made in /tmp and removed afterwards.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/PosixLister.h"
#include "checkup/CheckUp.h"
#include "cleanup/ScanWalk.h"

namespace {

constexpr int kRuns = 5;

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

void MakeTree(const std::string& root) {
  for (int top = 0; top < 100; ++top) {
    std::string t = root + "/t" + std::to_string(top);
    mkdir(t.c_str(), 0700);
    for (int sub = 0; sub < 100; ++sub) {
      std::string s = t + "/s" + std::to_string(sub);
      mkdir(s.c_str(), 0700);
      for (int f = 0; f < 10; ++f) {
        if (FILE* out = std::fopen((s + "/file" + std::to_string(f) + ".dat").c_str(), "w")) {
          std::fputs("x", out);
          std::fclose(out);
        }
      }
    }
  }
}

class NoProbe : public checkup::SystemProbe {
 public:
  checkup::VersionFacts Version() override { return {}; }
  std::string ProcessorName() override { return ""; }
  uint64_t PhysicalMemoryBytes() override { return 0; }
  uint64_t VirtualMemoryBytes() override { return 0; }
  std::vector<checkup::DriveFacts> Drives() override { return {}; }
  std::string VideoAdapter() override { return ""; }
};

class Quiet : public checkup::CheckUpListener {
 public:
  uint64_t progress = 0;
  void Stage(int) override {}
  void Range(uint64_t) override {}
  void Progress(uint64_t kb) override { progress = kb; }
  void Line(const std::string&) override {}
  void ProfileRead(const checkup::Profile&) override {}
};

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  bool made = false;
  if (argc > 1) {
    root = argv[1];
  } else {
    char pattern[] = "/tmp/bench_checkup.XXXXXX";
    root = mkdtemp(pattern);
    std::printf("making 100,000 files in %s\n", root.c_str());
    MakeTree(root);
    made = true;
  }
  base::PosixLister lister;
  std::vector<double> cleanupRuns, checkupRuns;
  uint64_t files = 0;
  for (int run = 0; run < kRuns; ++run) {
    auto start = std::chrono::steady_clock::now();
    {
      cleanup::ScanControl control;
      cleanup::FolderSizeKB(lister, root, &control);
      cleanup::JunkPatterns patterns = cleanup::JunkPatterns::Defaults();
      cleanup::ScanWalk walk(lister, patterns, control);
      walk.Run(root, [](const std::string&, const base::DirEntry&, bool) {});
      files = walk.files();
    }
    cleanupRuns.push_back(Seconds(std::chrono::steady_clock::now() - start));

    start = std::chrono::steady_clock::now();
    {
      cleanup::ScanControl control;
      NoProbe probe;
      Quiet quiet;
      checkup::RunCheckUp(lister, checkup::CheckUpFolders{{root, "", "", ""}}, control, probe,
                          quiet);
    }
    checkupRuns.push_back(Seconds(std::chrono::steady_clock::now() - start));
  }
  double c = *std::min_element(cleanupRuns.begin(), cleanupRuns.end());
  double k = *std::min_element(checkupRuns.begin(), checkupRuns.end());
  std::printf("files: %llu\n", static_cast<unsigned long long>(files));
  std::printf("cleanup page, measure and walk: %.3f s (best of %d)\n", c, kRuns);
  std::printf("check-up, measure and walk:     %.3f s\n", k);
  std::printf("ratio check-up / cleanup:       %.2f (goal at most 1.1)\n", k / c);
  if (made) std::system(("rm -rf '" + root + "'").c_str());
  return 0;
}
