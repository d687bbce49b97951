// The check-up page over a prepared folder tree, with fixed profile facts:
// a check-up run to its lines and profile, a clean one, a stop in the
// middle of the walk, a new check-up while a stopped one still unwinds,
// and "立即清理" handing over to a scan on the cleanup page.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "app/MainFrameDlg.h"
#include "base/WinLister.h"
#include "checkup/CheckUpSystem.h"
#include "checkup/ComputerTestDlg.h"
#include "cleanup/MirvenComputerHelperDlg.h"
#include "cleanup/TempTree.h"
#include "cleanup/Traces.h"
#include "res/resource.h"
#include "support/WinTest.h"

namespace {

using checkup::CheckUpFlow;
using State = checkup::CheckUpFlow::State;

class TestSystem;

// The real lister; the second read of the gated folder (the first is the
// measuring, the second the walk) waits until the test releases it.
class GatedLister : public base::WinLister {
 public:
  explicit GatedLister(TestSystem& s);
  ~GatedLister() override;
  base::ListResult Read(const std::string& folder, uint64_t id,
                        std::vector<base::DirEntry>& entries) override;

 private:
  TestSystem& system_;
};

// The test's folders and fixed facts for the profile.
class TestSystem : public checkup::CheckUpSystem {
 public:
  checkup::CheckUpFolders folders;
  std::string gated;
  std::atomic<bool> release{true}, gateReached{false};
  std::atomic<int> gatedReads{0}, listersAlive{0};

  checkup::CheckUpFolders Folders() override { return folders; }
  std::unique_ptr<base::DirectoryLister> Lister() override {
    return std::make_unique<GatedLister>(*this);
  }
  checkup::VersionFacts Version() override {
    checkup::VersionFacts v;
    v.known = true;
    v.major = 10;
    v.build = 19045;
    v.edition = 48;
    v.architecture = 9;
    return v;
  }
  std::string ProcessorName() override { return "  Test CPU @ 3.00GHz "; }
  uint64_t PhysicalMemoryBytes() override { return uint64_t{16} << 30; }
  uint64_t VirtualMemoryBytes() override { return uint64_t{4} << 30; }
  std::vector<checkup::DriveFacts> Drives() override {
    return {{"C:\\", 3, true, uint64_t{476} << 30, 0}, {"D:\\", 3, true, uint64_t{931} << 30, 0}};
  }
  std::string VideoAdapter() override { return "oem3.inf,%dev%;Test Adapter"; }
};

GatedLister::GatedLister(TestSystem& s) : system_(s) { ++system_.listersAlive; }
GatedLister::~GatedLister() { --system_.listersAlive; }
base::ListResult GatedLister::Read(const std::string& folder, uint64_t id,
                                   std::vector<base::DirEntry>& entries) {
  if (folder == system_.gated && ++system_.gatedReads == 2) {
    system_.gateReached = true;
    while (!system_.release) Sleep(1);
  }
  return WinLister::Read(folder, id, entries);
}

class CheckUpPage : public testing::Test {
 protected:
  void SetUp() override {
    tree_ = std::make_unique<cleanuptest::TempTree>("checkup");
    tree_->Write("Cache\\a.tmp", 3 * 1024);
    tree_->Write("Cookies\\c.txt", 2 * 1024);
    tree_->MakeFolder("History");
    for (int d = 0; d < 5; ++d)
      for (int f = 0; f < 20; ++f)
        tree_->Write("Docs\\d" + std::to_string(d) + "\\f" + std::to_string(f), 1024);
    system_.folders = {
        {tree_->Root(), tree_->Path("Cache"), tree_->Path("Cookies"), tree_->Path("History")}};
    old_ = checkup::SetCheckUpSystem(&system_);
  }
  void TearDown() override {
    system_.release = true;
    if (page_) page_.reset();
    if (host_) DestroyWindow(host_);
    wintest::Pump();
    checkup::SetCheckUpSystem(old_);
  }

  ComputerTestDlg& Open() {
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 440,
                            nullptr, nullptr, nullptr, nullptr);
    page_ = std::make_unique<ComputerTestDlg>();
    EXPECT_TRUE(page_->Create(host_));
    ShowWindow(page_->hwnd(), SW_SHOW);
    return *page_;
  }
  HWND Item(int id) const { return GetDlgItem(page_->hwnd(), id); }
  std::string Text(int id) const { return wintest::TextOf(Item(id)); }
  void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
  bool WaitEnd() {
    return wintest::PumpUntil([&] { return page_->Flow().Current() != State::kChecking; }, 60000);
  }
  // Waits until every worker's lister is gone, then runs what they posted.
  bool WaitWorkersGone() {
    bool gone = wintest::PumpUntil([&] { return system_.listersAlive == 0; }, 60000);
    wintest::Pump();
    return gone;
  }
  std::vector<std::string> Lines() {
    std::vector<std::string> v;
    for (int k = 0; k < page_->ResultList().GetCount(); ++k)
      v.push_back(page_->ResultList().GetText(k));
    return v;
  }

