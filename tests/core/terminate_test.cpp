#include "core/terminate.h"

#include <gtest/gtest.h>

#include <string>

#include "core/messages.h"
#include "platform/system.h"
#include "support/captured_run.h"

namespace zirka {
namespace {

// One Terminate call with or without a program log; the elapsed time is
// `elapsedSeconds` give or take the second that may tick during the call.
struct Ending {
  int errorlevel = -1;
  std::string screen;
  std::string log;  // raw bytes of the program log, CR LF line ends
  bool logWasOpen = false;
  std::string elapsedA, elapsedB;  // the two m:ss texts the clock allows
};

Ending End(int errorlevel, bool withLog, bool debug, long elapsedSeconds = 0) {
  testing::CapturedRun run;
  RunContext& ctx = run.ctx;
  ctx.debug = debug;
  if (withLog) run.OpenLog();
  run.OpenReport();
  ctx.report->Write("kept\n");

  const std::time_t before = platform::Now();
  ctx.startTime = before - elapsedSeconds;
  Ending out;
  out.errorlevel = Terminate(ctx, errorlevel);
  const std::time_t after = platform::Now();
  out.screen = run.screen.text;
  out.log = run.Log();
  out.logWasOpen = withLog;
  auto mss = [](long s) { return Format("%ld:%02ld", s / 60, s % 60); };
  out.elapsedA = mss(before - ctx.startTime);
  out.elapsedB = mss(after - ctx.startTime);
  // Every file is closed: the report's buffered line reached its bytes.
  EXPECT_EQ(run.Report(), "kept\r\n");
  EXPECT_EQ(ctx.programLog, nullptr);
  EXPECT_EQ(ctx.report, nullptr);
  return out;
}

// `text` equals `pattern` with "%E" standing for the elapsed time.
void ExpectWithElapsed(const Ending& e, const std::string& pattern, const std::string& text) {
  auto fill = [&](const std::string& mss) {
    std::string s = pattern;
    for (std::size_t at; (at = s.find("%E")) != std::string::npos;) s.replace(at, 2, mss);
    return s;
  };
  if (text != fill(e.elapsedB)) {
    EXPECT_EQ(text, fill(e.elapsedA));
  }
}

const char* const kSummary = "\xFE Exit with errorlevel %d\n\xFE Elapsed time %E\n";

std::string Summary(int errorlevel) {
  std::string s = kSummary;
  s.replace(s.find("%d"), 2, std::to_string(errorlevel));
  return s;
}

TEST(Terminate, WithoutProgramLogShowsOnlyTheSummary) {
  for (int level : {0, 1, 2, 4, 5, 6, 7}) {
    SCOPED_TRACE(level);
    const Ending e = End(level, /*withLog=*/false, /*debug=*/true);
    EXPECT_EQ(e.errorlevel, level);
    ExpectWithElapsed(e, Summary(level), e.screen);
    EXPECT_EQ(e.log, "");
  }
}

TEST(Terminate, ClosingLinesOfEachErrorlevelWithProgramLog) {
  struct Case {
    int level;
    std::string screenBefore;  // printed before the summary
    std::string log;           // the program log, LF line ends, %E for the time
  };
  const Case cases[] = {
      {0, "", "\xFE Elapsed %E\n"},
      {1, "!FERR-T-Mail main control file not found!\n\n",
       "!FERR-T-Mail main control file not found!\n\xFE Elapsed %E\n"},
      {2, "!FERR-No existing log files found!\n\n",
       "!FERR-No existing log files found!\n\xFE Elapsed %E\n"},
      {4, "", "\xFE No new sent files found - nothing done\n\xFE Elapsed %E\n"},
      {5, "", "\xFE Elapsed %E\n"},
      {6, "!FERR-Memory allocation/reallocation failed!\n",
       "!FERR-Insufficient memory!\n\xFE Elapsed %E\n"},
      {7, "", "\xFE Elapsed %E\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    const Ending e = End(c.level, /*withLog=*/true, /*debug=*/false);
    EXPECT_EQ(e.errorlevel, c.level);
    ExpectWithElapsed(e, c.screenBefore + Summary(c.level), e.screen);
    std::string log = c.log;
    for (std::size_t at = 0; (at = log.find('\n', at)) != std::string::npos; at += 2) {
      log.insert(at, "\r");
    }
    ExpectWithElapsed(e, log, e.log);
  }
}

TEST(Terminate, NormalEndInDebugModeWritesTheShutdownLine) {
  const Ending e = End(0, /*withLog=*/true, /*debug=*/true);
  ASSERT_EQ(e.log.rfind("\r\n\xFE Normal shutdown at ", 0), 0u) << e.log;
  // The calendar text (24 characters and its line feed) follows, then the elapsed line.
  const std::size_t textAt = std::string("\r\n\xFE Normal shutdown at ").size();
  ASSERT_GE(e.log.size(), textAt + 26);
  EXPECT_EQ(e.log.substr(textAt + 24, 2), "\r\n");
  ExpectWithElapsed(e, "\xFE Elapsed %E\r\n", e.log.substr(textAt + 26));
  ExpectWithElapsed(e, Summary(0), e.screen);
}

TEST(Terminate, DebugModeAddsNothingForOtherErrorlevels) {
  const Ending e = End(4, /*withLog=*/true, /*debug=*/true);
  ExpectWithElapsed(e, "\xFE No new sent files found - nothing done\r\n\xFE Elapsed %E\r\n",
                    e.log);
}

TEST(Terminate, ElapsedTimeIsMinutesAndTwoDigitSeconds) {
  const Ending threeMinutes = End(4, false, false, 187);
  EXPECT_TRUE(threeMinutes.elapsedA == "3:07" || threeMinutes.elapsedB == "3:07");
  ExpectWithElapsed(threeMinutes, Summary(4), threeMinutes.screen);

  const Ending withLog = End(0, true, false, 125);
  EXPECT_TRUE(withLog.elapsedA == "2:05" || withLog.elapsedB == "2:05");
  ExpectWithElapsed(withLog, "\xFE Elapsed %E\r\n", withLog.log);

  // No hours: 2 hours and 1 second are 120 minutes.
  const Ending twoHours = End(0, false, false, 7201);
  EXPECT_TRUE(twoHours.elapsedA == "120:01" || twoHours.elapsedB == "120:01");
  ExpectWithElapsed(twoHours, Summary(0), twoHours.screen);
}

}  // namespace
}  // namespace zirka
