// The options tab's model: grouped by program, only installed programs'
// options shown and chosen, and the ticks remembered in options.txt.
#include "cleanup/OptionList.h"

#include <gtest/gtest.h>

#include "cleanup/CleanItems.h"

namespace cleanup {
namespace {

int OptionOf(const char* cliName) {
  for (int k = 0; static_cast<size_t>(k) < OptionCount(); ++k)
    if (std::string(OptionName(k)) == cliName) return k;
  return -1;
}

TEST(OptionList, GroupsShownOptionsUnderTheirProgramsAndChoosesOnlyThose) {
  OptionList list;
  // Before the programs are known: the classic options under two names.
  std::vector<std::string> shown;
  for (const OptionLine& line : list.Lines()) shown.push_back(line.shown);
  EXPECT_EQ(shown, (std::vector<std::string>{"Windows", "清空回收站", "临时文件", "剪贴板",
                                             "Internet Explorer", "Internet 临时文件", "历史记录",
                                             "Cookies", "最近网址列表"}));
  // A scan that starts that soon measures the ticked items: one of a
  // program that is not installed finds nothing.
  EXPECT_EQ(list.Chosen(), DefaultTicks());
  OptionList early;
  early.TickAll(false);
  EXPECT_EQ(early.Chosen(), NoOptions());

  // Edge and Windows installed: Windows' items join its classic options,
  // Edge's follow Internet Explorer's; the rest stay hidden and unchosen.
  std::vector<bool> present(OptionCount(), false);
  for (int k = kFirstItem; static_cast<size_t>(k) < OptionCount(); ++k)
    present[k] = std::string(OptionProgram(k)) == "Microsoft Edge" ||
                 std::string(OptionProgram(k)) == "Windows";
  list.SetPresent(present);
  std::vector<std::string> headers;
  int lastOption = -1;
  for (const OptionLine& line : list.Lines()) {
    if (line.option < 0) {
      headers.push_back(line.text);
      continue;
    }
    EXPECT_EQ(line.text, OptionLabel(line.option));  // read out whole
    EXPECT_EQ(OptionGroup(line.option), headers.back());
    if (OptionGroup(line.option) == OptionGroup(lastOption)) {
      EXPECT_GT(line.option, lastOption);
    }
    lastOption = line.option;
  }
  EXPECT_EQ(headers, (std::vector<std::string>{"Windows", "Internet Explorer", "Microsoft Edge"}));

  const int chromeCache = OptionOf("chrome-cache"), edgeCookies = OptionOf("edge-cookies");
  EXPECT_TRUE(list.Ticks()[chromeCache]);
  EXPECT_FALSE(list.Chosen()[chromeCache]);
  EXPECT_FALSE(list.SetTicked(chromeCache, false));
  list.TickAll(true);
  EXPECT_TRUE(list.Chosen()[edgeCookies]);
  EXPECT_FALSE(list.Chosen()[OptionOf("brave-cookies")]);
  list.TickAll(false);
  EXPECT_FALSE(list.AnyChosen());
  // A hidden option keeps its tick for when its program comes back.
  EXPECT_TRUE(list.Ticks()[chromeCache]);
}

TEST(OptionList, TicksAreRememberedAndADamagedFileMeansTheDefaults) {
  OptionSet ticks = NoOptions();
  ticks[kRecycleBin] = ticks[static_cast<size_t>(OptionOf("firefox-history"))] = true;
  const std::string text = TicksText(ticks);
  EXPECT_EQ(text, "recycle\r\nfirefox-history\r\n");
  EXPECT_EQ(ParseTicks(text), ticks);
  EXPECT_EQ(ParseTicks("\xEF\xBB\xBFrecycle\nfirefox-history \n\n"), ticks);
  EXPECT_EQ(ParseTicks(""), NoOptions());  // nothing ticked is a choice too
  for (const std::string& damaged : {std::string("recycle\nnot-an-option\n"),
                                     std::string("r\xFF\xFE"), std::string("recycle\0temp", 12)})
    EXPECT_FALSE(ParseTicks(damaged)) << damaged;

  // The file read late does not undo what the user changed meanwhile.
  OptionList list;
  list.Remember(ticks);
  EXPECT_TRUE(list.Ticked(kRecycleBin));
  EXPECT_FALSE(list.Ticked(kTempFiles));
  EXPECT_FALSE(list.Changed());
  list.SetTicked(kClipboard, true);
  list.Remember(DefaultTicks());
  EXPECT_TRUE(list.Ticked(kRecycleBin));
}

}  // namespace
}  // namespace cleanup
