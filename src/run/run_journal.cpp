#include "run/run_journal.h"

#include "config/last_time.h"
#include "core/messages.h"

namespace zirka {

namespace {

const journal::LogRange* RangeOf(const journal::Journal& journal, const std::string& path) {
  for (const journal::LogRange& range : journal.logs) {
    if (range.path == path) return &range;
  }
  return nullptr;
}

}  // namespace

Outcome FindJournal(RunContext& ctx, RunJournal& run) {
  run.path = journal::JournalPath(ctx.mainCtlPath);
  journal::Existing existing = journal::ReadJournal(ctx.mainCtlPath);
  switch (existing.found) {
    case journal::Found::None:
      return std::nullopt;
    case journal::Found::Usable:
      PrintAndLog(ctx, journal::CompletingLine(existing.journal));
      run.completing = std::move(existing.journal);
      return std::nullopt;
    default:
      PrintAndLog(ctx, journal::TroubleLine(run.path, existing));
      return journal::kTroubleErrorlevel;
  }
}

void ScanAsJournalled(RunContext& ctx, const journal::Journal& journal) {
  ctx.forced = journal.forced;
  ctx.noStoredLastTime = journal.started.empty();
  ctx.storedLastTime = LogTime(journal.started);
  for (LogEntry& entry : ctx.logTable) {
    entry.scanFrom.reset();
    const journal::LogRange* range = journal.allDone ? nullptr : RangeOf(journal, entry.path);
    if (range == nullptr) continue;
    entry.isNew = true;
    entry.scanFrom = range->start;
    entry.stream->LimitReadsTo(range->end);
  }
}

Outcome TakeJournalledScan(RunContext& ctx, const RunJournal& run) {
  const journal::Journal& journal = *run.completing;
  if (!journal.allDone) {
    for (const journal::LogRange& range : journal.logs) {
      bool whole = false;
      for (const LogEntry& entry : ctx.logTable) {
        if (entry.path == range.path) whole = entry.stream->Tell() == range.end;
      }
      if (!whole) {
        PrintAndLog(ctx, journal::ChangedLogLine(run.path, range.path));
        return journal::kTroubleErrorlevel;
      }
    }
  }
  ctx.newLastTime = LogTime(journal.lastTime);
  ctx.anyLogNew = !journal.lastTime.empty();
  return std::nullopt;
}

void StartJournal(RunContext& ctx, RunJournal& run) {
  journal::Journal journal;
  if (run.completing) {
    journal = *run.completing;
    journal::SettlePending(journal);
  } else {
    journal.control = ctx.mainCtlPath;
    if (ctx.anyLogNew) journal.lastTime = ctx.newLastTime.written();
    journal.started = ctx.storedLastTime.written();
    journal.forced = ctx.forced;
    for (const LogEntry& entry : ctx.logTable) {
      if (entry.scanFrom) journal.logs.push_back({*entry.scanFrom, entry.stream->Tell(), entry.path});
    }
  }
  run.file = journal::JournalFile::Create(run.path, journal);
}

int StoreLastTimeAndEndJournal(RunContext& ctx, RunJournal& run) {
  if (run.allDone()) StartJournal(ctx, run);  // held while Last_Time is stored
  bool stored = true;
  const int errorlevel = StoreLastTime(ctx, &stored);
  if (run.file && stored) run.file->Remove();
  run.file.reset();
  return run.allDone() ? 0 : errorlevel;
}

}  // namespace zirka
