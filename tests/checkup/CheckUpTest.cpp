// The check-up's portable parts: naming Windows, the profile texts, the
// states of the second button and a whole run over an in-memory tree.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "checkup/CheckUp.h"
#include "checkup/SystemProfile.h"

namespace checkup {
namespace {

VersionFacts Facts(unsigned major, unsigned minor, unsigned build, unsigned productType,
                   unsigned edition = 0, unsigned suite = 0, unsigned arch = 0) {
  VersionFacts v;
  v.known = true;
  v.major = major;
  v.minor = minor;
  v.build = build;
  v.productType = productType;
  v.edition = edition;
  v.suiteMask = suite;
  v.architecture = arch;
  return v;
}

TEST(WindowsName, OldNamesKeepTheirTextsAndNewVersionsAreNamed) {
  struct Case {
    VersionFacts v;
    const char* name;
  } cases[] = {
      {Facts(6, 1, 7601, 1, 48), "Windows 7 专业版"},
      {Facts(6, 1, 7601, 1, 1), "Windows 7 旗舰版 "},
      {Facts(6, 0, 6002, 1, 3), "Windows Vista 家庭高级版"},
      {Facts(6, 1, 7601, 3, 8), "Windows Server 2008 R2 Datacenter Edition"},
      {Facts(5, 1, 2600, 1), "Windows XP 专业版"},
      {Facts(5, 1, 2600, 1, 0, 0x200), "Windows XP 家庭版"},
      {Facts(5, 2, 3790, 1, 0, 0, 9), "Windows XP Professional x64 Edition "},
      {Facts(5, 2, 3790, 3, 0, 0x80, 9), "Windows Server 2003 Datacenter x64 Edition"},
      {Facts(5, 2, 3790, 3, 0, 0x400), "Windows Server 2003 Web Edition"},
      {Facts(5, 0, 2195, 1), "Windows 2000 专业版"},
      {Facts(5, 0, 2195, 3, 0, 0x2), "Windows 2000 Advanced Server"},
      {Facts(6, 2, 9200, 1, 48), "Windows 8 专业版"},
      {Facts(6, 3, 9600, 1, 101), "Windows 8.1 家庭版"},
      {Facts(10, 0, 19045, 1, 121), "Windows 10 教育版"},
      {Facts(10, 0, 21999, 1, 4), "Windows 10 企业版"},
      {Facts(10, 0, 22000, 1, 101), "Windows 11 家庭版"},
      {Facts(10, 0, 26100, 1, 48), "Windows 11 专业版"},
      {Facts(6, 2, 9200, 3, 7), "Windows Server 2012 Standard Edition"},
      {Facts(6, 3, 9600, 3, 8), "Windows Server 2012 R2 Datacenter Edition"},
      {Facts(10, 0, 14393, 3, 7), "Windows Server 2016 Standard Edition"},
      {Facts(10, 0, 17763, 2, 8), "Windows Server 2019 Datacenter Edition"},
      {Facts(10, 0, 20348, 3, 7), "Windows Server 2022 Standard Edition"},
      {Facts(10, 0, 26100, 3, 0), "Windows Server 2025 "},
      {Facts(4, 0, 1381, 1), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(NameWindows(c.v).name, c.name) << c.name;

  VersionFacts r2 = Facts(5, 2, 3790, 3);
  r2.serverR2 = true;
  EXPECT_EQ(NameWindows(r2).name, "Windows Server 2003 R2  Standard Edition");

  VersionFacts v = Facts(6, 1, 7601, 1, 48, 0, 9);
  v.servicePack = "Service Pack 1";
  WindowsTexts t = NameWindows(v);
  EXPECT_EQ(t.servicePack, "Service Pack 1");
  EXPECT_EQ(t.bitness, "64位");
  EXPECT_EQ(NameWindows(Facts(10, 0, 22631, 1, 48, 0, 12)).bitness, "64位");  // ARM64
  EXPECT_EQ(NameWindows(Facts(10, 0, 19045, 1, 48, 0, 0)).bitness, "32位");
  v.known = false;  // the version could not be read
  t = NameWindows(v);
  EXPECT_EQ(t.name + t.servicePack + t.bitness, "");
}

TEST(SystemProfile, DrivesMemoryProcessorAndAdapterTexts) {
  const char* types[] = {"虚拟RAM未知设备", "未知设备",  "可移动磁盘",  "本地磁盘",
                         "网络磁盘",        "DVD驱动器", "虚拟RAM磁盘", "未知设备"};
  for (unsigned k = 0; k < 8; ++k) EXPECT_EQ(DriveTypeName(k), types[k]) << k;
  EXPECT_EQ(DriveLabel(3, "C:\\"), "本地磁盘(C:\\):");

  const uint64_t GB = uint64_t{1} << 30;
  std::vector<DriveFacts> drives = {
      {"C:\\", 3, true, 100 * GB + GB / 2, 10 * GB},
      {"D:\\", 3, true, 5000 * GB, 0},  // more than 4 TB
      {"E:\\", 5, true, 4 * GB, 0},     // a DVD
      {"F:\\", 2, true, 16 * GB, 0},    // a stick
      {"G:\\", 4, true, 900 * GB, 0},   // the network
      {"H:\\", 3, false, 0, 0},         // could not be read
  };
  EXPECT_EQ(FixedDiskTotalGB(drives), 5100u);
  EXPECT_EQ(FixedDiskTotalGB({drives[0]}), 100u);  // one disk counts, not none
  EXPECT_EQ(FixedDiskTotalGB({}), 0u);
  // More than 10 drive letters.
  std::vector<DriveFacts> many;
  for (char c = 'C'; c <= 'P'; ++c) many.push_back({std::string(1, c) + ":\\", 3, true, 2 * GB, 0});
  EXPECT_EQ(FixedDiskTotalGB(many), 28u);
  EXPECT_EQ(DiskText(5100), "5100GB");

  EXPECT_EQ(MemoryText((uint64_t{8} << 30) + 12345), "8192 MB");
  EXPECT_EQ(MemoryText(uint64_t{128} << 40), "134217728 MB");

  EXPECT_EQ(AdapterText("@oem12.inf,%nvidia_dev%;NVIDIA GeForce GTX 1060 6GB"),
            "NVIDIA GeForce GTX 1060 6GB");
  EXPECT_EQ(AdapterText("VMware SVGA 3D"), "VMware SVGA 3D");
  EXPECT_EQ(AdapterText("a;b;c"), "b;c");
  EXPECT_EQ(AdapterText(""), "未检测到显卡型号");
  EXPECT_EQ(AdapterText("oem.inf;"), "未检测到显卡型号");

  std::string longName = "12th Gen Intel(R) Core(TM) i7-12700H with a name longer than fifty bytes";
  EXPECT_EQ(TrimmedName("   " + longName + "  "), longName);
  EXPECT_EQ(TrimmedName("    "), "");
}

class FakeProbe : public SystemProbe {
 public:
  VersionFacts version = Facts(10, 0, 22631, 1, 101, 0, 9);
  int reads = 0;
  VersionFacts Version() override {
    ++reads;
    return version;
  }
  std::string ProcessorName() override { return "  AMD Ryzen 7 5800X 8-Core Processor  "; }
  uint64_t PhysicalMemoryBytes() override { return uint64_t{16} << 30; }
  uint64_t VirtualMemoryBytes() override { return uint64_t{4} << 30; }
  std::vector<DriveFacts> Drives() override {
    return {{"C:\\", 3, true, uint64_t{476} << 30, 0}, {"D:\\", 3, true, uint64_t{931} << 30, 0}};
  }
  std::string VideoAdapter() override { return "oem3.inf,%amd%;AMD Radeon RX 6600"; }
};

TEST(SystemProfile, ProfileTextsFromTheProbe) {
  FakeProbe probe;
  Profile p = ReadProfile(probe);
  EXPECT_EQ(p.windows.name, "Windows 11 家庭版");
  EXPECT_EQ(p.windows.bitness, "64位");
  EXPECT_EQ(p.processor, "AMD Ryzen 7 5800X 8-Core Processor");
  EXPECT_EQ(p.memory, "16384 MB");
  EXPECT_EQ(p.virtualMemory, "4096 MB");
  EXPECT_EQ(p.disk, "1407GB");
  EXPECT_EQ(p.video, "AMD Radeon RX 6600");
}

TEST(CheckUpFlow, ButtonStatesAndTexts) {
  using S = CheckUpFlow::State;
  using A = CheckUpFlow::Action;
  CheckUpFlow f;
  EXPECT_EQ(f.Current(), S::kFresh);
  EXPECT_EQ(f.Caption(), "");
  EXPECT_EQ(f.ClickAction(), A::kNone);
  ASSERT_TRUE(f.Start());
  EXPECT_FALSE(f.Start());
  EXPECT_EQ(f.Caption(), "停止");
  EXPECT_EQ(f.ClickAction(), A::kStop);
  f.Finish(false);
  EXPECT_EQ(f.Current(), S::kDoneClean);
  EXPECT_EQ(f.Caption(), "停止");
  EXPECT_EQ(f.ClickAction(), A::kStart);
  ASSERT_TRUE(f.Start());
  f.Finish(true);
  EXPECT_EQ(f.Caption(), "立即清理");
  EXPECT_EQ(f.ClickAction(), A::kGoClean);
  f.Stop();
  EXPECT_EQ(f.Caption(), "重新体检");
  EXPECT_EQ(f.ClickAction(), A::kStart);
  ASSERT_TRUE(f.Start());
  f.Stop();
  f.Finish(true);  // a late end of the stopped run changes nothing
  EXPECT_EQ(f.Current(), S::kStopped);

  EXPECT_EQ(StageText(0), "正在体检：用户目录");
  EXPECT_EQ(StageText(4), "正在体检：用户目录-->垃圾文件-->Cookies-->上网历史信息-->电脑硬件信息");

  EXPECT_EQ(ProgressScale(1000).Range(), 1000);
  EXPECT_EQ(ProgressScale(1000).Position(2000), 1000);
  for (uint64_t total : {uint64_t{1} << 32, uint64_t{1} << 40, UINT64_MAX}) {
    ProgressScale s(total);
    EXPECT_GT(s.Range(), 1 << 29) << total;
    EXPECT_EQ(s.Position(total / 2), s.Range() / 2) << total;
  }
}

// Folders in memory, "\\" separated; a hook runs at each folder read.
class MemoryLister : public base::DirectoryLister {
 public:
  std::map<std::string, std::vector<base::DirEntry>> folders;
  std::function<void(const std::string&)> onRead;
  void File(const std::string& folder, const std::string& name, uint64_t size) {
    folders[folder].push_back({name, false, false, size, 0});
  }
  void Folder(const std::string& folder, const std::string& name, bool link = false) {
    folders[folder].push_back({name, true, link, 0, 0});
    folders[base::JoinPath(folder, name, '\\')];
  }
  base::ListResult Read(const std::string& folder, uint64_t,
                        std::vector<base::DirEntry>& entries) override {
    if (onRead) onRead(folder);
    auto it = folders.find(folder);
    if (it == folders.end()) return base::ListResult::kUnreadable;
    entries = it->second;
    return base::ListResult::kListed;
  }
  char Separator() const override { return '\\'; }
};

class Recorder : public CheckUpListener {
 public:
  std::vector<std::string> events;
  uint64_t range = 0, progress = 0;
  Profile profile;
  void Stage(int stage) override { events.push_back("stage " + std::to_string(stage)); }
  std::function<void()> onRange;
  void Range(uint64_t kb) override {
    range = kb;
    if (onRange) onRange();
  }
  void Progress(uint64_t kb) override { progress = kb; }
  void Line(const std::string& line) override { events.push_back(line); }
  void ProfileRead(const Profile& p) override {
    profile = p;
    events.push_back("profile");
  }
};

TEST(CheckUpRun, MeasuresWalksAndReports) {
  MemoryLister fs;
  fs.Folder("P:", "Cache");
  fs.Folder("P:", "Cookies");
  fs.Folder("P:", "History");
  fs.Folder("P:", "Application Data", true);  // a junction: never followed
  fs.Folder("P:", "Docs");
  fs.File("P:\\Docs", "film.mkv", uint64_t{5} << 30);  // counts whole
  fs.File("P:\\Cache", "a.tmp", 3 * 1024);
  fs.File("P:\\Cookies", "small.txt", 1000);  // under 1 KB: counts nothing
  fs.Folder("P:\\Cookies", "loop", true);
  fs.File("P:\\History", "index.dat", 2048);
  CheckUpFolders folders{{"P:", "P:\\Cache", "P:\\Cookies", "P:\\History"}};

  cleanup::ScanControl control;
  FakeProbe probe;
  Recorder rec;
  CheckUpResult r = RunCheckUp(fs, folders, control, probe, rec);
  const uint64_t filmKB = uint64_t{5} << 20;
  EXPECT_EQ(r.folderKB[kProfile], filmKB + 5);
  EXPECT_EQ(r.folderKB[kCookies], 0u);
  EXPECT_EQ(rec.range, filmKB + 5 + 3 + 2);  // the three folders count twice
  EXPECT_EQ(rec.progress, rec.range);
  EXPECT_TRUE(r.junkFound);
  EXPECT_FALSE(r.stopped);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"stage 0", "stage 1", "存在垃圾文件", "stage 2",
                                                  "stage 3", "存在上网历史记录等信息", "stage 4",
                                                  "profile", "电脑硬件检测完毕！"}));
  EXPECT_EQ(rec.profile.video, "AMD Radeon RX 6600");

