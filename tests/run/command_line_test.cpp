#include "run/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/terminate.h"
#include "platform/files.h"
#include "support/captured_run.h"

namespace zirka {
namespace {

const std::string kVersionText =
    "Zirka 3.8: raises the download counters in FILES.BBS from T-Mail logs\n"
    "One run counts the files the mailer sent since the last run\n"
    "Built for Win32 consoles and POSIX systems alike\n";

struct Parsed {
  std::string screen;
  bool debug;
  bool forced;
  std::string path;
};

Parsed Parse(const std::vector<std::string>& args) {
  testing::CapturedRun run;
  run.ctx.mainCtlPath = "LEFT OVER";
  ParseCommandLine(run.ctx, args);
  return {run.screen.text, run.ctx.debug, run.ctx.forced, run.ctx.mainCtlPath};
}

TEST(CommandLine, NoArgumentsKeepsDefaultsAndPrintsNothing) {
  const Parsed p = Parse({});
  EXPECT_EQ(p.screen, "");
  EXPECT_FALSE(p.debug);
  EXPECT_FALSE(p.forced);
  EXPECT_EQ(p.path, "");
}

TEST(CommandLine, VersionOnlyInLowerCaseAndEachTimeInReadingOrder) {
  EXPECT_EQ(Parse({"version"}).screen, kVersionText);
  EXPECT_EQ(Parse({"version", "version"}).screen, kVersionText + kVersionText);
  EXPECT_EQ(Parse({"VERSION"}).screen, "");
  EXPECT_EQ(Parse({"Version"}).screen, "");
  EXPECT_EQ(Parse({"versions"}).screen, "");
}

TEST(CommandLine, SwitchesMatchOnTheirFirstCharactersInAnyCase) {
  EXPECT_TRUE(Parse({"-f"}).forced);
  EXPECT_TRUE(Parse({"/F"}).forced);
  EXPECT_TRUE(Parse({"/force"}).forced);
  EXPECT_TRUE(Parse({"-dx"}).debug);
  EXPECT_TRUE(Parse({"/D"}).debug);
  // One option per argument: -fd is forced mode only.
  const Parsed fd = Parse({"-fd"});
  EXPECT_TRUE(fd.forced);
  EXPECT_FALSE(fd.debug);
  // -df is debug mode only.
  const Parsed df = Parse({"-df"});
  EXPECT_TRUE(df.debug);
  EXPECT_FALSE(df.forced);
}

TEST(CommandLine, UnknownArgumentsAreIgnoredSilently) {
  const Parsed p = Parse({"-", "/", "f", "--f", "+d", "-c", "/cx", "-x", ""});
  EXPECT_EQ(p.screen, "");
  EXPECT_FALSE(p.debug);
  EXPECT_FALSE(p.forced);
  EXPECT_EQ(p.path, "");
}

TEST(CommandLine, DebugLineIsPrintedForEveryDebugSwitch) {
  const Parsed p = Parse({"-d", "/d"});
  EXPECT_EQ(p.screen, "\xFE Debug mode is ON\n\xFE Debug mode is ON\n");
}

TEST(CommandLine, ControlFilePathIsUpperCasedAndTheLastOneWins) {
  Parsed p = Parse({"/c=d:\\cfg\\my.ctl"});
  EXPECT_EQ(p.path, "D:\\CFG\\MY.CTL");
  EXPECT_EQ(p.screen, "\xFE Path to zirka.ctl overriden: D:\\CFG\\MY.CTL\n");

  p = Parse({"-C=a.ctl", "/c=b.ctl"});
  EXPECT_EQ(p.path, "B.CTL");
  EXPECT_EQ(p.screen,
            "\xFE Path to zirka.ctl overriden: A.CTL\n"
            "\xFE Path to zirka.ctl overriden: B.CTL\n");

  // An empty path replaces an earlier one and so brings back the default location.
  p = Parse({"-c=a.ctl", "/c="});
  EXPECT_EQ(p.path, "");
  EXPECT_EQ(p.screen,
            "\xFE Path to zirka.ctl overriden: A.CTL\n"
            "\xFE Path to zirka.ctl overriden: \n");
}

TEST(CommandLine, ControlFilePathKeepsEveryByteAndLength) {
  const std::string longPath = "c:\\" + std::string(300, 'x') + "\\\xA0\xE4.ctl";
  const Parsed p = Parse({"-c=" + longPath});
  EXPECT_EQ(p.path, "C:\\" + std::string(300, 'X') + "\\\xA0\xE4.CTL");
}

TEST(CommandLine, ArgumentsAreTakenInOrder) {
  const Parsed p = Parse({"-d", "version", "-c=x"});
  EXPECT_EQ(p.screen, "\xFE Debug mode is ON\n" + kVersionText +
                          "\xFE Path to zirka.ctl overriden: X\n");
}

// The location rule, seen through the message of a control file that isn't there.
std::string MissingControlFileMessage(const std::string& programPath,
                                      const std::string& ctlPath = "") {
  testing::CapturedRun run;
  run.ctx.programPath = programPath;
  run.ctx.mainCtlPath = ctlPath;
  if (const Outcome end = OpenMainControlFile(run.ctx)) {
    EXPECT_EQ(Terminate(run.ctx, *end), 5);
    const std::string summary = "\xFE Exit with errorlevel 5\n";
    const std::size_t at = run.screen.text.find(summary);
    EXPECT_NE(at, std::string::npos) << run.screen.text;
    return run.screen.text.substr(0, at);
  }
  ADD_FAILURE() << "the run went on without a control file";
  return {};
}

TEST(MainControlFile, DefaultIsBesideTheProgramInUpperCase) {
  EXPECT_EQ(MissingControlFileMessage("Q:\\NOWHERE\\Fido\\Zirka.exe"),
            "!FERR-Main control file Q:\\NOWHERE\\FIDO\\ZIRKA.CTL not found!\n\n");
}

TEST(MainControlFile, ProgramPathWithoutSeparatorGivesZirkaCtlHere) {
  EXPECT_EQ(MissingControlFileMessage("zirka-that-does-not-exist"),
            "!FERR-Main control file ZIRKA.CTL not found!\n\n");
}

TEST(MainControlFile, SlashCountsAsSeparatorWhereTheHostSaysSo) {
  const std::string message = MissingControlFileMessage("/no/such/dir/zirka");
  if (platform::IsDirSeparator('/')) {
    EXPECT_EQ(message, "!FERR-Main control file /NO/SUCH/DIR/ZIRKA.CTL not found!\n\n");
  } else {
    EXPECT_EQ(message, "!FERR-Main control file ZIRKA.CTL not found!\n\n");
  }
}

TEST(MainControlFile, CommandLinePathIsUsedAsGiven) {
  EXPECT_EQ(MissingControlFileMessage("C:\\FIDO\\ZIRKA.EXE", "Q:\\NOWHERE\\MY.CTL"),
            "!FERR-Main control file Q:\\NOWHERE\\MY.CTL not found!\n\n");
}

}  // namespace
}  // namespace zirka
