#pragma once
// Log times: DD/MM HH:MM:SS as written, MM/DD HH:MM:SS when compared.

#include <cstddef>
#include <string>
#include <string_view>

namespace zirka {

inline constexpr std::size_t kLogTimeLength = 14;

// A log time, 14 characters without a year. It is held as written (day first, as in
// the logs, in ZIRKA.CTL and on the screen) and compared month first, so that times
// of one year sort as their bytes do. A stored Last_Time that is not of the form
// DD/MM HH:MM:SS is kept and compared as it stands.
class LogTime {
 public:
  LogTime() = default;
  explicit LogTime(std::string_view written) : written_(written) {}

  bool empty() const { return written_.empty(); }
  // Day first, as the time was read: DD/MM HH:MM:SS.
  const std::string& written() const { return written_; }
  // Month first, the form in which times are compared: MM/DD HH:MM:SS.
  std::string comparable() const;

  // Takes a new written text, reusing the held storage (no allocation per line).
  void Assign(std::string_view written) { written_.assign(written); }

  // True when this time is later than `reference`, with the year-turn rule of
  // IsLaterTime.
  bool IsLaterThan(const LogTime& reference) const;
  // The same for a time given as written text (a log line's first 14 characters).
  static bool IsWrittenLater(std::string_view candidate, std::string_view reference);

  friend bool operator==(const LogTime&, const LogTime&) = default;

 private:
  std::string written_;
};

// A line whose characters 0, 1, 3 and 4 are decimal digits and whose character 2
// is '/', with a real day (01-31) and month (01-12); its first 14 characters are
// its log time. A line with another day or month carries no date.
// Inline: the log scan asks it of every line.
inline bool IsDatedLine(std::string_view line) {
  const auto digit = [&line](std::size_t i) { return line[i] >= '0' && line[i] <= '9'; };
  if (line.size() < 5 || !digit(0) || !digit(1) || line[2] != '/' || !digit(3) || !digit(4)) {
    return false;
  }
  // No real day and month (99/99, 00/00, 32/05, 15/13): taken as a time, such a
  // line would become the stored Last_Time, and no later line would ever be newer.
  const int day = (line[0] - '0') * 10 + (line[1] - '0');
  const int month = (line[3] - '0') * 10 + (line[4] - '0');
  return day >= 1 && day <= 31 && month >= 1 && month <= 12;
}

// LogTime::IsWrittenLater against one reference for many candidates, the
// reference's comparison form worked out once: the test of every dated line of a
// log against Last_Time.
class LaterThan {
 public:
  LaterThan() = default;
  explicit LaterThan(std::string_view writtenReference);

  // False for the default, which no candidate is tested against.
  bool active() const { return active_; }
  // IsWrittenLater(candidate, reference).
  bool operator()(std::string_view candidate) const {
    if (candidate.size() >= kLogTimeLength) {
      // A whole time, compared where it stands: month, '/', day, then the rest.
      const char* c = candidate.data();
      const int month = (static_cast<unsigned char>(c[3]) - int{'0'}) * 10 +
                        (static_cast<unsigned char>(c[4]) - int{'0'});
      if (month_ >= 10 && month <= 2) return true;
      if (month_ <= 2 && month >= 11) return false;
      static constexpr std::size_t kOrder[kLogTimeLength] = {3, 4, 2, 0, 1, 5, 6,
                                                             7, 8, 9, 10, 11, 12, 13};
      for (std::size_t i = 0; i < kLogTimeLength; ++i) {
        const auto r = static_cast<unsigned char>(form_[i]);
        const auto v = static_cast<unsigned char>(i == 2 ? '/' : c[kOrder[i]]);
        if (r != v) return v > r;
      }
      return false;
    }
    char form[kLogTimeLength] = {};
    const std::size_t n = candidate.size() < kLogTimeLength ? candidate.size() : kLogTimeLength;
    candidate.copy(form, n);
    if (candidate.size() >= 5) {
      form[0] = candidate[3];
      form[1] = candidate[4];
      form[2] = '/';
      form[3] = candidate[0];
      form[4] = candidate[1];
    }
    const int month = (static_cast<unsigned char>(form[0]) - int{'0'}) * 10 +
                      (static_cast<unsigned char>(form[1]) - int{'0'});
    if (month_ >= 10 && month <= 2) return true;
    if (month_ <= 2 && month >= 11) return false;
    for (std::size_t i = 0; i < kLogTimeLength; ++i) {
      const auto r = static_cast<unsigned char>(form_[i]);
      const auto c = static_cast<unsigned char>(form[i]);
      if (r != c) return c > r;
    }
    return false;
  }

 private:
  char form_[kLogTimeLength] = {};  // the comparison form, zeros past a short text
  int month_ = 0;
  bool active_ = false;
};

// True for a text of the form DD/MM HH:MM:SS, digits where digits belong.
bool IsWellFormedLogTime(std::string_view text);

// Swaps characters 0-1 with 3-4 and puts '/' at 2; applied twice it restores the text.
// A text shorter than 5 characters is left as it is.
void SwapDayMonth(std::string& time);

// True when `candidate` is later than `reference` (both in comparison form), with
// the year-turn rule: a reference month of 10 or more and a candidate month of 2 or
// less is later; a reference month of 2 or less and a candidate month of 11 or more
// is not; otherwise the 14 characters are compared as unsigned bytes.
bool IsLaterTime(std::string_view reference, std::string_view candidate);

}  // namespace zirka
