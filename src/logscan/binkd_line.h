#pragma once
// One line of a binkd log:
//
//   + 07 Dec 14:30:15 [12345] sent: /var/spool/ftn/files/util/arj250.exe (225392, 2204.00 CPS, 2:5020/100@fidonet)
//
// a mark ('!', '?', '+', '-' or a blank), a blank, the day (two digits), a blank, the
// month (Jan ... Dec), a blank, HH:MM:SS, a blank, the process id in square brackets,
// a blank, and the event text. Pure functions over the line as read, without its
// line end; nothing here allocates.

#include <cstddef>
#include <string_view>

#include "logscan/log_line.h"

namespace zirka {

// A binkd line as ParseBinkdLine reads it ("07 Dec 14:30:15" gives "07/12 14:30:15").
using BinkdLine = LogLine;
inline constexpr std::size_t kBinkdTimeLength = kLineTimeLength;

// Reads one whole line. A line is dated when:
//  - its mark is '!', '?', '+', '-' or a blank, followed by a blank;
//  - the day is two digits, 01 to 31; the month is Jan ... Dec exactly as written;
//  - the time is HH:MM:SS, all digits, hours 00-23, minutes and seconds 00-59;
//  - then a blank, '[', one or more digits, ']' and a blank.
// A dated line is a send when its event text begins with "sent: ", a " (" follows the
// path (the path is everything up to the line's last " ("), and the path's last part
// after a '/' or '\' is not empty. Any other line has no time and is never a send.
BinkdLine ParseBinkdLine(std::string_view line);

}  // namespace zirka
