#include "cli/Console.h"

#include <algorithm>

#include "base/Text.h"

namespace cli {

Console::Stream Console::Inherited(DWORD which) {
  HANDLE h = GetStdHandle(which);
  if (!h || h == INVALID_HANDLE_VALUE) return {};
  DWORD mode = 0;
  switch (GetFileType(h)) {
    case FILE_TYPE_DISK:
    case FILE_TYPE_PIPE: return {h, false};
    // A console of our own, or a device such as NUL.
    case FILE_TYPE_CHAR: return {h, GetConsoleMode(h, &mode) != FALSE};
    // Not a handle of this process (a console handle of a parent's console
    // we are not attached to).
    default: return {};
  }
}

Console::Console() : out_(Inherited(STD_OUTPUT_HANDLE)), err_(Inherited(STD_ERROR_HANDLE)) {
  if (out_.handle && err_.handle) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  conout_ = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (conout_ == INVALID_HANDLE_VALUE) {
    conout_ = nullptr;
    return;
  }
  if (!out_.handle) out_ = {conout_, true};
  if (!err_.handle) err_ = {conout_, true};
  // An interactive shell does not wait for a GUI program: its prompt is
  // already on the line. A shell that waits (a batch file) left the cursor
  // at the start of a line.
  CONSOLE_SCREEN_BUFFER_INFO info;
  promptBefore_ = GetConsoleScreenBufferInfo(conout_, &info) && info.dwCursorPosition.X > 0;
}

void Console::Write(const Stream& s, const std::string& text) {
  if (!s.handle) return;
  if (s.console) {
    std::wstring wide = base::Wide(text);
    if (promptBefore_ && !wroteToConsole_) wide.insert(0, L"\r\n");  // not on the prompt's line
    wroteToConsole_ = true;
    DWORD done = 0;
    for (size_t at = 0; at < wide.size(); at += done) {
      // Large writes in parts: old consoles refuse more than about 64 KB.
      DWORD part = static_cast<DWORD>(std::min<size_t>(wide.size() - at, 8192));
      if (!WriteConsoleW(s.handle, wide.data() + at, part, &done, nullptr) || done == 0) break;
    }
  } else {
    DWORD done = 0;
    for (size_t at = 0; at < text.size(); at += done)
      if (!WriteFile(s.handle, text.data() + at, static_cast<DWORD>(text.size() - at), &done,
                     nullptr) ||
          done == 0)
        break;
  }
}

void Console::Flush() {
  if (pendingTo_) Write(*pendingTo_, pending_);
  pending_.clear();
  pendingTo_ = nullptr;
}

void Console::Out(const std::string& line) {
  const Stream& to = textToErr_ ? err_ : out_;
  if (to.console) return Write(to, line + "\r\n");
  pendingTo_ = &to;
  pending_ += line;
  pending_ += "\r\n";
  if (pending_.size() >= 64 * 1024) Flush();
}

void Console::Err(const std::string& line) {
  Flush();
  Write(err_, line + "\r\n");
}

void Console::Raw(const std::string& bytes) {
  Flush();
  Write(out_, bytes);
}

void Console::Finish() {
  Flush();
  if (!conout_ || !promptBefore_) return;
  // The shell has its prompt on a line above our output. One Enter lets it
  // show a fresh one, but only while the cursor stands at the start of an
  // empty line: characters typed meanwhile are the user's, not ours to send.
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(conout_, &info) || info.dwCursorPosition.X != 0) return;
  HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return;
  INPUT_RECORD keys[2] = {};
  for (int k = 0; k < 2; ++k) {
    keys[k].EventType = KEY_EVENT;
    keys[k].Event.KeyEvent.bKeyDown = k == 0;
    keys[k].Event.KeyEvent.wRepeatCount = 1;
    keys[k].Event.KeyEvent.wVirtualKeyCode = VK_RETURN;
    keys[k].Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(VK_RETURN, 0));
    keys[k].Event.KeyEvent.uChar.UnicodeChar = L'\r';
  }
  DWORD written = 0;
  WriteConsoleInputW(in, keys, 2, &written);
  CloseHandle(in);
}

}  // namespace cli
