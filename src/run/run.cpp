#include "run/run.h"

#include <new>

#include "areas/area_table.h"
#include "areas/counter_settings.h"
#include "config/tmail_ctl.h"
#include "filelist/files_bbs.h"
#include "filelist/last_time.h"
#include "logscan/freshness.h"
#include "logscan/report.h"
#include "logscan/sent_scan.h"
#include "platform/system.h"
#include "run/command_line.h"
#include "run/messages.h"
#include "run/program_log.h"
#include "run/terminate.h"
#include "run/usage.h"

namespace zirka {

namespace {

// The phases in their fixed order; the last one ends the run through Terminate.
[[noreturn]] void RunPhases(RunContext& ctx, const std::vector<std::string>& args,
                            bool consoleUsable) {
  if (HelpWanted(args)) {  // the usage text only: no banner, no file read or written
    Print(ctx, kUsageText);
    Terminate(ctx, 0);
  }
  if (!consoleUsable) {
    Print(ctx, "!FER-Cann't recognize standart output device!\n");
    Terminate(ctx, 7);
  }
  ShowStartBanner();
  ParseCommandLine(ctx, args);
  OpenMainControlFile(ctx);
  OpenProgramLogAndReport(ctx);
  BuildLogTable(ctx);
  CheckFreshness(ctx);
  ReadCounterSettings(ctx);
  BuildAreaTable(ctx);
  ReadIgnoreList(ctx);
  ScanSentFiles(ctx);
  if (!ctx.sentTable.empty()) {
    WriteReport(ctx);
    UpdateFileAreas(ctx);
  }
  StoreLastTime(ctx);
}

}  // namespace

int RunZirka(platform::Screen& screen, const std::vector<std::string>& args,
             const std::string& programPath, bool consoleUsable) {
  RunContext ctx(screen);
  ctx.startTime = platform::Now();
  ctx.programPath = programPath;
  try {
    try {
      RunPhases(ctx, args, consoleUsable);
    } catch (const std::bad_alloc&) {
      // Every failed allocation of the run ends here, whatever phase it hit.
      Terminate(ctx, 6);
    }
  } catch (const RunEnded& end) {
    return end.errorlevel;
  }
}

}  // namespace zirka
