#pragma once
// The one way a run ends.

#include <optional>

#include "core/context.h"

namespace zirka {

// What a phase hands back to the orchestration: an errorlevel ends the run
// (through Terminate, called by the orchestration only); nothing lets it go on.
using Outcome = std::optional<int>;

// Writes the errorlevel's closing lines to the program log, closes every file of
// the run, prints the exit summary and returns `errorlevel` for main to exit with
// (0 done, 1 no T-MAIL.CTL, 2 no log, 3 a journal that can't be used, 4 nothing
// new, 5 no ZIRKA.CTL, 6 out of memory, 7 no standard output).
//
// Never throws. Errorlevel 6 first frees the run's tables and then writes only
// constant texts and fixed buffers, so that it cannot fail for want of memory;
// an allocation that fails while another errorlevel is being written ends the
// run with errorlevel 6 instead.
int Terminate(RunContext& ctx, int errorlevel) noexcept;

}  // namespace zirka
