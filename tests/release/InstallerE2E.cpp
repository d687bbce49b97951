// The downloads as a user meets them: the setup program installs, upgrades
// and uninstalls silently in this Wine prefix (a prefix of its own, see
// scripts/release-run.sh), and the program starts from what it put there.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "e2e/E2E.h"
#include "support/WinTest.h"
#include "base/Text.h"

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mirven";
const char kLinkName[] = "Mirven电脑助手.lnk";

std::wstring WinPath(std::string linux) {
  std::replace(linux.begin(), linux.end(), '/', '\\');
  return L"Z:" + base::Wide(linux);
}

std::wstring Folder(int csidl) {
  wchar_t buf[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
  return buf;
}

std::wstring InstallDir() { return Folder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Mirven"; }
std::wstring CarriedDir() { return Folder(CSIDL_LOCAL_APPDATA) + L"\\Mirven"; }
std::wstring StartMenuLink() { return Folder(CSIDL_PROGRAMS) + L"\\" + base::Wide(kLinkName); }
std::wstring DesktopLink() { return Folder(CSIDL_DESKTOPDIRECTORY) + L"\\" + base::Wide(kLinkName); }
std::wstring SetupProgram() { return WinPath(MIRVEN_DIST_DIR "/Mirven-3.0-setup.exe"); }

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void RemoveTree(const std::wstring& dir) {
  std::wstring from = dir + L'\0';  // a list of names, ended by an empty one
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

// The shipped files, as release/files.txt lists them and the build made them.
std::set<std::wstring> ReleaseFiles() {
  std::set<std::wstring> files;
  std::ifstream list(WinPath(MIRVEN_SOURCE_DIR "/release/files.txt").c_str());
  std::string line;
  while (std::getline(list, line)) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string path;
    if (!(words >> path) || !Exists(WinPath(MIRVEN_DIST_DIR "/" + path))) continue;
    std::replace(path.begin(), path.end(), '/', '\\');
    files.insert(base::Wide(path));
  }
  return files;
}

// What the installer puts into its folder: files, and folders with a
// trailing backslash.
std::set<std::wstring> Installed() {
  std::set<std::wstring> entries{L"Uninstall.exe"};
  for (const auto& f : ReleaseFiles()) {
    entries.insert(f);
    for (size_t slash = f.find(L'\\'); slash != std::wstring::npos;
         slash = f.find(L'\\', slash + 1))
      entries.insert(f.substr(0, slash + 1));
  }
  return entries;
}

// Every file and folder below `dir`, relative to it, as Installed() names them.
std::set<std::wstring> FilesUnder(const std::wstring& dir, const std::wstring& prefix = L"") {
  std::set<std::wstring> files;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return files;
  do {
    std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      files.insert(prefix + name + L"\\");
      for (const auto& f : FilesUnder(dir + L"\\" + name, prefix + name + L"\\")) files.insert(f);
    } else {
      files.insert(prefix + name);
    }
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return files;
}

// Runs a program to its end and returns its exit code.
DWORD RunToEnd(const std::wstring& exe, const std::wstring& args) {
  e2e::RunningApp p;
  if (!p.Launch(exe, args)) return 0xDEAD;
  return p.WaitExit(180000);
}

DWORD RunSetup() { return RunToEnd(SetupProgram(), L"/S"); }

bool RegString(const wchar_t* name, std::wstring* value);

// The folder the uninstall entry names, empty when nothing is installed.
std::wstring Registered() {
  std::wstring dir;
  return RegString(L"InstallLocation", &dir) ? dir : L"";
}

// Whether the uninstall entry names a folder with its uninstaller.
bool HasUninstaller() { return !Registered().empty() && Exists(Registered() + L"\\Uninstall.exe"); }

// Uninstalls in place and waits for it (the plain way returns at once and
// lets a copy in %TEMP% do the work), then removes the uninstaller.
DWORD UninstallAndWait() {
  std::wstring dir = Registered();
  DWORD code = RunToEnd(dir + L"\\Uninstall.exe", L"/S _?=" + dir);
  if (code == 0) {
    DeleteFileW((dir + L"\\Uninstall.exe").c_str());
    RemoveDirectoryW(dir.c_str());
  }
  return code;
}

bool RegString(const wchar_t* name, std::wstring* value) {
  wchar_t buf[1024] = {};
  DWORD size = sizeof buf - sizeof buf[0];
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, buf, &size) !=
      ERROR_SUCCESS)
    return false;
  *value = buf;
  return true;
}

