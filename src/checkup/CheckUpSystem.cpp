#include "checkup/CheckUpSystem.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "base/Folders.h"
#include "base/Seam.h"
#include "base/Text.h"
#include "base/WinLister.h"

namespace checkup {

namespace {

base::Seam<CheckUpSystem> seam;

// A registry key that closes itself.
class Key {
 public:
  Key(HKEY parent, const std::wstring& path) {
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  explicit operator bool() const { return key_ != nullptr; }
  HKEY get() const { return key_; }

  // A text value of any length; false when it is missing or not text.
  bool Text(const wchar_t* name, std::wstring& out) const {
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
      return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    std::wstring buf(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(buf.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &bytes) !=
        ERROR_SUCCESS)
      return false;
    buf.resize(bytes / sizeof(wchar_t));
    while (!buf.empty() && buf.back() == L'\0') buf.pop_back();
    out = buf;
    return true;
  }
  bool Number(const wchar_t* name, DWORD& out) const {
    DWORD type = 0, bytes = sizeof(out);
    return RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&out), &bytes) ==
               ERROR_SUCCESS &&
           type == REG_DWORD;
  }

 private:
  HKEY key_ = nullptr;
};

// The first device of the first service whose group is "Video".
std::string AdapterFromServices() {
  const std::wstring services = L"SYSTEM\\CurrentControlSet\\Services";
  Key root(HKEY_LOCAL_MACHINE, services);
  if (!root) return "";
  wchar_t name[512];
  for (DWORD index = 0;; ++index) {
    DWORD length = 512;
    LONG rc = RegEnumKeyExW(root.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) return "";
    if (rc != ERROR_SUCCESS) continue;
    Key service(root.get(), name);
    std::wstring group;
    if (!service || !service.Text(L"Group", group) || group != L"Video") continue;
    Key devices(service.get(), L"Enum");
    DWORD count = 0;
    std::wstring instance;
    if (!devices || !devices.Number(L"Count", count) || count == 0 || !devices.Text(L"0", instance))
      return "";
    Key device(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Enum\\" + instance);
    std::wstring text;
    if (device && (device.Text(L"FriendlyName", text) || device.Text(L"DeviceDesc", text)))
      return base::Utf8(text);
    return "";
  }
}

std::string PrimaryDisplayDevice() {
  DISPLAY_DEVICEW dd{};
  std::string first;
  for (DWORD k = 0;; ++k) {
    dd.cb = sizeof(dd);
    if (!EnumDisplayDevicesW(nullptr, k, &dd, 0)) break;
    std::string text = base::Utf8(dd.DeviceString);
    if (dd.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) return text;
    if (first.empty()) first = text;
  }
  return first;
}

}  // namespace

CheckUpFolders CheckUpSystem::Folders() {
  return CheckUpFolders{{base::KnownFolder(FOLDERID_Profile),
                         base::KnownFolder(FOLDERID_InternetCache),
                         base::KnownFolder(FOLDERID_Cookies), base::KnownFolder(FOLDERID_History)}};
}

std::unique_ptr<base::DirectoryLister> CheckUpSystem::Lister() {
  return std::make_unique<base::WinLister>();
}

VersionFacts CheckUpSystem::Version() {
  VersionFacts v;
  using GetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto rtlGetVersion = ntdll ? reinterpret_cast<GetVersionFn>(
                                   reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                             : nullptr;
  OSVERSIONINFOEXW os{};
  os.dwOSVersionInfoSize = sizeof(os);
  if (!rtlGetVersion || rtlGetVersion(&os) != 0 || os.dwPlatformId != VER_PLATFORM_WIN32_NT)
    return v;
  v.known = true;
  v.major = os.dwMajorVersion;
  v.minor = os.dwMinorVersion;
  v.build = os.dwBuildNumber;
  v.productType = os.wProductType;
  v.suiteMask = os.wSuiteMask;
  v.servicePack = base::Utf8(os.szCSDVersion);
  v.serverR2 = GetSystemMetrics(SM_SERVERR2) != 0;
  SYSTEM_INFO si{};
  GetNativeSystemInfo(&si);
  v.architecture = si.wProcessorArchitecture;
  DWORD edition = 0;
  if (v.major >= 6 && GetProductInfo(v.major, v.minor, 0, 0, &edition)) v.edition = edition;
  return v;
}

std::string CheckUpSystem::ProcessorName() {
  Key cpu(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
  std::wstring name;
  return cpu && cpu.Text(L"ProcessorNameString", name) ? base::Utf8(name) : "";
}

uint64_t CheckUpSystem::PhysicalMemoryBytes() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof(ms);
  return GlobalMemoryStatusEx(&ms) ? ms.ullTotalPhys : 0;
}

uint64_t CheckUpSystem::VirtualMemoryBytes() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof(ms);
  return GlobalMemoryStatusEx(&ms) ? ms.ullTotalVirtual : 0;
}

std::vector<DriveFacts> CheckUpSystem::Drives() {
  std::vector<DriveFacts> drives;
  DWORD mask = GetLogicalDrives();
  for (int k = 0; k < 26; ++k) {
    if (!(mask & (1u << k))) continue;
    DriveFacts d;
    d.root = std::string(1, static_cast<char>('A' + k)) + ":\\";
    std::wstring root = base::Wide(d.root);
    d.type = GetDriveTypeW(root.c_str());
    // Only fixed disks are sized: asking an empty card reader or DVD drive
    // for its size can wait on the device.
    ULARGE_INTEGER freeToCaller, total, totalFree;
    if (d.type == DRIVE_FIXED &&
        GetDiskFreeSpaceExW(root.c_str(), &freeToCaller, &total, &totalFree)) {
      d.sized = true;
      d.totalBytes = total.QuadPart;
      d.freeBytes = totalFree.QuadPart;
    }
    drives.push_back(d);
  }
  return drives;
}

std::string CheckUpSystem::VideoAdapter() {
  std::string name = AdapterFromServices();
  if (TrimmedName(name).empty()) name = PrimaryDisplayDevice();
  return name;
}

CheckUpSystem& checkUpSystem() { return seam.Get(); }
CheckUpSystem* SetCheckUpSystem(CheckUpSystem* s) { return seam.Set(s); }

}  // namespace checkup
