// Opening, locking, replacing and removing real files through their DOS paths.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "support/scratch_dir.h"

#if !defined(_WIN32)

namespace zirka::platform {
namespace {

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() { scratch_.MapDriveD(); }
  testing::ScratchDir scratch_;
};

TEST_F(FilesTest, OpensWhateverTheLetterCaseAndCreatesNewNamesAsWritten) {
  scratch_.Put("Fido/zirka.ctl", "AREA x\r\n");
  auto ctl = OpenText("D:\\FIDO\\ZIRKA.CTL", Mode::Read, Share::DenyWrite);
  ASSERT_NE(ctl, nullptr);
  EXPECT_EQ(ctl->name(), "D:\\FIDO\\ZIRKA.CTL");
  std::string piece;
  ASSERT_TRUE(ctl->ReadPiece(piece, 180));
  EXPECT_EQ(piece, "AREA x\n");

  auto log = OpenText("D:\\FIDO\\ZIRKA.LOG", Mode::Append, Share::DenyWrite);
  ASSERT_NE(log, nullptr);
  ASSERT_TRUE(log->Write("line\n"));
  ASSERT_TRUE(log->Close());
  EXPECT_EQ(scratch_.Slurp("Fido/ZIRKA.LOG"), "line\r\n");
}

TEST_F(FilesTest, MissingFilesAndDirectoriesDoNotOpen) {
  scratch_.MakeDir("Fido/FILES.BBS");
  EXPECT_EQ(OpenText("D:\\FIDO\\NOFILE.CTL", Mode::Read, Share::DenyWrite), nullptr);
  EXPECT_EQ(OpenText("D:\\NODIR\\NEW.LOG", Mode::Append, Share::DenyWrite), nullptr);
  // A directory opens for reading at the system level; it must not as a text file.
  EXPECT_EQ(OpenText("D:\\FIDO\\FILES.BBS", Mode::Read, Share::DenyWrite), nullptr);
  EXPECT_EQ(OpenText("D:\\FIDO\\FILES.BBS", Mode::Read, Share::DenyNone), nullptr);
  EXPECT_EQ(OpenText("D:\\FIDO\\FILES.BBS", Mode::Write, Share::DenyAll), nullptr);
  EXPECT_EQ(OpenText("D:\\FIDO", Mode::Append, Share::DenyWrite), nullptr);
}

TEST_F(FilesTest, WriteEmptiesAndAppendKeeps) {
  scratch_.Put("a.txt", "old\r\n");
  scratch_.Put("b.txt", "old\r\n");
  {
    auto w = OpenText("D:\\A.TXT", Mode::Write, Share::DenyAll);
    ASSERT_NE(w, nullptr);
    w->Write("new\n");
  }
  {
    auto a = OpenText("D:\\B.TXT", Mode::Append, Share::DenyWrite);
    ASSERT_NE(a, nullptr);
    a->Write("more\n");
  }
  EXPECT_EQ(scratch_.Slurp("a.txt"), "new\r\n");
  EXPECT_EQ(scratch_.Slurp("b.txt"), "old\r\nmore\r\n");
}

TEST_F(FilesTest, ReadersDenyingWriteShareTheFile) {
  scratch_.Put("t-mail.log", "x\r\n");
  auto one = OpenText("D:\\T-MAIL.LOG", Mode::Read, Share::DenyWrite);
  auto two = OpenText("D:\\T-MAIL.LOG", Mode::Read, Share::DenyWrite);
  EXPECT_NE(one, nullptr);
  EXPECT_NE(two, nullptr);
  // ... but a writer that denies others anything can't have it.
  EXPECT_EQ(OpenText("D:\\T-MAIL.LOG", Mode::Append, Share::DenyWrite), nullptr);
}

TEST_F(FilesTest, DenyAllKeepsEveryoneOutButShareAll) {
  scratch_.Put("files.!#$", "temp\r\n");
  auto holder = OpenText("D:\\FILES.!#$", Mode::Append, Share::DenyAll);
  ASSERT_NE(holder, nullptr);
  EXPECT_EQ(OpenText("D:\\FILES.!#$", Mode::Read, Share::DenyWrite), nullptr);
  EXPECT_EQ(OpenText("D:\\FILES.!#$", Mode::Append, Share::DenyAll), nullptr);
  EXPECT_NE(OpenText("D:\\FILES.!#$", Mode::Read, Share::DenyNone), nullptr);
  holder.reset();
  EXPECT_NE(OpenText("D:\\FILES.!#$", Mode::Read, Share::DenyWrite), nullptr);
}

TEST_F(FilesTest, WriteOpenThatLosesTheLockLeavesTheFileWhole) {
  const std::string list = "FILE.ZIP     [005] A file\r\n";
  scratch_.Put("files.bbs", list);
  auto reader = OpenText("D:\\FILES.BBS", Mode::Read, Share::DenyWrite);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(OpenText("D:\\FILES.BBS", Mode::Write, Share::DenyAll), nullptr);
  EXPECT_EQ(OpenText("D:\\FILES.BBS", Mode::Write, Share::DenyWrite), nullptr);
  EXPECT_EQ(scratch_.Slurp("files.bbs"), list);
  std::string piece;
  ASSERT_TRUE(reader->ReadPiece(piece, 399));
  EXPECT_EQ(piece, "FILE.ZIP     [005] A file\n");
}

TEST_F(FilesTest, ReplaceMovesTheTemporaryFileOverTheListInAnyCase) {
  scratch_.Put("Area/files.bbs", "old\r\n");
  scratch_.Put("Area/FILES.!#$", "new\r\n");
  ASSERT_TRUE(ReplaceFile("D:\\AREA\\FILES.!#$", "D:\\AREA\\FILES.BBS"));
  EXPECT_EQ(scratch_.Slurp("Area/files.bbs"), "new\r\n");
  EXPECT_FALSE(scratch_.Exists("Area/FILES.!#$"));
  EXPECT_FALSE(scratch_.Exists("Area/FILES.BBS"));  // no second list beside it
}

// A temporary file is always a new file of the program's own: a leftover no one
// holds is removed first, one another run holds is Busy and left alone, and
// while it is held until its move no other run can take its name.
TEST_F(FilesTest, CreateMakesANewFileAndMovesItWhileHeld) {
  scratch_.Put("Area/files.bbs", "old\r\n");
  scratch_.Put("Area/FILES.!#$", "leftover of a killed run");
  auto temp = OpenText("D:\\AREA\\FILES.!#$", Mode::Create, Share::DenyAll);
  ASSERT_NE(temp, nullptr);
  ASSERT_TRUE(temp->Write("new\n") && temp->Flush());
  OpenFailure why = OpenFailure::Other;
  EXPECT_EQ(OpenText("D:\\AREA\\FILES.!#$", Mode::Create, Share::DenyAll, why), nullptr);
  EXPECT_EQ(why, OpenFailure::Busy);
  ASSERT_TRUE(ReplaceFileHeld(std::move(temp), "D:\\AREA\\FILES.!#$", "D:\\AREA\\FILES.BBS"));
  EXPECT_EQ(scratch_.Slurp("Area/files.bbs"), "new\r\n");
  EXPECT_FALSE(scratch_.Exists("Area/FILES.!#$"));

  scratch_.MakeDir("Area/FILES.!#$");  // a directory is never removed
  EXPECT_EQ(OpenText("D:\\AREA\\FILES.!#$", Mode::Create, Share::DenyAll), nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(scratch_.Path("Area/FILES.!#$")));
}

TEST_F(FilesTest, FailedReplaceLeavesBothFilesAsTheyWere) {
  scratch_.MakeDir("Area/FILES.BBS/inside");
  scratch_.Put("Area/FILES.!#$", "new\r\n");
  EXPECT_FALSE(ReplaceFile("D:\\AREA\\FILES.!#$", "D:\\AREA\\FILES.BBS"));
  EXPECT_TRUE(std::filesystem::is_directory(scratch_.Path("Area/FILES.BBS/inside")));
  EXPECT_EQ(scratch_.Slurp("Area/FILES.!#$"), "new\r\n");

  scratch_.Put("Area/zirka.ctl", "Last_Time 01/02 03:04:05\r\n");
  EXPECT_FALSE(ReplaceFile("D:\\AREA\\ZIRKA.$#!", "D:\\AREA\\ZIRKA.CTL"));
  EXPECT_EQ(scratch_.Slurp("Area/zirka.ctl"), "Last_Time 01/02 03:04:05\r\n");
}

TEST_F(FilesTest, IdsAreEqualExactlyForOneFileOrDirectory) {
  scratch_.Put("Fido/A/FILES.BBS", "");
  scratch_.MakeDir("Fido/B");
  std::filesystem::create_directory_symlink(scratch_.Path("Fido/A"), scratch_.Path("Fido/LinkA"));
  const auto a = DirectoryIdOf("D:\\FIDO\\A\\FILES.BBS");
  ASSERT_TRUE(a.has_value());
  EXPECT_EQ(DirectoryIdOf("d:\\fido\\a\\NEW.BBS"), a);
  EXPECT_EQ(DirectoryIdOf(scratch_.Path("Fido/A/./FILES.BBS")), a);
  EXPECT_EQ(DirectoryIdOf("D:\\FIDO\\LINKA\\FILES.BBS"), a);
  EXPECT_EQ(DirectoryIdOf("D:\\FIDO\\B\\..\\A\\FILES.BBS"), a);
  EXPECT_NE(DirectoryIdOf("D:\\FIDO\\B\\FILES.BBS"), a);
  EXPECT_EQ(DirectoryIdOf("D:\\FIDO\\NONE\\FILES.BBS"), std::nullopt);
  EXPECT_EQ(DirectoryIdOf("D:\\FIDO\\A\\FILES.BBS\\X"), std::nullopt);  // a file, not a directory

  std::filesystem::create_symlink(scratch_.Path("Fido/A/FILES.BBS"), scratch_.Path("Fido/B/FILES.BBS"));
  const auto list = FileIdOf("D:\\FIDO\\A\\FILES.BBS");
  ASSERT_TRUE(list.has_value());
  EXPECT_NE(list, a);
  EXPECT_EQ(FileIdOf("d:\\fido\\b\\files.bbs"), list);
  EXPECT_EQ(FileIdOf("D:\\FIDO\\LINKA\\FILES.BBS"), list);
  EXPECT_EQ(FileIdOf("D:\\FIDO\\A\\NEW.BBS"), std::nullopt);
}

TEST_F(FilesTest, PathWithANulByteNamesNoFile) {
  // The system would see "D:\\A.TXT" only, and a Write open would empty that file.
  scratch_.Put("a.txt", "keep\r\n");
  scratch_.Put("b.txt", "temp\r\n");
  const std::string withNul = std::string("D:\\A.TXT") + '\0' + "\\FILES.!#$";
  EXPECT_EQ(OpenText(withNul, Mode::Write, Share::DenyAll), nullptr);
  EXPECT_EQ(OpenText(withNul, Mode::Read, Share::DenyWrite), nullptr);
  EXPECT_FALSE(ReplaceFile("D:\\B.TXT", withNul));
  EXPECT_FALSE(RemoveFile(withNul));
  EXPECT_EQ(scratch_.Slurp("a.txt"), "keep\r\n");
  EXPECT_EQ(scratch_.Slurp("b.txt"), "temp\r\n");
}

TEST_F(FilesTest, RemoveFile) {
  scratch_.Put("Area/Files.!#$", "x");
  EXPECT_TRUE(RemoveFile("D:\\AREA\\FILES.!#$"));
  EXPECT_FALSE(scratch_.Exists("Area/Files.!#$"));
  EXPECT_FALSE(RemoveFile("D:\\AREA\\FILES.!#$"));
}

}  // namespace
}  // namespace zirka::platform

#endif  // !_WIN32
