// Placeholder until this phase is built.
#include "logscan/log_time.h"
#include "run/terminate.h"

namespace zirka {
bool IsDatedLine(std::string_view) { return false; }
void SwapDayMonth(std::string&) {}
bool IsLaterTime(std::string_view, std::string_view) { return false; }
}  // namespace zirka
