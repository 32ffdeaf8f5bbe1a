#include "platform/calendar.h"

#include <algorithm>
#include <cstdio>

namespace zirka::platform {

std::string AsctimeText(const std::tm& tm) {
  static constexpr const char kDays[7][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* day = (tm.tm_wday >= 0 && tm.tm_wday < 7) ? kDays[tm.tm_wday] : "???";
  const char* month = (tm.tm_mon >= 0 && tm.tm_mon < 12) ? kMonths[tm.tm_mon] : "???";
  const long long year = 1900LL + tm.tm_year;
  char text[80];
  const int n = std::snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %lld\n", day, month,
                              tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, year);
  if (n <= 0) return {};
  return std::string(text, std::min(static_cast<std::size_t>(n), sizeof text - 1));
}

}  // namespace zirka::platform
