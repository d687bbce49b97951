#pragma once
// A page's status line: a static control that shows either a sentence,
// wrapped over its lines, or a path on one line, shortened in its middle.
// Its font is the status font, bold for a summary and normal while work
// reports its progress; the weight survives a DPI change.
#include <windows.h>

#include <string>

namespace controls {

class StatusLine {
 public:
  void Bind(HWND status) { hwnd_ = status; }
  void Show(const std::string& text, bool path = false);
  void SetWeight(int weight, int dpi);
  // The font again at a new DPI, in the weight it had.
  void Rescale(int dpi) { SetWeight(weight_, dpi); }

 private:
  HWND hwnd_ = nullptr;
  int weight_ = FW_BOLD;
};

}  // namespace controls
