#pragma once

#include "core/context.h"

namespace zirka {

// Opens the program log (KEEP_LOG, LOG) with its started line, announces forced
// mode, prints "Reading" for ZIRKA.CTL, and opens the report file (KEEP_REPORT, REPORT).
// A preview opens neither. The program log notes the first unknown keyword of ZIRKA.CTL.
void OpenProgramLogAndReport(RunContext& ctx);

}  // namespace zirka
