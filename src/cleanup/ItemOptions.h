#pragma once
// Today's programs' cleaning items as options of the one cleanup run: an
// item is measured during the scan (its line, files and bytes) and cleared
// in the clean, with the user's keep-list and kept sites, and left alone
// as a whole while its program runs.
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cleanup/CleanupRun.h"
#include "cleanup/ItemScan.h"
#include "cleanup/KeepSites.h"

namespace cleanup {

class ItemOptions {
 public:
  // `running` lists this user's processes; asked once, at the first clear.
  // `sites` is null when keep-sites.txt could not be read: the cookies are
  // then left, rather than logging the user out of the sites it keeps.
  ItemOptions(ItemSystem& system, ItemContext context, const KeepSites* sites,
              std::function<std::vector<std::string>()> running);

  // Nothing for an option that is no item, or an item with nothing found.
  std::optional<OptionResult> Measure(int option);
  OptionResult Clear(int option);

 private:
  ItemSystem& system_;
  ItemContext context_;
  bool sitesReadable_;
  std::function<std::vector<std::string>()> running_;
  std::optional<std::vector<std::string>> processes_;
  std::set<std::string> told_;  // programs whose running was said once already
};

// What the report and the page show of a cleared item.
OptionResult ItemOptionResult(const CleanItem& item, const ItemResult& result);

extern const char kSitesUnreadableLine[];

}  // namespace cleanup
