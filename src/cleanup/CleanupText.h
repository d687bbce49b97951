#pragma once
// The texts the cleanup page shows: sizes, the scan summary, the clean
// report and the clean options with their completion lines.
#include <cstdint>
#include <string>
#include <vector>

#include "cleanup/CleanAll.h"

namespace cleanup {

// "1023KB", "1MB", "1023MB", "1.50GB" (the two first of six rounded decimals).
std::string FormatJunkSize(uint64_t kb);

// "扫描已完成！本次共扫描出 3 个垃圾文件，立即清除可帮您节省 2MB 磁盘空间。"
std::string ScanSummary(uint64_t junkCount, uint64_t junkKB);

// The line added after "全部清理": files deleted, space freed, files kept,
// and, when some were, the files that were already gone.
std::string CleanReport(uint64_t deleted, uint64_t freedKB, uint64_t failed, uint64_t gone = 0);
// After a clean into the Recycle Bin the line says so, and names the files
// deleted for good for want of a bin.
std::string CleanReport(const CleanTally& tally);

// The status line after a clean into the Recycle Bin:
// "已将 3 个垃圾文件（2MB）移入回收站，可从回收站还原；清空回收站后释放磁盘空间。"
std::string RecycledStatus(const CleanTally& tally);

// Asked before a permanent clean: "将永久删除 3 个文件，无法恢复。确定吗？"
std::string PermanentQuestion(uint64_t files);

// After a summary whose walk could not read some folders:
// "（2 个文件夹无法读取，已跳过）"; empty for none.
std::string SkippedFoldersNote(uint64_t folders);

// A file's size as the page counts it: whole KB, truncated file by file.
constexpr uint64_t SizeKB(uint64_t bytes) { return bytes >> 10; }
// Progress is counted in whole MB.
constexpr uint64_t ProgressMB(uint64_t kb) { return kb >> 10; }
// The progress bar's position for a size: whole MB, at most INT_MAX.
constexpr int ProgressPos(uint64_t kb) {
  return ProgressMB(kb) > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ProgressMB(kb));
}

// The clean options. An option's id is its place in one table that the
// page's option list, the command line's names and the run all read; a new
// cleaning item is a new row there (and its work in the Windows engine).
// The first ids are fixed:
enum CleanOption : int {
  kRecycleBin = 0,
  kTempFiles = 1,
  kClipboard = 2,
  kUrlCache = 3,
  kUrlHistory = 4,
  kCookies = 5,
  kTypedUrls = 6,
  // Today's programs' items follow, in the order of CleanItems().
  kFirstItem = 7,
};
struct CleanItem;
// The item of today's programs an option cleans; null for the seven above.
const CleanItem* OptionItem(int option);
// The program an option belongs to ("Microsoft Edge"); "" for the seven above.
const char* OptionProgram(int option);
// The option as named on its own: "Microsoft Edge 缓存", "剪贴板".
std::string OptionLabel(int option);
// Chosen options, by id; as long as the table.
using OptionSet = std::vector<bool>;

size_t OptionCount();
// The option's text in the list, and the line added once it is cleared
// (empty for the junk files, which are deleted from the list instead).
const char* OptionText(int option);
const char* CompletionLine(int option);
// The option's English name on the command line ("recycle", "temp", ...).
const char* OptionName(int option);
// Ticked when the page opens. Emptying the Recycle Bin is not: it takes
// away the user's undo.
bool OptionTicked(int option);
// Nothing chosen, sized for the table.
OptionSet NoOptions();

// Asked before "全部清理" empties the bin:
// "将清空回收站中的 3 个文件（2MB），无法恢复。确定吗？"
std::string EmptyBinQuestion(uint64_t files, uint64_t bytes);
// Internet Explorer's cookie files that would not go, in use or locked.
std::string CookiesLeftLine(uint64_t files);

extern const char kRefusal[];         // "请选择清理选项！"
extern const char kCleanFinished[];   // "清理完毕！"
extern const char kCaption[];         // "Mirven电脑助手"
extern const char kCloseQuestion[];   // asked when the page is closed mid-scan
extern const char kPauseText[];       // "暂停"
extern const char kContinueText[];    // "继续"
extern const char kScanNotStarted[];  // no worker thread could be started
extern const char kCleanNotStarted[];
extern const char kIntroduction[];  // the status line before the first scan
extern const char kAnotherRun[];    // the user's scans and cleans are busy elsewhere
extern const char kClipboardBusy[];  // another program kept the clipboard

}  // namespace cleanup
