#include "cleanup/MirvenComputerHelperDlg.h"

#include <commctrl.h>

#include "cleanup/Traces.h"
#include "res/Bitmaps.h"
#include "res/resource.h"
#include "ui/Effects.h"
#include "ui/Gdi.h"

using namespace cleanup;

namespace {

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
  if (run_) run_->Session().Stop();
}

CleanupWork::View CMirvenComputerHelperDlg::WorkView() {
  CleanupWork::View view;
  view.pending = [this] { ShowPending(); };
  view.progress = [this](const ScanProgress& p) {
    progress_.SetPos(ProgressPos(p.scannedKB));
    if (!p.path.empty()) status_.Show(p.path, true);
  };
  view.line = [this](const std::string& line) { junkList_.AddMessage(rows_, line); };
  view.item = [this](int option, const std::string& text) {
    junkList_.AddItem(rows_, option, text);
  };
  view.status = [this](const std::string& path) { status_.Show(path, true); };
  view.cleaned = [this](size_t k) { junkList_.MarkDone(cleaning_[k]); };
  view.optionCleared = [this](int option, const OptionResult& r) {
    // A skipped or failed item stays to clean again.
    auto row = rows_.ItemRow(option);
    if (row && r.state != OptionResult::State::kSkipped && r.state != OptionResult::State::kFailed)
      junkList_.MarkDone(*row);
  };
  view.cleanFinished = [this](const CleanTally& tally) { FinishClean(tally); };
  view.measured = [this] {
    if (flow_.Scanning()) progress_.SetRange32(0, ProgressPos(RootSizeKB()));
  };
  view.options = [this](std::vector<bool> present, std::optional<OptionSet> remembered) {
    options_.ShowPrograms(std::move(present), remembered);
  };
  return view;
}

void CMirvenComputerHelperDlg::BindControls() {
  options_.SubclassDlgItem(IDC_CLEANUP_OPTIONS, hwnd_);
  options_.toggled = [this] { work_->SaveTicks(choices_.Ticks()); };
  junkList_.SubclassDlgItem(IDC_CLEANUP_JUNK_LIST, hwnd_);
  junkList_.Bind(rows_);
  junkList_.contextMenu = [this](int index, POINT at) {
    KeepLineMenu(hwnd_, junkList_, rows_, index, at);
  };
  junkList_.more = [this] { ShowPending(); };
  status_.Bind(Item(IDC_CLEANUP_STATUS));
  progress_.SubclassDlgItem(IDC_CLEANUP_PROGRESS, hwnd_);
  tree_.SubclassDlgItem(IDC_CLEANUP_TREE, hwnd_);
  scanNow_.Bind(IDC_CLEANUP_SCAN_NOW, hwnd_, IDB_FACE_BIG, IDB_FACE_BIG_HOVER);
  for (auto [button, id] : {std::pair{&start_, IDC_CLEANUP_START},
                            {&clean_, IDC_CLEANUP_CLEAN},
                            {&cleanAll_, IDC_CLEANUP_CLEAN_ALL},
                            {&pause_, IDC_CLEANUP_PAUSE},
                            {&stop_, IDC_CLEANUP_STOP},
                            {&selectAll_, IDC_CLEANUP_SELECT_ALL},
                            {&selectNone_, IDC_CLEANUP_SELECT_NONE},
                            {&keepList_, IDC_CLEANUP_KEEP_LIST}})
    button->Bind(id, hwnd_, IDB_FACE_SMALL, IDB_FACE_SMALL_HOVER);
  busy_.Create(hwnd_, IDC_CLEANUP_BUSY,
               {IDB_BUSY_1, IDB_BUSY_2, IDB_BUSY_3, IDB_BUSY_4, IDB_BUSY_5, IDB_BUSY_6, IDB_BUSY_7,
                IDB_BUSY_8, IDB_BUSY_9},
               130);
}

