// Whole runs on nodes with the logs of Argus (Radius, Taurus) and qico, alone and
// beside every other kind of log; list names longer than 12 characters (LONG_NAMES);
// control files, logs and lists that begin with a UTF-8 byte order mark.

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
const std::string kBom = "\xEF\xBB\xBF";

std::string ZirkaCtl(const std::string& extra) {
  return "LOG D:\\FIDO\\ZIRKA.LOG\nREPORT D:\\FIDO\\REPORT.TXT\nKEEP_REPORT No\n"
         "AREA D:\\FILES\\UTIL\n" + extra;
}


const std::string kList =
    "ARJ250.EXE   [003] ARJ archiver\n"
    "NODELIST.Z75 [041] Nodelist\n"
    "PKZ204G.EXE  [012] PKZIP\n"
    "foo.zip      [000] foo\n";

// ---- one mailer alone -------------------------------------------------------

struct MailerCase {
  const char* keyword;
  std::string log;     // sends ARJ250.EXE, NODELIST.Z75 and foo.zip, each once
  std::string later;   // one more send of ARJ250.EXE, later
  std::string half;    // a last line being written
  const char* lastTime;
};

// A node with one mailer's log and no T-MAIL.CTL: the example lines of each log
// count as described, and nothing else; later lines count in the next run, a line
// being written only once it is whole; errorlevels 1 and 2 as for LOG_PATH.
TEST(MailerRun, ArgusOrQicoAloneWithoutTmailCtl) {
  const MailerCase cases[] = {
      {"ARGUS_LOG",
       "  15-Mar-2024 14:22:03 Sending 'D:\\FILES\\UTIL\\ARJ250.EXE' (225392b)\n"
       "  15-Mar-2024 14:22:05 Sent 'ARJ250.EXE'\n"
       "  15-Mar-2024 14:22:40 3120 CPS, Sent 'NODELIST.Z75'\n"
       "  15-Mar-2024 14:23:10 2210 CPS, Sent deleted '5A3F9C01.PKT'\n"
       "* 15-Mar-2024 14:24:00 Remote will accept 'PKZ204G.EXE' later\n"
       "  15-Mar-2024 14:24:01 Sent 'D:\\FILES\\UTIL\\Foo.Zip', ZLIB: 1200 of 1500\r\n"
       "  15-Mar-2024 14:24:02 Received 'ARJ250.EXE'\n",
       "  15-Mar-2024 14:30:00 Sent/move 'ARJ250.EXE'\n", "  15-Mar-2024 14:31:00 Sent 'FOO", "15/03 14:24:02"},
      {"QICO_LOG",
       "15 Mar 24 14:22:05 binkp[4711]: sent: arj250.exe, 225392 bytes, 2204 cps [ok]\n"
       "15 Mar 24 14:22:40 ttyS1[4712]: sent: nodelist.z75, 51234 bytes (from 20480), 1024 cps [ok]\n"
       "15 Mar 24 14:23:00 tcpip[4713]: sent: pkz204g.exe, 0 bytes, 0 cps [skipped]\n"
       "15 Mar 24 14:23:05.123 tcpip[4713]: sent: foo.zip, 1000 bytes, 1000 cps [ok]\n"
       "15 Mar 24 14:23:06 tcpip[4713]: rcvd: arj250.exe, 1 bytes, 1 cps [ok]\n",
       QicoSent("15 Mar 24 14:30:00", "/srv/files/ARJ250.EXE"),
       "15 Mar 24 14:31:00 tcpip[4713]: sent: foo.zip, 1000 bytes, 10", "15/03 14:23:06"},
  };
  for (const MailerCase& c : cases) {
    SCOPED_TRACE(c.keyword);
    const std::string logLine = std::string(c.keyword) + " D:\\LOG\\MAILER.LOG\n";
    Node node("mailer_alone");
    node.Write("FIDO/ZIRKA.CTL", ZirkaCtl(logLine));
    node.Write("FILES/UTIL/FILES.BBS", kList);
    node.WriteRaw("LOG/MAILER.LOG", c.log + c.half);
    RunOptions options;
    options.env["T-MAIL"] = std::nullopt;
    RunResult r = node.Run({kUseCtl}, options);
    EXPECT_EQ(r.exitCode, 0) << r;
    const std::string argusPkt = c.keyword[0] == 'A' ? "5A3F9C01.PKT" : "";
    std::vector<std::pair<std::string, int>> sent = {{"ARJ250.EXE", 1}, {"NODELIST.Z75", 1}};
    if (!argusPkt.empty()) sent.emplace_back(argusPkt, 1);
    sent.emplace_back("FOO.ZIP", 1);
    EXPECT_EQ(Normalize(node.Read("FIDO/REPORT.TXT")), ReportOf(sent));
    EXPECT_EQ(StoredLastTime(node), c.lastTime);
    EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos("ARJ250.EXE   [004] ARJ archiver\n"
                                                     "NODELIST.Z75 [042] Nodelist\n"
                                                     "PKZ204G.EXE  [012] PKZIP\n"
                                                     "FOO.ZIP      [001] foo\n"));
    EXPECT_EQ(node.Run({kUseCtl}, options).exitCode, 4);
    node.WriteRaw("LOG/MAILER.LOG", c.log + c.later);
    r = node.Run({kUseCtl}, options);
    EXPECT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(Normalize(node.Read("FIDO/REPORT.TXT")), ReportOf({{"ARJ250.EXE", 1}}));

    // No log to be had: 1 without T-MAIL.CTL, 2 with one.
    node.Write("FIDO/ZIRKA.CTL", ZirkaCtl(std::string(c.keyword) + " D:\\LOG\\NONE.LOG\n"));
    EXPECT_EQ(node.Run({kUseCtl}, options).exitCode, 1);
    node.Write("T-MAIL/T-MAIL.CTL", "; no LOG line\n");
    node.Write("FIDO/ZIRKA.CTL", ZirkaCtl(std::string(c.keyword) +
                                          " D:\\LOG\\NONE.LOG\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"));
    EXPECT_EQ(node.Run({kUseCtl}, options).exitCode, 2);
  }
}

