// Whole runs through the mailer's side: finding T-MAIL.CTL, the log table, the
// freshness check against Last_Time, the scan for sent files and the report.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "e2e/damaged_node.h"
#include "e2e/harness.h"
#include "e2e/log_lines.h"

namespace zirka::e2e {
namespace {

const std::string kUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";
// The first screen lines of every run here.
const std::string kReading =
    "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n\xFE Reading D:\\FIDO\\ZIRKA.CTL\n";
const std::string kLastTime = "Last_Time 01/05 10:00:00\n";

// ZIRKA.CTL of these nodes: a program log, a report started afresh each run, one
// area and T-MAIL.CTL named outright; `extra` adds lines.
std::string ZirkaCtl(const std::string& extra, bool ctlPath = true) {
  return "LOG D:\\FIDO\\ZIRKA.LOG\n"
         "REPORT D:\\FIDO\\REPORT.TXT\n"
         "KEEP_REPORT No\n" +
         std::string(ctlPath ? "CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n" : "") +
         "AREA D:\\FILES\\UTIL\n" + extra;
}

// A node with ZIRKA.CTL, a T-MAIL.CTL naming T-MAIL.LOG, and that log.
void MakeNode(const Node& node, const std::string& zirkaCtl, const std::string& log) {
  node.Write("FIDO/ZIRKA.CTL", zirkaCtl);
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", log);
  node.Write("FILES/UTIL/FILES.BBS", "FOO.ZIP   [000] foo\nBAR.ARJ   [000] bar\n");
}


std::string ReportFile(const Node& node) { return Normalize(node.Read("FIDO/REPORT.TXT")); }


std::string Sent(const std::string& time, const std::string& tag, const std::string& path,
                 const std::string& tail = " OK: 2400 cps") {
  return time + " " + tag + " " + path + tail + "\n";
}

// ---- finding T-MAIL.CTL ---------------------------------------------------

TEST(TmailCtlRun, NamedByCtlPathWithBareLogName) {
  Node node("ctl_path");
  MakeNode(node, ZirkaCtl(kLastTime), Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP"));
  const RunResult r = node.Run({kUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(r.screen, "T-Mail contol", "\xF9 "),
            "T-Mail contol file override path is: D:\\T-MAIL\\T-MAIL.CTL\n"
            "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n"
            "  (0208, log #00)\n"
            "Log path found at T-Mail.Ctl: D:\\T-MAIL\\T-MAIL.LOG\n"
            "\n");
}

TEST(TmailCtlRun, CtlPathThatCannotBeOpenedIsErrorlevel1) {
  Node node("ctl_path_missing");
  node.Write("FIDO/ZIRKA.CTL", "LOG D:\\FIDO\\ZIRKA.LOG\nCTL_PATH d:\\nowhere\\t-mail.ctl\n"
                               "LOG_PATH D:\\T-MAIL\\T-MAIL.LOG\n");
  node.Write("T-MAIL/T-MAIL.LOG", "");
  node.Write("t-mail.ctl", "LOG D:\\T-MAIL\\T-MAIL.LOG\n");  // not searched for
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, kReading + "!FERR-T-Mail main control file not found!\n\n" + ExitLines(1));
}

TEST(TmailCtlRun, FoundInTheCurrentDirectory) {
  Node node("ctl_cwd");
  MakeNode(node, ZirkaCtl(kLastTime, false), Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP"));
  RunOptions inTmail;
  inTmail.cwd = "T-MAIL";
  const RunResult r = node.Run({kUseCtl, "-d"}, inTmail);
  EXPECT_EQ(r.exitCode, 0) << r;
  // The T-Mail directory stays empty: the bare log name is taken as it stands.
  EXPECT_EQ(Slice(r.screen, "T-Mail.Ctl", "\xF9 "),
            "T-Mail.Ctl found in the current directory\n"
            "\xFE Reading T-MAIL.CTL\n"
            "  (0208, log #00)\n"
            "Log path found at T-Mail.Ctl: T-MAIL.LOG\n"
            "\n");
  EXPECT_EQ(ReportFile(node), ReportOf({{"FOO.ZIP", 1}}));
}

TEST(TmailCtlRun, FoundThroughTheTmailVariable) {
  Node node("ctl_variable");
  MakeNode(node, ZirkaCtl(kLastTime, false), Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP"));
  RunOptions variable;
  variable.env["T-MAIL"] = "d:\\T-Mail";
  const RunResult r = node.Run({kUseCtl, "-d"}, variable);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(r.screen, "T-Mail.Ctl", "\xF9 "),
            "T-Mail.Ctl not found in the current directory.\n"
            "Attempting to get \"T-MAIL\" environment variable...\n"
            "T-Mail.Ctl found at d:\\T-Mail\\t-mail.ctl\n"
            "\xFE Reading d:\\T-Mail\\t-mail.ctl\n"
            "  (0208, log #00)\n"
            "Log path found at T-Mail.Ctl: D:\\T-MAIL\\T-MAIL.LOG\n"
            "\n");
}

TEST(TmailCtlRun, VariablePointingNowhereAndNoLogIsErrorlevel1) {
  Node node("ctl_variable_nowhere");
  node.Write("FIDO/ZIRKA.CTL", "LOG D:\\FIDO\\ZIRKA.LOG\nLOG_PATH D:\\T-MAIL\\GONE.LOG\n");
  RunOptions variable;
  variable.env["T-MAIL"] = "D:\\NOWHERE\\";
  const RunResult r = node.Run({kUseCtl, "-d"}, variable);
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(Slice(r.screen, "T-Mail.Ctl", "\xFE Exit"),
            "T-Mail.Ctl not found in the current directory.\n"
            "Attempting to get \"T-MAIL\" environment variable...\n"
            "\"T-MAIL\" variable exists, but T-Mail.Ctl not found there!\n"
            "Invalid path is D:\\NOWHERE\\t-mail.ctl\n\n"
            "  (0208, log #00)\n"
            "?WARN-Cann't open D:\\T-MAIL\\GONE.LOG"
            "!FERR-T-Mail main control file not found!\n\n");
}

TEST(TmailCtlRun, NoControlFileButLogsFromLogPath) {
  Node node("ctl_none_two_logs");
  node.Write("FIDO/ZIRKA.CTL",
             ZirkaCtl("LOG_PATH d:\\logs\\one.log\nLOG_PATH D:\\LOGS\\TWO.LOG\n", false));
  node.Write("LOGS/ONE.LOG", Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP"));
  node.Write("LOGS/TWO.LOG", Sent("02/05 12:00:00", "ZS", "D:\\FILES\\UTIL\\BAR.ARJ"));
  node.Write("FILES/UTIL/FILES.BBS", "FOO.ZIP [000] foo\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  // Outside debug mode the search shows nothing; the table ends with an empty line.
  EXPECT_EQ(r.screen.substr(0, r.screen.find("\xFE Scanning")), kReading + "\n");
  EXPECT_EQ(ReportFile(node), ReportOf({{"FOO.ZIP", 1}, {"BAR.ARJ", 1}}));
}

// ---- the log table -------------------------------------------------------------

TEST(LogTableRun, DuplicateLogsInMixedCaseEnterOnce) {
  Node node("log_duplicates");
  MakeNode(node,
           ZirkaCtl("LOG_PATH d:\\t-mail\\T-Mail.Log\nLOG_PATH D:\\LOGS\\GONE.LOG\n" + kLastTime),
           Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP"));
  const RunResult r = node.Run({kUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(r.screen, "  (0208", "\xF9 "),
            "  (0208, log #00)\n"
            "Log #0: D:\\T-MAIL\\T-MAIL.LOG\n"
            "  (0416, log #01)\n"
            "?WARN-Cann't open D:\\LOGS\\GONE.LOG"
            "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n"
            "  (0416, log #01)\n"
            "Log path found at T-Mail.Ctl: D:\\T-MAIL\\T-MAIL.LOG\n"
            "?WARN-Duplicated log D:\\T-MAIL\\T-MAIL.LOG\n"
            "\n");
  const std::string log = Normalize(node.Read("FIDO/ZIRKA.LOG"));
  EXPECT_NE(log.find(Dos("?WARN-Log D:\\T-MAIL\\T-MAIL.LOG occured two or more times\n")),
            std::string::npos);
  // The log was read once: its send counts once.
  EXPECT_EQ(ReportFile(node), ReportOf({{"FOO.ZIP", 1}}));
}

TEST(LogTableRun, ControlFileWithoutAReadableLogIsErrorlevel2) {
  Node node("log_none");
  node.Write("FIDO/ZIRKA.CTL", ZirkaCtl(""));
  node.Write("T-MAIL/T-MAIL.CTL", "LOG gone.log\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 2) << r;
  EXPECT_EQ(r.screen, kReading + "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n"
                                 "!FERR-No existing log files found!\n\n" +
                          ExitLines(2));
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")),
            Dos("\n\n\xFE Zirka 3.8 started at Www Mmm DD hh:mm:ss YYYY\n"
                "!FERR-No existing log files found!\n\xFE Elapsed M:SS\n"));
}

// ---- freshness -----------------------------------------------------------------

const std::string kTwoDays = Sent("01/05 09:00:00", "ZS", "D:\\FILES\\UTIL\\BAR.ARJ") +
                             "01/05 09:00:10 Session with 2:5020/1 ended\n" +
                             Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP");

TEST(FreshnessRun, StoredTimeEqualToTheNewestLineIsNothingNew) {
  Node node("fresh_equal");
  MakeNode(node, ZirkaCtl("Last_Time 02/05 11:00:00\n"), kTwoDays);
  const std::string ctlBefore = node.Read("FIDO/ZIRKA.CTL");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 4) << r;
  EXPECT_EQ(r.screen, kReading + "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n\n"
                                 "\xF9 Checking D:\\T-MAIL\\T-MAIL.LOG...old\n\n" +
                          ExitLines(4));
  EXPECT_EQ(node.Read("FIDO/ZIRKA.CTL"), ctlBefore);
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos("FOO.ZIP   [000] foo\nBAR.ARJ   [000] bar\n"));
  EXPECT_NE(Normalize(node.Read("FIDO/ZIRKA.LOG"))
                .find(Dos("\xFE No new sent files found - nothing done\n\xFE Elapsed M:SS\n")),
            std::string::npos);
}

TEST(FreshnessRun, TwoLogsOfWhichOnlyTheSecondIsNew) {
  Node node("fresh_two_logs");
  MakeNode(node, ZirkaCtl("LOG_PATH D:\\LOGS\\OLD.LOG\nLast_Time 01/05 10:00:00\n"), kTwoDays);
  node.Write("LOGS/OLD.LOG", Sent("01/05 09:30:00", "ZS", "D:\\FILES\\UTIL\\OLD.ZIP"));
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(r.screen, "\n\xF9 ", "\xFE Scanning"),
            "\n\xF9 Checking D:\\LOGS\\OLD.LOG...old\n"
            "\xF9 Checking D:\\T-MAIL\\T-MAIL.LOG...OK\n\n");
  EXPECT_EQ(ReportFile(node), ReportOf({{"FOO.ZIP", 1}}));
  EXPECT_EQ(StoredLastTime(node), "02/05 11:00:00");
}

TEST(FreshnessRun, YearTurnsForward) {
  Node node("fresh_new_year");
  MakeNode(node, ZirkaCtl("Last_Time 28/12 12:00:00\n"),
           Sent("28/12 11:00:00", "ZS", "D:\\FILES\\UTIL\\BAR.ARJ") +
               Sent("02/01 08:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP"));
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(ReportFile(node), ReportOf({{"FOO.ZIP", 1}}));
  EXPECT_EQ(StoredLastTime(node), "02/01 08:00:00");
}

TEST(FreshnessRun, YearDoesNotTurnBackward) {
  Node node("fresh_old_year");
  MakeNode(node, ZirkaCtl("Last_Time 05/01 10:00:00\n"),
           Sent("30/12 10:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP"));
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 4) << r;
  EXPECT_NE(r.screen.find("...old\n"), std::string::npos);
  EXPECT_EQ(StoredLastTime(node), "05/01 10:00:00");
}

TEST(FreshnessRun, UndatedAndOverLongLinesBeforeTheFirstNewLine) {
  Node node("fresh_long_lines");
  MakeNode(node, ZirkaCtl("Last_Time 01/05 10:00:00\n"),
           "+ undated banner line\n" + std::string(400, '=') + "\n" + "01/05 09:00:00 " +
               std::string(300, '.') + "\n" + "   02/05 is not at the start\n" +
               Sent("02/05 11:00:00", "JS", "D:\\FILES\\UTIL\\FOO.ZIP"));
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_NE(r.screen.find("T-MAIL.LOG...OK\n"), std::string::npos);
  EXPECT_EQ(ReportFile(node), ReportOf({{"FOO.ZIP", 1}}));
}

TEST(FreshnessRun, ProvingLineIsCountedAndGivesTheNewLastTime) {
  // The send that makes the log new is its newest line; its " OK: " lies beyond the
  // first 180 characters of the line.
  Node node("fresh_proving_line");
  const std::string deep = "D:\\FILES\\" + std::string(160, 'D') + "\\..\\UTIL\\FOO.ZIP";
  MakeNode(node, ZirkaCtl("Last_Time 01/05 10:00:00\n"),
           Sent("01/05 09:00:00", "ZS", "D:\\FILES\\UTIL\\BAR.ARJ") +
               Sent("02/05 11:00:00", "HS", deep));
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(ReportFile(node), ReportOf({{"FOO.ZIP", 1}}));
  EXPECT_EQ(StoredLastTime(node), "02/05 11:00:00");
  // The next run finds nothing new: nothing is counted twice.
  const RunResult again = node.Run({kUseCtl});
  EXPECT_EQ(again.exitCode, 4) << again;
}

TEST(FreshnessRun, ForcedWithStoredTimeReadsEveryLogWhole) {
  Node node("fresh_forced");
  MakeNode(node, ZirkaCtl("Last_Time 02/05 11:00:00\n"), kTwoDays);
  const std::string ctlBefore = node.Read("FIDO/ZIRKA.CTL");
  const RunResult r = node.Run({kUseCtl, "-f"});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_NE(r.screen.find("T-MAIL.LOG...old\n"), std::string::npos);
  EXPECT_EQ(ReportFile(node), ReportOf({{"BAR.ARJ", 1}, {"FOO.ZIP", 1}}));
  // No log was new: the stored time is left as it was.
  EXPECT_EQ(node.Read("FIDO/ZIRKA.CTL"), ctlBefore);
}

TEST(FreshnessRun, ForcedWithoutStoredTime) {
  Node node("fresh_forced_no_time");
  MakeNode(node, ZirkaCtl(""), kTwoDays);
  const RunResult r = node.Run({kUseCtl, "-f"});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(r.screen.find("\xF9 Checking"), std::string::npos);
  EXPECT_EQ(ReportFile(node), ReportOf({{"BAR.ARJ", 1}, {"FOO.ZIP", 1}}));
  EXPECT_EQ(StoredLastTime(node), "02/05 11:00:00");
}

TEST(FreshnessRun, OddStoredTimeIsWarnedOf) {
  Node node("fresh_odd_time");
  MakeNode(node, ZirkaCtl("Last_Time 1/5 10:00\n"), kTwoDays);
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  const std::string warning =
      "!WARN-Last_Time 1/5 10:00 in Zirka.Ctl is not DD/MM HH:MM:SS, used as it stands\n";
  EXPECT_NE(r.screen.find("\n\n" + warning + "\n\xF9 Checking"), std::string::npos) << r;
  EXPECT_NE(node.Read("FIDO/ZIRKA.LOG").find(Dos(warning)), std::string::npos);
  // "1/5 10:00" compares below every dated line: the whole log is new.
  EXPECT_EQ(ReportFile(node), ReportOf({{"BAR.ARJ", 1}, {"FOO.ZIP", 1}}));
  EXPECT_EQ(StoredLastTime(node), "02/05 11:00:00");
}

// ---- the scan ------------------------------------------------------------------

TEST(ScanRun, TagsAndOkVariants) {
  Node node("scan_tags");
  MakeNode(node, ZirkaCtl(""),
           Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\ZS.ZIP") +
               Sent("02/05 11:00:01", "JS", "D:\\FILES\\UTIL\\JS.ZIP") +
               Sent("02/05 11:00:02", "HS", "D:\\FILES\\UTIL\\HS.ZIP") +
               Sent("02/05 11:00:03", "ZSZ", "D:\\FILES\\UTIL\\ZSZ.ZIP") +
               Sent("02/05 11:00:04", "zs", "D:\\FILES\\UTIL\\LOWER.ZIP") +
               Sent("02/05 11:00:05", "ZR", "D:\\FILES\\UTIL\\RECEIVED.ZIP") +
               Sent("02/05 11:00:06", " ZS", "D:\\FILES\\UTIL\\SHIFTED.ZIP") +
               Sent("02/05 11:00:07", "ZS", "D:\\FILES\\UTIL\\FAILED.ZIP", " ERROR: 0 cps") +
               Sent("02/05 11:00:08", "ZS", "D:\\FILES\\UTIL\\LOWOK.ZIP", " ok: 10 cps") +
               Sent("02/05 11:00:09", "ZS", "D:\\FILES\\UTIL\\NOBLANK.ZIP", " OK:10 cps") +
               Sent("02/05 11:00:10", "ZS", "D:\\FILES\\UTIL\\", " OK: 0 cps") +
               Sent("02/05 11:00:11", "ZS", "d:/files/util/slash.zip") +
               Sent("02/05 11:00:12", "ZS", "D:\\FILES\\UTIL\\A-LONG-FILE-NAME.TAR.GZ"));
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(ReportFile(node), ReportOf({{"ZS.ZIP", 1},
                                    {"JS.ZIP", 1},
                                    {"HS.ZIP", 1},
                                    {"ZSZ.ZIP", 1},
                                    {"D:/FILES/UTIL/SLASH.ZIP", 1},
                                    {"A-LONG-FILE-NAME.TAR.GZ", 1}}));
  EXPECT_EQ(StoredLastTime(node), "02/05 11:00:12");
  EXPECT_NE(r.screen.find("  Total found:    0\b\b\b\b   1\b\b\b\b   2\b\b\b\b   3\b\b\b\b   4"
                          "\b\b\b\b   5\b\b\b\b   6\n"),
            std::string::npos);
}

TEST(ScanRun, IgnoreListAndNamesSeenInSeveralLogs) {
  Node node("scan_ignore");
  MakeNode(node, ZirkaCtl("LOG_PATH D:\\LOGS\\SECOND.LOG\nIGNORE files\nIGNORE .PKT\n"),
           Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP") +
               Sent("02/05 11:00:01", "ZS", "D:\\FILES\\UTIL\\FILES.BBS") +
               Sent("02/05 11:00:02", "ZS", "D:\\OUT\\0001ABCD.PKT") +
               Sent("02/05 11:00:03", "ZS", "D:\\FILES\\UTIL\\MYFILES.ZIP") +
               Sent("02/05 11:00:04", "JS", "c:\\elsewhere\\foo.zip"));
  node.Write("LOGS/SECOND.LOG", Sent("03/05 08:00:00", "ZS", "D:\\FILES\\UTIL\\BAR.ARJ") +
                                    Sent("03/05 08:00:01", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP") +
                                    Sent("03/05 08:00:02", "ZS", "D:\\FILES\\UTIL\\FOO"));
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  // SECOND.LOG comes first in the table (LOG_PATH before T-Mail's LOG line).
  EXPECT_EQ(ReportFile(node), ReportOf({{"BAR.ARJ", 1}, {"FOO.ZIP", 3}, {"FOO", 1}}));
  EXPECT_EQ(StoredLastTime(node), "03/05 08:00:02");
  EXPECT_NE(r.screen.find("  Total found:    0\b\b\b\b   1\b\b\b\b   2\b\b\b\b   3\n"),
            std::string::npos);
}

TEST(ScanRun, NoSentFileIsErrorlevel4ButTheTimeIsStored) {
  Node node("scan_nothing_sent");
  MakeNode(node, ZirkaCtl("Last_Time 01/05 10:00:00\n"),
           "02/05 11:00:00 Session with 2:5020/1\n02/05 11:00:05 ZS D:\\F\\X.ZIP Failed\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 4) << r;
  EXPECT_NE(r.screen.find("\xFE Scanning log(s) for new sent files\n  Total found:    0\n"),
            std::string::npos);
  EXPECT_EQ(node.Read("FIDO/REPORT.TXT"), "");
  EXPECT_EQ(StoredLastTime(node), "02/05 11:00:05");
}

TEST(ScanRun, LastLineStillBeingWrittenGivesNoTime) {
  Node node("scan_cut_last_line");
  MakeNode(node, ZirkaCtl(kLastTime), "");
  node.WriteRaw("T-MAIL/T-MAIL.LOG", Dos(Sent("02/05 11:00:00", "ZS", "D:\\FILES\\UTIL\\FOO.ZIP")) +
                                         "02/05 11:0");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(ReportFile(node), ReportOf({{"FOO.ZIP", 1}}));
  EXPECT_EQ(StoredLastTime(node), "02/05 11:00:00");
}

TEST(ScanRun, DebugOutputOfARepresentativeRun) {
  Node node("scan_debug");
  MakeNode(node, ZirkaCtl("LOG_PATH D:\\LOGS\\OLD.LOG\nLast_Time 01/05 10:00:00\n"), kTwoDays);
  node.Write("LOGS/OLD.LOG", Sent("01/05 09:30:00", "ZS", "D:\\FILES\\UTIL\\OLD.ZIP"));
  const RunResult r = node.Run({kUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(r.screen, "T-Mail contol", "\n\xF9 "),
            "T-Mail contol file override path is: D:\\T-MAIL\\T-MAIL.CTL\n"
            "  (0208, log #00)\n"
            "Log #0: D:\\LOGS\\OLD.LOG\n"
            "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n"
            "  (0416, log #01)\n"
            "Log path found at T-Mail.Ctl: D:\\T-MAIL\\T-MAIL.LOG\n");
  EXPECT_EQ(Slice(r.screen, "\xF9 ", "\n\n"), "\xF9 Checking D:\\LOGS\\OLD.LOG...old\n"
                                              "\xF9 Checking D:\\T-MAIL\\T-MAIL.LOG...OK");
  EXPECT_EQ(Slice(r.screen, "\xFE Scanning", "\xFE Processing"),
            "\xFE Scanning log(s) for new sent files\n"
            "  Total found:    0"
            "  (0020, sent file #00)\n"
            "\b\b\b\b   1\n"
            "Log D:\\LOGS\\OLD.LOG Last time: \n"
            "Log D:\\T-MAIL\\T-MAIL.LOG Last time: 02/05 11:00:00\n"
            "Finally Last_Time=02/05 11:00:00\n");
}

}  // namespace
}  // namespace zirka::e2e
