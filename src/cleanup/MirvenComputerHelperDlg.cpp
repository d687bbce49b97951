#include "cleanup/MirvenComputerHelperDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <functional>
#include <mutex>

#include "cleanup/CleanupText.h"
#include "cleanup/JunkRules.h"
#include "cleanup/ScanWalk.h"
#include "cleanup/Traces.h"
#include "cleanup/WinLister.h"
#include "controls/Colours.h"
#include "controls/Fonts.h"
#include "res/Bitmaps.h"
#include "controls/TreePaths.h"
#include "res/resource.h"
#include "ui/Effects.h"
#include "ui/Gdi.h"
#include "ui/Text.h"

namespace cleanup {

struct ScanJob {
  uint64_t generation = 0;
  std::string root;
  JunkPatterns patterns;
  ScanControl control;
  std::atomic<uint64_t> scannedKB{0};
  std::atomic<bool> notifyPending{false};
  std::mutex mutex;
  std::vector<Found> found;  // not yet taken by the page
  std::string current;       // the file being examined
  bool ended = false;        // the page has finished this scan
};

struct MeasureJob {
  uint64_t generation = 0;
  std::string root;
  ScanControl control;
  std::atomic<uint64_t> kb{0};
};

struct CleanJob {
  uint64_t generation = 0;
  std::vector<Found> files;
  bool chosen[kOptionCount] = {};
  HWND owner = nullptr;
  std::atomic<bool> cancel{false};
  std::atomic<bool> notifyPending{false};
  std::mutex mutex;
  std::string current;
  std::vector<std::string> lines;    // completion lines not yet shown
  std::vector<std::string> deleted;  // paths deleted, not yet taken
};

}  // namespace cleanup

using namespace cleanup;

namespace {

constexpr UINT kMsgScanProgress = WM_APP + 0x31;
constexpr UINT kMsgScanDone = WM_APP + 0x32;
constexpr UINT kMsgMeasured = WM_APP + 0x33;
constexpr UINT kMsgCleanProgress = WM_APP + 0x34;
constexpr UINT kMsgCleanDone = WM_APP + 0x35;
// The status line follows the walk a few times a second, no more.
constexpr ULONGLONG kStatusPeriodMs = 120;
constexpr DWORD kWorkerExitWaitMs = 10000;
constexpr UINT_PTR kListTimer = 1;
constexpr ULONGLONG kListSliceMs = 40;

constexpr char kCaption[] = "Mirven电脑助手";
constexpr char kCloseQuestion[] = "扫描还未完成，您确定要关闭程序码？";
constexpr char kPauseText[] = "暂停";
constexpr char kContinueText[] = "继续";

// Where each control sits on the 781 x 400 page. Buttons keep their face
// size when the page grows; the rest grow with it.
constexpr controls::Place kLayout[] = {
    {IDC_CLEANUP_PROGRESS, 45, 10, 187, 14, false},
    {IDC_CLEANUP_STATUS, 45, 31, 469, 22, false},
    {IDC_CLEANUP_START, 240, 4, 88, 25, true},
    {IDC_CLEANUP_PAUSE, 333, 4, 88, 25, true},
    {IDC_CLEANUP_STOP, 426, 4, 88, 25, true},
    {IDC_CLEANUP_JUNK_LIST, 10, 56, 504, 304, false},
    {IDC_CLEANUP_SCAN_NOW, 157, 160, 210, 95, true},
    {IDC_CLEANUP_TAB, 520, 10, 251, 24, false},
    {IDC_CLEANUP_TREE, 520, 34, 251, 326, false},
    {IDC_CLEANUP_OPTIONS, 520, 34, 251, 326, false},
    {IDC_CLEANUP_CLEAN, 10, 367, 88, 25, true},
    {IDC_CLEANUP_CLEAN_ALL, 103, 367, 88, 25, true},
    {IDC_CLEANUP_SELECT_ALL, 520, 367, 88, 25, true},
    {IDC_CLEANUP_SELECT_NONE, 613, 367, 88, 25, true},
};

DWORD WINAPI ThreadMain(LPVOID p) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(p));
  (*body)();
  return 0;
}

