// Whole runs on nodes with binkd logs: alone, beside T-Mail logs, named outright
// (BINKD_LOG) or through binkd's config (BINKD_CFG), and lists that keep their own
// spelling of the names (KEEP_NAME_CASE).

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "e2e/damaged_node.h"
#include "e2e/harness.h"
#include "e2e/log_lines.h"

namespace zirka::e2e {
namespace {

const std::string kUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";

// ZIRKA.CTL of these nodes: a program log, a report started afresh each run and one
// area; `extra` names the logs and adds settings.
std::string ZirkaCtl(const std::string& extra) {
  return "LOG D:\\FIDO\\ZIRKA.LOG\nREPORT D:\\FIDO\\REPORT.TXT\nKEEP_REPORT No\n"
         "AREA D:\\FILES\\UTIL\n" + extra;
}

const std::string kList =
    "arj250.exe   [003] ARJ archiver\n"
    "Pkz204g.exe  [012] PKZIP\n"
    "FOO.ZIP      [000] foo\n"
    "my file.zip  [000] a name with a blank never matches a list entry\n";

// A binkd line: mark, date, pid and event text, as binkd writes it (LF only).
std::string Binkd(const std::string& when, const std::string& event, char mark = '+') {
  return std::string(1, mark) + " " + when + " [4711] " + event + "\n";
}


// ---- one run, one table ---------------------------------------------------

struct RunCase {
  const char* what;
  std::string ctlExtra;                        // ZIRKA.CTL lines after the area
  std::map<std::string, std::string> files;    // written byte for byte
  std::map<std::string, std::string> env;      // variables for the run
  int exitCode;
  std::vector<std::pair<std::string, int>> sent;  // the report; empty: none written
  std::string lastTime;                           // stored after the run; "" none
  std::string list = kList;                       // FILES.BBS after the run (LF)
};

void ExpectRun(const RunCase& c) {
  SCOPED_TRACE(c.what);
  Node node("binkd");
  node.Write("FIDO/ZIRKA.CTL", ZirkaCtl(c.ctlExtra));
  node.Write("FILES/UTIL/FILES.BBS", kList);
  for (const auto& [rel, bytes] : c.files) node.WriteRaw(rel, bytes);
  RunOptions options;
  options.env["T-MAIL"] = std::nullopt;
  for (const auto& [name, value] : c.env) options.env[name] = value;
  const RunResult r = node.Run({kUseCtl}, options);
  EXPECT_EQ(r.exitCode, c.exitCode) << r;
  if (c.sent.empty()) {
    EXPECT_FALSE(node.Exists("FIDO/REPORT.TXT") &&
                 node.Read("FIDO/REPORT.TXT").find("Filename") != std::string::npos);
  } else {
    EXPECT_EQ(Normalize(node.Read("FIDO/REPORT.TXT")), ReportOf(c.sent));
  }
  EXPECT_EQ(StoredLastTime(node), c.lastTime);
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos(c.list));
}

const std::string kRaised =
    "ARJ250.EXE   [004] ARJ archiver\n"
    "Pkz204g.exe  [012] PKZIP\n"
    "FOO.ZIP      [000] foo\n"
    "my file.zip  [000] a name with a blank never matches a list entry\n";

TEST(BinkdRun, SendsAndLinesThatAreNoSends) {
  const std::string sends =
      "\n" +  // binkd's empty line at start-up
      Binkd("07 Dec 09:00:00", "BEGIN standalone, binkd/1.1a-115/Linux", ' ') +
      BinkdSent("07 Dec 10:00:00", "/home/fido/files/util/arj250.exe") +
      BinkdSent("07 Dec 10:00:01", "C:\\FIDO\\FILES\\FOO.ZIP") +
      BinkdSent("07 Dec 10:00:02", "/srv/My Files (new)/my file.zip") +
      BinkdSent("07 Dec 10:00:03", "d:/mixed\\dirs/Foo.Zip");
  const std::string notSends =
      Binkd("07 Dec 11:00:00", "rcvd: arj250.exe (225392, 2204.00 CPS, 2:5020/100@fidonet)") +
      Binkd("07 Dec 11:00:01", "sending /files/arj250.exe as arj250.exe (225392)", '-') +
      Binkd("07 Dec 11:00:02", "skipping arj250.exe (destructive, 225392 byte(s))", '?') +
      Binkd("07 Dec 11:00:03", "sent: /files/arj250.exe", '!') +  // no " (" after the path
      BinkdSent("07 Dec 11:00:04", "/files/util/") +              // no name after the path
      Binkd("07 Dec 11:00:05", "Sent: /files/arj250.exe (1, 1 CPS, 2:5020/1)") +
      BinkdSent("32 Dec 11:00:06", "/files/arj250.exe") +         // no such day
      BinkdSent("07 dec 11:00:07", "/files/arj250.exe") +         // no such month
      BinkdSent("07 Dec 24:00:08", "/files/arj250.exe") +         // no such hour
      "+ 07 Dec 11:00 [4711] sent: /files/arj250.exe (1, 1 CPS, 2:5020/1)\n" +
      "+ 07 Dec 11:00:10 sent: /files/arj250.exe (1, 1 CPS, 2:5020/1)\n" +  // no pid
      "* 07 Dec 11:00:11 [4711] sent: /files/arj250.exe (1, 1 CPS, 2:5020/1)\n" +
      "07/12 23:00:00 ZS D:\\FILES\\UTIL\\ARJ250.EXE OK: 2400 cps\n";  // a T-Mail line
  const std::string logs = "BINKD_LOG D:\\LOG\\BINKD.LOG\n";
  const RunCase cases[] = {
      {"a binkd-only node: every send counted, upper case, cut at '/' and '\\'",
       logs, {{"LOG/BINKD.LOG", sends}}, {}, 0,
       {{"ARJ250.EXE", 1}, {"FOO.ZIP", 2}, {"MY FILE.ZIP", 1}}, "07/12 10:00:03",
       "ARJ250.EXE   [004] ARJ archiver\n"
       "Pkz204g.exe  [012] PKZIP\n"
       "FOO.ZIP      [002] foo\n"
       "my file.zip  [000] a name with a blank never matches a list entry\n"},
      {"lines that are no sends give no file; dated ones give their time", logs,
       {{"LOG/BINKD.LOG", notSends}}, {}, 4, {}, "07/12 11:00:05"},
      {"CR LF line ends and a Ctrl-Z at the end, as binkd on Windows may leave them", logs,
       {{"LOG/BINKD.LOG",
         "+ 07 Dec 10:00:00 [1] sent: C:\\files\\arj250.exe (1, 1 CPS, 2:5020/1)\r\n\x1A"}},
       {}, 0, {{"ARJ250.EXE", 1}}, "07/12 10:00:00", kRaised},
      {"a line longer than any path: its time counts, it is never a send", logs,
       {{"LOG/BINKD.LOG", BinkdSent("07 Dec 10:00:00", "/f/arj250.exe") +
                              BinkdSent("08 Dec 10:00:00", "/f (old)/" + std::string(70000, 'd') +
                                                               "/arj250.exe")}},
       {}, 0, {{"ARJ250.EXE", 1}}, "08/12 10:00:00", kRaised},
      {"a half-written last line is not read: no time, no send", logs,
       {{"LOG/BINKD.LOG", BinkdSent("07 Dec 10:00:00", "/f/arj250.exe") +
                              "+ 08 Dec 10:00:00 [1] sent: /f/foo.zip (2"}},
       {}, 0, {{"ARJ250.EXE", 1}}, "07/12 10:00:00", kRaised},
      {"with KEEP_NAME_CASE Yes a raised entry keeps the list's spelling",
       logs + "KEEP_NAME_CASE yes\n",
       {{"LOG/BINKD.LOG", BinkdSent("07 Dec 10:00:00", "/f/ARJ250.EXE") +
                              BinkdSent("07 Dec 10:00:01", "/f/pkz204g.exe")}},
       {}, 0, {{"ARJ250.EXE", 1}, {"PKZ204G.EXE", 1}}, "07/12 10:00:01",
       "arj250.exe   [004] ARJ archiver\n"
       "Pkz204g.exe  [013] PKZIP\n"
       "FOO.ZIP      [000] foo\n"
       "my file.zip  [000] a name with a blank never matches a list entry\n"},
      {"the ignore list holds for binkd sends too", logs + "IGNORE .EXE\n",
       {{"LOG/BINKD.LOG", BinkdSent("07 Dec 10:00:00", "/f/arj250.exe") +
                              BinkdSent("07 Dec 10:00:01", "/f/foo.zip")}},
       {}, 0, {{"FOO.ZIP", 1}}, "07/12 10:00:01",
       "arj250.exe   [003] ARJ archiver\n"
       "Pkz204g.exe  [012] PKZIP\n"
       "FOO.ZIP      [001] foo\n"
       "my file.zip  [000] a name with a blank never matches a list entry\n"},
      {"across the turn of the year; lines up to Last_Time are old",
       logs + "Last_Time 30/12 23:00:00\n",
       {{"LOG/BINKD.LOG", BinkdSent("30 Dec 22:59:59", "/f/pkz204g.exe") +
                              BinkdSent("30 Dec 23:00:00", "/f/pkz204g.exe") +
                              BinkdSent("31 Dec 23:59:59", "/f/arj250.exe") +
                              BinkdSent("01 Jan 00:00:01", "/f/foo.zip")}},
       {}, 0, {{"ARJ250.EXE", 1}, {"FOO.ZIP", 1}}, "01/01 00:00:01",
       "ARJ250.EXE   [004] ARJ archiver\n"
       "Pkz204g.exe  [012] PKZIP\n"
       "FOO.ZIP      [001] foo\n"
       "my file.zip  [000] a name with a blank never matches a list entry\n"},
      {"binkd.cfg: its first log line, escapes and comments, the path as written", 
       "BINKD_CFG D:\\BINKD\\BINKD.CFG\n",
       {{"BINKD/BINKD.CFG", "# log D:\\\\LOG\\\\WRONG.LOG\nloglevel 4\n"
                            "  Log \"D:\\\\LOG\\\\BINKD.LOG\" # the log\nlog D:/LOG/WRONG.LOG\n"},
        {"LOG/BINKD.LOG", BinkdSent("07 Dec 10:00:00", "/f/arj250.exe")},
        {"LOG/WRONG.LOG", BinkdSent("07 Dec 10:00:00", "/f/foo.zip")}},
       {}, 0, {{"ARJ250.EXE", 1}}, "07/12 10:00:00", kRaised},
      {"binkd.cfg: a relative log path is taken from the config's directory",
       "BINKD_CFG D:\\BINKD\\BINKD.CFG\n",
       {{"BINKD/BINKD.CFG", "log logs/binkd.log\n"},
        {"BINKD/LOGS/BINKD.LOG", BinkdSent("07 Dec 10:00:00", "/f/arj250.exe")}},
       {}, 0, {{"ARJ250.EXE", 1}}, "07/12 10:00:00", kRaised},
      {"binkd.cfg: %NAME% is the environment variable NAME",
       "BINKD_CFG D:\\BINKD\\BINKD.CFG\n",
       {{"BINKD/BINKD.CFG", "log %FTN_LOGS%\\\\binkd.log\n"},
        {"LOG/BINKD.LOG", BinkdSent("07 Dec 10:00:00", "/f/arj250.exe")}},
       {{"FTN_LOGS", "D:\\LOG"}}, 0, {{"ARJ250.EXE", 1}}, "07/12 10:00:00", kRaised},
      {"binkd.cfg that can't be opened, no other log: errorlevel 1",
       "BINKD_CFG D:\\BINKD\\NONE.CFG\n", {}, {}, 1, {}, ""},
      {"binkd.cfg without a log line, no other log: errorlevel 1",
       "BINKD_CFG D:\\BINKD\\BINKD.CFG\n",
       {{"BINKD/BINKD.CFG", "#log D:\\\\LOG\\\\BINKD.LOG\nloglevel 4\nlogfile x\nlog\n"}}, {}, 1,
       {}, ""},
      {"a binkd log that can't be opened, no other log: errorlevel 1",
       "BINKD_LOG D:\\LOG\\NONE.LOG\n", {}, {}, 1, {}, ""},
  };
  for (const RunCase& c : cases) ExpectRun(c);
}

// ---- mixed nodes ----------------------------------------------------------

// T-Mail and binkd logs in one run: one table in a fixed order, one Last_Time.
TEST(BinkdRun, BesideTmailLogsSharingOneLastTime) {
  Node node("binkd_mixed");
  node.Write("FIDO/ZIRKA.CTL",
             ZirkaCtl("CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\nBINKD_CFG D:\\BINKD\\BINKD.CFG\n"
                      "LOG_PATH D:\\LOG\\OLD.LOG\nBINKD_LOG d:\\log\\binkd2.log\n"
                      "BINKD_LOG D:\\LOG\\OLD.LOG\nLast_Time 06/12 12:00:00\n"));
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", "07/12 09:00:00 ZS C:\\FILES\\ARJ250.EXE OK: 2400 cps\n"
                                  "08/12 11:00:00 ZS C:\\FILES\\FOO.ZIP OK: 2400 cps\n");
  node.Write("LOG/OLD.LOG", "05/12 09:00:00 ZS C:\\FILES\\ARJ250.EXE OK: 2400 cps\n");
  node.Write("BINKD/BINKD.CFG", "log binkd.log\n");
  node.WriteRaw("BINKD/BINKD.LOG", BinkdSent("06 Dec 11:00:00", "/f/foo.zip") +
                                       BinkdSent("08 Dec 12:30:00", "/f/arj250.exe"));
  node.WriteRaw("LOG/BINKD2.LOG", BinkdSent("08 Dec 12:00:00", "/f/foo.zip"));
  node.Write("FILES/UTIL/FILES.BBS", kList);

