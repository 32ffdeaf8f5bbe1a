// Placeholder until this phase is built.
#include "areas/counter_settings.h"
#include "run/terminate.h"

namespace zirka {
void ReadCounterSettings(RunContext&) {}
void ReadIgnoreList(RunContext&) {}
}  // namespace zirka
