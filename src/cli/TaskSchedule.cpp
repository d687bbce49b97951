#include "cli/TaskSchedule.h"

#include <windows.h>
#include <taskschd.h>

#include "base/Handles.h"
#include "base/Text.h"

namespace cli {

namespace {

constexpr CLSID kTaskScheduler = {
    0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};

class Bstr {
 public:
  explicit Bstr(const std::string& utf8) : b_(SysAllocString(base::Wide(utf8).c_str())) {}
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return b_; }

 private:
  BSTR b_;
};

}  // namespace

std::string ApplySchedule(const std::string& taskName, const std::string& xml) {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  HRESULT hr;
  {
    base::Com<ITaskService> service;
    base::Com<ITaskFolder> root;
    VARIANT none;
    VariantInit(&none);
    hr = CoCreateInstance(kTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                          reinterpret_cast<void**>(service.Out()));
    if (SUCCEEDED(hr)) hr = service->Connect(none, none, none, none);
    if (SUCCEEDED(hr)) hr = service->GetFolder(Bstr("\\"), root.Out());
    if (SUCCEEDED(hr) && xml.empty()) {
      hr = root->DeleteTask(Bstr(taskName), 0);
      if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ||
          hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
        hr = S_OK;
    } else if (SUCCEEDED(hr)) {
      base::Com<IRegisteredTask> task;
      hr = root->RegisterTask(Bstr(taskName), Bstr(xml), TASK_CREATE_OR_UPDATE, none, none,
                              TASK_LOGON_INTERACTIVE_TOKEN, none, task.Out());
    }
  }
  if (SUCCEEDED(init)) CoUninitialize();
  if (SUCCEEDED(hr)) return "";
  char code[16];
  wsprintfA(code, "0x%08lX", static_cast<unsigned long>(hr));
  return std::string("计划任务无法设置（任务计划程序的错误 ") + code + "）。";
}

}  // namespace cli
