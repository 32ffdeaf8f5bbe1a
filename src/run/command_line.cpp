// Placeholder until this phase is built.
#include "run/command_line.h"
#include "run/terminate.h"

namespace zirka {
void ShowStartBanner() {}
void ParseCommandLine(RunContext&, const std::vector<std::string>&) {}
void OpenMainControlFile(RunContext& ctx) { Terminate(ctx, 5); }
}  // namespace zirka
