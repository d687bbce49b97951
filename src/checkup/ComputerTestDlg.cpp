#include "checkup/ComputerTestDlg.h"

#include <optional>

#include "checkup/CheckUpSystem.h"
#include "controls/Fonts.h"
#include "res/Bitmaps.h"
#include "res/resource.h"
#include "ui/Gdi.h"

using namespace checkup;

namespace {

constexpr controls::FontStyle kHeadlineFont{controls::Face::YaHei, 22, FW_BOLD, false};
constexpr controls::FontStyle kSmallFont{controls::Face::Song, 12, FW_BOLD, false};

constexpr controls::Place kLayout[] = {
    {IDC_CHECKUP_ICON, 20, 20, 90, 90},
    {IDC_CHECKUP_START, 165, 200, 210, 95, true},
    {IDC_CHECKUP_HEADLINE, 122, 26, 405, 56, false, kHeadlineFont},
    {IDC_CHECKUP_PROGRESS, 125, 92, 295, 14, false},
    {IDC_CHECKUP_STOP, 427, 86, 88, 25, true},
    {IDC_CHECKUP_LIST, 20, 125, 495, 260, false},
    {IDC_CHECKUP_SUMMARY_LABEL, 545, 45, 150, 30, false, kHeadlineFont},
    {IDC_CHECKUP_WINDOWS_LABEL, 545, 100, 225, 28, false, kHeadlineFont},
    {IDC_CHECKUP_WINDOWS, 545, 132, 225, 18, false, kSmallFont},
    {IDC_CHECKUP_SERVICE_PACK, 545, 154, 120, 18, false, kSmallFont},
    {IDC_CHECKUP_BITNESS, 670, 154, 100, 18, false, kSmallFont},
    {IDC_CHECKUP_PROCESSOR_LABEL, 545, 190, 70, 18, false, kSmallFont},
    {IDC_CHECKUP_PROCESSOR, 615, 190, 160, 34, false, kSmallFont},
    {IDC_CHECKUP_MEMORY_LABEL, 545, 230, 70, 18, false, kSmallFont},
    {IDC_CHECKUP_MEMORY, 615, 230, 160, 18, false, kSmallFont},
    {IDC_CHECKUP_VIRTUAL_LABEL, 545, 256, 70, 18, false, kSmallFont},
    {IDC_CHECKUP_VIRTUAL, 615, 256, 160, 18, false, kSmallFont},
    {IDC_CHECKUP_DISK_LABEL, 545, 282, 70, 18, false, kSmallFont},
    {IDC_CHECKUP_DISK, 615, 282, 160, 18, false, kSmallFont},
    {IDC_CHECKUP_VIDEO_LABEL, 545, 308, 70, 18, false, kSmallFont},
    {IDC_CHECKUP_VIDEO, 615, 308, 160, 34, false, kSmallFont},
};

// The profile texts that read "检测中......" while a check-up runs.
constexpr int kProfileTexts[] = {
    IDC_CHECKUP_WINDOWS, IDC_CHECKUP_SERVICE_PACK, IDC_CHECKUP_BITNESS, IDC_CHECKUP_PROCESSOR,
    IDC_CHECKUP_MEMORY,  IDC_CHECKUP_VIRTUAL,      IDC_CHECKUP_DISK,    IDC_CHECKUP_VIDEO};
constexpr int kIconPeriodMs = 120;


}  // namespace

// One check-up: the stop of its walks, and what its worker reports, which
// reaches the page only while its run is the worker's current one.
struct ComputerTestDlg::Job : CheckUpListener, std::enable_shared_from_this<Job> {
  ComputerTestDlg* page = nullptr;
  HWND hwnd = nullptr;
  cleanup::ScanControl control;
  std::optional<ui::StopToken> run;  // set by the worker before it reports
  bool stopped = false;              // the page's thread only

  // `f` runs on the page's thread; once the job is stopped only the
  // profile still comes through (the list was emptied and the walks have
  // ended).
  template <typename F>
  void Post(F f, bool afterStop = false) {
    run->Post(hwnd, [self = shared_from_this(), f, afterStop] {
      if (afterStop || !self->stopped) f(*self->page);
    });
  }
  void Stage(int stage) override {
    Post([stage](ComputerTestDlg& d) { d.SetItemText(IDC_CHECKUP_HEADLINE, StageText(stage)); });
  }
  void Range(uint64_t kb) override {
    Post([kb](ComputerTestDlg& d) {
      d.scale_ = ProgressScale(kb);
      d.progress_.SetRange32(0, d.scale_.Range());
      d.progress_.SetPos(0);
    });
  }
  void Progress(uint64_t kb) override {
    Post([kb](ComputerTestDlg& d) { d.progress_.SetPos(d.scale_.Position(kb)); });
  }
  void Line(const std::string& line) override {
    Post([line](ComputerTestDlg& d) {
      d.list_.AddString(line);
      d.list_.UpdateHorizontalExtent();
    });
  }
  void ProfileRead(const Profile& p) override {
    Post([p](ComputerTestDlg& d) { d.ShowProfile(p); }, true);
  }
};

ComputerTestDlg::ComputerTestDlg() : controls::Page(kTemplate) {}

ComputerTestDlg::~ComputerTestDlg() {
  // Older jobs were stopped before this one started; the worker then waits
  // for all of them, and what they still post is dropped with the window.
  if (job_) job_->control.Stop();
}

