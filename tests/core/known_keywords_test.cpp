#include "core/known_keywords.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/memory_file.h"

namespace zirka {
namespace {

// "line:word:likely" for every unknown keyword of `text`.
std::vector<std::string> Unknown(const std::string& text) {
  auto file = platform::MakeMemoryText(std::make_shared<std::string>(text));
  std::vector<std::string> found;
  FindUnknownKeywords(*file, [&](const UnknownKeyword& u) {
    found.push_back(std::to_string(u.line) + ":" + u.word + ":" + u.likely);
    return true;
  });
  return found;
}

TEST(FindUnknownKeywords, LinesAsTheLookupReadsThem) {
  EXPECT_EQ(Unknown("LOG x\n\tlog_path y\n; BINKD_LGO\n\n   \nLast_Time 01/05 00:00:00\n"),
            std::vector<std::string>{});
  EXPECT_EQ(Unknown("AREA x\nbinkd_lgo y\n#LOG z\nAREA;x\nFOO\tbar\n"),
            (std::vector<std::string>{"2:BINKD_LGO:BINKD_LOG", "3:#LOG:LOG", "4:AREA;X:AREA",
                                       "5:FOO:"}));
  // The rest of a line longer than a lookup's piece is no line of its own here.
  EXPECT_EQ(Unknown(";" + std::string(200, 'x') + "\nXAREA y\n"),
            std::vector<std::string>{"2:XAREA:AREA"});
}

TEST(LikelyKeyword, OneOrTwoSlipsButNotAnotherWord) {
  const struct {
    const char* word;
    const char* likely;
  } cases[] = {{"BINKD_LGO", "BINKD_LOG"}, {"AREAS", "AREA"},        {"LOGPATH", "LOG_PATH"},
               {"KEEPLOG", "KEEP_LOG"},    {"LASTTIME", "LAST_TIME"}, {"LEAD_CAHR", "LEAD_CHAR"},
               {"FOO", ""},                {"FREQ_DIR", ""},          {"IGNORE_FILES", ""}};
  for (const auto& c : cases) EXPECT_EQ(LikelyKeyword(c.word), c.likely) << c.word;
}

}  // namespace
}  // namespace zirka
