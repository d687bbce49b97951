// The junk scan walk against `find ROOT -type f` with the same name tests,
// on the same tree in the same run. Prints the times and their ratio.
//   bench_scan [ROOT]   without ROOT a tree of 100,000 files in 10,000
//                       folders is made in /tmp and removed afterwards.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/PosixLister.h"
#include "cleanup/ScanWalk.h"

namespace {

constexpr int kFolders = 10000;
constexpr int kFilesPerFolder = 10;
constexpr int kRuns = 5;
const char* const kExtensions[] = {".txt", ".dat", ".tmp", ".log", ".old",
                                   ".TMP", ".cfg", ".do~", ".bin", ".gid"};

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

void MakeTree(const std::string& root) {
  // 100 top folders of 100 folders each: a shape like a real profile's.
  for (int top = 0; top < kFolders / 100; ++top) {
    std::string t = root + "/t" + std::to_string(top);
    mkdir(t.c_str(), 0700);
    for (int sub = 0; sub < 100; ++sub) {
      std::string s = t + "/s" + std::to_string(sub);
      mkdir(s.c_str(), 0700);
      for (int f = 0; f < kFilesPerFolder; ++f) {
        std::string name = s + "/file" + std::to_string(f) + kExtensions[(f + sub) % 10];
        if (FILE* out = std::fopen(name.c_str(), "w")) {
          std::fputs("x", out);
          std::fclose(out);
        }
      }
    }
  }
}

struct Result {
  double seconds;
  unsigned long long junk;
};

Result Walk(const std::string& root) {
  base::PosixLister lister;
  cleanup::ScanControl control;
  cleanup::JunkPatterns patterns = cleanup::JunkPatterns::Defaults();
  cleanup::ScanWalk walk(lister, patterns, control);
  unsigned long long junk = 0;
  auto start = std::chrono::steady_clock::now();
  walk.Run(root, [&](const std::string&, const base::DirEntry&, bool j) { junk += j; });
  return {Seconds(std::chrono::steady_clock::now() - start), junk};
}

Result Find(const std::string& root, const std::string& extra) {
  std::string cmd = "find '" + root +
                    "' -type f \\( -iname '*.tmp' -o -iname '*.syd' -o -iname '*.old'"
                    " -o -iname '*.gid' -o -iname '*._mp' -o -iname '*.??~' \\) " +
                    extra;
  auto start = std::chrono::steady_clock::now();
  FILE* p = popen(cmd.c_str(), "r");
  unsigned long long lines = 0;
  if (p) {
    char buf[4096];
    while (std::fgets(buf, sizeof buf, p))
      if (std::strchr(buf, '\n')) ++lines;
    pclose(p);
  }
  return {Seconds(std::chrono::steady_clock::now() - start), lines};
}

double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char** argv) {
  std::string root;
  bool made = false;
  if (argc > 1) {
    root = argv[1];
  } else {
    char tmpl[] = "/tmp/mirven-bench-scan-XXXXXX";
    if (!mkdtemp(tmpl)) return 1;
    root = tmpl;
    made = true;
    std::printf("making %d files in %d folders under %s\n", kFolders * kFilesPerFolder, kFolders,
                root.c_str());
    MakeTree(root);
  }
  // One untimed pass of each so that both start with a warm cache.
  Walk(root);
  Find(root, "-print");
  std::vector<double> walk, find, findStat;
  unsigned long long junkWalk = 0, junkFind = 0;
  for (int run = 0; run < kRuns; ++run) {
    Result w = Walk(root);
    Result f = Find(root, "-print");
    Result fs = Find(root, "-printf '%s %p\\n'");
    walk.push_back(w.seconds);
    find.push_back(f.seconds);
    findStat.push_back(fs.seconds);
    junkWalk = w.junk;
    junkFind = f.junk;
  }
  std::printf("junk files: walk %llu, find %llu\n", junkWalk, junkFind);
  std::printf("scan walk (sizes of all files): %.3f s (best of %d)\n", Best(walk), kRuns);
  std::printf("find -type f, name tests:       %.3f s\n", Best(find));
  std::printf("find, also printing sizes:      %.3f s\n", Best(findStat));
  std::printf("ratio walk / find:              %.2f (goal at most 1.25)\n",
              Best(walk) / Best(find));
  std::printf("ratio walk / find with sizes:   %.2f\n", Best(walk) / Best(findStat));
  if (made) {
    std::string rm = "rm -rf '" + root + "'";
    if (std::system(rm.c_str()) != 0) return 1;
  }
  return 0;
}
