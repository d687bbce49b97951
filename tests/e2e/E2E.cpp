#include "e2e/E2E.h"

#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "net/Peers.h"
#include "ui/Dpi.h"
#include "base/Folders.h"
#include "ui/Handles.h"
#include "base/Text.h"

namespace e2e {

namespace {
constexpr wchar_t kServerVariable[] = L"MIRVEN_SERVER=";

// The maker's server for runs that do not bring their own: a local one that
// answers the start-up check with this very version, so no box interrupts.
std::wstring QuietServer() {
  static nettest::TempDir* files = nullptr;
  static std::wstring setting;
  if (!files) {
    files = new nettest::TempDir;
    files->Write("windows/version.txt", "3.0\r\n");
    nettest::Peer server = nettest::Start("http " + nettest::Encode(files->PeerPath()));
    // Without the peers, a closed local port: a box, but no outside traffic.
    setting = std::wstring(kServerVariable) + L"http://127.0.0.1:" +
              std::to_wstring(server.port ? server.port : 9);
  }
  return setting;
}

bool SetsServer(const std::wstring& variable) { return variable.rfind(kServerVariable, 0) == 0; }
}  // namespace

std::wstring ProgramPath() {
  std::wstring p = L"Z:" + base::Wide(MIRVEN_DIST_DIR) + L"/Mirven.exe";
  std::replace(p.begin(), p.end(), L'/', L'\\');
  return p;
}

RunningApp::~RunningApp() {
  if (pi_.hProcess) {
    if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(pi_.hProcess, 99);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
}

bool RunningApp::Start(const std::vector<std::wstring>& env) {
  // Each run starts from the built-in option ticks, not those an earlier
  // test left in this prefix's options.txt.
  const std::string appData = base::KnownFolder(FOLDERID_RoamingAppData);
  if (!appData.empty()) DeleteFileW(base::Wide(appData + "\\Mirven\\options.txt").c_str());
  return StartProgram(ProgramPath(), "Mirven电脑助手", L"#32770", env);
}

bool RunningApp::StartProgram(const std::wstring& exe, const std::string& title, const wchar_t* cls,
                              const std::vector<std::wstring>& env) {
  if (!Launch(exe, L"", env)) return false;
  main_ = WaitForWindow(title, cls, 20000);
  return main_ != nullptr;
}

bool RunningApp::Launch(const std::wstring& exe, const std::wstring& args,
                        const std::vector<std::wstring>& env) {
  // The child inherits our environment plus the given variables, and
  // always talks to a server on this machine.
  std::vector<std::wstring> vars = env;
  if (std::none_of(vars.begin(), vars.end(), SetsServer)) vars.push_back(QuietServer());
  std::wstring block;
  if (wchar_t* own = GetEnvironmentStringsW()) {
    for (wchar_t* p = own; *p; p += wcslen(p) + 1)
      if (!SetsServer(p)) block.append(p).push_back(L'\0');
    FreeEnvironmentStringsW(own);
  }
  for (const auto& v : vars) block.append(v).push_back(L'\0');
  block.push_back(L'\0');

  std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
  std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, block.data(), dir.c_str(), &si, &pi_) != 0;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(base::Wide(path).c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::wstring Quoted(const std::string& path) { return L"\"" + base::Wide(path) + L"\""; }

namespace {
BOOL CALLBACK CountWindow(HWND hwnd, LPARAM lp) {
  auto* c = reinterpret_cast<std::pair<DWORD, int>*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == c->first) ++c->second;
  return TRUE;
}
}  // namespace

// (Under Wine a WinEvent hook does not see another process's windows, so
// a run is watched.)
int WindowsOf(DWORD pid) {
  std::pair<DWORD, int> count{pid, 0};
  EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
  return count.second;
}

CommandLineRun RunCommandLine(const std::wstring& args, const std::string& folder) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const std::string outPath = folder + "\\stdout.txt", errPath = folder + "\\stderr.txt";
  auto open = [&](const std::string& p) {
    return base::FileHandle(CreateFileW(base::Wide(p).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                        &inherit, CREATE_ALWAYS, 0, nullptr));
  };
  base::FileHandle out = open(outPath), err = open(errPath);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = out.get();
  si.hStdError = err.get();
  PROCESS_INFORMATION pi{};
  std::wstring exe = ProgramPath();
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  CommandLineRun r;
  if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                      &pi)) {
    r.err = "could not start " + base::Utf8(exe);
    return r;
  }
  WaitUntil(
      [&] {
        r.windows = std::max(r.windows, WindowsOf(pi.dwProcessId));
        return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0;
      },
      120000);
  GetExitCodeProcess(pi.hProcess, &r.code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  out.Reset();
  err.Reset();
  r.out = ReadAll(outPath);
  r.err = ReadAll(errPath);
  return r;
}

