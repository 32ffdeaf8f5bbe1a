// The example node that ships in examples/node (and that scripts/demo.sh runs):
// the first run raises the counters and ends normally, the second finds nothing
// new and changes nothing.

#include <gtest/gtest.h>

#include <string>

#include "e2e/harness.h"

#ifndef ZIRKA_E2E_EXAMPLES
#define ZIRKA_E2E_EXAMPLES "examples"
#endif

namespace zirka::e2e {
namespace {

const std::string kShipped = std::string(ZIRKA_E2E_EXAMPLES) + "/node";

const std::string kUtilBefore =
    "ARJ250.EXE   [003] ARJ archiver 2.50, self-extracting\n"
    "                   Unpacks to the current directory\n"
    "PKZ204G.EXE  [012] PKZIP 2.04g archiver for DOS\n"
    "RAR250.EXE   [000] RAR archiver 2.50\n"
    "UUE.ZIP      Encoder for binary files sent as mail\n";
const std::string kUtilAfter =
    "ARJ250.EXE   [006] ARJ archiver 2.50, self-extracting\n"
    "                   Unpacks to the current directory\n"
    "PKZ204G.EXE  [013] PKZIP 2.04g archiver for DOS\n"
    "RAR250.EXE   [000] RAR archiver 2.50\n"
    "UUE.ZIP      Encoder for binary files sent as mail\n";
const std::string kNodelistAfter =
    "; Nodelists of zone 2, one a week\n"
    "NODELIST.Z49 [042] Zone 2 nodelist, day 049\n"
    "NODEDIFF.A49 [007] Difference to day 042\n";

const std::string kStarted = "\n\n\xFE Zirka 3.8 started at Www Mmm DD hh:mm:ss YYYY\n";

TEST(ExampleNode, FirstRunCountsTheSendsSecondRunNothing) {
  Node node("example");
  node.CopyTree(kShipped);
  ASSERT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos(kUtilBefore)) << "examples/node changed";

  const RunResult first = node.Run({"-d", "-c=D:\\FIDO\\ZIRKA.CTL"});
  EXPECT_EQ(first.exitCode, 0) << first;
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos(kUtilAfter));
  EXPECT_EQ(node.Read("FILES/NODELIST/FILES.BBS"), Dos(kNodelistAfter));
  const std::string report =
      "\n\xFE Zirka 3.8 \xFE Www Mmm DD hh:mm:ss YYYY\n\n"
      "  Filename    Times sent\n\n"
      "ARJ250.EXE         3\n"
      "NODELIST.Z49       1\n"
      "PKZ204G.EXE        1\n\n"
      "\xFE Total 3 file(s) were sent 5 time(s)";
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.REP")), Dos(report));
  const std::string firstLog = kStarted +
                               "!WARN-No last analisis time found in Zirka.Ctl!\n"
                               "Assuming all log files are new...\n"
                               "\xFE Total 2 file area(s) found\n"
                               "\nFile area: 01\nPath     : D:\\FILES\\UTIL\\FILES.BBS\n"
                               "     ARJ250.EXE      3 times\n"
                               "     PKZ204G.EXE     1 times\n"
                               "\nFile area: 02\nPath     : D:\\FILES\\NODELIST\\FILES.BBS\n"
                               "     NODELIST.Z49    1 times\n"
                               "\xFE \"Last_Time\" variable added to Zirka.Ctl\n"
                               "\n\xFE Normal shutdown at Www Mmm DD hh:mm:ss YYYY\n"
                               "\xFE Elapsed M:SS\n";
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")), Dos(firstLog));
  const std::string ctl = node.Read("FIDO/ZIRKA.CTL");
  EXPECT_NE(ctl.find("\r\nFIRST_ONLY   Yes\r\nLast_Time 07/12 19:43:41  ; Last analisis time\r\n"),
            std::string::npos);

  const RunResult second = node.Run({"-c=D:\\FIDO\\ZIRKA.CTL"});
  EXPECT_EQ(second.exitCode, 4) << second;
  EXPECT_EQ(second.screen,
            "\xFE Path to zirka.ctl overriden: D:\\FIDO\\ZIRKA.CTL\n"
            "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n"
            "\xFE Reading D:\\T-MAIL\\T-MAIL.CTL\n\n"
            "\xF9 Checking D:\\T-MAIL\\T-MAIL.LOG...old\n\n" +
                ExitLines(4));
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos(kUtilAfter));
  EXPECT_EQ(node.Read("FILES/NODELIST/FILES.BBS"), Dos(kNodelistAfter));
  EXPECT_EQ(node.Read("FIDO/ZIRKA.CTL"), ctl);
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")),
            Dos(firstLog + kStarted + "\xFE No new sent files found - nothing done\n"
                                      "\xFE Elapsed M:SS\n"));
  EXPECT_EQ(node.List("FIDO"), (std::vector<std::string>{"ZIRKA.CTL", "ZIRKA.LOG", "ZIRKA.REP"}));
}

}  // namespace
}  // namespace zirka::e2e
