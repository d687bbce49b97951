#include "checkup/SystemProfile.h"

namespace checkup {

namespace {

constexpr unsigned kWorkstation = 1;
constexpr unsigned kArchIntel = 0, kArchIA64 = 6, kArchAmd64 = 9, kArchArm64 = 12;
constexpr unsigned kSuiteEnterprise = 0x2, kSuiteDatacenter = 0x80, kSuitePersonal = 0x200,
                   kSuiteBlade = 0x400, kSuiteStorageServer = 0x2000, kSuiteComputeServer = 0x4000;
constexpr unsigned kDriveFixed = 3;

std::string ServerName(unsigned build) {
  if (build < 17763) return "Windows Server 2016 ";
  if (build < 20348) return "Windows Server 2019 ";
  if (build < 26100) return "Windows Server 2022 ";
  return "Windows Server 2025 ";
}

// Product names of versions 6 and 10; the edition is appended to them.
std::string NtName(const VersionFacts& v) {
  bool ws = v.productType == kWorkstation;
  if (v.major == 6) {
    switch (v.minor) {
      case 0: return ws ? "Windows Vista " : "Windows Server 2008 ";
      case 1: return ws ? "Windows 7 " : "Windows Server 2008 R2 ";
      case 2: return ws ? "Windows 8 " : "Windows Server 2012 ";
      case 3: return ws ? "Windows 8.1 " : "Windows Server 2012 R2 ";
      default: return "";
    }
  }
  if (v.major == 10 && v.minor == 0) {
    if (!ws) return ServerName(v.build);
    return v.build < 22000 ? "Windows 10 " : "Windows 11 ";
  }
  return "";
}

std::string Server2003Edition(const VersionFacts& v) {
  bool dc = v.suiteMask & kSuiteDatacenter, ent = v.suiteMask & kSuiteEnterprise;
  if (v.architecture == kArchIA64) {
    if (dc) return "Datacenter Edition for Itanium-based Systems";
    if (ent) return "Enterprise Edition for Itanium-based Systems";
    return "";
  }
  if (v.architecture == kArchAmd64) {
    if (dc) return "Datacenter x64 Edition";
    if (ent) return "Enterprise x64 Edition";
    return "Standard x64 Edition";
  }
  if (v.suiteMask & kSuiteComputeServer) return "Compute Cluster Edition";
  if (dc) return "Datacenter Edition";
  if (ent) return "Enterprise Edition";
  if (v.suiteMask & kSuiteBlade) return "Web Edition";
  return "Standard Edition";
}

}  // namespace

std::string EditionText(unsigned edition) {
  switch (edition) {
    case 1: return "旗舰版 ";
    case 2: return "家庭普通版";
    case 3: return "家庭高级版";
    case 4: return "企业版";
    case 6: return "商业版";
    case 7: return "Standard Edition";
    case 8: return "Datacenter Edition";
    case 9: return "Small Business Server";
    case 10: return "Enterprise Edition";
    case 11: return "Starter Edition";
    case 12: return "Datacenter Edition (core installation)";
    case 13: return "Standard Edition (core installation)";
    case 14: return "Enterprise Edition (core installation)";
    case 15: return "Enterprise Edition for Itanium-based Systems";
    case 17: return "Web Server Edition";
    case 18: return "Cluster Server Edition";
    case 25: return "Small Business Server Premium Edition";
    case 48: return "专业版";
    // The editions of Windows 8 to 11.
    case 27: return "企业版";         // Enterprise N
    case 49: return "专业版";         // Professional N
    case 98: return "家庭版";         // Home N
    case 99: return "家庭中文版";     // Home China
    case 100: return "家庭单语言版";  // Home Single Language
    case 101: return "家庭版";
    case 121: return "教育版";
    case 122: return "教育版";  // Education N
    case 125: return "企业版";  // Enterprise LTSC
    case 161: return "专业工作站版";
    case 164: return "专业教育版";
    default: return "";
  }
}

WindowsTexts NameWindows(const VersionFacts& v) {
  WindowsTexts t;
  if (!v.known || v.major <= 4) return t;
  bool ws = v.productType == kWorkstation;
  if (v.major == 6 || v.major == 10) {
    t.name = NtName(v) + EditionText(v.edition);
  } else if (v.major == 5 && v.minor == 2) {
    if (v.serverR2)
      t.name = "Windows Server 2003 R2  ";
    else if (v.suiteMask & kSuiteStorageServer)
      t.name = "Windows Storage Server 2003 ";
    else if (ws && v.architecture == kArchAmd64)
      t.name = "Windows XP Professional x64 Edition ";
    else
      t.name = "Windows Server 2003 ";
    if (!ws) t.name += Server2003Edition(v);
  } else if (v.major == 5 && v.minor == 1) {
    t.name = std::string("Windows XP ") + (v.suiteMask & kSuitePersonal ? "家庭版" : "专业版");
  } else if (v.major == 5 && v.minor == 0) {
    t.name = "Windows 2000 ";
    if (ws)
      t.name += "专业版";
    else if (v.suiteMask & kSuiteDatacenter)
      t.name += "Datacenter Server";
    else if (v.suiteMask & kSuiteEnterprise)
      t.name += "Advanced Server";
    else
      t.name += "Server";
  }
  t.servicePack = v.servicePack;
  if (v.architecture == kArchAmd64 || v.architecture == kArchArm64 || v.architecture == kArchIA64)
    t.bitness = "64位";
  else if (v.architecture == kArchIntel)
    t.bitness = "32位";
  return t;
}

std::string DriveTypeName(unsigned type) {
  switch (type) {
    case 0: return "虚拟RAM未知设备";
    case 2: return "可移动磁盘";
    case 3: return "本地磁盘";
    case 4: return "网络磁盘";
    case 5: return "DVD驱动器";
    case 6: return "虚拟RAM磁盘";
    default: return "未知设备";
  }
}

std::string DriveLabel(unsigned type, const std::string& root) {
  return DriveTypeName(type) + "(" + root + "):";
}

uint64_t FixedDiskTotalGB(const std::vector<DriveFacts>& drives) {
  uint64_t gb = 0;
  for (const DriveFacts& d : drives)
    if (d.type == kDriveFixed && d.sized) gb += d.totalBytes >> 30;
  return gb;
}

std::string MemoryText(uint64_t bytes) { return std::to_string(bytes >> 20) + " MB"; }

std::string DiskText(uint64_t gb) { return std::to_string(gb) + "GB"; }

std::string AdapterText(const std::string& description) {
  size_t semi = description.find(';');
  std::string name = semi == std::string::npos ? description : description.substr(semi + 1);
  name = TrimmedName(name);
  return name.empty() ? "未检测到显卡型号" : name;
}

std::string TrimmedName(const std::string& name) {
  const char* blanks = " \t\r\n";
  size_t first = name.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return name.substr(first, name.find_last_not_of(blanks) - first + 1);
}

Profile ReadProfile(SystemProbe& probe) {
  Profile p;
  p.windows = NameWindows(probe.Version());
  p.memory = MemoryText(probe.PhysicalMemoryBytes());
  p.virtualMemory = MemoryText(probe.VirtualMemoryBytes());
  p.processor = TrimmedName(probe.ProcessorName());
  p.disk = DiskText(FixedDiskTotalGB(probe.Drives()));
  p.video = AdapterText(probe.VideoAdapter());
  return p;
}

}  // namespace checkup
