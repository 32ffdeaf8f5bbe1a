#pragma once
// The rewrite of each area's FILES.BBS with the raised counters.

#include <string>

#include "core/context.h"

namespace zirka {

// FILES.BBS lines are read in pieces of this many characters.
inline constexpr std::size_t kListPiece = 399;

// Rewrites the lists of all areas in table order, with the progress display.
void UpdateFileAreas(RunContext& ctx);

// Copies one open list to its open replacement line by line, every file entry that
// names a sent file raised (the body of RewriteFileList, apart from opening and
// replacing the files). False when a write or a read of the list failed.
bool CopyFileList(RunContext& ctx, platform::TextFile& list, platform::TextFile& temp);

// Rewrites one list through FILES.!#$; every failure is reported and ends only
// the work on this area. `number` counts from 1.
void RewriteFileList(RunContext& ctx, const std::string& area, int number);

}  // namespace zirka
