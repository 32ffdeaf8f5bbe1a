#include "filelist/counter_format.h"

#include <cstdint>
#include <limits>
#include <optional>

#include "core/messages.h"
#include "core/text.h"

namespace zirka {

namespace {

// The left bracket of a counter field stands within the first 20 columns (more for
// a long name, see ColumnShift).
constexpr std::size_t kBracketColumns = 20;
// The first right bracket stands 1 to 6 columns right of the left one, so the
// field holds 0 to 5 characters.
constexpr std::size_t kMaxFieldGap = 6;
// Without a counter field, a Maximus flag is looked for in the first 15 columns
// (more for a long name).
constexpr std::size_t kFlagColumns = 15;
// The name field is padded with blanks to this width.
constexpr std::size_t kNameWidth = 12;

// How far right the column limits move for an entry whose name ends at `nameEnd`:
// with LONG_NAMES, by as much as the name is longer than 12 characters.
std::size_t ColumnShift(const CounterSettings& s, std::size_t nameEnd) {
  return s.longNames && nameEnd > kNameWidth ? nameEnd - kNameWidth : 0;
}

// Where the counter field's brackets stand in the line.
struct CounterField {
  std::size_t left;
  std::size_t right;
};

// A Maximus flag behind the file name: "/t", "/b", or one of them and one more
// character, always followed by a blank.
struct MaximusFlag {
  std::size_t slash;
  std::size_t length;  // 2 or 3
};

std::optional<CounterField> FindCounterField(std::string_view line, char leftBracket,
                                             char rightBracket, std::size_t shift) {
  const std::size_t left = line.find(leftBracket);
  if (left == std::string_view::npos || left >= kBracketColumns + shift) return std::nullopt;
  // The right bracket is searched from the start of the line, not from the left
  // bracket: one to its left (or the same character for both) means no field.
  const std::size_t right = line.find(rightBracket);
  if (right == std::string_view::npos || right <= left || right - left > kMaxFieldGap) {
    return std::nullopt;
  }
  return CounterField{left, right};
}

// Tests the first "/" of the line; `limit` is the column it must stand left of.
std::optional<MaximusFlag> FindMaximusFlag(std::string_view line, std::size_t limit) {
  const std::size_t slash = line.find('/');
  if (slash == std::string_view::npos || slash >= limit) return std::nullopt;
  auto at = [&](std::size_t i) { return i < line.size() ? line[i] : '\0'; };
  if (at(slash + 1) != 't' && at(slash + 1) != 'b') return std::nullopt;
  if (at(slash + 2) == ' ') return MaximusFlag{slash, 2};
  if (at(slash + 3) == ' ') return MaximusFlag{slash, 3};
  return std::nullopt;
}

// The value of a counter field's text: the digits that follow any non-digits at
// its start, up to the next non-digit; none gives 0.
std::int64_t CounterValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && !IsDigit(text[i])) ++i;
  std::int64_t value = 0;  // at most five digits
  for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
  return value;
}

std::string DecimalText(std::int64_t value) { return std::to_string(value); }

std::int64_t AddSaturating(std::int64_t a, std::int64_t b) {
  if (b > 0 && a > std::numeric_limits<std::int64_t>::max() - b) {
    return std::numeric_limits<std::int64_t>::max();
  }
  if (b < 0 && a < std::numeric_limits<std::int64_t>::min() - b) {
    return std::numeric_limits<std::int64_t>::min();
  }
  return a + b;
}

