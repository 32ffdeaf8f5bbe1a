#include "logscan/report.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/system.h"
#include "support/captured_run.h"

namespace zirka {
namespace {

// A run with its report open in memory, holding `existing` already.
struct ReportRun : testing::CapturedRun {
  explicit ReportRun(const std::string& existing = "") {
    ctx.startTime = 1'000'000'000;
    OpenReport(existing);
  }
  std::string Header() const {
    std::string calendar = platform::CalendarText(ctx.startTime);
    calendar.pop_back();  // its line feed is written as CR LF
    return "\r\n\xFE Zirka 3.8 \xFE " + calendar + "\r\n\r\n  Filename    Times sent\r\n\r\n";
  }
  void Write() { WriteReport(ctx.report.get(), ctx.sentTable, ctx.startTime); }
};

TEST(WriteReport, OneBlockByteForByte) {
  ReportRun run;
  for (int i = 0; i < 3; ++i) run.ctx.sentTable.Add("FOO.ZIP");
  run.ctx.sentTable.Add("BAR.ARJ");
  run.Write();
  EXPECT_EQ(run.Report(), run.Header() +
                              "FOO.ZIP            3\r\n"
                              "BAR.ARJ            1\r\n"
                              "\r\n\xFE Total 2 file(s) were sent 4 time(s)");
  EXPECT_EQ(run.screen.text, "");
}

TEST(WriteReport, NamesOfTwelveAndMoreAreWrittenWhole) {
  ReportRun run;
  run.ctx.sentTable.Add("ABCDEFGH.ZIP");
  run.ctx.sentTable.Add("A-LONG-NAME.TAR.GZ");
  run.ctx.sentTable.Add(std::string("N\0L", 3));
  run.Write();
  EXPECT_EQ(run.Report(), run.Header() +
                              "ABCDEFGH.ZIP       1\r\n"
                              "A-LONG-NAME.TAR.GZ       1\r\n" +
                              std::string("N\0L", 3) + "                1\r\n"
                              "\r\n\xFE Total 3 file(s) were sent 3 time(s)");
}

TEST(WriteReport, SecondRunAppendsAfterTheUnterminatedTotal) {
  ReportRun run("\r\n\xFE Total 1 file(s) were sent 1 time(s)");
  run.ctx.sentTable.Add("X.ZIP");
  run.Write();
  EXPECT_EQ(run.Report(), "\r\n\xFE Total 1 file(s) were sent 1 time(s)" + run.Header() +
                              "X.ZIP              1\r\n"
                              "\r\n\xFE Total 1 file(s) were sent 1 time(s)");
}

TEST(WriteReport, NothingWithoutSentFilesOrWithoutReport) {
  ReportRun run;
  run.Write();
  EXPECT_EQ(run.Report(), "");
  ReportRun closed;
  closed.ctx.report.reset();
  closed.ctx.sentTable.Add("X.ZIP");
  WriteReport(closed.ctx.report.get(), closed.ctx.sentTable, closed.ctx.startTime);  // no report file open: nothing happens
  EXPECT_EQ(closed.Report(), "");
}

}  // namespace
}  // namespace zirka
