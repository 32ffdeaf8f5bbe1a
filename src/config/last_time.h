#pragma once

#include "core/context.h"

namespace zirka {

// Writes the new Last_Time into ZIRKA.CTL (replacing the Last_Time line or adding
// one). Returns the errorlevel the run ends with: 0 when sent files were found, else 4.
int StoreLastTime(RunContext& ctx);

}  // namespace zirka
