#pragma once

#include "core/context.h"
#include "core/terminate.h"

namespace zirka {

// Marks each log new or old against the stored Last_Time and sets where the
// sent-file scan takes each one up (its scanFrom). Errorlevel 4 when nothing is
// new and the run is not forced.
[[nodiscard]] Outcome CheckFreshness(RunContext& ctx);

}  // namespace zirka