ui::KernelHandle StartThread(std::function<void()> body) {
  auto* heap = new std::function<void()>(std::move(body));
  HANDLE h = CreateThread(nullptr, 0, ThreadMain, heap, 0, nullptr);
  if (!h) delete heap;
  return ui::KernelHandle(h);
}

// A root that is itself a link is not walked: what it shows lies elsewhere.
bool IsLinkFolder(const std::string& root) {
  DWORD attrs = GetFileAttributesW(ui::Wide(tree::ExtendedPath(root)).c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_REPARSE_POINT);
}

void ScanWorker(std::shared_ptr<ScanJob> job, HWND page) {
  WinLister lister;
  ScanWalk walk(lister, job->patterns, job->control);
  ULONGLONG last = 0;
  auto visit = [&](const std::string& path, const DirEntry& e, bool junk) {
    job->scannedKB.store(walk.scannedKB(), std::memory_order_relaxed);
    ULONGLONG now = GetTickCount64();
    bool tell = now - last >= kStatusPeriodMs;
    if (junk || tell) {
      std::lock_guard<std::mutex> lock(job->mutex);
      if (junk) job->found.push_back(Found{path, FileIdentity{e.size, e.lastWrite}, SizeKB(e.size)});
      if (tell) job->current = path;
    }
    if (tell) {
      last = now;
      if (!job->notifyPending.exchange(true))
        PostMessageW(page, kMsgScanProgress, static_cast<WPARAM>(job->generation), 0);
    }
  };
  if (!job->root.empty() && !IsLinkFolder(job->root)) walk.Run(job->root, visit);
  job->scannedKB.store(walk.scannedKB());
  PostMessageW(page, kMsgScanDone, static_cast<WPARAM>(job->generation), 0);
}

void MeasureWorker(std::shared_ptr<MeasureJob> job, HWND page) {
  if (!IsLinkFolder(job->root)) {
    WinLister lister;
    job->kb = FolderSizeKB(lister, job->root, &job->control);
  }
  PostMessageW(page, kMsgMeasured, static_cast<WPARAM>(job->generation), 0);
}

void CleanWorker(std::shared_ptr<CleanJob> job, HWND page) {
  uint64_t deleted = 0, freedKB = 0, failed = 0;
  ULONGLONG last = 0;
  auto tell = [&] {
    if (!job->notifyPending.exchange(true))
      PostMessageW(page, kMsgCleanProgress, static_cast<WPARAM>(job->generation), 0);
  };
  for (const Found& f : job->files) {
    if (job->cancel) break;
    ULONGLONG now = GetTickCount64();
    bool show = now - last >= kStatusPeriodMs;
    bool gone = DeleteIfUnchanged(f.path, f.identity) == DeleteResult::kDeleted;
    std::lock_guard<std::mutex> lock(job->mutex);
    if (show) job->current = f.path;
    if (gone) {
      ++deleted;
      freedKB += f.kb;
      job->deleted.push_back(f.path);
    } else {
      ++failed;
    }
    if (show) {
      last = now;
      tell();
    }
  }
  {
    std::lock_guard<std::mutex> lock(job->mutex);
    job->lines.push_back(CleanReport(deleted, freedKB, failed));
  }
  tell();
  if (!job->cancel) {
    CleanSelectedOptions(job->chosen, job->owner, [&](const std::string& line) {
      {
        std::lock_guard<std::mutex> lock(job->mutex);
        job->lines.push_back(line);
      }
      tell();
    });
  }
  PostMessageW(page, kMsgCleanDone, static_cast<WPARAM>(job->generation), 0);
}

