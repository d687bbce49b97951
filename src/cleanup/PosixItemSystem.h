#pragma once
// The cleaning items' system over POSIX, for the native tests and
// benchmarks: the POSIX lister, deletion while a file is still the one the
// scan measured (size and modification time, not a link), and SQLite for
// the databases.
#include "base/PosixLister.h"
#include "cleanup/ItemScan.h"

namespace cleanup {

class PosixDeleter : public FileDeleter {
 public:
  DeleteResult DeleteIfUnchanged(const std::string& path, const FileIdentity& seen) override;
  std::optional<DeleteResult> Recheck(const std::string& path, const FileIdentity& seen) override;
};

class PosixItemSystem : public ItemSystem {
 public:
  base::DirectoryLister& Lister() override { return lister_; }
  FileDeleter& Deleter() override { return deleter_; }
  std::optional<std::string> ReadText(const std::string& path) override;
  bool RemoveEmptyFolder(const std::string& folder) override;
  DbOutcome CountRows(BrowserDb db, const std::string& path, const KeepSites& keep) override;
  DbOutcome ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) override;

 private:
  base::PosixLister lister_;
  PosixDeleter deleter_;
};

}  // namespace cleanup
