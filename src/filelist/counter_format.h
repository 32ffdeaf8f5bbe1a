#pragma once

#include <cstddef>
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
// it had one; its first word, ending at `nameEnd`, equals sent.name): the name field
// (with a Maximus flag), one blank, the counter raised by sent.times in the
// brackets, width and lead character of `settings`, and the tail. Debug trace
// lines go to `out`. When `change` is given, it receives the old and the new counter field.
std::string FormatCounterLine(const CounterSettings& settings, std::string_view entry,
                              std::size_t nameEnd, const SentFile& sent, const Output& out,
                              CounterChange* change = nullptr);

}  // namespace zirka