bool UninstallKeyExists() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

struct Shortcut {
  std::wstring target, dir, icon;
  int iconIndex = -1;
};

bool ReadShortcut(const std::wstring& lnk, Shortcut* out) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return false;
  IPersistFile* file = nullptr;
  bool ok = SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            SUCCEEDED(file->Load(lnk.c_str(), STGM_READ));
  if (ok) {
    wchar_t buf[MAX_PATH] = {};
    link->GetPath(buf, MAX_PATH, nullptr, 0);
    out->target = buf;
    link->GetWorkingDirectory(buf, MAX_PATH);
    out->dir = buf;
    link->GetIconLocation(buf, MAX_PATH, &out->iconIndex);
    out->icon = buf;
  }
  if (file) file->Release();
  link->Release();
  return ok;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

class InstallerE2E : public testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  static void TearDownTestSuite() {
    if (HasUninstaller()) UninstallAndWait();
    CoUninitialize();
  }

  // Each case starts from one fresh silent install.
  void SetUp() override {
    if (HasUninstaller()) {
      ASSERT_EQ(0u, UninstallAndWait());
    }
    ASSERT_EQ(0u, RunSetup());
  }

  static void ExpectOneSetInstalled(const std::wstring& dir = InstallDir()) {
    EXPECT_EQ(Installed(), FilesUnder(dir));
    EXPECT_TRUE(ReadAll(WinPath(MIRVEN_DIST_DIR "/Mirven.exe")) == ReadAll(dir + L"\\Mirven.exe"));
    EXPECT_TRUE(SamePath(Registered(), dir)) << base::Utf8(Registered());
    Shortcut s;
    EXPECT_TRUE(ReadShortcut(StartMenuLink(), &s) && SamePath(s.target, dir + L"\\Mirven.exe"));
  }
};

TEST_F(InstallerE2E, SilentInstallPutsFilesShortcutsAndUninstallEntry) {
  ExpectOneSetInstalled();
  std::wstring exe = InstallDir() + L"\\Mirven.exe";
  for (const auto& lnk : {StartMenuLink(), DesktopLink()}) {
    SCOPED_TRACE(base::Utf8(lnk));
    Shortcut s;
    ASSERT_TRUE(ReadShortcut(lnk, &s));
    EXPECT_TRUE(SamePath(s.target, exe)) << base::Utf8(s.target);
    EXPECT_TRUE(SamePath(s.dir, InstallDir())) << base::Utf8(s.dir);  // music\ is found from there
    EXPECT_TRUE(SamePath(s.icon, exe)) << base::Utf8(s.icon);
    EXPECT_EQ(0, s.iconIndex);  // the program's only icon, 128
  }
  std::wstring v;
  const std::pair<const wchar_t*, std::wstring> expected[] = {
      {L"DisplayName", base::Wide("Mirven电脑助手")},
      {L"DisplayVersion", L"3.0"},
      {L"Publisher", L"Mirven"},
      {L"DisplayIcon", exe + L",0"},
      {L"UninstallString", L"\"" + InstallDir() + L"\\Uninstall.exe\""},
      {L"QuietUninstallString", L"\"" + InstallDir() + L"\\Uninstall.exe\" /S"},
  };
  for (const auto& [name, want] : expected) {
    EXPECT_TRUE(RegString(name, &v)) << base::Utf8(name);
    EXPECT_TRUE(SamePath(v, want)) << base::Utf8(name) << ": " << base::Utf8(v);
  }
  DWORD kb = 0, size = sizeof kb;
  ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, L"EstimatedSize",
                                        RRF_RT_REG_DWORD, nullptr, &kb, &size));
  EXPECT_GE(kb, ReadAll(exe).size() / 1024);
}

