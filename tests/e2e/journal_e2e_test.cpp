// A journal (ZIRKA.JNL) that the run can't use: it is reported with an "!ERR-"
// line on the screen and in the program log, left as it is, nothing else is
// changed, and the run ends with errorlevel 3. (A journal held by a live run:
// windows_e2e_test.cpp, with the other held files.)

#include <gtest/gtest.h>

#include <string>

#include "e2e/busy_node.h"
#include "e2e/damaged_node.h"
#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

const std::string kJournal = "FIDO/ZIRKA.JNL";
const std::string kTitle = "; Zirka journal of an unfinished run - do not edit\n";

// A journal of the healthy node's run with `lastTime` and `control`, and `steps`.
std::string JournalOf(const std::string& control, const std::string& lastTime,
                      const std::string& steps = "") {
  return Dos(kTitle + "Control " + control + "\nLast_Time " + lastTime +
             "\nStarted 01/05 00:00:00\nForced No\n" + steps);
}

TEST(JournalE2eTest, AJournalThatMakesNoSenseStopsTheRunAndChangesNothing) {
  const std::string ctl = "D:\\FIDO\\ZIRKA.CTL";
  const struct {
    const char* name;
    std::string journal;  // empty name: a directory in its place
    std::string why;
  } cases[] = {
      {"empty", "", "makes no sense (the journal is empty)"},
      {"garbage", Garbage(600, 7), "makes no sense (line 1: not a Zirka journal)"},
      {"time", JournalOf(ctl, "2026-12-07 14:03"),
       "makes no sense (line 3: Last_Time 2026-12-07 14:03 is not DD/MM HH:MM:SS)"},
      {"other_ctl", JournalOf("D:\\OTHER\\ZIRKA.CTL", "02/05 12:30:00"),
       "makes no sense (written by a run of D:\\OTHER\\ZIRKA.CTL)"},
      {"done_first", JournalOf(ctl, "02/05 12:30:00", "Done 1\n"),
       "makes no sense (line 6: Done without its Ready)"},
      {"directory", "", ""},
      // Sound journals that no longer fit the node: a log cut short, an area gone.
      {"short_log", JournalOf(ctl, "02/05 12:30:00", "Log 0 99999 D:\\T-MAIL\\T-MAIL.LOG\n"),
       "!ERR-Log D:\\T-MAIL\\T-MAIL.LOG no longer holds what journal "
       "D:\\FIDO\\ZIRKA.JNL counted"},
      {"area_gone", JournalOf(ctl, "02/05 12:30:00", "Ready 3 D:\\FILES\\OLD\\FILES.BBS\n"),
       "makes no sense (area 3 is no longer D:\\FILES\\OLD\\FILES.BBS)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Node node(std::string("journal_") + c.name);
    MakeHealthyNode(node);
    if (c.why.empty()) {
      node.MakeDir(kJournal);
    } else {
      node.WriteRaw(kJournal, c.journal);
    }
    const Snapshot before = TreeSnapshot(node);
    const RunResult r = node.Run({kHealthyUseCtl});
    const std::string jnl = "D:\\FIDO\\ZIRKA.JNL";
    std::string line = "!ERR-Journal " + jnl + " " + c.why + "\n";
    if (c.why.empty()) line = "!ERR-Cann't read journal " + jnl + "\n";
    if (c.why.rfind("!ERR-", 0) == 0) line = c.why + "\n";  // the journal is not at fault
    EXPECT_EQ(r.exitCode, 3) << r;
    EXPECT_NE(r.screen.find(line + ExitLines(3)), std::string::npos) << r;
    EXPECT_NE(node.Read(kProgramLog).find(Dos(line)), std::string::npos);
    // Only the program log and the report may be written to.
    for (const std::string& file : ChangedFiles(before, TreeSnapshot(node))) {
      EXPECT_TRUE(file == kProgramLog || file == kReport) << file << " changed";
    }
  }
}

}  // namespace
}  // namespace zirka::e2e
