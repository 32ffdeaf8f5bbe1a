// What a real node's files can hold besides clean text: binary garbage, NUL
// bytes, lines of a megabyte, bare CRs, a Ctrl-Z in the middle, impossible dates,
// a control file of nothing but comments. Each is passed over as the rules say,
// and every other byte of every file stays as it was.

#include <gtest/gtest.h>

#include <string>

#include "e2e/damaged_node.h"
#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

const std::string kMegabyte(1 << 20, 'y');

// A string literal with every byte, NULs included.
template <std::size_t N>
std::string Raw(const char (&text)[N]) {
  return std::string(text, N - 1);
}

// The healthy outcome: FOO, BAR and NEWS counted once, Last_Time 02/05 12:30:00.
void ExpectHealthyOutcome(const Node& node) {
  EXPECT_EQ(node.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node.Read(kGamesList), GamesList(2));
  EXPECT_EQ(node.Read(kNewsList), NewsList(11));
  EXPECT_EQ(node.Read(kHealthyCtl), Dos(CtlWithLastTime("02/05 12:30:00")));
  EXPECT_EQ(Normalize(node.Read(kReport)),
            ReportOf({{"FOO.ZIP", 1}, {"BAR.ARJ", 1}, {"NEWS.TXT", 1}}));
}

const std::vector<std::string> kEveryRunFile = {kUtilList,   kGamesList,  kNewsList,
                                                kHealthyCtl, kHealthyPositions, kProgramLog, kReport};

// ---- logs -----------------------------------------------------------------

TEST(BadInputRun, LogFullOfGarbageCountsOnlyItsSendLines) {
  Node node("garbage_log");
  MakeHealthyNode(node);
  const std::string log =
      Garbage(3000, 1) + "\r\n" +
      "30/04 22:00:00 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 2400 cps\r\n"
      "02/05 10:00:00 Session with 2:5020/1.0\r\n" +
      // NUL bytes in a line of chatter and after the OK of a send.
      Raw("02/05 10:00:01 Caller\0says\0hello\r\n") +
      Raw("02/05 10:00:05 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 2400\0cps\r\n") +
      // A line of a megabyte that begins like a send: its first piece holds no OK.
      "02/05 10:30:00 ZS D:\\FILES\\UTIL\\" + kMegabyte + ".ZIP OK: 2400 cps\r\n" +
      Garbage(1 << 20, 2) + "\r\n" +
      // A bare CR ends no line: the send behind it is no line of its own.
      "02/05 10:50:00 Receiving 10%\r50%\r100%\r\n"
      "02/05 10:50:30 Progress\r02/05 10:50:31 ZS D:\\FILES\\UTIL\\BAZ.ZIP OK: 2400 cps\r\n"
      "02/05 11:00:05 ZS D:\\FILES\\GAMES\\BAR.ARJ OK: 2400 cps\r\n" +
      Garbage(500, 3) + "\r\n" +
      "02/05 12:00:05 HS D:\\FILES\\NEWS\\NEWS.TXT OK: 9600 cps\r\n"
      "02/05 12:30:00 Session end\r\n" +
      Garbage(200, 4);  // and no line end at the very end
  node.WriteRaw(kHealthyLog, log);
  const Snapshot before = TreeSnapshot(node);

  const RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(r.screen, HealthyScreen(3, 3));
  ExpectHealthyOutcome(node);
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files(kEveryRunFile));
}

TEST(BadInputRun, CtrlZInTheMiddleOfALogEndsIt) {
  Node node("ctrl_z_log");
  MakeHealthyNode(node);
  node.Write(kHealthyLog,
             "02/05 10:00:05 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 2400 cps\n"
             "02/05 11:00:05 ZS D:\\FILES\\GAMES\\BAR.ARJ OK: 2400 cps\n"
             "\x1a"
             "02/05 12:00:05 HS D:\\FILES\\NEWS\\NEWS.TXT OK: 9600 cps\n"
             "02/05 12:30:00 Session end\n");
  const Snapshot before = TreeSnapshot(node);

  const RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  // The log ends at the Ctrl-Z: NEWS.TXT is not counted, and the stored time is
  // that of the last line before it.
  EXPECT_EQ(node.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node.Read(kGamesList), GamesList(2));
  EXPECT_EQ(node.Read(kNewsList), NewsList(10));
  EXPECT_EQ(node.Read(kHealthyCtl), Dos(CtlWithLastTime("02/05 11:00:05")));
  EXPECT_EQ(Normalize(node.Read(kReport)), ReportOf({{"FOO.ZIP", 1}, {"BAR.ARJ", 1}}));
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)),
            Files({kUtilList, kGamesList, kHealthyCtl, kHealthyPositions, kProgramLog, kReport}));
}

