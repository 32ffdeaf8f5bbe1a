#include "config/last_time.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/terminate.h"
#include "platform/files.h"
#include "support/captured_run.h"
#include "support/failing_raw_file.h"
#include "support/scratch_dir.h"

namespace zirka {
namespace {

using testing::CapturedRun;
using testing::Dos;
using testing::ScratchDir;

constexpr char kNewTime[] = "07/12 09:14:38";
const std::string kLine = std::string("Last_Time ") + kNewTime + "  ; Last analisis time\r\n";
const std::string kBlock =
    kLine + ";\r\n;   \x82\xE0\xA5\xAC\xEF \xAF\xAE\xE1\xAB\xA5\xA4\xAD\xA5\xA3\xAE "
            "\xAF\xE0\xAE\xE1\xAC\xAE\xE2\xE0\xA0 \xAB\xAE\xA3\xA0\r\n";
const std::string kUpdated = "\xFE \"Last_Time\" variable updated\n";
const std::string kAdded = "\xFE \"Last_Time\" variable added to Zirka.Ctl\n";
const std::string kFailed = "\nAn error occured while adding Last_Time variable to Zirka.Ctl\n";

class LastTimeTest : public ::testing::Test {
 protected:
  LastTimeTest() {
    scratch_.Put("bin/zirka.exe", "");
    run_.ctx.programPath = scratch_.Path("bin/zirka.exe");
    run_.ctx.mainCtlPath = scratch_.Path("ZIRKA.CTL");
    run_.ctx.anyLogNew = true;
    run_.ctx.newLastTime = LogTime(kNewTime);
    run_.ctx.sentTable.Add("FOO.ZIP");
    run_.OpenLog();
  }

  // Runs StoreLastTime on `ctl` as ZIRKA.CTL; returns the errorlevel.
  int Store(const std::string& ctl, bool noStoredTime = false) {
    scratch_.Put("ZIRKA.CTL", ctl);
    run_.ctx.noStoredLastTime = noStoredTime;
    run_.ctx.mainCtl = platform::OpenText(run_.ctx.mainCtlPath, platform::Mode::Read,
                                          platform::Share::DenyWrite);
    EXPECT_NE(run_.ctx.mainCtl, nullptr);
    return Terminate(run_.ctx, StoreLastTime(run_.ctx));
  }

  std::string Ctl() const { return scratch_.Slurp("ZIRKA.CTL"); }
  // The screen text before the exit summary of Terminate.
  std::string Notices() const {
    return run_.screen.text.substr(0, run_.screen.text.find("\xFE Exit with errorlevel"));
  }
  // No temporary file is left behind, neither beside the program nor beside ZIRKA.CTL.
  void ExpectNoTemporaryFiles() const {
    EXPECT_FALSE(scratch_.Exists("bin/zirka.$#!"));
    EXPECT_FALSE(scratch_.Exists("ZIRKA.$#!"));
  }

