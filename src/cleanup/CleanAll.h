#pragma once
// Cleaning the junk files a scan listed, one or all: into the Recycle Bin
// by default, or deleted for good on request. Deleting and recycling go
// through seams: the program uses FileOps and the shell's Recycle Bin, the
// tests fakes.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
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

// Where cleaned files go: the Recycle Bin unless the user asks otherwise.
enum class CleanMode { kRecycle, kPermanent };

enum class DeleteResult {
  kDeleted,   // deleted for good, as asked
  kRecycled,  // in the Recycle Bin of its drive
  kNoBin,     // deleted for good: its drive has no Recycle Bin, or the bin refused it
  kGone,      // no longer there (renamed, deleted by someone else)
  kChanged,   // another size or time, or no longer a plain file
  kRefused,   // in use, read-only, access denied
};

class FileDeleter {
 public:
  virtual ~FileDeleter() = default;
  // Deletes `path` if it is still the file the scan saw.
  virtual DeleteResult DeleteIfUnchanged(const std::string& path, const FileIdentity& seen) = 0;
  // The same checks without deleting: nothing when `path` is still the file
  // the scan saw, else kGone, kChanged or kRefused.
  virtual std::optional<DeleteResult> Recheck(const std::string& path,
                                              const FileIdentity& seen) = 0;
};

// What the bin's move took from the path of one checked file.
struct BinMove {
  // Of the checked file: kRecycled when it is in the bin, kChanged when it
  // left its path for somewhere else, kRefused when it stayed.
  DeleteResult result = DeleteResult::kRefused;
  // The shell moved something else from the path: what took the checked
  // file's place after its check. `inBin` is where it is now, empty when
  // that is not known.
  bool stranger = false;
  std::string inBin;
};

// The Recycle Bin seam.
class RecycleBin {
 public:
  virtual ~RecycleBin() = default;
  // Whether the drive holding `path` has a Recycle Bin.
  virtual bool HasBin(const std::string& path) = 0;
  // Moves the files into the Recycle Bin in one silent operation; for each
  // path, whether it has left its place.
  virtual std::vector<bool> Recycle(const std::vector<std::string>& paths) = 0;
  // The same for files the scan listed, each only while it is that file;
  // for each, what the shell took from its path.
  virtual std::vector<BinMove> MoveChecked(const std::vector<FoundFile>& files);
  // Puts the item at `inBin` back at `path`, never over anything there;
  // false when it stays in the bin.
  virtual bool PutBack(const std::string& inBin, const std::string& path);
};

// The outcome of deleting files. A file that was already gone counts as
// done: it is not there, which is what the user asked for.
struct CleanTally {
  CleanMode mode = CleanMode::kPermanent;
  uint64_t deleted = 0;  // for good: as asked, or for want of a bin
  uint64_t recycled = 0;
  uint64_t noBin = 0;  // of `deleted`, those a bin would not take
  uint64_t gone = 0;
  uint64_t failed = 0;      // changed or refused: still there
  uint64_t freedKB = 0;     // of the files deleted for good here
  uint64_t recycledKB = 0;  // of the files now in the Recycle Bin
  // Paths whose file was replaced after its check, where the shell moved
  // the replacement to the bin and it could not be put back.
  std::vector<std::string> leftInBin;
  // The line of a listed file can go (deleted, recycled or gone).
  static bool Done(DeleteResult r) {
    return r != DeleteResult::kChanged && r != DeleteResult::kRefused;
  }
  void Add(DeleteResult r, uint64_t kb);
};

// How many files go to the Recycle Bin in one operation.
constexpr size_t kRecycleBatch = 256;

// Cleans `files`: each is checked again first (the size and time the scan
// saw, not a link). In kRecycle mode the files go to the Recycle Bin in
// batches; a file whose drive has no bin, or that the bin refuses even on
// its own, is deleted for good with the same checks (kNoBin). Only checked
// files stay in the bin: what the shell took from a path in its file's
// place is put back there, and that file counts as changed. `after` runs
// once per file, in the files' order, with its index and result; false
// stops the clean before the next file (in kRecycle mode, before the next
// batch).
CleanTally CleanFiles(FileDeleter& deleter, RecycleBin* bin, CleanMode mode,
                      const std::vector<FoundFile>& files,
                      const std::function<bool(size_t, DeleteResult)>& after = nullptr,
                      size_t batch = kRecycleBatch);

// Deletes `files` for good in their order. `after` runs once per file with
// its result; it returns false to stop before the next file.
CleanTally CleanAll(FileDeleter& deleter, const std::vector<FoundFile>& files,
                    const std::function<bool(const FoundFile&, DeleteResult)>& after = nullptr);

// "清理" of one listed file: whether its line goes, and the status text.
struct CleanOneResult {
  bool removeLine = false;
  std::string status;
};
CleanOneResult CleanOne(FileDeleter& deleter, const FoundFile& file);
CleanOneResult CleanOne(FileDeleter& deleter, RecycleBin* bin, CleanMode mode,
                        const FoundFile& file);

}  // namespace cleanup
