#include "core/keyword.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/text.h"
#include "platform/text_file.h"
#include "support/memory_file.h"

namespace zirka {
namespace {

std::unique_ptr<platform::TextFile> Ctl(const std::string& text) {
  return platform::MakeMemoryText(std::make_shared<std::string>(text));
}

std::string First(const std::string& text, const char* keyword) {
  auto file = Ctl(text);
  return LookupKeyword(*file, keyword);
}

// Every value of a repeated keyword, as a caller that rewinds once collects them.
std::vector<std::string> Every(const std::string& text, const char* keyword) {
  auto file = Ctl(text);
  std::vector<std::string> values;
  for (std::string v = LookupKeyword(*file, keyword); !v.empty(); v = LookupKeyword(*file, keyword)) {
    values.push_back(v);
  }
  return values;
}

TEST(LookupKeyword, LineFormsForLog) {
  EXPECT_EQ(First("LOG c:\\t-mail\\t-mail.log ; main log\n", "LOG"), "C:\\T-MAIL\\T-MAIL.LOG");
  EXPECT_EQ(First("   Log\td:\\logs\\x.log\n", "LOG"), "D:\\LOGS\\X.LOG");
  EXPECT_EQ(First("\t LOG x\n", "LOG"), "X");  // indented by tabs and blanks
  EXPECT_EQ(First(";LOG c:\\old.log\n", "LOG"), "");
  EXPECT_EQ(First("  ; LOG c:\\old.log\n", "LOG"), "");
  EXPECT_EQ(First("LOG_PATH c:\\a.log\n", "LOG"), "");
  EXPECT_EQ(First("KEEP_LOG No\n", "LOG"), "");
  EXPECT_EQ(First("LOG\n", "LOG"), "");
  EXPECT_EQ(First("LOG", "LOG"), "");  // the keyword ends the file
  EXPECT_EQ(First("REPORT c:\\rep;x.txt\n", "REPORT"), "C:\\REP");
  EXPECT_EQ(First("", "LOG"), "");
}

TEST(LookupKeyword, OnlyTheFirstOccurrenceInALineCounts) {
  // The keyword is found inside the first word; the later whole word is not tried.
  EXPECT_EQ(First("XLOG LOG a\n", "LOG"), "");
  // A value that repeats the keyword is fine.
  EXPECT_EQ(First("LOG log.log\n", "LOG"), "LOG.LOG");
}

TEST(LookupKeyword, BlankValueStopsTheSearchThere) {
  auto file = Ctl("LOG   ; none\nLOG second\n");
  EXPECT_EQ(LookupKeyword(*file, "LOG"), "");
  EXPECT_EQ(LookupKeyword(*file, "LOG"), "SECOND");  // the stream stands after the blank line
  EXPECT_EQ(Every("AREA a\nAREA ;\nAREA b\n", "AREA"), (std::vector<std::string>{"A"}));
}

TEST(LookupKeyword, RepeatedLookupsTakeValuesInFileOrder) {
  EXPECT_EQ(Every("AREA c:\\one\n; AREA c:\\no\nAREA\nArea c:\\two\n\nAREA   c:\\three  \n", "AREA"),
            (std::vector<std::string>{"C:\\ONE", "C:\\TWO", "C:\\THREE"}));
  EXPECT_EQ(First("KEEP_LOG No\nKEEP_LOG Yes\n", "KEEP_LOG"), "NO");
}

TEST(LookupKeyword, LongLinesAreReadInPiecesOf180) {
  // 180 characters of noise, then the rest of the line is a piece of its own.
  const std::string noise(180, 'x');
  EXPECT_EQ(First(noise + "LOG tail\n", "LOG"), "TAIL");
  EXPECT_EQ(First(noise + " LOG tail\n", "LOG"), "TAIL");
  // A value cut by the piece boundary is returned as far as the piece goes.
  const std::string line = "LOG " + std::string(176, 'a') + "bcd\n";
  EXPECT_EQ(First(line + "LOG next\n", "LOG"), std::string(176, 'A'));
  // ...and the rest of the line is examined as a line: "BCD" holds no keyword.
  auto file = Ctl(line + "LOG next\n");
  LookupKeyword(*file, "LOG");
  EXPECT_EQ(LookupKeyword(*file, "LOG"), "NEXT");
  // A keyword split by the boundary is not seen.
  EXPECT_EQ(First(std::string(178, ' ') + "LOG x\n", "LOG"), "");
}

TEST(LookupKeyword, KeepsOddBytesOfTheValue) {
  EXPECT_EQ(First(std::string("LOG a\0b\n", 8), "LOG"), std::string("A\0B", 3));
  EXPECT_EQ(First("LOG \xE4\xA0\xA9\xAB.log\n", "LOG"), "\xE4\xA0\xA9\xAB.LOG");  // no case change
  EXPECT_EQ(First("LEAD_CHAR\tspace\r\n", "LEAD_CHAR"), "SPACE");
}

TEST(TrimBlanks, OddCases) {
  std::string spaces = "   ";
  EXPECT_EQ(TrimBlanks(spaces), "");
  EXPECT_EQ(spaces, "   ");  // left in place
  std::string empty;
  EXPECT_EQ(TrimBlanks(empty), "");
  std::string blankLine = "  \n";
  EXPECT_EQ(TrimBlanks(blankLine), "");
  EXPECT_EQ(blankLine, "");
  std::string tabs = "\t\t";
  EXPECT_EQ(TrimBlanks(tabs), "");
  EXPECT_EQ(tabs, "");
  std::string mixed = " \t\x01 a b \r\n";
  EXPECT_EQ(TrimBlanks(mixed), "a b");
  EXPECT_EQ(mixed, "a b");
  std::string high = "\xFF x \xFF";  // bytes 0x80 and above stay
  EXPECT_EQ(TrimBlanks(high), "\xFF x \xFF");
  std::string nul(" \0a\0 ", 5);
  EXPECT_EQ(TrimBlanks(nul), "a");
}

TEST(IsBlankPrefix, CountsSpacesOnly) {
  EXPECT_TRUE(IsBlankPrefix("", 0));
  EXPECT_TRUE(IsBlankPrefix("x", 0));
  EXPECT_TRUE(IsBlankPrefix("  x", 2));
  EXPECT_FALSE(IsBlankPrefix("  x", 3));
  EXPECT_FALSE(IsBlankPrefix(" \tx", 2));
  EXPECT_FALSE(IsBlankPrefix("  ", 3));  // past the end
}

TEST(EnsureTrailingBackslash, Forms) {
  std::string p = "C:\\T-MAIL\n";
  EnsureTrailingBackslash(p);
  EXPECT_EQ(p, "C:\\T-MAIL\\");
  p = "C:\\T-MAIL\\";
  EnsureTrailingBackslash(p);
  EXPECT_EQ(p, "C:\\T-MAIL\\");
  p = "";
  EnsureTrailingBackslash(p);
  EXPECT_EQ(p, "\\");
  p = "\n";
  EnsureTrailingBackslash(p);
  EXPECT_EQ(p, "\\");
  p = "c:\\x\n\n";  // only the last line feed goes
  EnsureTrailingBackslash(p);
  EXPECT_EQ(p, "c:\\x\n\\");
}

TEST(CompletePath, PrefixesBareNamesOnly) {
  const std::string dir = "C:\\T-MAIL\\";
  std::string p = "T-MAIL.LOG";
  EXPECT_EQ(CompletePath(p, dir), "C:\\T-MAIL\\T-MAIL.LOG");
  EXPECT_EQ(p, "C:\\T-MAIL\\T-MAIL.LOG");
  p = "C:\\LOGS\\T-MAIL.LOG";
  EXPECT_EQ(CompletePath(p, dir), "C:\\LOGS\\T-MAIL.LOG");
  p = ".\\T-MAIL.LOG";
  EXPECT_EQ(CompletePath(p, dir), ".\\T-MAIL.LOG");
  p = "D:T-MAIL.LOG";
  EXPECT_EQ(CompletePath(p, dir), "C:\\T-MAIL\\D:T-MAIL.LOG");
  p = "T-MAIL.LOG";
  EXPECT_EQ(CompletePath(p, ""), "T-MAIL.LOG");
  // Nothing is cut, however long the result.
  p = std::string(170, 'N');
  EXPECT_EQ(CompletePath(p, dir).size(), 170 + dir.size());
}

#if !defined(_WIN32)
TEST(CompletePath, SlashIsASeparatorOnPosix) {
  std::string p = "logs/t-mail.log";
  EXPECT_EQ(CompletePath(p, "/srv/t-mail/"), "logs/t-mail.log");
  std::string d = "/srv/t-mail/";
  EnsureTrailingBackslash(d);
  EXPECT_EQ(d, "/srv/t-mail/");
}
#endif

TEST(Case, AsciiLettersOnly) {
  EXPECT_EQ(UpperAscii("abz{`AZ\xE0\xA0"), "ABZ{`AZ\xE0\xA0");
  std::string s = "files.bbs";
  EXPECT_EQ(ToUpperAscii(s), "FILES.BBS");
  EXPECT_TRUE(EqualsIgnoreCase("c:\\Log\\A.log", "C:\\LOG\\a.LOG"));
  EXPECT_FALSE(EqualsIgnoreCase("a.log", "a.log "));
  EXPECT_FALSE(EqualsIgnoreCase("\xE0", "\xC0"));  // no case beyond ASCII
}

}  // namespace
}  // namespace zirka
