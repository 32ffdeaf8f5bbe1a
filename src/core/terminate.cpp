#include "core/terminate.h"

#include <cstdio>

#include "core/messages.h"
#include "platform/system.h"

namespace zirka {

namespace {

struct Elapsed {
  unsigned minutes;
  unsigned seconds;
};

Elapsed ElapsedSince(std::time_t startTime, std::time_t endTime) {
  const auto elapsed = static_cast<unsigned>(endTime - startTime);
  return {elapsed / 60, elapsed % 60};
}

// The errorlevel's closing message, written only while the program log is open.
void WriteClosingMessage(RunContext& ctx, int errorlevel, std::time_t endTime) {
  switch (errorlevel) {
    case 0:
      if (ctx.debug) {
        LogWrite(ctx, "\n\xFE Normal shutdown at " + platform::CalendarText(endTime));
      }
      break;
    case 1:
      WriteMessage(ctx, "!FERR-T-Mail main control file not found!\n", Channel::ToBoth);
      break;
    case 2:
      WriteMessage(ctx, "!FERR-No existing log files found!\n", Channel::ToBoth);
      break;
    case 4:
      WriteMessage(ctx, "\xFE No new sent files found - nothing done\n", Channel::ToLog);
      break;
    default:
      break;
  }
}

void CloseEverything(RunContext& ctx) noexcept {
  if (ctx.programLog) ctx.programLog->Close();
  ctx.programLog.reset();
  if (ctx.report) ctx.report->Close();
  ctx.report.reset();
  ctx.mainCtl.reset();
  ctx.tmailCtl.reset();
  for (LogEntry& entry : ctx.logTable) entry.stream.reset();
}

// Lets go of the run's big tables and their buffers; nothing here allocates.
void FreeTables(RunContext& ctx) noexcept {
  std::vector<LogEntry>().swap(ctx.logTable);
  std::vector<std::string>().swap(ctx.areaTable);
  std::vector<std::string>().swap(ctx.ignoreList);
  ctx.sentTable = SentTable();
  ctx.mainCtl.reset();
  ctx.tmailCtl.reset();
}

// One write of the out-of-memory ending. Writing may still need memory (a file's
// buffer growing, a terminal's UTF-8 text): a write that can't have it is left out.
template <typename Write>
void WriteIfPossible(Write write) noexcept {
  try {
    write();
  } catch (...) {
  }
}

// The exit summary, formatted into a fixed buffer.
void PrintExitSummary(RunContext& ctx, int errorlevel, Elapsed elapsed) noexcept {
  char summary[96];
  std::snprintf(summary, sizeof summary, "\xFE Exit with errorlevel %d\n\xFE Elapsed time %u:%02u\n",
                errorlevel, elapsed.minutes, elapsed.seconds);
  WriteIfPossible([&] { Print(ctx, summary); });
}

int EndOutOfMemory(RunContext& ctx) noexcept {
  FreeTables(ctx);
  const Elapsed elapsed = ElapsedSince(ctx.startTime, platform::Now());
  if (ctx.logOpen()) {
    WriteIfPossible([&] { Print(ctx, "!FERR-Memory allocation/reallocation failed!\n"); });
    WriteIfPossible([&] { LogWrite(ctx, "!FERR-Insufficient memory!\n"); });
    char line[64];
    std::snprintf(line, sizeof line, "\xFE Elapsed %u:%02u\n", elapsed.minutes, elapsed.seconds);
    WriteIfPossible([&] { LogWrite(ctx, line); });
  }
  CloseEverything(ctx);
  PrintExitSummary(ctx, 6, elapsed);
  return 6;
}

int EndRun(RunContext& ctx, int errorlevel) {
  const std::time_t endTime = platform::Now();
  const Elapsed elapsed = ElapsedSince(ctx.startTime, endTime);
  if (ctx.logOpen()) {
    WriteClosingMessage(ctx, errorlevel, endTime);
    LogWrite(ctx, Format("\xFE Elapsed %u:%02u\n", elapsed.minutes, elapsed.seconds));
  }
  CloseEverything(ctx);
  Print(ctx, Format("\xFE Exit with errorlevel %d\n\xFE Elapsed time %u:%02u\n", errorlevel,
                    elapsed.minutes, elapsed.seconds));
  return errorlevel;
}

}  // namespace

int Terminate(RunContext& ctx, int errorlevel) noexcept {
  if (errorlevel == 6) return EndOutOfMemory(ctx);
  try {
    return EndRun(ctx, errorlevel);
  } catch (...) {
    // Only std::bad_alloc is thrown on this path.
    return EndOutOfMemory(ctx);
  }
}

}  // namespace zirka