// Closes the handles of workers that have ended.
void Prune(std::vector<ui::KernelHandle>& handles) {
  handles.erase(std::remove_if(handles.begin(), handles.end(),
                               [](const ui::KernelHandle& h) {
                                 return !h || WaitForSingleObject(h.get(), 0) == WAIT_OBJECT_0;
                               }),
                handles.end());
}

}  // namespace

CMirvenComputerHelperDlg::CMirvenComputerHelperDlg() : controls::Page(kTemplate) {}

CMirvenComputerHelperDlg::~CMirvenComputerHelperDlg() {
  if (scanJob_) scanJob_->control.Stop();
  if (measureJob_) measureJob_->control.Stop();
  if (cleanJob_) cleanJob_->cancel = true;
  for (ui::KernelHandle* h : {&scanWorker_, &measureWorker_, &cleanWorker_})
    if (*h) WaitForSingleObject(h->get(), kWorkerExitWaitMs);
  for (ui::KernelHandle& h : retired_)
    if (h) WaitForSingleObject(h.get(), kWorkerExitWaitMs);
}

BOOL CMirvenComputerHelperDlg::OnInitDialog() {
  controls::Page::OnInitDialog();
  options_.SubclassDlgItem(IDC_CLEANUP_OPTIONS, hwnd_);
  junkList_.SubclassDlgItem(IDC_CLEANUP_JUNK_LIST, hwnd_);
  progress_.SubclassDlgItem(IDC_CLEANUP_PROGRESS, hwnd_);
  struct {
    MyDrawButton& button;
    int id;
  } buttons[] = {{start_, IDC_CLEANUP_START},         {clean_, IDC_CLEANUP_CLEAN},
                 {cleanAll_, IDC_CLEANUP_CLEAN_ALL},  {pause_, IDC_CLEANUP_PAUSE},
                 {stop_, IDC_CLEANUP_STOP},           {selectAll_, IDC_CLEANUP_SELECT_ALL},
                 {selectNone_, IDC_CLEANUP_SELECT_NONE}, {scanNow_, IDC_CLEANUP_SCAN_NOW}};
  for (auto& b : buttons) {
    b.button.SubclassDlgItem(b.id, hwnd_);
    if (b.id == IDC_CLEANUP_SCAN_NOW)
      b.button.SetBitmaps(IDB_FACE_BIG, IDB_FACE_BIG_HOVER);
    else
      b.button.SetBitmaps(IDB_FACE_SMALL, IDB_FACE_SMALL_HOVER);
  }
  tree_.SubclassDlgItem(IDC_CLEANUP_TREE, hwnd_);

  for (int k = 0; k < kOptionCount; ++k) {
    options_.InsertString(k, OptionText(k));
    options_.SetCheck(k, 1);
  }
  scanning_ = paused_ = false;
  junkKB_ = junkCount_ = 0;
  SetScanRoot(traces().ProfileFolder());
  progress_.SetRange32(0, static_cast<int>(std::min<uint64_t>(ProgressMB(rootSizeKB_), INT_MAX)));
  Enable(IDC_CLEANUP_STOP, false);
  Enable(IDC_CLEANUP_PAUSE, false);

  SetStatusFont(FW_BOLD);
  SetFramed(true);
  SetLayout(kLayout);
  busy_.Create(hwnd_, GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXDLGFRAME) + 10, 8, 24,
               24,
               {IDB_BUSY_1, IDB_BUSY_2, IDB_BUSY_3, IDB_BUSY_4, IDB_BUSY_5, IDB_BUSY_6, IDB_BUSY_7,
                IDB_BUSY_8, IDB_BUSY_9},
               130);

  HWND tab = Item(IDC_CLEANUP_TAB);
  const wchar_t* tabs[] = {L"扫描目录", L"清理选项"};
  for (int k = 0; k < 2; ++k) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(tabs[k]);
    SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(k), reinterpret_cast<LPARAM>(&item));
  }
  // Both tabs side by side within the control, with no scroll arrows.
  SendMessageW(tab, TCM_SETMINTABWIDTH, 0, ui::WindowSize(tab).cx / 2 - 4);

  ShowWindow(options_.hwnd(), SW_HIDE);
  ShowWindow(tree_.hwnd(), SW_SHOWNORMAL);
  LONG_PTR style = GetWindowLongPtrW(tree_.hwnd(), GWL_STYLE);
  style &= ~static_cast<LONG_PTR>(TVS_EDITLABELS);
  SetWindowLongPtrW(tree_.hwnd(), GWL_STYLE, style | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
  TreeView_DeleteAllItems(tree_.hwnd());
  if (tree_.AttachSystemImageList()) {
    tree_.SetShowFiles(false);
    tree_.LoadDriveItems();
  }
  return TRUE;
}

