#include "run/run_journal.h"

#include <string>

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

// The completed run's Last_Time is the one to store.
Outcome TakeJournalTime(RunContext& ctx, const journal::Journal& journal) {
  ctx.newLastTime = LogTime(journal.lastTime);
  ctx.anyLogNew = !journal.lastTime.empty();
  return std::nullopt;
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
  // Only Last_Time is left to store: no list or log is touched.
  if (journal.allDone) return TakeJournalTime(ctx, journal);
  for (const journal::AreaStep& step : journal.steps) {
    // Areas are known by their number: the table must be the one the run had.
    const auto at = static_cast<std::size_t>(step.index) - 1;
    if (at >= ctx.areaTable.size() || ctx.areaTable[at] != step.list) {
      journal::Existing changed;
      changed.found = journal::Found::Bad;
      changed.error = "area " + std::to_string(step.index) + " is no longer " + step.list;
      PrintAndLog(ctx, journal::TroubleLine(run.path, changed));
      return journal::kTroubleErrorlevel;
    }
  }
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
  return TakeJournalTime(ctx, journal);
}

Outcome StartJournal(RunContext& ctx, RunJournal& run) {
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
      if (!entry.scanFrom) continue;
      journal.logs.push_back({*entry.scanFrom, entry.stream->Tell(), entry.path});
    }
  }
  run.file = journal::JournalFile::Create(run.path, journal);
  // Without its journal a completion could not tell the lists already raised.
  if (run.file == nullptr && run.completing) {
    PrintAndLog(ctx, "!ERR-Cann't write journal " + run.path + "\n");
    return journal::kTroubleErrorlevel;
  }
  return std::nullopt;
}

int StoreLastTimeAndEndJournal(RunContext& ctx, RunJournal& run) {
  // A completion with no list to rewrite holds the journal while Last_Time is stored.
  if (run.completing && !run.file) {
    if (const Outcome end = StartJournal(ctx, run)) return *end;
  }
  bool stored = true;
  const int errorlevel = StoreLastTime(ctx, &stored);
  if (run.file && stored) run.file->Remove();
  run.file.reset();
  return run.allDone() ? 0 : errorlevel;
}

}  // namespace zirka
