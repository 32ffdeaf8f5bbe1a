#include "logscan/freshness.h"

#include <gtest/gtest.h>

#include <string>

#include "logscan/sent_scan.h"
#include "support/captured_run.h"
#include "support/end_of.h"

namespace zirka {
namespace {

using testing::CapturedRun;
using testing::EndOf;

const char kOld[] = "01/05 10:00:00 Session with 2:5020/1\r\n"
                    "02/05 11:00:00 ZS c:\\files\\old.zip OK: 100 cps\r\n";

TEST(CheckFreshness, WithoutStoredTimeEveryLogIsNewAndNothingIsRead) {
  CapturedRun run("LOG_PATH x\n");
  run.AddLog("A.LOG", kOld);
  run.AddLog("B.LOG", "");
  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), -1);
  EXPECT_TRUE(run.ctx.logTable[0].isNew);
  EXPECT_TRUE(run.ctx.logTable[1].isNew);
  EXPECT_TRUE(run.ctx.noStoredLastTime);
  EXPECT_TRUE(run.ctx.anyLogNew);
  EXPECT_EQ(run.ctx.logTable[0].stream->Tell(), 0u);
  EXPECT_EQ(run.screen.text, "");  // the warning is for debug mode only
}

TEST(CheckFreshness, WarnsOfMissingStoredTimeInDebugMode) {
  CapturedRun run;
  run.ctx.debug = true;
  run.OpenLog();
  run.AddLog("A.LOG", "");
  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), -1);
  const std::string warning =
      "!WARN-No last analisis time found in Zirka.Ctl!\nAssuming all log files are new...\n";
  EXPECT_EQ(run.screen.text, warning + "\n");
  EXPECT_EQ(run.Log(),
            "!WARN-No last analisis time found in Zirka.Ctl!\r\nAssuming all log files are new...\r\n");
}

TEST(CheckFreshness, MarksLogsAndLeavesStreamsAtTheProvingLine) {
  CapturedRun run("Last_Time 03/05 12:00:00\n");
  run.AddLog("C:\\LOGS\\A.LOG", kOld);
  run.AddLog("C:\\LOGS\\B.LOG",
             "no date here\r\n"
             "1/05 12:00:01 not a dated line\r\n"
             "03/05 12:00:00 equal is not later\r\n"
             "03/05 12:00:01 the first later line\r\n"
             "04/05 09:00:00 next\r\n");
  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), -1);
  EXPECT_EQ(run.screen.text,
            "\xF9 Checking C:\\LOGS\\A.LOG...old\n\xF9 Checking C:\\LOGS\\B.LOG...OK\n\n");
  EXPECT_FALSE(run.ctx.logTable[0].isNew);
  EXPECT_TRUE(run.ctx.logTable[1].isNew);
  EXPECT_TRUE(run.ctx.anyLogNew);
  EXPECT_FALSE(run.ctx.noStoredLastTime);
  EXPECT_EQ(run.ctx.storedLastTime.written(), "03/05 12:00:00");
  EXPECT_EQ(run.RestOf(0), "");
  // The proving line is handed on to the scan.
  EXPECT_EQ(run.RestOf(1), "03/05 12:00:01 the first later line\n04/05 09:00:00 next\n");
}

TEST(CheckFreshness, TimeEqualToTheNewestLineIsOldAndEndsTheRun) {
  CapturedRun run("LAST_TIME 02/05 11:00:00\n");
  run.OpenLog();
  run.AddLog("A.LOG", kOld);
  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), 4);
  EXPECT_FALSE(run.ctx.anyLogNew);
  EXPECT_NE(run.screen.text.find("\xF9 Checking A.LOG...old\n\n"), std::string::npos);
  EXPECT_NE(run.Log().find("\xFE No new sent files found - nothing done\r\n"),
            std::string::npos);
}

TEST(CheckFreshness, YearTurnInBothDirections) {
  CapturedRun forward("LAST_TIME 28/12 12:00:00\n");
  forward.AddLog("A.LOG", "02/01 08:00:00 after new year\n");
  EXPECT_EQ(EndOf(forward.ctx, CheckFreshness(forward.ctx)), -1);
  EXPECT_TRUE(forward.ctx.logTable[0].isNew);

  CapturedRun backward("LAST_TIME 05/01 10:00:00\n");
  backward.AddLog("A.LOG", "30/12 10:00:00 last year\n");
  EXPECT_EQ(EndOf(backward.ctx, CheckFreshness(backward.ctx)), 4);
}

TEST(CheckFreshness, OverLongLinesAreReadInTheScansPiecesOf255) {
  // The remainder of a long line is a line of its own; here it looks dated and later.
  const std::string longLine = "01/05 10:00:00 " + std::string(240, 'x') + "09/05 10:00:00 tail\r\n";
  CapturedRun run("LAST_TIME 03/05 12:00:00\n");
  run.AddLog("A.LOG", longLine + "04/05 09:00:00 next\r\n");
  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), -1);
  EXPECT_TRUE(run.ctx.logTable[0].isNew);
  EXPECT_EQ(run.RestOf(0), "09/05 10:00:00 tail\n04/05 09:00:00 next\n");
}

