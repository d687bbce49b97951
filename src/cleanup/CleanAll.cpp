#include "cleanup/CleanAll.h"

#include "cleanup/CleanupText.h"

namespace cleanup {

void CleanTally::Add(DeleteResult r, uint64_t kb) {
  switch (r) {
    case DeleteResult::kDeleted:
      ++deleted;
      freedKB += kb;
      break;
    case DeleteResult::kGone: ++gone; break;
    case DeleteResult::kChanged:
    case DeleteResult::kRefused: ++failed; break;
  }
}

CleanTally CleanAll(FileDeleter& deleter, const std::vector<FoundFile>& files,
                    const std::function<bool(const FoundFile&, DeleteResult)>& after) {
  CleanTally tally;
  for (const FoundFile& f : files) {
    DeleteResult r = deleter.DeleteIfUnchanged(f.path, f.identity);
    tally.Add(r, f.kb);
    if (after && !after(f, r)) break;
  }
  return tally;
}

CleanOneResult CleanOne(FileDeleter& deleter, const FoundFile& file) {
  CleanTally tally;
  DeleteResult r = deleter.DeleteIfUnchanged(file.path, file.identity);
  tally.Add(r, file.kb);
  // A file that is still there, or no longer the one shown, keeps its line.
  return CleanOneResult{CleanTally::Done(r), CleanReport(tally)};
}

}  // namespace cleanup
