#include "run/program_log.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/captured_run.h"
#include "support/scratch_dir.h"

namespace zirka {
namespace {

class ProgramLogTest : public ::testing::Test {
 protected:
  // Runs the opening step with `ctl` as ZIRKA.CTL; returns the screen text.
  std::string Open(const std::string& ctl, bool forced = false, bool debug = false) {
    run_.emplace(ctl);
    ctx_ = &run_->ctx;
    ctx_->forced = forced;
    ctx_->debug = debug;
    ctx_->mainCtlPath = "D:\\FIDO\\ZIRKA.CTL";
    OpenProgramLogAndReport(*ctx_);
    return run_->screen.text;
  }

  // Closes what the opening step opened, as the end of a run does.
  void Close() {
    if (ctx_->programLog) ctx_->programLog->Close();
    if (ctx_->report) ctx_->report->Close();
  }

  testing::ScratchDir scratch_;
  std::optional<testing::CapturedRun> run_;
  RunContext* ctx_ = nullptr;
};

TEST_F(ProgramLogTest, WithoutLogOrReportOnlyTheReadingLine) {
  EXPECT_EQ(Open("; nothing here\n"), "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n");
  EXPECT_FALSE(ctx_->logOpen());
  EXPECT_EQ(ctx_->report, nullptr);
}

TEST_F(ProgramLogTest, ForcedModeIsAnnouncedAndExplainedInDebugMode) {
  EXPECT_EQ(Open("", /*forced=*/true),
            "\xFE Forced analisis.\n\n\xFE Reading D:\\FIDO\\ZIRKA.CTL\n");
  EXPECT_EQ(Open("", /*forced=*/true, /*debug=*/true),
            "\xFE Forced analisis.\n\n"
            "Ignoring Last_Time variable and assuming all log files are new...\n"
            "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n");
  EXPECT_EQ(Open("", /*forced=*/false, /*debug=*/true), "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n");
}

TEST_F(ProgramLogTest, FilesInMissingDirectoriesAreLeftOutSilently) {
  const std::string screen = Open("LOG " + scratch_.Path("no/such/dir/zirka.log") + "\nREPORT " +
                                  scratch_.Path("no/such/dir/report.txt") + "\n");
  EXPECT_EQ(screen, "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n");
  EXPECT_FALSE(ctx_->logOpen());
  EXPECT_EQ(ctx_->report, nullptr);
}

TEST_F(ProgramLogTest, KeepLogNoOverwritesAnythingElseAppends) {
  // The keyword values come back in upper case, so the files are named in it.
  const std::string ctlTail =
      "LOG " + scratch_.Path("ZIRKA.LOG") + "\nREPORT " + scratch_.Path("REPORT.TXT") + "\n";
  struct Case {
    std::string keep;
    bool overwrites;
  };
  for (const Case& c : {Case{"KEEP_LOG No\nKEEP_REPORT No\n", true},
                        Case{"keep_log no\nkeep_report NO\n", true},
                        Case{"KEEP_LOG N\nKEEP_REPORT N\n", false},
                        Case{"KEEP_LOG Yes\nKEEP_REPORT nope\n", false},
                        Case{"", false}}) {
    SCOPED_TRACE(c.keep);
    scratch_.Put("ZIRKA.LOG", "old log\r\n");
    scratch_.Put("REPORT.TXT", "old report\r\n");
    Open(c.keep + ctlTail);
    ASSERT_TRUE(ctx_->logOpen());
    ASSERT_NE(ctx_->report, nullptr);
    Close();
    const std::string log = scratch_.Slurp("ZIRKA.LOG");
    const std::string started = "\r\n\r\n\xFE Zirka 3.8 started at ";
    EXPECT_EQ(log.find(c.overwrites ? started : "old log\r\n" + started), 0u) << log;
    // The started line carries the calendar text with its own line end.
    EXPECT_EQ(log.size(), (c.overwrites ? 0 : 9) + started.size() + 26);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    // Nothing is written to the report when it opens.
    EXPECT_EQ(scratch_.Slurp("REPORT.TXT"), c.overwrites ? "" : "old report\r\n");
  }
}

TEST_F(ProgramLogTest, ForcedAnnouncementGoesIntoTheLogWithoutTheEmptyLine) {
  Open("LOG " + scratch_.Path("ZIRKA.LOG") + "\n", /*forced=*/true);
  Close();
  const std::string log = scratch_.Slurp("ZIRKA.LOG");
  const std::string announcement = "\xFE Forced analisis.\r\n";
  ASSERT_GT(log.size(), announcement.size());
  EXPECT_EQ(log.substr(log.size() - announcement.size()), announcement);
  EXPECT_EQ(log.find("\xFE Forced analisis.\r\n\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zirka
