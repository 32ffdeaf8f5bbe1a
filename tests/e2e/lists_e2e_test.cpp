// Whole runs through the file lists: the areas and their three sources, the
// counter formats, the rewrite of each FILES.BBS and the Last_Time stored back.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

const std::string kUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";
const std::string kStart =
    "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n\xFE Reading D:\\FIDO\\ZIRKA.CTL\n"
    "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n\n\xF9 Checking D:\\T-MAIL\\T-MAIL.LOG...OK\n\n";
const std::string kUpdated = "\xFE \"Last_Time\" variable updated\n";
const std::string kAdded = "\xFE \"Last_Time\" variable added to Zirka.Ctl\n";
const std::string kOldTime = "Last_Time 01/05 10:00:00  ; Last analisis time\n";
// The comment of the block added to ZIRKA.CTL, in code page 866.
const std::string kAddedComment =
    ";\n;   \x82\xE0\xA5\xAC\xEF \xAF\xAE\xE1\xAB\xA5\xA4\xAD\xA5\xA3\xAE "
    "\xAF\xE0\xAE\xE1\xAC\xAE\xE2\xE0\xA0 \xAB\xAE\xA3\xA0\n";

std::string Sent(const std::string& time, const std::string& path) {
  return time + " ZS " + path + " OK: 2400 cps\n";
}

std::string LastTimeLine(const std::string& time) {
  return "Last_Time " + time + "  ; Last analisis time\n";
}

// The progress line of `count` areas outside debug mode.
std::string Progress(int count) {
  std::string text = "\xFE Processing " + std::to_string(count) + " file areas\n  In process :     ";
  for (int i = 1; i <= count; ++i) text += "\b\b\b\b   " + std::to_string(i);
  return text + "\n";
}

// A node with one log and ZIRKA.CTL: a program log, T-MAIL.CTL named outright,
// then `body` (areas, settings, the Last_Time line).
void MakeNode(const Node& node, const std::string& body, const std::string& log,
              const std::string& tmailExtra = "") {
  node.Write("FIDO/ZIRKA.CTL",
             "LOG D:\\FIDO\\ZIRKA.LOG\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n" + body);
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n" + tmailExtra);
  node.Write("T-MAIL/T-MAIL.LOG", log);
}

// ---- a node at work --------------------------------------------------------

