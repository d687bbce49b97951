#include "cleanup/CleanupText.h"

#include <cstdio>

#include "cleanup/CleanItems.h"

namespace cleanup {

const char kRefusal[] = "请选择清理选项！";
const char kCleanFinished[] = "清理完毕！";
const char kCaption[] = "Mirven电脑助手";
const char kCloseQuestion[] = "扫描还未完成，您确定要关闭程序码？";
const char kPauseText[] = "暂停";
const char kContinueText[] = "继续";
const char kScanNotStarted[] = "无法开始扫描，请稍后再试。";
const char kCleanNotStarted[] = "无法开始清理，请稍后再试。";
const char kAnotherRun[] = "另一个扫描或清理正在进行，请稍后再试。";
const char kClipboardBusy[] = "剪贴板正被其他程序占用，未能清空。";
const char kIntroduction[] =
    " 全面清理电脑中垃圾文件和临时文件，节省磁盘空间，让系统运行更加有效率！";

namespace {

struct OptionTexts {
  const char* text;
  const char* done;
  const char* name;
  bool ticked;
};
constexpr OptionTexts kOptions[] = {
    {"清空回收站", "回收站清空完毕！", "recycle", false},
    {"临时文件", "", "temp", true},
    {"剪贴板", "剪贴板清空完毕！", "clipboard", true},
    {"Internet 临时文件", "Internet 临时文件清空完毕！", "cache", true},
    {"历史记录", "网址历史记录清空完毕！", "history", true},
    {"Cookies", "Cookies 清空完毕！", "cookies", true},
    {"最近网址列表", "最近网址记录清空完毕！", "recent", true},
};
constexpr int kClassicCount = static_cast<int>(sizeof kOptions / sizeof kOptions[0]);
static_assert(kClassicCount == kFirstItem, "the items follow the classic options");

const OptionTexts* Classic(int option) {
  return option >= 0 && option < kClassicCount ? &kOptions[option] : nullptr;
}

}  // namespace

std::string FormatJunkSize(uint64_t kb) {
  if (kb < 1024) return std::to_string(kb) + "KB";
  if (kb < (uint64_t{1} << 20)) return std::to_string(kb >> 10) + "MB";
  // The fraction of the last GB as "%f" shows it (0.5039 as 0.503900, six
  // digits rounded), of which the two digits after the point are kept.
  char fraction[32];
  std::snprintf(fraction, sizeof fraction, "%f", static_cast<double>(kb & 0xFFFFF) / 1048576.0);
  return std::to_string(kb >> 20) + "." + std::string(fraction + 2, 2) + "GB";
}

std::string ScanSummary(uint64_t junkCount, uint64_t junkKB) {
  return "扫描已完成！本次共扫描出 " + std::to_string(junkCount) +
         " 个垃圾文件，立即清除可帮您节省 " + FormatJunkSize(junkKB) + " 磁盘空间。";
}

std::string CleanReport(uint64_t deleted, uint64_t freedKB, uint64_t failed, uint64_t gone) {
  std::string line = "共删除 " + std::to_string(deleted) + " 个垃圾文件，释放 " +
                     FormatJunkSize(freedKB) + " 磁盘空间，" + std::to_string(failed) +
                     " 个文件未能删除";
  if (gone) line += "，" + std::to_string(gone) + " 个文件已不存在";
  return line + "。";
}

std::string CleanReport(const CleanTally& tally) {
  if (tally.mode == CleanMode::kPermanent)
    return CleanReport(tally.deleted, tally.freedKB, tally.failed, tally.gone);
  std::string line = "共将 " + std::to_string(tally.recycled) + " 个垃圾文件（" +
                     FormatJunkSize(tally.recycledKB) + "）移入回收站，" +
                     std::to_string(tally.failed) + " 个文件未能删除";
  if (tally.noBin)
    line += "，" + std::to_string(tally.noBin) +
            " 个文件所在磁盘没有回收站或回收站不接受，已永久删除（释放 " +
            FormatJunkSize(tally.freedKB) + " 磁盘空间）";
  if (tally.gone) line += "，" + std::to_string(tally.gone) + " 个文件已不存在";
  line += "。";
  // Each path named: the user has to find what was taken from it.
  for (const std::string& path : tally.leftInBin)
    line += "“" + path +
            "”在检查后被换成了其他文件或文件夹，它已被移入回收站，未能放回原处，请从回收站还原。";
  return line;
}

std::string RecycledStatus(const CleanTally& tally) {
  return "已将 " + std::to_string(tally.recycled) + " 个垃圾文件（" +
         FormatJunkSize(tally.recycledKB) +
         "）移入回收站，可从回收站还原；清空回收站后释放磁盘空间。";
}

std::string PermanentQuestion(uint64_t files) {
  return "将永久删除 " + std::to_string(files) + " 个文件，无法恢复。确定吗？";
}

std::string SkippedFoldersNote(uint64_t folders) {
  if (folders == 0) return "";
  return "（" + std::to_string(folders) + " 个文件夹无法读取，已跳过）";
}

size_t OptionCount() { return kClassicCount + CleanItems().size(); }

const CleanItem* OptionItem(int option) {
  if (option < kFirstItem || static_cast<size_t>(option) >= OptionCount()) return nullptr;
  return &CleanItems()[static_cast<size_t>(option - kFirstItem)];
}

const char* OptionProgram(int option) {
  const CleanItem* item = OptionItem(option);
  return item ? item->program : "";
}

std::string OptionLabel(int option) {
  const std::string program = OptionProgram(option);
  return program.empty() ? OptionText(option) : program + " " + OptionText(option);
}

bool OptionTicked(int option) {
  if (const CleanItem* item = OptionItem(option)) return item->ticked;
  return Classic(option) && Classic(option)->ticked;
}

OptionSet NoOptions() { return OptionSet(OptionCount(), false); }

std::string EmptyBinQuestion(uint64_t files, uint64_t bytes) {
  return "将清空回收站中的 " + std::to_string(files) + " 个文件（" + FormatJunkSize(SizeKB(bytes)) +
         "），无法恢复。确定吗？";
}

std::string CookiesLeftLine(uint64_t files) {
  return "有 " + std::to_string(files) + " 个 Cookies 文件正在使用，未能删除；关闭浏览器后再清理。";
}

const char* OptionText(int option) {
  if (const CleanItem* item = OptionItem(option)) return item->name;
  return Classic(option) ? Classic(option)->text : "";
}

const char* OptionName(int option) {
  if (const CleanItem* item = OptionItem(option)) return item->cliName;
  return Classic(option) ? Classic(option)->name : "";
}

// An item's lines come with its result: what it removed, or why not.
const char* CompletionLine(int option) { return Classic(option) ? Classic(option)->done : ""; }

}  // namespace cleanup
