#pragma once
// One line of a qico (or qico-ng) log:
//
//   15 Mar 24 14:22:40 ttyS1[4712]: sent: nodediff.a75, 51234 bytes (from 20480), 1024 cps [ok]
//
// DD Mon YY, a blank, HH:MM:SS (with ".mmm" when qico logs for debugging), a blank,
// the tty (binkp, tcpip, ttyS1, ...), the process id in square brackets, ':', a blank
// and the text. Pure functions over the line as read, without its line end; nothing
// here allocates.

#include <string_view>

#include "logscan/log_line.h"

namespace zirka {

// Reads one whole line. A line is dated when:
//  - the day is two digits, 01 to 31, then a blank, the month Jan ... Dec exactly as
//    written, a blank and a year of two digits;
//  - then a blank, HH:MM:SS (hours 00-23, minutes and seconds 00-59), optionally '.'
//    and three digits, and a blank;
//  - then the tty, one or more characters other than a blank, '[' and ']', and
//    '[', one or more digits, ']', ':' and a blank.
// Its time is the day, the month and HH:MM:SS; the year and the milliseconds are
// dropped. A dated line is a send when its text is "sent: PATH, N bytes, N cps [ok]",
// with " (from N)" after "bytes" or not (N one or more digits), read from the line's
// end, and PATH's last part after a '/' or '\' is not empty. Any other line has no
// time and is never a send ("[skipped]", "[suspended]" and "[error]" among them).
LogLine ParseQicoLine(std::string_view line);

}  // namespace zirka
