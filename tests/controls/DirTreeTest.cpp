// The directory tree on a folder made for the test under Z:\tmp, with a
// Linux symbolic link (a reparse point to Windows programs), a name outside
// code page 936 and a path longer than MAX_PATH.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "base/Paths.h"
#include "controls/DirTreeCtrl.h"
#include "support/WinTest.h"
#include "ui/Dialog.h"
#include "base/Text.h"

namespace {

constexpr int kTreeId = 1001;
const std::string kForeign = "ü€ДП한";  // 한 has no code in page 936

// Starts a Linux program (Wine runs those natively). Wine gives no handle
// to wait on for it: callers wait for its effect.
bool StartUnix(const std::wstring& program, const std::wstring& args) {
  std::wstring cmd = program + L" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring exe = L"Z:" + program;
  for (wchar_t& c : exe)
    if (c == L'/') c = L'\\';
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return false;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  return true;
}

DWORD Attributes(const std::string& path) {
  return GetFileAttributesW(base::Wide(base::ExtendedPath(path)).c_str());
}

bool MakeDir(const std::string& path) {
  return CreateDirectoryW(base::Wide(base::ExtendedPath(path)).c_str(), nullptr) != 0;
}

bool MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  HANDLE h = CreateFileW(base::Wide(base::ExtendedPath(path)).c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, attributes, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

class DirTree : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    unixRoot_ = L"/tmp/mirven-dirtree-" + std::to_wstring(GetCurrentProcessId());
    root_ = "Z:" + base::Utf8(unixRoot_);
    for (char& c : root_)
      if (c == '/') c = '\\';
    ASSERT_TRUE(MakeDir(root_));
    for (const char* d :
         {"\\b", "\\A", "\\A\\sub", "\\A\\sub\\deeper", "\\c_files", "\\hidden_only"})
      ASSERT_TRUE(MakeDir(root_ + d));
    ASSERT_TRUE(MakeFile(root_ + "\\c_files\\x.txt"));
    // Wine shows Linux dot files as hidden whatever the file system keeps.
    ASSERT_TRUE(MakeFile(root_ + "\\hidden_only\\.h.txt", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(MakeFile(root_ + "\\top.txt"));
    ASSERT_TRUE(MakeDir(root_ + "\\" + kForeign));
    ASSERT_TRUE(MakeDir(root_ + "\\" + kForeign + "\\子目录"));
    // A chain of folders whose deepest path is far beyond MAX_PATH.
    deepest_ = root_ + "\\deep";
    ASSERT_TRUE(MakeDir(deepest_));
    for (int i = 0; i < 6; ++i) {
      deepest_ += "\\" + std::string(60, static_cast<char>('k' + i));
      ASSERT_TRUE(MakeDir(deepest_)) << deepest_.size();
    }
    ASSERT_TRUE(MakeDir(deepest_ + "\\end"));
    ASSERT_GT(deepest_.size(), 300u);
    // link -> A: to a Windows program a directory that is a reparse point.
    ASSERT_TRUE(StartUnix(L"/bin/ln", L"-s " + unixRoot_ + L"/A " + unixRoot_ + L"/link"));
    ASSERT_TRUE(wintest::PumpUntil(
        [] { return Attributes(root_ + "\\link") != INVALID_FILE_ATTRIBUTES; }, 10000));
    ASSERT_TRUE(Attributes(root_ + "\\link") & FILE_ATTRIBUTE_REPARSE_POINT);
  }
  static void TearDownTestSuite() {
    StartUnix(L"/bin/rm", L"-rf " + unixRoot_);
    EXPECT_TRUE(
        wintest::PumpUntil([] { return Attributes(root_) == INVALID_FILE_ATTRIBUTES; }, 10000));
  }

  void SetUp() override {
    dlg_.Create(nullptr);
    SetWindowPos(dlg_.hwnd(), nullptr, 50, 50, 500, 600, SWP_NOZORDER);
    ShowWindow(dlg_.hwnd(), SW_SHOW);
    h_ = CreateWindowExW(
        0, WC_TREEVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 5, 5,
        480, 550, dlg_.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTreeId)),
        GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(tree_.SubclassDlgItem(kTreeId, dlg_.hwnd()));
    ASSERT_TRUE(tree_.AttachSystemImageList());
  }
  void TearDown() override { DestroyWindow(dlg_.hwnd()); }

  // The test root as a top-level item, opened the way a user opens it.
  HTREEITEM LoadRoot() {
    HTREEITEM top = tree_.InsertPathItem(root_, TVI_ROOT);
    EXPECT_NE(top, nullptr);
    tree_.ResetItem(top);
    Press(top, VK_ADD);
    EXPECT_TRUE(IsExpanded(top));
    return top;
  }
  std::vector<HTREEITEM> Children(HTREEITEM item) {
    std::vector<HTREEITEM> v;
    for (HTREEITEM c = TreeView_GetChild(h_, item); c; c = TreeView_GetNextSibling(h_, c))
      v.push_back(c);
    return v;
  }
  std::vector<std::string> Texts(HTREEITEM item) {
    std::vector<std::string> v;
    for (HTREEITEM c : Children(item)) v.push_back(tree_.ItemText(c));
    return v;
  }
  HTREEITEM Child(HTREEITEM item, const std::string& text) {
    for (HTREEITEM c : Children(item))
      if (tree_.ItemText(c) == text) return c;
    return nullptr;
  }
  // One placeholder child: an expand button before the folder is listed.
  bool HasButtonOnly(HTREEITEM item) { return Texts(item) == std::vector<std::string>{""}; }
  bool IsExpanded(HTREEITEM item) {
    return TreeView_GetItemState(h_, item, TVIS_EXPANDED) & TVIS_EXPANDED;
  }
  // The way a user opens and closes an item: select it, press + or -.
  void Press(HTREEITEM item, WPARAM key) {
    TreeView_SelectItem(h_, item);
    SendMessageW(h_, WM_KEYDOWN, key, 0);
  }

  static std::wstring unixRoot_;
  static std::string root_;
  static std::string deepest_;
  ui::Dialog dlg_{109};
  CDirTreeCtrl tree_;
  HWND h_ = nullptr;
};

std::wstring DirTree::unixRoot_;
std::string DirTree::root_;
std::string DirTree::deepest_;

TEST_F(DirTree, DrivesAreTopLevelItemsWithShellIcons) {
  ASSERT_NE(tree_.ImageList(), nullptr);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(h_, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)),
            tree_.ImageList());
  ASSERT_TRUE(tree_.LoadDriveItems());
  std::vector<std::string> drives = Texts(TVI_ROOT);
  ASSERT_GE(drives.size(), 2u);
  EXPECT_EQ(drives.front(), "C:");
  HTREEITEM z = Child(TVI_ROOT, "Z:");
  ASSERT_NE(z, nullptr);
  EXPECT_EQ(tree_.PathOfItem(z), "Z:");
  EXPECT_TRUE(HasButtonOnly(z));
  TVITEMW tvi{};
  tvi.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tvi.hItem = z;
  ASSERT_TRUE(TreeView_GetItem(h_, &tvi));
  EXPECT_GE(tvi.iImage, 0);
  EXPECT_LT(tvi.iImage, ImageList_GetImageCount(tree_.ImageList()));
  // Loading again replaces, not adds.
  ASSERT_TRUE(tree_.LoadDriveItems());
  EXPECT_EQ(Texts(TVI_ROOT), drives);
  // Opening a drive lists its folders.
  Press(z, VK_ADD);
  EXPECT_NE(Child(z, "tmp"), nullptr);
}

