// The binkd parsers over arbitrary bytes.
//
// Input: one flag byte, then the text. Every line of the text (cut at LF) and the
// whole text as one line go through ParseBinkdLine; with flag bit 0 each line is
// first given a well-formed head "+ 07 Dec 14:30:15 [1] ", so that the event text is
// what the fuzzer shapes. The whole text also goes through FindBinkdLog.
//
// ParseBinkdLine: a dated line has a mark and a blank, a day 01-31, a month name, a
// time in range and "[digits] "; its time is the written form of those fields; a
// send is dated, its path is a part of the line right after "sent: " at the start of
// the event text and right before the line's last " ("; SentFileName gives a
// non-empty upper-case name without '/' or '\' that ends the upper-case path. With
// the well-formed head the line is dated with that head's time, and a send exactly
// when an independent reading of the event text says so.
// FindBinkdLog: a value only when the text holds the letters of "log" in order, and
// BinkdLogPath keeps the value at its end.
//
// The scan of the text as a binkd log (flag bit 1 fills the ignore list; bits 2-7 cut
// the text at that many 63rds of its length):
// - every name is non-empty, upper case, free of '/', '\' and every ignore item, and
//   there are no more names than "sent: " in the text;
// - what a cut-off text gives is a prefix of what the whole text gives: a line that
//   binkd has not finished yet is not read, so appending to a log never changes
//   what an earlier run counted;
// - the log's last time is a well-formed DD/MM HH:MM:SS time;
// - the freshness check's offset starts a whole dated line later than the stored
//   time, and the scan from there gives the tail of the whole scan's names.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <vector>

#include "config/binkd_cfg.h"
#include "core/log_time.h"
#include "core/whole_line.h"
#include "fuzz_support.h"
#include "logscan/binkd_line.h"
#include "logscan/whole_line_scan.h"
#include "logscan/sent_scan.h"

