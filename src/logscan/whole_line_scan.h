#pragma once
// Reading a log whose lines are read whole (binkd, Argus, qico): the freshness
// check and the scan for sent files, line by line, each line parsed by its mailer's
// parser. A line is read only once it has its line feed: the last line of a log that
// the mailer is writing right now has no time and is no send yet; the next run reads
// it whole.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/context.h"

namespace zirka {

// Reads the log, of a whole-line `format`, from its start up to its first dated line
// later than `storedLastTime` and gives the offset where that line begins; nothing
// when the log holds no such line.
std::optional<std::uint64_t> FirstLaterWholeLine(TextFile& stream, LogFormat format,
                                                 const LogTime& storedLastTime);

// Reads the entry's log (of a whole-line format) onward and returns the next sent
// file name (upper case, without its path) that holds no item of `ignoreList`, or
// nothing at the end of the log. Updates the entry's lastTime from every dated line
// read.
std::optional<std::string> NextWholeLineSentFile(LogEntry& entry,
                                                 const std::vector<std::string>& ignoreList);

}  // namespace zirka