BOOL CMirvenComputerHelperDlg::OnInitDialog() {
  controls::Page::OnInitDialog();
  work_ = std::make_unique<CleanupWork>(hwnd_, flow_, WorkView());
  BindControls();
  // The classic options until the worker tells which programs are installed.
  options_.Show(choices_);
  work_->LookForPrograms();
  SetScanRoot(traces().ProfileFolder());
  progress_.SetRange32(0, ProgressPos(RootSizeKB()));
  ShowFlow();
  status_.SetWeight(FW_BOLD, dpi_);
  status_.Show(kIntroduction);
  SetFramed(true);
  SetLayout(kLayout);

  HWND tab = Item(IDC_CLEANUP_TAB);
  ui::InsertTab(tab, 0, "扫描目录");
  ui::InsertTab(tab, 1, "清理选项");
  OnDpiApplied();

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

bool CMirvenComputerHelperDlg::StartRefused() {
  const bool refused = flow_.Scanning() || flow_.Cleaning() || !choices_.AnyChosen();
  if (!refused && runLock_.TryAcquire()) return false;
  status_.Show(refused ? kRefusal : kAnotherRun);
  return true;
}

void CMirvenComputerHelperDlg::OnStartClicked() {
  if (!StartRefused()) return StartScan();
  // The list of a running scan stays in view.
  if (flow_.Scanning()) return;
  ShowWindow(Item(IDC_CLEANUP_SCAN_NOW), SW_SHOW);
  ShowWindow(junkList_.hwnd(), SW_HIDE);
}

void CMirvenComputerHelperDlg::StartScan() {
  ShowWindow(Item(IDC_CLEANUP_SCAN_NOW), SW_HIDE);
  ShowWindow(progress_.hwnd(), SW_SHOWNORMAL);
  ShowWindow(junkList_.hwnd(), SW_SHOW);
  rows_.Clear();
  junkList_.ResetContent();
  junkList_.UpdateHorizontalExtent();
  status_.SetWeight(FW_NORMAL, dpi_);
  progress_.SetRange32(0, ProgressPos(RootSizeKB()));
  progress_.SetPos(0);
  flow_.StartScan();
  run_ = work_->StartScan(ScanRoot(), choices_.Chosen(), ReadKeepListTelling(hwnd_, keepWarning_));
  if (!run_) {
    // No thread, no scan: say so rather than look busy.
    flow_.FinishScan();
    runLock_.Release();
    status_.Show(kScanNotStarted);
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

void CMirvenComputerHelperDlg::ShowPending() {
  if (!flow_.Scanning() || !junkList_.TakeFound(rows_, run_->Session())) return;
  // The items are measured after the walk; the worker says when they are.
  if (run_->Scanned())
    FinishScan();
  else
    junkList_.Thaw();
}

void CMirvenComputerHelperDlg::OnStopClicked() {
  if (!flow_.Scanning()) return;
  // What is not in the list yet is dropped: only what the user saw counts.
  run_->Session().Stop();
  FinishScan();
}

void CMirvenComputerHelperDlg::OnPauseClicked() {
  if (flow_.Resume()) {
    run_->Session().Resume();
    busy_.Resume();
  } else if (flow_.Pause()) {
    run_->Session().Pause();
    busy_.Pause();
  }
  ShowFlow();
}

void CMirvenComputerHelperDlg::FinishScan() {
  junkList_.EndFound();
  run_->Session().Stop();
  flow_.FinishScan();
  runLock_.Release();
  busy_.Stop();
  ShowFlow();
  status_.SetWeight(FW_BOLD, dpi_);
  progress_.SetPos(ProgressPos(RootSizeKB()));
  status_.Show(run_->Summary());
}

void CMirvenComputerHelperDlg::OnDpiApplied() {
  status_.Rescale(dpi_);
  // Both tabs side by side; the selected one is drawn 2 design pixels wider.
  ui::ShareTabWidth(Item(IDC_CLEANUP_TAB), 2, S(3));
}

void CMirvenComputerHelperDlg::OnCleanClicked() {
  auto id = junkList_.SelectedRow();
  const CleanupRow* row = id ? rows_.Row(*id) : nullptr;
  if (!row || !flow_.Controls().clean) return;
  if (row->kind == CleanupRow::Kind::kItem) {
    // An item is cleaned alone, by its program's rules, like "全部清理" would.
    if (!runLock_.TryAcquire()) return status_.Show(kAnotherRun);
    OptionSet only = NoOptions();
    only[static_cast<size_t>(row->option)] = true;
    return StartClean({}, std::move(only), CleanMode::kPermanent);
  }
  // Report, completion and cleaned lines name no file to delete: they just go.
  const auto mode = row->kind == CleanupRow::Kind::kFile ? work_->AskMode(1) : std::nullopt;
  if (row->kind == CleanupRow::Kind::kFile && !mode) return;
  if (mode) {
    CleanOneResult r = work_->CleanNow(row->file, *mode);
    status_.Show(r.status);
    if (!r.removeLine) return;
  }
  junkList_.Remove(rows_, *id);
}

void CMirvenComputerHelperDlg::OnCleanAllClicked() {
  if (!flow_.Controls().cleanAll) return;  // the one running reports when it is done
  if (!runLock_.TryAcquire()) return status_.Show(kAnotherRun);
  // The ticked files in the list's order, as the user sees them.
  CleanupList::Ticked ticked = rows_.TickedFiles();
  const auto mode = work_->AskMode(ticked.files.size());
  if (!mode) return runLock_.Release();
  StartClean(std::move(ticked), rows_.CleanOptions(choices_.Chosen()), *mode);
}

void CMirvenComputerHelperDlg::StartClean(CleanupList::Ticked ticked, OptionSet options,
                                          CleanMode mode) {
  if (!flow_.StartClean()) return runLock_.Release();
  cleaning_ = std::move(ticked.ids);
  if (!work_->StartClean(std::move(ticked.files), std::move(options), mode)) {
    flow_.FinishClean();
    runLock_.Release();
    status_.Show(kCleanNotStarted);
  }
  ShowFlow();
}

void CMirvenComputerHelperDlg::FinishClean(const CleanTally& tally) {
  flow_.FinishClean();
  runLock_.Release();
  ShowFlow();
  // Recycled files still take their room until the bin is emptied: say so.
  status_.Show(tally.recycled ? RecycledStatus(tally) : std::string(kCleanFinished));
}

void CMirvenComputerHelperDlg::OnKeepListClicked() {
  CKeepListDlg(traces().KeepListFile(), traces().KeepSitesFile()).DoModal(hwnd_);
}

void CMirvenComputerHelperDlg::OnClose() {
  if (flow_.Scanning() && ui::effects().ShowMessage(hwnd_, kCloseQuestion, kCaption,
                                                    MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  ui::effects().ExitProcess(0);
}