// ---- every kind of log ------------------------------------------------------

// Logs of T-Mail, binkd, Argus and qico in one run: one table in a fixed order, a
// log named twice read once, one Last_Time across all of them.
TEST(MailerRun, EveryKindOfLogSharesOneLastTime) {
  Node node("mailer_mixed");
  node.Write("FIDO/ZIRKA.CTL",
             ZirkaCtl("QICO_LOG D:\\LOG\\QICO.LOG\nARGUS_LOG D:\\LOG\\ARGUS.LOG\n"
                      "BINKD_CFG D:\\BINKD\\BINKD.CFG\nBINKD_LOG D:\\LOG\\BINKD.LOG\n"
                      "QICO_LOG d:\\log\\argus.log\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
                      "LOG_PATH D:\\LOG\\OLD.LOG\nLast_Time 06/12 12:00:00\n"));
  node.Write("T-MAIL/T-MAIL.CTL", "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", "07/12 09:00:00 ZS C:\\FILES\\ARJ250.EXE OK: 2400 cps\n");
  node.Write("LOG/OLD.LOG", "05/12 09:00:00 ZS C:\\FILES\\ARJ250.EXE OK: 2400 cps\n");
  node.Write("BINKD/BINKD.CFG", "log binkd2.log\n");
  node.WriteRaw("BINKD/BINKD2.LOG", BinkdSent("08 Dec 10:00:00", "/f/pkz204g.exe"));
  node.WriteRaw("LOG/BINKD.LOG", BinkdSent("06 Dec 11:00:00", "/f/foo.zip") +
                                     BinkdSent("07 Dec 10:00:00", "/f/foo.zip"));
  node.WriteRaw("LOG/ARGUS.LOG", "  06-Dec-2026 12:00:00 Sent 'ARJ250.EXE'\n"
                                 "  08-Dec-2026 12:30:00 Sent 'NODELIST.Z75'\n");
  node.WriteRaw("LOG/QICO.LOG", QicoSent("08 Dec 26 12:00:00", "foo.zip") +
                                    QicoSent("08 Dec 26 12:29:59.999", "arj250.exe"));
  node.Write("FILES/UTIL/FILES.BBS", kList);

  const RunResult r = node.Run({kUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(Slice(r.screen, "Log #0", "\xF9 "),
            "Log #0: D:\\LOG\\OLD.LOG\n"
            "  (0416, log #01)\n"
            "Log #1: D:\\LOG\\BINKD.LOG\n"
            "  (0624, log #02)\n"
            "Log #2: D:\\LOG\\ARGUS.LOG\n"
            "  (0832, log #03)\n"
            "Log #3: D:\\LOG\\QICO.LOG\n"
            "  (1040, log #04)\n"
            "Log #4: D:\\LOG\\ARGUS.LOG\n"
            "?WARN-Duplicated log D:\\LOG\\ARGUS.LOG\n"
            "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n"
            "  (1040, log #04)\n"
            "Log path found at T-Mail.Ctl: D:\\T-MAIL\\T-MAIL.LOG\n"
            "\xFE Reading D:\\BINKD\\BINKD.CFG\n"
            "  (1248, log #05)\n"
            "Log path found at binkd config: D:\\BINKD\\BINKD2.LOG\n"
            "\n");
  EXPECT_NE(r.screen.find("Log D:\\LOG\\QICO.LOG Last time: 08/12 12:29:59\n"
                          "Log D:\\T-MAIL\\T-MAIL.LOG Last time: 07/12 09:00:00\n"
                          "Log D:\\BINKD\\BINKD2.LOG Last time: 08/12 10:00:00\n"
                          "Finally Last_Time=08/12 12:30:00\n"),
            std::string::npos)
      << r;
  EXPECT_EQ(Normalize(node.Read("FIDO/REPORT.TXT")),
            ReportOf({{"FOO.ZIP", 2}, {"NODELIST.Z75", 1}, {"ARJ250.EXE", 2}, {"PKZ204G.EXE", 1}}));
  EXPECT_EQ(StoredLastTime(node), "08/12 12:30:00");
  EXPECT_EQ(node.Run({kUseCtl}).exitCode, 4);
  node.WriteRaw("LOG/QICO.LOG",
                node.Read("LOG/QICO.LOG") + QicoSent("08 Dec 26 12:30:01", "foo.zip"));
  EXPECT_EQ(node.Run({kUseCtl}).exitCode, 0);
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos("ARJ250.EXE   [005] ARJ archiver\n"
                                                   "NODELIST.Z75 [042] Nodelist\n"
                                                   "PKZ204G.EXE  [013] PKZIP\n"
                                                   "FOO.ZIP      [003] foo\n"));
}

// ---- long names -------------------------------------------------------------

TEST(MailerRun, LongNamesOnlyWithTheKeyword) {
  const std::string list =
      "nodelist.2026-340.zip [003] Nodelist\n"
      "super-long-file-name-here.tar.gz [010] A long name, its counter past column 20\n"
      "binkd-1.1a-preview.tar.gz [000] ignored\n"
      "long-name-with-flag.zip /t [005] a Maximus flag\n"
      "a-long-name-without-counter.zip  no counter yet\n"
      "ABCDEFGH.ZIP [001] twelve characters\n"
      "ABCDEFGHI.ZIP [001] thirteen characters\n";
  std::string log;
  for (const char* path : {"/f/nodelist.2026-340.zip", "/f/super-long-file-name-here.tar.gz",
                           "c:\\f\\SUPER-LONG-FILE-NAME-HERE.TAR.GZ", "/f/binkd-1.1a-preview.tar.gz",
                           "/f/long-name-with-flag.zip", "/f/a-long-name-without-counter.zip",
                           "/f/abcdefgh.zip", "/f/abcdefghi.zip"}) {
    log += BinkdSent("07 Dec 10:00:00", path);
  }
  const std::string unchanged =
      "ABCDEFGH.ZIP [002] twelve characters\n"
      "ABCDEFGHI.ZIP [001] thirteen characters\n";
  const struct {
    const char* setting;
    std::string list;  // after the run
    bool warned;       // the long-name warning of debug mode
  } cases[] = {
      {"LONG_NAMES Yes\n",
       "NODELIST.2026-340.ZIP [004] Nodelist\n"
       "SUPER-LONG-FILE-NAME-HERE.TAR.GZ [012] A long name, its counter past column 20\n"
       "binkd-1.1a-preview.tar.gz [000] ignored\n"
       "LONG-NAME-WITH-FLAG.ZIP /t [006] a Maximus flag\n"
       "A-LONG-NAME-WITHOUT-COUNTER.ZIP [001]  no counter yet\n"
       "ABCDEFGH.ZIP [002] twelve characters\n"
       "ABCDEFGHI.ZIP [002] thirteen characters\n",
       false},
      {"", list.substr(0, list.find("ABCDEFGH.ZIP")) + unchanged, true},
      {"LONG_NAMES No\n", list.substr(0, list.find("ABCDEFGH.ZIP")) + unchanged, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    Node node("long_names");
    node.Write("FIDO/ZIRKA.CTL", ZirkaCtl(std::string(c.setting) +
                                          "BINKD_LOG D:\\LOG\\BINKD.LOG\nIGNORE -PREVIEW.TAR.GZ\n"));
    node.Write("FILES/UTIL/FILES.BBS", list);
    node.WriteRaw("LOG/BINKD.LOG", log);
    const RunResult r = node.Run({kUseCtl, "-d"});
    EXPECT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos(c.list));
    EXPECT_EQ(r.screen.find("do NOT supports long filenames") != std::string::npos, c.warned);
    EXPECT_EQ(Normalize(node.Read("FIDO/REPORT.TXT")),
              ReportOf({{"NODELIST.2026-340.ZIP", 1}, {"SUPER-LONG-FILE-NAME-HERE.TAR.GZ", 2},
                        {"LONG-NAME-WITH-FLAG.ZIP", 1}, {"A-LONG-NAME-WITHOUT-COUNTER.ZIP", 1},
                        {"ABCDEFGH.ZIP", 1}, {"ABCDEFGHI.ZIP", 1}}));
  }
}

// ---- byte order marks -------------------------------------------------------

// Every file a run reads may begin with a byte order mark: the first keyword, log
// line and list entry count; the list and ZIRKA.CTL keep their marks.
TEST(MailerRun, FilesThatBeginWithAByteOrderMark) {
  Node node("byte_order_mark");
  node.Write("FIDO/ZIRKA.CTL", kBom + "BINKD_CFG D:\\BINKD\\BINKD.CFG\nCTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
                                      "AREA D:\\FILES\\UTIL\n");
  node.Write("BINKD/BINKD.CFG", kBom + "log binkd.log\n");
  node.WriteRaw("BINKD/BINKD.LOG", kBom + BinkdSent("07 Dec 10:00:00", "/f/foo.zip"));
  node.Write("T-MAIL/T-MAIL.CTL", kBom + "LOG t-mail.log\n");
  node.Write("T-MAIL/T-MAIL.LOG", kBom + "07/12 09:00:00 ZS C:\\FILES\\ARJ250.EXE OK: 2400 cps\n");
  node.Write("FILES/UTIL/FILES.BBS", kBom + kList);
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos(kBom + "ARJ250.EXE   [004] ARJ archiver\n"
                                                          "NODELIST.Z75 [041] Nodelist\n"
                                                          "PKZ204G.EXE  [012] PKZIP\n"
                                                          "FOO.ZIP      [001] foo\n"));
  EXPECT_EQ(node.Read("FIDO/ZIRKA.CTL").substr(0, 12), kBom + "BINKD_CFG");
  EXPECT_EQ(StoredLastTime(node), "07/12 10:00:00");
}

}  // namespace
}  // namespace zirka::e2e
