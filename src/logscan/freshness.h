#pragma once

#include "core/context.h"
#include "core/terminate.h"

namespace zirka {

// Marks each log new or old against the stored Last_Time and leaves every log
// stream where the sent-file scan takes it up. Errorlevel 4 when nothing is new
// and the run is not forced.
[[nodiscard]] Outcome CheckFreshness(RunContext& ctx);

}  // namespace zirka