  ScratchDir scratch_;
  CapturedRun run_;
};

TEST_F(LastTimeTest, ReplacesTheStoredTime) {
  EXPECT_EQ(Store("LOG x\r\nLast_Time 01/12 10:00:00  ; Last analisis time\r\n;end\r\n"), 0);
  EXPECT_EQ(Ctl(), "LOG x\r\n" + kLine + ";end\r\n");
  EXPECT_EQ(Notices(), kUpdated);
  EXPECT_NE(run_.Log().find(Dos(kUpdated)), std::string::npos);
  ExpectNoTemporaryFiles();
}

TEST_F(LastTimeTest, AControlFileThatCannotBeReadToItsEndIsLeftWhole) {
  // Writing back only the part read before the error would lose the settings below it.
  const std::string ctl = "LOG D:\\ZIRKA.LOG\r\nLast_Time 01/12 10:00:00\r\nAREA D:\\FILES\r\n";
  scratch_.Put("ZIRKA.CTL", ctl);
  run_.ctx.mainCtl = std::make_unique<platform::TextFile>(
      std::make_unique<testing::FailingReadFile>(ctl, 20), run_.ctx.mainCtlPath);
  Terminate(run_.ctx, StoreLastTime(run_.ctx));
  EXPECT_EQ(Ctl(), ctl);
  EXPECT_EQ(Notices(), kFailed + "\n");
  ExpectNoTemporaryFiles();
}

TEST_F(LastTimeTest, AddsTheBlockWhenNoTimeWasStored) {
  EXPECT_EQ(Store("LOG x\r\n\r\n", true), 0);
  EXPECT_EQ(Ctl(), "LOG x\r\n\r\n" + kBlock);
  EXPECT_EQ(Notices(), kAdded);
  EXPECT_NE(run_.Log().find(Dos(kAdded)), std::string::npos);
  ExpectNoTemporaryFiles();
}

TEST_F(LastTimeTest, TheAddedBlockStartsOnALineOfItsOwn) {
  Store("LOG x", true);
  EXPECT_EQ(Ctl(), "LOG x\r\n" + kBlock);
  Store("", true);
  EXPECT_EQ(Ctl(), kBlock);
}

TEST_F(LastTimeTest, IndentedAndDoubledLinesAreEachReplaced) {
  Store("  \tLast_Time 01/12 10:00:00\r\nX\r\nLast_Time 02/12 10:00:00\r\n");
  EXPECT_EQ(Ctl(), kLine + "X\r\n" + kLine);
  EXPECT_EQ(Notices(), kUpdated + kUpdated);
}

TEST_F(LastTimeTest, TheKeywordIsRecognisedInAnyCaseAndAsAWholeWord) {
  Store("LAST_TIME 01/12 10:00:00\r\nlast_time;x\r\nLast_Time\r\nLast_Time\tx\r\n");
  EXPECT_EQ(Ctl(), kLine + kLine + kLine + kLine);
  // A longer word and a comment are other lines, copied as they stand.
  const std::string other = "Last_Timer 5\r\n;Last_Time 01/12 10:00:00\r\n";
  Store(other, true);
  EXPECT_EQ(Ctl(), other + kBlock);
}

TEST_F(LastTimeTest, NothingAfterACtrlZIsCarriedOver) {
  Store("LOG x\r\n\x1A" "Last_Time 01/12 10:00:00\r\n", true);
  EXPECT_EQ(Ctl(), "LOG x\r\n" + kBlock);
}

TEST_F(LastTimeTest, NothingToStoreLeavesTheFileAlone) {
  const std::string ctl = "Last_Time 01/12 10:00:00\n";
  run_.ctx.anyLogNew = false;
  EXPECT_EQ(Store(ctl), 0);
  EXPECT_EQ(Ctl(), ctl);
  run_.ctx.anyLogNew = true;
  run_.ctx.newLastTime = LogTime();
  EXPECT_EQ(Store(ctl, true), 0);
  EXPECT_EQ(Ctl(), ctl);
  EXPECT_EQ(Notices(), "");
}

TEST_F(LastTimeTest, NoSentFileStillStoresTheTimeAndEndsWithFour) {
  CapturedRun quiet;
  quiet.ctx.programPath = run_.ctx.programPath;
  quiet.ctx.mainCtlPath = run_.ctx.mainCtlPath;
  quiet.ctx.anyLogNew = true;
  quiet.ctx.newLastTime = LogTime(kNewTime);
  scratch_.Put("ZIRKA.CTL", "Last_Time 01/12 10:00:00\r\n");
  quiet.ctx.mainCtl = platform::OpenText(quiet.ctx.mainCtlPath, platform::Mode::Read,
                                         platform::Share::DenyWrite);
  EXPECT_EQ(Terminate(quiet.ctx, StoreLastTime(quiet.ctx)), 4);
  EXPECT_EQ(Ctl(), kLine);
}

TEST_F(LastTimeTest, FallsBackBesideTheControlFileWhenTheProgramDirectoryFails) {
  // The program's directory does not exist.
  run_.ctx.programPath = scratch_.Path("gone/zirka.exe");
  Store("Last_Time 01/12 10:00:00\r\n");
  EXPECT_EQ(Ctl(), kLine);
  EXPECT_EQ(Notices(), kUpdated);
  // The program's "directory" is a file.
  run_.screen.text.clear();
  run_.ctx.programPath = scratch_.Path("bin/zirka.exe/zirka");
  Store("X\r\n", true);
  EXPECT_EQ(Ctl(), "X\r\n" + kBlock);
  EXPECT_EQ(Notices(), kAdded);
  ExpectNoTemporaryFiles();
}

TEST_F(LastTimeTest, FallsBackWhenTheMoveCrossesVolumes) {
  // /dev/shm is a memory file system of its own on Linux.
  const std::filesystem::path other = "/dev/shm";
  if (!std::filesystem::is_directory(other)) GTEST_SKIP() << "no second volume";
  const std::filesystem::path bin = other / "zirka-lists-last-time";
  std::filesystem::remove_all(bin);
  std::filesystem::create_directories(bin);
  run_.ctx.programPath = (bin / "zirka").string();
  Store("Last_Time 01/12 10:00:00\r\n");
  EXPECT_EQ(Ctl(), kLine);
  EXPECT_EQ(Notices(), kUpdated);
  EXPECT_FALSE(std::filesystem::exists(bin / "zirka.$#!"));
  ExpectNoTemporaryFiles();
  std::filesystem::remove_all(bin);
}

TEST_F(LastTimeTest, BothTemporaryFilesFailing) {
  run_.ctx.programPath = scratch_.Path("gone/zirka.exe");
  scratch_.MakeDir("ZIRKA.$#!");
  const std::string ctl = "Last_Time 01/12 10:00:00\r\n";
  EXPECT_EQ(Store(ctl), 0);
  EXPECT_EQ(Ctl(), ctl);
  EXPECT_EQ(Notices(), kFailed + "\n");
  EXPECT_NE(run_.Log().find(Dos(kFailed)), std::string::npos);
}

TEST_F(LastTimeTest, TemporaryNameFollowsTheProgramsName) {
  // No "." in the program's name: ".$#!" is appended; a "." in a directory does not count.
  scratch_.Put("bin.d/zirka", "");
  run_.ctx.programPath = scratch_.Path("bin.d/zirka");
  scratch_.Put("bin.d/zirka.$#!", "");
  scratch_.MakeDir("ZIRKA.$#!");  // no fallback
  // An existing temporary file is emptied and used.
  Store("Last_Time 01/12 10:00:00\r\n");
  EXPECT_EQ(Ctl(), kLine);
  EXPECT_FALSE(scratch_.Exists("bin.d/zirka.$#!"));
}

}  // namespace
}  // namespace zirka
