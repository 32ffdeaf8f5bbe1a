// Whole runs of the start of the program: command line, the main control file,
// the program log and report file, and the closing lines. Each run here ends at
// the search for T-MAIL.CTL, which none of these nodes has.

#include <gtest/gtest.h>

#include <string>

#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

const std::string kCtl = "FIDO/ZIRKA.CTL";
const std::string kUseCtl = "-c=D:\\FIDO\\ZIRKA.CTL";

const std::string kVersionText =
    "Zirka 3.8: raises the download counters in FILES.BBS from T-Mail logs\n"
    "One run counts the files the mailer sent since the last run\n"
    "Built for Win32 consoles and POSIX systems alike\n";

const std::string kReading = "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n";
const std::string kNoTmailCtl = "!FERR-T-Mail main control file not found!\n";
// What the search for T-MAIL.CTL shows in debug mode when it finds nothing.
const std::string kDebugTmailSearch =
    "T-Mail.Ctl not found in the current directory.\n"
    "Attempting to get \"T-MAIL\" environment variable...\n"
    "\"T-MAIL\" variable not found. Unable to find T-Mail.Ctl!\n\n\n";

// The program log of one run that ends without T-MAIL.CTL, normalised.
std::string LogOfRun(const std::string& afterStart = "") {
  return Dos("\n\n\xFE Zirka 3.8 started at Www Mmm DD hh:mm:ss YYYY\n" + afterStart +
             kNoTmailCtl + "\xFE Elapsed M:SS\n");
}

// ---- command line -------------------------------------------------------

TEST(CommandLineRun, VersionTextThenTheRunGoesOn) {
  Node node("version");
  const RunResult r = node.RunInstalled("FIDO", {"version"});
  EXPECT_EQ(r.exitCode, 5) << r;
  EXPECT_EQ(r.screen, kVersionText + "!FERR-Main control file " +
                          node.InstalledCtlPath("FIDO") + " not found!\n\n" + ExitLines(5));
}

TEST(CommandLineRun, VersionTwiceAndVersionInCapitals) {
  Node node("version_twice");
  node.Write(kCtl, "");
  RunResult r = node.Run({"version", "VERSION", "Version", "version", kUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, kVersionText + kVersionText +
                          "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n" + kReading +
                          ExitLines(1));
}

TEST(CommandLineRun, DebugSwitchMatchesOnItsFirstTwoCharacters) {
  Node node("debug_dx");
  node.Write(kCtl, "");
  const RunResult r = node.Run({"-dx", kUseCtl, "/D"});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, "\xFE Debug mode is ON\n"
                      "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n"
                      "\xFE Debug mode is ON\n" +
                          kReading + kDebugTmailSearch + ExitLines(1));
}

TEST(CommandLineRun, ForcedAndDebugNeedTwoArguments) {
  Node node("forced_fd");
  node.Write(kCtl, "LOG D:\\FIDO\\ZIRKA.LOG\n");
  const RunResult r = node.Run({kUseCtl, "-fd"});
  EXPECT_EQ(r.exitCode, 1) << r;
  // Forced mode, and no debug lines.
  EXPECT_EQ(r.screen, "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n"
                      "\xFE Forced analisis.\n\n" +
                          kReading + kNoTmailCtl + "\n" + ExitLines(1));
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")), LogOfRun("\xFE Forced analisis.\n"));
}

TEST(CommandLineRun, ForcedModeInDebugModeExplainsItself) {
  Node node("forced_debug");
  node.Write(kCtl, "LOG D:\\FIDO\\ZIRKA.LOG\n");
  const RunResult r = node.Run({"/F", "-d", kUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, "\xFE Debug mode is ON\n"
                      "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n"
                      "\xFE Forced analisis.\n\n"
                      "Ignoring Last_Time variable and assuming all log files are new...\n" +
                          kReading + kDebugTmailSearch + kNoTmailCtl + "\n" + ExitLines(1));
  // The explanation is for the screen only.
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")), LogOfRun("\xFE Forced analisis.\n"));
}

TEST(CommandLineRun, UnknownArgumentsAreIgnored) {
  Node node("unknown_args");
  node.Write(kCtl, "");
  const RunResult r = node.Run({"-x", "f", "--debug", "-c", "/cfg", kUseCtl, "+f"});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen,
            "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n" + kReading + ExitLines(1));
}

// ---- where the main control file is -------------------------------------

