#pragma once
// One line of a log that is read whole (binkd, Argus, qico), as its mailer's parser
// gives it, and the pieces of a line's time that the parsers share. Pure functions
// over the line as read, without its line end; nothing here allocates.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zirka {

// A line's time in the written form of the program's log times: "DD/MM HH:MM:SS".
inline constexpr std::size_t kLineTimeLength = 14;
using LineTime = std::array<char, kLineTimeLength>;

struct LogLine {
  // The line has its mailer's whole shape up to where its event text begins.
  bool dated = false;
  // The line's time when dated, without a year.
  LineTime time{};
  // The path of a file sent whole, a view into the line; empty when the line is no send.
  std::string_view sentPath;

  std::string_view timeText() const { return {time.data(), dated ? time.size() : 0}; }
  bool isSend() const { return !sentPath.empty(); }
};

// Two decimal digits at `at` whose value is from `low` to `high`.
bool TwoDigitsAt(std::string_view line, std::size_t at, int low, int high);

// The month 1-12 that the three letters at `at` name (Jan ... Dec, spelled exactly
// so), or 0.
int MonthAt(std::string_view line, std::size_t at);

// HH:MM:SS at `at`: hours 00-23, minutes and seconds 00-59.
bool ClockAt(std::string_view line, std::size_t at);

// Marks `parsed` dated, with the time of the day (two digits at `day`), the month
// and the clock (HH:MM:SS at `clock`) of `line`.
void SetLineTime(LogLine& parsed, std::string_view line, std::size_t day, int month,
                 std::size_t clock);

// True when the path names a file: something follows its last '/' or '\'.
bool NamesFile(std::string_view path);

// The sent file's name: what follows the last '/' or '\' of `sentPath`, in ASCII
// upper case, written into `name` (whose storage is reused). Kept whole, whatever
// its length.
void SentFileName(std::string_view sentPath, std::string& name);

}  // namespace zirka