// A line that begins with digits and a slash but no real day and month (99/99,
// 00/00, 32/05, 15/13) carries no date: it is passed over like any other line
// without one. Taken as a date, 99/99 would become the stored Last_Time, and no
// later line would ever be newer: every download until the next January lost.
TEST(BadInputRun, ImpossibleDatesArePassedOverAndLaterSendsStillCount) {
  Node node("impossible_dates");
  MakeHealthyNode(node);
  const std::string firstDay =
      "02/05 10:00:00 Session with 2:5020/1.0\n"
      "02/05 10:00:05 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 2400 cps\n"
      "99/99 99:99:99 ZS D:\\FILES\\NEWS\\NEWS.TXT OK: 2400 cps\n"
      "00/00 00:00:00 ZS D:\\FILES\\UTIL\\BAZ.ZIP OK: 2400 cps\n"
      "02/05 11:00:05 ZS D:\\FILES\\GAMES\\BAR.ARJ OK: 2400 cps\n"
      "32/05 10:00:00 ZS D:\\FILES\\UTIL\\BAZ.ZIP OK: 2400 cps\n"
      "15/13 10:00:00 ZS D:\\FILES\\UTIL\\BAZ.ZIP OK: 2400 cps\n"
      "02/05 12:00:05 HS D:\\FILES\\NEWS\\NEWS.TXT OK: 9600 cps\n"
      "02/05 12:30:00 Session end\n";
  node.Write(kHealthyLog, firstDay);
  const Snapshot before = TreeSnapshot(node);
  RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  ExpectHealthyOutcome(node);
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files(kEveryRunFile));

  // The next day's send is newer than the stored time, past a 99/99 line again.
  node.Write(kHealthyLog, firstDay +
                              "03/05 09:00:00 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 2400 cps\n"
                              "99/99 99:99:99 Session end\n");
  r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node.Read(kUtilList), UtilList(2));
  EXPECT_EQ(node.Read(kHealthyCtl), Dos(CtlWithLastTime("03/05 09:00:00")));
}

// ---- lists and the control file ----------------------------------------------

TEST(BadInputRun, ListFullOfGarbageKeepsEveryByteButTheCounter) {
  Node node("garbage_list");
  MakeHealthyNode(node);
  const std::string head =
      Garbage(2000, 5) + "\r\n" + Raw("\0\0\0 NUL bytes at the start of a line\r\n") +
      "BAZ.ZIP      [003] Baz tool\r\n" +
      // A long name of a megabyte, and a description of a megabyte.
      kMegabyte + "\r\n" + " " + kMegabyte + "\r\n" + "-- progress 10%\r50%\r100%\r\n";
  // The sent entry: NULs and a bare CR in its description, a megabyte behind it.
  const std::string entry = Raw("FOO.ZIP      [000] Foo\0ut\rility ");
  const std::string tail = Garbage(1 << 20, 6) + "\r\n" + Garbage(300, 7);
  node.WriteRaw(kUtilList, head + entry + tail);
  const Snapshot before = TreeSnapshot(node);

  const RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  std::string raised = entry;
  raised.replace(13, 5, "[001]");
  EXPECT_TRUE(node.Read(kUtilList) == head + raised + tail) << "the list lost or changed bytes";
  EXPECT_EQ(node.Read(kGamesList), GamesList(2));
  EXPECT_EQ(node.Read(kNewsList), NewsList(11));
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files(kEveryRunFile));
}

TEST(BadInputRun, CtrlZInTheMiddleOfAListEndsIt) {
  Node node("ctrl_z_list");
  MakeHealthyNode(node);
  node.WriteRaw(kUtilList, UtilList(0) + "\x1a" + "QUX.ZIP      [000] after the end\r\n");
  const RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node.Read(kUtilList), UtilList(1));
}

TEST(BadInputRun, ControlFileFullOfGarbageKeepsEveryOtherByte) {
  Node node("garbage_ctl");
  MakeHealthyNode(node);
  const std::string garbage = "; " + Garbage(4000, 8) + "\r\n" + Raw(";\0NUL\0comment\r\n") + "; " +
                              kMegabyte + "\r\n" + "; bare\rCR\r\n" + ";" + Garbage(100, 9) +
                              "\r\n";
  node.WriteRaw(kHealthyCtl, Dos(HealthyCtl()) + garbage);
  const Snapshot before = TreeSnapshot(node);

  const RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(r.screen, HealthyScreen(3, 3));
  EXPECT_TRUE(node.Read(kHealthyCtl) == Dos(CtlWithLastTime("02/05 12:30:00")) + garbage)
      << "ZIRKA.CTL lost or changed bytes";
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files(kEveryRunFile));
}

TEST(BadInputRun, ControlFileOfOnlyComments) {
  Node node("only_comments");
  MakeHealthyNode(node);
  const std::string comments =
      "; Zirka control file\n;LOG D:\\FIDO\\ZIRKA.LOG\n"
      ";AREA D:\\FILES\\UTIL\n;\n   ; indented\n";
  node.Write(kHealthyCtl, comments);
  const Snapshot before = TreeSnapshot(node);

  // Nothing names T-MAIL.CTL or a log: the run ends with errorlevel 1 and
  // changes nothing.
  RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen,
            "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n"
            "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n" +
                ExitLines(1));
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files({}));

  // With T-MAIL naming the mailer's directory the sends are found, no area is
  // there to raise them, and the time is added below the comments.
  RunOptions tmail;
  tmail.env["T-MAIL"] = "D:\\T-MAIL";
  r = node.Run({kHealthyUseCtl}, tmail);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_NE(r.screen.find("\xFE Processing 0 file areas\n"), std::string::npos) << r;
  EXPECT_EQ(node.Read(kHealthyCtl),
            Dos(comments + "Last_Time 02/05 12:30:00  ; Last analisis time\n;\n;   "
                           "\x82\xE0\xA5\xAC\xEF \xAF\xAE\xE1\xAB\xA5\xA4\xAD\xA5\xA3\xAE "
                           "\xAF\xE0\xAE\xE1\xAC\xAE\xE2\xE0\xA0 \xAB\xAE\xA3\xA0\n"));
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files({kHealthyCtl, kHealthyPositions}));
}

}  // namespace
}  // namespace zirka::e2e
