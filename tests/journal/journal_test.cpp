// The journal: its path, its text both ways, the strict reading, and the hold of
// a live run on the real disk.

#include <gtest/gtest.h>

#include "journal/journal.h"
#include "support/scratch_dir.h"

namespace zirka::journal {
namespace {

const std::string kHead =
    "; Zirka journal of an unfinished run - do not edit\n"
    "Control D:\\FIDO\\ZIRKA.CTL\n"
    "Last_Time 07/12 14:03:59\n"
    "Started 06/12 23:00:01\n"
    "Forced No\n";

TEST(JournalTest, PathReplacesTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(JournalPath("D:\\FIDO\\ZIRKA.CTL"), "D:\\FIDO\\ZIRKA.JNL");
  EXPECT_EQ(JournalPath("D:\\CFG.D\\MY"), "D:\\CFG.D\\MY.JNL");
  EXPECT_EQ(JournalPath("ZIRKA.CTL"), "ZIRKA.JNL");
}

TEST(JournalTest, FormatAndParseGoBothWays) {
  Journal j;
  j.control = "D:\\FIDO\\ZIRKA.CTL";
  j.lastTime = "07/12 14:03:59";
  j.forced = true;
  j.logs = {{0, 58811, "D:\\T-MAIL\\T-MAIL.LOG"}, {7, 7, "D:\\T MAIL\\OUT.LOG"}};
  j.steps = {{1, "D:\\A\\FILES.BBS", true}, {3, "D:\\B\\FILES.BBS", false}};
  const std::string text = Format(j);
  EXPECT_EQ(text.substr(text.find("Started")),
            "Started\nForced Yes\nLog 0 58811 D:\\T-MAIL\\T-MAIL.LOG\nLog 7 7 D:\\T MAIL\\OUT.LOG\n"
            "Ready 1 D:\\A\\FILES.BBS\nDone 1\nReady 3 D:\\B\\FILES.BBS\n");
  Journal back;
  std::string error;
  ASSERT_TRUE(Parse(text, back, error)) << error;
  EXPECT_EQ(Format(back), text);
  EXPECT_EQ(back.PendingStep(3), back.Step(3));
  EXPECT_EQ(back.PendingStep(1), nullptr);
  EXPECT_EQ(back.Step(2), nullptr);

  // Lists in different directories are Ready together; one withdrawn unmoved is
  // Ready anew later.
  ASSERT_TRUE(Parse(kHead + "Ready 1 A\nReady 2 B\nReady 3 C\nDone 1\nBack 2\nBack 3\n"
                            "Ready 2 B\n", back, error)) << error;
  ASSERT_EQ(back.steps.size(), 2u);
  EXPECT_TRUE(back.steps[0].done);
  EXPECT_EQ(back.PendingStep(2), &back.steps[1]);
  EXPECT_TRUE(back.AnyPending());

  // A crash may cut the last append short: that line was never whole, and is left out.
  ASSERT_TRUE(Parse(kHead + "Ready 1 D:\\A\\FILES.BBS\r\nDone 1\r\nAll do", back, error));
  EXPECT_FALSE(back.allDone);
  EXPECT_FALSE(back.AnyPending());
  ASSERT_TRUE(Parse(kHead + "All done\n", back, error)) << error;
  EXPECT_TRUE(back.allDone);
}

TEST(JournalTest, EveryBadShapeIsRefusedWithItsLine) {
  // (The end-to-end table has more: empty, garbage, a time that is not one, Done first.)
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"garbage without a line end", "line 1: not a Zirka journal"},
      {kHead.substr(0, kHead.find("Started")), "line 3: the journal ends before its Forced line"},
      {"; Zirka journal of an unfinished run - do not edit\nControl \n",
       "line 2: no \"Control\" path"},
      {"; Zirka journal of an unfinished run - do not edit\nControl X\nLast_Time 32/12 14:03:59\n",
       "line 3: Last_Time 32/12 14:03:59 is not DD/MM HH:MM:SS"},
      {"; Zirka journal of an unfinished run - do not edit\nControl X\nLast_Time\nStart\n",
       "line 4: no \"Started\""},
      {"; Zirka journal of an unfinished run - do not edit\nControl X\nLast_Time\nStarted\n"
       "Forced yes\n",
       "line 5: not \"Forced Yes\" or \"Forced No\""},
      {kHead + "Ready 1 A\nDone 2\n", "line 7: Done without its Ready"},
      {kHead + "Ready 1 A\nDone 1\nDone 1\n", "line 8: Done without its Ready"},
      {kHead + "Ready 1 A\nDone 1\nBack 1\n", "line 8: Back without its Ready"},
      {kHead + "Ready 2 A\nDone 2\nReady 2 A\n", "line 8: areas out of order"},
      {kHead + "Ready 0 A\n", "line 6: bad Ready"},
      {kHead + "Ready 99999999999 A\n", "line 6: bad Ready"},
      {kHead + "Ready 1 A\nAll done\n", "line 7: All done before the last area was done"},
      {kHead + "All done\nReady 1 A\n", "line 7: a line after \"All done\""},
      {kHead + "Ready 1 A\nDone 1\nLog 0 1 L\n", "line 8: a Log line after the areas began"},
      {kHead + "Log 5 4 L\n", "line 6: a Log range that ends before it starts"},
      {kHead + "Log 5 L\n", "line 6: bad Log"},
      {kHead + "Ready 1 A\tB\n", "line 6: a control character"},
  };
  for (const auto& c : cases) {
    Journal j;
    std::string error;
    EXPECT_FALSE(Parse(c.text, j, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

class JournalFileTest : public ::testing::Test {
 protected:
  JournalFileTest() { scratch_.MapDriveD(); }
  zirka::testing::ScratchDir scratch_;
};

// A killed run may leave several lists Ready, in different directories: each is
// settled by its own FILES.!#$.
TEST_F(JournalFileTest, EachListLeftReadyIsSettledByItsOwnReplacement) {
  scratch_.MakeDir("A");
  scratch_.MakeDir("B");
  scratch_.Put("B/FILES.!#$", "never moved");
  Journal j;
  std::string error;
  ASSERT_TRUE(Parse(kHead + "Ready 1 D:\\A\\FILES.BBS\nReady 2 D:\\B\\FILES.BBS\n", j, error))
      << error;
  SettlePending(j);
  EXPECT_TRUE(j.steps[0].done);
  EXPECT_FALSE(j.steps[1].done);
}

#if !defined(_WIN32)
TEST_F(JournalFileTest, ALiveRunHoldsItsJournalUntilItRemovesIt) {
  const std::string ctl = "D:\\FIDO\\ZIRKA.CTL";
  scratch_.MakeDir("FIDO");
  EXPECT_EQ(ReadJournal(ctl).found, Found::None);

  Journal j;
  j.control = ctl;
  j.started = "06/12 23:00:01";
  auto live = JournalFile::Create(JournalPath(ctl), j);
  ASSERT_NE(live, nullptr);
  EXPECT_FALSE(scratch_.Exists("FIDO/ZIRKA.JN$"));
  ASSERT_TRUE(live->Ready({{1, "D:\\A\\FILES.BBS"}, {2, "D:\\B\\FILES.BBS"}}));
  ASSERT_TRUE(live->Withdraw({2}));
  live->Done(1);
  // Another run finds it held, and can't take it over.
  EXPECT_EQ(ReadJournal(ctl).found, Found::Held);
  EXPECT_EQ(JournalFile::Create(JournalPath(ctl), j), nullptr);
  ASSERT_TRUE(live->AllDone());
  Journal unreadable = j;
  unreadable.lastTime = "1234567";  // what a Last_Time "1234567" in ZIRKA.CTL could give
  EXPECT_EQ(JournalFile::Create("D:\\FIDO\\OTHER.JNL", unreadable), nullptr);
  EXPECT_EQ(scratch_.Slurp("FIDO/ZIRKA.JNL"),
            "; Zirka journal of an unfinished run - do not edit\r\nControl D:\\FIDO\\ZIRKA.CTL\r\n"
            "Last_Time\r\nStarted 06/12 23:00:01\r\nForced No\r\n"
            "Ready 1 D:\\A\\FILES.BBS\r\nReady 2 D:\\B\\FILES.BBS\r\nBack 2\r\nDone 1\r\n"
            "All done\r\n");

  // Left by a killed run: read whole, then gone once removed.
  live.reset();
  const Existing left = ReadJournal(ctl);
  ASSERT_EQ(left.found, Found::Usable) << left.error;
  EXPECT_TRUE(left.journal.allDone);
  EXPECT_EQ(ReadJournal("D:\\OTHER\\ZIRKA.CTL").found, Found::None);
  EXPECT_EQ(TroubleLine("D:\\FIDO\\ZIRKA.JNL", ReadJournal("d:\\fido\\zirka.ctl")),
            "!ERR-Journal D:\\FIDO\\ZIRKA.JNL makes no sense (written by a run of "
            "D:\\FIDO\\ZIRKA.CTL)\n");
  live = JournalFile::Create(JournalPath(ctl), left.journal);
  ASSERT_NE(live, nullptr);
  ASSERT_TRUE(live->Remove());
  EXPECT_FALSE(scratch_.Exists("FIDO/ZIRKA.JNL"));

  scratch_.MakeDir("FIDO/ZIRKA.JNL");
  EXPECT_EQ(ReadJournal(ctl).found, Found::Unreadable);
}
#endif

}  // namespace
}  // namespace zirka::journal
