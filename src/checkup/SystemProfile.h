#pragma once
// The computer profile of the check-up page: the facts the probes read
// from the system, and the texts the page shows for them.
#include <cstdint>
#include <string>
#include <vector>

namespace checkup {

// What the version probe reads. The numbers are the system's own:
// product type 1 workstation, 2 domain controller, 3 server; the edition
// is the product type number of the system's product information.
struct VersionFacts {
  bool known = false;
  unsigned major = 0, minor = 0, build = 0;
  unsigned productType = 1;
  unsigned suiteMask = 0;
  bool serverR2 = false;  // the R2 release of Server 2003
  unsigned architecture = 0;
  unsigned edition = 0;
  std::string servicePack;
};

struct WindowsTexts {
  std::string name, servicePack, bitness;
};

// Product name followed by the edition ("Windows 7 专业版", "Windows 11 家庭版"),
// the service pack and "32位"/"64位". Unknown parts stay empty.
WindowsTexts NameWindows(const VersionFacts& v);
// The edition text for a product type number ("" for types not named).
std::string EditionText(unsigned edition);

struct DriveFacts {
  std::string root;  // "C:\"
  unsigned type = 0;
  bool sized = false;  // false when the size could not be read
  uint64_t totalBytes = 0, freeBytes = 0;
};

std::string DriveTypeName(unsigned type);  // 3 -> "本地磁盘"
// "本地磁盘(C:\):"
std::string DriveLabel(unsigned type, const std::string& root);
// Whole GB of every local fixed disk, each rounded down.
uint64_t FixedDiskTotalGB(const std::vector<DriveFacts>& drives);

std::string MemoryText(uint64_t bytes);  // "8192 MB"
std::string DiskText(uint64_t gb);       // "931GB"
// An adapter description "file.inf,%key%;Name" names the adapter after the
// first ";"; with no name the page reads "未检测到显卡型号".
std::string AdapterText(const std::string& description);
// The processor name without the blanks around it.
std::string TrimmedName(const std::string& name);

// The facts, read from the system by the real probes or given by a test.
class SystemProbe {
 public:
  virtual ~SystemProbe() = default;
  virtual VersionFacts Version() = 0;
  virtual std::string ProcessorName() = 0;
  virtual uint64_t PhysicalMemoryBytes() = 0;
  virtual uint64_t VirtualMemoryBytes() = 0;
  virtual std::vector<DriveFacts> Drives() = 0;
  // The first display adapter's description, "" when none was found.
  virtual std::string VideoAdapter() = 0;
};

// The eight texts of the profile.
struct Profile {
  WindowsTexts windows;
  std::string processor, memory, virtualMemory, disk, video;
};
Profile ReadProfile(SystemProbe& probe);

}  // namespace checkup
