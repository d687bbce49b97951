#pragma once
// The cleaning items' system over POSIX, for the native tests and
// benchmarks: the POSIX lister, folders held open as descriptors (files
// removed with unlinkat, never through a link), and SQLite for the
// databases.
#include "base/PosixLister.h"
#include "cleanup/ItemScan.h"

namespace cleanup {

class PosixItemSystem : public ItemSystem {
 public:
  base::DirectoryLister& Lister() override { return lister_; }
  std::unique_ptr<ItemFolder> OpenFolder(const std::string& path) override;
  std::optional<std::string> ReadText(const std::string& path) override;
  DbOutcome CountRows(BrowserDb db, const std::string& path, const KeepSites& keep) override;
  DbOutcome ClearRows(BrowserDb db, const std::string& path, const KeepSites& keep) override;

 private:
  base::PosixLister lister_;
};

}  // namespace cleanup
