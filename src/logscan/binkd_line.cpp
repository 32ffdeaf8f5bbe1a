#include "logscan/binkd_line.h"

#include "core/text.h"

namespace zirka {

namespace {

// Fixed positions of the dated part: "+ 07 Dec 14:30:15 [".
enum Column : std::size_t { kDay = 2, kMonth = 5, kClock = 9, kPidOpen = 18 };

constexpr std::string_view kSentMark = "sent: ";
constexpr std::string_view kSizeOpen = " (";

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool IsMark(char c) { return c == '!' || c == '?' || c == '+' || c == '-' || c == ' '; }

// Two digits at `at` whose value is from `low` to `high`.
bool TwoDigits(std::string_view line, std::size_t at, int low, int high) {
  if (!IsDigit(line[at]) || !IsDigit(line[at + 1])) return false;
  const int value = (line[at] - '0') * 10 + (line[at + 1] - '0');
  return value >= low && value <= high;
}

// The month number 1-12 of the three letters at kMonth, or 0.
int MonthAt(std::string_view line) {
  const std::string_view text = line.substr(kMonth, 3);
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (text == kMonths[i]) return static_cast<int>(i) + 1;
  }
  return 0;
}

// The position where the event text begins, or 0 when the line is not dated.
std::size_t EventStart(std::string_view line) {
  // Up to '[' and at least one digit, ']' and a blank.
  if (line.size() < kPidOpen + 4) return 0;
  if (!IsMark(line[0]) || line[1] != ' ' || line[4] != ' ' || line[8] != ' ' ||
      line[kClock + 2] != ':' || line[kClock + 5] != ':' || line[kClock + 8] != ' ' ||
      line[kPidOpen] != '[') {
    return 0;
  }
  if (!TwoDigits(line, kDay, 1, 31) || MonthAt(line) == 0 || !TwoDigits(line, kClock, 0, 23) ||
      !TwoDigits(line, kClock + 3, 0, 59) || !TwoDigits(line, kClock + 6, 0, 59)) {
    return 0;
  }
  std::size_t pos = kPidOpen + 1;
  while (pos < line.size() && IsDigit(line[pos])) ++pos;
  if (pos == kPidOpen + 1 || pos + 1 >= line.size() || line[pos] != ']' || line[pos + 1] != ' ') {
    return 0;
  }
  return pos + 2;
}

std::size_t NameStart(std::string_view path) {
  const std::size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? 0 : cut + 1;
}

}  // namespace

BinkdLine ParseBinkdLine(std::string_view line) {
  BinkdLine result;
  const std::size_t event = EventStart(line);
  if (event == 0) return result;

  result.dated = true;
  const int month = MonthAt(line);
  BinkdTime& t = result.time;
  t[0] = line[kDay];
  t[1] = line[kDay + 1];
  t[2] = '/';
  t[3] = static_cast<char>('0' + month / 10);
  t[4] = static_cast<char>('0' + month % 10);
  t[5] = ' ';
  for (std::size_t i = 0; i < 8; ++i) t[6 + i] = line[kClock + i];

  if (line.substr(event, kSentMark.size()) != kSentMark) return result;
  const std::size_t pathStart = event + kSentMark.size();
  const std::size_t open = line.rfind(kSizeOpen);
  // The blank of "sent: " may itself begin the last " (": then there is no path.
  if (open == std::string_view::npos || open < pathStart) return result;
  const std::string_view path = line.substr(pathStart, open - pathStart);
  if (NameStart(path) == path.size()) return result;  // no name after the last separator
  result.sentPath = path;
  return result;
}

void SentFileName(std::string_view sentPath, std::string& name) {
  name.assign(sentPath.substr(NameStart(sentPath)));
  ToUpperAscii(name);
}

}  // namespace zirka
