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
TEST(IsLaterTime, YearTurnsForward) {
  EXPECT_TRUE(IsLaterTime("12/31 23:59:59", "01/01 00:00:00"));
  EXPECT_TRUE(IsLaterTime("10/01 10:00:00", "01/05 10:00:00"));
  EXPECT_TRUE(IsLaterTime("11/30 10:00:00", "02/28 10:00:00"));
  EXPECT_TRUE(IsLaterTime("12/31 23:59:59", "00/00 00:00:00"));
  // March is no longer in the turn.
  EXPECT_FALSE(IsLaterTime("12/31 23:59:59", "03/01 00:00:00"));
  // September as reference is not in the turn either.
  EXPECT_FALSE(IsLaterTime("09/30 10:00:00", "01/05 10:00:00"));
}

TEST(IsLaterTime, YearTurnsBackward) {
  EXPECT_FALSE(IsLaterTime("01/05 10:00:00", "12/30 10:00:00"));
  EXPECT_FALSE(IsLaterTime("02/28 10:00:00", "11/01 00:00:00"));
  EXPECT_FALSE(IsLaterTime("01/01 00:00:00", "12/31 23:59:59"));
}

TEST(IsLaterTime, OctoberIsInTheTurnOnlyAsReference) {
  // A reference month of 10 takes part in the forward rule...
  EXPECT_TRUE(IsLaterTime("10/01 10:00:00", "01/05 10:00:00"));
  // ...a candidate month of 10 not in the backward one: plain comparison says later.
  EXPECT_TRUE(IsLaterTime("01/05 10:00:00", "10/01 10:00:00"));
  EXPECT_TRUE(IsLaterTime("02/28 10:00:00", "10/31 10:00:00"));
  EXPECT_FALSE(IsLaterTime("02/28 10:00:00", "11/01 10:00:00"));
}

TEST(IsLaterTime, PlainComparisonWithinTheYear) {
  EXPECT_FALSE(IsLaterTime("03/01 00:00:00", "02/28 23:59:59"));
  EXPECT_TRUE(IsLaterTime("02/28 23:59:59", "03/01 00:00:00"));
  EXPECT_TRUE(IsLaterTime("05/10 10:00:00", "05/10 10:00:01"));
  EXPECT_FALSE(IsLaterTime("05/10 10:00:01", "05/10 10:00:00"));
  EXPECT_TRUE(IsLaterTime("06/15 09:59:59", "06/15 10:00:00"));
}

TEST(IsLaterTime, EqualIsNotLater) {
  EXPECT_FALSE(IsLaterTime("05/10 10:00:00", "05/10 10:00:00"));
  EXPECT_FALSE(IsLaterTime("12/31 23:59:59", "12/31 23:59:59"));
  EXPECT_FALSE(IsLaterTime("", ""));
}

TEST(IsLaterTime, ComparesFourteenUnsignedBytes) {
  // Bytes above 0x7F are greater than digits.
  EXPECT_TRUE(IsLaterTime("05/10 10:00:00", "05/10 10:00:0\xFF"));
  EXPECT_FALSE(IsLaterTime("05/10 10:00:0\xFF", "05/10 10:00:00"));
  // Only 14 characters count.
  EXPECT_FALSE(IsLaterTime("05/10 10:00:00", "05/10 10:00:00zzz"));
  // A shorter text ends where a terminator would be: less than any byte.
  EXPECT_TRUE(IsLaterTime("05/10 10:00", "05/10 10:00:00"));
  EXPECT_FALSE(IsLaterTime("05/10 10:00:00", "05/10 10:00"));
  // The month digits are not tested: letters make odd months, as they stand.
  EXPECT_TRUE(IsLaterTime("AB/10 10:00:00", "01/01 00:00:00"));
}

}  // namespace
}  // namespace zirka
