#pragma once
// Control-file keyword lookup, for ZIRKA.CTL and T-MAIL.CTL alike.

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

// The value of the first `keyword` line of the control file: the stream is
// rewound and searched from its top.
std::string FirstKeywordValue(platform::TextFile& stream, std::string_view keyword);

}  // namespace zirka
