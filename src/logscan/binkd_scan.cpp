#include "logscan/binkd_scan.h"

#include <cstdint>

#include "core/log_time.h"
#include "core/sent_table.h"
#include "core/whole_line.h"
#include "logscan/binkd_line.h"

namespace zirka {

namespace {

// The next line of the log that can be read: a whole line, parsed. A line of
// kWholeLineMax characters or more is read whole as one line: its time counts, but
// it is never a send (no path is that long, and its end, where the size follows the
// path, was dropped). False at the end of the log, and at a last line without a line feed,
// which is not read at all.
class BinkdReader {
 public:
  explicit BinkdReader(TextFile& stream) : stream_(stream) {}

  bool Next(BinkdLine& parsed) {
    switch (ReadWholeLine(stream_, line_, spare_)) {
      case LineState::Whole:
        parsed = ParseBinkdLine(line_);
        return true;
      case LineState::Overlong:
        parsed = ParseBinkdLine(line_);
        parsed.sentPath = {};
        return true;
      case LineState::None:
      case LineState::Unfinished:
        break;
    }
    return false;
  }

 private:
  TextFile& stream_;
  std::string line_;
  std::string spare_;
};

}  // namespace

bool BinkdTimes::Next(std::string_view& time) {
  for (;;) {
    switch (ReadWholeLine(stream_, line_, spare_)) {
      case LineState::Whole:
      case LineState::Overlong:
        parsed_ = ParseBinkdLine(line_);
        if (!parsed_.dated) continue;
        time = parsed_.timeText();
        return true;
      case LineState::None:
      case LineState::Unfinished:
        return false;
    }
  }
}

std::optional<std::string> NextBinkdSentFile(LogEntry& entry,
                                             const std::vector<std::string>& ignoreList) {
  BinkdReader reader(*entry.stream);
  BinkdLine parsed;
  std::string name;
  while (reader.Next(parsed)) {
    if (!parsed.dated) continue;
    entry.lastTime.Assign(parsed.timeText());
    if (!parsed.isSend()) continue;
    SentFileName(parsed.sentPath, name);
    if (IsIgnoredName(ignoreList, name)) continue;
    return name;
  }
  return std::nullopt;
}

}  // namespace zirka
