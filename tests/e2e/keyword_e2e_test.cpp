// How control-file lines are matched, seen through whole runs: which file the
// LOG, KEEP_LOG and REPORT lines of ZIRKA.CTL make the program open.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/harness.h"

namespace zirka::e2e {
namespace {

using Names = std::vector<std::string>;

struct LineCase {
  const char* what;
  std::string ctl;     // ZIRKA.CTL, beside which the program log may appear
  Names fidoAfterRun;  // what D:\FIDO holds after the run
};

void ExpectFilesAfterRun(const LineCase& c) {
  SCOPED_TRACE(c.what);
  Node node("keyword");
  node.Write("FIDO/ZIRKA.CTL", c.ctl);
  node.MakeDir("LOGS");
  const RunResult r = node.Run({"-c=D:\\FIDO\\ZIRKA.CTL"});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_EQ(node.List("FIDO"), c.fidoAfterRun);
}

TEST(KeywordRun, LinesThatNameTheProgramLog) {
  const LineCase cases[] = {
      {"value cut at ';' and trimmed", "LOG d:\\fido\\zirka.log ; main log\n",
       {"ZIRKA.CTL", "ZIRKA.LOG"}},
      {"keyword in mixed case: the value comes back in upper case",
       "log d:\\fido\\lower.log\n", {"LOWER.LOG", "ZIRKA.CTL"}},
      {"a tab after the keyword counts as the blank", "LOG\td:\\fido\\tab.log\n",
       {"TAB.LOG", "ZIRKA.CTL"}},
      {"keyword line that ends at the keyword is passed over",
       "LOG\nLOG d:\\fido\\second.log\n", {"SECOND.LOG", "ZIRKA.CTL"}},
      {"the remainder of a line longer than 180 characters is a line of its own",
       ";" + std::string(179, 'x') + "LOG d:\\fido\\tail.log\n", {"TAIL.LOG", "ZIRKA.CTL"}},
      {"empty lines are passed over", "\n\nLOG d:\\fido\\e.log\n", {"E.LOG", "ZIRKA.CTL"}},
      {"only the first LOG line counts",
       "LOG d:\\fido\\first.log\nLOG d:\\fido\\other.log\n", {"FIRST.LOG", "ZIRKA.CTL"}},
  };
  for (const LineCase& c : cases) ExpectFilesAfterRun(c);
}

TEST(KeywordRun, LinesThatDoNotNameTheProgramLog) {
  const LineCase cases[] = {
      {"comment", ";LOG d:\\fido\\old.log\n", {"ZIRKA.CTL"}},
      {"indented comment", "   ; LOG d:\\fido\\old.log\n", {"ZIRKA.CTL"}},
      {"longer word", "LOG_PATH d:\\fido\\a.log\nLOGS d:\\fido\\b.log\n", {"ZIRKA.CTL"}},
      {"another word before the keyword", "KEEP_LOG No\nXLOG d:\\fido\\x.log\n", {"ZIRKA.CTL"}},
      {"only the first occurrence in a line is considered", "KEEP_LOG LOG d:\\fido\\k.log\n",
       {"ZIRKA.CTL"}},
      {"a blank value ends the search", "LOG   ; none\nLOG d:\\fido\\later.log\n",
       {"ZIRKA.CTL"}},
  };
  for (const LineCase& c : cases) ExpectFilesAfterRun(c);
}

TEST(KeywordRun, IndentedKeywordWithTabs) {
  Node node("indented");
  node.Write("FIDO/ZIRKA.CTL", "   Log\td:\\logs\\x.log\n");
  node.MakeDir("LOGS");
  EXPECT_EQ(node.Run({"-c=D:\\FIDO\\ZIRKA.CTL"}).exitCode, 1);
  EXPECT_EQ(node.List("LOGS"), Names{"X.LOG"});
}

TEST(KeywordRun, FirstKeepLogLineCountsAndTabsSeparate) {
  struct Case {
    std::string keepLines;
    bool overwrites;
  };
  for (const Case& c : {Case{"KEEP_LOG Yes\nKEEP_LOG No\n", false},
                        Case{"KEEP_LOG\tno\nKEEP_LOG Yes\n", true},
                        Case{"\t KEEP_LOG   No   ; a fresh log each run\n", true},
                        Case{"KEEP_LOG Not really\n", false},
                        Case{"KEEP_LOG ;No\n", false}}) {
    SCOPED_TRACE(c.keepLines);
    Node node("keep_lines");
    node.Write("FIDO/ZIRKA.CTL", c.keepLines + "LOG D:\\FIDO\\ZIRKA.LOG\n");
    node.Write("FIDO/ZIRKA.LOG", "old\n");
    EXPECT_EQ(node.Run({"-c=D:\\FIDO\\ZIRKA.CTL"}).exitCode, 1);
    EXPECT_EQ(node.Read("FIDO/ZIRKA.LOG").rfind("old\r\n", 0) == 0, !c.overwrites);
  }
}

TEST(KeywordRun, ReportValueIsCutAtTheSemicolon) {
  Node node("report_semicolon");
  node.Write("FIDO/ZIRKA.CTL", "REPORT d:\\fido\\rep;x.txt\n");
  EXPECT_EQ(node.Run({"-c=D:\\FIDO\\ZIRKA.CTL"}).exitCode, 1);
  EXPECT_EQ(node.List("FIDO"), (Names{"REP", "ZIRKA.CTL"}));
}

TEST(KeywordRun, ControlFileWithCtrlZAndBareLineFeeds) {
  Node node("ctrl_z");
  // Bare LF line ends are lines too; nothing after Ctrl-Z is read.
  node.WriteRaw("FIDO/ZIRKA.CTL",
                "KEEP_REPORT No\nREPORT d:\\fido\\r.txt\n\x1aLOG d:\\fido\\after.log\n");
  EXPECT_EQ(node.Run({"-c=D:\\FIDO\\ZIRKA.CTL"}).exitCode, 1);
  EXPECT_EQ(node.List("FIDO"), (Names{"R.TXT", "ZIRKA.CTL"}));
}

}  // namespace
}  // namespace zirka::e2e