BOOL ComputerTestDlg::OnInitDialog() {
  controls::Page::OnInitDialog();
  start_.SubclassDlgItem(IDC_CHECKUP_START, hwnd_);
  start_.SetBitmaps(IDB_FACE_BIG, IDB_FACE_BIG_HOVER);
  stopOrClean_.SubclassDlgItem(IDC_CHECKUP_STOP, hwnd_);
  stopOrClean_.SetBitmaps(IDB_FACE_SMALL, IDB_FACE_SMALL_HOVER);
  progress_.SubclassDlgItem(IDC_CHECKUP_PROGRESS, hwnd_);
  list_.SubclassDlgItem(IDC_CHECKUP_LIST, hwnd_);
  std::vector<int> frames;
  for (int k = 0; k < 18; ++k) frames.push_back(IDB_CHECKUP_1 + k);
  icon_.Create(hwnd_, IDC_CHECKUP_ICON, frames, kIconPeriodMs, IDB_CHECKUP_IDLE, "电脑体检");
  SetLayout(kLayout);
  ResetCheckUp();
  return TRUE;
}

void ComputerTestDlg::OnPaint() {
  ui::PaintDC dc(hwnd_);
  ui::DrawBitmapTo(dc.get(), S(531), 0, S(1), S(420), IDB_DIVIDER, dpi_);
  ui::DrawBitmapTo(dc.get(), S(700), S(20), S(64), S(64), IDB_COMPUTER_BADGE, dpi_);
}

void ComputerTestDlg::OnDpiApplied() {
  // The headline keeps its smaller size once a check-up has named a stage.
  if (stageHeadline_) SetStageHeadlineFont();
}

void ComputerTestDlg::SetStageHeadlineFont() {
  stageHeadline_ = true;
  SendDlgItemMessageW(
      hwnd_, IDC_CHECKUP_HEADLINE, WM_SETFONT,
      reinterpret_cast<WPARAM>(controls::PageFont(controls::Face::YaHei, 16, FW_BOLD, dpi_)), TRUE);
}

bool ComputerTestDlg::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  if (id == IDC_CHECKUP_START) {
    StartCheckUp();
    return true;
  }
  if (id == IDC_CHECKUP_STOP) {
    OnStopOrClean();
    return true;
  }
  return false;
}

void ComputerTestDlg::ResetCheckUp() {
  for (int id : {IDC_CHECKUP_WINDOWS_LABEL, IDC_CHECKUP_SUMMARY_LABEL})
    SendDlgItemMessageW(hwnd_, id, WM_SETFONT,
                        reinterpret_cast<WPARAM>(controls::PageFont(kHeadlineFont, dpi_)), TRUE);
  list_.ResetContent();
  list_.UpdateHorizontalExtent();
}

void ComputerTestDlg::SetCaption() { stopOrClean_.SetCaption(flow_.Caption()); }

void ComputerTestDlg::StartCheckUp() {
  ShowWindow(progress_.hwnd(), SW_SHOWNORMAL);
  if (!flow_.Start()) return;
  ShowWindow(start_.hwnd(), SW_HIDE);
  ShowWindow(list_.hwnd(), SW_SHOW);
  for (int id : kProfileTexts) SetItemText(id, kChecking);
  SetStageHeadlineFont();
  SetItemText(IDC_CHECKUP_HEADLINE, StageText(kProfile));
  progress_.SetRange32(0, 0);
  progress_.SetPos(0);

  auto job = std::make_shared<Job>();
  job->page = this;
  job->hwnd = hwnd_;
  job_ = job;
  CheckUpSystem* system = &checkUpSystem();
  bool started = worker_.Start([job, system](const ui::StopToken& run) {
    job->run = run;
    // The walk is background work: the page's own thread comes first.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    std::unique_ptr<base::DirectoryLister> lister = system->Lister();
    CheckUpResult r = RunCheckUp(*lister, system->Folders(), job->control, *system, *job);
    job->Post([junk = r.junkFound](ComputerTestDlg& d) { d.OnFinished(junk); });
  });
  if (!started) {
    // Without a worker there is no check-up: say so by the stopped state.
    job_.reset();
    flow_.Stop();
    SetItemText(IDC_CHECKUP_HEADLINE, kHeadline);
  } else {
    icon_.Start();
  }
  SetCaption();
  ShowWindow(stopOrClean_.hwnd(), SW_SHOWNORMAL);
}

void ComputerTestDlg::ShowProfile(const Profile& p) {
  const std::pair<int, const std::string*> texts[] = {
      {IDC_CHECKUP_WINDOWS, &p.windows.name},
      {IDC_CHECKUP_SERVICE_PACK, &p.windows.servicePack},
      {IDC_CHECKUP_BITNESS, &p.windows.bitness},
      {IDC_CHECKUP_PROCESSOR, &p.processor},
      {IDC_CHECKUP_MEMORY, &p.memory},
      {IDC_CHECKUP_VIRTUAL, &p.virtualMemory},
      {IDC_CHECKUP_DISK, &p.disk},
      {IDC_CHECKUP_VIDEO, &p.video}};
  for (const auto& t : texts) SetItemText(t.first, *t.second);
}

void ComputerTestDlg::OnFinished(bool junkFound) {
  icon_.Stop();
  flow_.Finish(junkFound);
  SetCaption();
}

void ComputerTestDlg::StopJob() {
  if (job_) {
    job_->control.Stop();
    job_->stopped = true;
  }
  icon_.Stop();
  flow_.Stop();
  SetCaption();
  ResetCheckUp();
}

void ComputerTestDlg::OnStopOrClean() {
  switch (flow_.ClickAction()) {
    case CheckUpFlow::Action::kStart: StartCheckUp(); return;
    case CheckUpFlow::Action::kStop: StopJob(); return;
    case CheckUpFlow::Action::kGoClean:
      if (goClean_) goClean_();
      StopJob();
      return;
    case CheckUpFlow::Action::kNone: return;
  }
}
