#pragma once
// The "清理选项" tab's model: the options grouped under their programs'
// names, which of them show (a program that is not installed shows none),
// and the user's ticks, remembered between runs in options.txt. Only an
// option that shows can be chosen: a hidden one is never cleaned.
#include <optional>
#include <string>
#include <vector>

#include "cleanup/CleanupText.h"

namespace cleanup {

class ItemSystem;
struct UserFolders;

// A line of the list: a program's name over its options, or an option.
struct OptionLine {
  int option = -1;    // -1 for a program's name
  std::string text;   // read out: the program, or the option's full label
  std::string shown;  // drawn: the program, or the option's own name
};

class OptionList {
 public:
  // The built-in defaults ticked; only the seven classic options show.
  OptionList();

  const std::vector<OptionLine>& Lines() const { return lines_; }
  bool Shown(int option) const;
  bool Ticked(int option) const;
  // False for an option that does not show.
  bool SetTicked(int option, bool on);
  bool Toggle(int option);
  // Every option that shows (every one until the programs are known).
  void TickAll(bool on);

  // The ticked options that show: what a scan and a clean may reach. Until
  // the programs are known, every ticked option: a scan started that soon
  // finds nothing of a program that is not installed.
  OptionSet Chosen() const;
  bool AnyChosen() const;
  // Every tick, hidden options' too: what is remembered.
  const OptionSet& Ticks() const { return ticks_; }
  // True once the user changed a tick.
  bool Changed() const { return changed_; }

  // Which options show, by id; the classic ones always do.
  void SetPresent(std::vector<bool> present);
  // True once SetPresent told which programs are installed.
  bool ProgramsKnown() const { return programsKnown_; }
  // The remembered ticks, unless the user has changed one meanwhile.
  void Remember(const OptionSet& ticks);

 private:
  void Build();

  OptionSet ticks_;
  std::vector<bool> present_;
  std::vector<OptionLine> lines_;
  bool changed_ = false;
  bool programsKnown_ = false;
};

// The programs' name an option shows under.
std::string OptionGroup(int option);

// Every option whose program is installed, by id; the classic ones always.
std::vector<bool> PresentOptions(ItemSystem& system, const UserFolders& folders);

// options.txt: the command-line names of the ticked options, one a line.
std::string TicksText(const OptionSet& ticks);
// Nothing for a file that is no such list: the defaults then apply.
std::optional<OptionSet> ParseTicks(const std::string& text);
OptionSet DefaultTicks();

}  // namespace cleanup
