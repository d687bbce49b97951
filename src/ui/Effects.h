#pragma once
// Everything that leaves the program's own windows goes through here:
// question boxes, ending the process, opening things with the shell, power
// requests and the clock. Tests install their own Effects to answer and
// observe these without a person, a browser or a reboot.
#include <windows.h>

#include <string>

namespace ui {

enum class PowerAction { Restart, PowerOff };

class Effects {
 public:
  virtual ~Effects() = default;
  // MessageBoxW with the texts in UTF-8; returns IDYES, IDNO, IDOK, ...
  virtual int ShowMessage(HWND owner, const std::string& text, const std::string& caption,
                          UINT style);
  // Ends the process at once with this code (does not return in the program).
  virtual void ExitProcess(int code);
  // ShellExecuteW with no verb; true when the shell accepted it.
  virtual bool ShellOpen(const std::string& file, const std::string& params, int show);
  // Asks the system to restart or power off; true when the request was accepted.
  virtual bool RequestPower(PowerAction action);
  // ShellExecuteExW with a verb ("open", "runas", ...): 0 when the program
  // was started, else the system's error code (ERROR_CANCELLED when the
  // user declined the administrator prompt).
  virtual DWORD ShellRun(HWND owner, const std::string& verb, const std::string& file,
                         const std::string& params, int show);
  // Plays a .wav file once without waiting (never the system's default
  // sound in place of a missing file); an empty path stops what plays.
  // False when the file could not be played.
  virtual bool PlaySoundFile(const std::string& path);
  virtual SYSTEMTIME LocalTime();
};

// The effects in force; the real ones unless a test installed others.
Effects& effects();
// Installs `e` (nullptr restores the real ones); returns the previous one.
Effects* SetEffects(Effects* e);

}  // namespace ui
