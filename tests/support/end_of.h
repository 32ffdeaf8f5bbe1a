#pragma once
// A phase's outcome taken as the orchestration takes it.

#include "core/context.h"
#include "core/terminate.h"

namespace zirka::testing {

// An errorlevel the phase returned ends the run through Terminate, as in a real
// run; the errorlevel, or -1 when the phase let the run go on.
inline int EndOf(RunContext& ctx, Outcome outcome) {
  return outcome ? Terminate(ctx, *outcome) : -1;
}

}  // namespace zirka::testing
