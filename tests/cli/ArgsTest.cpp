// The command line read natively: splitting and quoting as the C runtime
// does, every mode and switch, and the mistakes a user makes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "cli/Args.h"
#include "cli/Schedule.h"

namespace cli {
namespace {

using Args = std::vector<std::string>;

TEST(CliArgs, SplitsAsTheRuntimeDoes) {
  // The program's name keeps its backslashes and ends at its quote.
  EXPECT_EQ(SplitCommandLine(R"("C:\Program Files\Mirven.exe" /scan "C:\My Docs"	D:\x)"),
            (Args{R"(C:\Program Files\Mirven.exe)", "/scan", R"(C:\My Docs)", R"(D:\x)"}));
  EXPECT_EQ(SplitCommandLine(R"(Mirven.exe a\\b a\\\"b "a\\" "" "say ""hi""" x"y z")"),
            (Args{"Mirven.exe", R"(a\\b)", R"(a\"b)", R"(a\)", "", R"(say "hi")", "xy z"}));
  // A folder typed with a trailing backslash inside quotes swallows the quote.
  EXPECT_EQ(SplitCommandLine(R"(m.exe /scan "C:\a b\" /quiet)"),
            (Args{"m.exe", "/scan", R"(C:\a b" /quiet)"}));
  EXPECT_EQ(SplitCommandLine("m.exe   "), Args{"m.exe"});

  for (std::string s : {R"(C:\Program Files\)", R"(a"b)", "\"", "", "中文 路径\\", R"(a\\"b)",
                        "tab\there", R"(\\server\share\)", "plain"}) {
    Args back = SplitCommandLine("m.exe " + QuoteArgument(s));
    ASSERT_EQ(back.size(), 2u) << s;
    EXPECT_EQ(back[1], s);
  }
  EXPECT_EQ(QuoteArgument("plain"), "plain");
}

TEST(CliArgs, ReadsEveryMode) {
  ParseResult r = ParseArguments({"/SCAN", R"(C:\a)", "-quiet", "D:", "/report", "-"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.mode, Mode::kScan);
  EXPECT_EQ(r.options.roots, (Args{R"(C:\a)", "D:"}));
  EXPECT_TRUE(r.options.quiet);
  EXPECT_EQ(r.options.report, "-");
  // Only the junk files unless /traces says otherwise.
  OptionSet tempOnly = cleanup::NoOptions();
  tempOnly[cleanup::kTempFiles] = true;
  EXPECT_EQ(r.options.options, tempOnly);

  r = ParseArguments({"--clean", "/permanent", "/traces", "temp,Cookies，历史记录, recent,recycle",
                      "/report", R"(C:\r.json)"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.mode, Mode::kClean);
  EXPECT_TRUE(r.options.permanent);
  EXPECT_TRUE(r.options.roots.empty());
  OptionSet chosen = cleanup::NoOptions();
  for (int k : {cleanup::kTempFiles, cleanup::kCookies, cleanup::kUrlHistory, cleanup::kTypedUrls,
                cleanup::kRecycleBin})
    chosen[k] = true;
  EXPECT_EQ(r.options.options, chosen);
  // Every name of the "清理选项" tab, English and Chinese, is known.
  for (int k = 0; k < static_cast<int>(cleanup::OptionCount()); ++k) {
    OptionSet one = cleanup::NoOptions();
    std::string bad;
    EXPECT_TRUE(ParseOptionNames(cleanup::OptionName(k), one, bad) && one[k]) << k;
    EXPECT_TRUE(ParseOptionNames(cleanup::OptionText(k), one, bad)) << k;
  }

  r = ParseArguments({"/schedule", "WEEKLY", "7:05"});
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.mode, Mode::kSchedule);
  EXPECT_EQ(r.options.repeat, Repeat::kWeekly);
  EXPECT_EQ(r.options.hour * 100 + r.options.minute, 705);
  r = ParseArguments({"/schedule", "daily"});
  EXPECT_TRUE(r.ok() && r.options.hour == 12 && r.options.minute == 0);
  EXPECT_EQ(ParseArguments({"/schedule", "off"}).options.repeat, Repeat::kOff);

  // Help wins over whatever else is there.
  EXPECT_EQ(ParseArguments({"/bogus", "/?"}).options.mode, Mode::kHelp);
  EXPECT_EQ(ParseArguments({"-h"}).options.mode, Mode::kHelp);
  EXPECT_NE(UsageText().find("recycle"), std::string::npos);
}

TEST(CliArgs, RefusesMistakesWithAReason) {
  const std::pair<Args, const char*> bad[] = {
      {{"/scan", "/quiet", "/QUIET"}, "重复"},
      {{"/scan", "/traces", "temp", "/traces", "cookies"}, "重复"},
      {{"/scan", "/frobnicate"}, "未知的参数：/frobnicate"},
      {{"/scan", "/clean"}, "只能选一个"},
      {{"/quiet"}, "请指定"},
      {{R"(C:\a)"}, "请指定"},
      {{"/scan", "/report"}, "/report"},
      {{"/scan", "/report", "/quiet"}, "/report"},
      {{"/scan", "/report", ""}, "/report"},
      {{"/clean", "/report", R"(C:\out\)"}, "文件夹"},
      {{"/clean", "/report", "out/"}, "文件夹"},
      {{"/clean", "/traces"}, "/traces"},
      {{"/clean", "/traces", "temp,bogus"}, "未知的清理选项：bogus"},
      {{"/clean", "/traces", ","}, "未知的清理选项"},
      {{"/schedule"}, "daily"},
      {{"/schedule", "monthly"}, "monthly"},
      {{"/schedule", "daily", "24:00"}, "HH:MM"},
      {{"/schedule", "daily", "12:60"}, "HH:MM"},
      {{"/schedule", "daily", "1:2"}, "HH:MM"},
      {{"/schedule", "off", "12:00"}, "不需要时间"},
      {{"/schedule", "daily", R"(C:\a)"}, "多余的参数"},
      {{"/schedule", "daily", "/report", "x"}, "/report"},
      {{"/scan", "/permanent"}, "/permanent 只能"},
      {{"/scan", R"(C:\a b" /quiet)"}, "引号"},
      {{"/clean", R"(C:\a)", "/traces", "cookies"}, "没有 temp"},
  };
  for (const auto& [args, why] : bad) {
    ParseResult r = ParseArguments(args);
    EXPECT_NE(r.error.find(why), std::string::npos) << args[0] << " ... gave: " << r.error;
  }
}

TEST(CliArgs, TheScheduledTaskRunsTheCleanWithItsReport) {
  const std::string report = R"(C:\Users\张 三\AppData\Local\Mirven\last-clean.json)";
  Args args = SplitCommandLine("Mirven.exe " + TaskArguments(report));
  EXPECT_EQ(args, (Args{"Mirven.exe", "/clean", "/traces", "temp", "/quiet", "/report", report}));
  ParseResult r = ParseArguments(Args(args.begin() + 1, args.end()));
  ASSERT_TRUE(r.ok()) << r.error;
  EXPECT_EQ(r.options.report, report);
  EXPECT_EQ(StartBoundary(2026, 1, 9, 7, 5), "2026-01-09T07:05:00");

  // The task's XML as an XML parser reads it back.
  TaskPlan plan{Repeat::kWeekly, "2026-01-09T07:05:00", 2, R"(C:\R&D <"x">\Mirven.exe)", report};
  const std::string file = ::testing::TempDir() + "cli-task.xml";
  std::ofstream(file, std::ios::binary) << TaskXml(plan);
  const std::string cmd =
      "/usr/bin/python3 -c 'import sys,xml.etree.ElementTree as E\n"
      "n={\"t\":\"http://schemas.microsoft.com/windows/2004/02/mit/task\"}\n"
      "r=E.fromstring(open(sys.argv[1],encoding=\"utf-8\").read())\n"
      "for p in (\".//t:Command\",\".//t:Arguments\",\".//t:StartBoundary\",\".//t:LogonType\"):"
      " print(r.find(p,n).text)\n"
      "print(r.find(\".//t:DaysOfWeek\",n)[0].tag.split(\"}\")[1])' " +
      file;
  std::vector<std::string> lines;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[1024];
    while (std::fgets(buf, sizeof buf, p)) lines.push_back(std::string(buf, strcspn(buf, "\n")));
    pclose(p);
  }
  std::remove(file.c_str());
  EXPECT_EQ(lines, (Args{plan.program, TaskArguments(report), plan.startBoundary,
                         "InteractiveToken", "Tuesday"}));
}

}  // namespace
}  // namespace cli
