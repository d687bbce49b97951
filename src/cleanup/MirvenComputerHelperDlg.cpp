#include "cleanup/MirvenComputerHelperDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "base/Paths.h"
#include "base/WinLister.h"
#include "cleanup/CleanJob.h"
#include "cleanup/CleanupText.h"
#include "cleanup/FileOps.h"
#include "cleanup/KeepListDlg.h"
#include "cleanup/KeepStore.h"
#include "cleanup/ScanWalk.h"
#include "cleanup/Traces.h"
#include "controls/Fonts.h"
#include "res/Bitmaps.h"
#include "res/resource.h"
#include "ui/Effects.h"
#include "ui/Gdi.h"
#include "ui/Task.h"
#include "base/Text.h"

using namespace cleanup;

namespace {

constexpr UINT_PTR kListTimer = 1;
constexpr ULONGLONG kListSliceMs = 40;
constexpr ULONGLONG kListShowMs = 500;
constexpr size_t kSliceFiles = 32;
constexpr UINT kKeepFileCommand = 1, kKeepFolderCommand = 2;

// The status line has two lines' room, so that the summary is read whole;
// only a path is cut short, in its middle.
constexpr controls::Place kLayout[] = {
    {IDC_CLEANUP_BUSY, 14, 8, 24, 24},
    {IDC_CLEANUP_PROGRESS, 45, 10, 187, 14, false},
    {IDC_CLEANUP_STATUS, 45, 30, 469, 44, false, controls::kStatusFont},
    {IDC_CLEANUP_START, 240, 4, 88, 25, true},
    {IDC_CLEANUP_PAUSE, 333, 4, 88, 25, true},
    {IDC_CLEANUP_STOP, 426, 4, 88, 25, true},
    {IDC_CLEANUP_JUNK_LIST, 10, 76, 504, 284, false},
    {IDC_CLEANUP_SCAN_NOW, 157, 160, 210, 95, true},
    {IDC_CLEANUP_TAB, 520, 10, 251, 24, false},
    {IDC_CLEANUP_TREE, 520, 34, 251, 326, false},
    {IDC_CLEANUP_OPTIONS, 520, 34, 251, 296, false},
    {IDC_CLEANUP_KEEP_LIST, 520, 335, 88, 25, true},
    {IDC_CLEANUP_CLEAN, 10, 367, 88, 25, true},
    {IDC_CLEANUP_CLEAN_ALL, 103, 367, 88, 25, true},
    {IDC_CLEANUP_SELECT_ALL, 520, 367, 88, 25, true},
    {IDC_CLEANUP_SELECT_NONE, 613, 367, 88, 25, true},
};

}  // namespace

CMirvenComputerHelperDlg::CMirvenComputerHelperDlg() : controls::Page(kTemplate) {}

CMirvenComputerHelperDlg::~CMirvenComputerHelperDlg() {
  if (session_) session_->Stop();
}

