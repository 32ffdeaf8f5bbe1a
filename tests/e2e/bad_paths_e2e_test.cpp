// Paths that lead nowhere a node expects: a directory where a file should be, an
// area directory that is gone, paths longer than the system takes, a T-MAIL
// variable pointing nowhere. Each is passed over as the rules say (or ends the
// run with the errorlevel they give), and nothing else changes.

#include <gtest/gtest.h>

#include <string>

#include "e2e/damaged_node.h"
#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

const std::vector<std::string> kEveryRunFile = {kUtilList,   kGamesList,  kNewsList,
                                                kHealthyCtl, kHealthyPositions, kProgramLog, kReport};

bool Shows(const RunResult& r, const std::string& text) {
  return r.screen.find(text) != std::string::npos;
}

// The snapshot without the program copy a run installs in D:\BIN.
Snapshot WithoutProgram(Snapshot snapshot) {
  for (auto it = snapshot.begin(); it != snapshot.end();) {
    it = it->first.rfind("BIN/zirka", 0) == 0 && it->first.find(".$#!") == std::string::npos
             ? snapshot.erase(it)
             : std::next(it);
  }
  return snapshot;
}

// ZIRKA.CTL that takes its log from LOG_PATH instead of naming T-MAIL.CTL, so
// that T-MAIL.CTL is searched for.
std::string CtlWithoutCtlPath(const std::string& before = "") {
  return "LOG D:\\FIDO\\ZIRKA.LOG\n"
         "REPORT D:\\FIDO\\REPORT.TXT\n"
         "KEEP_REPORT No\n"
         "LOG_PATH D:\\T-MAIL\\T-MAIL.LOG\n" +
         before +
         "AREA D:\\FILES\\UTIL\n"
         "AREA D:\\FILES\\GAMES\n"
         "AREA D:\\FILES\\NEWS\n"
         "Last_Time 01/05 00:00:00  ; Last analisis time\n";
}

void ExpectListsRaised(const Node& node) {
  EXPECT_EQ(node.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node.Read(kGamesList), GamesList(2));
  EXPECT_EQ(node.Read(kNewsList), NewsList(11));
}

// ---- a directory where a file should be -------------------------------------

