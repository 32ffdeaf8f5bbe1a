// The example nodes that ship in examples/node and examples/binkd-node (and that
// scripts/demo.sh runs): the first run raises the counters and ends normally, the
// second finds nothing new and changes nothing.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
                               "\xFE Bulletin D:\\FIDO\\TOP.TXT written\n"
                               "\xFE \"Last_Time\" variable added to Zirka.Ctl\n"
                               "\n\xFE Normal shutdown at Www Mmm DD hh:mm:ss YYYY\n"
                               "\xFE Elapsed M:SS\n";
  EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")), Dos(firstLog));
  // The bulletin as the README shows it.
  const std::string bulletin = Normalize(node.Read("FIDO/TOP.TXT"));
  EXPECT_EQ(bulletin,
            Dos("Top 10 downloads, Www Mmm DD hh:mm:ss YYYY\n\n"
                "  # Count File         Area              Description\n"
                "--- ----- ------------ ----------------- --------------------------------------\n"
                "  1    42 NODELIST.Z49 D:\\FILES\\NODELIST Zone 2 nodelist, day 049\n"
                "  2    13 PKZ204G.EXE  D:\\FILES\\UTIL     PKZIP 2.04g archiver for DOS\n"
                "  3     7 NODEDIFF.A49 D:\\FILES\\NODELIST Difference to day 042\n"
                "  4     6 ARJ250.EXE   D:\\FILES\\UTIL     ARJ archiver 2.50, self-extracting\n"
                "  5     0 RAR250.EXE   D:\\FILES\\UTIL     RAR archiver 2.50\n"
                "\n5 entries hold counters, 68 downloads in all\n"));
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
  EXPECT_EQ(Normalize(node.Read("FIDO/TOP.TXT")), bulletin);
  EXPECT_EQ(node.List("FIDO"), (std::vector<std::string>{"TOP.TXT", "ZIRKA.CTL", "ZIRKA.LOG",
                                                         "ZIRKA.POS", "ZIRKA.REP"}));
}

// The binkd node: relative POSIX paths, run from the node's directory; binkd.cfg
// names the log, the lists keep their lower-case names.
TEST(ExampleNode, BinkdNodeCountsItsSendsOnce) {
  Node node("example_binkd");
  node.CopyTree(std::string(ZIRKA_E2E_EXAMPLES) + "/binkd-node");
  const std::string nodelistBefore = node.Read("files/nodelist/files.bbs");
  ASSERT_NE(nodelistBefore.find("nodelist.z49 [005]"), std::string::npos) << "examples changed";

  const RunResult first = node.Run({"-c=etc/zirka.ctl"});
  EXPECT_EQ(first.exitCode, 0) << first;
  EXPECT_EQ(node.Read("files/util/files.bbs"),
            Dos("arj250.exe   [006] ARJ archiver 2.50, self-extracting\n"
                "                   Unpacks to the current directory\n"
                "pkz204g.exe  [013] PKZIP 2.04g archiver for DOS\n"
                "rar250.exe   [000] RAR archiver 2.50\n"
                "binkd11a.tgz [001] binkd 1.1a sources, the binkp mailer\n"
                "uue.zip      Encoder for binary files sent as mail\n"));
  EXPECT_EQ(node.Read("files/nodelist/files.bbs"),
            Dos("nodelist.z49 [007] FidoNet nodelist, day 049\n"
                "nodediff.a49 [000] Nodelist difference, day 049\n"
                "pointlst.z49 [002] Pointlist of zone 2, day 049\n"));
  const std::string ctl = node.Read("etc/zirka.ctl");
  const RunResult second = node.Run({"-c=etc/zirka.ctl"});
  EXPECT_EQ(second.exitCode, 4) << second;
  EXPECT_EQ(node.Read("etc/zirka.ctl"), ctl);
  EXPECT_NE(node.Read("files/nodelist/files.bbs").find("nodelist.z49 [007]"), std::string::npos);
}

