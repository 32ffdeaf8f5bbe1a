// The preview (-n): the run counts as an ordinary run does, shows the counters the
// list rewrite would change and writes nothing at all; a real run afterwards makes
// exactly the changes shown.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/damaged_node.h"
#include "e2e/harness.h"
#include "e2e/holder.h"

namespace zirka::e2e {
namespace {

// The preview heading, one list with its entries, and the closing lines.
const std::string kHeading = "\xFE Preview: the lists would change like this\n";
std::string Entry(const std::string& name, const std::string& from, const std::string& to) {
  return "\xFA " + name + std::string(14 - name.size(), ' ') + from + " -> " + to + "\n";
}
const std::string kUtil = "D:\\FILES\\UTIL\\FILES.BBS\n";
const std::string kGames = "D:\\FILES\\GAMES\\FILES.BBS\n";
const std::string kNews = "D:\\FILES\\NEWS\\FILES.BBS\n";
const std::string kNothingWritten = "\xFE Preview only: nothing was written\n";
std::string StoredAt(const std::string& time) {
  return "\xFE Preview: Last_Time " + time + " would be stored in D:\\FIDO\\ZIRKA.CTL\n";
}

// The preview's list lines (list paths and raised entries, debug lines left out)
// that a real run's changes make: for each list that changed, its path and each
// changed line's name with its counter field before and after.
std::string PreviewOfChanges(const Snapshot& before, const Snapshot& after) {
  std::string text;
  for (const std::string& list : {kUtilList, kGamesList, kNewsList}) {
    std::istringstream old(before.at(list)), raised(after.at(list));
    std::string block, was, now;
    while (std::getline(old, was) && std::getline(raised, now)) {
      if (was == now) continue;
      auto field = [](const std::string& line) {
        const std::size_t left = line.find('['), right = line.find(']');
        return left < 20 && right != std::string::npos ? line.substr(left, right - left + 1)
                                                       : std::string("(none)");
      };
      block += Entry(now.substr(0, now.find(' ')), field(was), field(now));
    }
    if (!block.empty()) text += Node::DosPath(list) + "\n" + block;
  }
  return text;
}

// The same lines of a preview's screen.
std::string PreviewLines(const std::string& screen) {
  std::istringstream in(Slice(screen, kHeading, kNothingWritten));
  std::string text, line;
  while (std::getline(in, line)) {
    if (line.rfind("D:\\", 0) == 0 || line.find(" -> ") != std::string::npos) text += line + "\n";
  }
  return text;
}

struct PreviewCase {
  const char* name;
  std::string ctlExtra;         // ZIRKA.CTL lines before Last_Time
  std::string lastTime;         // stored Last_Time
  std::string gamesList;        // FILES/GAMES/FILES.BBS
  std::vector<std::string> args;
  int errorlevel;
  std::string shows;            // a part of the screen
};

const std::string kStart = "\xFE Preview mode is ON: nothing will be written\n" +
                           Slice(HealthyScreen(3, 3), "\xFE Path", "\xFE Processing");

const PreviewCase kCases[] = {
    {"Changes", "", "01/05 00:00:00", GamesList(1), {"-n", kHealthyUseCtl}, 0,
     kStart + kHeading + kUtil + Entry("FOO.ZIP", "[000]", "[001]") + kGames +
         Entry("BAR.ARJ", "[001]", "[002]") + kNews + Entry("NEWS.TXT", "[010]", "[011]") +
         "\xFE Preview: 3 entries in 3 lists would change\n" + StoredAt("02/05 12:30:00") +
         kNothingWritten + ExitLines(0)},
    {"NothingNew", "", "02/05 12:30:00", GamesList(1), {"/N", kHealthyUseCtl}, 4,
     "\xFE Preview mode is ON: nothing will be written\n"},
    {"ForcedAndDebug", "", "02/05 12:30:00", GamesList(1), {"-nx", "-F", "/d", kHealthyUseCtl}, 0,
     kUtil + Entry("FOO.ZIP", "[000]", "[002]") + "Processing D:\\FILES\\GAMES\\FILES.BBS\n"},
    // FIRST_ONLY No raises FOO.ZIP in both lists; an entry without a counter gets one.
    {"EveryListAndNewCounter", "FIRST_ONLY No\n", "01/05 00:00:00",
     Dos("BAR.ARJ      [001] A game\nfoo.zip the Foo utility again\n"), {"-n", kHealthyUseCtl}, 0,
     kGames + Entry("BAR.ARJ", "[001]", "[002]") + Entry("FOO.ZIP", "(none)", "[001]") + kNews},
    {"FirstOnly", "", "01/05 00:00:00", Dos("FOO.ZIP      [007] Foo\nBAR.ARJ      [001] A game\n"),
     {"-n", kHealthyUseCtl}, 0, kGames + Entry("BAR.ARJ", "[001]", "[002]") + kNews},
};

void PrintTo(const PreviewCase& c, std::ostream* out) { *out << c.name; }

class PreviewTest : public ::testing::TestWithParam<PreviewCase> {};

// Every file of the node, the installed program's copy left out.
Snapshot NodeFiles(const Node& node) {
  Snapshot files = TreeSnapshot(node);
  files.erase("BIN/" + std::filesystem::path(ProgramUnderTest()).filename().string());
  return files;
}

TEST_P(PreviewTest, ShowsWhatTheRealRunThenDoes) {
  const PreviewCase& c = GetParam();
  Node node(std::string("preview_") + c.name);
  MakeHealthyNode(node);
  node.Write(kHealthyCtl, CtlWithLastTime(c.lastTime, c.ctlExtra));
  node.WriteRaw(kGamesList, c.gamesList);
  const Snapshot before = NodeFiles(node);

  // Installed in D:\BIN, so that ZIRKA.CTL's temporary file would lie in the node.
  const RunResult preview = node.RunInstalled("BIN", c.args);
  EXPECT_EQ(preview.exitCode, c.errorlevel) << preview;
  EXPECT_NE(preview.screen.find(c.shows), std::string::npos) << preview;
  EXPECT_EQ(ChangedFiles(before, NodeFiles(node)), std::vector<std::string>{});

  std::vector<std::string> realArgs;
  for (const std::string& arg : c.args) {
    if (arg.substr(0, 2) != "-n" && arg.substr(0, 2) != "/N") realArgs.push_back(arg);
  }
  const RunResult real = node.RunInstalled("BIN", realArgs);
  EXPECT_EQ(real.exitCode, c.errorlevel) << real;
  EXPECT_EQ(PreviewOfChanges(before, NodeFiles(node)), PreviewLines(preview.screen));
}

INSTANTIATE_TEST_SUITE_P(Cases, PreviewTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A list that another program reads can be previewed (a real run on Windows could
// not replace it and would say so).
TEST(PreviewHeldTest, ListReadByAnotherProgram) {
  if (HelperProgram().empty()) GTEST_SKIP() << "zirka_hold_open was not built for this platform";
  Node node("preview_held");
  MakeHealthyNode(node);
  const Snapshot before = NodeFiles(node);
  Holder holder(node, "read-deny-write", kGamesList);
  ASSERT_TRUE(holder.holding());
  const RunResult r = node.RunInstalled("BIN", {"-n", kHealthyUseCtl});
  EXPECT_EQ(holder.Release(), 0);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_NE(r.screen.find(kGames + Entry("BAR.ARJ", "[001]", "[002]")), std::string::npos) << r;
  EXPECT_EQ(ChangedFiles(before, NodeFiles(node)), std::vector<std::string>{});
}

}  // namespace
}  // namespace zirka::e2e