LRESULT CMirvenComputerHelperDlg::WindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kMsgScanProgress: OnScanProgress(wp, false); return 0;
    case kMsgScanDone: OnScanProgress(wp, true); return 0;
    case kMsgMeasured: OnMeasured(wp); return 0;
    case kMsgCleanProgress: OnCleanProgress(wp, false); return 0;
    case kMsgCleanDone: OnCleanProgress(wp, true); return 0;
    default: return controls::Page::WindowProc(msg, wp, lp);
  }
}

bool CMirvenComputerHelperDlg::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_CLEANUP_START: OnStartClicked(); return true;
    case IDC_CLEANUP_SCAN_NOW: OnScanNowClicked(); return true;
    case IDC_CLEANUP_STOP: OnStopClicked(); return true;
    case IDC_CLEANUP_PAUSE: OnPauseClicked(); return true;
    case IDC_CLEANUP_CLEAN: OnCleanClicked(); return true;
    case IDC_CLEANUP_CLEAN_ALL: OnCleanAllClicked(); return true;
    case IDC_CLEANUP_SELECT_ALL: OnSelectAllClicked(); return true;
    case IDC_CLEANUP_SELECT_NONE: OnSelectNoneClicked(); return true;
    default: return false;
  }
}

bool CMirvenComputerHelperDlg::OnNotify(NMHDR* hdr, LRESULT& result) {
  if (hdr->idFrom == IDC_CLEANUP_TAB && hdr->code == TCN_SELCHANGE) {
    OnTabSelChange();
    result = 0;
    return true;
  }
  if (hdr->idFrom == IDC_CLEANUP_TREE && hdr->code == TVN_SELCHANGINGW) {
    OnTreeSelChanging(reinterpret_cast<NMTREEVIEWW*>(hdr)->itemNew.hItem);
    result = 0;
    return true;
  }
  return false;
}

void CMirvenComputerHelperDlg::OnTabSelChange() {
  bool tree = TabCtrl_GetCurSel(Item(IDC_CLEANUP_TAB)) == 0;
  ShowWindow(tree_.hwnd(), tree ? SW_SHOWNORMAL : SW_HIDE);
  ShowWindow(options_.hwnd(), tree ? SW_HIDE : SW_SHOWNORMAL);
}

void CMirvenComputerHelperDlg::OnTreeSelChanging(HTREEITEM item) {
  if (!item || scanning_) return;
  SetScanRoot(tree_.PathOfItem(item));
}

void CMirvenComputerHelperDlg::SetScanRoot(const std::string& root) {
  scanRoot_ = NormalizeRoot(root);
  if (measureJob_) measureJob_->control.Stop();
  measureJob_.reset();
  if (measureWorker_) retired_.push_back(std::move(measureWorker_));
  Prune(retired_);
  rootSizeKB_ = 0;
  rootSizeKnown_ = false;
  if (scanRoot_.empty()) {
    rootSizeKnown_ = true;
  } else if (IsDriveRoot(scanRoot_)) {
    rootSizeKB_ = DriveUsedKB(scanRoot_);
    rootSizeKnown_ = true;
  } else {
    measureJob_ = std::make_shared<MeasureJob>();
    measureJob_->generation = ++generation_;
    measureJob_->root = scanRoot_;
    measureWorker_ = StartThread([job = measureJob_, page = hwnd_] { MeasureWorker(job, page); });
  }
}

