// The top-downloads bulletin (BULLETIN, BULLETIN_TOP): ranked across the lists as
// a run leaves them, written after the lists, left alone by a run that raises
// nothing, reported when it can't be written, shown by the preview.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

const std::string kUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";
const std::string kGames = "FILES/ALL_THE_GAMES_OF_THE_NODE";  // too long for its column

// Two areas: FOO.ZIP is raised once, DOOM.ZIP twice. BAR.ARJ and DUP.ZIP stand in
// both, DOOM.ZIP and QUAKE.ZIP tie, ZIP.EXE has no counter; 8 entries with
// counters hold 56 downloads after the run.
void MakeNode(const Node& node, const std::string& ctlExtra,
              const std::string& bulletin = "D:\\FIDO\\TOP.TXT") {
  node.Write("FIDO/ZIRKA.CTL", "LOG D:\\FIDO\\ZIRKA.LOG\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
                               "BULLETIN " + bulletin + "  ; posted weekly\n" + ctlExtra +
                               "AREA D:\\FILES\\UTIL\nAREA D:\\FILES\\ALL_THE_GAMES_OF_THE_NODE\n");
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", "01/05 10:00:00 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 2400 cps\n"
                                  "01/05 10:01:00 ZS D:\\GAMES\\DOOM.ZIP OK: 2400 cps\n"
                                  "01/05 10:02:00 ZS D:\\GAMES\\DOOM.ZIP OK: 2400 cps\n");
  node.Write("FILES/UTIL/FILES.BBS", "; Utilities\n"
                                     "foo.zip      [004] Foo\tutility, with a tab\n"
                                     "bar.arj      [007] Bar in util\n"
                                     "ZIP.EXE      No counter, not ranked\n"
                                     "dup.zip      [009] Dup in util\n"
                                     "AAA.ZIP      []  Empty counter\n");
  node.Write(kGames + "/FILES.BBS", "doom.zip     [005] Doom shareware\n"
                                    "Dup.Zip      [009] Dup in games, a tie: util's row\n"
                                    "bar.arj      [012] Bar in games, with a description too "
                                    "long for its row\n"
                                    "quake.zip    [007] Quake\n"
                                    "                   continued\n");
}

std::string Bulletin(int top, const std::string& rows) {
  return Dos("Top " + std::to_string(top) + " downloads, Www Mmm DD hh:mm:ss YYYY\n\n"
             "  # Count File         Area                     Description\n"
             "--- ----- ------------ ------------------------ -------------------------------\n" +
             rows + "\n8 entries hold counters, 56 downloads in all\n");
}

const std::string kRow1 =
    "  1    12 BAR.ARJ      D:\\FILES\\ALL_THE_GAMES_> Bar in games, with a descriptio\n";
const std::string kRow2 = "  2     9 DUP.ZIP      D:\\FILES\\UTIL            Dup in util\n";
const std::string kRow3 = "  3     7 DOOM.ZIP     D:\\FILES\\ALL_THE_GAMES_> Doom shareware\n";
const std::string kAllRows = kRow1 + kRow2 + kRow3 +
    "  4     7 QUAKE.ZIP    D:\\FILES\\ALL_THE_GAMES_> Quake\n"
    "  5     5 FOO.ZIP      D:\\FILES\\UTIL            Foo utility, with a tab\n"
    "  6     0 AAA.ZIP      D:\\FILES\\UTIL            Empty counter\n";

struct BulletinCase {
  const char* name;
  std::string ctlExtra;
  std::vector<std::string> args;
  std::string bulletin;
  std::string shows;  // a part of the screen
};

const std::string kWarn = "?WARN-BULLETIN_TOP ";
const std::string kWarnEnd = " is not a number from 1 to 999: 10 rows are written\n";

const BulletinCase kCases[] = {
    {"TopThreeCutInsideATie", "BULLETIN_TOP 3\n", {kUseCtl}, Bulletin(3, kRow1 + kRow2 + kRow3),
     "\xFE Bulletin D:\\FIDO\\TOP.TXT written\n"},
    {"TopOne", "BULLETIN_TOP 1 ; the winner\n", {kUseCtl}, Bulletin(1, kRow1), ""},
    {"Top999", "BULLETIN_TOP 999\n", {kUseCtl}, Bulletin(999, kAllRows), ""},
    {"DefaultTen", "", {kUseCtl}, Bulletin(10, kAllRows), ""},
    {"Zero", "BULLETIN_TOP 0\n", {kUseCtl, "-d"}, Bulletin(10, kAllRows), kWarn + "0" + kWarnEnd},
    {"Thousand", "BULLETIN_TOP 1000\n", {kUseCtl, "-d"}, Bulletin(10, kAllRows),
     kWarn + "1000" + kWarnEnd},
    {"NotANumber", "BULLETIN_TOP 5X\n", {kUseCtl, "-d"}, Bulletin(10, kAllRows),
     kWarn + "5X" + kWarnEnd},
    {"KeepNameCase", "BULLETIN_TOP 2\nKEEP_NAME_CASE Yes\n", {kUseCtl},
     Bulletin(2,
              "  1    12 bar.arj      D:\\FILES\\ALL_THE_GAMES_> Bar in games, with a descriptio\n"
              "  2     9 dup.zip      D:\\FILES\\UTIL            Dup in util\n"),
     ""},
};

void PrintTo(const BulletinCase& c, std::ostream* out) { *out << c.name; }

class BulletinTest : public ::testing::TestWithParam<BulletinCase> {};

