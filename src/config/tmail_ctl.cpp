// Placeholder until this phase is built.
#include "config/tmail_ctl.h"
#include "run/terminate.h"

namespace zirka {
void AddLogEntry(RunContext&, std::size_t) {}
void BuildLogTable(RunContext& ctx) { Terminate(ctx, 1); }
}  // namespace zirka