TEST(ListsRun, ARealisticNodeOverThreeRuns) {
  Node node("lists_node");
  MakeNode(node,
           "; Zirka on 2:5020/999\nREPORT D:\\FIDO\\REPORT.TXT\nLOOKUP_CTL Yes\n"
           "AREA D:\\FILES\\UTIL\nAREA D:\\FILES\\GAMES\n" + kOldTime,
           Sent("01/05 09:00:00", "D:\\FILES\\UTIL\\OLD.ZIP") +
               "02/05 10:59:58 Session with 2:5020/1\n" +
               Sent("02/05 11:00:00", "D:\\FILES\\UTIL\\FOO.ZIP") +
               Sent("02/05 11:00:05", "D:\\FILES\\GAMES\\DOOM.ZIP") +
               Sent("03/05 12:00:00", "D:\\FILES\\UTIL\\foo.zip") +
               Sent("04/05 08:30:00", "D:\\FILES\\NODELIST\\NODELIST.Z23"),
           "FREQ_DIR freq.dir\nFREQ_NDX freq.ndx\n");
  node.Write("T-MAIL/FREQ.DIR", "D:\\FILES\\UTIL  Utilities\nD:\\FILES\\NODELIST ; weekly\n");
  node.Write("T-MAIL/FREQ.NDX", "DOOM D:\\FILES\\GAMES\\DOOM*.ZIP\nTXT D:\\FILES\\TEXTS\\*.*\n");
  const std::string util =
      "; Utilities\n"
      "FOO.ZIP      [003] Frobnicates objects\n"
      "                   and more\n"
      "BAR.ARJ      [000] Bar archive\n"
      "OLD.ZIP      [001] Old one\n";
  node.Write("FILES/UTIL/FILES.BBS", util);
  node.Write("FILES/GAMES/FILES.BBS", "DOOM.ZIP     [009] Doom shareware\n");
  node.Write("FILES/NODELIST/FILES.BBS", "NODELIST.Z23 Nodelist of the week\n");
  node.Write("FILES/TEXTS/FILES.BBS", "FAQ.TXT [1] Questions\n");

  RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(r.screen, kStart +
                          "\xFE Scanning log(s) for new sent files\n"
                          "  Total found:    0\b\b\b\b   1\b\b\b\b   2\b\b\b\b   3\n" +
                          Progress(4) + kUpdated + ExitLines(0));
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"),
            Dos("; Utilities\n"
                "FOO.ZIP      [005] Frobnicates objects\n"
                "                   and more\n"
                "BAR.ARJ      [000] Bar archive\n"
                "OLD.ZIP      [001] Old one\n"));
  EXPECT_EQ(node.Read("FILES/GAMES/FILES.BBS"), Dos("DOOM.ZIP     [010] Doom shareware\n"));
  EXPECT_EQ(node.Read("FILES/NODELIST/FILES.BBS"),
            Dos("NODELIST.Z23 [001] Nodelist of the week\n"));
  EXPECT_EQ(node.Read("FILES/TEXTS/FILES.BBS"), Dos("FAQ.TXT [1] Questions\n"));
  EXPECT_EQ(node.Read("FIDO/ZIRKA.CTL"),
            Dos("LOG D:\\FIDO\\ZIRKA.LOG\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
                "; Zirka on 2:5020/999\nREPORT D:\\FIDO\\REPORT.TXT\nLOOKUP_CTL Yes\n"
                "AREA D:\\FILES\\UTIL\nAREA D:\\FILES\\GAMES\n" +
                LastTimeLine("04/05 08:30:00")));
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")),
            Dos("\n\n\xFE Zirka 3.8 started at Www Mmm DD hh:mm:ss YYYY\n"
                "?WARN-Area D:\\FILES\\UTIL\\FILES.BBS occured two or more times\n" +
                kUpdated + "\xFE Elapsed M:SS\n"));
  EXPECT_EQ(node.List("FILES/UTIL"), std::vector<std::string>{"FILES.BBS"});

  // New sends the next day: only they are counted, and the report grows.
  node.WriteRaw("T-MAIL/T-MAIL.LOG",
                node.Read("T-MAIL/T-MAIL.LOG") +
                    Dos(Sent("05/05 07:00:00", "D:\\FILES\\TEXTS\\FAQ.TXT") +
                        Sent("05/05 07:10:00", "D:\\FILES\\UTIL\\FOO.ZIP")));
  r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(node.Read("FILES/UTIL/FILES.BBS"), "FOO", "\r"), "FOO.ZIP      [006] Frobnicates objects");
  EXPECT_EQ(node.Read("FILES/TEXTS/FILES.BBS"), Dos("FAQ.TXT      [002] Questions\n"));
  const std::string report = Normalize(node.Read("FIDO/REPORT.TXT"));
  EXPECT_NE(report.find(Dos("\xFE Total 3 file(s) were sent 4 time(s)\n")), std::string::npos);
  EXPECT_NE(report.find(Dos("\xFE Total 2 file(s) were sent 2 time(s)")), std::string::npos);

  // Nothing new: errorlevel 4, and no file is touched.
  const std::string ctlBefore = node.Read("FIDO/ZIRKA.CTL");
  const std::string utilBefore = node.Read("FILES/UTIL/FILES.BBS");
  r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 4) << r;
  EXPECT_EQ(node.Read("FIDO/ZIRKA.CTL"), ctlBefore);
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), utilBefore);
  EXPECT_EQ(Slice(node.Read("FIDO/ZIRKA.CTL"), "Last_Time", "\r"),
            "Last_Time 05/05 07:10:00  ; Last analisis time");
}

// ---- the areas' three sources ------------------------------------------------