namespace {
struct Search {
  DWORD pid;
  std::wstring title;
  const wchar_t* cls;
  HWND skip;
  HWND found;
};

BOOL CALLBACK Match(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != s->pid || !IsWindowVisible(h) || h == s->skip) return TRUE;
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  if (s->title != buf) return TRUE;
  if (s->cls) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (wcscmp(cls, s->cls) != 0) return TRUE;
  }
  s->found = h;
  return FALSE;
}
}  // namespace

HWND RunningApp::WaitForWindow(const std::string& title, const wchar_t* cls, DWORD ms) const {
  Search s{pi_.dwProcessId, base::Wide(title), cls, main_, nullptr};
  WaitUntil(
      [&] {
        EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
      },
      ms);
  return s.found;
}

HWND RunningApp::Page(const std::string& title) const {
  return FindWindowExW(main_, nullptr, L"#32770", base::Wide(title).c_str());
}

DWORD RunningApp::WaitExit(DWORD ms) const {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(pi_.hProcess, ms) == WAIT_OBJECT_0)
    GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

void Settle(const RunningApp& app) {
  for (int i = 0; i < 3; ++i) {
    DWORD_PTR r;
    SendMessageTimeoutW(app.main(), WM_NULL, 0, 0, SMTO_BLOCK, 2000, &r);
    Sleep(150);  // the X server draws on its own time; nothing to wait on
  }
}

namespace {
void SendMouse(DWORD flags, int x, int y) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = MulDiv(x, 65536, w) + 1;
  in.mi.dy = MulDiv(y, 65536, h) + 1;
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &in, sizeof in);
  Sleep(30);  // input is processed by the other process; pace it like a hand
}
}  // namespace

void MoveMouse(int x, int y) { SendMouse(0, x, y); }
void Press(int x, int y) { SendMouse(MOUSEEVENTF_LEFTDOWN, x, y); }
void Release(int x, int y) { SendMouse(MOUSEEVENTF_LEFTUP, x, y); }

void Click(int x, int y) {
  MoveMouse(x, y);
  Press(x, y);
  Release(x, y);
}

void Drag(int fromX, int fromY, int toX, int toY) {
  MoveMouse(fromX, fromY);
  Press(fromX, fromY);
  for (int i = 1; i <= 5; ++i)
    MoveMouse(fromX + (toX - fromX) * i / 5, fromY + (toY - fromY) * i / 5);
  Release(toX, toY);
}

void Key(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
  Sleep(30);
}

bool WaitFor(bool (*cond)(void*), void* ctx, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (cond(ctx)) return true;
    if (GetTickCount() - start > ms) return false;
    Sleep(20);
  }
}

std::string TextOf(HWND hwnd) {
  int n = GetWindowTextLengthW(hwnd);
  std::wstring w(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd, w.data(), n + 1);
  w.resize(static_cast<size_t>(n));
  return base::Utf8(w);
}

RECT RectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

int D(int designPixels) { return geom::Scale(designPixels, ui::SystemDpi()); }

void ClickPageButton(const RunningApp& app, int page) {
  RECT r = RectOf(app.main());
  Click(r.left + D(20 + (page - 1) * 94 + 37), r.top + D(60));
}

}  // namespace e2e
