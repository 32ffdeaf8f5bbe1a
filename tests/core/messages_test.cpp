#include "core/messages.h"

#include <gtest/gtest.h>

#include <string>

#include "support/captured_run.h"

namespace zirka {
namespace {

struct Channels {
  std::string screen;
  std::string log;  // raw bytes, CR LF line ends
};

Channels Send(std::string_view text, Channel channel, bool withLog, bool debug = false) {
  testing::CapturedRun run;
  run.ctx.debug = debug;
  if (withLog) run.OpenLog();
  WriteMessage(run.ctx, text, channel);
  Debug(run.ctx, "debug only\n");
  return {run.screen.text, run.Log()};
}

TEST(WriteMessage, EachChannelWithAnOpenProgramLog) {
  Channels c = Send("\xFE Forced analisis.\n", Channel::ToBoth, true);
  // The screen copy gets a line break of its own: an empty line follows.
  EXPECT_EQ(c.screen, "\xFE Forced analisis.\n\n");
  EXPECT_EQ(c.log, "\xFE Forced analisis.\r\n");

  c = Send("to the log\n", Channel::ToLog, true);
  EXPECT_EQ(c.screen, "");
  EXPECT_EQ(c.log, "to the log\r\n");

  c = Send("to the screen", Channel::ToScreen, true);
  EXPECT_EQ(c.screen, "to the screen\n");
  EXPECT_EQ(c.log, "");
}

TEST(WriteMessage, WithoutProgramLogOnlyTheScreenHalf) {
  EXPECT_EQ(Send("both\n", Channel::ToBoth, false).screen, "both\n\n");
  EXPECT_EQ(Send("log\n", Channel::ToLog, false).screen, "");
}

TEST(WriteMessage, KeepsEveryByteNulIncluded) {
  const std::string text("a\0b\xFE\n", 5);
  const Channels c = Send(text, Channel::ToBoth, true);
  EXPECT_EQ(c.screen, text + "\n");
  EXPECT_EQ(c.log, std::string("a\0b\xFE\r\n", 6));
}

TEST(WriteMessage, DebugLinesOnlyInDebugMode) {
  EXPECT_EQ(Send("", Channel::ToLog, false, false).screen, "");
  EXPECT_EQ(Send("", Channel::ToLog, false, true).screen, "debug only\n");
}

}  // namespace
}  // namespace zirka
