#pragma once
// Deleting the files a scan listed, and the sizes of scan roots.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/Handles.h"
#include "cleanup/CleanAll.h"

namespace cleanup {

// The name the file system gives the open file, without the drive, in
// lower case; empty when it cannot be read.
std::wstring OpenedName(void* file);

// Deletes `path` if it is still the file the scan saw. The checks and the
// deletion go through one open handle, so a file swapped in between is not
// the one deleted; links are not followed.
DeleteResult DeleteIfUnchanged(const std::string& path, const FileIdentity& seen);
// The same checks, the file left where it is: nothing while it is still
// the file the scan saw.
std::optional<DeleteResult> RecheckUnchanged(const std::string& path, const FileIdentity& seen);

// The file at `path`, held open while it is the file the scan saw; the
// shell can still move it. An empty handle otherwise.
base::FileHandle HoldIfUnchanged(const std::string& path, const FileIdentity& seen);
// Where a held file is now, after the shell was asked to move `path`.
enum class HeldPlace { kAtPath, kInBin, kElsewhere, kUnknown };
HeldPlace WhereNow(HANDLE file, const std::string& path);
// Whether the item at `path` (a file or a folder; a link itself, not what it
// points at) is the held file: the same file ID on the same volume.
bool IsHeldFile(HANDLE file, const std::string& path);
// What the shell's move to the bin took from `path`, the held file's place,
// given where the item it moved is now (empty when not known): the held
// file, or a stranger. Nothing when the held file cannot tell.
std::optional<BinMove> WhatWasMoved(HANDLE file, const std::string& path, const std::string& inBin);

// The deletion seam of CleanAll and CleanOne over DeleteIfUnchanged.
class WinDeleter : public FileDeleter {
 public:
  DeleteResult DeleteIfUnchanged(const std::string& path, const FileIdentity& seen) override {
    return cleanup::DeleteIfUnchanged(path, seen);
  }
  std::optional<DeleteResult> Recheck(const std::string& path, const FileIdentity& seen) override {
    return RecheckUnchanged(path, seen);
  }
};

// The Recycle Bin of the system: the shell's file operation, silent and
// undoable. Fixed drives have a bin; removable, network and other drives do
// not.
class WinRecycleBin : public RecycleBin {
 public:
  bool HasBin(const std::string& path) override;
  std::vector<bool> Recycle(const std::vector<std::string>& paths) override;
  std::vector<BinMove> MoveChecked(const std::vector<FoundFile>& files) override;
  bool PutBack(const std::string& inBin, const std::string& path) override;

 private:
  std::map<std::string, bool> drives_;  // by the root as GetDriveTypeW takes it
};

// Deletes a file, clearing its read-only attribute first; never through a
// link or a folder (kChanged). kRefused when it is in use or denied.
DeleteResult DeleteFileEvenReadOnly(const std::string& path);

// Used space of a drive ("C:") in KB, 0 on failure.
uint64_t DriveUsedKB(const std::string& drive);

// A folder that is itself a link or junction: what it shows lies elsewhere.
bool IsLinkFolder(const std::string& folder);

}  // namespace cleanup
