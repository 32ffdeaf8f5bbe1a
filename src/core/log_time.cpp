#include "core/log_time.h"

#include <utility>

#include "core/text.h"

namespace zirka {

namespace {

// The byte at `i` as an unsigned code; a position past the end reads as 0, as the
// terminator of a shorter text would.
unsigned ByteAt(std::string_view text, std::size_t i) {
  return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
}

// The month of a comparison-form time: its first two characters taken as digits,
// without a test.
int MonthOf(std::string_view time) {
  const int zero = '0';
  return (static_cast<int>(ByteAt(time, 0)) - zero) * 10 + (static_cast<int>(ByteAt(time, 1)) - zero);
}

// The comparison form of the first 14 characters of a written time, in `buffer`.
// Only those take part in a comparison; a text too short for a day and a month
// is compared as it stands.
std::string_view ComparisonForm(std::string_view written, char (&buffer)[kLogTimeLength]) {
  const std::size_t n = written.size() < kLogTimeLength ? written.size() : kLogTimeLength;
  written.copy(buffer, n);
  if (written.size() >= 5) {
    std::swap(buffer[0], buffer[3]);
    std::swap(buffer[1], buffer[4]);
    buffer[2] = '/';
  }
  return {buffer, n};
}

}  // namespace

LaterThan::LaterThan(std::string_view writtenReference) : active_(true) {
  const std::string_view form = ComparisonForm(writtenReference, form_);
  month_ = MonthOf(form);
}

std::string LogTime::comparable() const {
  std::string time = written_;
  SwapDayMonth(time);
  return time;
}

bool LogTime::IsLaterThan(const LogTime& reference) const {
  return IsWrittenLater(written_, reference.written_);
}

bool LogTime::IsWrittenLater(std::string_view candidate, std::string_view reference) {
  char referenceForm[kLogTimeLength];
  char candidateForm[kLogTimeLength];
  return IsLaterTime(ComparisonForm(reference, referenceForm),
                     ComparisonForm(candidate, candidateForm));
}

void SwapDayMonth(std::string& time) {
  // A text too short to hold a day and a month has nothing to swap.
  if (time.size() < 5) return;
  std::swap(time[0], time[3]);
  std::swap(time[1], time[4]);
  time[2] = '/';
}


bool IsLaterTime(std::string_view reference, std::string_view candidate) {
  const int referenceMonth = MonthOf(reference);
  const int candidateMonth = MonthOf(candidate);
  // The year has turned: October to December, then January or February.
  if (referenceMonth >= 10 && candidateMonth <= 2) return true;
  // The other way round the turn starts only at November.
  if (referenceMonth <= 2 && candidateMonth >= 11) return false;
  for (std::size_t i = 0; i < kLogTimeLength; ++i) {
    const unsigned r = ByteAt(reference, i);
    const unsigned c = ByteAt(candidate, i);
    if (r != c) return c > r;
  }
  return false;
}

bool IsWellFormedLogTime(std::string_view text) {
  static constexpr std::string_view kPattern = "99/99 99:99:99";
  if (text.size() != kPattern.size()) return false;
  for (std::size_t i = 0; i < kPattern.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kPattern[i] == '9' ? !digit : text[i] != kPattern[i]) return false;
  }
  return true;
}

}  // namespace zirka
