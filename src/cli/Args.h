#pragma once
// The program's command line: splitting it as the C runtime does, quoting
// an argument so that it splits back unchanged, and reading the switches
// into what the run is to do.
#include <string>
#include <vector>

#include "cleanup/CleanupText.h"

namespace cli {

// A Windows command line (UTF-8) cut into arguments, the program's name
// first: spaces and tabs separate outside quotes; 2n backslashes before a
// quote give n and the quote opens or closes, 2n+1 give n and a literal
// quote; "" inside quotes is a literal quote. The program's name is taken
// as it stands, up to its closing quote or the first space.
std::vector<std::string> SplitCommandLine(const std::string& line);
// `arg` written so that SplitCommandLine gives it back unchanged.
std::string QuoteArgument(const std::string& arg);

enum class Mode { kNone, kHelp, kScan, kClean, kSchedule };
enum class Repeat { kDaily, kWeekly, kOff };

using cleanup::OptionSet;

struct Options {
  Mode mode = Mode::kNone;
  std::vector<std::string> roots;  // as typed; the profile folder when none
  OptionSet options = cleanup::NoOptions();  // only "temp" unless /traces names others
  bool tracesGiven = false;
  std::string report;  // "" none, "-" standard output
  bool quiet = false;
  bool permanent = false;
  Repeat repeat = Repeat::kOff;
  int hour = 12, minute = 0;
};

struct ParseResult {
  Options options;
  std::string error;  // Chinese, for the user; empty when the arguments are good
  bool ok() const { return error.empty(); }
};

// The arguments after the program's name. Switches start with "/", "-" or
// "--" and are matched without regard to case.
ParseResult ParseArguments(const std::vector<std::string>& args);

// "temp,cookies" (commas, or Chinese commas) by English or Chinese name,
// the names of the "清理选项" tab; false with the unknown name in `bad`.
bool ParseOptionNames(const std::string& list, OptionSet& options, std::string& bad);

// The usage text of /? and /help.
std::string UsageText();

}  // namespace cli
