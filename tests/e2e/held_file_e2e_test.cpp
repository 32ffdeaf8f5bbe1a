// Files held open by another program while a run goes on: the mailer or a BBS
// reading a list, a program writing one, a second run holding its temporary file.
// Under Wine the helper holds the file with a Windows share mode (_fsopen), and
// zirka.exe meets the real sharing rules: a list held open can't be replaced, so
// it stays whole and the failure is shown, and the run goes on with the next
// area. Natively the helper takes the flock the program's own share modes use;
// there a reader's lock does not keep the list from being replaced.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/damaged_node.h"
#include "e2e/harness.h"
#include "e2e/process.h"

#ifndef ZIRKA_E2E_HOLD_OPEN
#define ZIRKA_E2E_HOLD_OPEN ""
#endif
#ifndef ZIRKA_E2E_HOLD_OPEN_EXE
#define ZIRKA_E2E_HOLD_OPEN_EXE ""
#endif

namespace zirka::e2e {
namespace {

namespace fs = std::filesystem;

// The helper of this platform: zirka_hold_open, or zirka_hold_open_win.exe under Wine.
std::string HelperProgram() { return UnderWine() ? ZIRKA_E2E_HOLD_OPEN_EXE : ZIRKA_E2E_HOLD_OPEN; }

// A host path as the helper names it: unchanged natively, through Wine's drive Z:
// (the host's root) under Wine, so that it does not depend on the D: link.
std::string HelperPath(const fs::path& host) {
  if (!UnderWine()) return host.string();
  std::string path = "Z:" + host.string();
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Runs zirka_hold_open on one file of a node until Release.
class Holder {
 public:
  // mode: "read-deny-write", "write-deny-write" or "deny-all" (see hold_open.cpp).
  Holder(const Node& node, const std::string& mode, const std::string& rel) {
    const fs::path base = fs::path(node.root()).parent_path();  // outside drive D:
    ready_ = base / "hold.ready";
    stop_ = base / "hold.stop";
    fs::remove(ready_);
    fs::remove(stop_);
    ChildSpec child;
    child.argv = LauncherCommand();
    child.argv.push_back(HelperProgram());
    for (const std::string& arg : {mode, HelperPath(fs::path(node.root()) / rel),
                                   HelperPath(ready_), HelperPath(stop_), std::string("120")}) {
      child.argv.push_back(arg);
    }
    for (const std::string& entry : CurrentEnvironment()) {
      if (entry.rfind("DISPLAY=", 0) == 0 || entry.rfind("WINEPREFIX=", 0) == 0) continue;
      child.env.push_back(entry);
    }
    if (UnderWine()) {
      child.env.push_back("WINEPREFIX=" + WinePrefixDir());
      child.env.push_back("WINEDEBUG=-all");
    }
    child.cwd = node.root();
    child.stdoutPath = (base / "hold.out").string();
    child.stderrPath = (base / "hold.err").string();
    child.timeout = std::chrono::seconds(180);
    thread_ = std::thread([this, child] {
      exitCode_ = RunChild(child).exitCode;
      done_ = true;
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!fs::exists(ready_) && !done_ && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ~Holder() { Release(); }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;

  // True while the helper holds the file.
  bool holding() const { return fs::exists(ready_) && !done_; }

  // Lets the file go; the helper's exit code (0 when it held the file to the end).
  int Release() {
    if (thread_.joinable()) {
      { std::ofstream marker(stop_); }
      thread_.join();
    }
    return exitCode_;
  }

 private:
  fs::path ready_, stop_;
  std::thread thread_;
  std::atomic<bool> done_{false};
  std::atomic<int> exitCode_{-1};
};

class HeldFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (HelperProgram().empty()) GTEST_SKIP() << "zirka_hold_open was not built for this platform";
    MakeHealthyNode(node_);
  }

  // A run with the program installed in D:\BIN, so that every temporary file of
  // the run lies in the node.
  RunResult RunInstalled() const { return node_.RunInstalled("BIN", {kHealthyUseCtl}); }

  bool Shows(const RunResult& r, const std::string& text) const {
    return r.screen.find(text) != std::string::npos;
  }

  Node node_{"held"};
};

TEST_F(HeldFileTest, ListReadByAnotherProgram) {
  Holder holder(node_, "read-deny-write", kGamesList);
  ASSERT_TRUE(holder.holding());
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node_.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node_.Read(kNewsList), NewsList(11));  // the area after it
  EXPECT_EQ(node_.Read(kHealthyCtl), Dos(CtlWithLastTime("02/05 12:30:00")));
  EXPECT_EQ(TempFilesLeft(node_), std::vector<std::string>{});
  const std::string failure = "!ERR-Cann't replace D:\\FILES\\GAMES\\FILES.BBS\n";
  if (UnderWine()) {
    // A file open elsewhere without delete sharing can't be replaced: the list
    // stays whole, and the failure is shown and logged.
    EXPECT_EQ(node_.Read(kGamesList), GamesList(1));
    EXPECT_TRUE(Shows(r, "   2" + failure)) << r;
    EXPECT_NE(node_.Read(kProgramLog).find(Dos(failure)), std::string::npos);
  } else {
    // A reader's shared lock does not keep a rename from replacing the list; the
    // reader goes on reading the old one.
    EXPECT_EQ(node_.Read(kGamesList), GamesList(2));
    EXPECT_FALSE(Shows(r, "!ERR-")) << r;
  }
}

TEST_F(HeldFileTest, ListWrittenByAnotherProgram) {
  Holder holder(node_, "write-deny-write", kGamesList);
  ASSERT_TRUE(holder.holding());
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  // The list can't be opened even for the test whether it exists: the area is
  // left out (said in debug mode only), its list untouched, the others raised.
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_TRUE(Shows(r, "\xFE Processing 2 file areas\n")) << r;
  EXPECT_EQ(node_.Read(kGamesList), GamesList(1));
  EXPECT_EQ(node_.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node_.Read(kNewsList), NewsList(11));
  EXPECT_EQ(TempFilesLeft(node_), std::vector<std::string>{});
}

TEST_F(HeldFileTest, TemporaryFileHeldByAnotherRun) {
  const std::string theirs = "FILES.!#$ of another run, being written\r\n";
  node_.WriteRaw("FILES/GAMES/FILES.!#$", theirs);
  Holder holder(node_, "deny-all", "FILES/GAMES/FILES.!#$");
  ASSERT_TRUE(holder.holding());
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_TRUE(Shows(r, "   2!ERR-Cann't create temp file D:\\FILES\\GAMES\\FILES.!#$\n")) << r;
  // Neither the list nor the other run's file is touched; the next area is done.
  EXPECT_EQ(node_.Read(kGamesList), GamesList(1));
  EXPECT_EQ(node_.Read("FILES/GAMES/FILES.!#$"), theirs);
  EXPECT_EQ(node_.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node_.Read(kNewsList), NewsList(11));
}

TEST_F(HeldFileTest, ControlFileReadByAnotherProgram) {
  Holder holder(node_, "read-deny-write", kHealthyCtl);
  ASSERT_TRUE(holder.holding());
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  EXPECT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(node_.Read(kUtilList), UtilList(1));
  EXPECT_EQ(node_.Read(kGamesList), GamesList(2));
  EXPECT_EQ(node_.Read(kNewsList), NewsList(11));
  EXPECT_EQ(TempFilesLeft(node_), std::vector<std::string>{});
  if (UnderWine()) {
    // Neither temporary file can be moved over it: ZIRKA.CTL stays whole.
    EXPECT_EQ(node_.Read(kHealthyCtl), Dos(HealthyCtl()));
    EXPECT_TRUE(Shows(r, "\nAn error occured while adding Last_Time variable to Zirka.Ctl\n\n"))
        << r;
  } else {
    EXPECT_EQ(node_.Read(kHealthyCtl), Dos(CtlWithLastTime("02/05 12:30:00")));
  }
}

TEST_F(HeldFileTest, JournalHeldByALiveRun) {
  const std::string journal = "FIDO/ZIRKA.JNL";
  node_.WriteRaw(journal, Dos("; Zirka journal of an unfinished run - do not edit\n"));
  Holder holder(node_, "deny-all", journal);
  ASSERT_TRUE(holder.holding());
  const Snapshot before = TreeSnapshot(node_);
  const RunResult r = RunInstalled();
  EXPECT_EQ(holder.Release(), 0);
  // Never taken over: reported, and nothing but the program log and report written.
  EXPECT_EQ(r.exitCode, 3) << r;
  EXPECT_TRUE(Shows(r, "!ERR-Journal " + Node::DosPath(journal) +
                           " is in use by another run of Zirka\n" + ExitLines(3)))
      << r;
  for (const std::string& file : ChangedFiles(before, TreeSnapshot(node_))) {
    const bool program = file.rfind("BIN/", 0) == 0;  // installed by the run itself
    EXPECT_TRUE(file == kProgramLog || file == kReport || program) << file << " changed";
  }
}

}  // namespace
}  // namespace zirka::e2e