// The Argus node (DOS paths on drive D:) and the qico node (relative POSIX paths,
// run from its directory), without T-MAIL.CTL; the binkd node's long names.
TEST(ExampleNode, ArgusQicoAndLongNameNodes) {
  const struct {
    const char* dir;
    std::string ctl;  // the -c= argument
    std::string list;
    std::string after;
  } nodes[] = {
      {"argus-node", "-c=D:\\FIDO\\ZIRKA.CTL", "FILES/UTIL/FILES.BBS",
       "ARJ250.EXE   [005] ARJ archiver 2.50, self-extracting\n"
       "PKZ204G.EXE  [012] PKZIP 2.04g archiver for DOS\n"
       "RAR250.EXE   [000] RAR archiver 2.50\n"},
      {"qico-node", "-c=etc/zirka.ctl", "files/util/files.bbs",
       "arj250.exe   [004] ARJ archiver 2.50, self-extracting\n"
       "pkz204g.exe  [013] PKZIP 2.04g archiver for DOS\n"
       "rar250.exe   [000] RAR archiver 2.50\n"},
      {"binkd-node", "-c=etc/zirka.ctl", "files/linux/files.bbs",
       "binkd-1.1a-115.tar.gz [005] binkd 1.1a-115 sources, the binkp mailer\n"
       "qico-ng-0.57.1.tar.bz2 [001] qico-ng 0.57.1 sources, the modem mailer\n"
       "husky-fidoconfig-1.9.tar.gz  Configuration library of the husky tools\n"},
  };
  for (const auto& n : nodes) {
    SCOPED_TRACE(n.dir);
    Node node("example_mailer");
    node.CopyTree(std::string(ZIRKA_E2E_EXAMPLES) + "/" + n.dir);
    RunOptions options;
    options.env["T-MAIL"] = std::nullopt;
    const RunResult first = node.Run({n.ctl}, options);
    EXPECT_EQ(first.exitCode, 0) << first;
    EXPECT_EQ(node.Read(n.list), Dos(n.after));  // a rewritten list is DOS text
    EXPECT_EQ(node.Run({n.ctl}, options).exitCode, 4);
  }
}

// Every spelling of help prints the usage text and ends with errorlevel 0, before
// the banner and without reading or writing a file; other unknown arguments are
// still ignored and the run goes on.
TEST(ExampleNode, HelpPrintsTheUsageAndTouchesNothing) {
  Node node("help");
  node.CopyTree(kShipped);
  // Every name in the node's directories, and the bytes of every file.
  const std::vector<std::string> dirs = {"",           "FIDO",           "FILES",
                                         "FILES/UTIL", "FILES/NODELIST", "T-MAIL"};
  const auto snapshot = [&] {
    std::string all;
    for (const std::string& dir : dirs) {
      for (const std::string& name : node.List(dir)) {
        const std::string rel = dir.empty() ? name : dir + "/" + name;
        const bool isDir = std::find(dirs.begin(), dirs.end(), rel) != dirs.end();
        all += rel + "\n" + (isDir ? "" : node.Read(rel)) + "\n";
      }
    }
    return all;
  };
  const std::string before = snapshot();
  const std::string kCtlArg = "-c=D:\\FIDO\\ZIRKA.CTL";
  const std::vector<std::vector<std::string>> helpCases = {
      {"-?"}, {"/?"}, {"-h"}, {"/h"}, {"--help"}, {"-H"}, {"/HELP"}, {"-help"},
      {"version", "-f", "-d", kCtlArg, "/?"},  // help wins wherever it stands
  };
  std::string usage;
  for (const auto& args : helpCases) {
    const RunResult r = node.Run(args);
    EXPECT_EQ(r.exitCode, 0) << args.back() << "\n" << r;
    if (usage.empty()) usage = r.screen;
    EXPECT_EQ(r.screen, usage) << args.back();
    EXPECT_EQ(snapshot(), before) << args.back();
  }
  EXPECT_EQ(usage.rfind("Zirka 3.8: ", 0), 0u) << usage;
  EXPECT_NE(usage.find("\nUsage: zirka [version] [-f] [-d] [-n] [-c=PATH]\n"), std::string::npos);
  EXPECT_EQ(usage.substr(usage.size() - ExitLines(0).size()), ExitLines(0));

  // Neither "help", "-x" nor "--HELP" is a help switch: an ordinary run.
  const RunResult run = node.Run({"help", "-x", "--HELP", kCtlArg});
  EXPECT_EQ(run.exitCode, 0) << run;
  EXPECT_EQ(run.screen.find("Usage:"), std::string::npos);
  EXPECT_EQ(node.Read("FILES/UTIL/FILES.BBS"), Dos(kUtilAfter));
}

}  // namespace
}  // namespace zirka::e2e
