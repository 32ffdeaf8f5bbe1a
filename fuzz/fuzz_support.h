#pragma once
// What the fuzz targets share: failing loudly when a property does not hold, an
// independent model of how a DOS text stream cuts a file into pieces, memory streams,
// and the character tests the properties are written in.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/context.h"
#include "platform/text_file.h"

namespace zirka::fuzz {

// Prints what failed and aborts, so that libFuzzer saves the input as a crash.
[[noreturn]] void Fail(const char* what, const char* file, int line);

// A property of the code under test; a failure aborts the run with the input saved.
#define ZIRKA_FUZZ_CHECK(cond)                                    \
  do {                                                            \
    if (!(cond)) ::zirka::fuzz::Fail(#cond, __FILE__, __LINE__);  \
  } while (false)

// True when the text of `bytes` (up to a Ctrl-Z) begins with a UTF-8 byte order mark.
bool StartsWithByteOrderMark(std::string_view bytes);

// The pieces a DOS text stream returns for `bytes`, derived without the stream: the
// text ends at the first Ctrl-Z, a byte order mark at its head is dropped, a CR
// directly followed by LF is dropped, and each
// piece is what fgets with a buffer of maxChars + 1 gives (at most maxChars bytes,
// ending right after the first LF).
std::vector<std::string> DosPieces(std::string_view bytes, std::size_t maxChars);

// The bytes a DOS text stream writes for `text`: every LF as CR LF.
std::string DosEncode(std::string_view text);

// A text stream that reads a copy of `bytes`.
std::unique_ptr<platform::TextFile> ReadingText(std::string_view bytes);

// A text stream that appends what is written to `out`.
std::unique_ptr<platform::TextFile> WritingText(std::shared_ptr<std::string> out);

// The fuzz input as text, every byte kept.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Calls each(line) for every line of `text`, without its line feed.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    each(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

inline bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// A dated log line: digits at 0, 1, 3 and 4, '/' at 2.
bool IsDated(std::string_view line);

// The sends a scan of `log` in `format` finds from byte `from` on, and the last
// time it read.
struct Scan {
  std::vector<std::string> names;
  LogTime lastTime;
};
Scan ScanLog(LogFormat format, std::string_view log, const std::vector<std::string>& ignoreList,
             std::uint64_t from = 0);

// Where the first dated line later than `stored` of a log in a whole-line format
// begins, read from its start line by line; nothing when it has none.
std::optional<std::uint64_t> FirstLaterWholeLine(platform::TextFile& stream, LogFormat format,
                                                 const LogTime& stored);

// A written log time: DD/MM HH:MM:SS, a real day and month and a clock in range.
void CheckLogTime(std::string_view time);

// Scans `text` as a log of a whole-line `format` and checks what any such scan
// gives: names that are not empty, upper case, free of '/', '\' and every ignore
// item; a last time that is one; a scan of the text's first part (cut at a share of
// its length that `flags` chooses) that finds the first of its sends, and a scan
// from its first line later than `stored` the last of them. Returns the whole scan.
Scan CheckScans(LogFormat format, std::string_view text,
                const std::vector<std::string>& ignoreList, std::uint8_t flags,
                const LogTime& stored);

// True when `part` stands in `whole` at its start (or, with `atEnd`, at its end).
bool IsPart(const std::vector<std::string>& part, const std::vector<std::string>& whole,
            bool atEnd);

}  // namespace zirka::fuzz
