#include "cleanup/ItemOptions.h"

namespace cleanup {

const char kSitesUnreadableLine[] =
    "无法读取保留网站列表 keep-sites.txt，Cookies 未清理，以免您在保留的网站上退出登录。";

namespace {
const KeepSites kNoSites;
}  // namespace

ItemOptions::ItemOptions(ItemSystem& system, ItemContext context, const KeepSites* sites,
                         std::function<std::vector<std::string>()> running)
    : system_(system),
      context_(std::move(context)),
      sitesReadable_(sites != nullptr),
      running_(std::move(running)) {
  context_.sites = sites ? sites : &kNoSites;
}

std::optional<OptionResult> ItemOptions::Measure(int option) {
  const CleanItem* item = OptionItem(option);
  if (!item) return std::nullopt;
  ItemScan scan = ScanItem(*item, system_, context_);
  if (!scan.Found()) return std::nullopt;
  OptionResult found;
  found.bytes = scan.bytes;
  found.files = scan.files;
  found.rows = scan.rows;
  found.profiles = scan.profiles;
  found.line = ItemScanLine(scan);
  return found;
}

OptionResult ItemOptionResult(const CleanItem& item, const ItemResult& result) {
  OptionResult r;
  r.bytes = result.bytes;
  r.files = result.files;
  r.rows = result.rows;
  r.line = ItemResultLine(item, result);
  switch (result.outcome) {
    case ItemOutcome::kDone: break;
    case ItemOutcome::kNothing: r.state = OptionResult::State::kNothing; break;
    case ItemOutcome::kSkippedRunning:
      r.state = OptionResult::State::kSkipped;
      r.reason = "running";
      break;
    case ItemOutcome::kLocked:
      r.state = OptionResult::State::kSkipped;
      r.reason = "locked";
      break;
    case ItemOutcome::kPartlyFailed: r.state = OptionResult::State::kFailed; break;
  }
  return r;
}

OptionResult ItemOptions::Clear(int option) {
  const CleanItem* item = OptionItem(option);
  OptionResult left;
  if (!item) {
    left.state = OptionResult::State::kNothing;
    return left;
  }
  if (item->kind == ItemKind::kCookies && !sitesReadable_) {
    left.state = OptionResult::State::kFailed;
    left.line = std::string(item->program) + " Cookies：" + kSitesUnreadableLine;
    return left;
  }
  if (!processes_) processes_ = running_ ? running_() : std::vector<std::string>{};
  OptionResult r = ItemOptionResult(*item, ScanAndClean(*item, system_, context_, *processes_));
  // A program that runs is named once, however many of its items are ticked.
  if (r.reason == "running" && !told_.insert(item->program).second) r.line.clear();
  return r;
}

}  // namespace cleanup