  // Nothing in the three folders: no junk, and the closing line says so.
  fs.folders["P:\\Cache"].clear();
  fs.folders["P:\\History"].clear();
  Recorder clean;
  cleanup::ScanControl control2;
  r = RunCheckUp(fs, folders, control2, probe, clean);
  EXPECT_FALSE(r.junkFound);
  EXPECT_EQ(clean.events.back(), "您的电脑没有垃圾冗余等问题，无需清理！");

  // A stop in the middle of the profile ends the walks; the profile is
  // still read and the lines still come (the page decides what to keep).
  for (int d = 0; d < 10; ++d) {
    fs.Folder("P:\\Docs", "d" + std::to_string(d));
    for (int k = 0; k < 20; ++k)
      fs.File("P:\\Docs\\d" + std::to_string(d), "f" + std::to_string(k), 4096);
  }
  cleanup::ScanControl control3;
  bool walking = false;
  fs.onRead = [&](const std::string& folder) {
    if (walking && folder == "P:\\Docs\\d3") control3.Stop();
  };
  Recorder stopped;
  stopped.onRange = [&] { walking = true; };
  r = RunCheckUp(fs, folders, control3, probe, stopped);
  EXPECT_TRUE(r.stopped);
  EXPECT_GT(r.doneKB, 0u);
  EXPECT_LT(r.doneKB, r.folderKB[kProfile]);
  EXPECT_EQ(stopped.events.back(), "您的电脑没有垃圾冗余等问题，无需清理！");
  EXPECT_EQ(stopped.profile.windows.name, "Windows 11 家庭版");
}

}  // namespace
}  // namespace checkup
