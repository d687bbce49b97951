#include "cleanup/OptionList.h"

#include "cleanup/CleanItems.h"
#include "cleanup/ItemScan.h"

namespace cleanup {

std::string OptionGroup(int option) {
  if (OptionItem(option)) return OptionProgram(option);
  // The Recycle Bin, the junk files and the clipboard are Windows'; the
  // classic traces are Internet Explorer's.
  return option < kUrlCache ? "Windows" : "Internet Explorer";
}

OptionSet DefaultTicks() {
  OptionSet ticks = NoOptions();
  for (size_t k = 0; k < ticks.size(); ++k) ticks[k] = OptionTicked(static_cast<int>(k));
  return ticks;
}

OptionList::OptionList() : ticks_(DefaultTicks()), present_(OptionCount(), false) {
  for (int k = 0; k < kFirstItem; ++k) present_[k] = true;
  Build();
}

void OptionList::Build() {
  lines_.clear();
  std::vector<std::string> groups;
  for (int k = 0; static_cast<size_t>(k) < present_.size(); ++k) {
    const std::string group = OptionGroup(k);
    bool known = false;
    for (const std::string& g : groups) known |= g == group;
    if (!known) groups.push_back(group);
  }
  for (const std::string& group : groups) {
    bool headed = false;
    for (int k = 0; static_cast<size_t>(k) < present_.size(); ++k) {
      if (!present_[k] || OptionGroup(k) != group) continue;
      if (!headed) lines_.push_back({-1, group, group});
      headed = true;
      lines_.push_back({k, OptionLabel(k), OptionText(k)});
    }
  }
}

bool OptionList::Shown(int option) const {
  return option >= 0 && static_cast<size_t>(option) < present_.size() && present_[option];
}

bool OptionList::Ticked(int option) const { return Shown(option) && ticks_[option]; }

bool OptionList::SetTicked(int option, bool on) {
  if (!Shown(option)) return false;
  ticks_[option] = on;
  changed_ = true;
  return true;
}

bool OptionList::Toggle(int option) { return SetTicked(option, !Ticked(option)); }

void OptionList::TickAll(bool on) {
  // Before the programs are known, the items the user does not see yet too:
  // they are chosen until then.
  for (size_t k = 0; k < present_.size(); ++k)
    if (present_[k] || !programsKnown_) ticks_[k] = on;
  changed_ = true;
}

OptionSet OptionList::Chosen() const {
  OptionSet chosen = NoOptions();
  for (int k = 0; static_cast<size_t>(k) < chosen.size(); ++k)
    chosen[k] = programsKnown_ ? Ticked(k) : bool(ticks_[k]);
  return chosen;
}

bool OptionList::AnyChosen() const {
  for (int k = 0; static_cast<size_t>(k) < present_.size(); ++k)
    if (Ticked(k)) return true;
  return false;
}

void OptionList::SetPresent(std::vector<bool> present) {
  present.resize(OptionCount(), false);
  for (int k = 0; k < kFirstItem; ++k) present[k] = true;
  present_ = std::move(present);
  programsKnown_ = true;
  Build();
}

void OptionList::Remember(const OptionSet& ticks) {
  if (changed_ || ticks.size() != ticks_.size()) return;
  ticks_ = ticks;
}

std::vector<bool> PresentOptions(ItemSystem& system, const UserFolders& folders) {
  std::vector<bool> present(OptionCount(), false);
  for (int k = 0; static_cast<size_t>(k) < present.size(); ++k) {
    const CleanItem* item = OptionItem(k);
    present[k] = !item || ItemPresent(*item, system, folders);
  }
  return present;
}

std::string TicksText(const OptionSet& ticks) {
  std::string text;
  for (size_t k = 0; k < ticks.size(); ++k)
    if (ticks[k]) text += std::string(OptionName(static_cast<int>(k))) + "\r\n";
  return text;
}

std::optional<OptionSet> ParseTicks(const std::string& text) {
  OptionSet ticks = NoOptions();
  size_t at = text.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string name = text.substr(at, end - at);
    at = end + 1;
    while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
    if (name.empty()) continue;
    bool known = false;
    for (size_t k = 0; k < ticks.size() && !known; ++k)
      if (name == OptionName(static_cast<int>(k))) known = ticks[k] = true;
    // Anything else is no list this program wrote.
    if (!known) return std::nullopt;
  }
  return ticks;
}

}  // namespace cleanup
