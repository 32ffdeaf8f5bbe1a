#include "logscan/sent_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/captured_run.h"

namespace zirka {
namespace {

using testing::CapturedRun;

// Every name NextSentFile returns from one log.
std::vector<std::string> Names(const std::string& log, std::vector<std::string> ignore = {}) {
  CapturedRun run;
  run.ctx.ignoreList = std::move(ignore);
  LogEntry& entry = run.AddLog("A.LOG", log);
  std::vector<std::string> names;
  while (auto name = NextSentFile(entry, run.ctx.ignoreList)) names.push_back(*name);
  return names;
}

using Strings = std::vector<std::string>;

TEST(NextSentFile, TransferTagsAtPositions15And16) {
  EXPECT_EQ(Names("01/05 10:00:00 ZS c:\\f\\a.zip OK: \n"
                  "01/05 10:00:00 JS c:\\f\\b.zip OK: \n"
                  "01/05 10:00:00 HSx c:\\f\\c.zip OK: \n"
                  "01/05 10:00:00 zs c:\\f\\d.zip OK: \n"
                  "01/05 10:00:00 ZR c:\\f\\e.zip OK: \n"
                  "01/05 10:00:00 AS c:\\f\\f.zip OK: \n"
                  "01/05 10:00:00  ZS c:\\f\\g.zip OK: \n"
                  "01/05 10:00:00\tZS c:\\f\\h.zip OK: \n"
                  "01/05 10:00:00 ZS\n"),
            (Strings{"A.ZIP", "B.ZIP", "C.ZIP", "H.ZIP"}));
}

TEST(NextSentFile, NeedsBlankOkColonBlankAnywhere) {
  EXPECT_EQ(Names("01/05 10:00:00 ZS c:\\f\\a.zip OK: 100 cps\n"
                  "01/05 10:00:00 ZS c:\\f\\b.zip ok: 100 cps\n"
                  "01/05 10:00:00 ZS c:\\f\\c.zip OK:100 cps\n"
                  "01/05 10:00:00 ZS c:\\f\\d.zip OK:\n"
                  "01/05 10:00:00 ZS c:\\f\\e.zip Failed\n"
                  "01/05 10:00:00 ZS c:\\f\\f.zip 100 cps; OK: \n"),
            (Strings{"A.ZIP", "F.ZIP"}));
}

TEST(NextSentFile, NameIsWhatFollowsTheLastBackslash) {
  EXPECT_EQ(Names("01/05 10:00:00 ZS C:\\FILES\\FOO.ZIP OK: \n"
                  "01/05 10:00:00 ZS c:\\other\\foo.zip OK: \n"
                  "01/05 10:00:00 ZS /srv/files/bar.zip OK: \n"
                  "01/05 10:00:00 ZS c:\\a/b\\c/d.zip OK: \n"
                  "01/05 10:00:00 ZS d:baz.arj OK: \n"
                  "01/05 10:00:00 ZS    plain.txt    OK: \n"
                  "01/05 10:00:00 ZSxyz\\path c:\\q\\ok.zip OK: \n"),
            (Strings{"FOO.ZIP", "FOO.ZIP", "/SRV/FILES/BAR.ZIP", "C/D.ZIP", "D:BAZ.ARJ",
                     "PLAIN.TXT", "OK.ZIP"}));
  // Only letters a-z change case.
  EXPECT_EQ(Names("01/05 10:00:00 ZS c:\\\xA0\xE0z.zip OK: \n"), (Strings{"\xA0\xE0Z.ZIP"}));
}

TEST(NextSentFile, TabIsNoSeparator) {
  // The path word starts after the first blank: here that is the word "OK:".
  EXPECT_EQ(Names("01/05 10:00:00 ZS\tc:\\f\\a.zip OK: 100\n"), (Strings{"OK:"}));
}

TEST(NextSentFile, PathWordAtTheEndOfAPieceKeepsItsLineFeed) {
  // " OK: " stands before the tag here, so the path word can end the piece.
  EXPECT_EQ(Names("01/05 OK: 00000ZS c:\\f\\a.zip\r\n"
                  "01/05 OK: 00000ZS b.zip\n"
                  "01/05 OK: 00000ZS   \r\n"
                  "01/05 OK: 00000ZS c:\\f\\c.zip"),
            (Strings{"A.ZIP\n", "B.ZIP\n", "\n", "C.ZIP"}));
}

TEST(NextSentFile, LongNamesAreKeptWhole) {
  EXPECT_EQ(Names("01/05 10:00:00 ZS c:\\f\\a-very-long-file-name.tar.gz OK: \n"),
            (Strings{"A-VERY-LONG-FILE-NAME.TAR.GZ"}));
}

TEST(NextSentFile, EmptyNameIsPassedOverAndTheLogGoesOn) {
  EXPECT_EQ(Names("01/05 10:00:00 ZS c:\\files\\ OK: \n"
                  "01/05 10:00:01 ZS c:\\files\\after.zip OK: \n"),
            (Strings{"AFTER.ZIP"}));
}

TEST(NextSentFile, IgnoreListItemsAnywhereInTheName) {
  const std::string log = "01/05 10:00:00 ZS c:\\f\\files.bbs OK: \n"
                          "01/05 10:00:00 ZS c:\\f\\myfiles.zip OK: \n"
                          "01/05 10:00:00 ZS c:\\f\\foo.zip OK: \n"
                          "01/05 10:00:00 ZS c:\\files\\bar.zip OK: \n";
  EXPECT_EQ(Names(log, {"FILES"}), (Strings{"FOO.ZIP", "BAR.ZIP"}));
  EXPECT_EQ(Names(log, {"XYZ", ".ZIP"}), (Strings{"FILES.BBS"}));
  EXPECT_EQ(Names(log, {}), (Strings{"FILES.BBS", "MYFILES.ZIP", "FOO.ZIP", "BAR.ZIP"}));
}

TEST(NextSentFile, LinesAreReadInPiecesOf255) {
  // " OK: " beyond the first 255 characters is in a piece without a date.
  const std::string far = "01/05 10:00:00 ZS c:\\f\\far.zip " + std::string(230, '.') + " OK: \n";
  // A remainder that looks like a sent-file line is one.
  const std::string rest =
      "01/05 10:00:00 x " + std::string(238, '.') + "02/05 11:00:00 ZS c:\\f\\rest.zip OK: \n";
  CapturedRun run;
  LogEntry& entry = run.AddLog("A.LOG", far + rest);
  EXPECT_EQ(NextSentFile(entry, run.ctx.ignoreList), std::optional<std::string>("REST.ZIP"));
  EXPECT_EQ(entry.lastTime.written(), "02/05 11:00:00");
  // A line of exactly 255 characters: its line feed is a piece of its own.
  EXPECT_EQ(Names("01/05 10:00:00 ZS c:\\f\\x.zip OK: " + std::string(222, '.') + "\n" +
                  "01/05 10:00:00 ZS c:\\f\\y.zip OK: \n"),
            (Strings{"X.ZIP", "Y.ZIP"}));
}

TEST(NextSentFile, NulBytesAreKept) {
  const std::string log("01/05 10:00:00 ZS c:\\f\\a\0b.zip\0 OK: \n", 37);
  EXPECT_EQ(Names(log), (Strings{std::string("A\0B.ZIP\0", 8)}));
  // A NUL before " OK: " does not hide it.
  const std::string hidden("01/05 10:00:00 ZS c:\\f\\c.zip \0 OK: \n", 36);
  EXPECT_EQ(Names(hidden), (Strings{"C.ZIP"}));
}

TEST(NextSentFile, EveryDatedLineSetsTheLogTime) {
  CapturedRun run;
  LogEntry& entry = run.AddLog("A.LOG",
                               "01/05 10:00:00 ZS c:\\f\\a.zip OK: \r\n"
                               "undated line\r\n"
                               "02/05 11:00:00 session ends\r\n"
                               "03/05 12:00:0\r\n"
                               "03/05 12:00:1");
  EXPECT_EQ(NextSentFile(entry, run.ctx.ignoreList), std::optional<std::string>("A.ZIP"));
  EXPECT_EQ(entry.lastTime.written(), "01/05 10:00:00");
  EXPECT_EQ(NextSentFile(entry, run.ctx.ignoreList), std::nullopt);
  // Lines cut short within their time (the last one still being written) give none.
  EXPECT_EQ(entry.lastTime.written(), "02/05 11:00:00");
  EXPECT_EQ(NextSentFile(entry, run.ctx.ignoreList), std::nullopt);

  CapturedRun onlyShort;
  LogEntry& cut = onlyShort.AddLog("B.LOG", "03/05 12:0", true);
  ScanSentFiles(onlyShort.ctx);
  EXPECT_EQ(cut.lastTime.written(), "");
  EXPECT_EQ(onlyShort.ctx.newLastTime.written(), "");  // nothing broken is ever stored
}

TEST(SentTable, KeepsFirstAppearanceOrderAndCounts) {
  SentTable table;
  EXPECT_TRUE(table.Add("FOO.ZIP"));
  EXPECT_TRUE(table.Add("FOO"));
  EXPECT_FALSE(table.Add("FOO.ZIP"));
  EXPECT_TRUE(table.Add("BAR.ARJ"));
  EXPECT_FALSE(table.Add("FOO.ZIP"));
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table.records()[0].name, "FOO.ZIP");
  EXPECT_EQ(table.records()[0].times, 3);
  EXPECT_EQ(table.records()[1].name, "FOO");
  EXPECT_EQ(table.records()[1].times, 1);
  EXPECT_EQ(table.records()[2].name, "BAR.ARJ");
  ASSERT_NE(table.Find("BAR.ARJ"), nullptr);
  EXPECT_EQ(table.Find("BAR.ARJ")->times, 1);
  EXPECT_EQ(table.Find("bar.arj"), nullptr);
  EXPECT_EQ(table.Find("FOO.Z"), nullptr);
  // Many names, over several growths of the index: the records stay where they
  // were found, each is found again, and the names never added are not.
  for (int i = 0; i < 5000; ++i) table.Add("N" + std::to_string(i));
  for (int i = 0; i < 5000; ++i) {
    ASSERT_EQ(table.Find("N" + std::to_string(i)), &table.records()[3 + i]) << i;
    ASSERT_EQ(table.Find("M" + std::to_string(i)), nullptr) << i;
  }
}

TEST(ScanSentFiles, ProgressCountsDistinctNamesOverAllLogs) {
  CapturedRun run;
  run.AddLog("A.LOG",
             "01/05 10:00:00 ZS c:\\f\\foo.zip OK: \n"
             "01/05 10:00:01 ZS c:\\f\\foo.zip OK: \n"
             "01/05 10:00:02 ZS c:\\f\\bar.arj OK: \n", true);
  run.AddLog("B.LOG", "01/05 10:00:03 ZS d:\\g\\FOO.ZIP OK: \n", false);
  ScanSentFiles(run.ctx);
  EXPECT_EQ(run.screen.text,
            "\xFE Scanning log(s) for new sent files\n  Total found:    0"
            "\b\b\b\b   1\b\b\b\b   2\n");
  ASSERT_EQ(run.ctx.sentTable.size(), 2u);
  EXPECT_EQ(run.ctx.sentTable.records()[0].name, "FOO.ZIP");
  EXPECT_EQ(run.ctx.sentTable.records()[0].times, 3);  // old logs are read where they stand
  EXPECT_EQ(run.ctx.sentTable.records()[1].name, "BAR.ARJ");
}

TEST(ScanSentFiles, DebugLinesShowTableSizesAndTimes) {
  CapturedRun run;
  run.ctx.debug = true;
  run.ctx.storedLastTime = LogTime("01/05 09:00:00");
  run.AddLog("A.LOG",
             "01/05 10:00:00 ZS c:\\f\\foo.zip OK: \n"
             "01/05 10:00:01 ZS c:\\f\\foo.zip OK: \n", true);
  run.AddLog("B.LOG", "", true);
  ScanSentFiles(run.ctx);
  EXPECT_EQ(run.screen.text,
            "\xFE Scanning log(s) for new sent files\n  Total found:    0"
            "  (0020, sent file #00)\n\b\b\b\b   1"
            "  (0040, sent file #01)\n\n"
            "Log A.LOG Last time: 01/05 10:00:01\n"
            "Log B.LOG Last time: \n"
            "Finally Last_Time=01/05 10:00:01\n");
  EXPECT_EQ(run.ctx.newLastTime.written(), "01/05 10:00:01");
}

// The new Last_Time from logs whose last dated lines are `times` (all new).
std::string NewLastTime(const std::string& stored, const std::vector<std::string>& times,
                        const std::vector<bool>& isNew = {}) {
  CapturedRun run;
  run.ctx.storedLastTime = LogTime(stored);
  for (std::size_t i = 0; i < times.size(); ++i) {
    const bool fresh = isNew.empty() || isNew[i];
    run.AddLog("L" + std::to_string(i), times[i].empty() ? "" : times[i] + " x\n", fresh);
  }
  ScanSentFiles(run.ctx);
  return run.ctx.newLastTime.written();
}

TEST(ScanSentFiles, NewLastTimeAcrossTheYearTurn) {
  EXPECT_EQ(NewLastTime("28/12 12:00:00", {"02/01 08:00:00"}), "02/01 08:00:00");
  EXPECT_EQ(NewLastTime("05/01 10:00:00", {"30/12 10:00:00"}), "05/01 10:00:00");
}

TEST(ScanSentFiles, NewLastTimeIsTheLatestWhateverTheOrder) {
  EXPECT_EQ(NewLastTime("10/01 00:00:00", {"15/01 10:00:00", "14/01 23:00:00"}), "15/01 10:00:00");
  EXPECT_EQ(NewLastTime("10/01 00:00:00", {"14/01 23:00:00", "15/01 10:00:00"}), "15/01 10:00:00");
  EXPECT_EQ(NewLastTime("", {"14/01 23:00:00", "15/01 10:00:00"}), "15/01 10:00:00");
  EXPECT_EQ(NewLastTime("", {"15/01 10:00:00", "14/01 23:00:00"}), "15/01 10:00:00");
  // Older than the stored time: the stored time stays.
  EXPECT_EQ(NewLastTime("20/01 00:00:00", {"15/01 10:00:00"}), "20/01 00:00:00");
  // Old logs take no part.
  EXPECT_EQ(NewLastTime("10/01 00:00:00", {"15/01 10:00:00", "14/01 23:00:00"}, {false, true}),
            "14/01 23:00:00");
}

TEST(ScanSentFiles, LogsWithoutATimeTakeNoPart) {
  // Without a stored time the start is the first time read at all.
  EXPECT_EQ(NewLastTime("", {"", "14/01 23:00:00", ""}), "14/01 23:00:00");
  EXPECT_EQ(NewLastTime("10/01 00:00:00", {"", "", ""}), "10/01 00:00:00");
  // No time anywhere: nothing to store.
  EXPECT_EQ(NewLastTime("", {"", ""}), "");
}

}  // namespace
}  // namespace zirka