TEST_F(InstallerE2E, ProgramStartsFromTheShortcutAndBlocksReplacingItself) {
  Shortcut s;
  ASSERT_TRUE(ReadShortcut(StartMenuLink(), &s));
  e2e::RunningApp app;
  ASSERT_TRUE(app.StartProgram(s.target, "Mirven电脑助手", L"#32770"));

  // Neither a silent install nor a silent uninstall touches a running copy;
  // both fail with an exit code instead of asking.
  EXPECT_EQ(3u, RunSetup());
  EXPECT_EQ(3u, UninstallAndWait());
  ExpectOneSetInstalled();
  EXPECT_TRUE(Exists(StartMenuLink()));
  EXPECT_EQ(STILL_ACTIVE, app.WaitExit(0));
}

TEST_F(InstallerE2E, ReinstallAndUpgradeLeaveOneSetOfFiles) {
  ASSERT_EQ(0u, RunSetup());
  ExpectOneSetInstalled();

  // An older version that the user had put into another folder: it is
  // replaced there, and the default folder stays empty.
  std::wstring old = Folder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Mirven 2.0";
  RemoveTree(old);  // left by an earlier run that failed
  ASSERT_NE(0, MoveFileW(InstallDir().c_str(), old.c_str()));
  ASSERT_EQ(ERROR_SUCCESS,
            RegSetKeyValueW(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation", REG_SZ,
                            old.c_str(), static_cast<DWORD>((old.size() + 1) * sizeof(wchar_t))));
  WriteFile(old + L"\\Mirven.exe", "an older Mirven.exe");

  ASSERT_EQ(0u, RunSetup());
  EXPECT_FALSE(Exists(InstallDir()));
  ExpectOneSetInstalled(old);
}

TEST_F(InstallerE2E, UninstallRemovesWhatItPutThereAndKeepsTheUsersFiles) {
  std::string note = "我的笔记";
  WriteFile(InstallDir() + base::Wide("\\我的笔记.txt"), note);
  ASSERT_TRUE(CreateDirectoryW(CarriedDir().c_str(), nullptr) ||
              GetLastError() == ERROR_ALREADY_EXISTS);
  WriteFile(CarriedDir() + L"\\calculator.exe", "carried");
  WriteFile(CarriedDir() + L"\\Clock.exe", "carried");

  // As Apps & features does it: the uninstaller returns at once and its
  // copy in %TEMP% does the work.
  ASSERT_EQ(0u, RunToEnd(InstallDir() + L"\\Uninstall.exe", L"/S"));
  EXPECT_TRUE(e2e::WaitUntil([] { return !UninstallKeyExists(); }, 60000));

  EXPECT_EQ(std::set<std::wstring>{base::Wide("我的笔记.txt")}, FilesUnder(InstallDir()));
  EXPECT_EQ(note, ReadAll(InstallDir() + base::Wide("\\我的笔记.txt")));
  EXPECT_FALSE(Exists(StartMenuLink()));
  EXPECT_FALSE(Exists(DesktopLink()));
  EXPECT_FALSE(Exists(CarriedDir()));
  EXPECT_TRUE(Exists(Folder(CSIDL_LOCAL_APPDATA) + L"\\Programs"));
  DeleteFileW((InstallDir() + base::Wide("\\我的笔记.txt")).c_str());
  RemoveDirectoryW(InstallDir().c_str());
}

