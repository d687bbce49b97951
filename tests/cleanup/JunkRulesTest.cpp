// Junk rules and the texts of the cleanup page.
#include <gtest/gtest.h>

#include "cleanup/CleanupText.h"
#include "cleanup/JunkRules.h"

namespace cleanup {
namespace {

TEST(JunkRules, ExtensionAfterTheLastDotDecides) {
  JunkPatterns p = JunkPatterns::Defaults();
  EXPECT_TRUE(p.IsJunkFile("C:\\Users\\a\\a.tmp"));
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\report.doc.old"));
  EXPECT_TRUE(p.IsJunkFile("/home/a/b.gid"));
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\a._mp"));
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\b.syd"));
  EXPECT_FALSE(p.IsJunkFile("C:\\x\\a.tmp.txt"));
  EXPECT_FALSE(p.IsJunkFile("C:\\x\\a.tmpx"));
  EXPECT_FALSE(p.IsJunkFile("C:\\x\\a.tm"));
  // Only the last component counts: a folder named x.tmp does not make its files junk.
  EXPECT_FALSE(p.IsJunkFile("C:\\x.tmp\\notes.txt"));
  EXPECT_FALSE(p.IsJunkFile("/x.tmp/notes"));
  // "\" wins over "/" when both are present.
  EXPECT_FALSE(p.IsJunkFile("C:\\a/b.tmp\\c.txt"));
  EXPECT_TRUE(p.IsJunkFile("C:\\a.txt/b\\c.tmp"));
}

TEST(JunkRules, NamesWithoutExtensionAreNeverJunk) {
  JunkPatterns p = JunkPatterns::Defaults();
  for (const char* name : {"tmp", "old", "C:\\x\\tmp", "/x/old", "gid", "a.", "C:\\x\\tmp."})
    EXPECT_FALSE(p.IsJunkFile(name)) << name;
}

TEST(JunkRules, CaseDoesNotMatterAsOnWindows) {
  JunkPatterns p = JunkPatterns::Defaults();
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\A.TMP"));
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\a.Old"));
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\a._MP"));
  EXPECT_TRUE(JunkPatterns({"*.TmP"}).IsJunkName("a.tmp"));
}

TEST(JunkRules, QuestionMarkIsExactlyOneCharacter) {
  JunkPatterns p = JunkPatterns::Defaults();
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\a.do~"));
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\a.XL~"));
  EXPECT_FALSE(p.IsJunkFile("C:\\x\\a.d~"));
  EXPECT_FALSE(p.IsJunkFile("C:\\x\\a.docx~"));
  EXPECT_FALSE(p.IsJunkFile("C:\\x\\a.~"));
  EXPECT_FALSE(p.IsJunkFile("C:\\x\\a.??"));
  // One character, not one byte: two Chinese characters are two.
  EXPECT_TRUE(p.IsJunkFile("C:\\x\\a.文档~"));
  EXPECT_FALSE(p.IsJunkFile("C:\\x\\a.文~"));
  EXPECT_TRUE(JunkPatterns::KeyMatches("t?p", "tmp"));
  EXPECT_FALSE(JunkPatterns::KeyMatches("t?p", "tp"));
}

TEST(JunkRules, EmptyListMatchesNothingAndOrderIsKept) {
  EXPECT_FALSE(JunkPatterns().IsJunkFile("C:\\x\\a.tmp"));
  const JunkPatterns defaults = JunkPatterns::Defaults();
  const auto& d = defaults.Patterns();
  ASSERT_EQ(d.size(), 6u);
  EXPECT_EQ(d.front(), "*.tmp");
  EXPECT_EQ(d.back(), "*.??~");
}

TEST(CleanupText, SizesSwitchUnitsAt1024) {
  EXPECT_EQ(FormatJunkSize(0), "0KB");
  EXPECT_EQ(FormatJunkSize(1023), "1023KB");
  EXPECT_EQ(FormatJunkSize(1024), "1MB");
  EXPECT_EQ(FormatJunkSize(2560), "2MB");
  EXPECT_EQ(FormatJunkSize(1048575), "1023MB");
  EXPECT_EQ(FormatJunkSize(1048576), "1.00GB");
  EXPECT_EQ(FormatJunkSize(1572864), "1.50GB");
  EXPECT_EQ(FormatJunkSize(1048576 + 5243), "1.00GB");   // 0.0050 GB
  EXPECT_EQ(FormatJunkSize(1048576 + 10486), "1.01GB");  // 0.0100 GB
  EXPECT_EQ(FormatJunkSize(1069547), "1.02GB");          // 0.0199995 GB: "%f" gives 0.020000
  EXPECT_EQ(FormatJunkSize(2 * 1048576 - 1), "1.99GB");  // truncated, not rounded up
}

TEST(CleanupText, SixtyFourBitTotals) {
  // 4 GB and more: no wrap-around at 32 bits.
  EXPECT_EQ(FormatJunkSize(uint64_t{4} << 20), "4.00GB");
  EXPECT_EQ(FormatJunkSize((uint64_t{5000} << 20) + (uint64_t{1} << 19)), "5000.50GB");
  EXPECT_EQ(SizeKB(uint64_t{5} << 30), uint64_t{5} << 20);
  EXPECT_EQ(ProgressMB(uint64_t{6} << 30), uint64_t{6} << 20);
  EXPECT_EQ(ScanSummary(uint64_t{5000000000}, 0),
            "扫描已完成！本次共扫描出 5000000000 个垃圾文件，立即清除可帮您节省 0KB 磁盘空间。");
}

TEST(CleanupText, SummaryAndReportLines) {
  EXPECT_EQ(ScanSummary(3, 2560),
            "扫描已完成！本次共扫描出 3 个垃圾文件，立即清除可帮您节省 2MB 磁盘空间。");
  EXPECT_EQ(ScanSummary(0, 0),
            "扫描已完成！本次共扫描出 0 个垃圾文件，立即清除可帮您节省 0KB 磁盘空间。");
  EXPECT_EQ(CleanReport(2, 1536, 1), "共删除 2 个垃圾文件，释放 1MB 磁盘空间，1 个文件未能删除。");
  EXPECT_STREQ(OptionText(kTempFiles), "临时文件");
  EXPECT_STREQ(CompletionLine(kTypedUrls), "最近网址记录清空完毕！");
  EXPECT_STREQ(CompletionLine(kTempFiles), "");
  EXPECT_STREQ(CompletionLine(static_cast<int>(OptionCount())), "");
}

}  // namespace
}  // namespace cleanup
