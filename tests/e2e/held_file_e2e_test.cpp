// Files held open by another program while a run goes on: the mailer or a BBS
// reading a list, a program writing one, a second run holding its temporary file.
// Under Wine the helper holds the file with a Windows share mode (_fsopen), and
// zirka.exe meets the real sharing rules: a list held open can't be replaced, so
// it stays whole and the failure is shown, and the run goes on with the next
// area. Natively the helper takes the flock the program's own share modes use;
// there a reader's lock does not keep the list from being replaced.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/damaged_node.h"
#include "e2e/harness.h"
#include "e2e/holder.h"

namespace zirka::e2e {
namespace {

class HeldFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (HelperProgram().empty()) GTEST_SKIP() << "zirka_hold_open was not built for this platform";
    MakeHealthyNode(node_);
  }

  // A run with the program installed in D:\BIN, so that every temporary file of
  // the run lies in the node.
  RunResult RunInstalled() const { return node_.RunInstalled("BIN", {kHealthyUseCtl}); }

  bool Shows(const RunResult& r, const std::string& text) const {
    return r.screen.find(text) != std::string::npos;
  }

  Node node_{"held"};
};

TEST_F(HeldFileTest, ListReadByAnotherProgram) {
  Holder holder(node_, "read-deny-write", kGamesList);
  ASSERT_TRUE(holder.holding());
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node_.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node_.Read(kNewsList), NewsList(11));  // the area after it
  EXPECT_EQ(node_.Read(kHealthyCtl), Dos(CtlWithLastTime("02/05 12:30:00")));
  EXPECT_EQ(TempFilesLeft(node_), std::vector<std::string>{});
  const std::string failure = "!ERR-Cann't replace D:\\FILES\\GAMES\\FILES.BBS\n";
  if (UnderWine()) {
    // A file open elsewhere without delete sharing can't be replaced: the list
    // stays whole, and the failure is shown and logged.
    EXPECT_EQ(node_.Read(kGamesList), GamesList(1));
    EXPECT_TRUE(Shows(r, "   2" + failure)) << r;
    EXPECT_NE(node_.Read(kProgramLog).find(Dos(failure)), std::string::npos);
  } else {
    // A reader's shared lock does not keep a rename from replacing the list; the
    // reader goes on reading the old one.
    EXPECT_EQ(node_.Read(kGamesList), GamesList(2));
    EXPECT_FALSE(Shows(r, "!ERR-")) << r;
  }
}

TEST_F(HeldFileTest, ListWrittenByAnotherProgram) {
  Holder holder(node_, "write-deny-write", kGamesList);
  ASSERT_TRUE(holder.holding());
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  // The list can't be opened even for the test whether it exists: the area is
  // left out (said in debug mode only), its list untouched, the others raised.
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_TRUE(Shows(r, "\xFE Processing 2 file areas\n")) << r;
  EXPECT_EQ(node_.Read(kGamesList), GamesList(1));
  EXPECT_EQ(node_.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node_.Read(kNewsList), NewsList(11));
  EXPECT_EQ(TempFilesLeft(node_), std::vector<std::string>{});
}

TEST_F(HeldFileTest, TemporaryFileHeldByAnotherRun) {
  const std::string theirs = "FILES.!#$ of another run, being written\r\n";
  node_.WriteRaw("FILES/GAMES/FILES.!#$", theirs);
  Holder holder(node_, "deny-all", "FILES/GAMES/FILES.!#$");
  ASSERT_TRUE(holder.holding());
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_TRUE(Shows(r, "   2!ERR-Cann't create temp file D:\\FILES\\GAMES\\FILES.!#$\n")) << r;
  // Neither the list nor the other run's file is touched; the next area is done.
  EXPECT_EQ(node_.Read(kGamesList), GamesList(1));
  EXPECT_EQ(node_.Read("FILES/GAMES/FILES.!#$"), theirs);
  EXPECT_EQ(node_.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node_.Read(kNewsList), NewsList(11));
}

TEST_F(HeldFileTest, ControlFileReadByAnotherProgram) {
  Holder holder(node_, "read-deny-write", kHealthyCtl);
  ASSERT_TRUE(holder.holding());
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node_.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node_.Read(kGamesList), GamesList(2));
  EXPECT_EQ(node_.Read(kNewsList), NewsList(11));
  EXPECT_EQ(TempFilesLeft(node_), std::vector<std::string>{});
  if (UnderWine()) {
    // Neither temporary file can be moved over it: ZIRKA.CTL stays whole.
    EXPECT_EQ(node_.Read(kHealthyCtl), Dos(HealthyCtl()));
    EXPECT_TRUE(Shows(r, "\nAn error occured while adding Last_Time variable to Zirka.Ctl\n\n"))
        << r;
  } else {
    EXPECT_EQ(node_.Read(kHealthyCtl), Dos(CtlWithLastTime("02/05 12:30:00")));
  }
}

TEST_F(HeldFileTest, JournalHeldByALiveRun) {
  const std::string journal = "FIDO/ZIRKA.JNL";
  node_.WriteRaw(journal, Dos("; Zirka journal of an unfinished run - do not edit\n"));
  Holder holder(node_, "deny-all", journal);
  ASSERT_TRUE(holder.holding());
  const Snapshot before = TreeSnapshot(node_);
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  // Never taken over: reported, and nothing but the program log and report written.
  EXPECT_EQ(r.exitCode, 3) << r;
  EXPECT_TRUE(Shows(r, "!ERR-Journal " + Node::DosPath(journal) +
                           " is in use by another run of Zirka\n" + ExitLines(3)))
      << r;
  for (const std::string& file : ChangedFiles(before, TreeSnapshot(node_))) {
    const bool program = file.rfind("BIN/", 0) == 0;  // installed by the run itself
    EXPECT_TRUE(file == kProgramLog || file == kReport || program) << file << " changed";
  }
}

}  // namespace
}  // namespace zirka::e2e