void CMirvenComputerHelperDlg::OnMeasured(uint64_t generation) {
  if (!measureJob_ || measureJob_->generation != generation) return;
  rootSizeKB_ = measureJob_->kb;
  rootSizeKnown_ = true;
  measureJob_.reset();
  if (scanning_)
    progress_.SetRange32(0, static_cast<int>(std::min<uint64_t>(ProgressMB(rootSizeKB_), INT_MAX)));
}

bool CMirvenComputerHelperDlg::AnyOptionChecked() const {
  for (int k = 0; k < options_.GetCount(); ++k)
    if (options_.GetCheck(k) == 1) return true;
  return false;
}

bool CMirvenComputerHelperDlg::StartRefused() {
  if (!scanning_ && AnyOptionChecked()) return false;
  SetStatus(kRefusal);
  return true;
}

void CMirvenComputerHelperDlg::OnScanNowClicked() {
  if (StartRefused()) return;
  ShowWindow(Item(IDC_CLEANUP_SCAN_NOW), SW_HIDE);
  StartScan();
}

void CMirvenComputerHelperDlg::OnStartClicked() {
  if (StartRefused()) {
    // The list of a running scan stays in view.
    if (!scanning_) {
      ShowWindow(Item(IDC_CLEANUP_SCAN_NOW), SW_SHOW);
      ShowWindow(junkList_.hwnd(), SW_HIDE);
    }
    return;
  }
  ShowWindow(Item(IDC_CLEANUP_SCAN_NOW), SW_HIDE);
  StartScan();
}

void CMirvenComputerHelperDlg::StartScan() {
  ShowWindow(progress_.hwnd(), SW_SHOWNORMAL);
  ShowWindow(junkList_.hwnd(), SW_SHOW);
  scanning_ = true;
  paused_ = false;

  if (scanWorker_) retired_.push_back(std::move(scanWorker_));
  Prune(retired_);
  auto job = std::make_shared<ScanJob>();
  job->generation = ++generation_;
  job->root = scanRoot_;
  if (options_.GetCheck(kTempFiles) == 1) job->patterns = JunkPatterns::Defaults();
  scanJob_ = job;

  junkList_.ResetContent();
  junkList_.UpdateHorizontalExtent();
  listed_.clear();
  pending_.clear();
  walkEnded_ = false;
  junkKB_ = junkCount_ = 0;
  SetStatusFont(FW_NORMAL);
  progress_.SetRange32(0, static_cast<int>(std::min<uint64_t>(ProgressMB(rootSizeKB_), INT_MAX)));
  progress_.SetPos(0);

  HWND page = hwnd_;
  scanWorker_ = StartThread([job, page] { ScanWorker(job, page); });
  busy_.Start();

  Enable(IDC_CLEANUP_START, false);
  Enable(IDC_CLEANUP_STOP, true);
  Enable(IDC_CLEANUP_PAUSE, true);
  pause_.SetCaption(kPauseText);
  Enable(IDC_CLEANUP_TREE, false);
}

void CMirvenComputerHelperDlg::TakeScanResults() {
  ScanJob& job = *scanJob_;
  std::string current;
  {
    std::lock_guard<std::mutex> lock(job.mutex);
    for (Found& f : job.found) pending_.push_back(std::move(f));
    job.found.clear();
    current.swap(job.current);
  }
  job.notifyPending = false;
  progress_.SetPos(static_cast<int>(std::min<uint64_t>(ProgressMB(job.scannedKB), INT_MAX)));
  if (!current.empty()) SetStatus(current);
  ShowPending();
}