TEST(ControlFileRun, BesideTheProgramByDefault) {
  Node node("beside_program");
  // Written in lower case: the name is looked up without regard to case.
  node.Write("FIDO/zirka.ctl", "LOG D:\\FIDO\\ZIRKA.LOG\n");
  const RunResult r = node.RunInstalled("FIDO", {});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, "\xFE Reading " + node.InstalledCtlPath("FIDO") + "\n" + kNoTmailCtl +
                          "\n" + ExitLines(1));
  EXPECT_TRUE(node.Exists("FIDO/ZIRKA.LOG"));
}

TEST(ControlFileRun, EmptySwitchKeepsTheDefaultLocation) {
  Node node("empty_switch");
  node.Write("FIDO/ZIRKA.CTL", "");
  const RunResult r = node.RunInstalled("FIDO", {"/c="});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, "\xFE Path to zirka.ctl overriden: \n\xFE Reading " +
                          node.InstalledCtlPath("FIDO") + "\n" + ExitLines(1));
}

TEST(ControlFileRun, SwitchPathIsUpperCasedAndTheLastOneWins) {
  Node node("switch_path");
  node.Write("CFG/my.ctl", "LOG d:\\cfg\\my.log\n");
  node.Write("FIDO/ZIRKA.CTL", "LOG D:\\FIDO\\ZIRKA.LOG\n");
  const RunResult r = node.RunInstalled("FIDO", {"-c=d:\\none.ctl", "/C=d:\\cfg\\my.ctl"});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, "\xFE Path to zirka.ctl overriden: D:\\NONE.CTL\n"
                      "\xFE Path to zirka.ctl overriden: D:\\CFG\\MY.CTL\n"
                      "\xFE Reading D:\\CFG\\MY.CTL\n" +
                          kNoTmailCtl + "\n" + ExitLines(1));
  EXPECT_TRUE(node.Exists("CFG/MY.LOG"));
  EXPECT_FALSE(node.Exists("FIDO/ZIRKA.LOG"));
}

TEST(ControlFileRun, MissingControlFileEndsWithErrorlevel5AndNoLog) {
  Node node("missing_ctl");
  node.Write("FIDO/OTHER.CTL", "LOG D:\\FIDO\\ZIRKA.LOG\n");
  const RunResult r = node.Run({"-d", "-c=d:\\fido\\zirka.ctl"});
  EXPECT_EQ(r.exitCode, 5) << r;
  EXPECT_EQ(r.screen, "\xFE Debug mode is ON\n"
                      "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n"
                      "!FERR-Main control file D:\\FIDO\\ZIRKA.CTL not found!\n\n" +
                          ExitLines(5));
  EXPECT_EQ(node.List("FIDO"), std::vector<std::string>{"OTHER.CTL"});
}

TEST(ControlFileRun, MissingBesideTheProgram) {
  Node node("missing_default");
  const RunResult r = node.RunInstalled("FIDO", {});
  EXPECT_EQ(r.exitCode, 5) << r;
  EXPECT_EQ(r.screen, "!FERR-Main control file " + node.InstalledCtlPath("FIDO") +
                          " not found!\n\n" + ExitLines(5));
}

TEST(ControlFileRun, NoStandardOutputEndsWithErrorlevel7) {
  SKIP_UNDER_WINE("a closed descriptor 1 is a POSIX notion; Wine gives the process a handle");
  Node node("no_stdout");
  node.Write(kCtl, "LOG D:\\FIDO\\ZIRKA.LOG\n");
  RunOptions options;
  options.closedStdout = true;
  const RunResult r = node.Run({kUseCtl}, options);
  EXPECT_EQ(r.exitCode, 7) << r;
  EXPECT_FALSE(node.Exists("FIDO/ZIRKA.LOG"));
}

// ---- program log and report file ----------------------------------------

TEST(ProgramLogRun, NoLogLineNoLogAndNoMessage) {
  Node node("no_log");
  node.Write(kCtl, "; no program log here\nKEEP_LOG No\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n" + kReading +
                          ExitLines(1));
  EXPECT_EQ(node.List("FIDO"), std::vector<std::string>{"ZIRKA.CTL"});
}

