#include "run/run_journal.h"

#include <string>

#include "config/last_time.h"
#include "core/messages.h"
#include "logscan/log_positions.h"

namespace zirka {

namespace {

const journal::LogRange* RangeOf(const journal::Journal& journal, const std::string& path) {
  for (const journal::LogRange& range : journal.logs) {
    if (range.path == path) return &range;
  }
  return nullptr;
}

// True when the log still holds what the interrupted run counted of it: the whole
// range, and the head it began with then (a journal that keeps positions).
bool StillHolds(const RunContext& ctx, const journal::Journal& journal,
                const journal::LogRange& range) {
  for (const LogEntry& entry : ctx.logTable) {
    if (entry.path != range.path) continue;
    if (entry.stream->Tell() != range.end) return false;
    for (const LogPosition& position : journal.positions) {
      if (position.path == range.path && position.offset == range.end) {
        return PositionOf(entry, position.offset).head == position.head;
      }
    }
    return true;
  }
  return false;
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
  ProbeLogs(ctx);
  for (LogEntry& entry : ctx.logTable) {
    FindReadEnd(entry, 0);
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
    if (!StillHolds(ctx, journal, range)) {
      PrintAndLog(ctx, journal::ChangedLogLine(run.path, range.path));
      return journal::kTroubleErrorlevel;
    }
  }
  return TakeJournalTime(ctx, journal);
}

void SettlePositions(RunContext& ctx, RunJournal& run) {
  if (!run.completing) {
    run.positions = PositionsToStore(ctx);
    return;
  }
  const journal::Journal& journal = *run.completing;
  if (journal.hasPositions) {
    run.positions = journal.positions;
    return;
  }
  // A journal of an earlier version: each log it counted stands at the end of
  // what it counted; the other logs keep what the positions file holds.
  ReadStoredPositions(ctx);
  for (LogEntry& entry : ctx.logTable) {
    entry.scanFrom.reset();
    entry.settledAt.reset();
    entry.matched = -1;
    if (const journal::LogRange* range = RangeOf(journal, entry.path)) entry.settledAt = range->end;
  }
  run.positions = PositionsToStore(ctx);
}

Outcome StartJournal(RunContext& ctx, RunJournal& run) {
  journal::Journal journal;
  if (run.completing) {
    journal = *run.completing;
    journal::SettlePending(journal);
  } else {
    journal.control = ctx.mainCtlPath;
    if (ctx.anyLogNew) journal.lastTime = ctx.newLastTime.written();
    // A stored time that is not DD/MM HH:MM:SS is not one the journal can hold.
    if (IsWellFormedLogTime(ctx.storedLastTime.written()) &&
        IsDatedLine(ctx.storedLastTime.written())) {
      journal.started = ctx.storedLastTime.written();
    }
    journal.forced = ctx.forced;
    for (const LogEntry& entry : ctx.logTable) {
      if (!entry.scanFrom) continue;
      journal.logs.push_back({*entry.scanFrom, entry.stream->Tell(), entry.path});
    }
  }
  journal.positions = run.positions;
  journal.hasPositions = true;
  run.file = journal::JournalFile::Create(run.path, journal);
  // Without its journal no list may change: a run killed after raising one could
  // not be completed, and the next run would count its sends again.
  if (run.file == nullptr) {
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
  // The positions first: a run stopped between the two then goes on from them,
  // which the journal (or, without sends, the lack of any) makes safe.
  bool stored = true;
  if (HasLastTimeToStore(ctx)) {
    const std::string path = PositionsPath(ctx.mainCtlPath);
    if (!WritePositions(path, run.positions)) {
      PrintAndLog(ctx, "!ERR-Cann't write " + path + "\n");
      stored = false;
    }
  }
  const int errorlevel = StoreLastTime(ctx, &stored);
  if (run.file && stored) run.file->Remove();
  run.file.reset();
  return run.allDone() ? 0 : errorlevel;
}

}  // namespace zirka
