#include "areas/area_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/captured_run.h"
#include "support/scratch_dir.h"

namespace zirka {
namespace {

using testing::CapturedRun;
using testing::Dos;
using testing::ScratchDir;
using Areas = std::vector<std::string>;

TEST(AreaListLinesTest, RequestableDirectories) {
  EXPECT_EQ(RequestableDirCandidate("  C:\\FILES\\UTIL\tUtilities ; comment\n"),
            "C:\\FILES\\UTIL\\");
  EXPECT_EQ(RequestableDirCandidate("C:\\A"), "C:\\A\\");
  EXPECT_EQ(RequestableDirCandidate("c:\\files\\ x"), "c:\\files\\");
  for (const char* none : {"C:\\\n", "  \n", "\n", "; C:\\FILES\\UTIL\n", "\t\t\n", "AB;CDEF\n"}) {
    EXPECT_FALSE(RequestableDirCandidate(none)) << none;
  }
}

TEST(AreaListLinesTest, Aliases) {
  EXPECT_EQ(AliasCandidate("NL (X) C:\\NODELIST\\NODELIST.*\n"), "C:\\NODELIST\\");
  EXPECT_EQ(AliasCandidate("UTIL C:\\FILES\\UTIL\\\n"), "C:\\FILES\\UTIL\\");
  EXPECT_EQ(AliasCandidate("UTIL\t\tC:\\FILES\\UTIL\\*.ZIP ; comment\n"), "C:\\FILES\\UTIL\\");
  // Without a blank after it, the "(" belongs to the path.
  EXPECT_EQ(AliasCandidate("UTIL (X)C:\\FILES\\A.ZIP\n"), "(X)C:\\FILES\\");
  EXPECT_EQ(AliasCandidate("UTIL (a b)C:\\F\\A.ZIP\n"), "C:\\F\\");
  for (const char* none : {"UTIL\n", "UTIL NUL\n", "UTIL (X) \n", "\\X C:\\FILES\\\n",
                           "; UTIL C:\\FILES\\\n", "UTIL ;C:\\FILES\\\n"}) {
    EXPECT_FALSE(AliasCandidate(none)) << none;
  }
}

// Areas collected in a scratch directory that is the current directory, so that
// the control files can name them as relative DOS paths.
class AreaTableTest : public ::testing::Test {
 protected:
  AreaTableTest() {
    scratch_.MakeCurrent();
    for (const char* dir : {"FILES", "FILES/UTIL", "FILES/NODE"}) {
      scratch_.Put(std::string(dir) + "/files.bbs", "X\r\n");
    }
    run_.ctx.debug = true;
    run_.OpenLog();
  }

  Areas Build(const std::string& ctl, const std::string* tmailCtl = nullptr) {
    run_.ctx.mainCtl = CapturedRun::Text(ctl);
    if (tmailCtl) run_.ctx.tmailCtl = CapturedRun::Text(*tmailCtl);
    BuildAreaTable(run_.ctx);
    return run_.ctx.areaTable;
  }

