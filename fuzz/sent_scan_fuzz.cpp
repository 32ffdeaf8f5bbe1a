// The sent-file scan over arbitrary log bytes.
//
// Input: one flag byte, then the log text. When the text holds the line "--8<--", the
// part before it is the first log and the part after it the second; otherwise both
// logs are the whole text. Flags: bit 0 and bit 1 mark the first and second log new,
// bit 2 fills the ignore list, bit 3 stores a Last_Time.
//
// NextSentFile over each log alone: every name is non-empty, upper case, without a
// backslash or a blank, free of every ignore item, and comes (in file order) from a
// dated ZS/JS/HS line that holds " OK: " and the name; lastTime is empty or the
// 14-character time of a dated line of the log.
// ScanSentFiles over both logs: the sent table holds each name once, in order of
// first appearance, with the number of times it was returned; NewLastTime is empty
// only when there is no time at all, and otherwise one of the times it is chosen
// from, not earlier than the last new log's last time.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "fuzz_support.h"
#include "core/log_time.h"
#include "logscan/sent_scan.h"
#include "platform/console.h"
#include "core/text.h"
#include "support/capture_screen.h"

namespace {

using namespace zirka;
using namespace zirka::fuzz;

constexpr std::string_view kSplit = "\n--8<--\n";
constexpr std::string_view kStoredLastTime = "28/12 12:00:00";

struct LogResult {
  std::vector<std::string> names;
  LogTime lastTime;
};

bool IsSentLine(const std::string& piece) {
  return IsDated(piece) && piece.size() > 16 &&
         (piece[15] == 'Z' || piece[15] == 'J' || piece[15] == 'H') && piece[16] == 'S' &&
         piece.find(" OK: ") != std::string::npos;
}

// Scans one log alone and checks every name against the log's pieces.
LogResult ScanAlone(std::string_view log, const std::vector<std::string>& ignoreList) {
  platform::CaptureScreen screen;
  RunContext ctx(screen);
  ctx.ignoreList = ignoreList;
  LogEntry entry;
  entry.path = "LOG";
  entry.stream = ReadingText(log);

  const std::vector<std::string> pieces = DosPieces(log, kLogPiece);
  std::size_t next = 0;  // the first piece the next name may come from
  LogResult result;
  while (auto name = NextSentFile(entry, ctx.ignoreList)) {
    ZIRKA_FUZZ_CHECK(result.names.size() < pieces.size());
    ZIRKA_FUZZ_CHECK(!name->empty());
    for (const char c : *name) {
      ZIRKA_FUZZ_CHECK(!IsLower(c));
      ZIRKA_FUZZ_CHECK(c != '\\');
      ZIRKA_FUZZ_CHECK(c != ' ');
    }
    for (const std::string& item : ignoreList) {
      ZIRKA_FUZZ_CHECK(name->find(item) == std::string::npos);
    }
    while (next < pieces.size() &&
           !(IsSentLine(pieces[next]) && UpperAscii(pieces[next]).find(*name) != std::string::npos)) {
      ++next;
    }
    ZIRKA_FUZZ_CHECK(next < pieces.size());
    ++next;
    result.names.push_back(std::move(*name));
  }

  const std::string& time = entry.lastTime.written();
  ZIRKA_FUZZ_CHECK(time.empty() || time.size() == kLogTimeLength);
  if (!time.empty()) {
    ZIRKA_FUZZ_CHECK(IsDated(time));
    const bool read = std::any_of(pieces.begin(), pieces.end(), [&](const std::string& p) {
      return IsDated(p) && p.compare(0, kLogTimeLength, time) == 0;
    });
    ZIRKA_FUZZ_CHECK(read);
  }
  result.lastTime = entry.lastTime;
  return result;
}

void CheckScan(std::string_view log1, std::string_view log2, std::uint8_t flags,
               const std::vector<std::string>& ignoreList, const LogResult& alone1,
               const LogResult& alone2) {
  platform::CaptureScreen screen;
  RunContext ctx(screen);
  ctx.ignoreList = ignoreList;
  if (flags & 8) ctx.storedLastTime = LogTime(kStoredLastTime);
  const std::string_view logs[2] = {log1, log2};
  for (int i = 0; i < 2; ++i) {
    LogEntry entry;
    entry.path = i == 0 ? "LOG1" : "LOG2";
    entry.isNew = (flags >> i) & 1;
    entry.stream = ReadingText(logs[i]);
    entry.scanFrom = 0;
    ctx.logTable.push_back(std::move(entry));
  }
  ctx.anyLogNew = (flags & 3) != 0;
  ctx.noStoredLastTime = ctx.storedLastTime.empty();

  ScanSentFiles(ctx);

  // The table: each name once, in order of first appearance, counted.
  std::vector<std::string> order;
  std::unordered_map<std::string, std::int64_t> counts;
  for (const LogResult* alone : {&alone1, &alone2}) {
    for (const std::string& name : alone->names) {
      if (counts[name]++ == 0) order.push_back(name);
    }
  }
  const auto& records = ctx.sentTable.records();
  ZIRKA_FUZZ_CHECK(records.size() == order.size());
  std::int64_t total = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    ZIRKA_FUZZ_CHECK(records[i].name == order[i]);
    ZIRKA_FUZZ_CHECK(records[i].times == counts[order[i]]);
    total += records[i].times;
  }
  ZIRKA_FUZZ_CHECK(total == static_cast<std::int64_t>(alone1.names.size() + alone2.names.size()));

  // NewLastTime: written form, one of the times it is chosen from, the latest of them.
  const LogTime& chosen = ctx.newLastTime;
  const LogTime& stored = ctx.storedLastTime;
  if (stored.empty() && alone1.lastTime.empty() && alone2.lastTime.empty()) {
    ZIRKA_FUZZ_CHECK(chosen.empty());
    return;
  }
  ZIRKA_FUZZ_CHECK(chosen.written().size() == kLogTimeLength && IsDated(chosen.written()));
  ZIRKA_FUZZ_CHECK(chosen == stored || chosen == alone1.lastTime || chosen == alone2.lastTime);
  // Not earlier than the last new log's time (the comparison is not transitive across the
  // turn of the year, so only the last log compared is sure to have lost).
  const LogResult* alone[2] = {&alone1, &alone2};
  for (int i = 1; i >= 0; --i) {
    if (!((flags >> i) & 1) || alone[i]->lastTime.empty()) continue;
    ZIRKA_FUZZ_CHECK(!alone[i]->lastTime.IsLaterThan(chosen));
    break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  const std::string_view text = AsText(data + 1, size - 1);
  std::string_view log1 = text;
  std::string_view log2 = text;
  if (const std::size_t cut = text.find(kSplit); cut != std::string_view::npos) {
    log1 = text.substr(0, cut + 1);
    log2 = text.substr(cut + kSplit.size());
  }
  std::vector<std::string> ignoreList;
  if (flags & 4) ignoreList = {"FILES", ".TIC"};

  const LogResult alone1 = ScanAlone(log1, ignoreList);
  const LogResult alone2 = ScanAlone(log2, ignoreList);
  CheckScan(log1, log2, flags, ignoreList, alone1, alone2);
  return 0;
}
