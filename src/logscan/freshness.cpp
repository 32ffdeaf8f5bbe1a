#include "logscan/freshness.h"

#include <algorithm>
#include <cstdint>
#include <future>
#include <string>
#include <system_error>

#include "core/keyword.h"
#include "core/log_time.h"
#include "core/messages.h"
#include "core/text.h"
#include "logscan/log_positions.h"
#include "logscan/sent_scan.h"
#include "logscan/whole_line_scan.h"

namespace zirka {

namespace {

// Calls visit(time, lineEnd) for each dated line of the log from byte `from` on, up
// to the end of its last whole line, with the line's written time and the offset
// just after it; stops early when visit returns false. A T-Mail log is read in the
// scan's pieces, the others line by line.
template <typename Visit>
void ForEachDatedLine(LogEntry& entry, std::uint64_t from, Visit visit) {
  TextFile& stream = *entry.stream;
  stream.Seek(from);
  if (IsWholeLineFormat(entry.format)) {
    WholeLineTimes times(stream, entry.format);
    std::string_view time;
    while (times.Next(time)) {
      if (!visit(time, stream.Tell())) return;
    }
    return;
  }
  platform::PieceView piece;
  while (stream.NextPiece(piece, kLogPiece)) {
    const std::string_view text = piece.text;
    // A dated line too short to hold its whole time has none.
    if (text.size() < kLogTimeLength || text[2] != '/' || !IsDatedLine(text)) continue;
    if (!visit(text.substr(0, kLogTimeLength), stream.Tell())) return;
  }
}

// The byte at `offset` of the log as it stood when the run began.
bool ByteAt(LogEntry& entry, std::uint64_t offset, char& byte) {
  if (offset < entry.head.size()) {
    byte = entry.head[static_cast<std::size_t>(offset)];
    return true;
  }
  return entry.stream->ReadRawAt(offset, &byte, 1) == 1;
}

// True when the log goes on from `position`: its head hashes the same, it is at
// least that long, and the byte before the offset ends a line.
bool GoesOnFrom(LogEntry& entry, const LogPosition& position) {
  if (position.offset > entry.size) return false;
  if (PositionOf(entry, position.offset).head != position.head) return false;
  char before = '\n';
  return position.offset == 0 || (ByteAt(entry, position.offset - 1, before) && before == '\n');
}

// Gives each log the stored position it goes on from: first the one stored under its
// own path, then any other by its head (a log that rotation renamed), each position
// to one log at most. An empty log is known by its path alone.
void MatchPositions(RunContext& ctx) {
  const auto claimed = [&ctx](std::size_t index) {
    for (const LogEntry& entry : ctx.logTable) {
      if (entry.matched == static_cast<int>(index)) return true;
    }
    return false;
  };
  for (LogEntry& entry : ctx.logTable) {
    entry.matched = -1;
    for (std::size_t i = 0; i < ctx.storedPositions.size() && entry.matched < 0; ++i) {
      const LogPosition& position = ctx.storedPositions[i];
      if (position.path == entry.path && !claimed(i) && GoesOnFrom(entry, position)) {
        entry.matched = static_cast<int>(i);
      }
    }
  }
  for (LogEntry& entry : ctx.logTable) {
    for (std::size_t i = 0; i < ctx.storedPositions.size() && entry.matched < 0; ++i) {
      const LogPosition& position = ctx.storedPositions[i];
      if (position.offset > 0 && !claimed(i) && GoesOnFrom(entry, position)) {
        entry.matched = static_cast<int>(i);
      }
    }
  }
}

// Where one log's new part begins, and whether it has one.
struct Verdict {
  bool isNew = false;
  std::uint64_t from = 0;
};

// A log that goes on from a stored position: its new part is every byte from the
// offset on, and it is new when that part holds a dated line. No time decides.
Verdict GoOn(LogEntry& entry, std::uint64_t offset) {
  Verdict verdict{false, offset};
  ForEachDatedLine(entry, offset, [&](std::string_view, std::uint64_t) {
    verdict.isNew = true;
    return false;
  });
  return verdict;
}

// A log without a position: its new part begins after its last dated line that is
// not later than `lastTime` (at its start when it has none), and it is new when a
// later dated line follows. So lines of last year, or of a clock set back, that
// stand before lines already counted are not taken for new ones.
Verdict AgainstLastTime(LogEntry& entry, const LogTime& lastTime) {
  Verdict verdict;
  ForEachDatedLine(entry, 0, [&](std::string_view time, std::uint64_t lineEnd) {
    if (LogTime::IsWrittenLater(time, lastTime.written())) {
      verdict.isNew = true;
    } else {
      verdict = Verdict{false, lineEnd};
    }
    return true;
  });
  return verdict;
}

// Where the line that holds byte `offset` ends: the offset after the next line feed
// at or after it (the end of what is read when there is none).
std::uint64_t NextLineStart(LogEntry& entry, std::uint64_t offset) {
  char block[512];
  while (offset < entry.readEnd) {
    const auto want =
        static_cast<std::size_t>(std::min<std::uint64_t>(sizeof block, entry.readEnd - offset));
    const long long got = entry.stream->ReadRawAt(offset, block, want);
    if (got <= 0) break;
    for (long long i = 0; i < got; ++i) {
      if (block[i] == '\n') return offset + static_cast<std::uint64_t>(i) + 1;
    }
    offset += static_cast<std::uint64_t>(got);
  }
  return entry.readEnd;
}

// The time of the log's last dated line, looked for in its last few KB, then in
// more and more of it; empty when it has none.
std::string LastDatedTime(LogEntry& entry) {
  std::string last;
  for (std::uint64_t span = 4096;; span *= 8) {
    const std::uint64_t from =
        entry.readEnd > span ? NextLineStart(entry, entry.readEnd - span) : 0;
    ForEachDatedLine(entry, from, [&last](std::string_view time, std::uint64_t) {
      last.assign(time);
      return true;
    });
    if (!last.empty() || from == 0) return last;
  }
}

// AgainstLastTime, with no line read twice: the log is new when its last dated line
// is later than Last_Time, and the scan then starts at its first later line and
// finds the last line not later than Last_Time as it goes (LogEntry::oldUpTo).
Verdict AgainstLastTimeInTheScan(LogEntry& entry, const LogTime& lastTime) {
  Verdict verdict{false, 0};
  const LaterThan later(lastTime.written());
  std::uint64_t lineStart = 0;
  bool found = false;
  ForEachDatedLine(entry, 0, [&](std::string_view time, std::uint64_t lineEnd) {
    found = later(time);
    if (!found) lineStart = lineEnd;
    return !found;
  });
  if (!found) return verdict;
  const std::string last = LastDatedTime(entry);
  if (last.empty() || !later(last)) return verdict;
  entry.oldUpTo = later;
  return Verdict{true, lineStart};
}

Verdict Decide(LogEntry& entry, const LogTime& lastTime, bool exact) {
  if (entry.matched >= 0) return GoOn(entry, entry.settledAt.value_or(0));
  if (lastTime.empty()) return Verdict{true, 0};
  return exact ? AgainstLastTime(entry, lastTime) : AgainstLastTimeInTheScan(entry, lastTime);
}

// The verdicts of every log, two logs at a time: a helper thread decides the next
// log while this one decides its own (each touches only its own log). With
// `exact`, a log without a position is read whole here, so that the scan's start
// is settled before it begins (debug mode shows each send as the scan counts it).
std::vector<Verdict> DecideAll(RunContext& ctx, bool exact) {
  std::vector<Verdict> verdicts(ctx.logTable.size());
  for (std::size_t i = 0; i < ctx.logTable.size(); ++i) {
    std::future<Verdict> next;
    if (i + 1 < ctx.logTable.size()) {
      try {
        next = std::async(std::launch::async, Decide, std::ref(ctx.logTable[i + 1]),
                          std::cref(ctx.storedLastTime), exact);
      } catch (const std::system_error&) {  // no thread: decided here in its turn
      }
    }
    verdicts[i] = Decide(ctx.logTable[i], ctx.storedLastTime, exact);
    if (next.valid()) verdicts[++i] = next.get();
  }
  return verdicts;
}

}  // namespace

Outcome CheckFreshness(RunContext& ctx) {
  ctx.mainCtl->Rewind();
  const std::string value = LookupKeyword(*ctx.mainCtl, "LAST_TIME");
  if (!value.empty() && !IsWellFormedLogTime(value)) {
    WriteMessage(ctx,
                 "!WARN-Last_Time " + value +
                     " in Zirka.Ctl is not DD/MM HH:MM:SS, used as it stands\n",
                 Channel::ToBoth);
  }
  // A longer value is compared on its first 14 characters, as a log time is.
  ctx.storedLastTime = LogTime(std::string_view(value).substr(0, kLogTimeLength));
  ctx.noStoredLastTime = ctx.storedLastTime.empty();

  ProbeLogs(ctx);
  ReadStoredPositions(ctx);
  MatchPositions(ctx);
  for (LogEntry& entry : ctx.logTable) {
    entry.settledAt.reset();
    if (entry.matched >= 0) {
      entry.settledAt = ctx.storedPositions[static_cast<std::size_t>(entry.matched)].offset;
    }
    // Nothing before a stored position is read again, but the head and the byte
    // before it.
    FindReadEnd(entry, entry.settledAt.value_or(0));
  }
  for (LogEntry& entry : ctx.logTable) {
    entry.oldUpTo = LaterThan();
    entry.restarted = false;
  }
  const std::vector<Verdict> verdicts = DecideAll(ctx, ctx.debug || ctx.forced);

  if (ctx.noStoredLastTime && ctx.debug) {
    WriteMessage(ctx,
                 "!WARN-No last analisis time found in Zirka.Ctl!\n"
                 "Assuming all log files are new...\n",
                 Channel::ToBoth);
  }
  ctx.anyLogNew = false;
  for (std::size_t i = 0; i < ctx.logTable.size(); ++i) {
    LogEntry& entry = ctx.logTable[i];
    const Verdict& verdict = verdicts[i];
    entry.isNew = verdict.isNew;
    entry.scanFrom.reset();
    if (verdict.isNew) {
      entry.scanFrom = verdict.from;
    } else if (entry.matched < 0) {
      entry.settledAt = entry.readEnd;  // read whole, and nothing in it is new
    }
    ctx.anyLogNew = ctx.anyLogNew || entry.isNew;
    if (!ctx.noStoredLastTime) {
      Print(ctx, "\xF9 Checking " + entry.path + "..." + (entry.isNew ? "OK\n" : "old\n"));
    }
  }
  if (!ctx.noStoredLastTime) Print(ctx, "\n");

  if (ctx.forced) {
    // The scan then reads every log from its first line.
    for (LogEntry& entry : ctx.logTable) {
      entry.scanFrom = 0;
      entry.oldUpTo = LaterThan();
    }
    return std::nullopt;
  }
  if (!ctx.anyLogNew) return 4;
  return std::nullopt;
}

}  // namespace zirka