TEST_F(DirTree, FoldersSortedWithoutCaseAndButtonsOnlyWhereThereIsAFolderBelow) {
  HTREEITEM top = LoadRoot();
  std::vector<std::string> texts = Texts(top);
  std::vector<std::string> want = {"A", "b", "c_files", "deep", "hidden_only", "link", kForeign};
  ASSERT_EQ(texts.size(), want.size());
  for (const std::string& w : want) EXPECT_NE(Child(top, w), nullptr) << w;
  EXPECT_EQ(texts[0], "A");
  EXPECT_EQ(texts[1], "b");  // b comes after A
  EXPECT_TRUE(HasButtonOnly(Child(top, "A")));
  EXPECT_TRUE(HasButtonOnly(Child(top, "deep")));
  EXPECT_TRUE(HasButtonOnly(Child(top, kForeign)));
  EXPECT_TRUE(Children(Child(top, "b")).empty());
  EXPECT_TRUE(Children(Child(top, "c_files")).empty());  // files only, files not shown
  EXPECT_EQ(tree_.ItemText(top), root_);
  EXPECT_EQ(tree_.PathOfItem(Child(top, "c_files")), root_ + "\\c_files");
}

TEST_F(DirTree, ALinkIsShownButNeverOpened) {
  HTREEITEM top = LoadRoot();
  HTREEITEM link = Child(top, "link");
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(tree_.IsLinkItem(link));
  EXPECT_FALSE(tree_.IsLinkItem(Child(top, "A")));
  EXPECT_TRUE(Children(link).empty());
  // Its target has a folder, but the link itself lists nothing.
  EXPECT_TRUE(tree_.HasVisibleChildren(root_ + "\\A"));
  EXPECT_FALSE(tree_.HasVisibleChildren(root_ + "\\link"));
  tree_.ReloadItem(link);
  EXPECT_TRUE(Children(link).empty());
  tree_.LoadFolderItems(link, root_ + "\\link");
  EXPECT_TRUE(Children(link).empty());
  Press(link, VK_ADD);
  EXPECT_FALSE(IsExpanded(link));
}