  TestSystem system_;
  checkup::CheckUpSystem* old_ = nullptr;
  std::unique_ptr<cleanuptest::TempTree> tree_;
  HWND host_ = nullptr;
  std::unique_ptr<ComputerTestDlg> page_;
};

const int kProfileIds[] = {IDC_CHECKUP_WINDOWS,   IDC_CHECKUP_SERVICE_PACK, IDC_CHECKUP_BITNESS,
                           IDC_CHECKUP_PROCESSOR, IDC_CHECKUP_MEMORY,       IDC_CHECKUP_VIRTUAL,
                           IDC_CHECKUP_DISK,      IDC_CHECKUP_VIDEO};

TEST_F(CheckUpPage, RunsToItsLinesAndProfile) {
  ComputerTestDlg& page = Open();
  EXPECT_EQ(Text(IDC_CHECKUP_HEADLINE), checkup::kHeadline);
  // The four initial texts of the profile.
  EXPECT_EQ(Text(IDC_CHECKUP_MEMORY), "未知");
  EXPECT_EQ(Text(IDC_CHECKUP_WINDOWS), "Windows 版本");
  EXPECT_EQ(Text(IDC_CHECKUP_SERVICE_PACK), "WindowsSP版本");
  EXPECT_EQ(Text(IDC_CHECKUP_BITNESS), "Windows位数");
  EXPECT_FALSE(IsWindowVisible(Item(IDC_CHECKUP_STOP)));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_CHECKUP_LIST)));

  Click(IDC_CHECKUP_START);
  EXPECT_FALSE(IsWindowVisible(Item(IDC_CHECKUP_START)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CHECKUP_STOP)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CHECKUP_LIST)));
  EXPECT_TRUE(IsWindowVisible(Item(IDC_CHECKUP_PROGRESS)));
  EXPECT_EQ(Text(IDC_CHECKUP_STOP), "停止");
  for (int id : kProfileIds) EXPECT_EQ(Text(id), "检测中......") << id;
  EXPECT_TRUE(page.IconTurning());

  ASSERT_TRUE(WaitEnd());
  EXPECT_EQ(page.Flow().Current(), State::kDoneJunk);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"存在垃圾文件", "存在Cookie文件", "电脑硬件检测完毕！"}));
  EXPECT_EQ(Text(IDC_CHECKUP_STOP), "立即清理");
  EXPECT_EQ(Text(IDC_CHECKUP_HEADLINE), checkup::StageText(4));
  const char* profile[] = {"Windows 10 专业版", "",        "64位",   "Test CPU @ 3.00GHz",
                           "16384 MB",          "4096 MB", "1407GB", "Test Adapter"};
  for (size_t k = 0; k < std::size(kProfileIds); ++k) EXPECT_EQ(Text(kProfileIds[k]), profile[k]);
  // 105 KB in the profile, and 5 more counted again in its cache and cookies.
  int range = static_cast<int>(SendMessageW(Item(IDC_CHECKUP_PROGRESS), PBM_GETRANGE, FALSE, 0));
  EXPECT_EQ(range, 110);
  EXPECT_EQ(page.Progress().GetPos(), 110);
  EXPECT_TRUE(wintest::PumpUntil([&] { return !page.IconTurning(); }));
}

TEST_F(CheckUpPage, CleanCheckUpsKeepStopAndAppendTheirLines) {
  system_.folders.path[1] = system_.folders.path[2] = system_.folders.path[3] =
      tree_->Path("History");
  ComputerTestDlg& page = Open();
  Click(IDC_CHECKUP_START);
  ASSERT_TRUE(WaitEnd());
  const std::vector<std::string> clean = {"电脑硬件检测完毕！",
                                          "您的电脑没有垃圾冗余等问题，无需清理！"};
  EXPECT_EQ(Lines(), clean);
  EXPECT_EQ(page.Flow().Current(), State::kDoneClean);
  EXPECT_EQ(Text(IDC_CHECKUP_STOP), "停止");
  Click(IDC_CHECKUP_STOP);  // "停止" after a clean check-up checks again
  EXPECT_EQ(page.Flow().Current(), State::kChecking);
  ASSERT_TRUE(WaitEnd());
  EXPECT_EQ(Lines(), (std::vector<std::string>{clean[0], clean[1], clean[0], clean[1]}));
}