TEST_P(BulletinTest, RanksTheListsAsTheRunLeavesThem) {
  const BulletinCase& c = GetParam();
  Node node(std::string("bulletin_") + c.name);
  MakeNode(node, c.ctlExtra);
  const RunResult r = node.Run(c.args);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_NE(r.screen.find(c.shows), std::string::npos) << r;
  EXPECT_EQ(Normalize(node.Read("FIDO/TOP.TXT")), c.bulletin);
  EXPECT_NE(node.Read("FILES/UTIL/FILES.BBS").find("[005] Foo\t"), std::string::npos);
  EXPECT_EQ(node.List("FIDO"), (std::vector<std::string>{"TOP.TXT", "ZIRKA.CTL", "ZIRKA.LOG", "ZIRKA.POS"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, BulletinTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A run that raises nothing (a send of a file in no list; nothing new) leaves the
// bulletin as it is.
TEST(BulletinRun, NothingRaisedLeavesItAlone) {
  Node node("bulletin_nothing_new");
  MakeNode(node, "");
  ASSERT_EQ(node.Run({kUseCtl}).exitCode, 0);
  const std::string bulletin = node.Read("FIDO/TOP.TXT");
  const std::string send = "02/05 10:00:00 ZS D:\\X\\NOWHERE.ZIP OK: 2400 cps\n";
  node.WriteRaw("T-MAIL/T-MAIL.LOG", node.Read("T-MAIL/T-MAIL.LOG") + Dos(send));
  RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(r.screen.find("Bulletin"), std::string::npos) << r;
  EXPECT_EQ(node.Read("FIDO/TOP.TXT"), bulletin);
  r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 4) << r;
  EXPECT_EQ(node.Read("FIDO/TOP.TXT"), bulletin);
}

// A bulletin that can't be written is reported on the screen and in the program
// log; the lists are raised and Last_Time is stored all the same. A device is
// written to directly.
TEST(BulletinRun, CantBeWrittenOrADevice) {
  Node node("bulletin_cant_write");
  MakeNode(node, "");
  node.MakeDir("FIDO/TOP.TXT");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  const std::string error = "!ERR-Cann't write bulletin D:\\FIDO\\TOP.TXT\n";
  const std::string stored = "\xFE \"Last_Time\" variable added to Zirka.Ctl\n";
  EXPECT_NE(r.screen.find(error + stored), std::string::npos) << r;
  EXPECT_NE(node.Read("FIDO/ZIRKA.LOG").find(Dos(error)), std::string::npos);
  EXPECT_NE(node.Read("FILES/UTIL/FILES.BBS").find("[005] Foo"), std::string::npos);
  EXPECT_NE(node.Read("FIDO/ZIRKA.CTL").find("Last_Time 01/05 10:02:00"), std::string::npos);
  EXPECT_EQ(node.List("FIDO"), (std::vector<std::string>{"TOP.TXT", "ZIRKA.CTL", "ZIRKA.LOG", "ZIRKA.POS"}));

  Node device("bulletin_device");
  const std::string nul = UnderWine() ? "NUL" : "/DEV/NULL";  // values are read in upper case
  MakeNode(device, "", nul);
  const RunResult d = device.Run({kUseCtl});
  EXPECT_EQ(d.exitCode, 0) << d;
  EXPECT_NE(d.screen.find("\xFE Bulletin " + nul + " written\n"), std::string::npos) << d;
  EXPECT_EQ(device.List("FIDO"), (std::vector<std::string>{"ZIRKA.CTL", "ZIRKA.LOG", "ZIRKA.POS"}));
}

// A run that completes an interrupted one writes the bulletin too, reading the
// list that run had raised as it stands.
TEST(BulletinRun, CompletingAnInterruptedRun) {
  Node node("bulletin_completing");
  MakeNode(node, "");
  const std::string util = node.Read("FILES/UTIL/FILES.BBS");
  const std::size_t foo = util.find("foo.zip      [004]");
  node.WriteRaw("FILES/UTIL/FILES.BBS", util.substr(0, foo) + "FOO.ZIP      [005]" +
                                            util.substr(foo + 18));
  node.Write("FIDO/ZIRKA.JNL",
             "; Zirka journal of an unfinished run - do not edit\nControl D:\\FIDO\\ZIRKA.CTL\n"
             "Last_Time 01/05 10:02:00\nStarted\nForced No\nLog 0 " +
                 std::to_string(node.Read("T-MAIL/T-MAIL.LOG").size()) +
                 " D:\\T-MAIL\\T-MAIL.LOG\nReady 1 D:\\FILES\\UTIL\\FILES.BBS\nDone 1\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Normalize(node.Read("FIDO/TOP.TXT")), Bulletin(10, kAllRows));
  EXPECT_FALSE(node.Exists("FIDO/ZIRKA.JNL"));
}

// The preview writes no bulletin and shows the one the real run then writes.
TEST(BulletinRun, PreviewShowsItAndWritesNothing) {
  Node node("bulletin_preview");
  MakeNode(node, "BULLETIN_TOP 3\n");
  const RunResult preview = node.Run({"-n", kUseCtl});
  EXPECT_EQ(preview.exitCode, 0) << preview;
  EXPECT_FALSE(node.Exists("FIDO/TOP.TXT"));
  const std::string shown = Slice(preview.screen, "Top 3 downloads", "\xFE Preview: Last_Time");
  EXPECT_NE(preview.screen.find("\xFE Preview: 2 entries in 2 lists would change\n"
                                "\xFE Preview: bulletin D:\\FIDO\\TOP.TXT would be written like "
                                "this\nTop 3"),
            std::string::npos)
      << preview;
  ASSERT_EQ(node.Run({kUseCtl}).exitCode, 0);
  EXPECT_EQ(Dos(shown), Normalize(node.Read("FIDO/TOP.TXT")));
}

}  // namespace
}  // namespace zirka::e2e
