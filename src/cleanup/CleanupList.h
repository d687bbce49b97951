#pragma once
// The lines of the junk list, owned here in the order they are shown: the
// files a scan found and the messages a clean adds (its report and the
// completion lines). A view shows row N at line N and keeps each row's id
// in the line's item data, so that "清理" and "全部清理" act on rows, never
// on a line's text. Lines are kept sorted by a key computed once per line,
// so the control showing them compares nothing itself.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cleanup/CleanAll.h"
#include "cleanup/CleanupText.h"
#include "cleanup/KeepList.h"

namespace cleanup {

struct CleanupRow {
  enum class Kind {
    kFile,     // a listed file, still to clean
    kItem,     // a program's item the scan measured, still to clean: `option`
    kDone,     // a file or item already cleaned or gone: its line stays, it is no longer offered
    kMessage,  // a report or completion line
  };
  Kind kind = Kind::kMessage;
  std::string key;  // the sort key; the text of a file row is its file's path
  FoundFile file;   // the path is the line's text for every kind
  bool ticked = false;
  int option = -1;  // kItem
  const std::string& Text() const { return file.path; }
  bool Tickable() const { return kind == Kind::kFile || kind == Kind::kItem; }
};

class CleanupList {
 public:
  using RowId = uint32_t;

  // Empties the list; ids handed out before no longer name a row.
  void Clear();
  // Changes with each Clear: what was meant for the old rows is dropped.
  uint64_t Epoch() const { return epoch_; }

  // Insert at the sorted place, after lines with an equal key; return the
  // display index. A file row starts ticked.
  size_t AddFile(FoundFile file, std::string key);
  size_t AddMessage(std::string text, std::string key);
  // An item's line, naming its option; it starts ticked.
  size_t AddItem(int option, std::string text, std::string key);
  // The id of the row the last Add made (its line's item data).
  RowId LastId() const { return static_cast<RowId>(rows_.size() - 1); }
  // Many files at once, each with its key, merged into their sorted places
  // in one pass; the new rows' display indices and ids, by rising index,
  // so that inserting them into a view in that order puts each in place.
  struct Added {
    size_t index;
    RowId id;
  };
  std::vector<Added> AddFiles(std::vector<FoundFile> files, std::vector<std::string> keys);

  size_t Count() const { return order_.size(); }
  RowId IdAt(size_t index) const { return order_.at(index); }
  // nullptr once removed, or for an id this list never gave.
  const CleanupRow* Row(RowId id) const;
  std::optional<size_t> IndexOf(RowId id) const;

  // Drops the row; returns the display index it had.
  std::optional<size_t> Remove(RowId id);
  // A cleaned file or item keeps its line, untickable.
  void MarkDone(RowId id);
  // The row of an item, if the list shows one.
  std::optional<RowId> ItemRow(int option) const;
  // Ticks or unticks a file or item row; false for any other row.
  bool SetTicked(RowId id, bool ticked);
  bool Toggle(RowId id);
  // A line's box: -1 none, 0 unticked, 1 ticked.
  int Tick(RowId id) const;

  // Drops the file rows `keep` keeps; their display indices, highest first.
  std::vector<size_t> RemoveKept(const KeepList& keep);

  // Ticked file rows in display order, with their ids.
  struct Ticked {
    std::vector<RowId> ids;
    std::vector<FoundFile> files;
  };
  Ticked TickedFiles() const;
  // What a clean of the list clears: `chosen` without the items, with the
  // items whose rows are ticked. An item the scan did not show is not cleaned.
  OptionSet CleanOptions(OptionSet chosen) const;
  // Every file row still to clean, in display order; and their paths sorted.
  std::vector<FoundFile> Files() const;
  std::vector<std::string> SortedPaths() const;

 private:
  size_t Insert(CleanupRow row);
  CleanupRow* Live(RowId id);

  std::vector<CleanupRow> rows_;  // by id; removed rows stay as empty tombstones
  std::vector<bool> live_;
  std::vector<RowId> order_;  // display order
  uint64_t epoch_ = 0;
};

}  // namespace cleanup