  const RunResult r = node.Run({kUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  // LOG_PATH logs, BINKD_LOG logs, T-MAIL.CTL's log, the log of binkd.cfg; a log
  // named twice is taken once, whatever keyword names it.
  EXPECT_EQ(Slice(r.screen, "  (0208, log #00)", "\xF9 "),
            "  (0208, log #00)\n"
            "Log #0: D:\\LOG\\OLD.LOG\n"
            "  (0416, log #01)\n"
            "Log #1: D:\\LOG\\BINKD2.LOG\n"
            "  (0624, log #02)\n"
            "Log #2: D:\\LOG\\OLD.LOG\n"
            "?WARN-Duplicated log D:\\LOG\\OLD.LOG\n"
            "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n"
            "  (0624, log #02)\n"
            "Log path found at T-Mail.Ctl: D:\\T-MAIL\\T-MAIL.LOG\n"
            "\xFE Reading D:\\BINKD\\BINKD.CFG\n"
            "  (0832, log #03)\n"
            "Log path found at binkd config: D:\\BINKD\\BINKD.LOG\n"
            "\n");
  EXPECT_NE(r.screen.find("\xF9 Checking D:\\LOG\\OLD.LOG...old\n"
                          "\xF9 Checking D:\\LOG\\BINKD2.LOG...OK\n"
                          "\xF9 Checking D:\\T-MAIL\\T-MAIL.LOG...OK\n"
                          "\xF9 Checking D:\\BINKD\\BINKD.LOG...OK\n"),
            std::string::npos)
      << r;
  EXPECT_NE(r.screen.find("Log D:\\BINKD\\BINKD.LOG Last time: 08/12 12:30:00\n"
                          "Finally Last_Time=08/12 12:30:00\n"),
            std::string::npos)
      << r;
  EXPECT_NE(Normalize(node.Read("FIDO/ZIRKA.LOG")).find("?WARN-Log D:\\LOG\\OLD.LOG occured two or more times\r\n"),
            std::string::npos);
  EXPECT_EQ(Normalize(node.Read("FIDO/REPORT.TXT")), ReportOf({{"FOO.ZIP", 2}, {"ARJ250.EXE", 2}}));
  EXPECT_EQ(StoredLastTime(node), "08/12 12:30:00");

  // Nothing is new after the newest line of any log; one more binkd send is.
  const RunResult again = node.Run({kUseCtl});
  EXPECT_EQ(again.exitCode, 4) << again;
  node.WriteRaw("BINKD/BINKD.LOG", node.Read("BINKD/BINKD.LOG") +
                                       BinkdSent("08 Dec 12:30:01", "/f/arj250.exe"));
  const RunResult third = node.Run({kUseCtl});
  EXPECT_EQ(third.exitCode, 0) << third;
  EXPECT_EQ(Normalize(node.Read("FIDO/REPORT.TXT")), ReportOf({{"ARJ250.EXE", 1}}));
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"),
            Dos("ARJ250.EXE   [006] ARJ archiver\n"
                "Pkz204g.exe  [012] PKZIP\n"
                "FOO.ZIP      [002] foo\n"
                "my file.zip  [000] a name with a blank never matches a list entry\n"));
}

// The line binkd is writing when the program runs is read whole by the next run,
// counted once; its time is stored only then.
TEST(BinkdRun, HalfWrittenLastLineIsReadByTheNextRun) {
  Node node("binkd_half");
  node.Write("FIDO/ZIRKA.CTL", ZirkaCtl("BINKD_LOG D:\\LOG\\BINKD.LOG\n"));
  node.Write("FILES/UTIL/FILES.BBS", kList);
  const std::string whole = BinkdSent("07 Dec 10:00:00", "/f/arj250.exe");
  const std::string half = "+ 07 Dec 10:05:00 [1] sent: /f/foo.zip (225392, 22";
  node.WriteRaw("LOG/BINKD.LOG", whole + half);
  RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(StoredLastTime(node), "07/12 10:00:00");

  node.WriteRaw("LOG/BINKD.LOG", whole + half + "04.00 CPS, 2:5020/100@fidonet)\n");
  r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Normalize(node.Read("FIDO/REPORT.TXT")), ReportOf({{"FOO.ZIP", 1}}));
  EXPECT_EQ(StoredLastTime(node), "07/12 10:05:00");
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos(
                "ARJ250.EXE   [004] ARJ archiver\n"
                "Pkz204g.exe  [012] PKZIP\n"
                "FOO.ZIP      [001] foo\n"
                "my file.zip  [000] a name with a blank never matches a list entry\n"));
  EXPECT_EQ(node.Run({kUseCtl}).exitCode, 4);
}

