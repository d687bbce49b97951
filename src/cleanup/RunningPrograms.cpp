#include "cleanup/RunningPrograms.h"

#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "base/Handles.h"
#include "base/Seam.h"
#include "base/Text.h"

namespace cleanup {

namespace {

base::Seam<RunningPrograms> seam;

// The user of this process's token, in `buf`; null when unknown.
PSID UserOf(HANDLE process, std::vector<BYTE>& buf) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &raw)) return nullptr;
  base::KernelHandle token(raw);
  DWORD need = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &need);
  if (need == 0) return nullptr;
  buf.resize(need);
  if (!GetTokenInformation(token.get(), TokenUser, buf.data(), need, &need)) return nullptr;
  return reinterpret_cast<TOKEN_USER*>(buf.data())->User.Sid;
}

}  // namespace

std::vector<std::string> RunningPrograms::ProcessNames() {
  std::vector<std::string> names;
  DWORD mySession = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &mySession);
  std::vector<BYTE> meBuf, userBuf;
  PSID me = UserOf(GetCurrentProcess(), meBuf);
  base::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return names;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    DWORD session = 0;
    const bool sessionKnown = ProcessIdToSessionId(entry.th32ProcessID, &session) != FALSE;
    if (sessionKnown && session != mySession) continue;
    bool mine = sessionKnown;
    base::KernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (process && me) {
      PSID user = UserOf(process.get(), userBuf);
      if (user) mine = EqualSid(user, me) != FALSE;
    }
    if (mine) names.push_back(base::Utf8(entry.szExeFile));
  }
  return names;
}

RunningPrograms& runningPrograms() { return seam.Get(); }
RunningPrograms* SetRunningPrograms(RunningPrograms* programs) { return seam.Set(programs); }

}  // namespace cleanup
