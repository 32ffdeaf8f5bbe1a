// Placeholder until this phase is built.
#include "areas/area_table.h"
#include "run/terminate.h"

namespace zirka {
void AcceptArea(RunContext&, const std::string&, AreaSource) {}
void BuildAreaTable(RunContext&) {}
std::optional<std::string> RequestableDirCandidate(std::string) { return std::nullopt; }
std::optional<std::string> AliasCandidate(std::string) { return std::nullopt; }
}  // namespace zirka
