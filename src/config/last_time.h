#pragma once

#include "core/context.h"

namespace zirka {

// Writes the new Last_Time into ZIRKA.CTL (replacing the Last_Time line or adding
// one). Returns the errorlevel the run ends with: 0 when sent files were found, else 4.
// `stored`, when given, is set false when a Last_Time to store could not be stored.
int StoreLastTime(RunContext& ctx, bool* stored = nullptr);

}  // namespace zirka
