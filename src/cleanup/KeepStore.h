#pragma once
// keep.txt on disk: read whole, written atomically (a temporary file moved
// over the old one), so that a failed write leaves the old list as it was.
#include <functional>
#include <string>

#include "cleanup/KeepList.h"
#include "cleanup/KeepSites.h"

namespace cleanup {

struct KeepFile {
  enum class State {
    kAbsent,      // no file yet: an empty list
    kRead,        // read (some lines may be unreadable: list.Unreadable())
    kUnreadable,  // there, but could not be read: never to be written over
  };
  State state = State::kAbsent;
  KeepList list;
};

KeepFile ReadKeepFile(const std::string& path);
// False when the list could not be written; the file on disk is then unchanged.
bool WriteKeepFile(const std::string& path, const KeepList& list);

// The messages the page shows about the file.
std::string KeepUnreadableLinesNote(size_t lines);
extern const char kKeepFileUnreadable[];
extern const char kKeepFileNotSaved[];

}  // namespace cleanup

namespace cleanup {

// keep.txt as every scan reads it, the page's and the command line's: the
// list, whether the file was there but could not be read, and what to tell
// the user about it ("" when nothing).
struct KeepForScan {
  KeepList list;
  bool unknown = false;
  std::string warning;
};
KeepForScan ReadKeepListForScan(const std::string& path);

// Reads keep.txt, lets `change` edit the list, and writes it back when
// `change` returns true. Returns the message to show: "" when all went
// well; never writes over a file it could not read.
std::string UpdateKeepFile(const std::string& path, const std::function<bool(KeepList&)>& change);

}  // namespace cleanup

namespace cleanup {

// A keep file's text read whole (a plain disk file of a few megabytes at
// most), and text written atomically; false when it could not be written,
// and the file on disk is then unchanged.
KeepFile::State ReadKeepText(const std::string& path, std::string& text);
bool WriteKeepText(const std::string& path, const std::string& text);

// keep-sites.txt, read and changed like keep.txt.
struct SitesFile {
  KeepFile::State state = KeepFile::State::kAbsent;
  KeepSites sites;
};
SitesFile ReadKeepSitesFile(const std::string& path);
std::string UpdateKeepSitesFile(const std::string& path,
                                const std::function<bool(KeepSites&)>& change);
extern const char kKeepSitesUnreadable[];
extern const char kKeepSitesNotSaved[];

}  // namespace cleanup