// What debug mode says about binkd.cfg and the settings.
TEST(BinkdRun, DebugLinesOfBinkdCfgAndKeepNameCase) {
  Node node("binkd_debug");
  node.Write("FIDO/ZIRKA.CTL", ZirkaCtl("CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
                                        "BINKD_CFG D:\\BINKD\\BINKD.CFG\nKEEP_NAME_CASE Yes\n"));
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", "07/12 09:00:00 ZS C:\\FILES\\ARJ250.EXE OK: 2400 cps\n");
  node.Write("FILES/UTIL/FILES.BBS", kList);
  RunResult r = node.Run({kUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(r.screen, "Log path found", "\n\n"),
            "Log path found at T-Mail.Ctl: D:\\T-MAIL\\T-MAIL.LOG\n"
            "?WARN-Can't open binkd config D:\\BINKD\\BINKD.CFG");
  EXPECT_NE(r.screen.find("Right bracket : ]\nName case     : kept as the list spells it\n"),
            std::string::npos)
      << r;
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS").substr(0, 20), "arj250.exe   [004] A");

  node.Write("BINKD/BINKD.CFG", "loglevel 4\n");
  r = node.Run({kUseCtl, "-d", "-f"});
  EXPECT_EQ(Slice(r.screen, "Log path found", "\n\n"),
            "Log path found at T-Mail.Ctl: D:\\T-MAIL\\T-MAIL.LOG\n"
            "\xFE Reading D:\\BINKD\\BINKD.CFG\n"
            "?WARN-No log line in binkd config D:\\BINKD\\BINKD.CFG");
}

}  // namespace
}  // namespace zirka::e2e