TEST(BadPathRun, DirectoriesWhereFilesShouldBe) {
  Node node("directories");
  MakeHealthyNode(node);
  node.Write(kHealthyCtl, HealthyCtl("LOG_PATH D:\\T-MAIL\\OLD.LOG\n"));
  node.Remove(kGamesList);
  node.Write(kGamesList + "/INSIDE.TXT", "a file in a directory named FILES.BBS\n");
  node.Write("FILES/NEWS/FILES.!#$/INSIDE.TXT", "a directory named like the temporary file\n");
  node.MakeDir("T-MAIL/OLD.LOG");
  node.MakeDir(kReport);
  node.MakeDir("BIN/zirka.$#!");  // where ZIRKA.CTL's first temporary file would go
  const Snapshot before = TreeSnapshot(node);

  const RunResult r = node.RunInstalled("BIN", {kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  // The log that is a directory and the area whose list is one are left out;
  // the list whose temporary file can't be made is named; no report can be had.
  EXPECT_TRUE(Shows(r, "\xF9 Checking D:\\T-MAIL\\T-MAIL.LOG...OK\n\n")) << r;
  EXPECT_FALSE(Shows(r, "OLD.LOG")) << r;
  EXPECT_TRUE(Shows(r,
                    "\xFE Processing 2 file areas\n  In process :     \b\b\b\b   1"
                    "\b\b\b\b   2!ERR-Cann't create temp file D:\\FILES\\NEWS\\FILES.!#$\n"))
      << r;
  EXPECT_EQ(node.Read(kUtilList), UtilList(1));
  // ZIRKA.CTL still gets its time, through a temporary file beside it.
  EXPECT_EQ(node.Read(kHealthyCtl),
            Dos(CtlWithLastTime("02/05 12:30:00", "LOG_PATH D:\\T-MAIL\\OLD.LOG\n")));
  EXPECT_EQ(ChangedFiles(before, WithoutProgram(TreeSnapshot(node))),
            Files({kUtilList, kHealthyCtl, kHealthyPositions, kProgramLog}));
}

TEST(BadPathRun, ControlFileThatIsADirectory) {
  Node node("ctl_directory");
  MakeHealthyNode(node);
  node.MakeDir("FIDO/MY.CTL");
  const Snapshot before = TreeSnapshot(node);
  const RunResult r = node.Run({"-c=D:\\FIDO\\MY.CTL"});
  EXPECT_EQ(r.exitCode, 5) << r;
  EXPECT_EQ(r.screen,
            "\xFE Path to zirka.ctl overriden: D:\\FIDO\\MY.CTL\n"
            "!FERR-Main control file D:\\FIDO\\MY.CTL not found!\n\n" +
                ExitLines(5));
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files({}));
}

TEST(BadPathRun, TmailFilesThatAreDirectories) {
  Node node("tmail_directories");
  MakeHealthyNode(node);
  // The one log is a directory: no log at all, errorlevel 2.
  node.Remove(kHealthyLog);
  node.MakeDir(kHealthyLog);
  Snapshot before = TreeSnapshot(node);
  RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 2) << r;
  EXPECT_TRUE(Shows(r, "!FERR-No existing log files found!\n\n" + ExitLines(2))) << r;
  // The report is opened (and made anew, KEEP_REPORT No) before the logs are sought.
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files({kProgramLog, kReport}));

  // T-MAIL.CTL named by CTL_PATH is a directory: errorlevel 1.
  node.Remove("T-MAIL/T-MAIL.CTL");
  node.MakeDir("T-MAIL/T-MAIL.CTL");
  before = TreeSnapshot(node);
  r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_TRUE(Shows(r, "!FERR-T-Mail main control file not found!\n\n" + ExitLines(1))) << r;
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files({kProgramLog}));  // report still empty
}

// ---- areas that are gone ---------------------------------------------------------

TEST(BadPathRun, AreaDirectoriesThatAreGone) {
  Node node("areas_gone");
  MakeHealthyNode(node);
  node.Write(kHealthyCtl,
             "LOG D:\\FIDO\\ZIRKA.LOG\n"
             "CTL_PATH D:\\T-MAIL\\T-MAIL.CTL\n"
             "AREA D:\\FILES\\GONE\n"
             "AREA D:\\FILES\\UTIL\n"
             "AREA D:\\FILES\\UTIL\\FILES.BBS\n"  // a file, not a directory
             "AREA D:\\NO\\SUCH\\DRIVE\\AT\\ALL\n"
             "AREA D:\\FILES\\NEWS\n"
             "Last_Time 01/05 00:00:00\n");
  const Snapshot before = TreeSnapshot(node);
  const RunResult r = node.Run({kHealthyUseCtl, "-d"});
  EXPECT_EQ(r.exitCode, 0) << r;
  for (const std::string gone : {"01: D:\\FILES\\GONE\\", "02: D:\\FILES\\UTIL\\FILES.BBS\\",
                                 "02: D:\\NO\\SUCH\\DRIVE\\AT\\ALL\\"}) {
    EXPECT_TRUE(Shows(r, ">  area " + gone + "FILES.BBS not found! Ignoring...\n")) << gone << r;
  }
  EXPECT_TRUE(Shows(r, "\xFE Processing 2 file areas\n")) << r;
  EXPECT_EQ(node.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node.Read(kNewsList), NewsList(11));
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)),
            Files({kUtilList, kNewsList, kHealthyCtl, kHealthyPositions, kProgramLog}));

  // An area whose directory went away since the last run: the others go on.
  node.Remove("FILES/NEWS");
  node.Write(kHealthyLog, HealthyLog() + "03/05 09:00:00 ZS D:\\FILES\\UTIL\\FOO.ZIP OK: 1 cps\n");
  const RunResult next = node.Run({kHealthyUseCtl});
  EXPECT_EQ(next.exitCode, 0) << next;
  EXPECT_TRUE(Shows(next, "\xFE Processing 1 file areas\n")) << next;
  EXPECT_EQ(node.Read(kUtilList), UtilList(2));
  EXPECT_FALSE(node.Exists("FILES/NEWS"));
}

