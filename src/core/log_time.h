#pragma once
// Log times: DD/MM HH:MM:SS as written, MM/DD HH:MM:SS when compared.

#include <string>
#include <string_view>

namespace zirka {

inline constexpr std::size_t kLogTimeLength = 14;

// A log time, 14 characters without a year: DD/MM HH:MM:SS in logs, in ZIRKA.CTL
// and on the screen; MM/DD HH:MM:SS (after SwapDayMonth) when compared.
using LogTime = std::string;

// A line whose characters 0, 1, 3 and 4 are decimal digits and whose character 2
// is '/', with a real day (01-31) and month (01-12); its first 14 characters are
// its log time. A line with another day or month carries no date.
bool IsDatedLine(std::string_view line);

// Swaps characters 0-1 with 3-4 and puts '/' at 2; applied twice it restores the text.
// A text shorter than 5 characters is left as it is.
void SwapDayMonth(std::string& time);

// The comparison form of a written log time, or the written form of a comparison
// one: a swapped copy, the original left as it is.
std::string SwappedDayMonth(std::string time);

// True when `candidate` is later than `reference` (both in comparison form), with
// the year-turn rule: a reference month of 10 or more and a candidate month of 2 or
// less is later; a reference month of 2 or less and a candidate month of 11 or more
// is not; otherwise the 14 characters are compared as unsigned bytes.
bool IsLaterTime(std::string_view reference, std::string_view candidate);

}  // namespace zirka
