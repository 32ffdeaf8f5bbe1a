#pragma once
// The one way a run ends.

#include "core/context.h"

namespace zirka {

// Thrown by Terminate after the run is wound up; main returns `errorlevel` as the
// exit code. A phase under test thus ends in an exception, not in process exit.
struct RunEnded {
  int errorlevel;
};

// Writes the errorlevel's closing lines to the program log, closes every file of
// the run, prints the exit summary and ends the run with `errorlevel`
// (0 done, 1 no T-MAIL.CTL, 2 no log, 4 nothing new, 5 no ZIRKA.CTL, 6 out of
// memory, 7 no standard output).
[[noreturn]] void Terminate(RunContext& ctx, int errorlevel);

}  // namespace zirka