// ---- paths longer than the system takes --------------------------------------------

TEST(BadPathRun, PathsLongerThanTheSystemTakes) {
  Node node("long_paths");
  MakeHealthyNode(node);
  const std::string longDir(5000, 'L');
  Snapshot before = TreeSnapshot(node);

  // A main control file path of 5000 characters: not found, errorlevel 5.
  RunResult r = node.Run({"-c=D:\\" + longDir + "\\zirka.ctl"});
  EXPECT_EQ(r.exitCode, 5) << r;
  EXPECT_TRUE(Shows(r, "!FERR-Main control file D:\\" + longDir + "\\ZIRKA.CTL not found!\n\n"))
      << r.screen.substr(0, 200);
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files({}));

  // A T-MAIL variable of 5000 characters: T-MAIL.CTL is not there, the run goes
  // on with the log of LOG_PATH.
  node.Write(kHealthyCtl, CtlWithoutCtlPath());
  before = TreeSnapshot(node);
  RunOptions tmail;
  tmail.env["T-MAIL"] = "D:\\" + longDir;
  r = node.Run({kHealthyUseCtl}, tmail);
  EXPECT_EQ(r.exitCode, 0) << r.screen.substr(0, 300);
  ExpectListsRaised(node);
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files(kEveryRunFile));
}

TEST(BadPathRun, AreaLineLongerThanAControlLine) {
  Node node("long_area_line");
  MakeHealthyNode(node);
  // Read in pieces of 180 characters: the first piece names a directory that is
  // not there, the others are no AREA lines, and the AREA lines below still count.
  node.Write(kHealthyCtl, CtlWithoutCtlPath("AREA D:\\FILES\\" + std::string(400, 'A') + "\n"));
  const Snapshot before = TreeSnapshot(node);
  const RunResult r = node.Run({kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_TRUE(Shows(r, "\xFE Processing 3 file areas\n")) << r;
  ExpectListsRaised(node);
  EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files(kEveryRunFile));
}

// ---- T-MAIL pointing nowhere -------------------------------------------------------------

TEST(BadPathRun, TmailVariablePointingNowhere) {
  Node node("tmail_nowhere");
  MakeHealthyNode(node);
  node.Write(kHealthyCtl, CtlWithoutCtlPath());
  for (const std::string nowhere : {"D:\\NOWHERE", "D:\\T-MAIL\\T-MAIL.LOG", "Q:\\"}) {
    SCOPED_TRACE("T-MAIL=" + nowhere);
    node.Write(kHealthyCtl, CtlWithoutCtlPath());
    node.Remove(kHealthyPositions);
    node.WriteRaw(kUtilList, UtilList(0));
    node.WriteRaw(kGamesList, GamesList(1));
    node.WriteRaw(kNewsList, NewsList(10));
    node.Remove(kReport);
    const Snapshot before = TreeSnapshot(node);
    RunOptions tmail;
    tmail.env["T-MAIL"] = nowhere;
    const RunResult r = node.Run({kHealthyUseCtl, "-d"}, tmail);
    EXPECT_EQ(r.exitCode, 0) << r;
    const std::string tried = nowhere + (nowhere.back() == '\\' ? "" : "\\") + "t-mail.ctl";
    EXPECT_TRUE(Shows(r,
                      "\"T-MAIL\" variable exists, but T-Mail.Ctl not found there!\n"
                      "Invalid path is " +
                          tried + "\n\n"))
        << r;
    ExpectListsRaised(node);
    EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files(kEveryRunFile));
  }
}

}  // namespace
}  // namespace zirka::e2e
