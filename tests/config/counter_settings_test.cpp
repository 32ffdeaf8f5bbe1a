#include "config/counter_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/keyword.h"
#include "support/captured_run.h"

namespace zirka {
namespace {

using testing::CapturedRun;

// The settings that ZIRKA.CTL `ctl` gives, read as the run reads them.
CounterSettings Settings(const std::string& ctl) {
  CapturedRun run(ctl);
  ReadCounterSettings(run.ctx);
  ReadIgnoreList(run.ctx);
  return run.ctx.settings;
}

TEST(CounterSettingsTest, Defaults) {
  const CounterSettings s = Settings("; nothing here\n");
  EXPECT_EQ(s.dlcDigits, 3);
  EXPECT_FALSE(s.lookupCtl);
  EXPECT_EQ(s.leftBracket, '[');
  EXPECT_EQ(s.rightBracket, ']');
  EXPECT_TRUE(s.firstOnly);
  EXPECT_EQ(s.leadChar, '0');
}

TEST(CounterSettingsTest, CounterWidth) {
  EXPECT_EQ(Settings("DLC_DIGITS 5\n").dlcDigits, 5);
  EXPECT_EQ(Settings("DLC_DIGITS 4X\n").dlcDigits, 4);
  EXPECT_EQ(Settings("DLC_DIGITS +1\n").dlcDigits, 1);
  for (const char* bad : {"0", "6", "-1", "X", "", "99999999999999999999999"}) {
    EXPECT_EQ(Settings(std::string("DLC_DIGITS ") + bad + "\n").dlcDigits, 3) << bad;
  }
}

TEST(CounterSettingsTest, YesAndNoWords) {
  EXPECT_TRUE(Settings("LOOKUP_CTL yes\n").lookupCtl);
  EXPECT_TRUE(Settings("LOOKUP_CTL YES ; comment\n").lookupCtl);
  for (const char* other : {"Y", "1", "On", "Yess"}) {
    EXPECT_FALSE(Settings(std::string("LOOKUP_CTL ") + other + "\n").lookupCtl) << other;
  }
  EXPECT_FALSE(Settings("FIRST_ONLY no\n").firstOnly);
  for (const char* other : {"N", "0", "Off", "Nope"}) {
    EXPECT_TRUE(Settings(std::string("FIRST_ONLY ") + other + "\n").firstOnly) << other;
  }
}

TEST(CounterSettingsTest, CharacterSettings) {
  EXPECT_EQ(Settings("LEAD_CHAR space\n").leadChar, ' ');
  EXPECT_EQ(Settings("LEAD_CHAR SPACE\n").leadChar, ' ');
  EXPECT_EQ(Settings("LEAD_CHAR Spaces\n").leadChar, ' ');
  EXPECT_EQ(Settings("LEAD_CHAR spac\n").leadChar, 'S');
  EXPECT_EQ(Settings("LEAD_CHAR x\n").leadChar, 'X');
  EXPECT_EQ(Settings("LEAD_CHAR -\n").leadChar, '-');
  EXPECT_EQ(Settings("LEAD_CHAR ; only a comment\n").leadChar, '0');
  EXPECT_EQ(Settings("LEFT_BRACKET <<\nRIGHT_BRACKET a\n").leftBracket, '<');
  EXPECT_EQ(Settings("LEFT_BRACKET <<\nRIGHT_BRACKET a\n").rightBracket, 'A');
  // The first line of a keyword counts.
  EXPECT_EQ(Settings("LEFT_BRACKET (\nLEFT_BRACKET {\n").leftBracket, '(');
}

TEST(CounterSettingsTest, DebugLinesOfTheBrackets) {
  CapturedRun run("AREA C:\\A\nRIGHT_BRACKET >\n");
  run.ctx.debug = true;
  ReadCounterSettings(run.ctx);
  EXPECT_EQ(run.screen.text, "Left bracket  : [\nRight bracket : >\n");
}

// The ignore list that ZIRKA.CTL `ctl` gives, with the debug screen in `screen`.
std::vector<std::string> Ignored(const std::string& ctl, std::string* screen = nullptr) {
  CapturedRun run(ctl);
  run.ctx.debug = screen != nullptr;
  ReadIgnoreList(run.ctx);
  if (screen) *screen = run.screen.text;
  return run.ctx.ignoreList;
}

TEST(IgnoreListTest, EntriesInFileOrderWithTheirDebugLines) {
  std::string screen;
  EXPECT_EQ(Ignored("IGNORE nodelist\nX\nIGNORE .tic\n", &screen),
            (std::vector<std::string>{"NODELIST", ".TIC"}));
  EXPECT_EQ(screen,
            "  (0013, ignore item #00)\n  (0026, ignore item #01)\n  (0039, ignore item #02)\n");
  EXPECT_TRUE(Ignored("; none\n", &screen).empty());
  EXPECT_EQ(screen, "  (0013, ignore item #00)\n");
}

TEST(IgnoreListTest, AnEmptyValueEndsTheList) {
  EXPECT_EQ(Ignored("IGNORE a\nIGNORE ; nothing\nIGNORE b\n"), (std::vector<std::string>{"A"}));
  EXPECT_EQ(Ignored("IGNORE a.zip b.zip\n"), (std::vector<std::string>{"A.ZIP B.ZIP"}));
}

TEST(IgnoreListTest, AnyNumberOfEntriesEachKeptWhole) {
  std::string ctl;
  std::vector<std::string> expected;
  for (int i = 0; i < 20; ++i) {
    ctl += "IGNORE fragment-longer-than-twelve-" + std::to_string(i) + "\n";
    expected.push_back("FRAGMENT-LONGER-THAN-TWELVE-" + std::to_string(i));
  }
  std::string screen;
  EXPECT_EQ(Ignored(ctl, &screen), expected);
  EXPECT_NE(screen.find("  (0273, ignore item #20)\n"), std::string::npos);
}

}  // namespace
}  // namespace zirka
