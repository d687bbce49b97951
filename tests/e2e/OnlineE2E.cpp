// The update check as a user meets it: the program started against a local
// server that publishes a newer version, the shell opening the download
// page in a stand-in browser registered for http addresses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "e2e/E2E.h"
#include "net/Peers.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "base/Text.h"

namespace {

// Registers tests/e2e/fake_browser.py as the shell's handler of http
// addresses for its lifetime; the addresses it was asked to open come back
// from Opened().
class FakeBrowser {
 public:
  FakeBrowser() {
    log_ = "/tmp/mirven-browser-" + std::to_string(GetCurrentProcessId()) + ".txt";
    std::wstring command = L"Z:\\usr\\bin\\python3 " +
                           base::Wide(MIRVEN_SOURCE_DIR "/tests/e2e/fake_browser.py ") +
                           base::Wide(log_) + L" \"%1\"";
    RegCreateKeyExW(HKEY_CLASSES_ROOT, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof saved_;
    hadValue_ = RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(saved_),
                                 &size) == ERROR_SUCCESS;
    RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  }
  ~FakeBrowser() {
    if (hadValue_)
      RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_),
                     static_cast<DWORD>((wcslen(saved_) + 1) * sizeof(wchar_t)));
    RegCloseKey(key_);
    DeleteFileW(WindowsPath().c_str());
  }
  std::string Opened() const {
    std::ifstream in(WindowsPath().c_str());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  static constexpr wchar_t kKey[] = L"http\\shell\\open\\command";
  std::wstring WindowsPath() const {
    std::wstring path = L"Z:" + base::Wide(log_);
    for (wchar_t& c : path)
      if (c == L'/') c = L'\\';
    return path;
  }
  std::string log_;
  HKEY key_ = nullptr;
  wchar_t saved_[1024] = {};
  bool hadValue_ = false;
};

struct NewVersionServer {
  NewVersionServer() {
    files.Write("windows/version.txt", "3.1\r\n");
    // A notice running from yesterday to tomorrow.
    SYSTEMTIME t;
    GetLocalTime(&t);
    long today = t.wYear * 10000L + t.wMonth * 100 + t.wDay;
    files.Write("windows/ads_time.txt",
                std::to_string(today - 1) + "-" + std::to_string(today + 1));
    peer = nettest::Start("http " + nettest::Encode(files.PeerPath()));
    address = "http://127.0.0.1:" + std::to_string(peer.port);
  }
  ~NewVersionServer() { nettest::Stop(peer); }
  std::wstring Setting() const { return L"MIRVEN_SERVER=" + base::Wide(address); }
  nettest::TempDir files;
  nettest::Peer peer;
  std::string address;
};

TEST(OnlineE2E, UpdateWindowAfterStartOpensTheDownloadPage) {
  NewVersionServer server;
  ASSERT_NE(0, server.peer.port) << nettest::Problem();
  FakeBrowser browser;
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start({server.Setting()}));
  // The check waits for its timer: nothing yet when the window appears.
  EXPECT_EQ(app.WaitForWindow("软件更新-Mirven电脑助手", L"#32770", 0), nullptr);
  HWND update = app.WaitForWindow("软件更新-Mirven电脑助手", L"#32770", 20000);
  ASSERT_NE(update, nullptr);
  EXPECT_EQ(e2e::TextOf(GetDlgItem(update, IDC_UPDATE_TEXT)), "有新版本 V3.1 啦");

  RECT button = e2e::RectOf(GetDlgItem(update, IDC_UPDATE_DOWNLOAD));
  e2e::Click((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  const std::string page = server.address + "/windows/index.aspx\n";
  EXPECT_TRUE(e2e::WaitUntil([&] { return browser.Opened() == page; }, 20000)) << browser.Opened();
  EXPECT_TRUE(IsWindowVisible(update));

  // The link labels under the main window answer the mouse.
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(app.main(), IDC_LINK_PROMOTION)));
  RECT site = e2e::RectOf(GetDlgItem(app.main(), IDC_LINK_SITE));
  e2e::Click((site.left + site.right) / 2, (site.top + site.bottom) / 2);
  EXPECT_TRUE(
      e2e::WaitUntil([&] { return browser.Opened() == page + server.address + "/\n"; }, 20000))
      << browser.Opened();
}

// A server that answers the start-up fetch one byte a second keeps it
// going; "是" still ends the process at once.
TEST(OnlineE2E, ClosingDuringASlowFetchEndsTheProcessWithinTwoSeconds) {
  nettest::Peer slow =
      nettest::Start("httpfault trickle:1000 " + nettest::Encode("HTTP/1.0 200 OK\r\n\r\n"));
  ASSERT_NE(0, slow.port) << nettest::Problem();
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start({L"MIRVEN_SERVER=http://127.0.0.1:" + std::to_wstring(slow.port)}));
  EXPECT_TRUE(e2e::WaitUntil([&] { return !nettest::Log(slow).empty(); }, 10000));
  PostMessageW(app.main(), WM_CLOSE, 0, 0);
  HWND box = app.WaitForWindow("Mirven电脑助手", L"#32770", 5000);
  ASSERT_NE(box, nullptr);
  SendMessageW(GetDlgItem(box, IDYES), BM_CLICK, 0, 0);
  EXPECT_EQ(app.WaitExit(2000), 0u);
  nettest::Stop(slow);
}

// Pictures for people to look at (scripts/screenshots.sh).
TEST(Screenshots, DISABLED_UpdateAndNotesWindows) {
  NewVersionServer server;
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start({server.Setting()}));
  HWND update = app.WaitForWindow("软件更新-Mirven电脑助手", L"#32770", 20000);
  ASSERT_NE(update, nullptr);
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(update), "update-window"));
  PostMessageW(app.main(), WM_COMMAND, ID_MENU_NEW_FEATURES, 0);
  HWND notes = app.WaitForWindow("新版特性-Mirven电脑助手", L"#32770", 5000);
  ASSERT_NE(notes, nullptr);
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(notes), "notes-window"));
}

}  // namespace
