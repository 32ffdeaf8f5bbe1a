#pragma once
// One line of a binkd log:
//
//   + 07 Dec 14:30:15 [12345] sent: /var/spool/ftn/files/util/arj250.exe (225392, 2204.00 CPS, 2:5020/100@fidonet)
//
// a mark ('!', '?', '+', '-' or a blank), a blank, the day (two digits), a blank, the
// month (Jan ... Dec), a blank, HH:MM:SS, a blank, the process id in square brackets,
// a blank, and the event text. Pure functions over the line as read, without its
// line end; nothing here allocates.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zirka {

// A binkd log time in the written form of the program's log times: "DD/MM HH:MM:SS".
inline constexpr std::size_t kBinkdTimeLength = 14;
using BinkdTime = std::array<char, kBinkdTimeLength>;

struct BinkdLine {
  // The line has the whole shape up to and including the blank after "[pid]".
  bool dated = false;
  // The line's time when dated ("07 Dec 14:30:15" gives "07/12 14:30:15").
  BinkdTime time{};
  // The path of a sent file, a view into the line; empty when the line is no send.
  std::string_view sentPath;

  std::string_view timeText() const { return {time.data(), dated ? time.size() : 0}; }
  bool isSend() const { return !sentPath.empty(); }
};

// Reads one whole line. A line is dated when:
//  - its mark is '!', '?', '+', '-' or a blank, followed by a blank;
//  - the day is two digits, 01 to 31; the month is Jan ... Dec exactly as written;
//  - the time is HH:MM:SS, all digits, hours 00-23, minutes and seconds 00-59;
//  - then a blank, '[', one or more digits, ']' and a blank.
// A dated line is a send when its event text begins with "sent: ", a " (" follows the
// path (the path is everything up to the line's last " ("), and the path's last part
// after a '/' or '\' is not empty. Any other line has no time and is never a send.
BinkdLine ParseBinkdLine(std::string_view line);

// The sent file's name: what follows the last '/' or '\' of `sentPath`, in ASCII
// upper case, written into `name` (whose storage is reused).
void SentFileName(std::string_view sentPath, std::string& name);

}  // namespace zirka
