#pragma once
// The keywords ZIRKA.CTL may hold, and the lines whose first word is none of them.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/text_file.h"

namespace zirka {

// Every keyword of ZIRKA.CTL, one a line. A line whose first word is not here is
// reported by the configuration check (-t) and noted once in the program log.
inline constexpr std::string_view kMainCtlKeywords[] = {
    "LOG",
    "KEEP_LOG",
    "REPORT",
    "KEEP_REPORT",
    "CTL_PATH",
    "LOG_PATH",
    "BINKD_LOG",
    "BINKD_CFG",
    "ARGUS_LOG",
    "QICO_LOG",
    "LONG_NAMES",
    "BULLETIN",
    "BULLETIN_TOP",
    "LAST_TIME",
    "DLC_DIGITS",
    "LOOKUP_CTL",
    "LEFT_BRACKET",
    "RIGHT_BRACKET",
    "AREA",
    "IGNORE",
    "FIRST_ONLY",
    "LEAD_CHAR",
    "KEEP_NAME_CASE",
};

// A line of ZIRKA.CTL whose first word is no keyword: the run passes it over.
struct UnknownKeyword {
  std::size_t line = 0;  // from 1
  std::string word;      // upper case, as the keyword lookup reads it
  std::string likely;    // the keyword most likely meant, or empty
};

// Reads the control file from its top, each line as the keyword lookup reads it
// (upper case, tabs as blanks), and hands every line whose first word (up to the
// first blank) is no keyword to `found`, in file order, until it returns false.
// Empty lines and comments (';' first) have no word; the rest of a line longer
// than a lookup's piece is not looked at.
void FindUnknownKeywords(platform::TextFile& ctl,
                         const std::function<bool(const UnknownKeyword&)>& found);

// The keyword nearest to `word` in letters changed, added, dropped or swapped
// (BINKD_LGO gives BINKD_LOG), or empty when none is near enough to be meant.
std::string LikelyKeyword(std::string_view word);

}  // namespace zirka
