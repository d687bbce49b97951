#pragma once
// Where the browsers list their profiles: a Chromium browser's Local State
// (JSON) and Firefox's profiles.ini. Only what finding the profiles needs is
// read; anything malformed gives nothing, and the folders found on disk are
// used instead.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cleanup {

// The keys of "profile" → "info_cache" in Local State: the profiles' folder
// names ("Default", "Profile 1"). Nothing when the text is not JSON or has
// no such object.
std::optional<std::vector<std::string>> LocalStateProfiles(std::string_view json);

struct FirefoxProfile {
  std::string path;  // as written: "Profiles/abcd.default-release" or "D:\\Firefox\\mine"
  bool relative = true;
};
// The [ProfileN] sections of profiles.ini with their Path and IsRelative.
// Sections without a Path are left out.
std::vector<FirefoxProfile> ParseProfilesIni(std::string_view text);

// A profile folder's name taken from one of these files is used only when
// it names one folder: not empty, no separator, no drive, not "." or "..".
bool PlainFolderName(std::string_view name);

}  // namespace cleanup
