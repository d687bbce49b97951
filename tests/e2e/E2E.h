#pragma once
// Starts dist/Mirven.exe as its own process under Wine and drives it from
// outside, as a user would: real mouse input, windows found by title.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Windows path of the program under test (the Linux dist folder as Z:).
std::wstring ProgramPath();

class RunningApp {
 public:
  RunningApp() = default;
  RunningApp(const RunningApp&) = delete;
  RunningApp& operator=(const RunningApp&) = delete;
  ~RunningApp();  // ends the process if it still runs

  // Starts the program with extra environment variables ("NAME=value") and
  // waits for its main window.
  bool Start(const std::vector<std::wstring>& env = {});
  // Starts another program (a carried tool, say) the same way and waits for
  // its top-level window with this title, which then stands for main().
  bool StartProgram(const std::wstring& exe, const std::string& title, const wchar_t* cls = nullptr,
                    const std::vector<std::wstring>& env = {});
  // Starts `exe` with arguments, in its own folder, waiting for nothing.
  bool Launch(const std::wstring& exe, const std::wstring& args,
              const std::vector<std::wstring>& env = {});
  HWND main() const { return main_; }
  DWORD pid() const { return pi_.dwProcessId; }

  // A visible top-level window of the program with this title (and class,
  // when given), waited for up to `ms`.
  HWND WaitForWindow(const std::string& title, const wchar_t* cls = nullptr,
                     DWORD ms = 10000) const;
  // The child page of the main window with this title.
  HWND Page(const std::string& title) const;
  // Exit code once the process has ended, or STILL_ACTIVE after `ms`.
  DWORD WaitExit(DWORD ms) const;

 private:
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
};

// Mirven.exe with arguments, as a script starts it: what it printed (UTF-8,
// its output and errors redirected to files in `folder`), its exit code,
// and the most top-level windows it had at once.
struct CommandLineRun {
  DWORD code = STILL_ACTIVE;
  std::string out, err;
  int windows = 0;
};
CommandLineRun RunCommandLine(const std::wstring& args, const std::string& folder);
// Top-level windows of a process, shown or not.
int WindowsOf(DWORD pid);
std::string ReadAll(const std::string& path);
// "path" with quotes, for a command line.
std::wstring Quoted(const std::string& path);

// Waits until the program has served its messages and the X server has
// caught up with what it drew (for screenshots).
void Settle(const RunningApp& app);

// Real input through the system's queue.
void MoveMouse(int screenX, int screenY);
void Click(int screenX, int screenY);
void Press(int screenX, int screenY);
void Release(int screenX, int screenY);
void Drag(int fromX, int fromY, int toX, int toY);
void Key(WORD vk);

// Waits for a condition, checking every 20 ms.
bool WaitFor(bool (*cond)(void*), void* ctx, DWORD ms);
template <typename F>
bool WaitUntil(F f, DWORD ms = 5000) {
  return WaitFor([](void* c) { return (*static_cast<F*>(c))(); }, &f, ms);
}

std::string TextOf(HWND hwnd);
RECT RectOf(HWND hwnd);
// Design pixels of the program's windows at the display's DPI, for clicks
// on painted parts.
int D(int designPixels);
// Clicks the main window's page button 1 to 5.
void ClickPageButton(const RunningApp& app, int page);

}  // namespace e2e
