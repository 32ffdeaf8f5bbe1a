#pragma once
// The file areas whose FILES.BBS lists the run updates.

#include <optional>
#include <string>
#include <vector>

#include "core/context.h"

namespace zirka {

// Where a candidate area comes from; the sources differ in share mode, duplicate
// test and messages.
enum class AreaSource { AreaLine, RequestableDirs, Aliases };

// One line (a piece of at most 180 characters) of T-Mail's requestable directories
// list turned into a candidate directory ending in a separator, or nothing when the
// line gives none (comment, blank, 3 characters or fewer).
std::optional<std::string> RequestableDirCandidate(std::string line);

// One line of T-Mail's list of aliases turned into a candidate directory (the path
// up to and including its last separator), or nothing when the line gives none.
std::optional<std::string> AliasCandidate(std::string line);

// Tests one candidate directory (ending in a separator) for a FILES.BBS and
// appends it to `areaTable`. False when it has no FILES.BBS that can be opened.
bool AcceptArea(std::vector<std::string>& areaTable, const Output& out,
                const std::string& directory, AreaSource source);

// Collects the areas from AREA lines and, with LOOKUP_CTL on and T-MAIL.CTL found,
// from T-Mail's requestable directories list (FREQ_DIR) and list of aliases (FREQ_NDX).
void BuildAreaTable(RunContext& ctx);

}  // namespace zirka