TEST(ProgramLogRun, KeepLogNoOverwritesAnyOtherValueAppends) {
  struct Case {
    std::string keepLine;
    bool overwrites;
  };
  for (const Case& c : {Case{"KEEP_LOG No", true}, Case{"KEEP_LOG no", true},
                        Case{"keep_log NO ; fresh each run", true}, Case{"KEEP_LOG N", false},
                        Case{"KEEP_LOG Yes", false}, Case{"KEEP_LOG", false},
                        Case{"", false}}) {
    SCOPED_TRACE(c.keepLine);
    Node node("keep_log");
    node.Write(kCtl, c.keepLine + "\nLOG D:\\FIDO\\ZIRKA.LOG\n");
    node.Write("FIDO/ZIRKA.LOG", "earlier run\n");
    const RunResult r = node.Run({kUseCtl});
    EXPECT_EQ(r.exitCode, 1) << r;
    EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")),
              (c.overwrites ? "" : Dos("earlier run\n")) + LogOfRun());
  }
}

TEST(ProgramLogRun, TwoRunsAppendTwoBlocks) {
  Node node("two_runs");
  node.Write(kCtl, "LOG D:\\FIDO\\ZIRKA.LOG\n");
  node.Run({kUseCtl});
  node.Run({kUseCtl, "-f"});
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")),
            LogOfRun() + LogOfRun("\xFE Forced analisis.\n"));
}

TEST(ProgramLogRun, LogInAMissingDirectoryIsLeftOutSilently) {
  Node node("log_missing_dir");
  node.Write(kCtl, "LOG D:\\NO\\SUCH\\ZIRKA.LOG\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n" + kReading +
                          ExitLines(1));
  EXPECT_FALSE(node.Exists("NO"));
}

TEST(ReportRun, ReportOpensAndIsLeftEmptyByAnEarlyEnd) {
  Node node("report_opens");
  node.Write(kCtl, "REPORT D:\\FIDO\\REPORT.TXT\nKEEP_REPORT No\n");
  node.Write("FIDO/REPORT.TXT", "last week\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_TRUE(node.Exists("FIDO/REPORT.TXT"));
  EXPECT_EQ(node.Read("FIDO/REPORT.TXT"), "");
}

TEST(ReportRun, ReportIsAppendedToUnlessKeepReportIsNo) {
  Node node("report_keeps");
  node.Write(kCtl, "KEEP_REPORT nO!\nREPORT D:\\FIDO\\REPORT.TXT\n");
  node.Write("FIDO/REPORT.TXT", "last week\n");
  EXPECT_EQ(node.Run({kUseCtl}).exitCode, 1);
  EXPECT_EQ(node.Read("FIDO/REPORT.TXT"), Dos("last week\n"));
}

TEST(ReportRun, ReportInAMissingDirectoryMeansNoReportAndNoMessage) {
  Node node("report_missing_dir");
  node.Write(kCtl, "LOG D:\\FIDO\\ZIRKA.LOG\nREPORT D:\\NO\\SUCH\\REPORT.TXT\n");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen, "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n" + kReading +
                          kNoTmailCtl + "\n" + ExitLines(1));
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")), LogOfRun());
  EXPECT_FALSE(node.Exists("NO"));
}

// ---- the closing lines ---------------------------------------------------

TEST(TerminateRun, ErrorlevelOneWithoutLogShowsOnlyTheSummary) {
  Node node("el1_no_log");
  node.Write(kCtl, "");
  const RunResult r = node.Run({kUseCtl});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(r.screen.substr(r.screen.size() - ExitLines(1).size() - kReading.size()),
            kReading + ExitLines(1));
}

TEST(TerminateRun, ErrorlevelTwoWhenTmailCtlNamesNoLog) {
  Node node("el2");
  node.Write(kCtl, "LOG D:\\FIDO\\ZIRKA.LOG\nLOG_PATH D:\\FIDO\\NONE.LOG\n");
  node.Write("FIDO/T-MAIL.CTL", "; a mailer without a log\n");
  RunOptions inFido;
  inFido.cwd = "FIDO";
  const RunResult r = node.Run({kUseCtl}, inFido);
  EXPECT_EQ(r.exitCode, 2) << r;
  EXPECT_EQ(r.screen, "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n" + kReading +
                          "\xFE Reading T-MAIL.CTL\n"
                          "!FERR-No existing log files found!\n\n" +
                          ExitLines(2));
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")),
            Dos("\n\n\xFE Zirka 3.8 started at Www Mmm DD hh:mm:ss YYYY\n"
                "!FERR-No existing log files found!\n\xFE Elapsed M:SS\n"));
}

}  // namespace
}  // namespace zirka::e2e