TEST_F(DirTree, OpeningListsAfreshAndClosingGivesTheButtonBack) {
  HTREEITEM top = LoadRoot();
  HTREEITEM a = Child(top, "A");
  Press(a, VK_ADD);
  EXPECT_TRUE(IsExpanded(a));
  EXPECT_EQ(Texts(a), std::vector<std::string>{"sub"});
  HTREEITEM sub = Child(a, "sub");
  EXPECT_TRUE(HasButtonOnly(sub));
  EXPECT_EQ(tree_.PathOfItem(sub), root_ + "\\A\\sub");

  Press(a, VK_SUBTRACT);
  EXPECT_FALSE(IsExpanded(a));
  EXPECT_TRUE(HasButtonOnly(a));

  // A folder added meanwhile shows on the next opening.
  ASSERT_TRUE(MakeDir(root_ + "\\A\\new"));
  Press(a, VK_ADD);
  EXPECT_TRUE(IsExpanded(a));
  EXPECT_EQ(Texts(a), (std::vector<std::string>{"new", "sub"}));
  RemoveDirectoryW(base::Wide(root_ + "\\A\\new").c_str());
}

TEST_F(DirTree, AFolderEmptiedBeforeOpeningLosesItsButton) {
  ASSERT_TRUE(MakeDir(root_ + "\\b\\gone"));
  HTREEITEM top = LoadRoot();
  HTREEITEM b = Child(top, "b");
  ASSERT_TRUE(HasButtonOnly(b));
  ASSERT_TRUE(RemoveDirectoryW(base::Wide(root_ + "\\b\\gone").c_str()));
  Press(b, VK_ADD);
  EXPECT_TRUE(Children(b).empty());
  EXPECT_FALSE(IsExpanded(b));
}

TEST_F(DirTree, NamesOutsideTheCodePageAndPathsBeyondMaxPath) {
  HTREEITEM top = LoadRoot();
  HTREEITEM foreign = Child(top, kForeign);
  ASSERT_NE(foreign, nullptr);
  Press(foreign, VK_ADD);
  EXPECT_EQ(Texts(foreign), std::vector<std::string>{"子目录"});
  EXPECT_EQ(tree_.PathOfItem(Child(foreign, "子目录")), root_ + "\\" + kForeign + "\\子目录");

  // Open the chain down to the deepest folder; each level is listed
  // through the extended form of its path.
  HTREEITEM item = Child(top, "deep");
  for (int i = 0; i < 6; ++i) {
    ASSERT_NE(item, nullptr) << i;
    Press(item, VK_ADD);
    item = Child(item, std::string(60, static_cast<char>('k' + i)));
  }
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(tree_.PathOfItem(item), deepest_);
  EXPECT_TRUE(HasButtonOnly(item));
  Press(item, VK_ADD);
  EXPECT_EQ(Texts(item), std::vector<std::string>{"end"});
  EXPECT_EQ(tree_.PathOfItem(Child(item, "end")).size(), deepest_.size() + 4);
}

TEST_F(DirTree, ShowFilesListsFilesAfterFoldersHiddenOnesToo) {
  tree_.SetShowFiles(true);
  HTREEITEM top = LoadRoot();
  std::vector<std::string> texts = Texts(top);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), "top.txt");
  EXPECT_TRUE(HasButtonOnly(Child(top, "c_files")));
  // A hidden file is listed in its folder but gives the folder no button.
  HTREEITEM hidden = Child(top, "hidden_only");
  EXPECT_TRUE(Children(hidden).empty());
  tree_.ReloadItem(hidden);
  EXPECT_EQ(Texts(hidden), std::vector<std::string>{".h.txt"});
}

TEST_F(DirTree, FailuresLeaveTheirTextAndNoItem) {
  EXPECT_EQ(tree_.InsertPathItem(root_ + "\\no such folder", TVI_ROOT), nullptr);
  EXPECT_EQ(tree_.LastErrorText(), "Error Getting systemfileinfo!");
  EXPECT_FALSE(tree_.HasVisibleChildren(root_ + "\\no such folder"));
  EXPECT_TRUE(Children(TVI_ROOT).empty());
  EXPECT_EQ(CDirTreeCtrl::LeafName("C:\\Windows\\System32\\"), "System32");
}

}  // namespace
