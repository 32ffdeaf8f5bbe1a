#pragma once
// Small text and path helpers used all over the program.

#include <cstddef>
#include <string>
#include <string_view>

namespace zirka {

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

// ASCII upper case (a-z only).
inline char UpperAsciiChar(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
// ASCII upper case (a-z only), in place; returns the text.
std::string& ToUpperAscii(std::string& text);
std::string UpperAscii(std::string_view text);

// Equal ignoring the case of ASCII letters.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// The position of the last directory separator in `path`, or npos.
std::size_t LastSeparator(std::string_view path);

// A decimal digit 0-9 (never a locale's other digits).
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Appends `text` to `out`, padded with blanks to `width` columns; a longer text
// is appended whole.
void AppendPadded(std::string& out, std::string_view text, std::size_t width);

}  // namespace zirka
