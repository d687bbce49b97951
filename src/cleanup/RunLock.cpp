#include "cleanup/RunLock.h"

#include <sddl.h>

#include <vector>

namespace cleanup {

namespace {

std::wstring SidOfProcess() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return L"";
  base::KernelHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  if (size == 0) return L"";
  std::vector<BYTE> buf(size);
  if (!GetTokenInformation(token, TokenUser, buf.data(), size, &size)) return L"";
  wchar_t* text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buf.data())->User.Sid, &text))
    return L"";
  std::wstring sid = text;
  LocalFree(text);
  return sid;
}

}  // namespace

std::wstring RunLock::UserSid() {
  std::wstring sid = SidOfProcess();
  if (!sid.empty()) return sid;
  // Without a SID, the user's name keeps users apart.
  std::wstring user(257, L'\0');
  DWORD n = static_cast<DWORD>(user.size());
  return GetUserNameW(user.data(), &n) ? std::wstring(user.c_str()) : L"unknown";
}

std::wstring RunLock::Name() { return L"Local\\Mirven.CleanupRun." + UserSid(); }

bool RunLock::TryAcquire() {
  if (held_) return true;
  mutex_.Reset(CreateMutexW(nullptr, FALSE, Name().c_str()));
  if (!mutex_) return false;
  DWORD r = WaitForSingleObject(mutex_.get(), 0);
  // An abandoned mutex: the run that held it ended without letting go.
  held_ = r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
  if (!held_) mutex_.Reset();
  return held_;
}

void RunLock::Release() {
  if (held_) ReleaseMutex(mutex_.get());
  held_ = false;
  mutex_.Reset();
}

}  // namespace cleanup