TEST(ListsRun, AreaSourcesWithDuplicatesAndMissingLists) {
  Node node("lists_area_sources");
  MakeNode(node,
           "LOOKUP_CTL yes\nAREA D:\\FILES\\UTIL\nAREA d:\\files\\util\\\nAREA D:\\FILES\\NONE\n"
           "AREA ; the end of the AREA lines\nAREA D:\\FILES\\GAMES\n" + kOldTime,
           Sent("02/05 11:00:00", "D:\\FILES\\UTIL\\FOO.ZIP"),
           "FREQ_DIR freq.dir\nFREQ_NDX D:\\T-MAIL\\NOWHERE.NDX\n");
  node.Write("T-MAIL/FREQ.DIR",
             "D:\\files\\util\\ Utilities\nD:\\FILES\\GAMES\nD:\\\nD:\\FILES\\GONE\n");
  node.Write("FILES/UTIL/FILES.BBS", "FOO.ZIP [1]\n");
  node.Write("FILES/GAMES/FILES.BBS", "");
  const RunResult r = node.Run({kUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(r.screen, ">  area", "  (0013"),
            ">  area 01: D:\\FILES\\UTIL\\\n"
            ">  area 02: D:\\FILES\\UTIL\\\n"
            ">  area 03: D:\\FILES\\NONE\\FILES.BBS not found! Ignoring...\n\n"
            "Req dir list path: FREQ.DIR\n"
            ">  area 03: D:\\files\\util\\ - duplicated area\n"
            ">  area 03: D:\\FILES\\GAMES\\\n"
            ">  area 04: D:\\FILES\\GONE\\FILES.BBS not found! Ignoring...\n\n"
            "!ERR-Unable to open list of aliases: D:\\T-MAIL\\NOWHERE.NDX\n"
            "Total 3 area(s) found\n");
  const std::string log = node.Read("FIDO/ZIRKA.LOG");
  EXPECT_NE(log.find(Dos("?WARN-Area D:\\FILES\\UTIL\\FILES.BBS occured two or more times\n"
                         "D:\\FILES\\GONE\\FILES.BBS not found\n"
                         "!ERR-Unable to open list of aliases: D:\\T-MAIL\\NOWHERE.NDX\n"
                         "\xFE Total 3 file area(s) found\n")),
            std::string::npos);
  // The same area twice from AREA lines: FIRST_ONLY raises the first entry only.
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos("FOO.ZIP      [002]\n"));
  EXPECT_EQ(Slice(r.screen, "\xFE Processing", "\xFE \""),
            "\xFE Processing 3 file areas\n"
            "Processing D:\\FILES\\UTIL\\FILES.BBS\n"
            "\xFA FOO.ZIP       1 times\n"
            "  Source : 1\n  Step #1: 1\n  Digital: 2\n  Step #2: 00\n  Step #3: 002\n"
            "Processing D:\\FILES\\UTIL\\FILES.BBS\n"
            "Processing D:\\FILES\\GAMES\\FILES.BBS\n");
}

