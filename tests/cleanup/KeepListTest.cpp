// The keep-list: reading, writing back and matching paths.
#include "cleanup/KeepList.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using cleanup::KeepKey;
using cleanup::KeepList;

TEST(KeepList, MatchesFilesAndEverythingUnderAFolderIgnoringCaseAndSeparators) {
  KeepList keep;
  ASSERT_TRUE(keep.Add("C:\\Users\\me\\Projects\\"));  // a folder, trailing separator
  ASSERT_TRUE(keep.Add("D:/Data/config.old"));         // a file, other separators
  ASSERT_TRUE(keep.Add("C:\\Архив\\ÄÖ\\中文"));        // CJK and letters with case
  ASSERT_TRUE(keep.Add("\\\\?\\E:\\long"));            // the long-path prefix
  EXPECT_FALSE(keep.Add("c:\\users\\ME\\projects"));   // kept already
  EXPECT_FALSE(keep.Add("relative\\x.tmp"));
  EXPECT_FALSE(keep.Add("C:\\a\r\nC:\\b"));

  EXPECT_TRUE(keep.Keeps("c:\\USERS\\me\\projects\\a\\b.tmp"));
  EXPECT_TRUE(keep.Keeps("C:\\Users\\me\\Projects"));
  // A file beside the folder with the same first letters is not in it.
  EXPECT_FALSE(keep.Keeps("C:\\Users\\me\\Projects.old"));
  EXPECT_FALSE(keep.Keeps("C:\\Users\\me\\Projects2\\a.tmp"));
  EXPECT_TRUE(keep.Keeps("d:\\DATA\\CONFIG.OLD"));
  EXPECT_FALSE(keep.Keeps("D:\\Data\\config.old2"));
  EXPECT_TRUE(keep.Keeps("c:\\архив\\äö\\中文\\x.tmp"));
  EXPECT_FALSE(keep.Keeps("C:\\Архив\\ÄÖ\\中文字.tmp"));
  std::string deep = "E:\\long";
  while (deep.size() < 400) deep += "\\folder-with-a-long-name";
  EXPECT_TRUE(keep.Keeps(deep + "\\x.tmp"));
  EXPECT_TRUE(keep.Keeps("\\\\?\\" + deep + "\\x.tmp"));
  EXPECT_EQ(KeepKey("\\\\?\\UNC\\Server\\Share\\"), "\\\\server\\share");

  ASSERT_TRUE(keep.Remove(0));
  EXPECT_FALSE(keep.Keeps("C:\\Users\\me\\Projects\\a\\b.tmp"));
  EXPECT_FALSE(keep.Remove(9));
}

TEST(KeepList, SetsUnreadableLinesAsideAndWritesThemBackAsTheyWere) {
  const std::string text =
      "\xEF\xBB\xBF"
      "C:\\keep\\a.old\r\n"
      "\r\n"
      "not a path\n"
      "C:\\bad\xFF\xFE.tmp\n"
      "c:\\KEEP\\A.OLD\n"  // the same path again
      "\\\\server\\share\\b.tmp";
  KeepList keep = KeepList::Parse(text);
  EXPECT_EQ(keep.Entries(),
            (std::vector<std::string>{"C:\\keep\\a.old", "\\\\server\\share\\b.tmp"}));
  EXPECT_EQ(keep.Unreadable(), 2u);
  ASSERT_TRUE(keep.Add("C:\\新\\c.tmp"));
  const std::string written = keep.Serialize();
  EXPECT_EQ(written,
            "C:\\keep\\a.old\r\n\\\\server\\share\\b.tmp\r\nC:\\新\\c.tmp\r\n"
            "not a path\r\nC:\\bad\xFF\xFE.tmp\r\n");
  // Read again, nothing is lost or doubled.
  KeepList again = KeepList::Parse(written);
  EXPECT_EQ(again.Entries(), keep.Entries());
  EXPECT_EQ(again.Serialize(), written);
  EXPECT_TRUE(KeepList::Parse("").Entries().empty());
}

// Notepad's "Unicode" and PowerShell's ">" write UTF-16; what is written
// back is UTF-8 that reads back the same, whatever the lines hold.
TEST(KeepList, ReadsUtf16ByItsMarkAndNeverWritesWhatItCannotReadBack) {
  const std::u16string lines = u"C:\\保留\\a.tmp\r\nD:\\😀\r\n";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (char16_t c : lines) {
    le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  }
  for (const std::string& bytes : {le, be}) {
    std::optional<KeepList> keep = KeepList::Read(bytes);
    ASSERT_TRUE(keep);
    EXPECT_EQ(keep->Entries(), (std::vector<std::string>{"C:\\保留\\a.tmp", "D:\\😀"}));
    EXPECT_EQ(keep->Unreadable(), 0u);
    EXPECT_EQ(KeepList::Read(keep->Serialize())->Entries(), keep->Entries());
  }
  EXPECT_FALSE(KeepList::Read(le + "x"));                  // half a unit
  EXPECT_FALSE(KeepList::Read(le + std::string("\x3D\xD8" "A\0", 4)));  // half a pair
  // An unreadable first line that looks like a UTF-16 mark stays UTF-8.
  KeepList odd = KeepList::Parse("\xFF\xFEodd\n");
  EXPECT_EQ(KeepList::Read(odd.Serialize())->Serialize(), odd.Serialize());
  // A whole drive would keep every file on it.
  KeepList keep;
  EXPECT_FALSE(keep.Add("C:"));
  EXPECT_FALSE(keep.Add("c:\\"));
  EXPECT_TRUE(cleanup::IsWholeDrive("\\\\?\\D:\\"));
  EXPECT_TRUE(keep.Add("C:\\x"));
}

}  // namespace
