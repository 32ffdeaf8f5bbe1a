#include "logscan/freshness.h"

#include <cstdint>
#include <string>

#include "core/keyword.h"
#include "core/text.h"
#include "core/log_time.h"
#include "core/messages.h"
#include "logscan/binkd_scan.h"

namespace zirka {

namespace {

// Reads the log from its start up to its first dated line later than the stored
// Last_Time and gives the offset of the piece that holds it, so that the scan
// examines that line too; nothing when the log holds no such line.
std::optional<std::uint64_t> FirstLaterLine(TextFile& stream, const LogTime& storedLastTime) {
  std::string piece;
  stream.Rewind();
  for (;;) {
    const std::uint64_t pieceStart = stream.Tell();
    if (!stream.ReadPiece(piece, kCtlPiece)) return std::nullopt;
    if (!IsDatedLine(piece)) continue;
    const std::string_view time = std::string_view(piece).substr(0, kLogTimeLength);
    if (LogTime::IsWrittenLater(time, storedLastTime.written())) return pieceStart;
  }
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

  if (ctx.storedLastTime.empty()) {
    if (ctx.debug) {
      WriteMessage(ctx,
                   "!WARN-No last analisis time found in Zirka.Ctl!\n"
                   "Assuming all log files are new...\n",
                   Channel::ToBoth);
    }
    for (LogEntry& entry : ctx.logTable) {
      entry.isNew = true;
      entry.scanFrom = 0;
    }
    ctx.noStoredLastTime = true;
  } else {
    for (LogEntry& entry : ctx.logTable) {
      Print(ctx, "\xF9 Checking " + entry.path + "...");
      entry.scanFrom = entry.format == LogFormat::Binkd
                           ? FirstLaterBinkdLine(*entry.stream, ctx.storedLastTime)
                           : FirstLaterLine(*entry.stream, ctx.storedLastTime);
      if (entry.scanFrom) entry.isNew = true;
      Print(ctx, entry.isNew ? "OK\n" : "old\n");
    }
    Print(ctx, "\n");
  }

  ctx.anyLogNew = false;
  for (const LogEntry& entry : ctx.logTable) ctx.anyLogNew = ctx.anyLogNew || entry.isNew;

  if (ctx.forced) {
    // The scan then reads every log from its first line.
    for (LogEntry& entry : ctx.logTable) entry.scanFrom = 0;
    return std::nullopt;
  }
  if (!ctx.anyLogNew) return 4;
  return std::nullopt;
}

}  // namespace zirka
