#pragma once
// Reading a binkd log: the freshness check and the scan for sent files, line by
// line, each line whole. A line is read only once it has its line feed: the last
// line of a log that binkd is writing right now has no time and is no send yet;
// the next run reads it whole.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/context.h"

namespace zirka {

// Reads the log from its start up to its first dated line later than
// `storedLastTime` and gives the offset where that line begins; nothing when the
// log holds no such line.
std::optional<std::uint64_t> FirstLaterBinkdLine(TextFile& stream, const LogTime& storedLastTime);

// Reads the entry's binkd log onward and returns the next sent file name (upper
// case, without its path) that holds no item of `ignoreList`, or nothing at the end
// of the log. Updates the entry's lastTime from every dated line read.
std::optional<std::string> NextBinkdSentFile(LogEntry& entry,
                                             const std::vector<std::string>& ignoreList);

}  // namespace zirka
