#pragma once

#include "core/context.h"

namespace zirka {

// Appends this run's block (sent files with their counts and the totals) to the
// report file, when it is open and something was sent.
void WriteReport(RunContext& ctx);

}  // namespace zirka
