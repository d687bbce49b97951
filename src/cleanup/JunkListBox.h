#pragma once
// The junk list: a list box showing a CleanupList's rows, line N for row N,
// each line's item data the row's id. It compares nothing itself: lines go
// in at the place the model chose, by the keys SortKey gives, which order
// lines as a sorted list box would (its locale, case ignored).
//
// Owner-drawn: a line whose row can be ticked shows a check box in front of
// its text. A click on the box or the space bar toggles the row; the rows
// keep the ticks. Sizes follow the list's font.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cleanup/CleanupList.h"
#include "cleanup/ScanSession.h"
#include "controls/HSListBox.h"

class CJunkListBox : public CHSListBox {
 public:
  // A key that orders lines by plain byte comparison exactly as the list
  // box's locale orders them, case ignored.
  std::string SortKey(const std::string& text) const;
  std::string SortKey(const std::wstring& text) const;

  // The rows whose ticks the lines' boxes show; a click on a line's box, or
  // the space bar on the selected line, toggles its row.
  void Bind(cleanup::CleanupList& rows) { rows_ = &rows; }
  void ToggleLine(int index);
  // A right-click on a line (-1 on no line), at a point on the screen.
  std::function<void(int index, POINT screen)> contextMenu;

  void SubclassWindow(HWND listBox) override;
  void RedrawLine(int index);
  // A cleaned row's line stays, without its box.
  void MarkDone(cleanup::CleanupList::RowId id);

  // Rows added to `rows` and their lines shown at their places: files a
  // slice at once, a message alone; and a row removed with its line.
  void AddFiles(cleanup::CleanupList& rows, std::vector<cleanup::FoundFile> files);
  void AddMessage(cleanup::CleanupList& rows, const std::string& text);
  // An item's line, which names its option and can be ticked.
  void AddItem(cleanup::CleanupList& rows, int option, const std::string& text);
  void Remove(cleanup::CleanupList& rows, cleanup::CleanupList::RowId id);
  // The row of the selected line; nullopt for none.
  std::optional<cleanup::CleanupList::RowId> SelectedRow() const;
  // Many lines go in unseen and show at Thaw: turning drawing back on costs
  // as much as a thousand lines.
  void Freeze();
  void Thaw();
  bool Frozen() const { return frozen_; }

  // Moves what a scan found into the list, slice after slice for a moment,
  // so that clicks and painting get their turn between slices; the new
  // lines show twice a second. Once it has caught up with a walk still
  // going, it takes again only a moment later, however soon files come:
  // each take costs system calls that the walk waits for. While lines
  // wait, or wait to be shown, the list's timer calls `more` to go on.
  // True when the walk is done.
  bool TakeFound(cleanup::CleanupList& rows, cleanup::ScanSession& session);
  // No more taking: the timer stops and every line taken shows.
  void EndFound();
  std::function<void()> more;

 protected:
  bool OnReflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  LRESULT WindowProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // The row just added to `rows`, shown at `at`.
  void ShowAdded(const cleanup::CleanupList& rows, size_t at);
  void FitToFont();
  int BoxSize() const;
  void DrawLine(const DRAWITEMSTRUCT& di);

  cleanup::CleanupList* rows_ = nullptr;
  mutable LCID locale_ = 0;
  bool frozen_ = false;
  ULONGLONG shown_ = 0;  // when the taken lines last showed
  // Until when a walk still going is left to find more before the next take.
  ULONGLONG paceUntil_ = 0;
  bool armed_ = false;  // the timer runs
  void Arm(ULONGLONG ms);
  void Disarm();
};
