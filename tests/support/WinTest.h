#pragma once
// Helpers for the tests that create real windows under Wine.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Effects.h"

namespace wintest {

// Runs the message loop until `done` holds or `ms` milliseconds pass;
// returns whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000);
// Serves the messages that are waiting now.
void Pump();

// Records what the program asked of the outside world, and answers
// question boxes with `answer`.
class FakeEffects : public ui::Effects {
 public:
  struct Message {
    std::string text, caption;
    UINT style;
  };
  int answer = IDNO;
  std::vector<Message> messages;
  std::vector<int> exits;
  std::vector<std::string> opened;
  std::vector<ui::PowerAction> power;
  bool refusePower = false;  // RequestPower answers false
  struct Run {
    std::string verb, file, params;
  };
  std::vector<Run> runs;
  DWORD runError = 0;  // what ShellRun answers
  std::vector<std::string> sounds;
  SYSTEMTIME now{2014, 12, 1, 15, 9, 5, 3, 0};

  int ShowMessage(HWND, const std::string& text, const std::string& caption, UINT style) override;
  void ExitProcess(int code) override { exits.push_back(code); }
  bool ShellOpen(const std::string& file, const std::string&, int) override;
  bool RequestPower(ui::PowerAction a) override;
  DWORD ShellRun(HWND, const std::string& verb, const std::string& file, const std::string& params,
                 int) override {
    runs.push_back({verb, file, params});
    return runError;
  }
  bool PlaySoundFile(const std::string& path) override {
    sounds.push_back(path);
    return true;
  }
  SYSTEMTIME LocalTime() override { return now; }
};

// Installs a FakeEffects for the scope of a test.
class ScopedEffects {
 public:
  ScopedEffects() { old_ = ui::SetEffects(&fake); }
  ~ScopedEffects() { ui::SetEffects(old_); }
  FakeEffects fake;

 private:
  ui::Effects* old_;
};

// Text of a window, UTF-8.
std::string TextOf(HWND hwnd);

// Finds a visible top-level window of this process with this exact title.
HWND FindTopLevel(const std::string& title);

// Saves the screen area `r` as $MIRVEN_SHOT_DIR/<name>.bmp (24-bit).
bool SaveScreen(const RECT& r, const std::string& name);

// Number of GDI and USER objects this process holds now.
DWORD GdiObjects();

}  // namespace wintest