BOOL CMirvenComputerHelperDlg::OnInitDialog() {
  controls::Page::OnInitDialog();
  options_.SubclassDlgItem(IDC_CLEANUP_OPTIONS, hwnd_);
  junkList_.SubclassDlgItem(IDC_CLEANUP_JUNK_LIST, hwnd_);
  junkList_.tickOf = [this](LPARAM data) {
    const CleanupRow* row = rows_.Row(static_cast<CleanupList::RowId>(data));
    return row && row->kind == CleanupRow::Kind::kFile ? (row->ticked ? 1 : 0) : -1;
  };
  junkList_.toggle = [this](int index) { ToggleLine(index); };
  junkList_.contextMenu = [this](int index, POINT screen) { ShowLineMenu(index, screen); };
  progress_.SubclassDlgItem(IDC_CLEANUP_PROGRESS, hwnd_);
  tree_.SubclassDlgItem(IDC_CLEANUP_TREE, hwnd_);
  scanNow_.Bind(IDC_CLEANUP_SCAN_NOW, hwnd_, IDB_FACE_BIG, IDB_FACE_BIG_HOVER);
  for (auto [button, id] : {std::pair{&start_, IDC_CLEANUP_START},
                            {&clean_, IDC_CLEANUP_CLEAN},
                            {&cleanAll_, IDC_CLEANUP_CLEAN_ALL},
                            {&pause_, IDC_CLEANUP_PAUSE},
                            {&stop_, IDC_CLEANUP_STOP},
                            {&selectAll_, IDC_CLEANUP_SELECT_ALL},
                            {&selectNone_, IDC_CLEANUP_SELECT_NONE}})
    button->Bind(id, hwnd_, IDB_FACE_SMALL, IDB_FACE_SMALL_HOVER);
  keepList_.Bind(IDC_CLEANUP_KEEP_LIST, hwnd_, IDB_FACE_SMALL, IDB_FACE_SMALL_HOVER);
  for (int k = 0; k < kOptionCount; ++k) {
    options_.InsertString(k, OptionText(k));
    options_.SetCheck(k, 1);
  }
  SetScanRoot(traces().ProfileFolder());
  progress_.SetRange32(0, ProgressPos(rootSizeKB_));
  ShowFlow();
  SetStatusFont(FW_BOLD);
  SetStatus(kIntroduction);
  SetFramed(true);
  busy_.Create(hwnd_, IDC_CLEANUP_BUSY,
               {IDB_BUSY_1, IDB_BUSY_2, IDB_BUSY_3, IDB_BUSY_4, IDB_BUSY_5, IDB_BUSY_6, IDB_BUSY_7,
                IDB_BUSY_8, IDB_BUSY_9},
               130);
  SetLayout(kLayout);

  HWND tab = Item(IDC_CLEANUP_TAB);
  ui::InsertTab(tab, 0, "扫描目录");
  ui::InsertTab(tab, 1, "清理选项");
  SetTabWidths();

  ShowWindow(options_.hwnd(), SW_HIDE);
  ShowWindow(tree_.hwnd(), SW_SHOWNORMAL);
  tree_.ShowFolderTree();
  return TRUE;
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
    case IDC_CLEANUP_KEEP_LIST: OnKeepListClicked(); return true;
    default: return false;
  }
}

bool CMirvenComputerHelperDlg::OnNotify(NMHDR* hdr, LRESULT& result) {
  if (hdr->idFrom == IDC_CLEANUP_TAB && hdr->code == TCN_SELCHANGE) {
    bool tree = TabCtrl_GetCurSel(Item(IDC_CLEANUP_TAB)) == 0;
    ShowWindow(tree_.hwnd(), tree ? SW_SHOWNORMAL : SW_HIDE);
    ShowWindow(options_.hwnd(), tree ? SW_HIDE : SW_SHOWNORMAL);
    ShowWindow(Item(IDC_CLEANUP_KEEP_LIST), tree ? SW_HIDE : SW_SHOWNORMAL);
  } else if (hdr->idFrom == IDC_CLEANUP_TREE && hdr->code == TVN_SELCHANGINGW) {
    HTREEITEM item = reinterpret_cast<NMTREEVIEWW*>(hdr)->itemNew.hItem;
    if (item && !flow_.Scanning()) SetScanRoot(tree_.PathOfItem(item));
  } else {
    return false;
  }
  result = 0;
  return true;
}

void CMirvenComputerHelperDlg::SetScanRoot(const std::string& root) {
  scanRoot_ = NormalizeRoot(root);
  if (measureControl_) measureControl_->Stop();
  measureWorker_.Abandon();
  rootSizeKB_ = 0;
  rootSizeKnown_ = scanRoot_.empty() || base::IsDriveRoot(scanRoot_);
  if (base::IsDriveRoot(scanRoot_)) rootSizeKB_ = DriveUsedKB(scanRoot_);
  if (rootSizeKnown_) return;
  auto control = measureControl_ = std::make_shared<ScanControl>();
  bool started = measureWorker_.Start([=, folder = scanRoot_, page = hwnd_](const auto& run) {
    uint64_t kb = 0;
    if (!IsLinkFolder(folder)) {
      base::WinLister lister;
      kb = FolderSizeKB(lister, folder, control.get());
    }
    run.Post(page, [this, kb] {
      rootSizeKB_ = kb;
      rootSizeKnown_ = true;
      if (flow_.Scanning()) progress_.SetRange32(0, ProgressPos(rootSizeKB_));
    });
  });
  // Without a worker the size stays unknown: the bar then only fills at the end.
  if (!started) rootSizeKnown_ = true;
}

