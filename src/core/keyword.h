#pragma once
// Control-file keyword lookup and the small text helpers used with it.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text_file.h"

namespace zirka {

// Control-file lines are read in pieces of this many characters; each piece is
// examined as a line of its own.
inline constexpr std::size_t kCtlPiece = 180;

// Reads lines from the stream's current position until one starts with `keyword`
// (upper case; only blanks before it, a blank or tab after it) and returns its
// value: upper case, tabs as blanks, cut at the first ';', trimmed. The stream is
// left after the matching line. Empty at the end of the stream or for a blank value.
std::string LookupKeyword(platform::TextFile& stream, std::string_view keyword);

// Removes characters of code 0x20 and below from both ends of `text` in place and
// returns the result. A text of spaces only (or empty) is left as it is and the
// empty text is returned; any other text without a character above 0x20 becomes
// empty in place.
std::string TrimBlanks(std::string& text);

// True when each of the first n characters of `text` is a space (0x20).
bool IsBlankPrefix(std::string_view text, std::size_t n);

// Drops a final line feed, then appends a backslash unless the path already ends
// in a directory separator; an empty path becomes a single backslash.
void EnsureTrailingBackslash(std::string& path);

// A path with no directory separator anywhere is prefixed with the T-Mail
// directory (when that is not empty); any other path is left as it is.
std::string& CompletePath(std::string& path, const std::string& tmailDirectory);

// ASCII upper case (a-z only), in place; returns the text.
std::string& ToUpperAscii(std::string& text);
std::string UpperAscii(std::string_view text);

// Equal ignoring the case of ASCII letters.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace zirka
