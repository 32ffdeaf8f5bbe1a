#include "filelist/files_bbs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/captured_run.h"
#include "support/failing_raw_file.h"
#include "support/file_size_limit.h"
#include "support/memory_file.h"
#include "support/scratch_dir.h"

namespace zirka {
namespace {

using testing::CapturedRun;
using testing::Dos;
using testing::ScratchDir;

class FileListTest : public ::testing::Test {
 protected:
  void Sent(const std::string& name, int times) {
    for (int i = 0; i < times; ++i) run_.ctx.sentTable.Add(name);
  }

  // Copies `list` (file bytes) as the rewrite does; returns the new list's bytes.
  std::string Copy(const std::string& list) {
    auto in = platform::MakeMemoryText(std::make_shared<std::string>(list));
    auto outText = std::make_shared<std::string>();
    auto out = platform::MakeMemoryText(outText);
    EXPECT_TRUE(CopyFileList(run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out(), *in, *out));
    out->Close();
    return *outText;
  }

  CapturedRun run_;
};

TEST_F(FileListTest, OnlyFileEntriesAreRaised) {
  Sent("FOO.ZIP", 2);
  const std::string kept = "\r\n FOO.ZIP [1] blank first\r\n-FOO.ZIP [1]\r\n\tFOO.ZIP [1]\r\n";
  EXPECT_EQ(Copy(kept + "foo.zip [1] the file\r\n"), kept + "FOO.ZIP      [003] the file\r\n");
}

TEST_F(FileListTest, AListThatCannotBeReadToItsEndIsNotCopiedAsWhole) {
  // Replacing the list by the part read before the error would lose the rest.
  Sent("FOO.ZIP", 1);
  platform::TextFile in(
      std::make_unique<testing::FailingReadFile>("FOO.ZIP [1]\r\nBAR.ZIP [2]\r\n", 13), "LIST");
  auto out = platform::MakeMemoryText(std::make_shared<std::string>());
  EXPECT_FALSE(CopyFileList(run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out(), in, *out));
}

TEST_F(FileListTest, NamesMatchWholeAndWithoutWildcards) {
  Sent("FOO.ZIP", 1);
  Sent("F*.ZIP", 1);
  const std::string list = "FOO.ZI [1]\r\nFOO.ZIPX [1]\r\nF?O.ZIP [1]\r\nFOO.ZIP\r\n";
  EXPECT_EQ(Copy(list), "FOO.ZI [1]\r\nFOO.ZIPX [1]\r\nF?O.ZIP [1]\r\nFOO.ZIP      [001]\r\n");
}

TEST_F(FileListTest, ALongFirstWordIsCopiedWithOneWarningInDebugMode) {
  Sent("ABCDEFGH.ZIPX", 1);  // a sent name over 12 characters never matches
  const std::string list = "ABCDEFGH.ZIPX [1]\r\n";
  EXPECT_EQ(Copy(list), list);
  EXPECT_EQ(run_.screen.text, "");

  run_.ctx.debug = true;
  run_.OpenLog();
  EXPECT_EQ(Copy(list), list);
  const std::string warning =
      "!WARN-Found long filename (more than 12 chars) or invalid FILES.BBS string\n"
      "      This version do NOT supports long filenames!\n";
  EXPECT_EQ(run_.screen.text, warning + "\nABCDEFGH.ZIPX [1]\n");
  EXPECT_EQ(run_.Log(), Dos(warning));
}

TEST_F(FileListTest, TextStreamEdges) {
  Sent("FOO.ZIP", 1);
  // Bare line feeds come back as CR LF; the last line keeps having no line feed.
  EXPECT_EQ(Copy("A\nFOO.ZIP"), "A\r\nFOO.ZIP      [001]");
  // Nothing from a Ctrl-Z on reaches the new list.
  EXPECT_EQ(Copy("A\r\n\x1A" "FOO.ZIP\r\n"), "A\r\n");
  EXPECT_EQ(Copy(""), "");
  // NUL bytes are kept wherever they stand.
  Sent("BAZ.ZIP", 1);
  const std::string nul("B\0C [1]\r\nBAZ.ZIP [1] x\0y\r\n", 26);
  EXPECT_EQ(Copy(nul), std::string("B\0C [1]\r\nBAZ.ZIP      [002] x\0y\r\n", 33));
}

TEST_F(FileListTest, LinesAreReadInPiecesOf399) {
  Sent("FOO.ZIP", 1);
  // The rest of an over-long entry is a line of its own; the raised first piece
  // has no line feed, so the rest follows it on the same line.
  const std::string first = "FOO.ZIP [1] " + std::string(399 - 12, 'x');
  EXPECT_EQ(Copy(first + "FOO.ZIP [1] y\r\n"), "FOO.ZIP      [002] " + std::string(387, 'x') +
                                                   "FOO.ZIP [1] y\r\n");
  // A rest that begins with a blank is not an entry.
  const std::string second = "B " + std::string(397, 'x');
  EXPECT_EQ(Copy(second + " FOO.ZIP\r\n"), second + " FOO.ZIP\r\n");
}

TEST_F(FileListTest, FirstOnlyRaisesTheFirstEntryOnly) {
  Sent("FOO.ZIP", 2);
  EXPECT_EQ(Copy("FOO.ZIP [1]\r\nFOO.ZIP [1]\r\n"), "FOO.ZIP      [003]\r\nFOO.ZIP [1]\r\n");
  // The record stays withdrawn for every later list.
  EXPECT_EQ(Copy("FOO.ZIP [1]\r\n"), "FOO.ZIP [1]\r\n");
  EXPECT_EQ(run_.ctx.sentTable.records().front().name, "FOO.ZIP");
}

TEST_F(FileListTest, AWithdrawnRecordLeavesPlusSignsAlone) {
  Sent("FOO.ZIP", 1);
  EXPECT_EQ(Copy("FOO.ZIP\r\n+++++++ [5]\r\n"), "FOO.ZIP      [001]\r\n+++++++ [5]\r\n");
}

TEST_F(FileListTest, WithoutFirstOnlyEveryEntryIsRaised) {
  run_.ctx.settings.firstOnly = false;
  Sent("FOO.ZIP", 2);
  EXPECT_EQ(Copy("FOO.ZIP [1]\r\nfoo.zip [5]\r\n"),
            "FOO.ZIP      [003]\r\nFOO.ZIP      [007]\r\n");
  EXPECT_EQ(Copy("FOO.ZIP\r\n"), "FOO.ZIP      [002]\r\n");
}

TEST_F(FileListTest, DebugLinesForAMatch) {
  run_.ctx.debug = true;
  run_.OpenLog();
  Sent("FOO.ZIP", 3);
  Copy("FOO.ZIP [1]\r\n");
  EXPECT_EQ(run_.screen.text.substr(0, 24), "\xFA FOO.ZIP       3 times\n");
  EXPECT_EQ(run_.Log(), "     FOO.ZIP         3 times\r\n");
}

// The rewrite of lists on the disk.
class RewriteTest : public FileListTest {
 protected:
  std::string Area(const std::string& dir) const { return scratch_.Path(dir + "/FILES.BBS"); }
  ScratchDir scratch_;
};

TEST_F(RewriteTest, ReplacesTheListAndLeavesNoTemporaryFile) {
  Sent("FOO.ZIP", 1);
  scratch_.Put("a/FILES.BBS", "FOO.ZIP [1]\r\n");
  scratch_.Put("a/FILES.!#$", "left over from an earlier run");
  RewriteFileList(run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out(), Area("a"));
  EXPECT_EQ(scratch_.Slurp("a/FILES.BBS"), "FOO.ZIP      [002]\r\n");
  EXPECT_FALSE(scratch_.Exists("a/FILES.!#$"));
  EXPECT_EQ(run_.screen.text, "");
}

TEST_F(RewriteTest, AListThatCannotBeOpenedIsReported) {
  run_.OpenLog();
  RewriteFileList(run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out(), Area("none"));
  const std::string message = "!ERR-Cann't create temp file " + scratch_.Path("none/FILES.!#$\n");
  EXPECT_EQ(run_.screen.text, message);
  EXPECT_EQ(run_.Log(), Dos(message));
}

TEST_F(RewriteTest, ATemporaryFileThatCannotBeCreatedLeavesTheList) {
  Sent("FOO.ZIP", 1);
  scratch_.Put("a/FILES.BBS", "FOO.ZIP [1]\r\n");
  scratch_.MakeDir("a/FILES.!#$");
  RewriteFileList(run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out(), Area("a"));
  EXPECT_EQ(run_.screen.text, "!ERR-Cann't create temp file " + scratch_.Path("a/FILES.!#$\n"));
  EXPECT_EQ(scratch_.Slurp("a/FILES.BBS"), "FOO.ZIP [1]\r\n");
}

TEST_F(RewriteTest, AFailedWriteLeavesTheOldListWhole) {
  Sent("FOO.ZIP", 1);
  run_.OpenLog();
  const std::string list = "FOO.ZIP [1]\r\n" + std::string(4000, '-') + "\r\n";
  scratch_.Put("a/FILES.BBS", list);
  {
    testing::FileSizeLimit limit(2000);
    RewriteFileList(run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out(), Area("a"));
  }
  const std::string message = "!ERR-Cann't replace " + Area("a") + "\n";
  EXPECT_EQ(run_.screen.text, message);
  EXPECT_EQ(run_.Log(), Dos(message));
  EXPECT_EQ(scratch_.Slurp("a/FILES.BBS"), list);
  EXPECT_FALSE(scratch_.Exists("a/FILES.!#$"));
}

// A link planted at the temporary file's name, by anyone who may write in the
// area's directory, is removed: the file it points to is never written, and the
// list is replaced by the program's own new file.
TEST_F(RewriteTest, ALinkPlantedAtTheTemporaryNameIsNeverFollowed) {
  Sent("FOO.ZIP", 1);
  run_.ctx.settings.firstOnly = false;  // the same send raises the list of each round
  scratch_.Put("victim", "precious data\n");
  for (const bool dangling : {false, true}) {
    scratch_.Put("a/FILES.BBS", "FOO.ZIP [1]\r\n");
    std::filesystem::remove(scratch_.Path("a/FILES.!#$"));
    std::filesystem::create_symlink(scratch_.Path(dangling ? "nothing" : "victim"),
                                    scratch_.Path("a/FILES.!#$"));
    RewriteFileList(run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out(), Area("a"));
    EXPECT_EQ(scratch_.Slurp("victim"), "precious data\n");
    EXPECT_FALSE(scratch_.Exists("nothing"));
    EXPECT_EQ(scratch_.Slurp("a/FILES.BBS"), "FOO.ZIP      [002]\r\n");
    EXPECT_FALSE(std::filesystem::is_symlink(scratch_.Path("a/FILES.BBS")));
    EXPECT_FALSE(std::filesystem::exists(
        std::filesystem::symlink_status(scratch_.Path("a/FILES.!#$"))));
  }
}

TEST_F(RewriteTest, FirstOnlyAcrossTwoAreasWithProgress) {
  Sent("FOO.ZIP", 2);
  scratch_.Put("a/FILES.BBS", "BAR.ZIP [1]\r\nFOO.ZIP [1]\r\n");
  scratch_.Put("b/FILES.BBS", "FOO.ZIP [1]\r\n");
  run_.ctx.areaTable = {Area("a"), Area("b"), Area("none")};
  UpdateFileAreas(run_.ctx.areaTable, run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out());
  EXPECT_EQ(scratch_.Slurp("a/FILES.BBS"), "BAR.ZIP [1]\r\nFOO.ZIP      [003]\r\n");
  EXPECT_EQ(scratch_.Slurp("b/FILES.BBS"), "FOO.ZIP [1]\r\n");
  EXPECT_EQ(run_.screen.text, "\xFE Processing 3 file areas\n  In process :     \b\b\b\b   1"
                              "\b\b\b\b   2\b\b\b\b   3!ERR-Cann't create temp file " +
                                  scratch_.Path("none/FILES.!#$\n") + "\n");
}

// Outside debug mode a list is copied while the one before it is finished: the
// files and the screen must be what one list after the other gives. One list
// named again right after itself (by another spelling, through a linked
// directory, or as a linked FILES.BBS in another directory) is read only once
// the first replacement is in place; a report of the list before comes before
// the next list's progress.
TEST_F(RewriteTest, ListsFinishedWhileTheNextIsCopiedEndAsOneAfterTheOther) {
  Sent("FOO.ZIP", 2);
  run_.ctx.settings.firstOnly = false;
  scratch_.Put("a/FILES.BBS", "FOO.ZIP [1]\r\n");
  // b's copy is too large for the files this process may write: it fails.
  const std::string bList = "FOO.ZIP [1]\r\n" + std::string(4000, '-') + "\r\n";
  scratch_.Put("b/FILES.BBS", bList);
  scratch_.Put("c/FILES.BBS", "FOO.ZIP [1]\r\n");
  std::filesystem::create_directory_symlink(scratch_.Path("a"), scratch_.Path("link"));
  scratch_.MakeDir("d");
  std::filesystem::create_symlink(scratch_.Path("c/FILES.BBS"), scratch_.Path("d/FILES.BBS"));
  run_.ctx.areaTable = {Area("a"), Area("link"), scratch_.Path("a/./FILES.BBS"), Area("b"),
                        Area("none"), Area("c"), Area("d"), Area("a")};
  {
    testing::FileSizeLimit limit(2000);
    UpdateFileAreas(run_.ctx.areaTable, run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out());
  }

  EXPECT_EQ(scratch_.Slurp("a/FILES.BBS"), "FOO.ZIP      [009]\r\n");
  // d's list is a link to c's: c is raised twice through it, and the link stays.
  EXPECT_EQ(scratch_.Slurp("c/FILES.BBS"), "FOO.ZIP      [005]\r\n");
  EXPECT_TRUE(std::filesystem::is_symlink(scratch_.Path("d/FILES.BBS")));
  const std::string bReport = "!ERR-Cann't replace " + Area("b") + "\n";
  EXPECT_EQ(scratch_.Slurp("b/FILES.BBS"), bList);
  EXPECT_EQ(run_.screen.text, "\xFE Processing 8 file areas\n  In process :     "
                              "\b\b\b\b   1\b\b\b\b   2\b\b\b\b   3\b\b\b\b   4" + bReport +
                                  "\b\b\b\b   5!ERR-Cann't create temp file " +
                                  scratch_.Path("none/FILES.!#$\n") +
                                  "\b\b\b\b   6\b\b\b\b   7\b\b\b\b   8\n");
  for (const char* dir : {"a", "c", "d"}) EXPECT_FALSE(scratch_.Exists(std::string(dir) + "/FILES.!#$"));
}

TEST_F(RewriteTest, DebugModeNamesEachArea) {
  run_.ctx.debug = true;
  run_.OpenLog();
  scratch_.Put("a/FILES.BBS", "X\r\n");
  run_.ctx.areaTable = {Area("a")};
  UpdateFileAreas(run_.ctx.areaTable, run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out());
  EXPECT_EQ(run_.screen.text, "\xFE Processing 1 file areas\nProcessing " + Area("a") + "\n");
  EXPECT_EQ(run_.Log(), Dos("\nFile area: 01\nPath     : " + Area("a") + "\n"));
}

TEST_F(RewriteTest, NoAreas) {
  UpdateFileAreas(run_.ctx.areaTable, run_.ctx.settings, run_.ctx.sentTable, run_.ctx.out());
  EXPECT_EQ(run_.screen.text, "\xFE Processing 0 file areas\n  In process :     \n");
}

}  // namespace
}  // namespace zirka
