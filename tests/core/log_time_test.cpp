#include "core/log_time.h"

#include <gtest/gtest.h>

#include <string>

namespace zirka {
namespace {

TEST(IsDatedLine, DigitsAndSlashInTheFirstFive) {
  EXPECT_TRUE(IsDatedLine("31/12 23:59:59 ZS c:\\x OK: "));
  EXPECT_TRUE(IsDatedLine("01/12"));
  EXPECT_FALSE(IsDatedLine("00/99"));  // no real day and month
  EXPECT_FALSE(IsDatedLine("99/99 99:99:99"));
  EXPECT_FALSE(IsDatedLine("32/05 10:00:00"));
  EXPECT_FALSE(IsDatedLine("15/13 10:00:00"));
  EXPECT_FALSE(IsDatedLine("15/00 10:00:00"));
  EXPECT_TRUE(IsDatedLine("12/05garbage"));  // positions 5 on are not tested
  EXPECT_FALSE(IsDatedLine("1/12 10:00:00"));
  EXPECT_FALSE(IsDatedLine("31-12 10:00:00"));
  EXPECT_FALSE(IsDatedLine("3a/12 10:00:00"));
  EXPECT_FALSE(IsDatedLine("31/1x 10:00:00"));
  EXPECT_FALSE(IsDatedLine(" 31/12 10:00:00"));
  EXPECT_FALSE(IsDatedLine("31/1"));
  EXPECT_FALSE(IsDatedLine(std::string("31/\0002", 5)));
  EXPECT_FALSE(IsDatedLine(""));
}

TEST(SwapDayMonth, SwapsBothWaysAndSetsTheSlash) {
  std::string t = "31/12 23:59:59";
  SwapDayMonth(t);
  EXPECT_EQ(t, "12/31 23:59:59");
  SwapDayMonth(t);
  EXPECT_EQ(t, "31/12 23:59:59");
  t = "31-12 x";
  SwapDayMonth(t);
  EXPECT_EQ(t, "12/31 x");
  t = "1/2";  // too short to hold a day and a month: left alone
  SwapDayMonth(t);
  EXPECT_EQ(t, "1/2");
  t = "";
  SwapDayMonth(t);
  EXPECT_EQ(t, "");
}

// Comparison form (MM/DD HH:MM:SS) throughout.
TEST(IsLaterTime, YearTurnPlainComparisonAndBytes) {
  struct Case {
    const char* reference;
    const char* candidate;
    bool later;
    const char* why;
  };
  const Case cases[] = {
      {"12/31 23:59:59", "01/01 00:00:00", true, "the year turns forward"},
      {"10/01 10:00:00", "01/05 10:00:00", true, "a reference month of 10 is in the turn"},
      {"11/30 10:00:00", "02/28 10:00:00", true, "turn forward"},
      {"12/31 23:59:59", "00/00 00:00:00", true, "turn forward"},
      {"12/31 23:59:59", "03/01 00:00:00", false, "March is no longer in the turn"},
      {"09/30 10:00:00", "01/05 10:00:00", false, "September as reference is not in the turn"},
      {"01/05 10:00:00", "12/30 10:00:00", false, "the year does not turn backward"},
      {"02/28 10:00:00", "11/01 00:00:00", false, "turn backward"},
      {"01/01 00:00:00", "12/31 23:59:59", false, "turn backward"},
      {"01/05 10:00:00", "10/01 10:00:00", true, "a candidate month of 10 is plain comparison"},
      {"02/28 10:00:00", "10/31 10:00:00", true, "candidate October, plain comparison"},
      {"02/28 10:00:00", "11/01 10:00:00", false, "candidate November turns backward"},
      {"03/01 00:00:00", "02/28 23:59:59", false, "within the year"},
      {"02/28 23:59:59", "03/01 00:00:00", true, "within the year"},
      {"05/10 10:00:00", "05/10 10:00:01", true, "one second later"},
      {"05/10 10:00:01", "05/10 10:00:00", false, "one second earlier"},
      {"06/15 09:59:59", "06/15 10:00:00", true, "across the hour"},
      {"05/10 10:00:00", "05/10 10:00:00", false, "equal is not later"},
      {"12/31 23:59:59", "12/31 23:59:59", false, "equal is not later"},
      {"", "", false, "empty equals empty"},
      {"05/10 10:00:00", "05/10 10:00:0\xFF", true, "bytes above 0x7F are greater than digits"},
      {"05/10 10:00:0\xFF", "05/10 10:00:00", false, "unsigned bytes"},
      {"05/10 10:00:00", "05/10 10:00:00zzz", false, "only 14 characters count"},
      {"05/10 10:00", "05/10 10:00:00", true, "a shorter text ends as a terminator would"},
      {"05/10 10:00:00", "05/10 10:00", false, "a shorter text is less than any byte"},
      {"AB/10 10:00:00", "01/01 00:00:00", true, "month digits are not tested"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsLaterTime(c.reference, c.candidate), c.later)
        << c.reference << " -> " << c.candidate << ": " << c.why;
    // The same test against a fixed reference, both in written form.
    std::string reference = c.reference;
    std::string candidate = c.candidate;
    SwapDayMonth(reference);
    SwapDayMonth(candidate);
    EXPECT_EQ(LaterThan(reference)(candidate), c.later)
        << "LaterThan " << c.reference << " -> " << c.candidate << ": " << c.why;
  }
}

}  // namespace
}  // namespace zirka
