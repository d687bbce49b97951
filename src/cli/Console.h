#pragma once
// Output of a command-line run of this GUI program: to the console of the
// program that started it (WriteConsoleW, so that Chinese shows whatever
// the code page), or as UTF-8 bytes where the output is redirected.
#include <windows.h>

#include <string>

namespace cli {

class Console {
 public:
  // Finds where standard output and error go; when they go nowhere,
  // attaches to the parent's console.
  Console();
  ~Console() {
    Flush();
    if (conout_) CloseHandle(conout_);
  }
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // One line each (the line break is added).
  void Out(const std::string& line);
  void Err(const std::string& line);
  // Bytes as they are, to standard output (the JSON report of /report -).
  void Raw(const std::string& bytes);
  // Text lines then go to the error stream, leaving standard output to Raw.
  void KeepOutputForRaw() { textToErr_ = true; }
  // After the last line: when the run printed into an interactive shell's
  // console, lets the shell show its prompt again.
  void Finish();

 private:
  struct Stream {
    HANDLE handle = nullptr;
    bool console = false;
  };
  static Stream Inherited(DWORD which);
  void Write(const Stream& s, const std::string& text);
  // Lines to a file or pipe go in large writes.
  void Flush();

  Stream out_, err_;
  HANDLE conout_ = nullptr;  // owned when opened here
  bool textToErr_ = false;
  bool promptBefore_ = false;  // the shell's prompt stood on the line when we attached
  bool wroteToConsole_ = false;
  std::string pending_;  // for out_, when it is no console
  const Stream* pendingTo_ = nullptr;
};

}  // namespace cli
