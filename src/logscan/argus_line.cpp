#include "logscan/argus_line.h"

#include <array>

#include "core/text.h"

namespace zirka {

namespace {

// Fixed positions of the dated part: "  15-Mar-2024 14:22:05 ".
enum Column : std::size_t { kDay = 2, kMonth = 5, kYear = 9, kClock = 14, kText = 23 };

constexpr std::string_view kCps = " CPS, ";
constexpr std::string_view kSent = "Sent";
// What may follow "Sent" before the quote: what became of the file.
constexpr std::array<std::string_view, 4> kFates = {" deleted", " truncated", "/delete", "/move"};
constexpr std::string_view kQuoteOpen = " '";

bool IsDated(std::string_view line) {
  if (line.size() < kText || line[1] != ' ' || line[kMonth - 1] != '-' ||
      line[kYear - 1] != '-' || line[kClock - 1] != ' ' || line[kText - 1] != ' ') {
    return false;
  }
  for (std::size_t i = kYear; i < kYear + 4; ++i) {
    if (!IsDigit(line[i])) return false;
  }
  return TwoDigitsAt(line, kDay, 1, 31) && MonthAt(line, kMonth) != 0 && ClockAt(line, kClock);
}

// Moves `at` past `word` when the line holds it there.
bool Skip(std::string_view line, std::size_t& at, std::string_view word) {
  if (line.substr(at, word.size()) != word) return false;
  at += word.size();
  return true;
}

// The sent path of a dated line's text, or the empty view.
std::string_view SentPath(std::string_view line) {
  std::size_t at = kText;
  // An optional "N CPS, " before "Sent".
  std::size_t digits = at;
  while (digits < line.size() && IsDigit(line[digits])) ++digits;
  if (digits > at && line.substr(digits, kCps.size()) == kCps) at = digits + kCps.size();
  if (!Skip(line, at, kSent)) return {};
  for (const std::string_view fate : kFates) {
    if (Skip(line, at, fate)) break;
  }
  if (!Skip(line, at, kQuoteOpen)) return {};
  const std::size_t close = line.rfind('\'');
  if (close < at) return {};  // the opening quote is the line's last
  const std::string_view path = line.substr(at, close - at);
  return NamesFile(path) ? path : std::string_view();
}

}  // namespace

LogLine ParseArgusLine(std::string_view line) {
  LogLine result;
  if (!IsDated(line)) return result;
  SetLineTime(result, line, kDay, MonthAt(line, kMonth), kClock);
  result.sentPath = SentPath(line);
  return result;
}

}  // namespace zirka
