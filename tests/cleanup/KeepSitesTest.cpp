// The sites whose cookies a clean keeps.
#include "cleanup/KeepSites.h"

#include <gtest/gtest.h>

namespace {

using cleanup::KeepSites;

TEST(KeepSites, KeepsTheSiteAndTheHostsUnderItOnly) {
  KeepSites keep;
  ASSERT_TRUE(keep.Add("example.com"));
  ASSERT_TRUE(keep.Add(" https://Bank.Example.CN:8443/login?x=1 "));  // pasted from the address bar
  ASSERT_TRUE(keep.Add(".xn--fiqs8s.cn."));
  EXPECT_FALSE(keep.Add("EXAMPLE.com"));  // kept already
  for (const char* garbage : {"", "   ", "exa mple.com", "例子.cn", "a..b", "x.com:http",
                              "a\r\nb.com", "-bad.com", "bad-.com"})
    EXPECT_FALSE(keep.Add(garbage)) << garbage;
  EXPECT_EQ(keep.Entries(),
            (std::vector<std::string>{"example.com", "bank.example.cn", "xn--fiqs8s.cn"}));

  const struct {
    const char* host;
    bool kept;
  } cases[] = {
      {"example.com", true},
      {".example.com", true},
      {"WWW.Example.Com", true},
      {".a.b.example.com", true},
      {"badexample.com", false},
      {".badexample.com", false},
      {"example.com.evil.org", false},
      {"com", false},
      {"", false},
      {".", false},
      {"bank.example.cn", true},
      {".login.bank.example.cn", true},
      {"example.cn", false},
      {"other-bank.example.cn", false},
      {"www.xn--fiqs8s.cn", true},
  };
  for (const auto& c : cases) EXPECT_EQ(keep.KeepsHost(c.host), c.kept) << c.host;

  ASSERT_TRUE(keep.Remove(0));
  EXPECT_FALSE(keep.KeepsHost("www.example.com"));
  EXPECT_FALSE(keep.Remove(5));
}

TEST(KeepSites, SetsGarbageAsideAndWritesItBackAsItWas) {
  const std::string text =
      "\xEF\xBB\xBF"
      "bank.example.cn\r\n"
      "\n"
      "not a host\n"
      "\xFF\xFE\n"
      "BANK.example.cn\n"  // the same site again
      "mail.example.org";
  KeepSites keep = KeepSites::Parse(text);
  EXPECT_EQ(keep.Entries(), (std::vector<std::string>{"bank.example.cn", "mail.example.org"}));
  EXPECT_EQ(keep.Unreadable(), 2u);
  EXPECT_TRUE(keep.KeepsHost(".mail.example.org"));
  ASSERT_TRUE(keep.Add("shop.example.com"));
  const std::string written = keep.Serialize();
  EXPECT_EQ(written,
            "bank.example.cn\r\nmail.example.org\r\nshop.example.com\r\n"
            "not a host\r\n\xFF\xFE\r\n");
  EXPECT_EQ(KeepSites::Parse(written).Serialize(), written);
  // UTF-16 (Notepad's "Unicode") is not taken apart, so never written back.
  EXPECT_FALSE(
      KeepSites::Read(std::string("\xFF\xFE"
                                  "b\0.\0c\0n\0\r\0\n\0",
                                  14)));
  EXPECT_EQ(KeepSites::Read(text)->Serialize(), KeepSites::Parse(text).Serialize());
}

}  // namespace
