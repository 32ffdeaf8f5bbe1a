#include "counter_check.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_support.h"

namespace zirka::fuzz {

namespace {

// One reading of a result line: where the counter text and the tail are.
struct Reading {
  std::size_t counterBegin = 0;
  std::size_t counterEnd = 0;  // the right bracket
};

bool IsCounterChar(const CounterSettings& settings, char c) {
  return IsDigit(c) || c == settings.leadChar;
}

// Every reading of `result` as name field, blank, bracketed counter and a tail that
// the entry ends with. The name field may carry a Maximus flag of 2 or 3 characters.
std::vector<Reading> Readings(const CounterSettings& settings, std::string_view entry,
                              const SentFile& sent, std::string_view result) {
  std::vector<Reading> readings;
  const std::size_t k = sent.name.size();
  std::vector<std::size_t> fieldEnds = {k};
  if (result.size() > k + 2 && result[k] == ' ' && result[k + 1] == '/' &&
      (result[k + 2] == 't' || result[k + 2] == 'b')) {
    fieldEnds.push_back(k + 3);
    fieldEnds.push_back(k + 4);
  }
  for (const std::size_t fieldEnd : fieldEnds) {
    const std::size_t width = std::max<std::size_t>(12, fieldEnd);
    if (result.size() < width + 3) continue;
    const bool padded = std::all_of(result.begin() + static_cast<std::ptrdiff_t>(fieldEnd),
                                    result.begin() + static_cast<std::ptrdiff_t>(width),
                                    [](char c) { return c == ' '; });
    if (!padded || result[width] != ' ' || result[width + 1] != settings.leftBracket) continue;
    const std::size_t begin = width + 2;
    for (std::size_t j = begin; j < result.size(); ++j) {
      if (result[j] == settings.rightBracket && j - begin >= static_cast<std::size_t>(settings.dlcDigits) &&
          entry.ends_with(result.substr(j + 1))) {
        readings.push_back({begin, j});
      }
      if (!IsCounterChar(settings, result[j])) break;
    }
  }
  return readings;
}

// The old counter's value: non-digits before the first digit read as zeros, then the
// digits up to the first non-digit.
std::int64_t OldValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && !IsDigit(text[i])) ++i;
  std::int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
  return value;
}

bool PlainSettings(const CounterSettings& s) {
  return s.leftBracket != s.rightBracket && !IsDigit(s.leftBracket) && !IsDigit(s.rightBracket) &&
         s.leadChar != s.leftBracket && s.leadChar != s.rightBracket &&
         (s.leadChar == '0' || !IsDigit(s.leadChar));
}

}  // namespace

bool FindCounterField(const CounterSettings& settings, std::string_view entry,
                      std::size_t& left, std::size_t& right) {
  left = entry.find(settings.leftBracket);
  if (left == std::string_view::npos || left >= 20) return false;
  right = entry.find(settings.rightBracket);
  return right != std::string_view::npos && right > left && right - left <= 6;
}

void CheckCounterLine(const CounterSettings& settings, std::string_view entry,
                      const SentFile& sent, const std::string& result) {
  ZIRKA_FUZZ_CHECK(result.starts_with(sent.name));
  ZIRKA_FUZZ_CHECK(result.ends_with('\n') == entry.ends_with('\n'));
  const std::vector<Reading> readings = Readings(settings, entry, sent, result);
  ZIRKA_FUZZ_CHECK(!readings.empty());
  if (!PlainSettings(settings)) return;

  // Brackets and lead character set the counter apart: its value is known.
  std::int64_t old = 0;
  std::size_t left = 0;
  std::size_t right = 0;
  const bool hadField = FindCounterField(settings, entry, left, right);
  if (hadField) old = OldValue(entry.substr(left + 1, right - left - 1));
  const auto fits = [&](const Reading& reading) {
    std::string_view counter = std::string_view(result).substr(
        reading.counterBegin, reading.counterEnd - reading.counterBegin);
    if (settings.leadChar != '0') {
      counter.remove_prefix(std::min(counter.find_first_not_of(settings.leadChar), counter.size()));
    }
    if (counter.empty() || counter.size() > 18 || !std::all_of(counter.begin(), counter.end(), IsDigit)) {
      return false;
    }
    std::int64_t value = 0;
    for (const char c : counter) value = value * 10 + (c - '0');
    const std::string_view tail = std::string_view(result).substr(reading.counterEnd + 1);
    return value == old + sent.times && (!hadField || tail == entry.substr(right + 1));
  };
  ZIRKA_FUZZ_CHECK(std::any_of(readings.begin(), readings.end(), fits));
}

}  // namespace zirka::fuzz
