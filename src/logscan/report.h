#pragma once

#include "core/context.h"

namespace zirka {

// Appends this run's block (sent files with their counts and the totals, headed by
// the run's start time) to `report`, when it is open (not null) and something was sent.
void WriteReport(platform::TextFile* report, const SentTable& sentTable, std::time_t startTime);

}  // namespace zirka
