#pragma once
// Reading a binkd log: the freshness check and the scan for sent files, line by
// line, each line whole. A line is read only once it has its line feed: the last
// line of a log that binkd is writing right now has no time and is no send yet;
// the next run reads it whole.

#include <optional>
#include <string>
#include <vector>

#include "core/context.h"

namespace zirka {

// Reads the log from its current position up to its first dated line later than
// `storedLastTime` (comparison form). When there is one, the stream is put back to
// the start of that line and true is returned; otherwise the stream stays at the end.
bool HoldsLaterBinkdLine(TextFile& stream, const LogTime& storedLastTime);

// Reads the entry's binkd log onward and returns the next sent file name (upper
// case, without its path) that holds no item of `ignoreList`, or nothing at the end
// of the log. Updates the entry's lastTime from every dated line read.
std::optional<std::string> NextBinkdSentFile(LogEntry& entry,
                                             const std::vector<std::string>& ignoreList);

}  // namespace zirka
