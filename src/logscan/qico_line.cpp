#include "logscan/qico_line.h"

#include "core/text.h"

namespace zirka {

namespace {

// Fixed positions of the dated part: "15 Mar 24 14:22:05".
enum Column : std::size_t { kDay = 0, kMonth = 3, kYear = 7, kClock = 10, kClockEnd = 18 };

constexpr std::string_view kSentMark = "sent: ";

// The position where the text begins, or 0 when the line is not dated.
std::size_t TextStart(std::string_view line) {
  if (line.size() < kClockEnd || line[kMonth - 1] != ' ' || line[kYear - 1] != ' ' ||
      line[kClock - 1] != ' ' || !TwoDigitsAt(line, kYear, 0, 99) ||
      !TwoDigitsAt(line, kDay, 1, 31) || MonthAt(line, kMonth) == 0 || !ClockAt(line, kClock)) {
    return 0;
  }
  std::size_t at = kClockEnd;
  // Milliseconds: '.' and three digits.
  if (at < line.size() && line[at] == '.') {
    if (at + 4 > line.size()) return 0;
    for (std::size_t i = at + 1; i < at + 4; ++i) {
      if (!IsDigit(line[i])) return 0;
    }
    at += 4;
  }
  if (at >= line.size() || line[at] != ' ') return 0;
  const std::size_t tty = ++at;
  while (at < line.size() && line[at] != ' ' && line[at] != '[' && line[at] != ']') ++at;
  if (at == tty || at >= line.size() || line[at] != '[') return 0;
  const std::size_t pid = ++at;
  while (at < line.size() && IsDigit(line[at])) ++at;
  if (at == pid || line.substr(at, 3) != "]: ") return 0;
  return at + 3;
}

// Reading `text` from its end: drops `tail` when the text ends with it.
bool DropTail(std::string_view& text, std::string_view tail) {
  if (!text.ends_with(tail)) return false;
  text.remove_suffix(tail.size());
  return true;
}

// Drops one or more digits at the end of `text`.
bool DropNumber(std::string_view& text) {
  std::size_t digits = 0;
  while (digits < text.size() && IsDigit(text[text.size() - 1 - digits])) ++digits;
  text.remove_suffix(digits);
  return digits > 0;
}

// The path of "PATH, N bytes[ (from N)], N cps [ok]", or the empty view.
std::string_view SentPath(std::string_view text) {
  if (!DropTail(text, " cps [ok]") || !DropNumber(text) || !DropTail(text, ", ")) return {};
  if (DropTail(text, ")")) {
    if (!DropNumber(text) || !DropTail(text, " (from ")) return {};
  }
  if (!DropTail(text, " bytes") || !DropNumber(text) || !DropTail(text, ", ")) return {};
  return NamesFile(text) ? text : std::string_view();
}

}  // namespace

LogLine ParseQicoLine(std::string_view line) {
  LogLine result;
  const std::size_t text = TextStart(line);
  if (text == 0) return result;
  SetLineTime(result, line, kDay, MonthAt(line, kMonth), kClock);
  if (line.substr(text, kSentMark.size()) != kSentMark) return result;
  result.sentPath = SentPath(line.substr(text + kSentMark.size()));
  return result;
}

}  // namespace zirka
