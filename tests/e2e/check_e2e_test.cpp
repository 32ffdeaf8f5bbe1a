// The configuration check (-t) on the small healthy node, damaged one piece at a
// time: what it lists, its errorlevel, and that it writes nothing at all. Also the
// program's home on Linux: the control file of an install and the screen text in
// the locale's encoding.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/damaged_node.h"
#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

const std::string kCheckHead =
    "\xFE Check mode is ON: the configuration is read, nothing is written\n"
    "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n"
    "\xFE Checking D:\\FIDO\\ZIRKA.CTL\n";
const std::string kNoJournal =
    "\xFE Journal D:\\FIDO\\ZIRKA.JNL: none, no run is waiting to be completed\n";
const std::string kCheckTail =
    "\xFE Areas: 3 with a FILES.BBS\n"
    "\xFE Positions file D:\\FIDO\\ZIRKA.POS: none yet\n";

// An interrupted run's journal that the next run completes.
std::string WaitingJournal() {
  return Dos(
      "; Zirka journal of an unfinished run - do not edit\nControl D:\\FIDO\\ZIRKA.CTL\n"
      "Last_Time 02/05 12:30:00\nStarted 01/05 00:00:00\nForced No\n");
}

TEST(CheckE2eTest, ListsWhatARunWouldPassOverAndWritesNothing) {
  const struct {
    const char* name;
    std::string ctl;      // ZIRKA.CTL of the node
    std::string removed;  // a file of the node taken away; "ZIRKA.JNL": one written
    std::vector<std::string> lines;  // on the screen, in this order
    int errorlevel;
  } cases[] = {
      {"clean", HealthyCtl(), "",
       {kCheckHead + kNoJournal + "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n\n\xFE Logs: 1 to read\n"
                                  "\xFE Last_Time 01/05 00:00:00\n" +
        kCheckTail + "\xFE Check: nothing wrong found\n" + ExitLines(0)},
       0},
      {"typo", HealthyCtl("BINKD_LGO D:\\LOGS\\BINKD.LOG\n  dlc_digit 4\n;IGNORE .TIC\nFOO x\n"),
       "",
       {"!WARN-Line 9: unknown keyword BINKD_LGO, BINKD_LOG meant?\n"
        "!WARN-Line 10: unknown keyword DLC_DIGIT, DLC_DIGITS meant?\n"
        "!WARN-Line 12: unknown keyword FOO\n",
        "\xFE Check: 3 warnings: a run would pass over what they name\n" + ExitLines(8)},
       8},
      {"missing_log", HealthyCtl("LOG_PATH D:\\T-MAIL\\OLD.LOG\n"), "",
       {"!WARN-Log D:\\T-MAIL\\OLD.LOG can't be opened\n\xFE Logs: 1 to read\n"}, 8},
      {"no_log", HealthyCtl("BINKD_CFG D:\\BINKD\\BINKD.CFG\n"), kHealthyLog,
       {"!WARN-Log D:\\T-MAIL\\T-MAIL.LOG can't be opened\n"
        "!WARN-binkd config D:\\BINKD\\BINKD.CFG can't be opened\n"
        "!ERR-No log can be opened\n",
        "\xFE Check: 1 error, 2 warnings: a run would end with errorlevel 2\n" + ExitLines(2)},
       2},
      {"area_without_list", HealthyCtl("AREA d:\\files\\gone\n"), "",
       {"!WARN-Area without a list: D:\\FILES\\GONE\\FILES.BBS can't be opened\n" + kCheckTail},
       8},
      {"bad_last_time", CtlWithLastTime("2026-12-07 14:03"), "",
       {"!WARN-Last_Time 2026-12-07 14:03 in D:\\FIDO\\ZIRKA.CTL is not DD/MM HH:MM:SS\n"}, 8},
      {"waiting_journal", HealthyCtl(), "ZIRKA.JNL",
       {"\xFE Journal D:\\FIDO\\ZIRKA.JNL: an interrupted run is waiting, the next run "
        "completes it\n",
        "\xFE Check: nothing wrong found\n"},
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Node node(std::string("check_") + c.name);
    MakeHealthyNode(node);
    node.Write(kHealthyCtl, c.ctl);
    if (c.removed == "ZIRKA.JNL") {
      node.WriteRaw("FIDO/ZIRKA.JNL", WaitingJournal());
    } else if (!c.removed.empty()) {
      node.Remove(c.removed);
    }
    const Snapshot before = TreeSnapshot(node);
    const RunResult r = node.Run({"-t", kHealthyUseCtl});
    EXPECT_EQ(r.exitCode, c.errorlevel) << r;
    std::size_t at = 0;
    for (const std::string& line : c.lines) {
      at = r.screen.find(line, at);
      EXPECT_NE(at, std::string::npos) << "missing, or out of order:\n" << line << "\n" << r;
    }
    EXPECT_EQ(ChangedFiles(before, TreeSnapshot(node)), Files({}));
  }
}

TEST(CheckE2eTest, AnOrdinaryRunNotesTheFirstUnknownKeywordInItsLogOnly) {
  Node node("check_notice");
  MakeHealthyNode(node);
  node.Write(kHealthyCtl, HealthyCtl("BINKD_LGO D:\\LOGS\\BINKD.LOG\nFOO x\n"));
  const RunResult r = node.Run({"--check", kHealthyUseCtl});
  EXPECT_EQ(r.exitCode, 8) << r;
  const RunResult run = node.Run({kHealthyUseCtl});
  EXPECT_EQ(run.exitCode, 0) << run;
  EXPECT_EQ(run.screen, HealthyScreen(3, 3));
  const std::string notice =
      "?WARN-Unknown keyword BINKD_LGO (BINKD_LOG?) in line 9 of D:\\FIDO\\ZIRKA.CTL, passed "
      "over: zirka -t checks the configuration\r\n";
  EXPECT_EQ(Slice(node.Read(kProgramLog), "?WARN-", "\xFE"), notice);
}

TEST(HomeOnLinuxE2eTest, ControlFileBesideTheProgramThenInTheInstallsEtc) {
  Node node("install_prefix");
  MakeHealthyNode(node);
  const std::string etcCtl = node.root() + "/usr/etc/zirka/zirka.ctl";
  const std::string besideCtl = node.InstalledCtlPath("usr/bin");
  // No control file: every place tried is named; on Windows there is only one.
  RunResult r = node.RunInstalled("usr/bin", {"-t"});
  EXPECT_EQ(r.exitCode, 5) << r;
  EXPECT_NE(r.screen.find("!FERR-Main control file " + besideCtl +
                          (UnderWine() ? "" : " or " + etcCtl) + " not found!\n\n" +
                          ExitLines(5)),
            std::string::npos)
      << r;
  if (UnderWine()) return;
  // The install's etc/zirka/zirka.ctl, then ZIRKA.CTL beside the program before it.
  node.Write("usr/etc/zirka/zirka.ctl", HealthyCtl());
  r = node.RunInstalled("usr/bin", {});
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_NE(r.screen.find("\xFE Reading " + etcCtl + "\n"), std::string::npos) << r;
  node.Write("usr/bin/zirka.ctl", HealthyCtl("LOG_PATH D:\\NONE.LOG\n"));
  r = node.RunInstalled("usr/bin", {"-t"});
  EXPECT_EQ(r.exitCode, 8) << r;
  EXPECT_NE(r.screen.find("\xFE Checking " + besideCtl + "\n"), std::string::npos) << r;
}

TEST(HomeOnLinuxE2eTest, ScreenTextInTheLocalesEncodingFilesInDosBytes) {
  SKIP_UNDER_WINE("the Windows console text does not follow the locale");
  const struct {
    std::optional<std::string> lcAll, lang;
    bool utf8;
  } cases[] = {{std::nullopt, "C.UTF-8", true},
               {std::nullopt, "C", false},
               {"ru_RU.utf8", "C", true},
               {"C", "C.UTF-8", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lang.value_or("") + " " + c.lcAll.value_or(""));
    Node node("locale");
    MakeHealthyNode(node);
    RunOptions options;
    options.env["LANG"] = c.lang;
    options.env["LC_ALL"] = c.lcAll;
    const RunResult r = node.Run({kHealthyUseCtl}, options);
    EXPECT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(r.output.find("\xE2\x96\xA0 Reading D:\\FIDO\\ZIRKA.CTL\n") != std::string::npos,
              c.utf8)
        << r;
    EXPECT_EQ(r.output.find("\xFE Reading") != std::string::npos, !c.utf8) << r;
    EXPECT_EQ(node.Read(kProgramLog).find("\xFE Zirka 3.8 started"), 4u);
  }
}

}  // namespace
}  // namespace zirka::e2e
