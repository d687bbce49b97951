#include "cleanup/CleanAll.h"

#include <algorithm>

#include "cleanup/CleanupText.h"

namespace cleanup {

void CleanTally::Add(DeleteResult r, uint64_t kb) {
  switch (r) {
    case DeleteResult::kNoBin: ++noBin; [[fallthrough]];
    case DeleteResult::kDeleted:
      ++deleted;
      freedKB += kb;
      break;
    case DeleteResult::kRecycled:
      ++recycled;
      recycledKB += kb;
      break;
    case DeleteResult::kGone: ++gone; break;
    case DeleteResult::kChanged:
    case DeleteResult::kRefused: ++failed; break;
  }
}

std::vector<BinMove> RecycleBin::MoveChecked(const std::vector<FoundFile>& files) {
  std::vector<std::string> paths;
  for (const FoundFile& f : files) paths.push_back(f.path);
  std::vector<bool> moved = Recycle(paths);
  moved.resize(files.size(), false);
  std::vector<BinMove> results(files.size());
  for (size_t k = 0; k < files.size(); ++k)
    if (moved[k]) results[k].result = DeleteResult::kRecycled;
  return results;
}

bool RecycleBin::PutBack(const std::string&, const std::string&) { return false; }

namespace {

// The bin's moves of `files`, a result for each: only the checked file
// stays in the bin, what the shell took from its path instead goes back.
std::vector<DeleteResult> RecycleChecked(RecycleBin& bin, const std::vector<FoundFile>& files,
                                         std::vector<std::string>& leftInBin) {
  std::vector<BinMove> moves = bin.MoveChecked(files);
  moves.resize(files.size());
  std::vector<DeleteResult> results;
  for (size_t k = 0; k < files.size(); ++k) {
    const BinMove& m = moves[k];
    if (m.stranger && (m.inBin.empty() || !bin.PutBack(m.inBin, files[k].path)))
      leftInBin.push_back(files[k].path);
    results.push_back(m.stranger ? DeleteResult::kChanged : m.result);
  }
  return results;
}

// A file the bin would not take is deleted for good, still only while unchanged.
DeleteResult DeleteForWantOfBin(FileDeleter& deleter, const FoundFile& f) {
  DeleteResult r = deleter.DeleteIfUnchanged(f.path, f.identity);
  return r == DeleteResult::kDeleted ? DeleteResult::kNoBin : r;
}

// One batch of files into the Recycle Bin: results[k] for files[first + k].
std::vector<DeleteResult> RecycleBatch(FileDeleter& deleter, RecycleBin& bin,
                                       const std::vector<FoundFile>& files, size_t first,
                                       size_t count, std::vector<std::string>& leftInBin) {
  std::vector<DeleteResult> results(count, DeleteResult::kRecycled);
  std::vector<size_t> waiting;  // indices into results
  std::vector<FoundFile> sent;
  for (size_t k = 0; k < count; ++k) {
    const FoundFile& f = files[first + k];
    if (auto refused = deleter.Recheck(f.path, f.identity)) {
      results[k] = *refused;
    } else if (!bin.HasBin(f.path)) {
      results[k] = DeleteForWantOfBin(deleter, f);
    } else {
      waiting.push_back(k);
      sent.push_back(f);
    }
  }
  if (waiting.empty()) return results;
  std::vector<DeleteResult> moved = RecycleChecked(bin, sent, leftInBin);
  for (size_t w = 0; w < waiting.size(); ++w) {
    // What went to the bin in the checked file's place is not reported as
    // recycled, nor is the path tried again.
    results[waiting[w]] = moved[w];
    if (moved[w] != DeleteResult::kRefused) continue;
    // One refusal may have ended the whole operation: each file left over
    // gets a try of its own before it counts as refused by the bin.
    const FoundFile& f = sent[w];
    std::vector<DeleteResult> alone =
        waiting.size() > 1 ? RecycleChecked(bin, {f}, leftInBin) : std::vector<DeleteResult>{};
    if (!alone.empty() && alone[0] != DeleteResult::kRefused) {
      results[waiting[w]] = alone[0];
      continue;
    }
    results[waiting[w]] = DeleteForWantOfBin(deleter, f);
  }
  return results;
}

}  // namespace

CleanTally CleanFiles(FileDeleter& deleter, RecycleBin* bin, CleanMode mode,
                      const std::vector<FoundFile>& files,
                      const std::function<bool(size_t, DeleteResult)>& after, size_t batch) {
  CleanTally tally;
  tally.mode = bin ? mode : CleanMode::kPermanent;
  if (batch == 0) batch = 1;
  for (size_t first = 0; first < files.size();) {
    const size_t count =
        tally.mode == CleanMode::kRecycle ? std::min(batch, files.size() - first) : 1;
    std::vector<DeleteResult> results =
        tally.mode == CleanMode::kRecycle
            ? RecycleBatch(deleter, *bin, files, first, count, tally.leftInBin)
            : std::vector<DeleteResult>{
                  deleter.DeleteIfUnchanged(files[first].path, files[first].identity)};
    bool go = true;
    for (size_t k = 0; k < count; ++k) {
      tally.Add(results[k], files[first + k].kb);
      // Every file of the batch is told of: what is done is done.
      if (after && !after(first + k, results[k])) go = false;
    }
    first += count;
    if (!go) break;
  }
  return tally;
}

CleanTally CleanAll(FileDeleter& deleter, const std::vector<FoundFile>& files,
                    const std::function<bool(const FoundFile&, DeleteResult)>& after) {
  return CleanFiles(deleter, nullptr, CleanMode::kPermanent, files,
                    [&](size_t k, DeleteResult r) { return !after || after(files[k], r); });
}

CleanOneResult CleanOne(FileDeleter& deleter, RecycleBin* bin, CleanMode mode,
                        const FoundFile& file) {
  DeleteResult result = DeleteResult::kRefused;
  CleanTally tally = CleanFiles(deleter, bin, mode, {file}, [&](size_t, DeleteResult r) {
    result = r;
    return true;
  });
  // A file that is still there, or no longer the one shown, keeps its line.
  return CleanOneResult{CleanTally::Done(result), CleanReport(tally)};
}

CleanOneResult CleanOne(FileDeleter& deleter, const FoundFile& file) {
  return CleanOne(deleter, nullptr, CleanMode::kPermanent, file);
}

}  // namespace cleanup
