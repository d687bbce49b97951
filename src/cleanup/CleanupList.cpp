#include "cleanup/CleanupList.h"

#include <algorithm>
#include <iterator>

namespace cleanup {

void CleanupList::Clear() {
  rows_.clear();
  live_.clear();
  order_.clear();
  ++epoch_;
}

size_t CleanupList::Insert(CleanupRow row) {
  const RowId id = static_cast<RowId>(rows_.size());
  auto at =
      std::upper_bound(order_.begin(), order_.end(), row.key,
                       [this](const std::string& key, RowId r) { return key < rows_[r].key; });
  const auto index = at - order_.begin();
  rows_.push_back(std::move(row));
  live_.push_back(true);
  order_.insert(at, id);
  return static_cast<size_t>(index);
}

size_t CleanupList::AddFile(FoundFile file, std::string key) {
  CleanupRow row;
  row.kind = CleanupRow::Kind::kFile;
  row.key = std::move(key);
  row.file = std::move(file);
  row.ticked = true;
  return Insert(std::move(row));
}

std::vector<CleanupList::Added> CleanupList::AddFiles(std::vector<FoundFile> files,
                                                      std::vector<std::string> keys) {
  std::vector<RowId> fresh;
  for (size_t k = 0; k < files.size() && k < keys.size(); ++k) {
    CleanupRow row;
    row.kind = CleanupRow::Kind::kFile;
    row.key = std::move(keys[k]);
    row.file = std::move(files[k]);
    row.ticked = true;
    fresh.push_back(static_cast<RowId>(rows_.size()));
    rows_.push_back(std::move(row));
    live_.push_back(true);
  }
  auto byKey = [this](RowId a, RowId b) { return rows_[a].key < rows_[b].key; };
  std::stable_sort(fresh.begin(), fresh.end(), byKey);
  // Existing lines first among equal keys, as one Add after another would.
  std::vector<RowId> merged;
  merged.reserve(order_.size() + fresh.size());
  std::merge(order_.begin(), order_.end(), fresh.begin(), fresh.end(), std::back_inserter(merged),
             byKey);
  order_ = std::move(merged);
  std::vector<Added> added;
  const RowId firstFresh = static_cast<RowId>(rows_.size() - fresh.size());
  for (size_t k = 0; k < order_.size() && added.size() < fresh.size(); ++k)
    if (order_[k] >= firstFresh) added.push_back({k, order_[k]});
  return added;
}

size_t CleanupList::AddMessage(std::string text, std::string key) {
  CleanupRow row;
  row.key = std::move(key);
  row.file.path = std::move(text);
  return Insert(std::move(row));
}

size_t CleanupList::AddItem(int option, std::string text, std::string key) {
  CleanupRow row;
  row.kind = CleanupRow::Kind::kItem;
  row.key = std::move(key);
  row.file.path = std::move(text);
  row.ticked = true;
  row.option = option;
  return Insert(std::move(row));
}

const CleanupRow* CleanupList::Row(RowId id) const {
  return id < rows_.size() && live_[id] ? &rows_[id] : nullptr;
}

CleanupRow* CleanupList::Live(RowId id) {
  return id < rows_.size() && live_[id] ? &rows_[id] : nullptr;
}

std::optional<size_t> CleanupList::IndexOf(RowId id) const {
  const CleanupRow* row = Row(id);
  if (!row) return std::nullopt;
  // Rows with the row's key sit together; the id tells them apart.
  auto it =
      std::lower_bound(order_.begin(), order_.end(), row->key,
                       [this](RowId r, const std::string& key) { return rows_[r].key < key; });
  for (; it != order_.end() && rows_[*it].key == row->key; ++it)
    if (*it == id) return static_cast<size_t>(it - order_.begin());
  return std::nullopt;
}

std::optional<size_t> CleanupList::Remove(RowId id) {
  auto index = IndexOf(id);
  if (!index) return std::nullopt;
  order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(*index));
  live_[id] = false;
  rows_[id] = CleanupRow();
  return index;
}

void CleanupList::MarkDone(RowId id) {
  if (CleanupRow* row = Live(id); row && row->Tickable()) {
    row->kind = CleanupRow::Kind::kDone;
    row->ticked = false;
  }
}

std::optional<CleanupList::RowId> CleanupList::ItemRow(int option) const {
  for (RowId id : order_)
    if (rows_[id].kind == CleanupRow::Kind::kItem && rows_[id].option == option) return id;
  return std::nullopt;
}

int CleanupList::Tick(RowId id) const {
  const CleanupRow* row = Row(id);
  return row && row->Tickable() ? (row->ticked ? 1 : 0) : -1;
}

OptionSet CleanupList::CleanOptions(OptionSet chosen) const {
  chosen.resize(OptionCount(), false);
  for (size_t k = kFirstItem; k < chosen.size(); ++k) chosen[k] = false;
  for (RowId id : order_)
    if (rows_[id].kind == CleanupRow::Kind::kItem && rows_[id].ticked &&
        static_cast<size_t>(rows_[id].option) < chosen.size())
      chosen[static_cast<size_t>(rows_[id].option)] = true;
  return chosen;
}

bool CleanupList::SetTicked(RowId id, bool ticked) {
  CleanupRow* row = Live(id);
  if (!row || !row->Tickable()) return false;
  row->ticked = ticked;
  return true;
}

bool CleanupList::Toggle(RowId id) {
  const CleanupRow* row = Row(id);
  return row && SetTicked(id, !row->ticked);
}

std::vector<size_t> CleanupList::RemoveKept(const KeepList& keep) {
  std::vector<size_t> removed;
  for (size_t k = order_.size(); k-- > 0;) {
    const RowId id = order_[k];
    if (rows_[id].kind != CleanupRow::Kind::kFile || !keep.Keeps(rows_[id].file.path)) continue;
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(k));
    live_[id] = false;
    rows_[id] = CleanupRow();
    removed.push_back(k);
  }
  return removed;
}

CleanupList::Ticked CleanupList::TickedFiles() const {
  Ticked t;
  for (RowId id : order_)
    if (rows_[id].kind == CleanupRow::Kind::kFile && rows_[id].ticked) {
      t.ids.push_back(id);
      t.files.push_back(rows_[id].file);
    }
  return t;
}

std::vector<FoundFile> CleanupList::Files() const {
  std::vector<FoundFile> files;
  for (RowId id : order_)
    if (rows_[id].kind == CleanupRow::Kind::kFile) files.push_back(rows_[id].file);
  return files;
}

std::vector<std::string> CleanupList::SortedPaths() const {
  std::vector<std::string> paths;
  for (const FoundFile& f : Files()) paths.push_back(f.path);
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace cleanup
