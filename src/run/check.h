#pragma once
// The configuration check (-t, /t or --check): ZIRKA.CTL, T-MAIL.CTL and binkd's
// config read as a run reads them, and what a run would stop at or pass over
// listed, with nothing written (no list, no control file, no program log, report
// or journal).

#include "core/context.h"

namespace zirka {

// The errorlevel the check ends with when it finds warnings only: things a run
// passes over (an unknown keyword, a log or list that can't be opened, a Last_Time
// that is not DD/MM HH:MM:SS), while it would still end as usual.
inline constexpr int kCheckWarningsErrorlevel = 8;

// Runs the check after the command line and returns its errorlevel: 0 when
// nothing is wrong; else the one the run would end with (5 no ZIRKA.CTL, 3 a
// journal it can't use, 1 no T-MAIL.CTL and no log, 2 no log that opens); else
// kCheckWarningsErrorlevel.
int CheckConfiguration(RunContext& ctx);

}  // namespace zirka
