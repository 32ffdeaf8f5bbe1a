// The mapping of DOS paths to host paths, on real directories.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "temp_tree.h"

#if !defined(_WIN32)

namespace zirka::platform {
namespace {

namespace fs = std::filesystem;
using testing::ScopedEnv;

class HostPathTest : public testing::TempTree {};

TEST_F(HostPathTest, DriveLetterThroughItsVariableInEitherCase) {
  MakeFile("Fido/Files/files.bbs");
  MapDriveD();
  EXPECT_EQ(HostPath("D:\\FIDO\\FILES\\FILES.BBS"), At("Fido/Files/files.bbs"));
  EXPECT_EQ(HostPath("d:\\fido\\files\\files.bbs"), At("Fido/Files/files.bbs"));
  EXPECT_EQ(HostPath("D:\\FIDO\\FILES\\"), At("Fido/Files/"));
  EXPECT_EQ(HostPath("D:"), Root());
  // A drive-relative path starts at the drive's top.
  EXPECT_EQ(HostPath("D:fido"), At("Fido"));
}

TEST_F(HostPathTest, DriveLetterThroughWineDosdevices) {
  MakeFile("prefix/drive_c/FIDO/T-MAIL.CTL");
  MakeDir("prefix/dosdevices");
  fs::create_directory_symlink("../drive_c", At("prefix/dosdevices/c:"));
  ScopedEnv wine("WINEPREFIX", At("prefix"));
  EXPECT_EQ(HostPath("C:\\FIDO\\T-MAIL.CTL"), At("prefix/drive_c/FIDO/T-MAIL.CTL"));
  EXPECT_EQ(HostPath("c:\\fido\\t-mail.ctl"), At("prefix/drive_c/FIDO/T-MAIL.CTL"));

  // The variable comes first.
  MakeDir("elsewhere");
  ScopedEnv drive("ZIRKA_DRIVE_C", At("elsewhere"));
  EXPECT_EQ(HostPath("C:\\FIDO\\T-MAIL.CTL"), At("elsewhere/FIDO/T-MAIL.CTL"));
}

TEST_F(HostPathTest, WineDosdevicesUnderHomeWhenNoPrefixIsSet) {
  MakeDir("home/.wine/drive_z");
  MakeDir("home/.wine/dosdevices");
  fs::create_directory_symlink(Root() + "/home/.wine/drive_z", At("home/.wine/dosdevices/z:"));
  ScopedEnv wine("WINEPREFIX", "");
  ScopedEnv home("HOME", At("home"));
  EXPECT_EQ(HostPath("Z:\\LOGS"), At("home/.wine/drive_z/LOGS"));
}

TEST_F(HostPathTest, UnmappedDriveIsDroppedAndRelativePathsStayRelative) {
  EXPECT_EQ(HostPath("Q:\\zirka-no-such-dir\\x.log"), "/zirka-no-such-dir/x.log");
  EXPECT_EQ(HostPath("Q:zirka-no-such\\x.log"), "zirka-no-such/x.log");
  EXPECT_EQ(HostPath("zirka-no-such\\..\\X.LOG"), "zirka-no-such/../X.LOG");

  // A relative path is looked up from the current directory and stays relative.
  MakeFile("work/Fido/files.bbs");
  const fs::path before = fs::current_path();
  fs::current_path(At("work"));
  const std::string mapped = HostPath("FIDO\\FILES.BBS");
  fs::current_path(before);
  EXPECT_EQ(mapped, "Fido/files.bbs");
}

TEST_F(HostPathTest, ExactMatchWinsElseFirstInByteOrder) {
  MakeFile("dir/Files.bbs", "mixed");
  MakeFile("dir/files.BBS", "lower");
  MakeFile("dir/FILES.BBS", "upper");
  MapDriveD();
  EXPECT_EQ(HostPath("D:\\DIR\\Files.bbs"), At("dir/Files.bbs"));
  EXPECT_EQ(HostPath("D:\\DIR\\files.BBS"), At("dir/files.BBS"));
  // No exact match: "FILES.BBS" < "Files.bbs" < "files.BBS" in byte order.
  fs::remove(At("dir/FILES.BBS"));
  EXPECT_EQ(HostPath("D:\\DIR\\FILES.BBS"), At("dir/Files.bbs"));
  EXPECT_EQ(HostPath("D:\\dir\\fILES.bbs"), At("dir/Files.bbs"));
}

TEST_F(HostPathTest, MissingComponentsStayAsWritten) {
  MakeDir("Fido/Files");
  MapDriveD();
  EXPECT_EQ(HostPath("D:\\FIDO\\NEW\\FILES\\FILES.!#$"), At("Fido/NEW/FILES/FILES.!#$"));
  EXPECT_EQ(HostPath("D:\\FIDO\\FILES\\Report.TXT"), At("Fido/Files/Report.TXT"));
  // A slash already in the text separates components too.
  EXPECT_EQ(HostPath("D:\\fido/files\\X"), At("Fido/Files/X"));
}

TEST_F(HostPathTest, OnlyAsciiLettersCompareWithoutCase) {
  // CP866 0x80 (capital A) and 0xA0 (small a) are different names to the file system.
  MakeFile(std::string("dir/\xA0") + "bc");
  MapDriveD();
  EXPECT_EQ(HostPath(std::string("D:\\DIR\\\x80") + "BC"), At(std::string("dir/\x80") + "BC"));
  EXPECT_EQ(HostPath(std::string("D:\\DIR\\\xA0") + "BC"), At(std::string("dir/\xA0") + "bc"));
}

TEST(DirSeparator, BackslashAndSlash) {
  EXPECT_TRUE(IsDirSeparator('\\'));
  EXPECT_TRUE(IsDirSeparator('/'));
  EXPECT_FALSE(IsDirSeparator(':'));
}

}  // namespace
}  // namespace zirka::platform

#endif  // !_WIN32
