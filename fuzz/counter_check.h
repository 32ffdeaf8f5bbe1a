#pragma once
// The properties of one counter line, shared by the counter and list-rewrite targets.

#include <string>
#include <string_view>

#include "core/context.h"

namespace zirka::fuzz {

// Checks `result`, what FormatCounterLine made of `entry` for `sent`:
//  - it starts with the name field (the sent name, perhaps a blank and a Maximus
//    flag) padded with blanks to at least 12 columns, then a blank and the left
//    bracket;
//  - the counter text is at least dlcDigits digits or lead characters;
//  - the tail after the right bracket is a suffix of the entry, and the result ends
//    in LF exactly when the entry does;
//  - with brackets that are distinct non-digits and a lead character that is '0' or
//    a non-digit other than a bracket, the counter is the old one plus sent.times
//    (a counter never goes down), and after an old counter field the tail is exactly
//    what followed it.
void CheckCounterLine(const CounterSettings& settings, std::string_view entry,
                      const SentFile& sent, const std::string& result);

// The old counter field of an entry as the counter format defines it: the first left
// bracket within the first 20 columns, and the first right bracket of the line 1 to 6
// columns right of it. False when the entry has none.
bool FindCounterField(const CounterSettings& settings, std::string_view entry,
                      std::size_t& left, std::size_t& right);

}  // namespace zirka::fuzz
