#include "config/tmail_ctl.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/text.h"
#include "support/captured_run.h"
#include "support/end_of.h"
#include "support/scoped_env.h"
#include "support/scratch_dir.h"

namespace zirka {
namespace {

using testing::CapturedRun;
using testing::ScopedEnv;

// A node in a scratch directory, which is also the current directory meanwhile.
class LogTableTest : public ::testing::Test {
 protected:
  LogTableTest() { scratch_.MakeCurrent(); }

  // Builds the table from `mainCtl`; the errorlevel the run ended with, or -1.
  int Build(const std::string& mainCtl) {
    ctx.mainCtl = CapturedRun::Text(mainCtl, "ZIRKA.CTL");
    run_.OpenLog();
    return testing::EndOf(ctx, BuildLogTable(ctx));
  }

  testing::ScratchDir scratch_;
  ScopedEnv noTmailVariable_{"T-MAIL", std::nullopt};
  CapturedRun run_;
  RunContext& ctx = run_.ctx;
  platform::CaptureScreen& screen = run_.screen;
};

TEST_F(LogTableTest, ControlFileFromCtlPathCompletesBareLogNames) {
  scratch_.Put("tmail/t-mail.ctl", "LOG t-mail.log\nLOG second.log\n");
  scratch_.Put("tmail/t-mail.log", "");
  scratch_.Put("tmail/second.log", "");
  ctx.debug = true;
  EXPECT_EQ(Build("CTL_PATH " + scratch_.Path("tmail/t-mail.ctl") + "\n"), -1);
  const std::string ctlPath = UpperAscii(scratch_.Path("tmail/t-mail.ctl"));
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
  scratch_.Put("t-mail.ctl", "LOG t-mail.log\n");  // never searched for
  scratch_.Put("a.log", "");
  EXPECT_EQ(Build("CTL_PATH " + scratch_.Path("nowhere/t-mail.ctl") + "\nLOG_PATH a.log\n"), 1);
  EXPECT_TRUE(ctx.logTable.empty());
}

TEST_F(LogTableTest, ControlFileInTheCurrentDirectoryLeavesTheDirectoryEmpty) {
  scratch_.Put("t-mail.ctl", "  log\tMain.Log ; the mailer's log\n");
  scratch_.Put("main.log", "");
  EXPECT_EQ(Build("; no CTL_PATH\n"), -1);
  EXPECT_EQ(ctx.tmailCtlPath, "T-MAIL.CTL");
  EXPECT_EQ(ctx.tmailDirectory, "");
  ASSERT_EQ(ctx.logTable.size(), 1u);
  EXPECT_EQ(ctx.logTable[0].path, "MAIN.LOG");
  // Outside debug mode only these lines reach the screen.
  EXPECT_EQ(screen.text, "\xFE Reading T-MAIL.CTL\n\n");
}

TEST_F(LogTableTest, ControlFileFromTheTmailVariableKeepsItsCase) {
  scratch_.Put("Mailer/t-mail.ctl", "LOG t-mail.log\n");
  scratch_.Put("Mailer/t-mail.log", "");
  ScopedEnv variable("T-MAIL", scratch_.Path("Mailer"));
  ctx.debug = true;
  EXPECT_EQ(Build(""), -1);
  const std::string tried = scratch_.Path("Mailer") + "\\t-mail.ctl";
  EXPECT_EQ(ctx.tmailCtlPath, tried);
  EXPECT_EQ(ctx.tmailDirectory, scratch_.Path("Mailer") + "\\");
  ASSERT_EQ(ctx.logTable.size(), 1u);
  EXPECT_EQ(ctx.logTable[0].path, UpperAscii(scratch_.Path("Mailer") + "\\t-mail.log"));
  EXPECT_EQ(screen.text.substr(0, screen.text.find("\xFE Reading")),
            "T-Mail.Ctl not found in the current directory.\n"
            "Attempting to get \"T-MAIL\" environment variable...\n"
            "T-Mail.Ctl found at " + tried + "\n");
}

TEST_F(LogTableTest, TmailVariablePointingNowhere) {
  scratch_.Put("a.log", "");
  ScopedEnv variable("T-MAIL", scratch_.Path("nowhere") + "\n");
  ctx.debug = true;
  EXPECT_EQ(Build("LOG_PATH a.log\n"), -1);
  EXPECT_EQ(ctx.tmailDirectory, "");
  EXPECT_EQ(screen.text,
            "T-Mail.Ctl not found in the current directory.\n"
            "Attempting to get \"T-MAIL\" environment variable...\n"
            "\"T-MAIL\" variable exists, but T-Mail.Ctl not found there!\n"
            "Invalid path is " + scratch_.Path("nowhere") + "\\t-mail.ctl\n\n"
            "  (0208, log #00)\n"
            "Log #0: A.LOG\n"
            "\n");
}

TEST_F(LogTableTest, LogsFromLogPathWithoutAnyControlFile) {
  scratch_.Put("one.log", "");
  scratch_.Put("logs/two.log", "");
  ctx.debug = true;
  EXPECT_EQ(Build("LOG_PATH one.log\nLOG_PATH missing.log\nlog_path " +
                  scratch_.Path("logs/two.log") + "\n"),
            -1);
  ASSERT_EQ(ctx.logTable.size(), 2u);
  EXPECT_EQ(ctx.logTable[0].path, "ONE.LOG");
  EXPECT_EQ(ctx.logTable[1].path, UpperAscii(scratch_.Path("logs/two.log")));
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
            "Log #1: " + UpperAscii(scratch_.Path("logs/two.log")) + "\n"
            "\n");
}

TEST_F(LogTableTest, DuplicateLogsInMixedCaseEnterOnce) {
  scratch_.Put("t-mail.ctl", "LOG T-Mail.log\n");
  scratch_.Put("t-mail.log", "");
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
  EXPECT_EQ(run_.Log(),
            "?WARN-Log T-MAIL.LOG occured two or more times\r\n"
            "?WARN-Log T-MAIL.LOG occured two or more times\r\n");
}

TEST_F(LogTableTest, MissingLogBeforeAReadableOneLeavesItAtIndex0) {
  scratch_.Put("t-mail.ctl", "LOG t-mail.log\n");
  scratch_.Put("t-mail.log", "");
  EXPECT_EQ(Build("LOG_PATH gone.log\n"), -1);
  ASSERT_EQ(ctx.logTable.size(), 1u);
  EXPECT_EQ(ctx.logTable[0].path, "T-MAIL.LOG");
}

TEST_F(LogTableTest, NoLogAtAll) {
  EXPECT_EQ(Build("LOG_PATH gone.log\n"), 1);  // and no T-MAIL.CTL
  EXPECT_NE(run_.Log().find("!FERR-T-Mail main control file not found!\r\n"), std::string::npos);
}

TEST_F(LogTableTest, ControlFileButNoLog) {
  scratch_.Put("t-mail.ctl", "LOG gone.log\n");
  EXPECT_EQ(Build(""), 2);
  EXPECT_NE(run_.Log().find("!FERR-No existing log files found!\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zirka
