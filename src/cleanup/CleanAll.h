#pragma once
// Deleting the junk files a scan listed, one or all, over a deletion seam:
// the program deletes through FileOps, the tests through a fake.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cleanup {

// What the scan saw of a file; it is deleted only while it still matches.
struct FileIdentity {
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // the lister's last-write time (FILETIME as one number)
};

// A junk file the scan found.
struct FoundFile {
  std::string path;
  FileIdentity identity;
  uint64_t kb = 0;  // as counted in the totals
};

enum class DeleteResult {
  kDeleted,
  kGone,     // no longer there (renamed, deleted by someone else)
  kChanged,  // another size or time, or no longer a plain file
  kRefused,  // in use, read-only, access denied
};

class FileDeleter {
 public:
  virtual ~FileDeleter() = default;
  // Deletes `path` if it is still the file the scan saw.
  virtual DeleteResult DeleteIfUnchanged(const std::string& path, const FileIdentity& seen) = 0;
};

// The outcome of deleting files. A file that was already gone counts as
// done: it is not there, which is what the user asked for.
struct CleanTally {
  uint64_t deleted = 0;
  uint64_t gone = 0;
  uint64_t failed = 0;   // changed or refused: still there
  uint64_t freedKB = 0;  // of the files deleted here
  // The line of a listed file can go (deleted or gone).
  static bool Done(DeleteResult r) {
    return r == DeleteResult::kDeleted || r == DeleteResult::kGone;
  }
  void Add(DeleteResult r, uint64_t kb);
};

// Deletes `files` in their order. `after` runs once per file with its
// result; it returns false to stop before the next file.
CleanTally CleanAll(FileDeleter& deleter, const std::vector<FoundFile>& files,
                    const std::function<bool(const FoundFile&, DeleteResult)>& after = nullptr);

// "清理" of one listed file: whether its line goes, and the status text.
struct CleanOneResult {
  bool removeLine = false;
  std::string status;
};
CleanOneResult CleanOne(FileDeleter& deleter, const FoundFile& file);

}  // namespace cleanup
