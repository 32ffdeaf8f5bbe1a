#include "logscan/log_line.h"

#include "core/text.h"

namespace zirka {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::size_t NameStart(std::string_view path) {
  const std::size_t cut = path.find_last_of("/\\");
  return cut == std::string_view::npos ? 0 : cut + 1;
}

}  // namespace

bool TwoDigitsAt(std::string_view line, std::size_t at, int low, int high) {
  if (at + 2 > line.size() || !IsDigit(line[at]) || !IsDigit(line[at + 1])) return false;
  const int value = (line[at] - '0') * 10 + (line[at + 1] - '0');
  return value >= low && value <= high;
}

int MonthAt(std::string_view line, std::size_t at) {
  if (at + 3 > line.size()) return 0;
  const std::string_view text = line.substr(at, 3);
  for (std::size_t i = 0; i < kMonths.size(); ++i) {
    if (text == kMonths[i]) return static_cast<int>(i) + 1;
  }
  return 0;
}

bool ClockAt(std::string_view line, std::size_t at) {
  if (at + 8 > line.size() || line[at + 2] != ':' || line[at + 5] != ':') return false;
  return TwoDigitsAt(line, at, 0, 23) && TwoDigitsAt(line, at + 3, 0, 59) &&
         TwoDigitsAt(line, at + 6, 0, 59);
}

void SetLineTime(LogLine& parsed, std::string_view line, std::size_t day, int month,
                 std::size_t clock) {
  parsed.dated = true;
  LineTime& t = parsed.time;
  t[0] = line[day];
  t[1] = line[day + 1];
  t[2] = '/';
  t[3] = static_cast<char>('0' + month / 10);
  t[4] = static_cast<char>('0' + month % 10);
  t[5] = ' ';
  for (std::size_t i = 0; i < 8; ++i) t[6 + i] = line[clock + i];
}

bool NamesFile(std::string_view path) { return NameStart(path) < path.size(); }

void SentFileName(std::string_view sentPath, std::string& name) {
  name.assign(sentPath.substr(NameStart(sentPath)));
  ToUpperAscii(name);
}

}  // namespace zirka
