#include "run/program_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/console.h"
#include "platform/text_file.h"
#include "core/messages.h"
#include "support/memory_file.h"
#include "support/capture_screen.h"

namespace zirka {
namespace {

namespace fs = std::filesystem;

// A scratch directory of this test, removed at the end.
class ProgramLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("zirka-plog-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the opening step with `ctl` as ZIRKA.CTL; returns the screen text.
  std::string Open(const std::string& ctl, bool forced = false, bool debug = false) {
    ctx_ = std::make_unique<RunContext>(screen_);
    ctx_->forced = forced;
    ctx_->debug = debug;
    ctx_->mainCtlPath = "D:\\FIDO\\ZIRKA.CTL";
    ctx_->mainCtl = platform::MakeMemoryText(std::make_shared<std::string>(ctl));
    screen_.text.clear();
    OpenProgramLogAndReport(*ctx_);
    return screen_.text;
  }

  // Closes what the opening step opened, as the end of a run does.
  void Close() {
    if (ctx_->programLog) ctx_->programLog->Close();
    if (ctx_->report) ctx_->report->Close();
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Slurp(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  fs::path dir_;
  platform::CaptureScreen screen_;
  std::unique_ptr<RunContext> ctx_;
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
  const std::string screen = Open("LOG " + Path("no/such/dir/zirka.log") + "\nREPORT " +
                                  Path("no/such/dir/report.txt") + "\n");
  EXPECT_EQ(screen, "\xFE Reading D:\\FIDO\\ZIRKA.CTL\n");
  EXPECT_FALSE(ctx_->logOpen());
  EXPECT_EQ(ctx_->report, nullptr);
}

TEST_F(ProgramLogTest, KeepLogNoOverwritesAnythingElseAppends) {
  // The keyword values come back in upper case, so the files are named in it.
  const std::string ctlTail = "LOG " + Path("ZIRKA.LOG") + "\nREPORT " + Path("REPORT.TXT") +
                              "\n";
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
    Put("ZIRKA.LOG", "old log\r\n");
    Put("REPORT.TXT", "old report\r\n");
    Open(c.keep + ctlTail);
    ASSERT_TRUE(ctx_->logOpen());
    ASSERT_NE(ctx_->report, nullptr);
    Close();
    const std::string log = Slurp("ZIRKA.LOG");
    const std::string started = "\r\n\r\n\xFE Zirka 3.8 started at ";
    EXPECT_EQ(log.find(c.overwrites ? started : "old log\r\n" + started), 0u) << log;
    // The started line carries the calendar text with its own line end.
    EXPECT_EQ(log.size(), (c.overwrites ? 0 : 9) + started.size() + 26);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    // Nothing is written to the report when it opens.
    EXPECT_EQ(Slurp("REPORT.TXT"), c.overwrites ? "" : "old report\r\n");
  }
}

TEST_F(ProgramLogTest, ForcedAnnouncementGoesIntoTheLogWithoutTheEmptyLine) {
  Open("LOG " + Path("ZIRKA.LOG") + "\n", /*forced=*/true);
  Close();
  const std::string log = Slurp("ZIRKA.LOG");
  const std::string announcement = "\xFE Forced analisis.\r\n";
  ASSERT_GT(log.size(), announcement.size());
  EXPECT_EQ(log.substr(log.size() - announcement.size()), announcement);
  EXPECT_EQ(log.find("\xFE Forced analisis.\r\n\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zirka
