#pragma once

#include "core/context.h"

namespace zirka {

// True when the run has a new Last_Time to store: some log was new and a dated
// line was read (a forced run in which no log was new has none).
bool HasLastTimeToStore(const RunContext& ctx);

// The errorlevel of a run that has counted: 0 when sent files were found, else 4.
int CountedErrorlevel(const RunContext& ctx);

// Writes the new Last_Time into ZIRKA.CTL (replacing the Last_Time line or adding
// one). Returns the errorlevel the run ends with: 0 when sent files were found, else 4.
// `stored`, when given, is set false when a Last_Time to store could not be stored.
int StoreLastTime(RunContext& ctx, bool* stored = nullptr);

}  // namespace zirka