TEST(CheckFreshness, ProvingSentLineLongerThan180IsCountedWhole) {
  // The send that proves the log new is the log's only new line; its " OK: " lies
  // beyond the first 180 characters.
  const std::string path = "c:\\" + std::string(170, 'd') + "\\NEW.ZIP";
  CapturedRun run("LAST_TIME 03/05 12:00:00\n");
  LogEntry& log = run.AddLog("A.LOG", std::string(kOld) + "04/05 08:00:00 ZS " + path +
                                          " OK: 1000 cps\r\n");
  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), -1);
  ASSERT_TRUE(log.isNew);
  log.stream->Seek(*log.scanFrom);
  EXPECT_EQ(NextSentFile(log, run.ctx.ignoreList), std::optional<std::string>("NEW.ZIP"));
  EXPECT_EQ(log.lastTime.written(), "04/05 08:00:00");
  EXPECT_EQ(NextSentFile(log, run.ctx.ignoreList), std::nullopt);
}

TEST(CheckFreshness, ForcedModeScansEveryLogFromItsStartAndGoesOn) {
  CapturedRun run("LAST_TIME 03/05 12:00:00\n");
  run.ctx.forced = true;
  run.AddLog("A.LOG", kOld);
  run.AddLog("B.LOG", "04/05 09:00:00 new\r\n05/05 09:00:00 newer\r\n");
  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), -1);
  EXPECT_FALSE(run.ctx.logTable[0].isNew);  // the check's verdict stands
  EXPECT_TRUE(run.ctx.logTable[1].isNew);
  EXPECT_EQ(run.RestOf(0), "01/05 10:00:00 Session with 2:5020/1\n"
                           "02/05 11:00:00 ZS c:\\files\\old.zip OK: 100 cps\n");
  EXPECT_EQ(run.RestOf(1), "04/05 09:00:00 new\n05/05 09:00:00 newer\n");

  CapturedRun none("LAST_TIME 03/05 12:00:00\n");
  none.ctx.forced = true;
  none.AddLog("A.LOG", kOld);
  EXPECT_EQ(EndOf(none.ctx, CheckFreshness(none.ctx)), -1);
  EXPECT_FALSE(none.ctx.anyLogNew);
  EXPECT_EQ(none.ctx.logTable[0].scanFrom, std::optional<std::uint64_t>(0));
}

TEST(CheckFreshness, OddStoredTimeIsWarnedOfAndUsedAsItStands) {
  CapturedRun run("LAST_TIME 03/05 12:00:00 and more\n");
  run.OpenLog();
  run.AddLog("A.LOG", "03/05 12:00:01 later\n");
  EXPECT_EQ(EndOf(run.ctx, CheckFreshness(run.ctx)), -1);
  const std::string warning =
      "!WARN-Last_Time 03/05 12:00:00 AND MORE in Zirka.Ctl is not DD/MM HH:MM:SS, "
      "used as it stands\n";
  EXPECT_EQ(run.screen.text.rfind(warning + "\n", 0), 0u);  // first, on the screen
  EXPECT_EQ(run.ctx.storedLastTime.written(), "03/05 12:00:00");  // cut to 14 characters
  EXPECT_TRUE(run.ctx.logTable[0].isNew);
  EXPECT_EQ(run.Log(),
            "!WARN-Last_Time 03/05 12:00:00 AND MORE in Zirka.Ctl is not DD/MM HH:MM:SS, "
            "used as it stands\r\n");

  CapturedRun shortOne("LAST_TIME 3/5\n");
  shortOne.AddLog("A.LOG", "01/01 00:00:00 x\n");
  EndOf(shortOne.ctx, CheckFreshness(shortOne.ctx));
  EXPECT_EQ(shortOne.screen.text.rfind("!WARN-Last_Time 3/5 in Zirka.Ctl", 0), 0u);
  EXPECT_EQ(shortOne.ctx.storedLastTime.written(), "3/5");

  for (const char* bad : {"03/05 12:00:0x", "03.05 12:00:00", "03/05 12-00:00", "03/05 2:00:00"}) {
    CapturedRun r(std::string("LAST_TIME ") + bad + "\n");
    r.AddLog("A.LOG", "");
    EndOf(r.ctx, CheckFreshness(r.ctx));
    EXPECT_EQ(r.screen.text.rfind("!WARN-Last_Time ", 0), 0u) << bad;
  }
  CapturedRun good("LAST_TIME 03/05 12:00:00\n");
  good.AddLog("A.LOG", "");
  EndOf(good.ctx, CheckFreshness(good.ctx));
  EXPECT_EQ(good.screen.text.find("!WARN"), std::string::npos);
}

}  // namespace
}  // namespace zirka
