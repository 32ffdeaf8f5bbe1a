#include "logscan/whole_line_scan.h"

#include <cstdint>

#include "core/log_time.h"
#include "core/sent_table.h"
#include "core/whole_line.h"
#include "logscan/argus_line.h"
#include "logscan/binkd_line.h"
#include "logscan/qico_line.h"

namespace zirka {

namespace {

using LineParser = LogLine (*)(std::string_view line);

LineParser ParserOf(LogFormat format) {
  switch (format) {
    case LogFormat::Argus:
      return ParseArgusLine;
    case LogFormat::Qico:
      return ParseQicoLine;
    case LogFormat::Binkd:
    case LogFormat::TMail:
      break;
  }
  return ParseBinkdLine;
}

// The next line of the log that can be read: a whole line, parsed by the parser of
// the log's format. A line of kWholeLineMax characters or more is read whole as one
// line: its time counts, but it is never a send (no path is that long, and its end,
// where what follows the path stands, was dropped). False at the end of the log, and
// at a last line without a line feed, which is not read at all.
class WholeLineReader {
 public:
  WholeLineReader(TextFile& stream, LogFormat format)
      : stream_(stream), parse_(ParserOf(format)) {}

  bool Next(LogLine& parsed) {
    switch (ReadWholeLine(stream_, line_, spare_)) {
      case LineState::Whole:
        parsed = parse_(line_);
        return true;
      case LineState::Overlong:
        parsed = parse_(line_);
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
  LineParser parse_;
  std::string line_;
  std::string spare_;
};

}  // namespace

struct WholeLineTimes::Reader {
  WholeLineReader lines;
  LogLine parsed;
};

WholeLineTimes::WholeLineTimes(TextFile& stream, LogFormat format)
    : reader_(new Reader{WholeLineReader(stream, format), LogLine{}}) {}

WholeLineTimes::~WholeLineTimes() = default;

bool WholeLineTimes::Next(std::string_view& time) {
  while (reader_->lines.Next(reader_->parsed)) {
    if (!reader_->parsed.dated) continue;
    time = reader_->parsed.timeText();
    return true;
  }
  return false;
}

std::optional<std::string> NextWholeLineSentFile(LogEntry& entry,
                                                 const std::vector<std::string>& ignoreList) {
  WholeLineReader reader(*entry.stream, entry.format);
  LogLine parsed;
  std::string name;
  while (reader.Next(parsed)) {
    if (!parsed.dated) continue;
    entry.lastTime.Assign(parsed.timeText());
    if (entry.oldUpTo.active() && !entry.oldUpTo(parsed.timeText())) {
      // Counted before: the new part begins after this line.
      entry.scanFrom = entry.stream->Tell();
      entry.restarted = true;
      continue;
    }
    if (!parsed.isSend()) continue;
    SentFileName(parsed.sentPath, name);
    if (IsIgnoredName(ignoreList, name)) continue;
    return name;
  }
  return std::nullopt;
}

}  // namespace zirka
