#include "logscan/sent_scan.h"

#include <string>
#include <string_view>

#include "core/log_time.h"
#include "core/messages.h"

namespace zirka {

namespace {

// The size one sent-file record had in the classic fixed layout: a 13-byte name,
// padding and a 32-bit count. The debug line shows the table's size in such records.
constexpr unsigned kClassicSentRecordSize = 20;

constexpr std::string_view kOkMark = " OK: ";

// Positions of the transfer tag: ZS, JS or HS, upper case only.
constexpr std::size_t kTagFirst = 15;
constexpr std::size_t kTagSecond = 16;

bool IsSendTag(std::string_view line) {
  if (line.size() <= kTagSecond) return false;
  const char first = line[kTagFirst];
  return (first == 'Z' || first == 'J' || first == 'H') && line[kTagSecond] == 'S';
}

// The path word: the word after the one that holds the tag. Only the space
// character separates words; the word runs to the next space or the end of the piece.
std::string_view PathWord(std::string_view line) {
  std::size_t begin = line.find(' ', kTagSecond);
  if (begin == std::string_view::npos) return {};
  begin = line.find_first_not_of(' ', begin);
  if (begin == std::string_view::npos) return {};
  const std::size_t end = line.find(' ', begin);
  return line.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
}

// The name a path word gives: what follows its last backslash, ASCII upper case.
// Only the backslash cuts; '/' and ':' stay in the name.
std::string NameOf(std::string_view word) {
  const std::size_t cut = word.rfind('\\');
  std::string name(cut == std::string_view::npos ? word : word.substr(cut + 1));
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

bool IsIgnored(const std::vector<std::string>& ignoreList, const std::string& name) {
  for (const std::string& item : ignoreList) {
    if (name.find(item) != std::string::npos) return true;
  }
  return false;
}

// The time of a dated line: its first 14 characters. A line that ends before its
// time does (the mailer may be writing it right now) gives no time, so that no
// broken time can become the stored Last_Time; the log keeps its last whole one.
void TakeLineTime(std::string_view line, LogTime& time) {
  const std::string_view head = line.substr(0, kLogTimeLength);
  if (head.size() == kLogTimeLength && head.find('\n') == std::string_view::npos) {
    time.Assign(head);
  }
}

// The newest time among the new logs, starting from the stored Last_Time (or,
// without one, from the first log time read at all). Logs without a time take no
// part; with no time anywhere the result is empty and nothing is to be stored.
// The log table keeps its times as written; they are compared in swapped copies.
void ComputeNewLastTime(RunContext& ctx) {
  const LogTime* newest = &ctx.storedLastTime;
  if (newest->empty()) {
    for (const LogEntry& entry : ctx.logTable) {
      if (!entry.lastTime.empty()) {
        newest = &entry.lastTime;
        break;
      }
    }
  }
  for (const LogEntry& entry : ctx.logTable) {
    Debug(ctx, "Log " + entry.path + " Last time: " + entry.lastTime.written() + "\n");
    if (!entry.isNew || entry.lastTime.empty()) continue;
    if (entry.lastTime.IsLaterThan(*newest)) newest = &entry.lastTime;
  }
  ctx.newLastTime = *newest;
  Debug(ctx, "Finally Last_Time=" + ctx.newLastTime.written() + "\n");
}

}  // namespace

std::optional<std::string> NextSentFile(LogEntry& entry,
                                        const std::vector<std::string>& ignoreList) {
  // One buffer for every line up to the next sent file: no allocation per line.
  std::string piece;
  piece.reserve(kLogPiece);
  while (entry.stream->ReadPiece(piece, kLogPiece)) {
    if (!IsDatedLine(piece)) continue;
    TakeLineTime(piece, entry.lastTime);
    if (!IsSendTag(piece)) continue;
    if (piece.find(kOkMark) == std::string::npos) continue;
    std::string name = NameOf(PathWord(piece));
    // A path that ends in a backslash names no file; the log goes on.
    if (name.empty()) continue;
    if (IsIgnored(ignoreList, name)) continue;
    return name;
  }
  return std::nullopt;
}

void ScanSentFiles(RunContext& ctx) {
  Print(ctx, "\xFE Scanning log(s) for new sent files\n  Total found:    0");
  for (LogEntry& entry : ctx.logTable) {
    if (!entry.scanFrom) continue;
    entry.stream->Seek(*entry.scanFrom);
    while (const std::optional<std::string> name = NextSentFile(entry, ctx.ignoreList)) {
      const std::size_t inUse = ctx.sentTable.size();
      Debug(ctx, Format("  (%04u, sent file #%02d)\n",
                        static_cast<unsigned>((inUse + 1) * kClassicSentRecordSize),
                        static_cast<int>(inUse)));
      if (ctx.sentTable.Add(*name)) {
        Print(ctx, Format("\b\b\b\b%4d", static_cast<int>(ctx.sentTable.size())));
      }
    }
  }
  Print(ctx, "\n");
  ComputeNewLastTime(ctx);
}

}  // namespace zirka
