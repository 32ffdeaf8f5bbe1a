#pragma once

#include "core/context.h"

namespace zirka {

// Writes the new Last_Time into ZIRKA.CTL (replacing the Last_Time line or adding
// one) and ends the run: errorlevel 0 when sent files were found, else 4.
[[noreturn]] void StoreLastTime(RunContext& ctx);

}  // namespace zirka
