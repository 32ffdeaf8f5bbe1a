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
#include "logscan/binkd_line.h"

namespace zirka {

// Reads a binkd log onward to its next dated line and gives that line's time
// (written form, valid until the next call); false at the end of what can be read.
class BinkdTimes {
 public:
  explicit BinkdTimes(TextFile& stream) : stream_(stream) {}
  bool Next(std::string_view& time);

 private:
  TextFile& stream_;
  std::string line_;
  std::string spare_;
  BinkdLine parsed_;
};

// Reads the entry's binkd log onward and returns the next sent file name (upper
// case, without its path) that holds no item of `ignoreList`, or nothing at the end
// of the log. Updates the entry's lastTime from every dated line read.
std::optional<std::string> NextBinkdSentFile(LogEntry& entry,
                                             const std::vector<std::string>& ignoreList);

}  // namespace zirka
