#pragma once
// The scan of the logs for files sent to callers.

#include <optional>
#include <string>
#include <vector>

#include "core/context.h"

namespace zirka {

// Log lines are read in pieces of this many characters.
inline constexpr std::size_t kLogPiece = 255;

// Reads the entry's stream onward and returns the next sent file name (upper case,
// without its path) whose name holds no item of `ignoreList`, or nothing at the
// end of the log. Updates the entry's lastTime from every dated line read that
// holds a whole 14-character time. A log of a whole-line format (binkd, Argus, qico)
// is read by NextWholeLineSentFile.
std::optional<std::string> NextSentFile(LogEntry& entry,
                                        const std::vector<std::string>& ignoreList);
// The same into `name`, whose buffer is used again: false at the end of the log.
bool NextSentFile(LogEntry& entry, const std::vector<std::string>& ignoreList,
                  std::string& name);

// Fills the sent table from every log, shows the progress count and computes the
// new Last_Time.
void ScanSentFiles(RunContext& ctx);

}  // namespace zirka
