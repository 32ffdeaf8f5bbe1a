#pragma once
// The journal's part in a run (ZIRKA.JNL): found at the start, kept while lists
// change, removed once Last_Time is stored. A run that finds one completes the
// interrupted run: it counts exactly the log bytes that run counted, leaves the
// lists it replaced alone and stores that run's Last_Time.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/terminate.h"
#include "journal/journal.h"

namespace zirka {

struct RunJournal {
  std::string path;                              // ZIRKA.JNL beside ZIRKA.CTL
  std::optional<journal::Journal> completing;    // the interrupted run, when one is completed
  std::unique_ptr<journal::JournalFile> file;    // held while this run changes files
  // The log positions stored with Last_Time, once the scan has settled them.
  std::vector<LogPosition> positions;

  bool allDone() const { return completing && completing->allDone; }
};

// Looks for the journal: none goes on as an ordinary run; one to complete is
// announced; one held by a live run, unreadable or senseless is reported with an
// "!ERR-" line and ends the run with errorlevel 3, nothing changed.
[[nodiscard]] Outcome FindJournal(RunContext& ctx, RunJournal& run);

// In place of the freshness check when completing: each log is scanned over the
// bytes the journal names (a log it does not name, not at all), in the mode the
// interrupted run had, whatever the command line says.
void ScanAsJournalled(RunContext& ctx, const journal::Journal& journal);

// After the scan when completing: errorlevel 3, nothing changed, when a log no
// longer holds what the journal counted or an area it names is no longer the
// list it was; else the time to store is the journal's.
[[nodiscard]] Outcome TakeJournalledScan(RunContext& ctx, const RunJournal& run);

// After the scan: the log positions to store with Last_Time. An ordinary run's are
// where it stopped in each log; a completion's are the journal's, or, for a journal
// written before positions were kept, the ends of the bytes it counted.
void SettlePositions(RunContext& ctx, RunJournal& run);

// Before the first list is replaced: writes the journal whole (this run's, or the
// completed one with its last step settled) and holds it. Without one (it could
// not be written) no list may change: errorlevel 3, nothing changed.
[[nodiscard]] Outcome StartJournal(RunContext& ctx, RunJournal& run);

// Stores the log positions, then Last_Time (StoreLastTime), and removes the
// journal once both are in place; a journal whose Last_Time or positions could not
// be stored stays for the next run. Returns the errorlevel: a completed run whose
// areas were all done had sent files, so 0.
int StoreLastTimeAndEndJournal(RunContext& ctx, RunJournal& run);

}  // namespace zirka
