#pragma once
// A table of mailer log lines and what a line parser must make of each: the time
// and the sent file's name, or nothing.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "logscan/log_line.h"

namespace zirka::testing {

struct LineCase {
  const char* line;
  const char* time;  // written form, "" when the line has no time
  const char* name;  // the sent file's name, "" when the line is no send
};

template <typename Cases>
void ExpectParsedLines(LogLine (*parse)(std::string_view), const Cases& cases) {
  std::string name = "left over";
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.line);
    const LogLine line = parse(c.line);
    EXPECT_EQ(line.dated, *c.time != '\0');
    EXPECT_EQ(line.timeText(), c.time);
    EXPECT_EQ(line.isSend(), *c.name != '\0');
    if (line.isSend()) {
      SentFileName(line.sentPath, name);
      EXPECT_EQ(name, c.name);
    }
  }
}

}  // namespace zirka::testing
