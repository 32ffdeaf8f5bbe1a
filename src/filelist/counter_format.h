#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/context.h"

namespace zirka {

// An entry's counter field before and after it is raised, brackets included, as
// the list shows them; `before` is empty when the entry had no counter.
struct CounterChange {
  std::string before;
  std::string after;
};

// Builds the FILES.BBS entry that replaces `entry` (as read, with its line feed if
// it had one; its first word, ending at `nameEnd`, equals sent.name ignoring case):
// the name field (the upper-case sent name, or with keepNameCase the first word as
// written; with a Maximus flag), one blank, the counter raised by sent.times in the
// brackets, width and lead character of `settings`, and the tail. With longNames,
// the columns in which the counter field and a Maximus flag are looked for move
// right by as much as the name is longer than 12 characters. Debug trace
// lines go to `out`. When `change` is given, it receives the old and the new counter field.
std::string FormatCounterLine(const CounterSettings& settings, std::string_view entry,
                              std::size_t nameEnd, const SentFile& sent, const Output& out,
                              CounterChange* change = nullptr);

// The counter field of a list entry as the rewrite recognises it: the first left
// bracket within the first 20 columns (moved right as a long name, ending at
// `nameEnd`, asks) and the line's first right bracket 1 to 6 columns right of it. `value` is what the rewrite would raise (non-digits at the
// start read as zeros, anything after the leading digits ignored); `end` is where
// the text after the right bracket begins.
struct CounterReading {
  std::int64_t value = 0;
  std::size_t end = 0;
};
std::optional<CounterReading> ReadCounterField(const CounterSettings& settings,
                                               std::string_view entry, std::size_t nameEnd);

}  // namespace zirka
