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
    lineStart_ = stream_.Tell();
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

  // Where the line Next read last begins.
  std::uint64_t lineStart() const { return lineStart_; }

 private:
  TextFile& stream_;
  std::string line_;
  std::string spare_;
  std::uint64_t lineStart_ = 0;
};

}  // namespace

std::optional<std::uint64_t> FirstLaterBinkdLine(TextFile& stream, const LogTime& storedLastTime) {
  stream.Rewind();
  BinkdReader reader(stream);
  BinkdLine parsed;
  while (reader.Next(parsed)) {
    if (!parsed.dated) continue;
    if (LogTime::IsWrittenLater(parsed.timeText(), storedLastTime.written())) {
      return reader.lineStart();
    }
  }
  return std::nullopt;
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
