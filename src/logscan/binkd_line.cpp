#include "logscan/binkd_line.h"

#include "core/text.h"

namespace zirka {

namespace {

// Fixed positions of the dated part: "+ 07 Dec 14:30:15 [".
enum Column : std::size_t { kDay = 2, kMonth = 5, kClock = 9, kPidOpen = 18 };

constexpr std::string_view kSentMark = "sent: ";
constexpr std::string_view kSizeOpen = " (";

bool IsMark(char c) { return c == '!' || c == '?' || c == '+' || c == '-' || c == ' '; }

// The position where the event text begins, or 0 when the line is not dated.
std::size_t EventStart(std::string_view line) {
  // Up to '[' and at least one digit, ']' and a blank.
  if (line.size() < kPidOpen + 4) return 0;
  if (!IsMark(line[0]) || line[1] != ' ' || line[4] != ' ' || line[8] != ' ' ||
      line[kClock + 8] != ' ' || line[kPidOpen] != '[') {
    return 0;
  }
  if (!TwoDigitsAt(line, kDay, 1, 31) || MonthAt(line, kMonth) == 0 || !ClockAt(line, kClock)) {
    return 0;
  }
  std::size_t pos = kPidOpen + 1;
  while (pos < line.size() && IsDigit(line[pos])) ++pos;
  if (pos == kPidOpen + 1 || pos + 1 >= line.size() || line[pos] != ']' || line[pos + 1] != ' ') {
    return 0;
  }
  return pos + 2;
}

}  // namespace

BinkdLine ParseBinkdLine(std::string_view line) {
  BinkdLine result;
  const std::size_t event = EventStart(line);
  if (event == 0) return result;
  SetLineTime(result, line, kDay, MonthAt(line, kMonth), kClock);

  if (line.substr(event, kSentMark.size()) != kSentMark) return result;
  const std::size_t pathStart = event + kSentMark.size();
  const std::size_t open = line.rfind(kSizeOpen);
  // The blank of "sent: " may itself begin the last " (": then there is no path.
  if (open == std::string_view::npos || open < pathStart) return result;
  const std::string_view path = line.substr(pathStart, open - pathStart);
  if (!NamesFile(path)) return result;  // no name after the last separator
  result.sentPath = path;
  return result;
}

}  // namespace zirka
