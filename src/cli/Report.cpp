#include <cstdio>

#include "base/Version.h"
#include "cleanup/CleanupText.h"
#include "cli/Run.h"

namespace cli {

namespace {

// Length of the valid UTF-8 sequence at `s[i]`, 0 when it is not one.
size_t Utf8Length(const std::string& s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  // No overlong forms, no surrogates, nothing above U+10FFFF.
  if (n == 2 && c < 0xC2) return 0;
  if (n == 3 && ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) >= 0xA0))) return 0;
  if (n == 4 && ((c == 0xF0 && b(i + 1) < 0x90) || c > 0xF4 || (c == 0xF4 && b(i + 1) >= 0x90)))
    return 0;
  return n;
}

class Json {
 public:
  std::string text;

  void String(const std::string& s) {
    text += '"';
    for (size_t i = 0; i < s.size();) {
      const unsigned char c = static_cast<unsigned char>(s[i]);
      const size_t n = Utf8Length(s, i);
      if (n == 0) {
        text += "\xEF\xBF\xBD";  // U+FFFD for a byte that is not UTF-8
        ++i;
        continue;
      }
      if (c == '"' || c == '\\') {
        text += '\\';
        text += static_cast<char>(c);
      } else if (c < 0x20) {
        char esc[8];
        std::snprintf(esc, sizeof esc, "\\u%04x", c);
        text += esc;
      } else {
        text.append(s, i, n);
      }
      i += n;
    }
    text += '"';
  }
  // "name": with the comma before it when needed.
  void Key(const char* name) {
    Comma();
    String(name);
    text += ": ";
    afterKey_ = true;
  }
  // "name": value
  void Field(const char* name, const std::string& v) {
    Key(name);
    Text(v);
  }
  void Field(const char* name, const char* v) {
    Key(name);
    Text(v);
  }
  void Field(const char* name, uint64_t v) {
    Key(name);
    Number(v);
  }
  void Field(const char* name, bool v) {
    Key(name);
    Bool(v);
  }
  void Number(uint64_t v) {
    Comma();
    text += std::to_string(v);
  }
  void Bool(bool v) {
    Comma();
    text += v ? "true" : "false";
  }
  void Text(const std::string& s) {
    Comma();
    String(s);
  }
  void Open(char bracket) {
    Comma();
    text += bracket;
    ++depth_;
    fresh_ = true;
    empty_ = true;
  }
  void Close(char bracket) {
    --depth_;
    if (!empty_) NewLine();
    text += bracket;
    fresh_ = false;
    empty_ = false;
  }

 private:
  // Before a key or a value: the comma and line break after the previous
  // one; a value after its key stays on the key's line.
  void Comma() {
    if (afterKey_) {
      afterKey_ = false;
    } else {
      if (!fresh_) text += ',';
      if (depth_ > 0) NewLine();
    }
    fresh_ = false;
    empty_ = false;
  }
  void NewLine() {
    text += '\n';
    text.append(2 * static_cast<size_t>(depth_), ' ');
  }
  int depth_ = 0;
  bool fresh_ = true, empty_ = true, afterKey_ = false;
};

const char* ModeName(Mode m) { return m == Mode::kClean ? "clean" : "scan"; }

}  // namespace

std::string ReportJson(const RunReport& r) {
  Json j;
  j.Open('{');
  j.Field("program", base::kProgramName);
  j.Field("version", base::kVersion);
  j.Field("mode", ModeName(r.mode));
  j.Field("permanent", r.permanent);
  j.Key("options");
  j.Open('[');
  for (size_t k = 0; k < r.options.size(); ++k)
    if (r.options[k]) j.Text(cleanup::OptionName(static_cast<int>(k)));
  j.Close(']');
  j.Key("roots");
  j.Open('[');
  for (const RunReport::Root& root : r.roots) {
    j.Open('{');
    j.Field("path", root.path);
    j.Field("read", root.read);
    j.Close('}');
  }
  j.Close(']');
  j.Key("files");
  j.Open('[');
  for (size_t k = 0; k < r.files.size(); ++k) {
    j.Open('{');
    j.Field("path", r.files[k].path);
    j.Field("size", r.files[k].identity.size);
    j.Field("result", k < r.results.size() ? r.results[k] : "");
    j.Close('}');
  }
  j.Close(']');
  j.Key("totals");
  j.Open('{');
  j.Field("files", static_cast<uint64_t>(r.files.size()));
  j.Field("bytes", r.foundBytes);
  j.Field("kb", r.foundKB);
  j.Field("recycled", r.tally.recycled);
  j.Field("recycledKB", r.tally.recycledKB);
  j.Field("deleted", r.tally.deleted);
  j.Field("deletedKB", r.tally.freedKB);
  j.Field("gone", r.tally.gone);
  j.Field("kept", r.tally.failed);
  j.Close('}');
  j.Key("unreadableFolders");
  j.Open('[');
  for (const std::string& f : r.unreadableFolders) j.Text(f);
  j.Close(']');
  j.Key("traces");
  j.Open('[');
  for (const RunReport::Trace& t : r.traces) {
    j.Open('{');
    j.Field("name", cleanup::OptionName(t.option));
    j.Field("label", cleanup::OptionLabel(t.option));
    j.Field("result", t.result);
    if (t.bytes || t.files || cleanup::OptionItem(t.option)) {
      j.Field("bytes", t.bytes);
      j.Field("files", t.files);
      j.Field("rows", t.rows);
    }
    j.Close('}');
  }
  j.Close(']');
  j.Key("errors");
  j.Open('[');
  for (const std::string& e : r.errors) j.Text(e);
  j.Close(']');
  j.Field("exitCode", static_cast<uint64_t>(r.exitCode));
  j.Close('}');
  return j.text + "\n";
}

}  // namespace cli
