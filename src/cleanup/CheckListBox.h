#pragma once
// A list box whose lines carry a check box: the page's clean options.
// Owner-drawn; a click on the box or the space bar toggles a line.
#include <string>
#include <vector>

#include "ui/Handles.h"
#include "ui/Window.h"

// Draws an owner-drawn list line: a `box` pixels square check box in front
// of the text (`tick` 1 ticked, 0 not, -1 no box), selection and focus.
void DrawCheckLine(const DRAWITEMSTRUCT& di, int box, int tick, const std::string& text);

class CCheckListBox : public ui::Window {
 public:
  // Inserts a line at `index` (sorting does not move it), unchecked.
  int InsertString(int index, const std::string& text);
  int GetCount() const;
  std::string GetText(int index) const;
  // 1 checked, 0 unchecked.
  int GetCheck(int index) const;
  void SetCheck(int index, int check);
  bool AnyChecked() const;
  // Every line's check, in order; and every line checked, or none.
  std::vector<bool> Checks() const;
  void CheckAll(bool on);

 protected:
  bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void DrawLine(const DRAWITEMSTRUCT& di);
  int BoxSize() const;
  void Toggle(int index);
};
