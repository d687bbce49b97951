#include "memory/MemorySystem.h"

#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "base/Handles.h"
#include "base/Seam.h"
#include "memory/ProcessRecords.h"

namespace memory {

namespace {

constexpr ULONG kProcessInformationClass = 5;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

static_assert(offsetof(SYSTEM_PROCESS_INFORMATION, ImageName) == 0x38, "record layout");
static_assert(offsetof(SYSTEM_PROCESS_INFORMATION, UniqueProcessId) ==
                  (sizeof(void*) == 8 ? 0x50 : 0x44),
              "record layout");

// Lets this process open the processes of other users' sessions where the
// account may; without it fewer processes are trimmed, nothing else.
void EnableDebugPrivilege() {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return;
  base::KernelHandle token(raw);
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &tp.Privileges[0].Luid))
    AdjustTokenPrivileges(token.get(), FALSE, &tp, sizeof(tp), nullptr, nullptr);
}

// The process ids from the native record list; empty when it cannot be read.
std::vector<uint64_t> ListFromRecords() {
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto query = ntdll ? reinterpret_cast<Query>(reinterpret_cast<void*>(
                           GetProcAddress(ntdll, "NtQuerySystemInformation")))
                     : nullptr;
  if (!query) return {};
  size_t size = kFirstBufferSize;
  while (size) {
    std::unique_ptr<unsigned char[]> buf(new (std::nothrow) unsigned char[size]);
    if (!buf) return {};
    ULONG asked = 0;
    LONG status = query(kProcessInformationClass, buf.get(), static_cast<ULONG>(size), &asked);
    if (status >= 0)
      return ProcessesToTrim(buf.get(), size, reinterpret_cast<uintptr_t>(buf.get()),
                             LayoutFor(sizeof(void*)));
    if (status != kInfoLengthMismatch) return {};
    size = NextBufferSize(size, asked);
  }
  return {};
}

std::vector<uint64_t> ListFromEnumProcesses() {
  std::vector<DWORD> ids(1024);
  for (;;) {
    DWORD bytes = 0;
    if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes))
      return {};
    if (bytes < ids.size() * sizeof(DWORD) || ids.size() >= 65536) {
      ids.resize(bytes / sizeof(DWORD));
      break;
    }
    ids.resize(ids.size() * 2);
  }
  std::vector<uint64_t> pids;
  for (DWORD id : ids)
    if (id) pids.push_back(id);
  return pids;
}

base::Seam<MemorySystem> seam;

}  // namespace

Figures MemorySystem::Read() {
  MEMORYSTATUSEX ms{};
  ms.dwLength = sizeof(ms);
  if (!GlobalMemoryStatusEx(&ms)) return Figures{};
  return MakeFigures(ms.dwMemoryLoad, ms.ullTotalPhys, ms.ullAvailPhys);
}

size_t MemorySystem::Optimize() {
  EnableDebugPrivilege();
  std::vector<uint64_t> pids = ListFromRecords();
  if (pids.empty()) pids = ListFromEnumProcesses();
  size_t trimmed = 0;
  for (uint64_t pid : pids) {
    base::KernelHandle process(OpenProcess(PROCESS_SET_QUOTA, FALSE, static_cast<DWORD>(pid)));
    if (!process) continue;
    // (SIZE_T)-1 for both bounds asks the system to remove as many pages
    // as it can; they come back from memory as the process touches them.
    if (SetProcessWorkingSetSize(process.get(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1)))
      ++trimmed;
  }
  return trimmed;
}

MemorySystem& memorySystem() { return seam.Get(); }
MemorySystem* SetMemorySystem(MemorySystem* m) { return seam.Set(m); }

}  // namespace memory