// Installed inside the folder of the carried programs, where the user also
// keeps a file: the uninstaller takes only its own files by name.
TEST_F(InstallerE2E, UninstallInsideTheCarriedFolderKeepsTheUsersFilesThere) {
  const std::wstring inside = CarriedDir() + L"\\App";
  ASSERT_EQ(0u, RunToEnd(SetupProgram(), L"/S /D=" + inside));
  ASSERT_TRUE(SamePath(Registered(), inside)) << base::Utf8(Registered());
  const std::wstring mine = CarriedDir() + base::Wide("\\我的文件.txt");
  WriteFile(mine, "mine");
  WriteFile(CarriedDir() + L"\\calculator.exe", "carried");
  WriteFile(CarriedDir() + L"\\Clock.exe.new", "half-written");

  EXPECT_EQ(0u, UninstallAndWait());
  EXPECT_EQ(std::set<std::wstring>{base::Wide("我的文件.txt")}, FilesUnder(CarriedDir()));
  EXPECT_EQ("mine", ReadAll(mine));
  DeleteFileW(mine.c_str());
  RemoveDirectoryW(CarriedDir().c_str());
}

// Started by tests/release/check-artefacts.sh with the folder it unpacked
// the portable zip into.
TEST(PortableE2E, ProgramStartsFromAnUnpackedCopy) {
  const char* dir = std::getenv("MIRVEN_PORTABLE_DIR");
  if (!dir) GTEST_SKIP() << "needs MIRVEN_PORTABLE_DIR";
  e2e::RunningApp app;
  EXPECT_TRUE(app.StartProgram(base::Wide(dir) + L"\\Mirven.exe", "Mirven电脑助手", L"#32770"));
}

// The installer's own buttons: 1 next/install/finish.
void ClickNext(HWND wizard) {
  HWND next = GetDlgItem(wizard, IDOK);
  ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(next) != FALSE; }, 60000));
  PostMessageW(wizard, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(next));
}

struct TextSearch {
  std::string text;
  HWND found;
};

BOOL CALLBACK MatchText(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<TextSearch*>(lp);
  if (IsWindowVisible(h) && e2e::TextOf(h) == s->text) s->found = h;
  return s->found ? FALSE : TRUE;
}

HWND FindChildWithText(HWND parent, const std::string& text) {
  TextSearch s{text, nullptr};
  EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

void Shoot(HWND wizard, const char* name) {
  Sleep(600);  // the page is drawn by the other process and the X server
  EXPECT_TRUE(wintest::SaveScreen(e2e::RectOf(wizard), name));
}

// Pictures of the setup program's welcome, folder and finish pages, run by
// scripts/screenshots.sh; it starts and ends with nothing installed.
TEST(Screenshots, DISABLED_InstallerPages) {
  if (HasUninstaller()) {
    ASSERT_EQ(0u, UninstallAndWait());
  }
  RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);  // else the folder page shows the old folder
  e2e::RunningApp installer;
  ASSERT_TRUE(installer.Launch(SetupProgram(), L""));
  HWND wizard = installer.WaitForWindow("Mirven电脑助手 安装", L"#32770", 30000);
  ASSERT_NE(wizard, nullptr);
  Shoot(wizard, "installer-welcome");
  ClickNext(wizard);
  Shoot(wizard, "installer-folder");
  ClickNext(wizard);  // to the components
  ClickNext(wizard);  // install
  HWND run = nullptr;
  ASSERT_TRUE(e2e::WaitUntil(
      [&] { return (run = FindChildWithText(wizard, "运行 Mirven电脑助手")) != nullptr; }, 60000));
  Shoot(wizard, "installer-finish");
  SendMessageW(run, BM_SETCHECK, BST_UNCHECKED, 0);
  ClickNext(wizard);
  EXPECT_EQ(0u, installer.WaitExit(30000));
  EXPECT_EQ(0u, UninstallAndWait());
}

}  // namespace
