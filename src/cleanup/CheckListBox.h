#pragma once
// A list box showing the page's clean options (an OptionList): each
// program's name, and under it its options with their check boxes. The
// model keeps the ticks; a line's item data is its option (-1 for a
// program's name), its text what a screen reader reads. Owner-drawn; a
// click on the box or the space bar toggles an option.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cleanup/OptionList.h"

#include "ui/Handles.h"
#include "ui/Window.h"

// Draws an owner-drawn list line: a `box` pixels square check box `indent`
// pixels in, in front of the text (`tick` 1 ticked, 0 not, -1 no box, and
// then no room for one either when `boxRoom` is false), selection and focus.
void DrawCheckLine(const DRAWITEMSTRUCT& di, int box, int tick, const std::string& text,
                   int indent = 0, bool boxRoom = true);

class CCheckListBox : public ui::Window {
 public:
  // Shows the model's lines; it must outlive the list.
  void Show(cleanup::OptionList& model);
  int GetCount() const;
  std::string GetText(int index) const;
  // The option of a line; -1 for a program's name or no line.
  int OptionAt(int index) const;
  // 1 ticked, 0 not, -1 a program's name.
  int GetCheck(int index) const;
  // The options of the programs installed, with the ticks remembered
  // (nothing when none could be read).
  void ShowPrograms(std::vector<bool> present, const std::optional<cleanup::OptionSet>& remembered);
  // Ticks or unticks every option shown ("全选", "全不选").
  void TickAll(bool on);
  // After the user changed a tick.
  std::function<void()> toggled;

 protected:
  bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void DrawLine(const DRAWITEMSTRUCT& di);
  int BoxSize() const;
  void Toggle(int index);

  cleanup::OptionList* model_ = nullptr;
  ui::Font bold_;  // the programs' names: the list's font, bold
};
