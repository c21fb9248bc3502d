#include "platform/LocalTime.h"

#include <ctime>

LocalDateTime CurrentLocalTime() {
  LocalDateTime result;
  const std::time_t now = std::time(nullptr);
  if (now == static_cast<std::time_t>(-1))
    return result;
  std::tm parts{};
  // The reentrant form: the plain one hands back a shared buffer.
  if (localtime_r(&now, &parts) == nullptr)
    return result;
  result.year = parts.tm_year + 1900;
  result.month = parts.tm_mon + 1;
  result.day = parts.tm_mday;
  result.hour = parts.tm_hour;
  result.minute = parts.tm_min;
  result.second = parts.tm_sec;
  result.weekday = parts.tm_wday;
  return result;
}
