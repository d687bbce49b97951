#include "cli/Schedule.h"

#include <cstdio>

namespace cli {

namespace {

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string TaskArguments(const std::string& reportPath) {
  return "/clean /traces temp /quiet /report " + QuoteArgument(reportPath);
}

std::string TaskName(const std::string& userSid) { return "Mirven电脑助手 定期清理 " + userSid; }

std::string StartBoundary(int year, int month, int day, int hour, int minute) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:00", year, month, day, hour, minute);
  return text;
}

std::string TaskXml(const TaskPlan& p) {
  static const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
  const std::string schedule =
      p.repeat == Repeat::kWeekly
          ? std::string("<ScheduleByWeek><DaysOfWeek><") + kDays[p.dayOfWeek % 7] +
                " /></DaysOfWeek><WeeksInterval>1</WeeksInterval></ScheduleByWeek>"
          : "<ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay>";
  return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
         "<Task version=\"1.2\" "
         "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
         "  <RegistrationInfo>\n"
         "    <Author>Mirven电脑助手</Author>\n"
         "    <Description>定期清理当前用户的临时文件（Mirven.exe /schedule "
         "设置）。</Description>\n"
         "  </RegistrationInfo>\n"
         "  <Triggers>\n"
         "    <CalendarTrigger>\n"
         "      <StartBoundary>" +
         Escaped(p.startBoundary) + "</StartBoundary>\n      " + schedule +
         "\n    </CalendarTrigger>\n"
         "  </Triggers>\n"
         "  <Principals>\n"
         "    <Principal id=\"Author\">\n"
         "      <LogonType>InteractiveToken</LogonType>\n"
         "      <RunLevel>LeastPrivilege</RunLevel>\n"
         "    </Principal>\n"
         "  </Principals>\n"
         "  <Settings>\n"
         "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
         "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
         "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n"
         "    <StartWhenAvailable>true</StartWhenAvailable>\n"
         "    <ExecutionTimeLimit>PT4H</ExecutionTimeLimit>\n"
         "  </Settings>\n"
         "  <Actions Context=\"Author\">\n"
         "    <Exec>\n"
         "      <Command>" +
         Escaped(p.program) +
         "</Command>\n"
         "      <Arguments>" +
         Escaped(TaskArguments(p.reportPath)) +
         "</Arguments>\n"
         "    </Exec>\n"
         "  </Actions>\n"
         "</Task>\n";
}

std::string ScheduleDoneText(const Options& o, int dayOfWeek) {
  if (o.repeat == Repeat::kOff) return "计划任务已删除。";
  static const char* const kDays[] = {"日", "一", "二", "三", "四", "五", "六"};
  char time[8];
  std::snprintf(time, sizeof time, "%02d:%02d", o.hour % 24, o.minute % 60);
  std::string when = o.repeat == Repeat::kDaily ? std::string("每天 ")
                                                : std::string("每周") + kDays[dayOfWeek % 7] + " ";
  return "计划任务已设置：" + when + time + " 清理临时文件。";
}

}  // namespace cli
