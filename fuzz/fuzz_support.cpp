#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "core/whole_line.h"
#include "logscan/argus_line.h"
#include "logscan/binkd_line.h"
#include "logscan/qico_line.h"
#include "logscan/sent_scan.h"
#include "platform/raw_file.h"
#include "support/memory_file.h"

namespace zirka::fuzz {

void Fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "\nPROPERTY FAILED: %s\n  at %s:%d\n", what, file, line);
  std::fflush(stderr);
  std::abort();
}

bool StartsWithByteOrderMark(std::string_view bytes) {
  return bytes.substr(0, bytes.find('\x1a')).starts_with("\xEF\xBB\xBF");
}

std::vector<std::string> DosPieces(std::string_view bytes, std::size_t maxChars) {
  const std::size_t end = bytes.find('\x1a');
  std::string_view raw = bytes.substr(0, end);
  if (StartsWithByteOrderMark(bytes)) raw.remove_prefix(3);
  std::string text;
  text.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text.push_back(raw[i]);
  }
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t stop = start;
    while (stop < text.size() && stop - start < maxChars) {
      if (text[stop++] == '\n') break;
    }
    pieces.emplace_back(text, start, stop - start);
    start = stop;
  }
  return pieces;
}

std::string DosEncode(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

std::unique_ptr<platform::TextFile> ReadingText(std::string_view bytes) {
  return platform::MakeMemoryText(std::make_shared<std::string>(bytes));
}

std::unique_ptr<platform::TextFile> WritingText(std::shared_ptr<std::string> out) {
  return platform::MakeMemoryText(std::move(out), "OUT");
}

bool IsDated(std::string_view line) {
  return line.size() >= 5 && IsDigit(line[0]) && IsDigit(line[1]) && line[2] == '/' &&
         IsDigit(line[3]) && IsDigit(line[4]);
}

Scan ScanLog(LogFormat format, std::string_view log, const std::vector<std::string>& ignoreList,
             std::uint64_t from) {
  LogEntry entry;
  entry.path = "MAILER.LOG";
  entry.format = format;
  entry.stream = ReadingText(log);
  entry.stream->Seek(from);
  Scan scan;
  while (auto name = NextSentFile(entry, ignoreList)) scan.names.push_back(std::move(*name));
  scan.lastTime = entry.lastTime;
  return scan;
}

namespace {

LogLine ParseWholeLine(LogFormat format, std::string_view line) {
  return format == LogFormat::Argus  ? ParseArgusLine(line)
         : format == LogFormat::Qico ? ParseQicoLine(line)
                                     : ParseBinkdLine(line);
}

}  // namespace

std::optional<std::uint64_t> FirstLaterWholeLine(platform::TextFile& stream, LogFormat format,
                                                 const LogTime& stored) {
  stream.Rewind();
  std::string line;
  std::string spare;
  for (;;) {
    const std::uint64_t start = stream.Tell();
    const LineState state = ReadWholeLine(stream, line, spare);
    if (state == LineState::None || state == LineState::Unfinished) return std::nullopt;
    const LogLine parsed = ParseWholeLine(format, line);
    if (parsed.dated && LogTime::IsWrittenLater(parsed.timeText(), stored.written())) return start;
  }
}

void CheckLogTime(std::string_view time) {
  ZIRKA_FUZZ_CHECK(time.size() == kLogTimeLength && IsDatedLine(time));
  ZIRKA_FUZZ_CHECK(time[5] == ' ' && time[8] == ':' && time[11] == ':');
  for (const std::size_t i : {6u, 7u, 9u, 10u, 12u, 13u}) ZIRKA_FUZZ_CHECK(IsDigit(time[i]));
  ZIRKA_FUZZ_CHECK(time.substr(6, 2) <= "23" && time.substr(9, 2) <= "59" &&
                   time.substr(12, 2) <= "59");
}

Scan CheckScans(LogFormat format, std::string_view text,
                const std::vector<std::string>& ignoreList, std::uint8_t flags,
                const LogTime& stored) {
  const Scan whole = ScanLog(format, text, ignoreList);
  for (const std::string& name : whole.names) {
    ZIRKA_FUZZ_CHECK(!name.empty());
    for (const char c : name) ZIRKA_FUZZ_CHECK(!IsLower(c) && c != '/' && c != '\\');
    for (const std::string& item : ignoreList) {
      ZIRKA_FUZZ_CHECK(name.find(item) == std::string::npos);
    }
  }
  if (!whole.lastTime.empty()) CheckLogTime(whole.lastTime.written());

  const std::size_t cut = text.size() * (flags >> 2) / 63;
  ZIRKA_FUZZ_CHECK(IsPart(ScanLog(format, text.substr(0, cut), ignoreList).names, whole.names, false));
  auto stream = ReadingText(text);
  const auto from = FirstLaterWholeLine(*stream, format, stored);
  if (!from) return whole;
  ZIRKA_FUZZ_CHECK(*from <= text.size());
  stream->Seek(*from);
  std::string line;
  std::string spare;
  const LineState state = ReadWholeLine(*stream, line, spare);
  ZIRKA_FUZZ_CHECK(state == LineState::Whole || state == LineState::Overlong);
  const LogLine parsed = ParseWholeLine(format, line);
  ZIRKA_FUZZ_CHECK(parsed.dated && LogTime(parsed.timeText()).IsLaterThan(stored));
  ZIRKA_FUZZ_CHECK(IsPart(ScanLog(format, text, ignoreList, *from).names, whole.names, true));
  return whole;
}

bool IsPart(const std::vector<std::string>& part, const std::vector<std::string>& whole,
            bool atEnd) {
  if (part.size() > whole.size()) return false;
  const std::size_t offset = atEnd ? whole.size() - part.size() : 0;
  for (std::size_t i = 0; i < part.size(); ++i) {
    if (part[i] != whole[offset + i]) return false;
  }
  return true;
}

}  // namespace zirka::fuzz