  ScratchDir scratch_;
  CapturedRun run_;
};

TEST_F(AreaTableTest, AreaLinesAreTakenAsTheyStand) {
  EXPECT_EQ(Build("AREA files\nAREA Files\\ ; again\nAREA none\nAREA ; end\nAREA files\\util\n"),
            (Areas{"FILES\\FILES.BBS", "FILES\\FILES.BBS"}));
  EXPECT_EQ(run_.screen.text,
            ">  area 01: FILES\\\n>  area 02: FILES\\\n"
            ">  area 03: NONE\\FILES.BBS not found! Ignoring...\n\nTotal 2 area(s) found\n");
  EXPECT_EQ(run_.Log(), Dos("\xFE Total 2 file area(s) found\n"));
}

TEST_F(AreaTableTest, AreaLinesAreReadFromTheTopWhereverTheStreamStands) {
  run_.ctx.mainCtl = CapturedRun::Text("AREA files\n");
  std::string piece;
  while (run_.ctx.mainCtl->ReadPiece(piece, 80)) {
  }
  BuildAreaTable(run_.ctx);
  EXPECT_EQ(run_.ctx.areaTable, (Areas{"FILES\\FILES.BBS"}));
}

TEST_F(AreaTableTest, TheAreaTableHasNoUpperBound) {
  std::string ctl;
  for (int i = 0; i < 200; ++i) ctl += "AREA FILES\\UTIL\n";
  EXPECT_EQ(Build(ctl).size(), 200u);
}

TEST_F(AreaTableTest, TmailListsAddUniqueAreas) {
  run_.ctx.settings.lookupCtl = true;
  scratch_.Put("freq.dir", "files\r\n  FILES\\UTIL\tUtilities ; comment\r\nC:\\\r\nNONE\r\n");
  scratch_.Put("freq.ndx",
               "NL (X) FILES\\NODE\\NODELIST.*\r\nUT files\\util\\*.*\r\nUTIL\r\nX NUL\r\n");
  const std::string tmail = "FREQ_DIR freq.dir\nFREQ_NDX freq.ndx\n";
  EXPECT_EQ(Build("AREA FILES\n", &tmail),
            (Areas{"FILES\\FILES.BBS", "FILES\\UTIL\\FILES.BBS", "FILES\\NODE\\FILES.BBS"}));
  EXPECT_EQ(run_.screen.text,
            ">  area 01: FILES\\\n"
            "Req dir list path: FREQ.DIR\n"
            ">  area 02: files\\ - duplicated area\n"
            ">  area 02: FILES\\UTIL\\\n"
            ">  area 03: NONE\\FILES.BBS not found! Ignoring...\n\n"
            ">  area 03: FILES\\NODE\\\n"
            ">  area 04: files\\util\\ - duplicated area\n"
            "Total 3 area(s) found\n");
  EXPECT_EQ(run_.Log(), Dos("?WARN-Area FILES\\FILES.BBS occured two or more times\n"
                            "NONE\\FILES.BBS not found\n"
                            "\xFE Total 3 file area(s) found\n"));
}

TEST_F(AreaTableTest, MissingTmailLists) {
  run_.ctx.settings.lookupCtl = true;
  run_.ctx.tmailDirectory = "TM\\";
  const std::string tmail = "; no lists named\n";
  EXPECT_EQ(Build("", &tmail), Areas{});
  EXPECT_EQ(run_.screen.text,
            "Req dir list path: \n"
            "!ERR-Cann't open requestable directories list: TM\\\n"
            "!ERR-Unable to open list of aliases: TM\\\n"
            "Total 0 area(s) found\n");
  EXPECT_EQ(run_.Log(), Dos("!ERR-Unable to open requestable directories list: TM\\\n"
                            "!ERR-Unable to open list of aliases: TM\\\n"
                            "\xFE Total 0 file area(s) found\n"));
}

TEST_F(AreaTableTest, TmailListsOnlyWithLookupOnAndTmailCtlFound) {
  scratch_.Put("freq.dir", "FILES\\UTIL\r\n");
  const std::string tmail = "FREQ_DIR freq.dir\n";
  EXPECT_EQ(Build("", &tmail), Areas{});
  run_.ctx.settings.lookupCtl = true;
  run_.ctx.tmailCtl.reset();
  run_.screen.text.clear();
  EXPECT_EQ(Build(""), Areas{});
  EXPECT_EQ(run_.screen.text, "Total 0 area(s) found\n");
}

TEST_F(AreaTableTest, ShareModesOfTheFilesBbsTest) {
  // A list held by a writer that denies all: AREA lines and aliases ask others
  // not to write and can't have it; the requestable directories share fully.
  auto holder = platform::OpenText("FILES\\UTIL\\FILES.BBS", platform::Mode::Append,
                                   platform::Share::DenyAll);
  ASSERT_NE(holder, nullptr);
  run_.ctx.debug = false;
  AcceptArea(run_.ctx.areaTable, run_.ctx.out(), "FILES\\UTIL\\", AreaSource::AreaLine);
  AcceptArea(run_.ctx.areaTable, run_.ctx.out(), "FILES\\UTIL\\", AreaSource::Aliases);
  EXPECT_TRUE(run_.ctx.areaTable.empty());
  AcceptArea(run_.ctx.areaTable, run_.ctx.out(), "FILES\\UTIL\\", AreaSource::RequestableDirs);
  EXPECT_EQ(run_.ctx.areaTable, Areas{"FILES\\UTIL\\FILES.BBS"});
  EXPECT_EQ(run_.screen.text, "");
}

}  // namespace
}  // namespace zirka
