#pragma once
// Lines read whole, whatever their length, in bounded memory: binkd's log and
// config lines have no length limit of their own.

#include <cstddef>
#include <string>

#include "platform/text_file.h"

namespace zirka {

// A line is kept up to this many characters; the rest of a longer line is read and
// dropped. No path binkd writes is nearly that long.
inline constexpr std::size_t kWholeLineMax = 64 * 1024;

enum class LineState {
  None,        // the end of the file: nothing was read
  Whole,       // a line with its line feed
  Overlong,    // a line with its line feed, of kWholeLineMax characters or more:
               // `line` holds its first kWholeLineMax
  Unfinished,  // the last line of the file, without a line feed (it may be being written)
};

// Reads the next line into `line`, without its line feed. `spare` is a buffer for
// the dropped rest of an overlong line; both keep their storage from call to call.
LineState ReadWholeLine(platform::TextFile& stream, std::string& line, std::string& spare);

}  // namespace zirka
