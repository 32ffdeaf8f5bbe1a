#pragma once
// The calendar text of a broken-down time, shared by the hosts' CalendarText.

#include <ctime>
#include <string>

namespace zirka::platform {

// `tm` as asctime writes it: "Mon Dec  7 09:14:38 2026\n". Built here rather than by
// strftime so that every host gives the same text (MinGW's strftime lacks %e).
std::string AsctimeText(const std::tm& tm);

}  // namespace zirka::platform