bool CMirvenComputerHelperDlg::ShowPending() {
  if (pending_.empty()) return true;
  // A slice of the lines at a time, so that clicks and painting get their
  // turn between slices; the rest follows on a timer, which yields to input.
  const ULONGLONG until = GetTickCount64() + kListSliceMs;
  SendMessageW(junkList_.hwnd(), WM_SETREDRAW, FALSE, 0);
  while (!pending_.empty() && GetTickCount64() < until) {
    for (int k = 0; k < 32 && !pending_.empty(); ++k) {
      Found& f = pending_.front();
      if (listed_.emplace(f.path, Listed{f.identity, f.kb}).second) {
        ++junkCount_;
        junkKB_ += f.kb;
        junkList_.AddString(f.path);
      }
      pending_.pop_front();
    }
  }
  SendMessageW(junkList_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(junkList_.hwnd(), nullptr, TRUE);
  junkList_.UpdateHorizontalExtent();
  if (pending_.empty()) return true;
  SetTimer(hwnd_, kListTimer, 10, nullptr);
  return false;
}

void CMirvenComputerHelperDlg::OnTimer(UINT_PTR id) {
  if (id != kListTimer) {
    Default();
    return;
  }
  KillTimer(hwnd_, kListTimer);
  if (!scanJob_ || scanJob_->ended) return;
  if (ShowPending() && walkEnded_) EndScan();
}

void CMirvenComputerHelperDlg::EndScan() {
  FinishScan();
  ShowScanSummary();
}

void CMirvenComputerHelperDlg::OnScanProgress(uint64_t generation, bool done) {
  if (!scanJob_ || scanJob_->generation != generation || scanJob_->ended) return;
  if (done) walkEnded_ = true;
  TakeScanResults();
  if (done && pending_.empty()) EndScan();
}

void CMirvenComputerHelperDlg::OnStopClicked() {
  if (!scanJob_ || scanJob_->ended) return;
  // Stopping wakes a paused walk, which then ends at once.
  scanJob_->control.Stop();
  if (paused_) {
    scanJob_->control.Resume();
    paused_ = false;
  }
  pause_.SetCaption(kPauseText);
  // What is not in the list yet is dropped: only what the user saw counts.
  pending_.clear();
  FinishScan();
  ShowScanSummary();
}

void CMirvenComputerHelperDlg::OnPauseClicked() {
  if (!scanning_ || !scanJob_) return;
  if (paused_) {
    scanJob_->control.Resume();
    busy_.Resume();
    paused_ = false;
    pause_.SetCaption(kPauseText);
  } else {
    scanJob_->control.Pause();
    busy_.Pause();
    paused_ = true;
    Enable(IDC_CLEANUP_START, false);
    pause_.SetCaption(kContinueText);
  }
}

void CMirvenComputerHelperDlg::FinishScan() {
  KillTimer(hwnd_, kListTimer);
  pending_.clear();
  scanning_ = false;
  busy_.Stop();
  paused_ = false;
  if (scanJob_) {
    scanJob_->ended = true;
    scanJob_->control.Stop();
  }
  Enable(IDC_CLEANUP_START, true);
  Enable(IDC_CLEANUP_PAUSE, false);
  Enable(IDC_CLEANUP_STOP, false);
  Enable(IDC_CLEANUP_TREE, true);
  SetStatusFont(FW_BOLD);
  progress_.SetPos(static_cast<int>(std::min<uint64_t>(ProgressMB(rootSizeKB_), INT_MAX)));
}

void CMirvenComputerHelperDlg::ShowScanSummary() { SetStatus(ScanSummary(junkCount_, junkKB_)); }

void CMirvenComputerHelperDlg::SetStatusFont(int weight) {
  SendDlgItemMessageW(hwnd_, IDC_CLEANUP_STATUS, WM_SETFONT,
                      reinterpret_cast<WPARAM>(controls::PageFont(controls::Face::YaHei, 20, weight)),
                      FALSE);
}

void CMirvenComputerHelperDlg::SetStatus(const std::string& text) {
  SetItemText(IDC_CLEANUP_STATUS, text);
}

void CMirvenComputerHelperDlg::AddLine(const std::string& text) {
  junkList_.AddString(text);
  junkList_.UpdateHorizontalExtent();
}

std::vector<std::string> CMirvenComputerHelperDlg::ListedFiles() const {
  std::vector<std::string> files;
  files.reserve(listed_.size());
  for (const auto& entry : listed_) files.push_back(entry.first);
  std::sort(files.begin(), files.end());
  return files;
}

void CMirvenComputerHelperDlg::OnCleanClicked() {
  int sel = static_cast<int>(SendMessageW(junkList_.hwnd(), LB_GETCURSEL, 0, 0));
  if (sel < 0) return;
  std::string text = junkList_.GetText(sel);
  auto it = listed_.find(text);
  // Report and completion lines name no file: they just go.
  if (it == listed_.end()) {
    junkList_.DeleteString(sel);
    return;
  }
  if (DeleteIfUnchanged(it->first, it->second.identity) == DeleteResult::kDeleted) {
    SetStatus(CleanReport(1, it->second.kb, 0));
    listed_.erase(it);
    junkList_.DeleteString(sel);
  } else {
    // Kept in the list: the file is still there, or no longer the one shown.
    SetStatus(CleanReport(0, 0, 1));
  }
}

void CMirvenComputerHelperDlg::OnCleanAllClicked() {
  if (cleanJob_) return;  // the one running reports when it is done
  auto job = std::make_shared<CleanJob>();
  job->generation = ++generation_;
  job->owner = hwnd_;
  for (int k = 0; k < kOptionCount; ++k) job->chosen[k] = options_.GetCheck(k) == 1;
  // The files in the list's order, as the user sees them.
  for (int k = 0, n = junkList_.GetCount(); k < n; ++k) {
    std::string text = junkList_.GetText(k);
    auto it = listed_.find(text);
    if (it != listed_.end()) job->files.push_back(Found{text, it->second.identity, it->second.kb});
  }
  cleanJob_ = job;
  if (cleanWorker_) retired_.push_back(std::move(cleanWorker_));
  Prune(retired_);
  HWND page = hwnd_;
  cleanWorker_ = StartThread([job, page] { CleanWorker(job, page); });
}

void CMirvenComputerHelperDlg::TakeCleanResults() {
  CleanJob& job = *cleanJob_;
  std::vector<std::string> lines, deleted;
  std::string current;
  {
    std::lock_guard<std::mutex> lock(job.mutex);
    lines.swap(job.lines);
    deleted.swap(job.deleted);
    current.swap(job.current);
  }
  job.notifyPending = false;
  for (const std::string& path : deleted) listed_.erase(path);
  if (!current.empty()) SetStatus(current);
  for (const std::string& line : lines) AddLine(line);
}

void CMirvenComputerHelperDlg::OnCleanProgress(uint64_t generation, bool done) {
  if (!cleanJob_ || cleanJob_->generation != generation) return;
  TakeCleanResults();
  if (!done) return;
  cleanJob_.reset();
  SetStatus(kCleanFinished);
}

void CMirvenComputerHelperDlg::OnSelectAllClicked() {
  for (int k = 0; k < options_.GetCount(); ++k) options_.SetCheck(k, 1);
}

void CMirvenComputerHelperDlg::OnSelectNoneClicked() {
  for (int k = 0; k < options_.GetCount(); ++k) options_.SetCheck(k, 0);
}

void CMirvenComputerHelperDlg::OnClose() {
  if (scanning_ &&
      ui::effects().ShowMessage(hwnd_, kCloseQuestion, kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  ui::effects().ExitProcess(0);
}
