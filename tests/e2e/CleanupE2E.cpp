// The cleanup page as a new user meets it: pick a prepared folder in the
// tree, scan it, read the list and the summary, clean everything, look at
// the disk. Plus the page's pictures for scripts/screenshots.sh.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cleanup/CleanupText.h"
#include "e2e/E2E.h"
#include "res/resource.h"
#include "support/WinTest.h"
#include "base/Text.h"

namespace {

// A folder at the top of drive C: of the test prefix, removed afterwards.
class PreparedFolder {
 public:
  PreparedFolder() {
    name_ = "MirvenE2E-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count_);
    root_ = "C:\\" + name_;
    Remove(root_);
    CreateDirectoryW(base::Wide(root_).c_str(), nullptr);
  }
  ~PreparedFolder() { Remove(root_); }
  void Write(const std::string& relative, size_t bytes) const {
    std::string path = Path(relative);
    size_t cut = path.rfind('\\');
    CreateDirectoryW(base::Wide(path.substr(0, cut)).c_str(), nullptr);
    HANDLE f =
        CreateFileW(base::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string data(bytes, 'x');
    DWORD n = 0;
    if (bytes) WriteFile(f, data.data(), static_cast<DWORD>(bytes), &n, nullptr);
    CloseHandle(f);
  }
  std::string Path(const std::string& relative) const { return root_ + "\\" + relative; }
  const std::string& name() const { return name_; }
  const std::string& Root() const { return root_; }

 private:
  static void Remove(const std::string& path) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(base::Wide(path + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::wstring n = fd.cFileName;
        if (n == L"." || n == L"..") continue;
        std::string child = path + "\\" + base::Utf8(n);
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
          Remove(child);
        else
          DeleteFileW(base::Wide(child).c_str());
      } while (FindNextFileW(find, &fd));
      FindClose(find);
    }
    RemoveDirectoryW(base::Wide(path).c_str());
  }
  static inline int count_ = 0;
  std::string name_, root_;
};

bool Exists(const std::string& path) {
  return GetFileAttributesW(base::Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int CompareNames(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a.c_str(), -1,
                        b.c_str(), -1) -
         CSTR_EQUAL;
}

class CleanupPageDriver {
 public:
  explicit CleanupPageDriver(const e2e::RunningApp& app) : page_(app.Page("系统清理")) {}
  HWND page() const { return page_; }
  HWND Item(int id) const { return GetDlgItem(page_, id); }
  std::string Status() const { return e2e::TextOf(Item(IDC_CLEANUP_STATUS)); }

  void ClickItem(int id) const {
    RECT r = e2e::RectOf(Item(id));
    e2e::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }

  // Opens drive C: in the tree and selects the folder `name` below it.
  bool PickTopFolder(const std::string& name) const {
    HWND tree = Item(IDC_CLEANUP_TREE);
    std::vector<std::wstring> drives;
    std::wstring buf(512, L'\0');
    buf.resize(GetLogicalDriveStringsW(static_cast<DWORD>(buf.size()), buf.data()));
    for (const wchar_t* p = buf.c_str(); *p; p += wcslen(p) + 1) drives.push_back(p);
    auto drive = std::find(drives.begin(), drives.end(), std::wstring(L"C:\\"));
    if (drive == drives.end()) return false;
    HTREEITEM item = TreeView_GetRoot(tree);
    for (auto it = drives.begin(); it != drive && item; ++it)
      item = TreeView_GetNextSibling(tree, item);
    if (!item) return false;
    TreeView_SelectItem(tree, item);
    TreeView_Expand(tree, item, TVE_EXPAND);
    // The tree lists the folders of C: sorted as the system sorts names.
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW(L"C:\\*", &fd);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
      std::wstring n = fd.cFileName;
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && n != L"." && n != L"..")
        folders.push_back(n);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    std::stable_sort(
        folders.begin(), folders.end(),
        [](const std::wstring& a, const std::wstring& b) { return CompareNames(a, b) < 0; });
    auto at = std::find(folders.begin(), folders.end(), base::Wide(name));
    if (at == folders.end()) return false;
    HTREEITEM child = TreeView_GetChild(tree, item);
    for (auto it = folders.begin(); it != at && child; ++it)
      child = TreeView_GetNextSibling(tree, child);
    if (!child) return false;
    TreeView_SelectItem(tree, child);
    TreeView_EnsureVisible(tree, child);
    return true;
  }

  std::vector<std::string> Lines() const {
    HWND list = Item(IDC_CLEANUP_JUNK_LIST);
    std::vector<std::string> lines;
    int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int k = 0; k < n; ++k) {
      LRESULT len = SendMessageW(list, LB_GETTEXTLEN, k, 0);
      std::wstring w(static_cast<size_t>(len) + 1, L'\0');
      len = SendMessageW(list, LB_GETTEXT, k, reinterpret_cast<LPARAM>(w.data()));
      w.resize(len > 0 ? static_cast<size_t>(len) : 0);
      lines.push_back(base::Utf8(w));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  // "全不选", then `option` checked by a click on its box, its line found by
  // its text as a screen reader reads it.
  void ChooseOnly(int option) const {
    ClickItem(IDC_CLEANUP_SELECT_NONE);
    RECT tab = e2e::RectOf(Item(IDC_CLEANUP_TAB));
    e2e::Click(tab.left + (tab.right - tab.left) * 3 / 4, tab.top + 10);
    HWND options = Item(IDC_CLEANUP_OPTIONS);
    e2e::WaitUntil([&] { return IsWindowVisible(options) != FALSE; });
    const std::wstring label = base::Wide(cleanup::OptionLabel(option));
    int index = static_cast<int>(SendMessageW(options, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(label.c_str())));
    int h = static_cast<int>(SendMessageW(options, LB_GETITEMHEIGHT, 0, 0));
    int top = static_cast<int>(SendMessageW(options, LB_GETTOPINDEX, 0, 0));
    POINT p{h + 4, (index - top) * h + h / 2};
    ClientToScreen(options, &p);
    e2e::Click(p.x, p.y);
  }

 private:
  HWND page_;
};

TEST(CleanupE2E, ScanAFolderPickedInTheTreeAndCleanEverything) {
  PreparedFolder folder;
  folder.Write("a.tmp", 3 * 1024);
  folder.Write("sub\\b.OLD", 2 * 1024);
  folder.Write("keep.txt", 100);
  folder.Write("tmp", 100);
  folder.Write("sub\\notes.doc", 100);

  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  CleanupPageDriver page(app);
  ASSERT_NE(page.page(), nullptr);
  EXPECT_EQ(page.Status(), cleanup::kIntroduction);
  ASSERT_TRUE(page.PickTopFolder(folder.name()));

  page.ClickItem(IDC_CLEANUP_SCAN_NOW);
  ASSERT_TRUE(e2e::WaitUntil([&] { return page.Status().rfind("扫描已完成", 0) == 0; }, 20000))
      << page.Status();
  EXPECT_EQ(page.Status(),
            "扫描已完成！本次共扫描出 2 个垃圾文件，立即清除可帮您节省 5KB 磁盘空间。");
  EXPECT_EQ(page.Lines(),
            (std::vector<std::string>{folder.Path("a.tmp"), folder.Path("sub\\b.OLD")}));
  EXPECT_FALSE(IsWindowVisible(page.Item(IDC_CLEANUP_SCAN_NOW)));

  page.ChooseOnly(cleanup::kClipboard);
  page.ClickItem(IDC_CLEANUP_CLEAN_ALL);
  // Into the Recycle Bin, and the status line says so.
  ASSERT_TRUE(e2e::WaitUntil([&] { return page.Status().rfind("已将 ", 0) == 0; }, 20000))
      << page.Status();
  EXPECT_FALSE(Exists(folder.Path("a.tmp")));
  EXPECT_FALSE(Exists(folder.Path("sub\\b.OLD")));
  for (const char* kept : {"keep.txt", "tmp", "sub\\notes.doc"})
    EXPECT_TRUE(Exists(folder.Path(kept))) << kept;
  auto lines = page.Lines();
  // Only the option chosen was cleared.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "剪贴板清空完毕！"), lines.end());
  for (int k = 0; static_cast<size_t>(k) < cleanup::OptionCount(); ++k)
    if (k != cleanup::kClipboard && *cleanup::CompletionLine(k)) {
      EXPECT_EQ(std::find(lines.begin(), lines.end(), cleanup::CompletionLine(k)), lines.end())
          << k;
    }
  cleanup::CleanTally recycled;
  recycled.mode = cleanup::CleanMode::kRecycle;
  recycled.recycled = 2;
  recycled.recycledKB = 5;
  EXPECT_EQ(page.Status(), cleanup::RecycledStatus(recycled));
  EXPECT_NE(std::find(lines.begin(), lines.end(), cleanup::CleanReport(recycled)), lines.end());
}

TEST(Screenshots, DISABLED_CleanupPage) {
  PreparedFolder folder;
  for (int d = 0; d < 100; ++d)
    for (int f = 0; f < 100; ++f)
      folder.Write(
          "folder" + std::to_string(d) + "\\file" + std::to_string(f) + (f % 2 ? ".tmp" : ".txt"),
          700);
  e2e::RunningApp app;
  ASSERT_TRUE(app.Start());
  CleanupPageDriver page(app);
  RECT main = e2e::RectOf(app.main());
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(main, "cleanup-idle"));
  ASSERT_TRUE(page.PickTopFolder(folder.name()));
  page.ClickItem(IDC_CLEANUP_SCAN_NOW);
  page.ClickItem(IDC_CLEANUP_PAUSE);
  e2e::MoveMouse(main.left + 700, main.top + 300);  // off the buttons: no hover light
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(main, "cleanup-scanning"));
  page.ClickItem(IDC_CLEANUP_PAUSE);
  ASSERT_TRUE(e2e::WaitUntil([&] { return page.Status().rfind("扫描已完成", 0) == 0; }, 60000));
  e2e::MoveMouse(main.left + 700, main.top + 300);  // off the buttons: no hover light
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(main, "cleanup-summary"));
  page.ChooseOnly(cleanup::kClipboard);
  page.ClickItem(IDC_CLEANUP_CLEAN_ALL);
  ASSERT_TRUE(e2e::WaitUntil([&] { return page.Status().rfind("已将 ", 0) == 0; }, 60000));
  e2e::MoveMouse(main.left + 700, main.top + 300);  // off the buttons: no hover light
  e2e::Settle(app);
  EXPECT_TRUE(wintest::SaveScreen(main, "cleanup-cleaned"));
}

}  // namespace