// Raises an existing counter: reads the old text (non-digits at its start read
// as zeros), adds `times` and writes the value padded to the configured width.
std::string RaisedCounterText(const CounterSettings& s, const Output& out, std::string_view oldText,
                              std::int64_t times) {
  Debug(out, std::string("  Source : ").append(oldText).append("\n"));

  std::string digits(oldText);
  for (char& c : digits) {
    if (IsDigit(c)) break;
    c = '0';
  }
  Debug(out, "  Step #1: " + digits + "\n");

  const std::int64_t newValue = AddSaturating(CounterValue(oldText), times);
  Debug(out, Format("  Digital: %lld\n", static_cast<long long>(newValue)));

  std::string text = DecimalText(newValue);
  const auto width = static_cast<std::size_t>(s.dlcDigits > 0 ? s.dlcDigits : 0);
  if (text.size() <= width) {
    const std::string zeros(width - text.size(), '0');
    Debug(out, "  Step #2: " + zeros + "\n");
    text.insert(0, zeros);
    Debug(out, "  Step #3: " + text + "\n");
  }
  for (char& c : text) {
    if (c != '0') break;
    c = s.leadChar;
  }
  return text;
}

// A new counter for an entry that had none: `times` padded with the lead character.
std::string InsertedCounterText(const CounterSettings& s, std::int64_t times) {
  std::string text = DecimalText(times);
  const auto width = static_cast<std::size_t>(s.dlcDigits > 0 ? s.dlcDigits : 0);
  if (text.size() < width) text.insert(0, width - text.size(), s.leadChar);
  return text;
}

void ShowFlag(const Output& out, std::string_view flag) {
  Debug(out, std::string("  Maximus's ").append(flag).append(" has been detected.\n"));
}

}  // namespace

std::optional<CounterReading> ReadCounterField(const CounterSettings& s, std::string_view entry,
                                               std::size_t nameEnd) {
  const auto field =
      FindCounterField(entry, s.leftBracket, s.rightBracket, ColumnShift(s, nameEnd));
  if (!field) return std::nullopt;
  return CounterReading{CounterValue(entry.substr(field->left + 1, field->right - field->left - 1)),
                        field->right + 1};
}

std::string FormatCounterLine(const CounterSettings& s, std::string_view entry, std::size_t nameEnd,
                              const SentFile& sent, const Output& out, CounterChange* change) {
  if (change) *change = CounterChange{};
  // The entry's first word equals the sent name ignoring letter case.
  std::string nameField(s.keepNameCase ? entry.substr(0, nameEnd) : std::string_view(sent.name));
  std::string counter;
  std::string_view tail;

  const std::size_t shift = ColumnShift(s, nameEnd);
  if (const auto field = FindCounterField(entry, s.leftBracket, s.rightBracket, shift)) {
    if (const auto flag = FindMaximusFlag(entry, field->left)) {
      const std::string_view flagText = entry.substr(flag->slash, flag->length);
      ShowFlag(out, flagText);
      nameField.append(" ").append(flagText);
    }
    const std::string_view oldText =
        entry.substr(field->left + 1, field->right - field->left - 1);
    counter = RaisedCounterText(s, out, oldText, sent.times);
    if (change) change->before = entry.substr(field->left, field->right - field->left + 1);
    tail = entry.substr(field->right + 1);
  } else {
    Debug(out, "  No initial dlc found\n");
    const auto flag = FindMaximusFlag(entry, kFlagColumns + shift);
    if (flag) {
      const std::string_view flagText = entry.substr(flag->slash, flag->length);
      ShowFlag(out, flagText);
      nameField.append(" ").append(flagText);
    }
    counter = InsertedCounterText(s, sent.times);
    const std::size_t tailStart = flag ? flag->slash + flag->length : nameEnd;
    tail = tailStart < entry.size() ? entry.substr(tailStart) : std::string_view();
  }

  // The name padded to 12 columns (a longer name field is written whole), one
  // blank, the bracketed counter and the tail, byte for byte.
  std::string line;
  AppendPadded(line, nameField, kNameWidth);
  line.push_back(' ');
  line.push_back(s.leftBracket);
  line.append(counter);
  line.push_back(s.rightBracket);
  if (change) change->after = std::string_view(line).substr(line.size() - counter.size() - 2);
  line.append(tail);
  return line;
}

}  // namespace zirka
