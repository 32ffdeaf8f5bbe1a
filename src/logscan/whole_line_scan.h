#pragma once
// Reading a log whose lines are read whole (binkd, Argus, qico): the freshness
// check and the scan for sent files, line by line, each line parsed by its mailer's
// parser. A line is read only once it has its line feed: the last line of a log that
// the mailer is writing right now has no time and is no send yet; the next run reads
// it whole.

#include <cstdint>
#include <memory>
#include <string_view>
#include <optional>
#include <string>
#include <vector>

#include "core/context.h"

namespace zirka {

// Reads a log of a whole-line format onward to its next dated line and gives that
// line's time (written form, valid until the next call); false at the end of what
// can be read.
class WholeLineTimes {
 public:
  WholeLineTimes(TextFile& stream, LogFormat format);
  ~WholeLineTimes();
  WholeLineTimes(const WholeLineTimes&) = delete;
  WholeLineTimes& operator=(const WholeLineTimes&) = delete;
  bool Next(std::string_view& time);

 private:
  struct Reader;
  std::unique_ptr<Reader> reader_;
};

// Reads the entry's log (of a whole-line format) onward and returns the next sent
// file name (upper case, without its path) that holds no item of `ignoreList`, or
// nothing at the end of the log. Updates the entry's lastTime from every dated line
// read.
std::optional<std::string> NextWholeLineSentFile(LogEntry& entry,
                                                 const std::vector<std::string>& ignoreList);

}  // namespace zirka
