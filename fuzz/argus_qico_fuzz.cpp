// The Argus and qico line parsers and their logs' scan over arbitrary bytes.
//
// Input: one flag byte, then the text. Flag bit 0 picks the format (0 Argus, 1 qico).
// Every line of the text (cut at LF) and the whole text as one line go through the
// format's parser; with flag bit 1 each line is first given a well-formed head of that
// format, so that the text after it is what the fuzzer shapes.
//
// The parser: a dated line has the format's head (day 01-31, a month name, a clock in
// range) and its time is the written form of those fields; a send is dated and its
// path is a part of the line that names a file (something after its last '/' or '\'),
// right after "Sent...'" and before the line's last "'" (Argus), or right after
// "sent: " and before ", N bytes" with the line ending in " cps [ok]" (qico); with the
// well-formed head the line is dated with the head's time, and a send exactly when an
// independent reading of the text says so.
//
// The scan of the text as a log of the format (flag bits 2-7 cut the text at that many
// 63rds of its length):
// - every name is non-empty, upper case, free of '/', '\' and every ignore item;
// - what a cut-off text gives is a prefix of what the whole text gives;
// - the log's last time is a well-formed DD/MM HH:MM:SS time;
// - the freshness check's offset starts a whole dated line later than the stored
//   time, and the scan from there gives the tail of the whole scan's names.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/log_time.h"
#include "core/whole_line.h"
#include "fuzz_support.h"
#include "logscan/argus_line.h"
#include "logscan/qico_line.h"
#include "logscan/sent_scan.h"
#include "logscan/whole_line_scan.h"

namespace {

using namespace zirka;
using namespace zirka::fuzz;

constexpr std::string_view kArgusHead = "  15-Mar-2024 14:22:05 ";
constexpr std::string_view kQicoHead = "15 Mar 24 14:22:05 binkp[4711]: ";

LogLine Parse(LogFormat format, std::string_view line) {
  return format == LogFormat::Argus ? ParseArgusLine(line) : ParseQicoLine(line);
}

bool NamesFileModel(std::string_view path) {
  return !path.empty() && path.back() != '/' && path.back() != '\\';
}

std::size_t Digits(std::string_view text, std::size_t at) {
  std::size_t end = at;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - at;
}

// Argus: "[N CPS, ]Sent[fate] '" and a path up to the text's last quote.
bool ArgusSendModel(std::string_view text) {
  const std::size_t cps = Digits(text, 0);
  if (cps > 0 && text.substr(cps, 6) == " CPS, ") text.remove_prefix(cps + 6);
  for (const std::string_view fate : {"", " deleted", " truncated", "/delete", "/move"}) {
    const std::string prefix = "Sent" + std::string(fate) + " '";
    if (text.substr(0, prefix.size()) != prefix) continue;
    const std::string_view rest = text.substr(prefix.size());
    const std::size_t close = rest.rfind('\'');
    return close != std::string_view::npos && NamesFileModel(rest.substr(0, close));
  }
  return false;
}

// qico: what follows a path's ", " is "N bytes[ (from N)], N cps [ok]", read forward.
bool QicoTail(std::string_view tail) {
  std::size_t at = Digits(tail, 0);
  if (at == 0 || tail.substr(at, 6) != " bytes") return false;
  at += 6;
  if (tail.substr(at, 7) == " (from ") {
    const std::size_t n = Digits(tail, at + 7);
    if (n == 0 || tail.substr(at + 7 + n, 1) != ")") return false;
    at += 7 + n + 1;
  }
  if (tail.substr(at, 2) != ", ") return false;
  const std::size_t n = Digits(tail, at + 2);
  return n > 0 && tail.substr(at + 2 + n) == " cps [ok]";
}

bool QicoSendModel(std::string_view text) {
  if (text.substr(0, 6) != "sent: ") return false;
  const std::string_view rest = text.substr(6);
  bool send = false;
  for (std::size_t p = rest.find(", "); p != std::string_view::npos; p = rest.find(", ", p + 1)) {
    if (QicoTail(rest.substr(p + 2))) send = NamesFileModel(rest.substr(0, p));
  }
  return send;
}

void CheckLine(LogFormat format, std::string_view line, bool withHead, std::string& buffer,
               std::string& name) {
  const std::string_view head = format == LogFormat::Argus ? kArgusHead : kQicoHead;
  if (withHead) {
    buffer.assign(head);
    buffer.append(line);
    line = buffer;
  }
  const LogLine parsed = Parse(format, line);
  ZIRKA_FUZZ_CHECK(parsed.timeText().empty() == !parsed.dated);
  if (parsed.dated) {
    CheckLogTime(parsed.timeText());
    const std::size_t clock = format == LogFormat::Argus ? 14 : 10;
    const std::size_t day = format == LogFormat::Argus ? 2 : 0;
    ZIRKA_FUZZ_CHECK(parsed.timeText().substr(6) == line.substr(clock, 8));
    ZIRKA_FUZZ_CHECK(parsed.timeText().substr(0, 2) == line.substr(day, 2));
  }
  if (parsed.isSend()) {
    ZIRKA_FUZZ_CHECK(parsed.dated);
    const std::string_view path = parsed.sentPath;
    ZIRKA_FUZZ_CHECK(path.data() >= line.data() &&
                     path.data() + path.size() <= line.data() + line.size());
    const std::size_t end = static_cast<std::size_t>(path.data() - line.data()) + path.size();
    if (format == LogFormat::Argus) {
      ZIRKA_FUZZ_CHECK(path.data()[-1] == '\'' && line.rfind('\'') == end);
    } else {
      ZIRKA_FUZZ_CHECK(line.substr(end, 2) == ", " && line.ends_with(" cps [ok]"));
    }
    SentFileName(path, name);
    ZIRKA_FUZZ_CHECK(!name.empty());
    for (const char c : name) ZIRKA_FUZZ_CHECK(!IsLower(c) && c != '/' && c != '\\');
  }
  if (withHead) {
    ZIRKA_FUZZ_CHECK(parsed.dated && parsed.timeText() == "15/03 14:22:05");
    const std::string_view text = line.substr(head.size());
    ZIRKA_FUZZ_CHECK(parsed.isSend() ==
                     (format == LogFormat::Argus ? ArgusSendModel(text) : QicoSendModel(text)));
  }
}

void CheckScan(LogFormat format, std::string_view text, std::uint8_t flags) {
  CheckScans(format, text, {".TIC"}, flags, LogTime("15/03 12:00:00"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const LogFormat format = (data[0] & 1) != 0 ? LogFormat::Qico : LogFormat::Argus;
  const bool withHead = (data[0] & 2) != 0;
  const std::string_view text = AsText(data + 1, size - 1);

  std::string buffer;
  std::string name;
  ForEachLine(text, [&](std::string_view line) {
    CheckLine(format, line, withHead, buffer, name);
  });
  CheckLine(format, text, withHead, buffer, name);
  CheckScan(format, text, data[0]);
  return 0;
}
