#pragma once
// T-MAIL.CTL and the table of T-Mail logs.

#include "core/context.h"
#include "core/terminate.h"

namespace zirka {

// Grows the log table by one empty entry at the index equal to the count of
// accepted logs (debug: "  (%04u, log #%02d)\n").
void AddLogEntry(RunContext& ctx, std::size_t acceptedCount);

// Finds T-MAIL.CTL (CTL_PATH, the current directory, the T-MAIL variable), sets
// the T-Mail directory and builds the log table in this order: the LOG_PATH lines,
// the BINKD_LOG, ARGUS_LOG and QICO_LOG lines, T-Mail's LOG line and the log of the
// binkd config BINKD_CFG names. Errorlevel 1 (no T-MAIL.CTL) or 2 when no log can be
// had.
[[nodiscard]] Outcome BuildLogTable(RunContext& ctx);

}  // namespace zirka
