#include "cli/Args.h"

#include <algorithm>
#include <cctype>

namespace cli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The switch's name in lower case without its prefix; "" for a value.
std::string SwitchName(const std::string& arg) {
  if (arg.size() < 2) return "";
  size_t skip = 0;
  if (arg[0] == '/')
    skip = 1;
  else if (arg.rfind("--", 0) == 0)
    skip = 2;
  else if (arg[0] == '-')
    skip = 1;
  return skip && arg.size() > skip ? Lower(arg.substr(skip)) : "";
}

bool ParseTime(const std::string& text, int& hour, int& minute) {
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon == 0 || colon > 2 || text.size() != colon + 3)
    return false;
  for (size_t k = 0; k < text.size(); ++k)
    if (k != colon && !std::isdigit(static_cast<unsigned char>(text[k]))) return false;
  hour = std::stoi(text.substr(0, colon));
  minute = std::stoi(text.substr(colon + 1));
  return hour < 24 && minute < 60;
}

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = line.size();
  // The program's name: no escapes, quotes only group.
  {
    std::string name;
    if (i < n && line[i] == '"') {
      size_t end = line.find('"', i + 1);
      name = line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      i = end == std::string::npos ? n : end + 1;
    }
    while (i < n && !IsBlank(line[i])) name += line[i++];
    args.push_back(name);
  }
  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(line[i]))) {
      if (line[i] == '\\') {
        size_t slashes = 0;
        while (i < n && line[i] == '\\') ++slashes, ++i;
        if (i < n && line[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2) {
            arg += '"';
            ++i;
          }
        } else {
          arg.append(slashes, '\\');
        }
      } else if (line[i] == '"') {
        if (quoted && i + 1 < n && line[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += line[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t slashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote escaped.
    out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
    slashes = 0;
    out += c;
  }
  out.append(slashes * 2, '\\');  // before the closing quote
  return out + "\"";
}

bool ParseOptionNames(const std::string& list, OptionSet& options, std::string& bad) {
  std::string text = list;
  // Chinese commas count as commas.
  for (size_t at; (at = text.find("，")) != std::string::npos;) text.replace(at, 3, ",");
  size_t start = 0;
  bool any = false;
  for (;;) {
    size_t comma = text.find(',', start);
    std::string name = Trim(text.substr(start, comma - start));
    if (Lower(name) == "all" || Lower(name) == "default") {
      // Every option the program has, or those the page ticks when new.
      for (int k = 0; k < static_cast<int>(cleanup::OptionCount()); ++k)
        if (Lower(name) == "all" || cleanup::OptionTicked(k)) options[k] = true;
      any = true;
    } else if (!name.empty()) {
      int found = -1;
      for (int k = 0; k < static_cast<int>(cleanup::OptionCount()) && found < 0; ++k)
        if (Lower(name) == cleanup::OptionName(k) || name == cleanup::OptionText(k) ||
            Lower(name) == Lower(cleanup::OptionText(k)))
          found = k;
      if (found < 0) {
        bad = name;
        return false;
      }
      options[found] = true;
      any = true;
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (!any) bad = list;
  return any;
}

ParseResult ParseArguments(const std::vector<std::string>& args) {
  ParseResult r;
  Options& o = r.options;
  for (const std::string& a : args) {
    std::string s = SwitchName(a);
    if (s == "?" || s == "help" || s == "h") {
      o.mode = Mode::kHelp;
      return r;
    }
  }
  auto fail = [&r](std::string why) {
    r.error = std::move(why);
    return r;
  };
  std::vector<std::string> seen;
  std::vector<std::string> extra;  // values no switch took
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    const std::string s = SwitchName(a);
    if (s.empty()) {
      extra.push_back(a);
      continue;
    }
    if (std::find(seen.begin(), seen.end(), s) != seen.end())
      return fail("参数 " + a + " 重复了。");
    seen.push_back(s);
    const bool hasValue = k + 1 < args.size() && SwitchName(args[k + 1]).empty();
    auto takeMode = [&](Mode m) {
      if (o.mode != Mode::kNone) return false;
      o.mode = m;
      return true;
    };
    if (s == "scan" || s == "clean" || s == "schedule") {
      Mode m = s == "scan" ? Mode::kScan : s == "clean" ? Mode::kClean : Mode::kSchedule;
      if (!takeMode(m)) return fail("/scan、/clean 和 /schedule 只能选一个。");
      if (m != Mode::kSchedule) continue;
      if (!hasValue) return fail("/schedule 后面要写 daily、weekly 或 off。");
      std::string when = Lower(args[++k]);
      if (when == "daily")
        o.repeat = Repeat::kDaily;
      else if (when == "weekly")
        o.repeat = Repeat::kWeekly;
      else if (when == "off")
        o.repeat = Repeat::kOff;
      else
        return fail("/schedule 后面要写 daily、weekly 或 off，而不是 " + args[k] + "。");
      // A time follows when the next value starts with a digit ("7:05").
      if (k + 1 < args.size() && std::isdigit(static_cast<unsigned char>(args[k + 1][0]))) {
        if (o.repeat == Repeat::kOff) return fail("/schedule off 不需要时间。");
        if (!ParseTime(args[++k], o.hour, o.minute))
          return fail("时间要写成 HH:MM（00:00 到 23:59），而不是 " + args[k] + "。");
      }
    } else if (s == "traces") {
      if (!hasValue) return fail("/traces 后面要写清理选项的名称，用逗号分隔。");
      std::string bad;
      if (!ParseOptionNames(args[++k], o.options, bad)) {
        std::string known;
        for (int n = 0; n < static_cast<int>(cleanup::OptionCount()); ++n)
          known += std::string(n ? "、" : "") + cleanup::OptionName(n);
        return fail("未知的清理选项：" + bad + "（可用：" + known + "）。");
      }
      o.tracesGiven = true;
    } else if (s == "report") {
      if (!hasValue)  // "-" is a value
        return fail("/report 后面要写报告文件名，或用 - 表示标准输出。");
      o.report = args[++k];
      // A report names a file: nothing, or a folder by its trailing "\", is
      // refused now rather than after the clean.
      if (o.report.empty() || o.report.back() == '\\' || o.report.back() == '/')
        return fail("/report 后面要写报告文件名（不能是空的或文件夹），或用 - 表示标准输出。");
    } else if (s == "quiet") {
      o.quiet = true;
    } else if (s == "permanent") {
      o.permanent = true;
    } else {
      return fail("未知的参数：" + a + "（/? 查看用法）。");
    }
  }
  if (o.mode == Mode::kNone) return fail("请指定 /scan、/clean 或 /schedule（/? 查看用法）。");
  if (o.mode == Mode::kSchedule) {
    if (!extra.empty()) return fail("多余的参数：" + extra.front() + "。");
    for (const char* other : {"traces", "report", "permanent"})
      if (std::find(seen.begin(), seen.end(), other) != seen.end())
        return fail(std::string("/schedule 不能与 /") + other + " 一起使用。");
    return r;
  }
  if (o.permanent && o.mode != Mode::kClean) return fail("/permanent 只能与 /clean 一起使用。");
  if (!o.tracesGiven) o.options[cleanup::kTempFiles] = true;
  for (const std::string& root : extra) {
    if (root.find('"') != std::string::npos)
      return fail("文件夹名中不能有引号：" + root +
                  "（引号前的反斜杠 \\\" 会被当作引号，请去掉结尾的反斜杠）。");
    if (Trim(root).empty()) return fail("文件夹名不能为空。");
  }
  if (!extra.empty() && !o.options[cleanup::kTempFiles])
    return fail("/traces 中没有 temp，不会扫描文件夹 " + extra.front() + "。");
  o.roots = extra;
  return r;
}

std::string UsageText() {
  std::string names;
  for (int k = 0; k < static_cast<int>(cleanup::OptionCount()); ++k) {
    std::string name = cleanup::OptionName(k);
    names += "      " + name + std::string(name.size() < 16 ? 16 - name.size() : 1, ' ') +
             cleanup::OptionLabel(k) + (k == cleanup::kTempFiles ? "（垃圾文件，默认）" : "") +
             "\n";
  }
  names +=
      "      all             全部清理选项\n"
      "      default         清理页面默认勾选的选项\n";
  return "Mirven电脑助手 3.0 命令行：不打开窗口，扫描或清理垃圾文件\n"
         "\n"
         "用法：\n"
         "  Mirven.exe /scan [文件夹...] [/traces 选项] [/report 文件|-] [/quiet]\n"
         "  Mirven.exe /clean [文件夹...] [/traces 选项] [/permanent] [/report 文件|-] [/quiet]\n"
         "  Mirven.exe /schedule daily|weekly|off [HH:MM]\n"
         "  Mirven.exe /? | /help\n"
         "\n"
         "  /scan        扫描（scan）并列出垃圾文件，不删除。不写文件夹时扫描用户文件夹。\n"
         "  /clean       扫描后清理（clean）：删除垃圾文件，再清理所选的清理选项。\n"
         "               垃圾文件默认移到回收站。\n"
         "  /permanent   与 /clean 一起使用：直接永久删除（permanent），不经过回收站。\n"
         "  /traces      清理选项（traces），用逗号分隔，英文或中文名称均可：\n" +
         names +
         "  /report      写入 UTF-8 JSON 报告（report）：文件夹、每个文件及结果、合计、\n"
         "               无法读取的文件夹、清理选项结果和错误。- 表示写到标准输出。\n"
         "  /quiet       安静（quiet）：只输出错误。\n"
         "  /schedule    为当前用户设置计划任务（schedule）：daily 每天，weekly 每周的今天，\n"
         "               在 HH:MM（默认 12:00）运行\n"
         "               Mirven.exe /clean /traces temp /quiet /report "
         "\"%LOCALAPPDATA%\\Mirven\\last-clean.json\"；\n"
         "               off 删除这个计划任务。\n"
         "\n"
         "退出代码（exit codes）：\n"
         "  0  完成，或没有需要做的\n"
         "  1  有文件未能清理（已列出），或有程序正在运行、其数据已跳过\n"
         "  2  参数错误（并说明原因）\n"
         "  3  当前用户的另一个扫描或清理正在进行\n"
         "  4  没有一个文件夹能够读取\n"
         "  5  报告无法写入，或计划任务无法设置\n";
}

}  // namespace cli
