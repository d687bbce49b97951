#pragma once
// A list box that scrolls sideways over lines wider than itself. A list
// box scrolls only as far as its horizontal extent, which it never works
// out by itself; this one keeps it at the width of its widest line, in its
// own font, plus 5 pixels, whatever way the lines arrive (the calls below,
// or LB_ADDSTRING and friends sent from another thread).
#include <string>
#include <vector>

#include "controls/HSExtent.h"
#include "ui/Window.h"

class CHSListBox : public ui::Window {
 public:
  CHSListBox() = default;
  ~CHSListBox() override;

  // Binds a list box (or SubclassDlgItem) and measures the lines it holds.
  void SubclassWindow(HWND listBox) override;

  // Lines in UTF-8. AddString returns the new line's index, or LB_ERR.
  int AddString(const std::string& text);
  // Inserts a line at `index` with `data` as its item data; returns the
  // line's index, or LB_ERR.
  int InsertString(int index, const std::string& text, LPARAM data = 0);
  LPARAM GetItemData(int index) const;
  // Many lines in one go, each at its index with its item data, in rising
  // order of index so that each lands where it was meant to. The extent is
  // set once, for all of them. Returns how many went in.
  struct NewLine {
    int index;
    std::wstring text;
    LPARAM data;
  };
  int InsertLines(const std::vector<NewLine>& lines);
  // Adds the lines in one go, the list box redrawn once at the end (a list
  // box redraws after every line otherwise). Returns how many were added.
  int AddStrings(const std::vector<std::string>& lines);
  int DeleteString(int index);
  void ResetContent();
  int GetCount() const;
  std::string GetText(int index) const;

  // Brings the extent in line with the lines. The extent is kept up to
  // date as lines come and go, so this costs nothing then; it measures the
  // lines again only after changes it could not follow one by one.
  void UpdateHorizontalExtent();
  int HorizontalExtent() const;
  // Room in front of every line's text (an owner-drawn list's check box).
  void SetLeadingWidth(int width);

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool HasStrings() const;
  int MeasureLine(int index) const;
  int Measure(const wchar_t* text) const;
  void MeasureAll();
  void Apply();

  void CreateMeasureDC();
  int CharWidth(wchar_t c) const;

  hslist::ExtentTracker tracker_;
  bool stale_ = false;
  int leading_ = 0;
  int applied_ = -1;
  // Lines are measured in a memory DC of our own: no window DC to get and
  // release for every line.
  HDC measureDC_ = nullptr;
  // Advance widths of the characters met so far, in the current font
  // (kUnknownWidth where not yet asked). Summing them is what the text
  // extent is for a list box's unkerned lines, and asking the system once
  // per character instead of once per line keeps 10,000 lines cheap.
  static constexpr unsigned short kUnknownWidth = 0xFFFF;
  mutable std::vector<unsigned short> widths_;
};
