#include "core/terminate.h"

#include "platform/system.h"
#include "core/messages.h"

namespace zirka {

namespace {

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
    case 6:
      Print(ctx, "!FERR-Memory allocation/reallocation failed!\n");
      LogWrite(ctx, "!FERR-Insufficient memory!\n");
      break;
    default:
      break;
  }
}

void CloseEverything(RunContext& ctx) {
  if (ctx.programLog) ctx.programLog->Close();
  ctx.programLog.reset();
  if (ctx.report) ctx.report->Close();
  ctx.report.reset();
  ctx.mainCtl.reset();
  ctx.tmailCtl.reset();
  for (LogEntry& entry : ctx.logTable) entry.stream.reset();
}

}  // namespace

void Terminate(RunContext& ctx, int errorlevel) {
  const std::time_t endTime = platform::Now();
  const auto elapsed = static_cast<unsigned>(endTime - ctx.startTime);
  const unsigned minutes = elapsed / 60;
  const unsigned seconds = elapsed % 60;

  if (ctx.logOpen()) {
    WriteClosingMessage(ctx, errorlevel, endTime);
    LogWrite(ctx, Format("\xFE Elapsed %u:%02u\n", minutes, seconds));
  }
  CloseEverything(ctx);
  Print(ctx, Format("\xFE Exit with errorlevel %d\n\xFE Elapsed time %u:%02u\n", errorlevel,
                    minutes, seconds));
  throw RunEnded{errorlevel};
}

}  // namespace zirka
