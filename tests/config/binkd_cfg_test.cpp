#include "config/binkd_cfg.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zirka {
namespace {

std::optional<std::string> Env(std::string_view name) {
  if (name == "FTN") return "/srv/ftn";
  if (name == "BINKD") return "C:\\Program Files\\binkd";  // taken as it is
  if (name == "EMPTY") return "";
  return std::nullopt;
}

struct Case {
  const char* config;
  const char* log;  // nullptr: no log line
};

const Case kCases[] = {
    {"log /var/log/binkd/binkd.log\n", "/var/log/binkd/binkd.log"},
    {"  LOG\t/var/log/binkd.log\t# the main log\n", "/var/log/binkd.log"},
    {"Log /a.log extra words\n", "/a.log"},
    {"log /a.log\r\nlog /b.log\r\n", "/a.log"},  // the first log line counts
    {"loglevel 4\nlogstyle syslog\nconlog 4\nlog /b.log", "/b.log"},
    {"include /etc/binkd/log.inc\n", nullptr},
    {"# log /a.log\n  #log /b.log\nlog#x /c.log\n", nullptr},
    {"", nullptr},
    {"log\n", ""},
    {"log # none\nlog /b.log\n", ""},
    {"log \"\"\n", ""},
    {"log c:\\\\binkd\\\\binkd.log\n", "c:\\binkd\\binkd.log"},
    {"log c:\\binkd\\binkd.log\n", "c:binkdbinkd.log"},
    {"log /a\\ b.log\n", "/a b.log"},
    {"log /a.log\\\n", "/a.log"},
    {"log \"C:\\\\Program Files\\\\binkd\\\\binkd.log\"\n", "C:\\Program Files\\binkd\\binkd.log"},
    {"log /x/\"my logs\"/b\"inkd.log\n", "/x/my logs/binkd.log"},
    {"log \"/x/unclosed quote # kept\n", "/x/unclosed quote # kept"},
    {"log /x/a#b.log\n", "/x/a#b.log"},
    {"log \"#x\"\n", "#x"},
    {"log %FTN%/log/binkd.log\n", "/srv/ftn/log/binkd.log"},
    {"log \"%BINKD%\\\\binkd.log\"\n", "C:\\Program Files\\binkd\\binkd.log"},
    {"log %BINKD%\\\\binkd.log\n", "C:\\Program Files\\binkd\\binkd.log"},
    {"log %EMPTY%binkd.log\n", "binkd.log"},
    {"log %UNSET%/binkd.log\n", "%UNSET%/binkd.log"},
    {"log /x/100%.log\n", "/x/100%.log"},
    {"log %%FTN%\n", "%/srv/ftn"},
    {"log \\%FTN%\n", "%FTN%"},
    {"%FTN% /a.log\n", nullptr},
};

TEST(FindBinkdLog, FirstLogLineReadAsBinkdReadsWords) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.config);
    const auto log = FindBinkdLog(c.config, Env);
    ASSERT_EQ(log.has_value(), c.log != nullptr);
    if (log) {
      EXPECT_EQ(*log, c.log);
    }
  }
}

TEST(BinkdLogPath, RelativeLogsAreTakenFromTheConfigDirectory) {
  EXPECT_EQ(BinkdLogPath("/etc/binkd/binkd.cfg", "/var/log/binkd.log"), "/var/log/binkd.log");
  EXPECT_EQ(BinkdLogPath("/etc/binkd/binkd.cfg", "binkd.log"), "/etc/binkd/binkd.log");
  EXPECT_EQ(BinkdLogPath("/etc/binkd/binkd.cfg", "../log/binkd.log"), "/etc/binkd/../log/binkd.log");
  EXPECT_EQ(BinkdLogPath("C:\\BINKD\\BINKD.CFG", "binkd.log"), "C:\\BINKD\\binkd.log");
  EXPECT_EQ(BinkdLogPath("C:\\BINKD\\BINKD.CFG", "\\log\\binkd.log"), "\\log\\binkd.log");
  EXPECT_EQ(BinkdLogPath("C:\\BINKD\\BINKD.CFG", "d:binkd.log"), "d:binkd.log");
  EXPECT_EQ(BinkdLogPath("c:binkd.cfg", "binkd.log"), "c:binkd.log");
  EXPECT_EQ(BinkdLogPath("binkd.cfg", "log/binkd.log"), "log/binkd.log");
  EXPECT_EQ(BinkdLogPath("etc/binkd.cfg", "1:x"), "etc/1:x");  // no drive letter
}

}  // namespace
}  // namespace zirka
