#include "cli/Schedule.h"

#include <cstdio>

namespace cli {

std::string TaskArguments(const std::string& reportPath) {
  return "/clean /traces temp /quiet /report " + QuoteArgument(reportPath);
}

std::string TaskName(const std::string& userSid) { return "Mirven电脑助手 定期清理 " + userSid; }

std::string StartBoundary(int year, int month, int day, int hour, int minute) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:00", year, month, day, hour, minute);
  return text;
}

std::string ScheduleDoneText(const Options& o, int dayOfWeek) {
  if (o.repeat == Repeat::kOff) return "计划任务已删除。";
  static const char* const kDays[] = {"日", "一", "二", "三", "四", "五", "六"};
  char time[8];
  std::snprintf(time, sizeof time, "%02d:%02d", o.hour, o.minute);
  std::string when = o.repeat == Repeat::kDaily
                         ? std::string("每天 ")
                         : std::string("每周") + kDays[dayOfWeek % 7] + " ";
  return "计划任务已设置：" + when + time + " 清理临时文件。";
}

}  // namespace cli
