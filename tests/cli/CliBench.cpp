// Not a test: times the command line against what it is built on, run by
// scripts/bench-cli.sh (suite CliBench, which CTest does not run).
//  - /scan of a tree against the bare walk of the same tree; the tree comes
//    from MIRVEN_BENCH_TREE (made by the script: 100,000 files).
//  - /clean of 10,000 junk files against CleanAll alone on the same files.
// Each is timed in this process (the run without the program's start) and
// as Mirven.exe started with the arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cleanup/FileOps.h"
#include "cleanup/ScanSession.h"
#include "cleanup/TempTree.h"
#include "base/WinLister.h"
#include "cli/Run.h"
#include "base/Text.h"
#include "cleanup/Traces.h"

namespace {

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

template <typename F>
double Time(F f) {
  auto start = std::chrono::steady_clock::now();
  f();
  return Seconds(std::chrono::steady_clock::now() - start);
}

class BenchHost : public cli::Host {
 public:
  base::DirectoryLister& Lister() override { return lister_; }
  cleanup::FileDeleter& Deleter() override { return deleter_; }
  cleanup::RecycleBin& Bin() override { return bin_; }
  cleanup::OptionCleaner& Cleaner() override { return cleaner_; }
  // What would go to a redirected output.
  void Out(const std::string& line) override { text_ += line + "\r\n"; }
  void Err(const std::string& line) override { text_ += line + "\r\n"; }

 private:
  base::WinLister lister_;
  cleanup::WinDeleter deleter_;
  cleanup::WinRecycleBin bin_;
  cleanup::TraceCleaner cleaner_{nullptr};
  std::string text_;
};

cli::Plan PlanOf(std::vector<std::string> args) {
  return cli::MakePlan(cli::ParseArguments(args).options, "",
                       [](const std::string& s) { return s; });
}

// Runs Mirven.exe with `args`, its output into NUL; returns the exit code.
DWORD RunProgram(const std::string& args) {
  std::wstring exe = base::Wide(std::string("Z:") + MIRVEN_DIST_DIR + "/Mirven.exe");
  std::replace(exe.begin(), exe.end(), L'/', L'\\');
  std::wstring cmd = L"\"" + exe + L"\" " + base::Wide(args);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE nul =
      CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = si.hStdError = nul;
  PROCESS_INFORMATION pi{};
  DWORD code = 99;
  if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                     &pi)) {
    WaitForSingleObject(pi.hProcess, INFINITE);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  CloseHandle(nul);
  return code;
}

double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

TEST(CliBench, ScanAgainstTheBareWalk) {
  const char* tree = std::getenv("MIRVEN_BENCH_TREE");
  if (!tree) GTEST_SKIP() << "MIRVEN_BENCH_TREE is not set";
  const std::string root = tree;
  constexpr int kRuns = 3;
  // Each round times the walk and the run back to back, in turns first, so
  // that a busy machine weighs on both alike; the ratio is each round's.
  std::vector<double> bare, inProcess, program, ratios;
  uint64_t files = 0, junk = 0;
  for (int run = 0; run < kRuns + 1; ++run) {  // the first warms the cache
    double b = 0, c = 0;
    auto walkOnce = [&] {
      base::WinLister lister;
      cleanup::ScanControl control;
      const cleanup::JunkPatterns patterns = cleanup::JunkPatterns::Defaults();
      cleanup::ScanWalk walk(lister, patterns, control);
      b = Time([&] { walk.Run(root, [](const std::string&, const base::DirEntry&, bool) {}); });
      files = walk.files();
      junk = walk.junkCount();
    };
    auto runOnce = [&] {
      BenchHost host;
      cli::RunReport report;
      c = Time([&] {
        report = cli::Execute(PlanOf({"/scan", root}), host);
        cli::ReportJson(report);
      });
      EXPECT_EQ(report.files.size(), junk);
    };
    if (run % 2) {
      walkOnce();
      runOnce();
    } else {
      runOnce();
      walkOnce();
    }
    double p = Time([&] { EXPECT_EQ(RunProgram("/scan \"" + root + "\" /quiet"), 0u); });
    if (run == 0) continue;
    bare.push_back(b);
    inProcess.push_back(c);
    program.push_back(p);
    ratios.push_back(c / b);
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("files %llu, junk %llu\n", static_cast<unsigned long long>(files),
              static_cast<unsigned long long>(junk));
  std::printf("bare walk:                    %.3f s (best of %d)\n", Best(bare), kRuns);
  std::printf("scan run with report:         %.3f s\n", Best(inProcess));
  std::printf("Mirven.exe /scan /quiet:      %.3f s\n", Best(program));
  std::printf("ratio /scan run / walk:       %.2f median of %d rounds, %.2f to %.2f\n",
              ratios[ratios.size() / 2], kRuns, ratios.front(), ratios.back());
  std::printf("ratio Mirven.exe /scan / walk: %.2f\n", Best(program) / Best(bare));
}

TEST(CliBench, CleanAgainstCleanAllAlone) {
  constexpr int kFolders = 100, kPerFolder = 100, kRuns = 3;
  auto make = [&](cleanuptest::TempTree& t) {
    for (int d = 0; d < kFolders; ++d)
      for (int f = 0; f < kPerFolder; ++f)
        t.Write("d" + std::to_string(d) + "\\j" + std::to_string(f) + ".tmp", 100);
  };
  std::vector<double> alone, inProcess, program;
  for (int run = 0; run < kRuns; ++run) {
    {
      cleanuptest::TempTree t("bench-cleanall");
      make(t);
      base::WinLister lister;
      cleanup::ScanSession session(t.Root(), cleanup::JunkPatterns::Defaults(), {});
      session.Run(lister);
      std::vector<cleanup::FoundFile> found = session.TakeSlice(SIZE_MAX);
      ASSERT_EQ(found.size(), static_cast<size_t>(kFolders * kPerFolder));
      cleanup::WinDeleter deleter;
      cleanup::CleanTally tally;
      alone.push_back(Time([&] { tally = cleanup::CleanAll(deleter, found); }));
      ASSERT_EQ(tally.deleted, found.size());
    }
    {
      cleanuptest::TempTree t("bench-cliclean");
      make(t);
      BenchHost host;
      cli::RunReport report;
      inProcess.push_back(Time([&] {
        report = cli::Execute(PlanOf({"/clean", t.Root(), "/permanent"}), host);
        cli::ReportJson(report);
      }));
      ASSERT_EQ(report.tally.deleted, static_cast<uint64_t>(kFolders * kPerFolder));
    }
    {
      cleanuptest::TempTree t("bench-execlean");
      make(t);
      program.push_back(Time(
          [&] { EXPECT_EQ(RunProgram("/clean \"" + t.Root() + "\" /permanent /quiet"), 0u); }));
    }
  }
  std::printf("junk files: %d\n", kFolders * kPerFolder);
  std::printf("CleanAll alone:                %.3f s (best of %d)\n", Best(alone), kRuns);
  std::printf("clean run (scan, clean, report): %.3f s\n", Best(inProcess));
  std::printf("Mirven.exe /clean /permanent:  %.3f s\n", Best(program));
  std::printf("ratio /clean run / CleanAll:   %.2f (goal at most 1.1)\n",
              Best(inProcess) / Best(alone));
  std::printf("ratio Mirven.exe / CleanAll:   %.2f\n", Best(program) / Best(alone));
}

}  // namespace
