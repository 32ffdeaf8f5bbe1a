#pragma once
// One line of an Argus log (and of its successors Radius and Taurus):
//
//     15-Mar-2024 14:22:40 3120 CPS, Sent 'NODELIST.Z75'
//
// a tag character, a blank, DD-Mon-YYYY, a blank, HH:MM:SS, a blank and the text.
// Pure functions over the line as read, without its line end; nothing here allocates.

#include <string_view>

#include "logscan/log_line.h"

namespace zirka {

// Reads one whole line. A line is dated when:
//  - its first character (the tag, any character) is followed by a blank;
//  - the day is two digits, 01 to 31, then '-', the month Jan ... Dec exactly as
//    written, '-' and a year of four digits;
//  - then a blank, HH:MM:SS (hours 00-23, minutes and seconds 00-59) and a blank.
// Its time is the day, the month and the clock; the year is dropped. A dated line is
// a send when its text is "[N CPS, ]Sent[ deleted| truncated|/delete|/move] '" (N
// one or more digits) followed by the path up to the line's last "'", whatever
// follows that; the path's last part after a '/' or '\' must not be empty. Any other
// line has no time and is never a send.
LogLine ParseArgusLine(std::string_view line);

}  // namespace zirka
