// The mapping of DOS paths to host paths, on real directories.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "support/scratch_dir.h"

#if !defined(_WIN32)

namespace zirka::platform {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;

class HostPathTest : public ::testing::Test {
 protected:
  testing::ScratchDir scratch_;
};

TEST_F(HostPathTest, DriveLetterThroughItsVariableInEitherCase) {
  scratch_.Put("Fido/Files/files.bbs");
  scratch_.MapDriveD();
  EXPECT_EQ(HostPath("D:\\FIDO\\FILES\\FILES.BBS"), scratch_.Path("Fido/Files/files.bbs"));
  EXPECT_EQ(HostPath("d:\\fido\\files\\files.bbs"), scratch_.Path("Fido/Files/files.bbs"));
  EXPECT_EQ(HostPath("D:\\FIDO\\FILES\\"), scratch_.Path("Fido/Files/"));
  EXPECT_EQ(HostPath("D:"), scratch_.Path());
  // A drive-relative path starts at the drive's top.
  EXPECT_EQ(HostPath("D:fido"), scratch_.Path("Fido"));
}

TEST_F(HostPathTest, DriveLetterThroughWineDosdevices) {
  scratch_.Put("prefix/drive_c/FIDO/T-MAIL.CTL");
  scratch_.MakeDir("prefix/dosdevices");
  fs::create_directory_symlink("../drive_c", scratch_.Path("prefix/dosdevices/c:"));
  ScopedEnv wine("WINEPREFIX", scratch_.Path("prefix"));
  EXPECT_EQ(HostPath("C:\\FIDO\\T-MAIL.CTL"), scratch_.Path("prefix/drive_c/FIDO/T-MAIL.CTL"));
  EXPECT_EQ(HostPath("c:\\fido\\t-mail.ctl"), scratch_.Path("prefix/drive_c/FIDO/T-MAIL.CTL"));

  // The variable comes first.
  scratch_.MakeDir("elsewhere");
  ScopedEnv drive("ZIRKA_DRIVE_C", scratch_.Path("elsewhere"));
  EXPECT_EQ(HostPath("C:\\FIDO\\T-MAIL.CTL"), scratch_.Path("elsewhere/FIDO/T-MAIL.CTL"));
}

TEST_F(HostPathTest, WineDosdevicesUnderHomeWhenNoPrefixIsSet) {
  scratch_.MakeDir("home/.wine/drive_z");
  scratch_.MakeDir("home/.wine/dosdevices");
  fs::create_directory_symlink(scratch_.Path("home/.wine/drive_z"),
                               scratch_.Path("home/.wine/dosdevices/z:"));
  ScopedEnv wine("WINEPREFIX", "");
  ScopedEnv home("HOME", scratch_.Path("home"));
  EXPECT_EQ(HostPath("Z:\\LOGS"), scratch_.Path("home/.wine/drive_z/LOGS"));
}

TEST_F(HostPathTest, UnmappedDriveIsDroppedAndRelativePathsStayRelative) {
  EXPECT_EQ(HostPath("Q:\\zirka-no-such-dir\\x.log"), "/zirka-no-such-dir/x.log");
  EXPECT_EQ(HostPath("Q:zirka-no-such\\x.log"), "zirka-no-such/x.log");
  EXPECT_EQ(HostPath("zirka-no-such\\..\\X.LOG"), "zirka-no-such/../X.LOG");

  // A relative path is looked up from the current directory and stays relative.
  scratch_.Put("work/Fido/files.bbs");
  const fs::path before = fs::current_path();
  fs::current_path(scratch_.Path("work"));
  const std::string mapped = HostPath("FIDO\\FILES.BBS");
  fs::current_path(before);
  EXPECT_EQ(mapped, "Fido/files.bbs");
}

TEST_F(HostPathTest, ExactMatchWinsElseFirstInByteOrder) {
  scratch_.Put("dir/Files.bbs", "mixed");
  scratch_.Put("dir/files.BBS", "lower");
  scratch_.Put("dir/FILES.BBS", "upper");
  scratch_.MapDriveD();
  EXPECT_EQ(HostPath("D:\\DIR\\Files.bbs"), scratch_.Path("dir/Files.bbs"));
  EXPECT_EQ(HostPath("D:\\DIR\\files.BBS"), scratch_.Path("dir/files.BBS"));
  // No exact match: "FILES.BBS" < "Files.bbs" < "files.BBS" in byte order.
  fs::remove(scratch_.Path("dir/FILES.BBS"));
  EXPECT_EQ(HostPath("D:\\DIR\\FILES.BBS"), scratch_.Path("dir/Files.bbs"));
  EXPECT_EQ(HostPath("D:\\dir\\fILES.bbs"), scratch_.Path("dir/Files.bbs"));
}

TEST_F(HostPathTest, MissingComponentsStayAsWritten) {
  scratch_.MakeDir("Fido/Files");
  scratch_.MapDriveD();
  EXPECT_EQ(HostPath("D:\\FIDO\\NEW\\FILES\\FILES.!#$"), scratch_.Path("Fido/NEW/FILES/FILES.!#$"));
  EXPECT_EQ(HostPath("D:\\FIDO\\FILES\\Report.TXT"), scratch_.Path("Fido/Files/Report.TXT"));
  // A slash already in the text separates components too.
  EXPECT_EQ(HostPath("D:\\fido/files\\X"), scratch_.Path("Fido/Files/X"));
}

TEST_F(HostPathTest, OnlyAsciiLettersCompareWithoutCase) {
  // CP866 0x80 (capital A) and 0xA0 (small a) are different names to the file system.
  scratch_.Put(std::string("dir/\xA0") + "bc");
  scratch_.MapDriveD();
  EXPECT_EQ(HostPath(std::string("D:\\DIR\\\x80") + "BC"),
            scratch_.Path(std::string("dir/\x80") + "BC"));
  EXPECT_EQ(HostPath(std::string("D:\\DIR\\\xA0") + "BC"),
            scratch_.Path(std::string("dir/\xA0") + "bc"));
}

TEST(DirSeparator, BackslashAndSlash) {
  EXPECT_TRUE(IsDirSeparator('\\'));
  EXPECT_TRUE(IsDirSeparator('/'));
  EXPECT_FALSE(IsDirSeparator(':'));
}

}  // namespace
}  // namespace zirka::platform

#endif  // !_WIN32
