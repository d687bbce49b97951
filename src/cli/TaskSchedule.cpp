#include "cli/TaskSchedule.h"

#include <oleauto.h>
#include <taskschd.h>

#include "cli/Schedule.h"
#include "ui/Text.h"

namespace cli {

namespace {

constexpr CLSID kTaskScheduler = {
    0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};

// Releases a COM interface.
template <typename T>
class Com {
 public:
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (p_) p_->Release();
  }
  T** operator&() { return &p_; }
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const std::string& utf8) : b_(SysAllocString(ui::Wide(utf8).c_str())) {}
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return b_; }

 private:
  BSTR b_;
};

std::string Hex(HRESULT hr) {
  char text[16];
  wsprintfA(text, "0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

HRESULT Register(const ScheduleRequest& r, ITaskFolder* root, ITaskService* service) {
  Com<ITaskDefinition> task;
  HRESULT hr = service->NewTask(0, &task);
  if (FAILED(hr)) return hr;
  {
    Com<IRegistrationInfo> info;
    if (SUCCEEDED(task->get_RegistrationInfo(&info))) {
      info->put_Author(Bstr("Mirven电脑助手"));
      info->put_Description(Bstr("定期清理当前用户的临时文件（Mirven.exe /schedule 设置）。"));
    }
  }
  {
    Com<IPrincipal> principal;
    if (FAILED(hr = task->get_Principal(&principal))) return hr;
    principal->put_LogonType(TASK_LOGON_INTERACTIVE_TOKEN);
    principal->put_RunLevel(TASK_RUNLEVEL_LUA);
  }
  {
    Com<ITaskSettings> settings;
    if (FAILED(hr = task->get_Settings(&settings))) return hr;
    // A run missed while the computer was off comes as soon as it can.
    settings->put_StartWhenAvailable(VARIANT_TRUE);
    settings->put_DisallowStartIfOnBatteries(VARIANT_FALSE);
    settings->put_StopIfGoingOnBatteries(VARIANT_FALSE);
    settings->put_ExecutionTimeLimit(Bstr("PT4H"));
    settings->put_MultipleInstances(TASK_INSTANCES_IGNORE_NEW);
  }
  {
    Com<ITriggerCollection> triggers;
    if (FAILED(hr = task->get_Triggers(&triggers))) return hr;
    Com<ITrigger> trigger;
    const bool daily = r.options.repeat == Repeat::kDaily;
    hr = triggers->Create(daily ? TASK_TRIGGER_DAILY : TASK_TRIGGER_WEEKLY, &trigger);
    if (FAILED(hr)) return hr;
    if (FAILED(hr = trigger->put_StartBoundary(Bstr(r.startBoundary)))) return hr;
    if (daily) {
      Com<IDailyTrigger> d;
      if (FAILED(hr = trigger->QueryInterface(__uuidof(IDailyTrigger), reinterpret_cast<void**>(&d))))
        return hr;
      d->put_DaysInterval(1);
    } else {
      Com<IWeeklyTrigger> w;
      if (FAILED(hr = trigger->QueryInterface(__uuidof(IWeeklyTrigger), reinterpret_cast<void**>(&w))))
        return hr;
      w->put_WeeksInterval(1);
      w->put_DaysOfWeek(static_cast<short>(1 << r.dayOfWeek));  // bit 0 is Sunday
    }
  }
  {
    Com<IActionCollection> actions;
    if (FAILED(hr = task->get_Actions(&actions))) return hr;
    Com<IAction> action;
    if (FAILED(hr = actions->Create(TASK_ACTION_EXEC, &action))) return hr;
    Com<IExecAction> exec;
    if (FAILED(hr = action->QueryInterface(__uuidof(IExecAction), reinterpret_cast<void**>(&exec))))
      return hr;
    if (FAILED(hr = exec->put_Path(Bstr(r.program)))) return hr;
    if (FAILED(hr = exec->put_Arguments(Bstr(TaskArguments(r.reportPath))))) return hr;
  }
  VARIANT none;
  VariantInit(&none);
  Com<IRegisteredTask> registered;
  return root->RegisterTaskDefinition(Bstr(r.taskName), task.get(), TASK_CREATE_OR_UPDATE, none,
                                      none, TASK_LOGON_INTERACTIVE_TOKEN, none, &registered);
}

}  // namespace

std::string ApplySchedule(const ScheduleRequest& r) {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::string error;
  {
    Com<ITaskService> service;
    Com<ITaskFolder> root;
    VARIANT none;
    VariantInit(&none);
    HRESULT hr = CoCreateInstance(kTaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                  __uuidof(ITaskService), reinterpret_cast<void**>(&service));
    if (SUCCEEDED(hr)) hr = service->Connect(none, none, none, none);
    if (SUCCEEDED(hr)) hr = service->GetFolder(Bstr("\\"), &root);
    if (SUCCEEDED(hr)) {
      if (r.options.repeat == Repeat::kOff) {
        hr = root->DeleteTask(Bstr(r.taskName), 0);
        // No task: nothing to remove.
        if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ||
            hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
          hr = S_OK;
      } else {
        hr = Register(r, root.get(), service.get());
      }
    }
    if (FAILED(hr)) error = "计划任务无法设置（任务计划程序的错误 " + Hex(hr) + "）。";
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return error;
}

}  // namespace cli