TEST(ListsRun, MissingRequestableDirectoriesList) {
  Node node("lists_missing_freq_dir");
  MakeNode(node, "LOOKUP_CTL YES\n" + kOldTime, Sent("02/05 11:00:00", "D:\\X\\FOO.ZIP"));
  const RunResult r = node.Run({kUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  // Without FREQ_DIR and FREQ_NDX the empty names become the T-Mail directory.
  EXPECT_EQ(Slice(r.screen, "Req dir", "  (0013"),
            "Req dir list path: \n"
            "!ERR-Cann't open requestable directories list: D:\\T-MAIL\\\n"
            "!ERR-Unable to open list of aliases: D:\\T-MAIL\\\n"
            "Total 0 area(s) found\n");
  EXPECT_NE(r.screen.find("\xFE Processing 0 file areas\n"), std::string::npos);
}

// ---- counters --------------------------------------------------------------

// Raises every entry of `list` once with `settings` and returns the new list.
std::string RaisedList(const std::string& name, const std::string& settings,
                       const std::string& list, const std::vector<std::string>& sent) {
  Node node(name);
  std::string log;
  int second = 0;
  for (const std::string& file : sent) {
    log += Sent("02/05 11:00:" + std::string(second < 10 ? "0" : "") + std::to_string(second),
                "D:\\FILES\\UTIL\\" + file);
    ++second;
  }
  MakeNode(node, "AREA D:\\FILES\\UTIL\n" + settings + kOldTime, log);
  node.WriteRaw("FILES/UTIL/FILES.BBS", list);
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  return node.Read("FILES/UTIL/FILES.BBS");
}

TEST(ListsRun, CounterFormatsWithDefaultSettings) {
  const std::string list = Dos(
      "A.ZIP        [002] plain\n"
      "b.zip  no counter yet\n"
      "C.ZIP\tafter a tab\n"
      "D.ZIP [x1y] damaged\n"
      "E.ZIP [00012] too wide\n"
      "F.ZIP /t [03] maximus\n"
      "G.ZIP /tb [03] maximus\n"
      "H.ZIP /b no counter\n"
      "I.ZIP /T [03] capital flag\n"
      "J.ZIP [123456] too long a field\n"
      "K.ZIP [999] wider\n") +
                           "LAST.ZIP";
  EXPECT_EQ(RaisedList("lists_counters_default", "", list,
                       {"A.ZIP", "B.ZIP", "C.ZIP", "D.ZIP", "E.ZIP", "F.ZIP", "G.ZIP", "H.ZIP",
                        "I.ZIP", "J.ZIP", "K.ZIP", "LAST.ZIP"}),
            Dos("A.ZIP        [003] plain\n"
                "B.ZIP        [001]  no counter yet\n"
                "C.ZIP        [001]\tafter a tab\n"
                "D.ZIP        [002] damaged\n"
                "E.ZIP        [013] too wide\n"
                "F.ZIP /t     [004] maximus\n"
                "G.ZIP /tb    [004] maximus\n"
                "H.ZIP /b     [001] no counter\n"
                "I.ZIP        [004] capital flag\n"
                "J.ZIP        [001] [123456] too long a field\n"
                "K.ZIP        [1000] wider\n") +
                "LAST.ZIP     [001]");
}

TEST(ListsRun, CounterFormatsWithOtherSettings) {
  const std::string settings =
      "LEFT_BRACKET <\nRIGHT_BRACKET >\nDLC_DIGITS 2\nLEAD_CHAR space\n";
  EXPECT_EQ(RaisedList("lists_counters_other", settings,
                       Dos("A.ZIP <5> x\nB.ZIP [5] x\nC.ZIP < 9> x\nD.ZIP <99> x\n"),
                       {"A.ZIP", "B.ZIP", "C.ZIP", "D.ZIP"}),
            Dos("A.ZIP        < 6> x\nB.ZIP        < 1> [5] x\nC.ZIP        <10> x\n"
                "D.ZIP        <100> x\n"));
}

TEST(ListsRun, LineClassesAndTextEdges) {
  const std::string longLine = "FOO.ZIP [1] " + std::string(400, 'x');
  const std::string list = "\n FOO.ZIP [1] blank first\r\n-FOO.ZIP [1]\n\tFOO.ZIP [1]\r\n"
                           "FOO.ZIPX [1]\nABCDEFGHI.ZIPX\r\n" +
                           longLine + "\r\nFOO.ZIP [1] again\r\n\x1A" "FOO.ZIP [1]\r\n";
  EXPECT_EQ(RaisedList("lists_line_classes", "FIRST_ONLY No\n", list, {"FOO.ZIP"}),
            "\r\n FOO.ZIP [1] blank first\r\n-FOO.ZIP [1]\r\n\tFOO.ZIP [1]\r\n"
            "FOO.ZIPX [1]\r\nABCDEFGHI.ZIPX\r\n"
            // The first 399 characters are one entry, the rest another line.
            "FOO.ZIP      [002] " + std::string(387, 'x') + std::string(13, 'x') +
                "\r\nFOO.ZIP      [002] again\r\n");
}

TEST(ListsRun, FirstOnlyOnAndOffAcrossTwoAreas) {
  for (const bool firstOnly : {true, false}) {
    Node node(firstOnly ? "lists_first_only_on" : "lists_first_only_off");
    MakeNode(node,
             "AREA D:\\FILES\\A\nAREA D:\\FILES\\B\n" +
                 std::string(firstOnly ? "" : "FIRST_ONLY no\n") + kOldTime,
             Sent("02/05 11:00:00", "D:\\FILES\\A\\FOO.ZIP") +
                 Sent("02/05 11:00:01", "D:\\FILES\\B\\FOO.ZIP"));
    node.Write("FILES/A/FILES.BBS", "FOO.ZIP [1] a\nFOO.ZIP [1] a again\n");
    node.Write("FILES/B/FILES.BBS", "foo.zip [1] b\n");
    const RunResult r = node.Run({kUseCtl});
    EXPECT_EQ(r.exitCode, 0) << r;
    if (firstOnly) {
      EXPECT_EQ(node.Read("FILES/A/FILES.BBS"), Dos("FOO.ZIP      [003] a\nFOO.ZIP [1] a again\n"));
      EXPECT_EQ(node.Read("FILES/B/FILES.BBS"), Dos("foo.zip [1] b\n"));
    } else {
      EXPECT_EQ(node.Read("FILES/A/FILES.BBS"),
                Dos("FOO.ZIP      [003] a\nFOO.ZIP      [003] a again\n"));
      EXPECT_EQ(node.Read("FILES/B/FILES.BBS"), Dos("FOO.ZIP      [003] b\n"));
    }
  }
}

TEST(ListsRun, AUsedSentFileNeverRaisesPlusSigns) {
  // A used sent file is withdrawn without touching its name, so an entry of "+"
  // characters as long as that name is no match.
  EXPECT_EQ(RaisedList("lists_plus_signs", "", Dos("FOO.ZIP\n+++++++ [5] x\n"), {"FOO.ZIP"}),
            Dos("FOO.ZIP      [001]\n+++++++ [5] x\n"));
}

// ---- lists that can't be rewritten ---------------------------------------------

TEST(ListsRun, ATemporaryFileThatCannotBeCreatedSkipsTheArea) {
  Node node("lists_temp_blocked");
  MakeNode(node, "AREA D:\\FILES\\A\nAREA D:\\FILES\\B\n" + kOldTime,
           Sent("02/05 11:00:00", "D:\\FILES\\A\\FOO.ZIP"));
  node.Write("FILES/A/FILES.BBS", "FOO.ZIP [1]\n");
  node.MakeDir("FILES/A/FILES.!#$");
  node.Write("FILES/B/FILES.BBS", "FOO.ZIP [1]\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  const std::string message = "!ERR-Cann't create temp file D:\\FILES\\A\\FILES.!#$\n";
  EXPECT_EQ(Slice(r.screen, "\xFE Processing", "\xFE \""),
            "\xFE Processing 2 file areas\n  In process :     \b\b\b\b   1" + message +
                "\b\b\b\b   2\n");
  EXPECT_NE(node.Read("FIDO/ZIRKA.LOG").find(Dos(message)), std::string::npos);
  EXPECT_EQ(node.Read("FILES/A/FILES.BBS"), Dos("FOO.ZIP [1]\n"));
  // The next area still gets the count.
  EXPECT_EQ(node.Read("FILES/B/FILES.BBS"), Dos("FOO.ZIP      [002]\n"));
}

// A list none of whose entries is raised is only read: its bytes (LF line ends
// too), time stamp and inode stay; the raised list beside it is rewritten as ever.
TEST(ListsRun, AListWithoutARaisedEntryIsLeftUntouched) {
  Node node("lists_untouched");
  MakeNode(node, "AREA D:\\FILES\\A\nAREA D:\\FILES\\B\n" + kOldTime,
           Sent("02/05 11:00:00", "D:\\FILES\\A\\FOO.ZIP"));
  node.WriteRaw("FILES/A/FILES.BBS", "FOO.ZIP [1]\n");
  node.WriteRaw("FILES/B/FILES.BBS", "BAR.ZIP [7]\nlower.zip\n");
  const auto stamp = [&](const char* rel) {
    struct stat st {};
    ::stat((node.root() + "/" + rel).c_str(), &st);
    return std::pair(st.st_ino, std::filesystem::last_write_time(node.root() + "/" + rel));
  };
  std::filesystem::last_write_time(node.root() + "/FILES/B/FILES.BBS",
                                   std::filesystem::file_time_type::clock::now() -
                                       std::chrono::hours(24));
  const auto before = stamp("FILES/B/FILES.BBS");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_NE(r.screen.find("Processing 2 file areas"), std::string::npos) << r;
  EXPECT_EQ(node.Read("FILES/A/FILES.BBS"), Dos("FOO.ZIP      [002]\n"));
  EXPECT_EQ(node.Read("FILES/B/FILES.BBS"), "BAR.ZIP [7]\nlower.zip\n");
  EXPECT_EQ(stamp("FILES/B/FILES.BBS"), before);
  EXPECT_EQ(node.List("FILES/B"), std::vector<std::string>{"FILES.BBS"});
}

// A user who may write where a temporary file goes (an upload area, the node's
// directory) plants a link at its name: a run never writes through it, removes
// the link and replaces the file with its own new one.
TEST(ListsRun, LinksPlantedAtTemporaryNamesAreNeverFollowed) {
  SKIP_UNDER_WINE("Wine follows a POSIX link in every call; Windows shows links as reparse points");
  Node node("lists_planted_links");
  MakeNode(node, "AREA D:\\FILES\\A\n" + kOldTime, Sent("02/05 11:00:00", "D:\\FILES\\A\\FOO.ZIP"));
  node.Write("FILES/A/FILES.BBS", "FOO.ZIP [1]\n");
  node.Write("VICTIM", "precious data\n");
  node.MakeDir("BIN");
  for (const char* temp : {"FILES/A/FILES.!#$", "BIN/zirka.$#!", "FIDO/ZIRKA.JN$", "FIDO/ZIRKA.PO$"}) {
    std::filesystem::create_symlink(node.root() + "/VICTIM", node.root() + "/" + temp);
  }
  const RunResult r = node.RunInstalled("BIN", {kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node.Read("VICTIM"), Dos("precious data\n"));
  EXPECT_EQ(node.Read("FILES/A/FILES.BBS"), Dos("FOO.ZIP      [002]\n"));
  EXPECT_NE(node.Read("FIDO/ZIRKA.CTL").find(Dos(LastTimeLine("02/05 11:00:00"))),
            std::string::npos);
  EXPECT_EQ(node.List("FILES/A"), std::vector<std::string>{"FILES.BBS"});
  EXPECT_FALSE(node.Exists("FIDO/ZIRKA.JN$"));
  EXPECT_FALSE(node.Exists("FIDO/ZIRKA.PO$"));
}

// ---- Last_Time -----------------------------------------------------------------

// ZIRKA.CTL after one run over `ctl` (its Last_Time lines); the screen in `screen`.
std::string CtlAfterRun(const std::string& name, const std::string& ctl, std::string* screen,
                        const std::string& tmailLog = Sent("02/05 11:00:00", "D:\\X\\FOO.ZIP")) {
  Node node(name);
  node.WriteRaw("FIDO/ZIRKA.CTL", "CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\r\n" + ctl);
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", tmailLog);
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  *screen = Slice(r.screen, "\xFE Processing", "\xFE Exit");
  return node.Read("FIDO/ZIRKA.CTL");
}

TEST(ListsRun, LastTimeReplacedIndentedAndDoubled) {
  std::string screen;
  EXPECT_EQ(CtlAfterRun("lists_last_time_doubled",
                        Dos("  Last_Time 01/05 10:00:00  ; Last analisis time\n;Last_Time x\n"
                            "Last_Time 01/05 09:00:00\n"),
                        &screen),
            Dos("CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n" + LastTimeLine("02/05 11:00:00") +
                ";Last_Time x\n" + LastTimeLine("02/05 11:00:00")));
  EXPECT_EQ(screen, Progress(0) + kUpdated + kUpdated);
}

TEST(ListsRun, LastTimeAddedOnALineOfItsOwn) {
  std::string screen;
  // The last line of ZIRKA.CTL has no line feed.
  EXPECT_EQ(CtlAfterRun("lists_last_time_added", "; no time yet\r\nAREA ; none", &screen),
            Dos("CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n; no time yet\nAREA ; none\n" +
                LastTimeLine("02/05 11:00:00") + kAddedComment));
  EXPECT_EQ(screen, Progress(0) + kAdded);
}

TEST(ListsRun, LastTimeInCapitalsIsUpdatedAndALongerWordIsKept) {
  Node node("lists_last_time_capitals");
  MakeNode(node, "AREA D:\\FILES\\A\nLast_Timer stays\nLAST_TIME 01/05 10:00:00\n",
           Sent("02/05 11:00:00", "D:\\FILES\\A\\FOO.ZIP"));
  node.Write("FILES/A/FILES.BBS", "FOO.ZIP [1]\n");
  RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(node.Read("FIDO/ZIRKA.CTL"), "AREA", "\r\n\r\n"),
            Dos("AREA D:\\FILES\\A\nLast_Timer stays\n" + LastTimeLine("02/05 11:00:00")));
  EXPECT_NE(r.screen.find(kUpdated), std::string::npos);
  // The next run starts after the stored time and counts nothing twice.
  r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 4) << r;
  EXPECT_EQ(node.Read("FILES/A/FILES.BBS"), Dos("FOO.ZIP      [002]\n"));
}

TEST(ListsRun, LastTimeThroughATemporaryFileBesideZirkaCtl) {
  // The program's own temporary name is taken by a directory, as when the
  // program's directory can't be written: ZIRKA.CTL is replaced all the same.
  Node node("lists_last_time_fallback");
  MakeNode(node, "AREA D:\\FILES\\A\n" + kOldTime, Sent("02/05 11:00:00", "D:\\FILES\\A\\FOO.ZIP"));
  node.Write("FILES/A/FILES.BBS", "FOO.ZIP [1]\n");
  node.MakeDir("BIN/zirka.$#!");
  RunResult r = node.RunInstalled("BIN", {kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_NE(r.screen.find(kUpdated), std::string::npos) << r;
  EXPECT_NE(node.Read("FIDO/ZIRKA.CTL").find(Dos(LastTimeLine("02/05 11:00:00"))),
            std::string::npos);
  EXPECT_FALSE(node.Exists("FIDO/ZIRKA.$#!"));
  r = node.RunInstalled("BIN", {kUseCtl});
  EXPECT_EQ(r.exitCode, 4) << r;

  // With the second way blocked as well, ZIRKA.CTL stays as it was.
  node.Write("FIDO/ZIRKA.CTL", "LOG D:\\FIDO\\ZIRKA.LOG\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n" + kOldTime);
  node.Remove("FIDO/ZIRKA.POS");  // else the log goes on from where it was read up to
  const std::string before = node.Read("FIDO/ZIRKA.CTL");
  node.MakeDir("FIDO/ZIRKA.$#!");
  r = node.RunInstalled("BIN", {kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  const std::string error = "\nAn error occured while adding Last_Time variable to Zirka.Ctl\n";
  EXPECT_NE(r.screen.find(error + "\n" + ExitLines(0)), std::string::npos) << r;
  EXPECT_NE(node.Read("FIDO/ZIRKA.LOG").find(Dos(error)), std::string::npos);
  EXPECT_EQ(node.Read("FIDO/ZIRKA.CTL"), before);
}

}  // namespace
}  // namespace zirka::e2e
