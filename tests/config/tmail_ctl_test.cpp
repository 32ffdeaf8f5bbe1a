#include "config/tmail_ctl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "platform/console.h"
#include "platform/text_file.h"
#include "core/terminate.h"
#include "support/end_of.h"
#include "support/scoped_env.h"
#include "core/text.h"
#include "support/memory_file.h"
#include "support/capture_screen.h"

namespace zirka {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;


// A node in a scratch directory, which is also the current directory meanwhile.
class LogTableTest : public ::testing::Test {
 protected:
  LogTableTest() {
    std::random_device random;
    root_ = fs::temp_directory_path() / ("zirka-logtable-" + std::to_string(random()));
    fs::create_directories(root_);
    root_ = fs::canonical(root_);
    oldCwd_ = fs::current_path();
    fs::current_path(root_);
  }
  ~LogTableTest() override {
    ctx.logTable.clear();
    ctx.tmailCtl.reset();
    fs::current_path(oldCwd_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // The full path of `relative` in the scratch directory, with the host's separators.
  std::string At(const std::string& relative) const { return (root_ / relative).string(); }
  void MakeFile(const std::string& relative, const std::string& bytes) const {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary) << bytes;
  }

  // Builds the table from `mainCtl`; the errorlevel the run ended with, or -1.
  int Build(const std::string& mainCtl) {
    ctx.mainCtl = platform::MakeMemoryText(std::make_shared<std::string>(mainCtl), "ZIRKA.CTL");
    ctx.programLog = platform::MakeMemoryText(programLog, "ZIRKA.LOG");
    return testing::EndOf(ctx, BuildLogTable(ctx));
  }

  fs::path root_;
  fs::path oldCwd_;
  ScopedEnv noTmailVariable_{"T-MAIL", std::nullopt};
  platform::CaptureScreen screen;
  RunContext ctx{screen};
  std::shared_ptr<std::string> programLog = std::make_shared<std::string>();
};

TEST_F(LogTableTest, ControlFileFromCtlPathCompletesBareLogNames) {
  MakeFile("tmail/t-mail.ctl", "LOG t-mail.log\nLOG second.log\n");
  MakeFile("tmail/t-mail.log", "");
  MakeFile("tmail/second.log", "");
  ctx.debug = true;
  EXPECT_EQ(Build("CTL_PATH " + At("tmail/t-mail.ctl") + "\n"), -1);
  const std::string ctlPath = UpperAscii(At("tmail/t-mail.ctl"));
  const std::string dir = ctlPath.substr(0, ctlPath.size() - std::string("T-MAIL.CTL").size());
  EXPECT_EQ(ctx.tmailCtlPath, ctlPath);
  EXPECT_EQ(ctx.tmailDirectory, dir);
  ASSERT_EQ(ctx.logTable.size(), 1u);  // a second LOG line is never used
  EXPECT_EQ(ctx.logTable[0].path, dir + "T-MAIL.LOG");
  EXPECT_FALSE(ctx.logTable[0].isNew);
  EXPECT_EQ(screen.text, "T-Mail contol file override path is: " + ctlPath + "\n" +
                             "\xFE Reading " + ctlPath + "\n" +
                             "  (0208, log #00)\n"
                             "Log path found at T-Mail.Ctl: " + dir + "T-MAIL.LOG\n"
                             "\n");
}

TEST_F(LogTableTest, CtlPathThatCannotBeOpenedEndsWithErrorlevel1) {
  MakeFile("t-mail.ctl", "LOG t-mail.log\n");  // never searched for
  MakeFile("a.log", "");
  EXPECT_EQ(Build("CTL_PATH " + At("nowhere/t-mail.ctl") + "\nLOG_PATH a.log\n"), 1);
  EXPECT_TRUE(ctx.logTable.empty());
}

TEST_F(LogTableTest, ControlFileInTheCurrentDirectoryLeavesTheDirectoryEmpty) {
  MakeFile("t-mail.ctl", "  log\tMain.Log ; the mailer's log\n");
  MakeFile("main.log", "");
  EXPECT_EQ(Build("; no CTL_PATH\n"), -1);
  EXPECT_EQ(ctx.tmailCtlPath, "T-MAIL.CTL");
  EXPECT_EQ(ctx.tmailDirectory, "");
  ASSERT_EQ(ctx.logTable.size(), 1u);
  EXPECT_EQ(ctx.logTable[0].path, "MAIN.LOG");
  // Outside debug mode only these lines reach the screen.
  EXPECT_EQ(screen.text, "\xFE Reading T-MAIL.CTL\n\n");
}

TEST_F(LogTableTest, ControlFileFromTheTmailVariableKeepsItsCase) {
  MakeFile("Mailer/t-mail.ctl", "LOG t-mail.log\n");
  MakeFile("Mailer/t-mail.log", "");
  ScopedEnv variable("T-MAIL", At("Mailer"));
  ctx.debug = true;
  EXPECT_EQ(Build(""), -1);
  const std::string tried = At("Mailer") + "\\t-mail.ctl";
  EXPECT_EQ(ctx.tmailCtlPath, tried);
  EXPECT_EQ(ctx.tmailDirectory, At("Mailer") + "\\");
  ASSERT_EQ(ctx.logTable.size(), 1u);
  EXPECT_EQ(ctx.logTable[0].path, UpperAscii(At("Mailer") + "\\t-mail.log"));
  EXPECT_EQ(screen.text.substr(0, screen.text.find("\xFE Reading")),
            "T-Mail.Ctl not found in the current directory.\n"
            "Attempting to get \"T-MAIL\" environment variable...\n"
            "T-Mail.Ctl found at " + tried + "\n");
}

TEST_F(LogTableTest, TmailVariablePointingNowhere) {
  MakeFile("a.log", "");
  ScopedEnv variable("T-MAIL", At("nowhere") + "\n");
  ctx.debug = true;
  EXPECT_EQ(Build("LOG_PATH a.log\n"), -1);
  EXPECT_EQ(ctx.tmailDirectory, "");
  EXPECT_EQ(screen.text,
            "T-Mail.Ctl not found in the current directory.\n"
            "Attempting to get \"T-MAIL\" environment variable...\n"
            "\"T-MAIL\" variable exists, but T-Mail.Ctl not found there!\n"
            "Invalid path is " + At("nowhere") + "\\t-mail.ctl\n\n"
            "  (0208, log #00)\n"
            "Log #0: A.LOG\n"
            "\n");
}

TEST_F(LogTableTest, LogsFromLogPathWithoutAnyControlFile) {
  MakeFile("one.log", "");
  MakeFile("logs/two.log", "");
  ctx.debug = true;
  EXPECT_EQ(Build("LOG_PATH one.log\nLOG_PATH missing.log\nlog_path " + At("logs/two.log") + "\n"), -1);
  ASSERT_EQ(ctx.logTable.size(), 2u);
  EXPECT_EQ(ctx.logTable[0].path, "ONE.LOG");
  EXPECT_EQ(ctx.logTable[1].path, UpperAscii(At("logs/two.log")));
  EXPECT_EQ(ctx.tmailDirectory, "");
  EXPECT_EQ(screen.text,
            "T-Mail.Ctl not found in the current directory.\n"
            "Attempting to get \"T-MAIL\" environment variable...\n"
            "\"T-MAIL\" variable not found. Unable to find T-Mail.Ctl!\n\n\n"
            "  (0208, log #00)\n"
            "Log #0: ONE.LOG\n"
            "  (0416, log #01)\n"
            "?WARN-Cann't open MISSING.LOG"
            "  (0416, log #01)\n"
            "Log #1: " + UpperAscii(At("logs/two.log")) + "\n"
            "\n");
}

TEST_F(LogTableTest, DuplicateLogsInMixedCaseEnterOnce) {
  MakeFile("t-mail.ctl", "LOG T-Mail.log\n");
  MakeFile("t-mail.log", "");
  ctx.debug = true;
  EXPECT_EQ(Build("LOG_PATH t-mail.LOG\nLOG_PATH T-MAIL.log\n"), -1);
  ASSERT_EQ(ctx.logTable.size(), 1u);
  EXPECT_EQ(ctx.logTable[0].path, "T-MAIL.LOG");
  EXPECT_EQ(screen.text,
            "T-Mail.Ctl found in the current directory\n"
            "  (0208, log #00)\n"
            "Log #0: T-MAIL.LOG\n"
            "  (0416, log #01)\n"
            "Log #1: T-MAIL.LOG\n"
            "?WARN-Duplicated log T-MAIL.LOG\n"
            "\xFE Reading T-MAIL.CTL\n"
            "  (0416, log #01)\n"
            "Log path found at T-Mail.Ctl: T-MAIL.LOG\n"
            "?WARN-Duplicated log T-MAIL.LOG\n"
            "\n");
  ctx.programLog->Close();
  EXPECT_EQ(*programLog,
            "?WARN-Log T-MAIL.LOG occured two or more times\r\n"
            "?WARN-Log T-MAIL.LOG occured two or more times\r\n");
}

TEST_F(LogTableTest, MissingLogBeforeAReadableOneLeavesItAtIndex0) {
  MakeFile("t-mail.ctl", "LOG t-mail.log\n");
  MakeFile("t-mail.log", "");
  EXPECT_EQ(Build("LOG_PATH gone.log\n"), -1);
  ASSERT_EQ(ctx.logTable.size(), 1u);
  EXPECT_EQ(ctx.logTable[0].path, "T-MAIL.LOG");
}

TEST_F(LogTableTest, NoLogAtAll) {
  EXPECT_EQ(Build("LOG_PATH gone.log\n"), 1);  // and no T-MAIL.CTL
  EXPECT_NE(programLog->find("!FERR-T-Mail main control file not found!\r\n"), std::string::npos);
}

TEST_F(LogTableTest, ControlFileButNoLog) {
  MakeFile("t-mail.ctl", "LOG gone.log\n");
  EXPECT_EQ(Build(""), 2);
  EXPECT_NE(programLog->find("!FERR-No existing log files found!\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zirka
