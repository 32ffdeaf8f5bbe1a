#include "run/run.h"

#include <new>

#include "areas/area_table.h"
#include "config/counter_settings.h"
#include "config/tmail_ctl.h"
#include "filelist/files_bbs.h"
#include "filelist/preview.h"
#include "config/last_time.h"
#include "logscan/freshness.h"
#include "logscan/report.h"
#include "logscan/sent_scan.h"
#include "platform/system.h"
#include "run/check.h"
#include "run/command_line.h"
#include "core/messages.h"
#include "run/program_log.h"
#include "run/run_bulletin.h"
#include "run/run_journal.h"
#include "run/run_lock.h"
#include "core/terminate.h"
#include "run/usage.h"

namespace zirka {

namespace {

// The end of a preview, in place of the report, the list rewrite and storing
// Last_Time: what they would do, with nothing written. The errorlevel is the one
// the ordinary run would end with.
int PreviewChanges(RunContext& ctx, const RunJournal& journal, RunBulletin& bulletin) {
  if (journal.completing) {
    // The preview does not settle which lists the interrupted run had replaced.
    Print(ctx, "\xFE Preview: the next run completes an interrupted run first; lists it had\n"
               "  raised already are shown here as if they were not\n");
  }
  if (ctx.sentTable.empty()) {
    Print(ctx, "\xFE Preview: no list would change\n");
  } else {
    PreviewFileAreas(ctx.areaTable, ctx.settings, ctx.sentTable, ctx.out(),
                     bulletin.ReadingLists());
  }
  bulletin.Preview(ctx, journal.completing.has_value());
  if (HasLastTimeToStore(ctx)) {
    Print(ctx, "\xFE Preview: Last_Time " + ctx.newLastTime.written() + " would be stored in " +
                   ctx.mainCtlPath + "\n");
  }
  Print(ctx, "\xFE Preview only: nothing was written\n");
  return CountedErrorlevel(ctx);
}

// The phases in their fixed order. Returns the errorlevel the run ends with; only
// here is Terminate called.
int RunPhases(RunContext& ctx, const std::vector<std::string>& args, bool consoleUsable) {
  if (HelpWanted(args)) {  // the usage text only: no banner, no file read or written
    Print(ctx, kUsageText);
    return Terminate(ctx, 0);
  }
  if (!consoleUsable) {
    Print(ctx, "!FER-Cann't recognize standart output device!\n");
    return Terminate(ctx, 7);
  }
  ShowStartBanner();
  ParseCommandLine(ctx, args);
  if (ctx.check) return Terminate(ctx, CheckConfiguration(ctx));
  if (const Outcome end = OpenMainControlFile(ctx)) return Terminate(ctx, *end);
  std::unique_ptr<platform::FileLock> lock;  // held to the end of the run
  if (!ctx.preview) {
    if (const Outcome end = TakeRunLock(ctx, lock)) return Terminate(ctx, *end);
  }
  OpenProgramLogAndReport(ctx);
  RunJournal journal;  // completes an interrupted run when it finds one
  if (const Outcome end = FindJournal(ctx, journal)) return Terminate(ctx, *end);
  if (const Outcome end = BuildLogTable(ctx)) return Terminate(ctx, *end);
  if (journal.completing) {
    ScanAsJournalled(ctx, *journal.completing);
  } else if (const Outcome end = CheckFreshness(ctx)) {
    return Terminate(ctx, *end);
  }
  ReadCounterSettings(ctx);
  BuildAreaTable(ctx);
  ReadIgnoreList(ctx);
  RunBulletin bulletin(ctx);
  ScanSentFiles(ctx);
  if (journal.completing) {
    if (const Outcome end = TakeJournalledScan(ctx, journal)) return Terminate(ctx, *end);
  }
  SettlePositions(ctx, journal);
  if (ctx.preview) return Terminate(ctx, PreviewChanges(ctx, journal, bulletin));
  if (!ctx.sentTable.empty()) {
    if (const Outcome end = StartJournal(ctx, journal)) return Terminate(ctx, *end);
    WriteReport(ctx.report.get(), ctx.sentTable, ctx.startTime);
    UpdateFileAreas(ctx.areaTable, ctx.settings, ctx.sentTable, ctx.out(), journal.file.get(),
                    bulletin.ReadingLists());
    if (journal.file) journal.file->AllDone();
  }
  bulletin.Write(ctx, journal.completing.has_value());
  return Terminate(ctx, StoreLastTimeAndEndJournal(ctx, journal));
}

}  // namespace

int RunZirka(platform::Screen& screen, const std::vector<std::string>& args,
             const std::string& programPath, bool consoleUsable) {
  RunContext ctx(screen);
  ctx.startTime = platform::Now();
  try {
    ctx.programPath = programPath;
    return RunPhases(ctx, args, consoleUsable);
  } catch (const std::bad_alloc&) {
    // Every failed allocation of the run ends here, whatever phase it hit.
    return Terminate(ctx, 6);
  }
}

}  // namespace zirka