namespace {

using namespace zirka;
using namespace zirka::fuzz;

constexpr std::string_view kHead = "+ 07 Dec 14:30:15 [1] ";
constexpr std::string_view kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";

int TwoDigitValue(std::string_view text, std::size_t at) {
  ZIRKA_FUZZ_CHECK(IsDigit(text[at]) && IsDigit(text[at + 1]));
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

void CheckTime(std::string_view line, const BinkdLine& parsed) {
  const std::string_view time = parsed.timeText();
  ZIRKA_FUZZ_CHECK(time.size() == kBinkdTimeLength);
  ZIRKA_FUZZ_CHECK(line.size() >= kHead.size());
  ZIRKA_FUZZ_CHECK(std::string_view("!?+- ").find(line[0]) != std::string_view::npos);
  ZIRKA_FUZZ_CHECK(line[1] == ' ' && line[4] == ' ' && line[8] == ' ' && line[17] == ' ');
  ZIRKA_FUZZ_CHECK(line[18] == '[');
  ZIRKA_FUZZ_CHECK(time[2] == '/' && time[5] == ' ');
  ZIRKA_FUZZ_CHECK(time.substr(0, 2) == line.substr(2, 2));
  ZIRKA_FUZZ_CHECK(time.substr(6) == line.substr(9, 8));
  const int day = TwoDigitValue(time, 0);
  const int month = TwoDigitValue(time, 3);
  ZIRKA_FUZZ_CHECK(day >= 1 && day <= 31);
  ZIRKA_FUZZ_CHECK(month >= 1 && month <= 12);
  ZIRKA_FUZZ_CHECK(kMonths.substr(static_cast<std::size_t>(month - 1) * 3, 3) == line.substr(5, 3));
  ZIRKA_FUZZ_CHECK(time[8] == ':' && time[11] == ':');
  ZIRKA_FUZZ_CHECK(TwoDigitValue(time, 6) <= 23);
  ZIRKA_FUZZ_CHECK(TwoDigitValue(time, 9) <= 59);
  ZIRKA_FUZZ_CHECK(TwoDigitValue(time, 12) <= 59);
}

void CheckSend(std::string_view line, const BinkdLine& parsed, std::string& name) {
  ZIRKA_FUZZ_CHECK(parsed.dated);
  const std::string_view path = parsed.sentPath;
  ZIRKA_FUZZ_CHECK(path.data() >= line.data() &&
                   path.data() + path.size() <= line.data() + line.size());
  const std::size_t start = static_cast<std::size_t>(path.data() - line.data());
  const std::size_t end = start + path.size();
  ZIRKA_FUZZ_CHECK(start >= 6 && line.substr(start - 6, 6) == "sent: ");
  ZIRKA_FUZZ_CHECK(line.substr(start - 8, 2) == "] ");
  ZIRKA_FUZZ_CHECK(line.find(']', 18) == start - 8 && start - 8 > 19);
  for (std::size_t i = 19; i < start - 8; ++i) ZIRKA_FUZZ_CHECK(IsDigit(line[i]));
  ZIRKA_FUZZ_CHECK(line.rfind(" (") == end);

  SentFileName(path, name);
  ZIRKA_FUZZ_CHECK(!name.empty());
  ZIRKA_FUZZ_CHECK(name.size() <= path.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    ZIRKA_FUZZ_CHECK(c != '/' && c != '\\' && !IsLower(c));
    char p = path[path.size() - name.size() + i];
    if (IsLower(p)) p = static_cast<char>(p - 'a' + 'A');
    ZIRKA_FUZZ_CHECK(c == p);
  }
  const char before = name.size() < path.size() ? path[path.size() - name.size() - 1] : '/';
  ZIRKA_FUZZ_CHECK(before == '/' || before == '\\');
}

// Whether an event text after the well-formed head makes a send, read independently.
bool ModelSend(std::string_view event) {
  if (event.substr(0, 6) != "sent: ") return false;
  const std::string_view rest = event.substr(6);
  std::size_t open = std::string_view::npos;
  for (std::size_t i = 0; i + 1 < rest.size(); ++i) {
    if (rest[i] == ' ' && rest[i + 1] == '(') open = i;
  }
  if (open == std::string_view::npos) return false;
  const std::string_view path = rest.substr(0, open);
  return !path.empty() && path.back() != '/' && path.back() != '\\';
}

void CheckLine(std::string_view line, bool withHead, std::string& buffer, std::string& name) {
  if (withHead) {
    buffer.assign(kHead);
    buffer.append(line);
    line = buffer;
  }
  const BinkdLine parsed = ParseBinkdLine(line);
  ZIRKA_FUZZ_CHECK(parsed.timeText().empty() == !parsed.dated);
  if (parsed.dated) CheckTime(line, parsed);
  if (parsed.isSend()) CheckSend(line, parsed, name);
  if (withHead) {
    ZIRKA_FUZZ_CHECK(parsed.dated && parsed.timeText() == "07/12 14:30:15");
    ZIRKA_FUZZ_CHECK(parsed.isSend() == ModelSend(line.substr(kHead.size())));
  }
}

// The letters l, o, g in this order, in any case, with anything between them: what
// quotes, backslashes and variables (whose values here hold no such letters) leave of
// a "log" keyword.
bool HoldsLogLetters(std::string_view text) {
  constexpr std::string_view kLetters = "log";
  std::size_t matched = 0;
  for (const char c : text) {
    if (matched < kLetters.size() && (c | 0x20) == kLetters[matched]) ++matched;
  }
  return matched == kLetters.size();
}

void CheckScan(std::string_view text, std::uint8_t flags) {
  std::vector<std::string> ignoreList;
  if (flags & 2) ignoreList = {".TIC", "FILES"};
  const Scan whole =
      CheckScans(LogFormat::Binkd, text, ignoreList, flags, LogTime("15/06 12:00:00"));
  std::size_t sends = 0;
  for (std::size_t at = text.find("sent: "); at != std::string_view::npos;
       at = text.find("sent: ", at + 1)) {
    ++sends;
  }
  ZIRKA_FUZZ_CHECK(whole.names.size() <= sends);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool withHead = (data[0] & 1) != 0;
  const std::string_view text = AsText(data + 1, size - 1);

  std::string buffer;
  std::string name;
  ForEachLine(text, [&](std::string_view line) { CheckLine(line, withHead, buffer, name); });
  CheckLine(text, withHead, buffer, name);

  const EnvLookup env = [](std::string_view variable) -> std::optional<std::string> {
    if (variable == "FTN") return "/srv/ftn";
    if (variable == "BLANKS") return "C:\\Program Files\\\"binkd\"";
    return std::nullopt;
  };
  if (const auto log = FindBinkdLog(text, env)) {
    ZIRKA_FUZZ_CHECK(HoldsLogLetters(text));
    const std::string path = BinkdLogPath("/etc/binkd/binkd.cfg", *log);
    ZIRKA_FUZZ_CHECK(path.size() >= log->size() &&
                     path.compare(path.size() - log->size(), log->size(), *log) == 0);
    ZIRKA_FUZZ_CHECK(IsAbsoluteBinkdPath(path));
  }
  CheckScan(text, data[0]);
  return 0;
}