bool CMirvenComputerHelperDlg::StartRefused() {
  if (flow_.Scanning() || flow_.Cleaning() || !options_.AnyChecked()) {
    SetStatus(kRefusal);
    return true;
  }
  if (runLock_.TryAcquire()) return false;
  SetStatus(kAnotherRun);
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
    if (!flow_.Scanning()) {
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
  rows_.Clear();
  junkList_.ResetContent();
  junkList_.UpdateHorizontalExtent();
  SetStatusFont(FW_NORMAL);
  progress_.SetRange32(0, ProgressPos(rootSizeKB_));
  progress_.SetPos(0);

  // The session reports from its worker's run, which tags what it posts:
  // an older scan's reports are dropped.
  auto run = std::make_shared<std::optional<ui::StopToken>>();
  auto post = [this, run, page = hwnd_](std::function<void()> show) {
    (*run)->Post(page, [this, show] {
      if (flow_.Scanning()) show();
    });
  };
  ScanSession::Callbacks callbacks{[post, this] { post([this] { ShowPending(); }); },
                                   [post, this](const ScanProgress& p) {
                                     post([this, p] {
                                       progress_.SetPos(ProgressPos(p.scannedKB));
                                       if (!p.path.empty()) SetStatus(p.path, true);
                                     });
                                   },
                                   [post, this] { post([this] { ShowPending(); }); }};
  auto patterns = options_.GetCheck(kTempFiles) == 1 ? JunkPatterns::Defaults() : JunkPatterns();
  // A root that is itself a link is not walked: what it shows lies elsewhere.
  std::string root = IsLinkFolder(scanRoot_) ? std::string() : scanRoot_;
  session_ =
      std::make_shared<ScanSession>(std::move(root), std::move(patterns), std::move(callbacks));
  session_->Keep(ReadKeepList());
  flow_.StartScan();
  bool started = scanWorker_.Start([session = session_, run](const ui::StopToken& token) {
    *run = token;
    base::WinLister lister;
    session->Run(lister);
  });
  if (!started) {
    // No thread, no scan: say so rather than look busy.
    flow_.FinishScan();
    runLock_.Release();
    SetStatus(kScanNotStarted);
    return;
  }
  busy_.Start();
  ShowFlow();
}

void CMirvenComputerHelperDlg::ShowFlow() {
  const CleanupFlow::Enabled on = flow_.Controls();
  Enable(IDC_CLEANUP_START, on.start);
  Enable(IDC_CLEANUP_PAUSE, on.pause);
  Enable(IDC_CLEANUP_STOP, on.stop);
  Enable(IDC_CLEANUP_TREE, on.tree);
  Enable(IDC_CLEANUP_CLEAN, on.clean);
  Enable(IDC_CLEANUP_CLEAN_ALL, on.cleanAll);
  pause_.SetCaption(flow_.PauseCaption());
}

void CMirvenComputerHelperDlg::AddFileLine(const FoundFile& file) {
  size_t at = rows_.AddFile(file, junkList_.SortKey(file.path));
  junkList_.InsertString(static_cast<int>(at), file.path, rows_.LastId());
}

void CMirvenComputerHelperDlg::AddMessageLine(const std::string& text) {
  size_t at = rows_.AddMessage(text, junkList_.SortKey(text));
  junkList_.InsertString(static_cast<int>(at), text, rows_.LastId());
}

void CMirvenComputerHelperDlg::RemoveLine(CleanupList::RowId id) {
  if (auto at = rows_.Remove(id)) junkList_.DeleteString(static_cast<int>(*at));
}

void CMirvenComputerHelperDlg::ShowPending() {
  KillTimer(hwnd_, kListTimer);
  // A slice of the lines at a time, so that clicks and painting get their
  // turn between slices; the rest follows on a timer, which yields to input.
  const ULONGLONG start = GetTickCount64();
  // The list stays frozen across slices: turning its drawing back on costs
  // as much as a thousand lines, so the new lines show twice a second.
  if (!listFrozen_) SendMessageW(junkList_.hwnd(), WM_SETREDRAW, FALSE, 0);
  listFrozen_ = true;
  std::vector<FoundFile> slice;
  while (GetTickCount64() < start + kListSliceMs &&
         !(slice = session_->TakeSlice(kSliceFiles)).empty())
    for (const FoundFile& f : slice) AddFileLine(f);
  if (start >= listShown_ + kListShowMs) {
    ThawList();
    listShown_ = start;
  }
  if (session_->Done()) {
    FinishScan();
  } else if (session_->HasPending()) {
    SetTimer(hwnd_, kListTimer, 10, nullptr);
  } else if (listFrozen_) {
    // Lines not yet shown while the walk finds nothing more: shown soon.
    SetTimer(hwnd_, kListTimer, static_cast<UINT>(kListShowMs), nullptr);
  }
}

void CMirvenComputerHelperDlg::ThawList() {
  if (!listFrozen_) return;
  listFrozen_ = false;
  SendMessageW(junkList_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(junkList_.hwnd(), nullptr, TRUE);
  junkList_.UpdateHorizontalExtent();
}

void CMirvenComputerHelperDlg::OnTimer(UINT_PTR id) {
  if (id != kListTimer) {
    Default();
    return;
  }
  KillTimer(hwnd_, kListTimer);
  if (flow_.Scanning()) ShowPending();
}

void CMirvenComputerHelperDlg::OnStopClicked() {
  if (!flow_.Scanning()) return;
  // What is not in the list yet is dropped: only what the user saw counts.
  session_->Stop();
  FinishScan();
}

void CMirvenComputerHelperDlg::OnPauseClicked() {
  if (flow_.Resume()) {
    session_->Resume();
    busy_.Resume();
  } else if (flow_.Pause()) {
    session_->Pause();
    busy_.Pause();
  }
  ShowFlow();
}

void CMirvenComputerHelperDlg::FinishScan() {
  KillTimer(hwnd_, kListTimer);
  ThawList();
  session_->Stop();
  flow_.FinishScan();
  runLock_.Release();
  busy_.Stop();
  ShowFlow();
  SetStatusFont(FW_BOLD);
  progress_.SetPos(ProgressPos(rootSizeKB_));
  SetStatus(session_->Summary() + SkippedFoldersNote(session_->Counts().unreadableFolders));
}

void CMirvenComputerHelperDlg::SetStatusFont(int weight) {
  statusWeight_ = weight;
  SendDlgItemMessageW(
      hwnd_, IDC_CLEANUP_STATUS, WM_SETFONT,
      reinterpret_cast<WPARAM>(controls::PageFont(
          {controls::kStatusFont.face, controls::kStatusFont.height, weight, false}, dpi_)),
      FALSE);
}

void CMirvenComputerHelperDlg::OnDpiApplied() {
  SetStatusFont(statusWeight_);
  SetTabWidths();
}

void CMirvenComputerHelperDlg::SetTabWidths() {
  // Both tabs side by side, each half the control less the 2 design pixels
  // by which the selected tab is drawn wider on either side: a pixel more
  // and the control shows its scroll arrows and cuts a caption.
  HWND tab = Item(IDC_CLEANUP_TAB);
  SendMessageW(tab, TCM_SETMINTABWIDTH, 0, ui::WindowSize(tab).cx / 2 - S(3));
}

void CMirvenComputerHelperDlg::SetStatus(const std::string& text, bool path) {
  // A path stays on one line, shortened in its middle; sentences wrap.
  HWND status = Item(IDC_CLEANUP_STATUS);
  const LONG_PTR pathStyles = SS_PATHELLIPSIS | SS_LEFTNOWORDWRAP;
  LONG_PTR style =
      GetWindowLongPtrW(status, GWL_STYLE) & ~static_cast<LONG_PTR>(SS_TYPEMASK | SS_ELLIPSISMASK);
  SetWindowLongPtrW(status, GWL_STYLE, style | (path ? pathStyles : SS_LEFT));
  SetItemText(IDC_CLEANUP_STATUS, text);
}

std::vector<std::string> CMirvenComputerHelperDlg::ListedFiles() const {
  std::vector<std::string> files;
  for (const FoundFile& f : rows_.Files()) files.push_back(f.path);
  std::sort(files.begin(), files.end());
  return files;
}

void CMirvenComputerHelperDlg::OnCleanClicked() {
  int sel = static_cast<int>(SendMessageW(junkList_.hwnd(), LB_GETCURSEL, 0, 0));
  if (sel < 0 || !flow_.Controls().clean) return;
  const auto id = static_cast<CleanupList::RowId>(junkList_.GetItemData(sel));
  const CleanupRow* row = rows_.Row(id);
  if (!row) return;
  // Report, completion and cleaned lines name no file to delete: they just go.
  if (row->kind != CleanupRow::Kind::kFile) {
    RemoveLine(id);
    return;
  }
  const auto mode = ChosenMode(1);
  if (!mode) return;
  WinDeleter deleter;
  WinRecycleBin bin;
  CleanOneResult r = CleanOne(deleter, &bin, *mode, row->file);
  SetStatus(r.status);
  if (r.removeLine) {
    if (session_) session_->Forget(row->file.path);
    RemoveLine(id);
  }
}

std::optional<CleanMode> CMirvenComputerHelperDlg::ChosenMode(size_t files) {
  // Shift with the click deletes for good, as Shift+Delete does in Explorer.
  if (GetKeyState(VK_SHIFT) >= 0) return CleanMode::kRecycle;
  if (ui::effects().ShowMessage(hwnd_, PermanentQuestion(files), kCaption,
                                MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
    return std::nullopt;
  return CleanMode::kPermanent;
}

void CMirvenComputerHelperDlg::OnCleanAllClicked() {
  if (!flow_.Controls().cleanAll) return;  // the one running reports when it is done
  if (!runLock_.TryAcquire()) {
    SetStatus(kAnotherRun);
    return;
  }
  // The ticked files in the list's order, as the user sees them.
  CleanupList::Ticked ticked = rows_.TickedFiles();
  const auto mode = ChosenMode(ticked.files.size());
  if (!mode || !flow_.StartClean()) {
    runLock_.Release();
    return;
  }
  auto files = std::make_shared<std::vector<FoundFile>>(std::move(ticked.files));
  auto ids = std::make_shared<std::vector<CleanupList::RowId>>(std::move(ticked.ids));
  CleanChoice chosen;
  for (int k = 0; k < kOptionCount; ++k) chosen[k] = options_.GetCheck(k) == 1;
  const HWND page = hwnd_;
  // What this clean posts is for these rows only: a new scan empties them.
  const uint64_t epoch = rows_.Epoch();
  bool started = cleanWorker_.Start([=](const ui::StopToken& run) {
    auto post = [this, page, epoch, &run](std::function<void()> show) {
      run.Post(page, [this, epoch, show] {
        if (rows_.Epoch() == epoch) show();
      });
    };
    CleanJobSink sink{[this, post, files, ids, session = session_](size_t k) {
                        post([this, files, ids, session, k] {
                          if (session) session->Forget((*files)[k].path);
                          rows_.MarkDone((*ids)[k]);
                          // Its box goes: the file is no longer to clean.
                          if (auto at = rows_.IndexOf((*ids)[k]))
                            junkList_.RedrawLine(static_cast<int>(*at));
                        });
                      },
                      [this, page, &run](const std::string& path) {
                        run.Post(page, [this, path] { SetStatus(path, true); });
                      },
                      [this, post](const std::string& line) {
                        post([this, line] {
                          AddMessageLine(line);
                          junkList_.UpdateHorizontalExtent();
                        });
                      }};
    CleanTally tally = RunCleanJob(
        *files, chosen, *mode, page, [&run] { return run.StopRequested(); }, sink);
    run.Post(page, [this, tally] {
      flow_.FinishClean();
      runLock_.Release();
      ShowFlow();
      // Recycled files still take their room until the bin is emptied: say so.
      SetStatus(tally.recycled ? RecycledStatus(tally) : std::string(kCleanFinished));
    });
  });
  if (!started) {
    flow_.FinishClean();
    runLock_.Release();
  }
  ShowFlow();
  if (!started) SetStatus(kCleanNotStarted);
}

KeepList CMirvenComputerHelperDlg::ReadKeepList() {
  KeepFile kf = ReadKeepFile(traces().KeepListFile());
  std::string warning = kf.state == KeepFile::State::kUnreadable ? std::string(kKeepFileUnreadable)
                        : kf.list.Unreadable() ? KeepUnreadableLinesNote(kf.list.Unreadable())
                                               : std::string();
  // Said once: the file stays as it is until the user changes the list.
  if (!warning.empty() && warning != keepWarning_)
    ui::effects().ShowMessage(hwnd_, warning, kCaption, MB_OK | MB_ICONWARNING);
  keepWarning_ = warning;
  return std::move(kf.list);
}

void CMirvenComputerHelperDlg::ToggleLine(int index) {
  if (index < 0 || static_cast<size_t>(index) >= rows_.Count()) return;
  if (rows_.Toggle(rows_.IdAt(static_cast<size_t>(index)))) junkList_.RedrawLine(index);
}

void CMirvenComputerHelperDlg::ShowLineMenu(int index, POINT screen) {
  if (index < 0 || static_cast<size_t>(index) >= rows_.Count()) return;
  const CleanupRow* row = rows_.Row(rows_.IdAt(static_cast<size_t>(index)));
  if (!row || row->kind != CleanupRow::Kind::kFile) return;
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kKeepFileCommand, L"不再清理此文件");
  AppendMenuW(menu, MF_STRING, kKeepFolderCommand, L"不再清理此文件夹中的文件");
  UINT chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd_, nullptr));
  DestroyMenu(menu);
  if (chosen == kKeepFileCommand || chosen == kKeepFolderCommand)
    KeepSelected(chosen == kKeepFolderCommand);
}

void CMirvenComputerHelperDlg::KeepSelected(bool folder) {
  int sel = static_cast<int>(SendMessageW(junkList_.hwnd(), LB_GETCURSEL, 0, 0));
  if (sel < 0) return;
  const CleanupRow* row = rows_.Row(static_cast<CleanupList::RowId>(junkList_.GetItemData(sel)));
  if (!row || row->kind != CleanupRow::Kind::kFile) return;
  std::string path = row->file.path;
  if (folder) path = path.substr(0, path.find_last_of('\\'));
  std::string message =
      UpdateKeepFile(traces().KeepListFile(), [&](KeepList& list) { return list.Add(path); });
  if (!message.empty()) {
    ui::effects().ShowMessage(hwnd_, message, kCaption, MB_OK | MB_ICONWARNING);
    return;
  }
  // What is kept now leaves the list; the next scans skip it.
  KeepList kept;
  kept.Add(path);
  for (size_t k = rows_.Count(); k-- > 0;) {
    const CleanupList::RowId id = rows_.IdAt(k);
    const CleanupRow* r = rows_.Row(id);
    if (r->kind != CleanupRow::Kind::kFile || !kept.Keeps(r->file.path)) continue;
    if (session_) session_->Forget(r->file.path);
    RemoveLine(id);
  }
}

void CMirvenComputerHelperDlg::OnKeepListClicked() {
  CKeepListDlg dialog(traces().KeepListFile(), traces().KeepSitesFile());
  dialog.DoModal(hwnd_);
}

void CMirvenComputerHelperDlg::OnSelectAllClicked() {
  for (int k = 0; k < options_.GetCount(); ++k) options_.SetCheck(k, 1);
}

void CMirvenComputerHelperDlg::OnSelectNoneClicked() {
  for (int k = 0; k < options_.GetCount(); ++k) options_.SetCheck(k, 0);
}

void CMirvenComputerHelperDlg::OnClose() {
  if (flow_.Scanning() && ui::effects().ShowMessage(hwnd_, kCloseQuestion, kCaption,
                                                    MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  ui::effects().ExitProcess(0);
}
