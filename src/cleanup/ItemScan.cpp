#include "cleanup/ItemScan.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "cleanup/BrowserProfiles.h"
#include "cleanup/CleanupText.h"
#include "cleanup/KeepList.h"
#include "cleanup/KeepSites.h"
#include "cleanup/ScanWalk.h"

namespace cleanup {

namespace {

bool SameNameNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return i == a.size() && !b[i];
}

// A place below a known folder: the known folder as given, the rest "\"
// separated, so that every folder on the way can be checked.
struct Place {
  std::string base;
  std::string rel;
  Place Below(const std::string& more) const {
    if (more.empty()) return *this;
    return {base, rel.empty() ? more : rel + "\\" + more};
  }
};

std::string Full(const Place& p, char sep) {
  std::string path = p.base;
  if (p.rel.empty()) return path;
  if (path.empty() || path.back() != sep) path += sep;
  for (char c : p.rel) path += c == '\\' ? sep : c;
  return path;
}

// Splits "a\b/c" at either separator.
std::vector<std::string> Components(const std::string& rel) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = rel.find_first_of("\\/", start);
    parts.push_back(rel.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

struct ProfilePlaces {
  Place folder, local;
};

// One scan's view of the disk: folder listings read once, each folder on
// a path checked to be a plain folder (not a link or junction) that its
// parent listed. As a lister it hands a walk what it has read already.
class Finder : public base::DirectoryLister {
 public:
  Finder(ItemSystem& system) : system_(system), sep_(system.Lister().Separator()) {}

  char Sep() const { return sep_; }
  char Separator() const override { return sep_; }

  base::ListResult Read(const std::string& folder, uint64_t id,
                        std::vector<base::DirEntry>& entries) override {
    auto it = cache_.find(folder);
    if (it == cache_.end() || !it->second) return system_.Lister().Read(folder, id, entries);
    entries = *it->second;
    return base::ListResult::kListed;
  }

  // The entries of the folder at `place`; null when it or a folder on the
  // way is missing, unreadable or a link.
  const std::vector<base::DirEntry>* List(const Place& place) {
    std::string path = place.base;
    const std::vector<base::DirEntry>* entries = Cached(path, 0);
    if (!entries || place.rel.empty()) return entries;
    for (const std::string& name : Components(place.rel)) {
      const base::DirEntry* child = Find(*entries, name);
      if (!child || !child->directory || child->reparsePoint) return nullptr;
      path = base::JoinPath(path, child->name, sep_);
      entries = Cached(path, child->id);
      if (!entries) return nullptr;
    }
    return entries;
  }

  // The plain file `name` in the folder at `place`.
  const base::DirEntry* File(const Place& place, const std::string& name) {
    const std::vector<base::DirEntry>* entries = List(place);
    const base::DirEntry* e = entries ? Find(*entries, name) : nullptr;
    return e && !e->directory && !e->reparsePoint ? e : nullptr;
  }

  static const base::DirEntry* Find(const std::vector<base::DirEntry>& entries,
                                    const std::string& name) {
    for (const base::DirEntry& e : entries)
      if (SameNameNoCase(e.name, name.c_str())) return &e;
    return nullptr;
  }

 private:
  const std::vector<base::DirEntry>* Cached(const std::string& path, uint64_t id) {
    auto it = cache_.find(path);
    if (it == cache_.end()) {
      std::vector<base::DirEntry> entries;
      const bool listed = system_.Lister().Read(path, id, entries) == base::ListResult::kListed;
      it = cache_.emplace(path, listed ? std::optional(std::move(entries)) : std::nullopt).first;
    }
    return it->second ? &*it->second : nullptr;
  }

  ItemSystem& system_;
  char sep_;
  std::map<std::string, std::optional<std::vector<base::DirEntry>>> cache_;
};

const std::string& KnownFolder(const UserFolders& f, KnownRoot root) {
  switch (root) {
    case KnownRoot::kLocalAppData: return f.localAppData;
    case KnownRoot::kRoamingAppData: return f.roamingAppData;
    case KnownRoot::kTemp: break;
  }
  return f.temp;
}

bool IsChromiumProfileName(const std::string& name) {
  if (name == "Default") return true;
  if (name.rfind("Profile ", 0) != 0 || name.size() == 8) return false;
  return std::all_of(name.begin() + 8, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<ProfilePlaces> Profiles(const CleanItem& item, ItemSystem& system,
                                    const UserFolders& folders, Finder& finder) {
  std::vector<ProfilePlaces> found;
  const std::string& known = KnownFolder(folders, item.root);
  if (known.empty()) return found;
  const Place root{known, item.rootPath};
  if (item.profiles == ProfileRule::kChromium) {
    const std::vector<base::DirEntry>* entries = finder.List(root);
    if (!entries) return found;
    std::set<std::string> names;
    for (const base::DirEntry& e : *entries)
      if (e.directory && !e.reparsePoint && IsChromiumProfileName(e.name)) names.insert(e.name);
    // Local State names the profiles the browser knows, whatever their names.
    if (auto text = system.ReadText(Full(root.Below("Local State"), finder.Sep())))
      if (auto listed = LocalStateProfiles(*text))
        for (const std::string& name : *listed) {
          const base::DirEntry* e = PlainFolderName(name) ? Finder::Find(*entries, name) : nullptr;
          if (e && e->directory && !e->reparsePoint) names.insert(e->name);
        }
    for (const std::string& name : names) found.push_back({root.Below(name), root.Below(name)});
  } else if (item.profiles == ProfileRule::kFirefox) {
    auto text = system.ReadText(Full(root.Below("profiles.ini"), finder.Sep()));
    if (!text) return found;
    for (const FirefoxProfile& p : ParseProfilesIni(*text)) {
      ProfilePlaces places;
      if (p.relative) {
        std::vector<std::string> parts = Components(p.path);
        if (!std::all_of(parts.begin(), parts.end(),
                         [](const std::string& s) { return PlainFolderName(s); }))
          continue;
        std::string rel;
        for (const std::string& s : parts) rel += (rel.empty() ? "" : "\\") + s;
        places.folder = root.Below(rel);
        places.local = Place{folders.localAppData, item.rootPath}.Below(rel);
      } else {
        places.folder = places.local = Place{p.path, ""};
      }
      if (!finder.List(places.folder)) continue;
      const std::string full = Full(places.folder, finder.Sep());
      if (std::none_of(found.begin(), found.end(), [&](const ProfilePlaces& q) {
            return Full(q.folder, finder.Sep()) == full;
          }))
        found.push_back(places);
    }
  }
  return found;
}

const KeepSites& NoSites() {
  static const KeepSites none;
  return none;
}

// Scans one part at `place`; true when it found something.
bool ScanPart(const ItemPart& part, const Place& place, ItemSystem& system,
              const ItemContext& context, Finder& finder, ItemScan& scan) {
  const char sep = finder.Sep();
  const uint64_t filesBefore = scan.files;
  const size_t databasesBefore = scan.databases.size();
  // Whether the files of a folder need the keep-list's check.
  auto mayKeep = [&](const std::string& folder) {
    return context.keeps && (!context.keepsWithin || context.keepsWithin(folder));
  };
  bool checkKeep = true;
  // `below`: the path below a folder already checked, or the whole relative path.
  auto take = [&](const std::string& path, const base::DirEntry& e, std::string_view below) {
    if (NeverTouched(below) || (checkKeep && context.keeps && context.keeps(path))) return;
    scan.found.push_back(FoundFile{path, {e.size, e.lastWrite}, SizeKB(e.size)});
    ++scan.files;
    scan.bytes += e.size;
  };
  switch (part.how) {
    case PartHow::kFolderContents:
    case PartHow::kOldEntries: {
      const Place folder = place.Below(part.path);
      if (!finder.List(folder) || NeverTouched(folder.rel + "\\")) break;
      const std::string full = Full(folder, sep);
      ScanControl own;
      const JunkPatterns none;
      ScanWalk walk(finder, none, context.control ? *context.control : own);
      const bool old = part.how == PartHow::kOldEntries;
      checkKeep = mayKeep(full);
      scan.roots.push_back({full, folder.base.size(), true});
      const bool finished =
          walk.Run(full, [&](const std::string& path, const base::DirEntry& e, bool) {
            if (old && (e.lastWrite == 0 || e.lastWrite >= context.oldBefore)) return;
            take(path, e, std::string_view(path).substr(full.size()));
          });
      if (!finished) scan.stopped = true;
      break;
    }
    case PartHow::kFilesByPattern: {
      const Place folder = place.Below(part.path);
      const std::vector<base::DirEntry>* entries = finder.List(folder);
      if (!entries || NeverTouched(folder.rel + "\\")) break;
      const std::string full = Full(folder, sep);
      scan.roots.push_back({full, folder.base.size(), false});
      checkKeep = mayKeep(full);
      for (const base::DirEntry& e : *entries)
        if (!e.directory && !e.reparsePoint && NameMatches(part.pattern, e.name))
          take(base::JoinPath(full, e.name, sep), e, e.name);
      break;
    }
    case PartHow::kWholeFile:
    case PartHow::kRows: {
      for (const char* path : {part.path, part.olderPath}) {
        if (!*path) continue;
        const Place file = place.Below(path);
        const size_t cut = file.rel.rfind('\\');
        const Place folder{file.base, cut == std::string::npos ? "" : file.rel.substr(0, cut)};
        const std::string name = file.rel.substr(cut == std::string::npos ? 0 : cut + 1);
        const base::DirEntry* e = finder.File(folder, name);
        // The guard is on files removed whole: rows leave their database in place.
        if (!e || (part.how == PartHow::kWholeFile && NeverTouched(file.rel))) continue;
        const std::string full = Full(file, sep);
        if (part.how == PartHow::kWholeFile) {
          scan.roots.push_back({Full(folder, sep), folder.base.size(), false});
          take(full, *e, file.rel);
          break;
        }
        if (context.keeps && context.keeps(full)) break;
        DbOutcome counted =
            system.CountRows(part.db, full, context.sites ? *context.sites : NoSites());
        if ((counted.result == DbResult::kDone && counted.rows > 0) ||
            counted.result == DbResult::kLocked) {
          scan.databases.push_back({part.db, full, counted});
          scan.rows += counted.rows;
        }
        break;
      }
      break;
    }
  }
  return scan.files > filesBefore || scan.databases.size() > databasesBefore;
}

}  // namespace

void UseKeepList(ItemContext& context, const KeepList& keep) {
  context.keeps = [&keep](const std::string& path) { return keep.Keeps(path); };
  context.keepsWithin = [&keep](const std::string& folder) {
    const std::string f = KeepKey(folder);
    for (const std::string& entry : keep.Entries()) {
      const std::string k = KeepKey(entry);
      // The folder itself or one above it is kept, or something inside it.
      const std::string& shorter = k.size() <= f.size() ? k : f;
      const std::string& longer = k.size() <= f.size() ? f : k;
      if (longer.compare(0, shorter.size(), shorter) == 0 &&
          (longer.size() == shorter.size() || longer[shorter.size()] == '\\'))
        return true;
    }
    return false;
  };
}

std::vector<ItemProfile> FindProfiles(const CleanItem& item, ItemSystem& system,
                                      const UserFolders& folders) {
  Finder finder(system);
  std::vector<ItemProfile> profiles;
  for (const ProfilePlaces& p : Profiles(item, system, folders, finder))
    profiles.push_back({Full(p.folder, finder.Sep()), Full(p.local, finder.Sep())});
  return profiles;
}

bool ItemPresent(const CleanItem& item, ItemSystem& system, const UserFolders& folders) {
  const std::string& known = KnownFolder(folders, item.root);
  if (known.empty()) return false;
  Finder finder(system);
  if (item.profiles == ProfileRule::kNone)
    return finder.List(Place{known, item.rootPath}) != nullptr;
  return !Profiles(item, system, folders, finder).empty();
}

ItemScan ScanItem(const CleanItem& item, ItemSystem& system, const ItemContext& context) {
  ItemScan scan;
  scan.item = &item;
  Finder finder(system);
  const std::string& known = KnownFolder(context.folders, item.root);
  if (known.empty()) return scan;
  const Place root{known, item.rootPath};
  const std::vector<ProfilePlaces> profiles = item.profiles == ProfileRule::kNone
                                                  ? std::vector<ProfilePlaces>{}
                                                  : Profiles(item, system, context.folders, finder);
  // A browser without profiles is not installed: its shared folders are not looked at.
  if (item.profiles != ProfileRule::kNone && profiles.empty()) return scan;
  for (const ItemPart& part : item.parts)
    if (part.base == PartBase::kRoot) ScanPart(part, root, system, context, finder, scan);
  for (const ProfilePlaces& profile : profiles) {
    bool any = false;
    for (const ItemPart& part : item.parts)
      if (part.base != PartBase::kRoot)
        any |= ScanPart(part, part.base == PartBase::kLocalProfile ? profile.local : profile.folder,
                        system, context, finder, scan);
    if (any) ++scan.profiles;
  }
  return scan;
}

namespace {

// The folders of a clean held open, from a known folder down to the folder
// of the file at hand; each file is deleted by its name in the last one.
class FolderChain {
 public:
  FolderChain(ItemSystem& system, char sep) : system_(system), sep_(sep) {}
  ~FolderChain() { Leave(0); }

  // The folder `path` (`root` or one below it), opened anew from the root's
  // known folder where it is not open yet; null when a folder on the way
  // is gone or no longer a plain folder.
  ItemFolder* Reach(const ItemScan::Root& root, std::string_view path) {
    const std::string_view known = std::string_view(root.folder).substr(0, root.known);
    const std::vector<std::string_view> names = Names(path, root.known);
    const size_t rootDepth = Names(root.folder, root.known).size();
    size_t keep = 0;
    if (!open_.empty() && known_ == known)
      for (keep = 1; keep < open_.size() && keep <= names.size(); ++keep)
        if (open_[keep].name != names[keep - 1]) break;
    Leave(keep);
    if (open_.empty()) {
      known_ = known;
      std::unique_ptr<ItemFolder> base = system_.OpenFolder(known_);
      if (!base) return nullptr;
      open_.push_back({"", std::move(base), false});
    }
    for (size_t k = open_.size() - 1; k < names.size(); ++k) {
      std::string name(names[k]);
      std::unique_ptr<ItemFolder> folder =
          PlainFolderName(name) ? open_.back().folder->Open(name) : nullptr;
      if (!folder) return nullptr;
      open_.push_back({std::move(name), std::move(folder), root.prune && k >= rootDepth});
    }
    return open_.back().folder.get();
  }

  // Closes the folders below the first `keep`, removing the emptied ones
  // below a pruned root.
  void Leave(size_t keep) {
    while (open_.size() > keep) {
      if (open_.back().prune) open_.back().folder->RemoveIfEmpty();
      open_.pop_back();
    }
  }

 private:
  // The folder names of `path` after its first `from` characters.
  std::vector<std::string_view> Names(std::string_view path, size_t from) const {
    std::vector<std::string_view> names;
    for (size_t start = from; start < path.size();) {
      size_t end = std::min(path.find(sep_, start), path.size());
      if (end > start) names.push_back(path.substr(start, end - start));
      start = end + 1;
    }
    return names;
  }

  struct Level {
    std::string name;
    std::unique_ptr<ItemFolder> folder;
    bool prune;  // below a pruned root: removed once emptied
  };
  ItemSystem& system_;
  char sep_;
  std::string known_;
  std::vector<Level> open_;  // the known folder first
};

}  // namespace

ItemResult CleanScanned(const ItemScan& scan, ItemSystem& system, const ItemContext& context,
                        const std::function<bool()>& go) {
  ItemResult result;
  const char sep = system.Lister().Separator();
  bool stopped = scan.stopped, failed = false, locked = false;
  std::vector<bool> checkKeep;
  for (const ItemScan::Root& r : scan.roots)
    checkKeep.push_back(context.keeps && (!context.keepsWithin || context.keepsWithin(r.folder)));
  FolderChain chain(system, sep);
  for (const FoundFile& f : scan.found) {
    if (go && !go()) {
      stopped = true;
      break;
    }
    // The last guard: inside one of the item's folders, never the user's own data.
    const ItemScan::Root* root = nullptr;
    bool check = true;
    for (size_t k = 0; k < scan.roots.size(); ++k) {
      const ItemScan::Root& r = scan.roots[k];
      if (f.path.size() > r.folder.size() + 1 &&
          f.path.compare(0, r.folder.size(), r.folder) == 0 && f.path[r.folder.size()] == sep) {
        root = &r;
        check = checkKeep[k];
      }
    }
    if (!root || NeverTouched(std::string_view(f.path).substr(root->folder.size())) ||
        (check && context.keeps(f.path)))
      continue;
    const size_t cut = f.path.rfind(sep);
    const std::string name = f.path.substr(cut + 1);
    ItemFolder* folder =
        PlainFolderName(name) ? chain.Reach(*root, std::string_view(f.path).substr(0, cut)) : nullptr;
    // A folder on the way gone or swapped for a link: what it holds now is not the scan's.
    const DeleteResult d = folder ? folder->Delete(name) : DeleteResult::kGone;
    if (d == DeleteResult::kDeleted) {
      ++result.files;
      result.bytes += f.identity.size;
    } else if (d != DeleteResult::kGone) {
      ++result.inUse;
    }
  }
  chain.Leave(0);

  for (const FoundDatabase& db : scan.databases) {
    if (stopped) break;
    const DbOutcome o =
        system.ClearRows(db.db, db.path, context.sites ? *context.sites : NoSites());
    if (o.result == DbResult::kDone) result.rows += o.rows;
    locked |= o.result == DbResult::kLocked;
    failed |= o.result == DbResult::kFailed;
  }
  if (locked)
    result.outcome = ItemOutcome::kLocked;
  else if (failed || stopped)
    result.outcome = ItemOutcome::kPartlyFailed;
  else if (result.files || result.rows || result.inUse || scan.Found())
    result.outcome = ItemOutcome::kDone;
  else
    result.outcome = ItemOutcome::kNothing;
  return result;
}

bool UsableTempFolder(const std::string& temp, const std::vector<std::string>& userFolders) {
  auto key = [](std::string s) {
    for (char& c : s)
      c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
  };
  const std::string t = key(temp);
  if (t.empty() || (t.size() == 2 && t[1] == ':') || t.find('\\') == std::string::npos)
    return false;
  for (const std::string& folder : userFolders) {
    const std::string f = key(folder);
    if (!f.empty() && (f == t || f.rfind(t + '\\', 0) == 0)) return false;
  }
  return true;
}

ItemResult ScanAndClean(const CleanItem& item, ItemSystem& system, const ItemContext& context,
                        const std::vector<std::string>& running) {
  if (ProgramRunning(item, running)) return ItemResult{ItemOutcome::kSkippedRunning};
  return CleanScanned(ScanItem(item, system, context), system, context);
}

const char* OutcomeName(ItemOutcome outcome) {
  switch (outcome) {
    case ItemOutcome::kDone: return "done";
    case ItemOutcome::kNothing: return "nothing";
    case ItemOutcome::kSkippedRunning: return "skipped-running";
    case ItemOutcome::kLocked: return "locked";
    case ItemOutcome::kPartlyFailed: return "partly-failed";
  }
  return "";
}

std::string FormatItemSize(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes) + " B";
  static const char* const kUnits[] = {"KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes) / 1024;
  size_t unit = 0;
  while (value >= 1023.95 && unit + 1 < std::size(kUnits)) {
    value /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, kUnits[unit]);
  return text;
}

std::string GroupedCount(uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string ItemScanLine(const ItemScan& scan) {
  std::string inner;
  auto add = [&](uint64_t n, const char* unit) {
    if (!n) return;
    inner += (inner.empty() ? "" : "，") + GroupedCount(n) + unit;
  };
  add(scan.profiles, " 个配置文件");
  add(scan.files, " 个文件");
  add(scan.rows, " 条记录");
  for (const FoundDatabase& db : scan.databases)
    if (db.counted.result == DbResult::kLocked) {
      inner += (inner.empty() ? "" : "，") + std::string("数据库正被使用");
      break;
    }
  std::string line = std::string(scan.item->program) + " " + scan.item->name;
  if (!inner.empty()) line += "（" + inner + "）";
  if (scan.bytes) line += "  " + FormatItemSize(scan.bytes);
  return line;
}

std::string ItemResultLine(const CleanItem& item, const ItemResult& result) {
  const std::string head = std::string(item.program) + " " + item.name + "：";
  switch (result.outcome) {
    case ItemOutcome::kSkippedRunning: return RunningLine(item);
    case ItemOutcome::kNothing: return head + "没有找到可清理的内容。";
    case ItemOutcome::kLocked:
      return head + "数据库正被使用，已跳过；关闭 " + item.program + " 后再清理。";
    case ItemOutcome::kDone:
    case ItemOutcome::kPartlyFailed: break;
  }
  std::string line = head;
  if (result.files || !result.rows)
    line +=
        "已删除 " + GroupedCount(result.files) + " 个文件（" + FormatItemSize(result.bytes) + "）";
  if (result.rows)
    line +=
        std::string(result.files ? "，" : "") + "已清除 " + GroupedCount(result.rows) + " 条记录";
  if (result.inUse) line += "，" + GroupedCount(result.inUse) + " 个文件正在使用，已跳过";
  if (result.outcome == ItemOutcome::kPartlyFailed) line += "，部分内容未能清理";
  return line + "。";
}

}  // namespace cleanup
