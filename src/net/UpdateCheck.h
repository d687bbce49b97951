#pragma once
// The small texts the program fetches from the maker's web server (the
// version file, the notice dates, the statistics hit) and the update
// decision built on them. Portable; the fetch goes through net::Services.
#include <cstddef>
#include <optional>
#include <string>

#include "net/Stream.h"

namespace net {

// What one fetch gave: ok when an answer arrived at all.
struct TextAnswer {
  bool ok = false;
  int status = 0;
  std::string body;
};

// GET of `url` with the small limits of the program's own fetches; an
// answer larger than a small text counts as no answer. A set `stop` ends
// it early, with no answer.
TextAnswer FetchText(Services& services, const std::string& url, const StopFlag* stop = nullptr);

// The trimmed body when the answer is a 200 whose body is one line of at
// most `maxLength` printable characters and no markup; nothing otherwise.
std::optional<std::string> ShortLine(const TextAnswer& answer, size_t maxLength);

}  // namespace net

namespace update {

constexpr size_t kMaxVersionLength = 32;
constexpr size_t kMaxVersionTag = 8;

constexpr char kVersionPath[] = "/windows/version.txt";
constexpr char kDownloadPath[] = "/windows/index.aspx";
constexpr char kNetworkError[] = "网络连接异常或者未连接";
constexpr char kUpToDate[] = "当前已是最新版本";
constexpr char kUpdateTitle[] = "软件更新";
constexpr char kNotesTitle[] = "新版特性";

enum class Outcome { kFailed, kSame, kNewer };

struct Decision {
  Outcome outcome = Outcome::kFailed;
  std::string version;  // the server's, when newer
};

// Numbers joined by dots, then at most a short tag of letters and digits
// ("3.1", "3.1b", "3.1-rc2"); at most kMaxVersionLength characters.
bool IsVersionText(const std::string& text);

// A version text other than `current` counts as a newer version (2.9
// too); any other text, a captive portal's page included, is a failure.
Decision Decide(const net::TextAnswer& answer, const std::string& current);

// "有新版本 V3.1 啦"
std::string NewVersionLine(const std::string& version);

// The eight lines of the new-version notes, as one text.
std::string NotesText();

}  // namespace update