TEST_F(CheckUpPage, StopInTheWalkAndANewCheckUpWhileTheOldOneUnwinds) {
  ComputerTestDlg& page = Open();
  system_.gated = tree_->Path("Docs");
  system_.release = false;
  Click(IDC_CHECKUP_START);
  ASSERT_TRUE(wintest::PumpUntil([&] { return system_.gateReached.load(); }, 60000));
  Click(IDC_CHECKUP_STOP);
  EXPECT_EQ(page.Flow().Current(), State::kStopped);
  EXPECT_EQ(Text(IDC_CHECKUP_STOP), "重新体检");
  EXPECT_EQ(page.ResultList().GetCount(), 0);
  // The stopped walk ends; the profile is still filled, the list stays empty.
  system_.release = true;
  ASSERT_TRUE(WaitWorkersGone());
  EXPECT_EQ(Text(IDC_CHECKUP_WINDOWS), "Windows 10 专业版");
  EXPECT_EQ(page.ResultList().GetCount(), 0);
  EXPECT_EQ(Text(IDC_CHECKUP_STOP), "重新体检");
  EXPECT_LT(page.Progress().GetPos(), 110);

  // Again, and stopped again in the walk; a third check-up starts while the
  // second is still held in its walk, and only the third one's lines count.
  system_.gatedReads = 0;
  system_.gateReached = false;
  system_.release = false;
  Click(IDC_CHECKUP_STOP);
  ASSERT_TRUE(wintest::PumpUntil([&] { return system_.gateReached.load(); }, 60000));
  Click(IDC_CHECKUP_STOP);
  Click(IDC_CHECKUP_STOP);
  EXPECT_EQ(page.Flow().Current(), State::kChecking);
  ASSERT_TRUE(WaitEnd());
  const std::vector<std::string> lines = {"存在垃圾文件", "存在Cookie文件", "电脑硬件检测完毕！"};
  EXPECT_EQ(Lines(), lines);
  system_.release = true;
  ASSERT_TRUE(WaitWorkersGone());
  EXPECT_EQ(Lines(), lines);
  EXPECT_EQ(Text(IDC_CHECKUP_STOP), "立即清理");
  EXPECT_EQ(page.Progress().GetPos(), 110);
}

class ProfileTraces : public cleanup::Traces {
 public:
  std::string profile;
  std::string ProfileFolder() override { return profile; }
  std::string CookiesFolder() override { return ""; }
};

TEST_F(CheckUpPage, CleanNowStartsAScanOnTheCleanupPage) {
  wintest::ScopedEffects effects;
  ProfileTraces traces;
  traces.profile = tree_->Root();
  cleanup::Traces* oldTraces = cleanup::SetTraces(&traces);
  CMainFrameDlg& frame = CMainFrameDlg::GetInstance();
  ASSERT_TRUE(frame.Create(nullptr));
  ShowWindow(frame.hwnd(), SW_SHOW);
  frame.SelectPage(4);
  auto* page = dynamic_cast<ComputerTestDlg*>(frame.PageWindow(4));
  auto* cleanupPage = dynamic_cast<CMirvenComputerHelperDlg*>(frame.PageWindow(1));
  ASSERT_TRUE(page && cleanupPage);
  ASSERT_TRUE(wintest::PumpUntil([&] { return cleanupPage->RootSizeKnown(); }, 60000));

  page->StartCheckUp();
  ASSERT_TRUE(
      wintest::PumpUntil([&] { return page->Flow().Current() != State::kChecking; }, 60000));
  ASSERT_EQ(page->Flow().Current(), State::kDoneJunk);
  SendMessageW(GetDlgItem(page->hwnd(), IDC_CHECKUP_STOP), BM_CLICK, 0, 0);
  EXPECT_EQ(frame.CurrentPage(), 1);
  EXPECT_TRUE(IsWindowVisible(cleanupPage->hwnd()));
  EXPECT_FALSE(IsWindowVisible(page->hwnd()));
  EXPECT_TRUE(cleanupPage->IsScanning());
  EXPECT_EQ(wintest::TextOf(GetDlgItem(page->hwnd(), IDC_CHECKUP_STOP)), "重新体检");
  EXPECT_EQ(page->ResultList().GetCount(), 0);
  EXPECT_TRUE(wintest::PumpUntil([&] { return !cleanupPage->IsScanning(); }, 60000));
  EXPECT_EQ(cleanupPage->JunkCount(), 1u);  // Cache\a.tmp
  cleanup::SetTraces(oldTraces);
}

}  // namespace
