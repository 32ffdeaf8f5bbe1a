// Screen text translation and the calendar text.

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "platform/calendar.h"
#include "platform/cp866.h"
#include "platform/system.h"

namespace zirka::platform {
namespace {

TEST(Cp866ToUtf8, BulletsLettersAndBoxes) {
  EXPECT_EQ(Cp866ToUtf8("\xFE \xF9 \xFA "), "\u25A0 \u2219 \u00B7 ");
  EXPECT_EQ(Cp866ToUtf8("\x80\xAF\xE0\xEF\xF0\xF1"), "\u0410\u043F\u0440\u044F\u0401\u0451");
  EXPECT_EQ(Cp866ToUtf8("\xB0\xC4\xDB\xFF"), "\u2591\u2500\u2588\u00A0");
}

TEST(Cp866ToUtf8, LowerHalfAndNulPassThrough) {
  const std::string ascii("\0\x01\x08\x1b[0m\r\n~\x7f", 11);
  EXPECT_EQ(Cp866ToUtf8(ascii), ascii);
}

TEST(Cp866ToUtf8, EveryUpperByteBecomesOneCharacter) {
  for (int b = 0x80; b < 0x100; ++b) {
    const std::string out = Cp866ToUtf8(std::string(1, static_cast<char>(b)));
    ASSERT_GE(out.size(), 2u) << b;
    const auto lead = static_cast<unsigned char>(out[0]);
    EXPECT_EQ(out.size(), lead >= 0xE0 ? 3u : 2u) << b;
  }
}

TEST(CalendarText, AsctimeLayout) {
  std::tm tm{};
  tm.tm_year = 2026 - 1900;
  tm.tm_mon = 11;
  tm.tm_mday = 7;
  tm.tm_hour = 9;
  tm.tm_min = 14;
  tm.tm_sec = 38;
  tm.tm_wday = 1;
  EXPECT_EQ(AsctimeText(tm), "Mon Dec  7 09:14:38 2026\n");
  tm.tm_mday = 17;
  tm.tm_mon = 0;
  tm.tm_wday = 6;
  tm.tm_hour = 23;
  EXPECT_EQ(AsctimeText(tm), "Sat Jan 17 23:14:38 2026\n");
}

TEST(CalendarText, SameAsTheLibrarysAsctime) {
  for (const std::time_t when : {std::time_t{0}, std::time_t{1700000000}, std::time_t{1234567},
                                 Now()}) {
    const std::string ours = CalendarText(when);
    EXPECT_EQ(ours, std::asctime(std::localtime(&when))) << when;
    EXPECT_EQ(ours.size(), 25u);
  }
}

TEST(ProgramPath, NamesTheRunningBinary) {
  const std::string path = ProgramPath("zirka_unit_tests");
  EXPECT_NE(path.find("zirka_unit_tests"), std::string::npos) << path;
  EXPECT_NE(path, "zirka_unit_tests");  // the full path, not argv[0]
}

}  // namespace
}  // namespace zirka::platform
