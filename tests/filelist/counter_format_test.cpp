#include "filelist/counter_format.h"

#include <gtest/gtest.h>

#include <string>

#include "support/captured_run.h"

namespace zirka {
namespace {

// One FILES.BBS entry raised for a sent file, with the settings a test sets.
class CounterFormatTest : public ::testing::Test {
 protected:
  std::string Raise(const std::string& entry, std::int64_t times, const std::string& name = "") {
    SentFile sent;
    sent.times = times;
    std::size_t end = entry.find_first_of(std::string(" \t\n", 3));
    if (end == std::string::npos) end = entry.size();
    sent.name = name.empty() ? UpperWord(entry.substr(0, end)) : name;
    run_.screen.text.clear();
    return FormatCounterLine(run_.ctx.settings, entry, end, sent, run_.ctx.out(), &change_);
  }

  static std::string UpperWord(std::string word) {
    for (char& c : word) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return word;
  }

  testing::CapturedRun run_;
  CounterChange change_;  // of the last Raise
};

TEST_F(CounterFormatTest, RaisesACounterInPlace) {
  EXPECT_EQ(Raise("FOO.ZIP      [002] Some utility\n", 3), "FOO.ZIP      [005] Some utility\n");
  // Whatever stood between the name and the bracket gives way to the padding.
  EXPECT_EQ(Raise("FOO.ZIP [7] x\n", 1), "FOO.ZIP      [008] x\n");
  EXPECT_EQ(Raise("foo.zip\t[1]\tx", 1), "FOO.ZIP      [002]\tx");
}

TEST_F(CounterFormatTest, InsertsACounterWhereNoneStood) {
  EXPECT_EQ(Raise("foo.zip  Some utility\n", 1), "FOO.ZIP      [001]  Some utility\n");
  EXPECT_EQ(Raise("FOO.ZIP\n", 2), "FOO.ZIP      [002]\n");
  EXPECT_EQ(Raise("FOO.ZIP", 2), "FOO.ZIP      [002]");
  EXPECT_EQ(Raise("FOO.ZIP\tSome utility\n", 1), "FOO.ZIP      [001]\tSome utility\n");
}

TEST_F(CounterFormatTest, ReadsDamagedAndPaddedCounters) {
  EXPECT_EQ(Raise("A []\n", 4), "A            [004]\n");
  EXPECT_EQ(Raise("A [abc]\n", 1), "A            [001]\n");
  EXPECT_EQ(Raise("A [x1y]\n", 1), "A            [002]\n");
  EXPECT_EQ(Raise("A [12x]\n", 1), "A            [013]\n");
  EXPECT_EQ(Raise("A [ 12]\n", 1), "A            [013]\n");
  // A field wider than the setting is brought back to its width.
  EXPECT_EQ(Raise("A [00012]\n", 1), "A            [013]\n");
}

TEST_F(CounterFormatTest, TextThatIsNoCounterFieldStaysInTheTail) {
  // Six characters between the brackets.
  EXPECT_EQ(Raise("FOO.ZIP [123456] x\n", 1), "FOO.ZIP      [001] [123456] x\n");
  // The left bracket in column 20.
  EXPECT_EQ(Raise("FOO.ZIP             [005] x\n", 1),
            "FOO.ZIP      [001]             [005] x\n");
  // The first right bracket left of the left one.
  EXPECT_EQ(Raise("FOO.ZIP ] [005] x\n", 1), "FOO.ZIP      [001] ] [005] x\n");
  // The left bracket in column 19 still opens a field.
  EXPECT_EQ(Raise("FOO.ZIP            [005] x\n", 1), "FOO.ZIP      [006] x\n");
}

TEST_F(CounterFormatTest, OneCharacterForBothBracketsNeverMakesAField) {
  run_.ctx.settings.leftBracket = '|';
  run_.ctx.settings.rightBracket = '|';
  EXPECT_EQ(Raise("FOO.ZIP |005| x\n", 1), "FOO.ZIP      |001| |005| x\n");
}

TEST_F(CounterFormatTest, WidthsAndLeadCharacters) {
  run_.ctx.settings.leadChar = ' ';
  EXPECT_EQ(Raise("A [  5]\n", 1), "A            [  6]\n");
  EXPECT_EQ(Raise("A\n", 7), "A            [  7]\n");
  run_.ctx.settings.leadChar = '0';
  run_.ctx.settings.dlcDigits = 2;
  EXPECT_EQ(Raise("A [99]\n", 1), "A            [100]\n");
  run_.ctx.settings.dlcDigits = 1;
  EXPECT_EQ(Raise("A\n", 12), "A            [12]\n");
  run_.ctx.settings.dlcDigits = 5;
  run_.ctx.settings.leadChar = '.';
  EXPECT_EQ(Raise("A [00100]\n", 1), "A            [..101]\n");
  run_.ctx.settings.leftBracket = '<';
  run_.ctx.settings.rightBracket = '>';
  EXPECT_EQ(Raise("A <3> [9]\n", 1), "A            <....4> [9]\n");
}

TEST_F(CounterFormatTest, CountersOfEightDigitsAndMoreAreWrittenWhole) {
  EXPECT_EQ(Raise("A [999]\n", 9999001), "A            [10000000]\n");
  EXPECT_EQ(Raise("A\n", 5000000000LL), "A            [5000000000]\n");
  EXPECT_EQ(Raise("A [99999]\n", 9223372036854775807LL), "A            [9223372036854775807]\n");
}

TEST_F(CounterFormatTest, TellsTheCounterFieldBeforeAndAfter) {
  auto change = [&](const std::string& entry, std::int64_t times) {
    Raise(entry, times);
    return change_.before + " -> " + change_.after;
  };
  EXPECT_EQ(change("A [ 12] x\n", 1), "[ 12] -> [013]");
  EXPECT_EQ(change("FOO.ZIP /t [03] x\n", 1), "[03] -> [004]");
  EXPECT_EQ(change("FOO.ZIP /t x\n", 1), " -> [001]");
  EXPECT_EQ(change("A [99999]", 9223372036854775807LL), "[99999] -> [9223372036854775807]");
  run_.ctx.settings.leftBracket = '<';
  run_.ctx.settings.rightBracket = '>';
  EXPECT_EQ(change("A <7> x\n", 1), "<7> -> <008>");
}

TEST_F(CounterFormatTest, KeepsMaximusFlags) {
  EXPECT_EQ(Raise("FOO.ZIP /t [03] x\n", 1), "FOO.ZIP /t   [004] x\n");
  EXPECT_EQ(Raise("FOO.ZIP /tb [03] x\n", 1), "FOO.ZIP /tb  [004] x\n");
  EXPECT_EQ(Raise("FOO.ZIP /b x\n", 1), "FOO.ZIP /b   [001] x\n");
  EXPECT_EQ(Raise("ABCDEFGH.ZIP /tb [1] x\n", 1), "ABCDEFGH.ZIP /tb [002] x\n");
  // A capital letter is no flag: gone before a counter, kept in the tail without one.
  EXPECT_EQ(Raise("FOO.ZIP /T [03] x\n", 1), "FOO.ZIP      [004] x\n");
  EXPECT_EQ(Raise("FOO.ZIP /T x\n", 1), "FOO.ZIP      [001] /T x\n");
  // Without a counter the flag must stand within the first 15 columns.
  EXPECT_EQ(Raise("FOO.ZIP       /t x\n", 1), "FOO.ZIP /t   [001] x\n");
  EXPECT_EQ(Raise("FOO.ZIP        /t x\n", 1), "FOO.ZIP      [001]        /t x\n");
  // A flag at the end of the line has no blank behind it.
  EXPECT_EQ(Raise("FOO.ZIP /t", 1), "FOO.ZIP      [001] /t");
}

TEST_F(CounterFormatTest, KeepsTheTailByteForByte) {
  const std::string tail("\0d\xFE\r\x01 x\n", 8);
  EXPECT_EQ(Raise("FOO.ZIP [1]" + tail, 1), "FOO.ZIP      [002]" + tail);
  const std::string text(" a\0b\x1A\n", 6);
  EXPECT_EQ(Raise("FOO.ZIP" + text, 1), "FOO.ZIP      [001]" + text);
  const std::string counter("[\0x]", 4);
  EXPECT_EQ(Raise("FOO.ZIP " + counter + " y\n", 1), "FOO.ZIP      [001] y\n");
}

TEST_F(CounterFormatTest, DebugTraceOnTheScreen) {
  run_.ctx.debug = true;
  Raise("FOO.ZIP      [002] x\n", 3);
  EXPECT_EQ(run_.screen.text,
            "  Source : 002\n  Step #1: 002\n  Digital: 5\n  Step #2: 00\n  Step #3: 005\n");
  Raise("FOO.ZIP /t [ab] x\n", 1);
  EXPECT_EQ(run_.screen.text,
            "  Maximus's /t has been detected.\n  Source : ab\n  Step #1: 00\n"
            "  Digital: 1\n  Step #2: 00\n  Step #3: 001\n");
  // No padding lines when the value is wider than the field.
  Raise("FOO.ZIP [999] x\n", 1);
  EXPECT_EQ(run_.screen.text, "  Source : 999\n  Step #1: 999\n  Digital: 1000\n");
  Raise("FOO.ZIP /b x\n", 1);
  EXPECT_EQ(run_.screen.text, "  No initial dlc found\n  Maximus's /b has been detected.\n");
  run_.ctx.debug = false;
  Raise("FOO.ZIP /b [1] x\n", 1);
  EXPECT_EQ(run_.screen.text, "");
}

}  // namespace
}  // namespace zirka
